#include "conversion/AmountText.h"

#include "tests/support/Text.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

using namespace conversion;
using namespace Qt::StringLiterals;

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
        { "HalfAwayFromZero", 25000, 0, u"3"_s },
        { "JustBelowTheHalfRoundsDown", 14999, 0, u"1"_s },
        { "HalfAtThreePlacesKeepsTheZeroAfterTheSeparator", 125, 3, u",013"_s },
        { "OnePlace", 65596, 1, u"6,6"_s },
        { "CarryReachesTheWholePart", 99995, 3, u"10,"_s },
        { "LargestAmountRounded", INT64_MAX, 0, u"922337203685478"_s },
        { "SmallestAmount", INT64_MIN, 4, u"-922337203685477,5808"_s },
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
        { "LeadingZerosAndTrailingSeparator", u"007,"_s, 7.0 },
        { "BelowEveryDoubleIsZero", u"0,0"_s + zeros + zeros + u'1', 0.0 },
        { "BeyondTheRange", u'9' + zeros, {} },
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
        { "TwoToThe63IsOut", 922337203685477.625, {} },
        { "MinusTwoToThe63IsIn", -922337203685477.625, INT64_MIN },
        { "BelowMinusTwoToThe63IsOut", -922337203685477.75, {} },
    };
    // clang-format on
    for (const auto& [name, in, out] : cases)
        EXPECT_EQ(ToFixedPoint(in), out) << name;
}

} // namespace
