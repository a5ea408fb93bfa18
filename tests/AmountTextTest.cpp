#include "conversion/AmountText.h"

#include <gtest/gtest.h>
#include <limits>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace Qt::StringLiterals;

namespace conversion {
namespace {

    constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();

    TEST(AmountText, FilterKeepsDigitsAndTheFirstSeparator)
    {
        const std::pair<QString, QString> cases[] = {
            { u"12.50"_s, u"12,50"_s },
            { u"1.234,56"_s, u"1,23456"_s },
            { u",,5,"_s, u",5"_s },
            { u"-12 345 €"_s, u"12345"_s },
            { u"+1e5 inf"_s, u"15"_s },
            { u"\t1\r\n2\u00a03"_s, u"123"_s },
            // ASCII digits only: Arabic-Indic, full-width, superscript, outside the BMP.
            { u"\u0661\uff13\u00b2\U0001D7CE4"_s, u"4"_s },
        };
        for (const auto& [in, out] : cases)
            EXPECT_EQ(FilterAmountText(in), out) << in.toStdString();
    }

    TEST(AmountText, FormatWithPattern)
    {
        const struct {
            std::int64_t amount;
            unsigned index;
            QString out;
        } cases[] = {
            { 65596, 3, u"6,56"_s }, { 5000, 2, u",5"_s }, { 120000, 2, u"12,"_s },
            { 0, 2, u","_s }, { 0, 0, u""_s }, { 4000, 0, u""_s }, { 25000, 0, u"3"_s },
            { 12345678912, 4, u"1234567,8912"_s },
            // Half away from zero at each number of places; the carry reaches the whole part.
            { 15000, 0, u"2"_s }, { 14999, 0, u"1"_s }, { 1250, 2, u",13"_s },
            { 125, 3, u",013"_s }, { 4, 3, u","_s }, { 99995, 3, u"10,"_s },
            { Int64Max, 4, u"922337203685477,5807"_s }, { Int64Max, 0, u"922337203685478"_s },
            { Int64Min, 4, u"-922337203685477,5808"_s }, { -5000, 2, u"-,5"_s },
            { -4000, 0, u""_s }, // rounds to zero: no lone sign
        };
        for (const auto& c : cases)
            EXPECT_EQ(FormatWithPattern(c.amount, DisplayPatterns[c.index]), c.out) << c.amount;
    }

    TEST(AmountText, ReadAmountTakesDigitsAndOneSeparatorOnly)
    {
        const std::string nines(308, '9');
        const std::pair<QString, std::optional<double>> cases[] = {
            { u"007"_s, 7.0 },
            { u"12,"_s, 12.0 },
            { u",5"_s, 0.5 },
            { u"6,55957"_s, 6.55957 },
            { QString::fromStdString(nines), std::stod(nines) },
            { u"0,"_s + QString(309, u'0') + u'1', 1e-310 },
            { u"0,"_s + QString(400, u'0') + u'1', 0.0 }, // below every double: 0, no error
            { u'1' + QString(309, u'0'), std::nullopt }, // beyond every double
            { u""_s, std::nullopt },
            { u","_s, std::nullopt },
            { u"1,2,3"_s, std::nullopt },
            { u"1.5"_s, std::nullopt },
            { u"-1"_s, std::nullopt },
            { u" 1"_s, std::nullopt },
            { u"1e5"_s, std::nullopt },
            { u"inf"_s, std::nullopt },
            { u"\uff11"_s, std::nullopt },
        };
        for (const auto& [in, out] : cases)
            EXPECT_EQ(ReadAmount(in), out) << in.left(20).toStdString();
    }

    TEST(AmountText, ToFixedPointRoundsHalfToEvenWithinRange)
    {
        const std::pair<double, std::optional<std::int64_t>> cases[] = {
            { 6.55957, 65596 },
            // Exact halves once multiplied by 10 000 in double precision.
            { 0.00005, 0 },
            { 0.00025, 2 },
            { 0.00035, 4 },
            { 2.00015, 20002 },
            { -0.00025, -2 },
            { -0.00035, -4 },
            // Just off the half: 1.4999999999999998 and 10000.500000000002.
            { 0.00015, 1 },
            { 1.00005, 10001 },
            // The largest double below 2^63, then 2^63 itself; -2^63 is still in range.
            { 922337203685477.5, 9223372036854774784 },
            { 922337203685477.625, std::nullopt },
            { -922337203685477.625, Int64Min },
            { -922337203685477.75, std::nullopt },
            { std::numeric_limits<double>::infinity(), std::nullopt },
            { std::numeric_limits<double>::quiet_NaN(), std::nullopt },
        };
        for (const auto& [in, out] : cases)
            EXPECT_EQ(ToFixedPoint(in), out) << in;
    }

} // namespace
} // namespace conversion
