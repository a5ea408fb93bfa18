#include "toolkit/codepage/Cp1252.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

using toolkit::Cp1252;

// The edges of the 0x80-0x9F block, the first and last of the bytes the code page leaves undefined
// (kept as the C1 controls of the same value), and the Latin-1 range on either side of the block.
TEST(Cp1252Test, BoundaryBytesBothWays)
{
    struct Byte {
        const char* name;
        int byte;
        char16_t unicode;
    };
    // clang-format off
    const Byte bytes[] = {
        { "LastAscii", 0x7F, 0x007F },
        { "EuroSign", 0x80, 0x20AC },
        { "Unassigned81", 0x81, 0x0081 },
        { "Unassigned9D", 0x9D, 0x009D },
        { "YDiaeresisCapital", 0x9F, 0x0178 },
        { "NoBreakSpace", 0xA0, 0x00A0 },
        { "LastByte", 0xFF, 0x00FF },
    };
    // clang-format on
    for (const auto& [name, byte, unicode] : bytes) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Cp1252::toUnicode(static_cast<unsigned char>(byte)).unicode(), unicode);
        EXPECT_EQ(Cp1252::fromUnicode(QChar(unicode)), byte);
    }
    // U+0080 and U+009E are C1 controls whose bytes the code page gives to € and ž.
    for (const char16_t u : { u'\u0080', u'\u009E', u'\u0100' })
        EXPECT_EQ(Cp1252::fromUnicode(QChar(u)), -1) << int { u };
    EXPECT_EQ(Cp1252::encode(QString::fromUtf16(u"1\u20AC = 1\u5186")), "1\x80 = 1?");
    EXPECT_EQ(Cp1252::decode("a\x80\x9F\xFF"), QString::fromUtf16(u"a\u20AC\u0178\u00FF"));
}

} // namespace
