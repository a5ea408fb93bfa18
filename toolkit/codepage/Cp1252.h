#pragma once

#include <QByteArray>
#include <QString>

namespace toolkit {

// The Western single-byte code page that keystroke codes and the settings file use. Qt has no
// codec for it without ICU, and ICU passes the undefined bytes through silently, so the project
// keeps its own table. The five bytes the code page leaves undefined map to the control
// characters of the same value, so every byte decodes and encodes back unchanged.
class Cp1252 {
public:
    static QChar toUnicode(unsigned char byte);
    // The code page's byte for a character, or -1 when the code page cannot hold it.
    static int fromUnicode(QChar ch);

    static QString decode(const QByteArray& bytes);
    // Characters the code page cannot hold are written as "?".
    static QByteArray encode(const QString& text);
};

} // namespace toolkit
