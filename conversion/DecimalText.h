#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

// Decimal numbers as the user enters them in the amount fields and in the rate field: what a
// keystroke may add, how a typed or pasted text is cleaned and how its digits are read. The
// separator is always ",", whatever the user's locale; "." typed or pasted counts as ",".
namespace conversion {

inline constexpr QChar DecimalSeparator = u',';

// Keystroke filter of a decimal field holding fieldText: "." becomes ","; a "," is dropped when
// the field has one already (the whole text counts, not the selection); anything but a digit,
// "," or Backspace is dropped (code set to 0).
void FilterDecimalKeystroke(std::int16_t& code, QStringView fieldText);

// Keeps the digits 0 to 9 and the first separator; "." counts as ",", everything else goes.
QString CleanDecimalText(QStringView text);
// The same, and caret, a position in text, moved to the cleaned text: just after what was kept
// of the characters before it.
QString CleanDecimalText(QStringView text, qsizetype& caret);

// Which characters may separate a digit run's whole part from its fraction.
enum class RunSeparator { Comma, CommaOrPeriod };

struct DigitRun {
    enum class Outcome { NoNumber, Number, TooLarge };
    Outcome outcome = Outcome::NoNumber;
    // The number read; a run too small for a double reads as 0.
    double value = 0.0;
    // The characters of the text that the run covers.
    qsizetype length = 0;
};

// Reads the longest leading run of the digits 0 to 9 with at most one separator among them, the
// C library's locale playing no part. A run without a digit is no number; one whose value lies
// beyond the range of a double is too large.
DigitRun ReadDigitRun(QStringView text, RunSeparator separator);

} // namespace conversion
