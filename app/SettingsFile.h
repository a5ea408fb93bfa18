#pragma once

#include "app/state/SettingsRecord.h"

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
// decimal or exponent form. ShowToolTips and DecimalsIndex take any 8-bit value, brought to the
// values that the settings dialog can show: tooltips shown for any value but 0, 4 decimals for
// any index above 4.
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
    // Far more than ten fields need, and no more than the program can show without delay: a
    // longer file is read up to its last line end within this size.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    // read() on the file at `path`; false when it is not a regular file, cannot be read, or the
    // read is incomplete. A file that cannot be read leaves `record` untouched.
    static bool load(const QString& path, SettingsRecord& record);
    // Replaces the file at `path` with write(record) as toolkit::RegularFile::replace() does: a
    // failed or interrupted save leaves the previous file whole, and the save never writes
    // through a planted link nor replaces anything but a regular file. Returns whether it
    // succeeded.
    static bool save(const QString& path, const SettingsRecord& record);
};
