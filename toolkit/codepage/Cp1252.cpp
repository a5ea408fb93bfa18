#include "toolkit/codepage/Cp1252.h"

#include <array>

namespace toolkit {

namespace {

    // 0x80..0x9F; the undefined positions keep their own value.
    constexpr std::array<char16_t, 32> kHighControls = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
    };

} // namespace

QChar Cp1252::toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHighControls[byte - 0x80]);
    return QChar(char16_t(byte));
}

int Cp1252::fromUnicode(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == u)
            return int(0x80 + i);
    }
    return -1;
}

QString Cp1252::decode(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text.append(toUnicode(static_cast<unsigned char>(byte)));
    return text;
}

QByteArray Cp1252::encode(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const int code = fromUnicode(ch);
        bytes.append(code < 0 ? '?' : static_cast<char>(code));
    }
    return bytes;
}

} // namespace toolkit
