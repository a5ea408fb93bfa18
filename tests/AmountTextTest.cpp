#include "conversion/AmountText.h"

#include "tests/support/Text.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

using namespace conversion;
using namespace Qt::StringLiterals;

// Digits 0 to 9 only, and the first separator, "." counting as ",".
TEST(AmountText, FilterKeepsDigitsAndTheFirstSeparator)
{
    const std::pair<QString, QString> cases[] = { { u"1.234,56"_s, u"1,23456"_s },
        { u",,5,"_s, u",5"_s }, { u"-12 345 €\t+1e5 inf\r\n\u00a06"_s, u"12345156"_s },
        { u"\u0661\uff13\u00b2\U0001D7CE4"_s, u"4"_s } };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(FilterAmountText(in), out) << in.toStdString();
}

// Half away from zero at each number of places; the carry reaches the whole part.
TEST(AmountText, FormatWithPattern)
{
    const std::tuple<std::int64_t, unsigned, QString> cases[] = { { 65596, 3, u"6,56"_s },
        { 5000, 2, u",5"_s }, { 120000, 2, u"12,"_s }, { 0, 2, u","_s }, { 0, 0, u""_s },
        { 4000, 0, u""_s }, { 25000, 0, u"3"_s }, { 12345678912, 4, u"1234567,8912"_s },
        { 15000, 0, u"2"_s }, { 14999, 0, u"1"_s }, { 1250, 2, u",13"_s }, { 125, 3, u",013"_s },
        { 4, 3, u","_s }, { 99995, 3, u"10,"_s }, { INT64_MAX, 4, u"922337203685477,5807"_s },
        { INT64_MAX, 0, u"922337203685478"_s }, { INT64_MIN, 4, u"-922337203685477,5808"_s },
        { -5000, 2, u"-,5"_s }, { -4000, 0, u""_s } }; // rounds to zero: no lone sign
    for (const auto& [amount, index, out] : cases)
        EXPECT_EQ(FormatWithPattern(amount, DisplayPatterns[index]), out) << amount;
}

// Digits with at most one ","; nothing else, and nothing beyond the range of a double, but a
// value below every double reads as 0.
TEST(AmountText, ReadAmountTakesDigitsAndOneSeparatorOnly)
{
    const QString zeros(309, u'0');
    const std::pair<QString, std::optional<double>> cases[] = { { u"007"_s, 7.0 },
        { u"12,"_s, 12.0 }, { u",5"_s, 0.5 }, { u"0,"_s + zeros + u'1', 1e-310 },
        { u"0,0"_s + zeros + zeros + u'1', 0.0 }, { u'9' + zeros, {} }, { u""_s, {} },
        { u","_s, {} }, { u"1,2,3"_s, {} }, { u"1.5"_s, {} }, { u"-1"_s, {} }, { u"1e5"_s, {} } };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ReadAmount(in), out) << in.left(20).toStdString();
}

// Exact halves to even, just off the half to the nearest; 2^63 is out of range, -2^63 is not.
TEST(AmountText, ToFixedPointRoundsHalfToEvenWithinRange)
{
    const std::pair<double, std::optional<std::int64_t>> cases[]
        = { { 0.00025, 2 }, { 0.00035, 4 }, { -0.00025, -2 }, { 0.00015, 1 }, { 1.00005, 10001 },
              { 6.55957, 65596 }, { 922337203685477.5, 9223372036854774784 },
              { 922337203685477.625, {} }, { -922337203685477.625, INT64_MIN },
              { -922337203685477.75, {} }, { INFINITY, {} }, { NAN, {} } };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ToFixedPoint(in), out) << in;
}

} // namespace
