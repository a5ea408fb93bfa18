#include "conversion/AmountText.h"

#include <QLocale>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <string>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace Qt::StringLiterals;

namespace conversion {
namespace {

    constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();

    TEST(FilterAmountText, KeepsDigitsAndTheFirstSeparator)
    {
        const struct {
            QString in;
            QString out;
        } cases[] = {
            { u""_s, u""_s },
            { u"0123456789"_s, u"0123456789"_s },
            { u"12,50"_s, u"12,50"_s },
            { u"12.50"_s, u"12,50"_s },
            { u"1.234,56"_s, u"1,23456"_s },
            { u"1,234,567.89"_s, u"1,23456789"_s },
            { u",5"_s, u",5"_s },
            { u","_s, u","_s },
            { u",,"_s, u","_s },
            { u"12,"_s, u"12,"_s },
            { u"-12 345 €"_s, u"12345"_s },
            { u"+1e5"_s, u"15"_s },
            { u"inf"_s, u""_s },
            { u"\t1\r\n2\u00a03"_s, u"123"_s },
            // Only the ASCII digits count: Arabic-Indic, full-width and superscript digits go.
            { u"\u0661\u0662\uff13\u00b2 4"_s, u"4"_s },
            { u"\U0001D7CE7"_s, u"7"_s }, // a digit outside the BMP
            { u"abc"_s, u""_s },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.in.toStdString());
            EXPECT_EQ(FilterAmountText(c.in), c.out);
        }
    }

    TEST(FormatWithPattern, DisplayPatterns)
    {
        const struct {
            std::int64_t amount;
            unsigned index;
            QString out;
        } cases[] = {
            { 65596, 3, u"6,56"_s },
            { 5000, 2, u",5"_s },
            { 120000, 2, u"12,"_s },
            { 0, 2, u","_s },
            { 0, 0, u""_s },
            { 4000, 0, u""_s },
            { 25000, 0, u"3"_s },
            { 12345678912, 4, u"1234567,8912"_s },
            // Half away from zero at every number of places, and no trailing zeros.
            { 15000, 0, u"2"_s },
            { 14999, 0, u"1"_s },
            { 12500, 1, u"1,3"_s },
            { 12499, 1, u"1,2"_s },
            { 1250, 2, u",13"_s },
            { 125, 3, u",013"_s },
            { 124, 3, u",012"_s },
            { 5, 3, u",001"_s },
            { 4, 3, u","_s },
            { 1, 4, u",0001"_s },
            { 10, 4, u",001"_s },
            { 99995, 3, u"10,"_s }, // the carry reaches the integer part
            { 99950, 2, u"10,"_s },
            { 10001000, 3, u"1000,1"_s },
            { 10000000, 1, u"1000,"_s },
            { 10500, 0, u"1"_s },
            // The ends of the range.
            { Int64Max, 4, u"922337203685477,5807"_s },
            { Int64Max, 0, u"922337203685478"_s },
            { Int64Max, 3, u"922337203685477,581"_s },
            { Int64Min, 4, u"-922337203685477,5808"_s },
            { Int64Min, 0, u"-922337203685478"_s },
            // Negative amounts, from a negative rate.
            { -65596, 3, u"-6,56"_s },
            { -5000, 2, u"-,5"_s },
            { -15000, 0, u"-2"_s },
            { -120000, 2, u"-12,"_s },
            { -4000, 0, u""_s }, // rounds to zero: no lone sign
            { -40, 2, u","_s },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.amount << " with " << c.index);
            EXPECT_EQ(FormatWithPattern(c.amount, DisplayPatterns[c.index]), c.out);
        }
    }

    TEST(DisplayPattern, IndexBeyondTheTableTakesTheLastPattern)
    {
        for (unsigned index = 0; index < DisplayPatterns.size(); ++index)
            EXPECT_EQ(DisplayPattern(index), DisplayPatterns[index]);
        for (unsigned index : { 5u, 9u, 255u, 4000000000u })
            EXPECT_EQ(DisplayPattern(index), u"#.#####");
    }

    TEST(ReadAmount, ReadsDigitsWithOneSeparatorOnly)
    {
        const std::string longest(308, '9');
        const struct {
            QString in;
            std::optional<double> out;
        } cases[] = {
            { u"1"_s, 1.0 },
            { u"007"_s, 7.0 },
            { u"12,"_s, 12.0 },
            { u"0,5"_s, 0.5 },
            { u",5"_s, 0.5 },
            { u"6,55957"_s, 6.55957 },
            { u"1234567,8912"_s, 1234567.8912 },
            { u"0000000000000000000000000000001,000000000000000000000000000000"_s, 1.0 },
            { QString::fromStdString(longest), std::stod(longest) },
            // Denormal values are still read; values below them are 0, not an error.
            { u"0,"_s + QString(309, u'0') + u"1"_s, 1e-310 },
            { u"0,"_s + QString(400, u'0') + u"1"_s, 0.0 },
            // Beyond the range of a double.
            { u"1"_s + QString(309, u'0'), std::nullopt },
            { QString(5000, u'9') + u","_s, std::nullopt },
            // Nothing the filter would not let through.
            { u""_s, std::nullopt },
            { u","_s, std::nullopt },
            { u"1,2,3"_s, std::nullopt },
            { u"1.5"_s, std::nullopt },
            { u"-1"_s, std::nullopt },
            { u"+1"_s, std::nullopt },
            { u" 1"_s, std::nullopt },
            { u"1 "_s, std::nullopt },
            { u"1e5"_s, std::nullopt },
            { u"inf"_s, std::nullopt },
            { u"nan"_s, std::nullopt },
            { u"0x10"_s, std::nullopt },
            { u"1 234"_s, std::nullopt },
            { u"\uff11"_s, std::nullopt },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.in.left(40).toStdString());
            EXPECT_EQ(ReadAmount(c.in), c.out);
        }
    }

    TEST(ToFixedPoint, RoundsHalfToEvenAndRefusesOverflow)
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const struct {
            double in;
            std::optional<std::int64_t> out;
        } cases[] = {
            { 0.0, 0 },
            { -0.0, 0 },
            { 6.55957, 65596 },
            { 1.0, 10000 },
            // Each of these times 10 000 is an exact half in double precision.
            { 0.00005, 0 },
            { 0.00025, 2 },
            { 0.00035, 4 },
            { 0.00045, 4 },
            { 0.12345, 1234 },
            { 2.00015, 20002 },
            { -0.00005, 0 },
            { -0.00025, -2 },
            { -0.00035, -4 },
            // Just off the half.
            { 0.00015, 1 }, // 1.4999999999999998
            { 1.00005, 10001 }, // 10000.500000000002
            { 3.279785, 32798 },
            { 1e-300, 0 },
            // The ends of the range: 922337203685477.5 × 10 000 is the largest double below 2^63;
            // the next one up makes 2^63, one past the end, while -2^63 is the first value.
            { 922337203685477.5, 9223372036854774784 },
            { 922337203685477.625, std::nullopt },
            { -922337203685477.625, Int64Min },
            { -922337203685477.75, std::nullopt },
            { 1e15, std::nullopt },
            { -1e300, std::nullopt },
            { inf, std::nullopt },
            { -inf, std::nullopt },
            { nan, std::nullopt },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.in);
            EXPECT_EQ(ToFixedPoint(c.in), c.out);
        }
    }

    // Amounts use "," whatever the C library's locale and Qt's default locale say.
    class AmountTextLocale
        : public testing::TestWithParam<std::pair<const char*, QLocale::Language>> {
    protected:
        void SetUp() override
        {
            m_previousC = std::setlocale(LC_ALL, nullptr);
            if (!std::setlocale(LC_ALL, GetParam().first))
                GTEST_SKIP() << GetParam().first << " is not installed";
            QLocale::setDefault(QLocale(GetParam().second));
        }
        void TearDown() override
        {
            std::setlocale(LC_ALL, m_previousC.c_str());
            QLocale::setDefault(QLocale::c());
        }

    private:
        std::string m_previousC;
    };

    TEST_P(AmountTextLocale, ReadsAndWritesWithAComma)
    {
        EXPECT_EQ(ReadAmount(u"1234,5"_s), 1234.5);
        EXPECT_EQ(ReadAmount(u"1234.5"_s), std::nullopt);
        EXPECT_EQ(FormatWithPattern(12345678912, DisplayPatterns[4]), u"1234567,8912"_s);
        EXPECT_EQ(FormatWithPattern(65596, DisplayPatterns[3]), u"6,56"_s);
        EXPECT_EQ(FilterAmountText(u"1.234,5"_s), u"1,2345"_s);
    }

    INSTANTIATE_TEST_SUITE_P(Locales, AmountTextLocale,
        testing::Values(std::pair { "C", QLocale::C }, std::pair { "C", QLocale::English },
            std::pair { "C", QLocale::French }, std::pair { "en_US.UTF-8", QLocale::English },
            std::pair { "fr_FR.UTF-8", QLocale::French }));

} // namespace
} // namespace conversion
