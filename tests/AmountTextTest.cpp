#include "conversion/AmountText.h"

#include "tests/support/Text.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

using namespace conversion;
using namespace Qt::StringLiterals;

// Digits 0 to 9 only, and the first separator, "." counting as ",".
TEST(AmountText, FilterKeepsDigitsAndTheFirstSeparator)
{
    struct Case {
        const char* name;
        QString in, out;
    };
    // clang-format off
    const Case cases[] = {
        { "PeriodCountsAsTheSeparator", u"1.234,56"_s, u"1,23456"_s },
        { "OnlyTheFirstSeparator", u",,5,"_s, u",5"_s },
        { "SignsSpacesAndLettersGo", u"-12 345 €\t+1e5 inf\r\n\u00a06"_s, u"12345156"_s },
        { "OtherScriptsDigitsGo", u"\u0661\uff13\u00b2\U0001D7CE4"_s, u"4"_s },
    };
    // clang-format on
    for (const auto& [name, in, out] : cases)
        EXPECT_EQ(CleanDecimalText(in), out) << name;
}

// Half away from zero at each number of places; the carry reaches the whole part.
TEST(AmountText, FormatWithPattern)
{
    struct Case {
        const char* name;
        std::int64_t amount;
        unsigned index;
        QString out;
    };
    // clang-format off
    const Case cases[] = {
        { "TwoPlacesRoundedUp", 65596, 3, u"6,56"_s },
        { "NoLeadingZero", 5000, 2, u",5"_s },
        { "TrailingSeparatorKept", 120000, 2, u"12,"_s },
        { "ZeroIsALoneSeparator", 0, 2, u","_s },
        { "ZeroWithoutPlacesIsEmpty", 0, 0, u""_s },
        { "BelowAHalfWithoutPlacesIsEmpty", 4000, 0, u""_s },
        { "HalfAwayFromZero", 25000, 0, u"3"_s },
        { "FourPlacesWhole", 12345678912, 4, u"1234567,8912"_s },
        { "OneAndAHalfRoundsUp", 15000, 0, u"2"_s },
        { "JustBelowTheHalfRoundsDown", 14999, 0, u"1"_s },
        { "HalfAtTwoPlaces", 1250, 2, u",13"_s },
        { "HalfAtThreePlaces", 125, 3, u",013"_s },
        { "BelowTheLastPlace", 4, 3, u","_s },
        { "CarryReachesTheWholePart", 99995, 3, u"10,"_s },
        { "LargestAmount", INT64_MAX, 4, u"922337203685477,5807"_s },
        { "LargestAmountRounded", INT64_MAX, 0, u"922337203685478"_s },
        { "SmallestAmount", INT64_MIN, 4, u"-922337203685477,5808"_s },
        { "NegativeHalf", -5000, 2, u"-,5"_s },
        { "NegativeRoundedToZeroHasNoLoneSign", -4000, 0, u""_s },
    };
    // clang-format on
    for (const auto& [name, amount, index, out] : cases)
        EXPECT_EQ(FormatWithPattern(amount, DisplayPatterns[index]), out) << name;
}

// Digits with at most one ","; nothing else, and nothing beyond the range of a double, but a
// value below every double reads as 0.
TEST(AmountText, ReadAmountTakesDigitsAndOneSeparatorOnly)
{
    const QString zeros(309, u'0');
    struct Case {
        const char* name;
        QString in;
        std::optional<double> out;
    };
    // clang-format off
    const Case cases[] = {
        { "LeadingZeros", u"007"_s, 7.0 },
        { "TrailingSeparator", u"12,"_s, 12.0 },
        { "LeadingSeparator", u",5"_s, 0.5 },
        { "Subnormal", u"0,"_s + zeros + u'1', 1e-310 },
        { "BelowEveryDoubleIsZero", u"0,0"_s + zeros + zeros + u'1', 0.0 },
        { "BeyondTheRange", u'9' + zeros, {} },
        { "Empty", u""_s, {} },
        { "LoneSeparator", u","_s, {} },
        { "TwoSeparators", u"1,2,3"_s, {} },
        { "Period", u"1.5"_s, {} },
        { "Sign", u"-1"_s, {} },
        { "Exponent", u"1e5"_s, {} },
    };
    // clang-format on
    for (const auto& [name, in, out] : cases)
        EXPECT_EQ(ReadAmount(in), out) << name;
}

// Exact halves to even, just off the half to the nearest; 2^63 is out of range, -2^63 is not.
TEST(AmountText, ToFixedPointRoundsHalfToEvenWithinRange)
{
    struct Case {
        const char* name;
        double in;
        std::optional<std::int64_t> out;
    };
    // clang-format off
    const Case cases[] = {
        { "HalfToEvenDown", 0.00025, 2 },
        { "HalfToEvenUp", 0.00035, 4 },
        { "NegativeHalfToEven", -0.00025, -2 },
        { "JustOffTheHalf", 0.00015, 1 },
        { "JustOffTheHalfAboveOne", 1.00005, 10001 },
        { "TheRate", 6.55957, 65596 },
        { "LargestInRange", 922337203685477.5, 9223372036854774784 },
        { "TwoToThe63IsOut", 922337203685477.625, {} },
        { "MinusTwoToThe63IsIn", -922337203685477.625, INT64_MIN },
        { "BelowMinusTwoToThe63IsOut", -922337203685477.75, {} },
        { "Infinity", INFINITY, {} },
        { "NotANumber", NAN, {} },
    };
    // clang-format on
    for (const auto& [name, in, out] : cases)
        EXPECT_EQ(ToFixedPoint(in), out) << name;
}

} // namespace
