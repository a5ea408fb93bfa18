#pragma once

#include "app/SettingsRecord.h"

#include <QByteArray>
#include <QString>

// The settings file: ten fields in record order, strings in double quotes, numbers in
// invariant form, CR LF line ends, Windows-1252 text.
//
// Reading is forgiving about layout and strict about values. Blanks (spaces, tabs) before a
// field are skipped. A field ends at a comma or a line end (CR LF, lone LF or lone CR), so
// the ten fields may also share lines. A field that begins with a double quote is the text up
// to the next double quote; if the line ends first, the quote is taken as closed there, so a
// lost quote damages one field only; anything between the closing quote and the field's end is
// skipped. Other fields lose their trailing blanks. Numbers must fill their field: 8-bit fields
// take 0 to 255, the window fields the signed 32-bit range, the rate any finite number in
// decimal or exponent form; ShowToolTips must be 0 or 1 and DecimalsIndex 0 to 4, the only
// values the settings dialog can show.
class SettingsFile {
public:
    // Reads the ten fields in file order into `record`, storing each field as soon as it is
    // read. Any failure ends the read at once: fields read before it keep their new values, the
    // failing field and all later ones keep what `record` held. Returns true only after a
    // complete read of the ten fields; anything after the tenth is not read.
    static bool read(const QByteArray& bytes, SettingsRecord& record);
    // The file's bytes for the record: ten lines, CR LF, Windows-1252. A double quote, CR or
    // LF inside a string, and any character Windows-1252 cannot hold, is written as "?": the
    // first three would end the field early and shift every later field when read back.
    static QByteArray write(const SettingsRecord& record);
    // read() on the file at `path`; false when it cannot be opened or read, or the read is
    // incomplete. A file that cannot be read to its end leaves `record` untouched.
    static bool load(const QString& path, SettingsRecord& record);
    // Replaces the file at `path` with write(record) in one step: a complete temporary file in
    // the same folder, then a rename. A failed or interrupted save leaves the previous file
    // whole. Returns whether it succeeded.
    static bool save(const QString& path, const SettingsRecord& record);
};
