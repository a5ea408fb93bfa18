// The decimal entry rule shared by the amount fields and the rate field.
#include "conversion/DecimalText.h"

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
        { "a comma passes into a field without one", ',', u"12"_s, ',' },
        { "a second comma is dropped", ',', u"1,2"_s, 0 },
        { "a period is dropped where a comma stands", '.', u",5"_s, 0 },
        { "Backspace passes", 8, u"1,2"_s, 8 },
        { "a minus sign is dropped", '-', u"12"_s, 0 },
        { "a letter is dropped", 'e', u"12"_s, 0 },
        { "a control code is dropped", 22, u""_s, 0 },
    };
    for (const Row& row : rows) {
        std::int16_t code = row.typed;
        FilterDecimalKeystroke(code, row.field);
        EXPECT_EQ(code, row.passed) << row.name;
    }
}

TEST(DecimalText, CleaningKeepsTheCaretAfterWhatWasKeptBeforeIt)
{
    struct Row {
        const char* name;
        QString text;
        qsizetype caret;
        QString cleaned;
        qsizetype caretAfter;
    };
    const Row rows[] = {
        { "caret at the start stays there", u"x1"_s, 0, u"1"_s, 0 },
        { "a dropped letter before the caret moves it back", u"1a2"_s, 2, u"12"_s, 1 },
        { "a dropped letter after the caret leaves it", u"1a2"_s, 1, u"12"_s, 1 },
        { "a second separator before the caret moves it back", u"1,2.3"_s, 4, u"1,23"_s, 3 },
        { "caret at the end goes to the end", u"a6.-5"_s, 5, u"6,5"_s, 3 },
    };
    for (const Row& row : rows) {
        qsizetype caret = row.caret;
        const QString cleaned = CleanDecimalText(row.text, caret);
        EXPECT_EQ(cleaned.toStdString(), row.cleaned.toStdString()) << row.name;
        EXPECT_EQ(caret, row.caretAfter) << row.name;
    }
}

} // namespace
