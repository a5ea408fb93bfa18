#pragma once

#include <QByteArray>
#include <QString>

// The conversion rate as text: in the settings file, in the settings dialog's rate field, and
// back from that field.
class RateText {
public:
    // The settings file's form: shortest decimal form of at most 15 significant digits, "." as
    // separator, no trailing zeros, no point when whole ("6.55957", "7"), an exponent where
    // %.15g would use one ("1e-07"), whatever the locale. The text always reads back as a finite
    // number; a non-finite rate, which nothing in the program produces, is written "0".
    static QByteArray fileText(double rate);
    // The rate field's form: the same digits with "," as separator, a zero before the separator
    // below 1, never an exponent ("0,0000001", "100000000000000000000") and no sign. A
    // non-finite rate shows "0".
    static QString fieldText(double rate);
    // What "OK" stores from the rate field: every "," counts as "."; spaces before the number
    // are skipped; the longest leading run of decimal digits with at most one "." among them is
    // read and the rest ignored; no such run gives 0. A run too large for a double gives the
    // largest finite double, one too small gives 0, so the result is always finite.
    static double parseFieldText(const QString& text);
};
