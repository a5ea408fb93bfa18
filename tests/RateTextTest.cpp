#include "conversion/RateText.h"

#include "tests/support/Text.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

// The file's text must read back as a finite number, the field's text hold only digits and one
// ",", and "OK" on the field as shown keep the rate the file would hold.
TEST(RateTextTest, FileAndFieldForms)
{
    struct Row {
        const char* name;
        double rate;
        const char* file;
        QString field;
    };
    // clang-format off
    const Row rows[] = {
        { "Whole", 7.0, "7", u"7"_s },
        { "TheEuroRate", 6.55957, "6.55957", u"6,55957"_s },
        { "NegativeShownWithoutItsSign", -2.5, "-2.5", u"2,5"_s },
        { "TinyShownWithoutExponent", 1e-07, "1e-07", u"0,0000001"_s },
        { "FifteenSignificantDigits", 123456789012345678.0, "1.23456789012346e+17", u"123456789012346000"_s },
        { "LargestDouble", DBL_MAX, "1.7976931348623157e+308", u"179769313486232"_s + QString(294, u'0') },
        { "Zero", 0.0, "0", u"0"_s },
    };
    // clang-format on
    for (const auto& [name, rate, file, field] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(RateText::fileText(rate), QByteArray(file));
        EXPECT_EQ(RateText::fieldText(rate), field);
        EXPECT_EQ(RateText::fileText(RateText::parseFieldText(RateText::fieldText(rate))),
            RateText::fileText(std::fabs(rate)));
    }
}

// No sign, no exponent, only spaces skipped; a run beyond a double's range stays finite.
TEST(RateTextTest, ParseFieldText)
{
    const QString nines(400, u'9');
    struct Row {
        const char* name;
        QString text;
        double rate;
    };
    // clang-format off
    const Row rows[] = {
        { "NoSign", u"-3"_s, 0.0 },
        { "NoTab", u"\t3"_s, 0.0 },
        { "NoExponent", u"1e5"_s, 1.0 },
        { "SpacesSkippedTrailingTextIgnored", u"  12,5abc"_s, 12.5 },
        { "PeriodEndsTheNumber", u"1.2,3"_s, 1.2 },
        { "BeyondTheRangeStaysFinite", nines, DBL_MAX },
    };
    // clang-format on
    for (const auto& [name, text, rate] : rows)
        EXPECT_EQ(RateText::parseFieldText(text), rate) << name;
}

} // namespace
