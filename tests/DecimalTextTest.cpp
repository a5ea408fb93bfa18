// The decimal entry rule shared by the amount fields and the rate field.
#include "conversion/DecimalText.h"

#include "tests/support/Text.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace conversion;
using namespace Qt::StringLiterals;

TEST(DecimalText, KeystrokeFilter)
{
    struct Row {
        const char* name;
        std::int16_t typed;
        QString field;
        std::int16_t passed;
    };
    const Row rows[] = {
        { "a digit passes", '7', u"12"_s, '7' },
        { "a period becomes a comma", '.', u"12"_s, ',' },
        { "a second comma is dropped", ',', u"1,2"_s, 0 },
        { "a period is dropped where a comma stands", '.', u",5"_s, 0 },
        { "Backspace passes", 8, u"1,2"_s, 8 },
        { "a letter is dropped", 'e', u"12"_s, 0 },
        { "a control code is dropped", 26, u""_s, 0 },
        { "a code whose low byte is a digit is dropped", 0x3030, u"12"_s, 0 },
    };
    for (const Row& row : rows) {
        std::int16_t code = row.typed;
        FilterDecimalKeystroke(code, row.field);
        EXPECT_EQ(code, row.passed) << row.name;
    }
}

// Digits 0 to 9 and the first separator stay, "." counting as ","; the caret lands just after
// what was kept of the characters before it.
TEST(DecimalText, CleaningKeepsDigitsAndTheFirstSeparator)
{
    struct Row {
        const char* name;
        QString text;
        qsizetype caret;
        QString cleaned;
        qsizetype caretAfter;
    };
    // clang-format off
    const Row rows[] = {
        { "a period counts as the separator, a second one goes", u"1.234,56"_s, 8, u"1,23456"_s, 7 },
        { "signs, spaces and letters go, the caret at the start stays", u"-12 345 €\t+1e5 inf\r\n\u00a06"_s, 0, u"12345156"_s, 0 },
        { "other scripts' digits go, the caret at the end goes to the end", u"\u0661\uff13\u00b2\U0001D7CE4"_s, 6, u"4"_s, 1 },
        { "a dropped letter before the caret moves it back", u"1a2"_s, 2, u"12"_s, 1 },
    };
    // clang-format on
    for (const Row& row : rows) {
        qsizetype caret = row.caret;
        const QString cleaned = CleanDecimalText(row.text, caret);
        EXPECT_EQ(std::pair(cleaned, caret), std::pair(row.cleaned, row.caretAfter)) << row.name;
    }
}

} // namespace
