#include "conversion/AmountConverter.h"
#include "toolkit/Clipboard.h"
#include "toolkit/MemoryClipboard.h"
#include "toolkit/MemoryTextField.h"
#include "toolkit/MessageBox.h"

#include <QString>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

// Checks the converter against an oracle of its own over a million generated amounts: the C
// library reads the amount, the arithmetic is the rounding mode's nearest-even, and the text
// written into the other field is read back digit by digit into ten-thousandths.

using namespace Qt::StringLiterals;

namespace conversion {
namespace {

    constexpr int Iterations = 1'000'000;

    const std::array Rates = {
        6.55957, // the default
        1.0,
        0.0,
        1.95583,
        40.3399,
        0.152449017237,
        1.0 / 3.0,
        123456.789012345,
        7.000000000000001,
        0.1,
        1e-9, // tiny
        3e-15,
        1e12, // huge
        1e17,
    };

    enum class Field { Euro, Franc };

    struct Expected {
        bool overflow = false;
        std::int64_t converted = 0;
    };

    // The oracle's reading and arithmetic: strtod in the "C" locale and the rounding mode's
    // nearest, ties to even.
    Expected oracle(const std::string& amount, Field field, double rate)
    {
        std::string text = amount;
        for (char& ch : text)
            if (ch == ',')
                ch = '.';
        const double value = std::strtod(text.c_str(), nullptr);
        if (field == Field::Franc && rate == 0.0)
            return { true, 0 };
        const double result = field == Field::Euro ? value * rate : value / rate;
        const double rounded = std::nearbyint(result * 10000.0);
        if (!(std::fabs(rounded) < 9223372036854775808.0))
            return { true, 0 };
        return { false, static_cast<std::int64_t>(rounded) };
    }

    // Reads an amount text as written into a field into ten-thousandths, or nothing when it is
    // not well formed: digits, at most one ",", which is neither first nor last and is followed
    // by at most `places` digits without trailing zeros; no leading zero before other digits.
    std::optional<std::int64_t> readBack(const QString& text, int places)
    {
        const qsizetype comma = text.indexOf(u',');
        const QString whole = comma < 0 ? text : text.left(comma);
        const QString fraction = comma < 0 ? QString() : text.mid(comma + 1);
        if (comma == 0 || (comma > 0 && fraction.isEmpty()) || fraction.contains(u','))
            return std::nullopt;
        if (fraction.size() > std::min(places, 4) || fraction.endsWith(u'0'))
            return std::nullopt;
        if (whole.size() > 1 && whole.startsWith(u'0'))
            return std::nullopt;
        if (whole == u"0"_s && fraction.isEmpty())
            return places == 0 ? std::nullopt : std::optional<std::int64_t>(0);
        std::int64_t units = 0;
        for (const QChar ch : whole) {
            if (ch < u'0' || ch > u'9')
                return std::nullopt;
            units = units * 10 + (ch.unicode() - u'0');
        }
        for (int i = 0; i < 4; ++i) {
            const QChar ch = i < fraction.size() ? fraction[i] : u'0';
            if (ch < u'0' || ch > u'9')
                return std::nullopt;
            units = units * 10 + (ch.unicode() - u'0');
        }
        return units;
    }

    // ConvertedAmount at the pattern's places, half away from zero, still in ten-thousandths.
    std::int64_t roundedForDisplay(std::int64_t converted, int places)
    {
        if (places >= 4)
            return converted;
        std::int64_t step = 1;
        for (int i = places; i < 4; ++i)
            step *= 10;
        const std::int64_t whole = converted / step;
        const bool up = converted % step >= step / 2 + step % 2;
        return (whole + (up ? 1 : 0)) * step;
    }

    // The other field shows ConvertedAmount at the pattern's places: a well-formed text that
    // reads back as the rounded value, or nothing for 0 without places.
    bool shownCorrectly(const QString& shown, std::int64_t converted, int decimalsIndex)
    {
        const int places = decimalsIndex == 4 ? 5 : decimalsIndex;
        const std::int64_t display = roundedForDisplay(converted, places);
        if (decimalsIndex == 0 && display == 0)
            return shown.isEmpty();
        return readBack(shown, places) == display;
    }

    class Generator {
    public:
        explicit Generator(std::uint64_t seed)
            : m_random(seed)
        {
        }

        int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

        std::string digits(int count)
        {
            std::string result;
            for (int i = 0; i < count; ++i)
                result.push_back(static_cast<char>('0' + below(10)));
            return result;
        }

        // Mostly short amounts, a good share long enough to overflow, leading zeros and a
        // separator first or last now and then.
        std::string amount()
        {
            const int wholeDigits = below(10) < 6 ? below(6) + 1 : below(17) + 6;
            std::string result = digits(wholeDigits);
            if (below(20) == 0)
                result = ""; // a leading separator
            if (below(2) == 0)
                result += ',' + digits(below(8));
            if (result.empty() || result == ",")
                result = "0";
            return result;
        }

        // The amount with noise around and in it, as a clipboard might hold it.
        QString noisy(const std::string& amount)
        {
            static const QString noise = u" -+€abcXYZ\t'\u00a0\u0663"_s;
            QString result;
            for (const char ch : amount) {
                if (below(4) == 0)
                    result += noise[below(static_cast<int>(noise.size()))];
                result += ch == ',' && below(2) == 0 ? QChar(u'.') : QChar::fromLatin1(ch);
            }
            return result;
        }

    private:
        std::mt19937_64 m_random;
    };

    struct Rig {
        SettingsRecord settings = SettingsRecord::defaults();
        toolkit::MemoryTextField euro;
        toolkit::MemoryTextField franc;
        AmountConverter converter { euro, franc, settings };

        toolkit::TextField& own(Field field) { return field == Field::Euro ? euro : franc; }
        toolkit::TextField& other(Field field) { return field == Field::Euro ? franc : euro; }
    };

    TEST(AmountProperty, ConversionsAgreeWithTheOracle)
    {
        ASSERT_EQ(std::fegetround(), FE_TONEAREST);
        toolkit::MemoryClipboard clipboard;
        toolkit::Clipboard::install(&clipboard);
        int messages = 0;
        toolkit::MessageBox::setAnswerer([&](const toolkit::MessageBox::Request&) { ++messages; });

        Generator generate(20260601);
        int overflows = 0;
        int failures = 0;
        for (int iteration = 0; iteration < Iterations && failures < 20; ++iteration) {
            const double rate = Rates[static_cast<std::size_t>(generate.below(Rates.size()))];
            const int index = generate.below(5);
            const Field field = generate.below(2) == 0 ? Field::Euro : Field::Franc;
            const std::string amount = generate.amount();
            const QString typed = QString::fromStdString(amount);
            const QString kept = typed.startsWith(u',') ? u'0' + typed : typed;

            Rig rig;
            rig.settings.ConversionRate = rate;
            rig.settings.DecimalsIndex = static_cast<std::uint8_t>(index);
            // A good pair first, now and then, for the recovery to go back to.
            const bool hadGoodPair = generate.below(4) == 0;
            if (hadGoodPair)
                rig.euro.setText(u"1"_s);
            const auto goodPair = rig.converter.state().LastGoodAmounts;
            if (rig.own(field).text() == typed)
                continue; // the same text raises nothing
            const int messagesBefore = messages;

            if (generate.below(10) == 0) {
                clipboard.setText(generate.noisy(amount));
                AmountConverter::PasteAmount(rig.own(field));
            } else {
                rig.own(field).setText(typed);
            }

            const Expected expected = oracle(kept.toStdString(), field, rate);
            const auto& state = rig.converter.state();
            const QString& euro = rig.euro.text();
            const QString& franc = rig.franc.text();
            bool ok = state.ConversionSource == 0;
            if (expected.overflow) {
                ++overflows;
                int expectedMessages = 1;
                std::array<QString, 2> expectedPair = goodPair;
                if (!hadGoodPair) {
                    ok = ok && euro.isEmpty() && franc.isEmpty();
                } else if (field == Field::Euro) {
                    // The restored TextEuro converts again and writes the same TextFranc.
                    ok = ok && euro == goodPair[0] && franc == goodPair[1];
                } else if (goodPair[1].isEmpty()) {
                    // The restored, empty TextFranc empties TextEuro.
                    ok = ok && euro.isEmpty() && franc.isEmpty();
                } else {
                    // The restored TextFranc converts again, and TextEuro follows it, unless
                    // that conversion fails too (a rate of 0) and recovers once more.
                    ok = ok && franc == goodPair[1];
                    const Expected back = oracle(goodPair[1].toStdString(), Field::Franc, rate);
                    if (back.overflow) {
                        ++expectedMessages;
                        ok = ok && euro == goodPair[0];
                    } else {
                        ok = ok && state.ConvertedAmount == back.converted
                            && shownCorrectly(euro, back.converted, index);
                        expectedPair = { euro, franc };
                    }
                }
                ok = ok && messages == messagesBefore + expectedMessages;
                ok = ok && state.LastGoodAmounts == expectedPair;
            } else {
                ok = ok && messages == messagesBefore;
                ok = ok && state.ConvertedAmount == expected.converted;
                ok = ok && rig.own(field).text() == kept;
                ok = ok && shownCorrectly(rig.other(field).text(), expected.converted, index);
                ok = ok && state.LastGoodAmounts[0] == euro && state.LastGoodAmounts[1] == franc;
            }
            if (!ok) {
                ++failures;
                ADD_FAILURE() << "amount " << amount
                              << (field == Field::Euro ? " in TextEuro" : " in TextFranc")
                              << " at rate " << rate << ", index " << index << ": TextEuro "
                              << rig.euro.text().toStdString() << ", TextFranc "
                              << rig.franc.text().toStdString() << ", ConvertedAmount "
                              << state.ConvertedAmount << ", expected "
                              << (expected.overflow ? std::string("overflow")
                                                    : std::to_string(expected.converted));
            }
        }
        // The generator must reach both outcomes often enough to mean something.
        EXPECT_GT(overflows, Iterations / 20);
        EXPECT_LT(overflows, Iterations / 2);

        toolkit::Clipboard::install(nullptr);
        toolkit::MessageBox::setAnswerer({});
    }

    // The oracle's own helpers, on cases worked by hand.
    TEST(AmountProperty, OracleReadBackAndRounding)
    {
        const struct {
            QString text;
            int places;
            std::optional<std::int64_t> units;
        } reads[] = {
            { u"6,56"_s, 3, 65600 },
            { u"0,5"_s, 2, 5000 },
            { u"0"_s, 2, 0 },
            { u"0"_s, 0, std::nullopt },
            { u"7"_s, 0, 70000 },
            { u",5"_s, 2, std::nullopt },
            { u"5,"_s, 2, std::nullopt },
            { u"5,50"_s, 2, std::nullopt },
            { u"5,123"_s, 2, std::nullopt },
            { u"05"_s, 2, std::nullopt },
            { u"5,5,5"_s, 3, std::nullopt },
            { u"-5"_s, 3, std::nullopt },
            { u"1234567,8912"_s, 5, 12345678912 },
        };
        for (const auto& c : reads)
            EXPECT_EQ(readBack(c.text, c.places), c.units) << c.text.toStdString();

        const struct {
            std::int64_t converted;
            int places;
            std::int64_t shown;
        } roundings[] = {
            { 65596, 3, 65600 },
            { 65596, 0, 70000 },
            { 15000, 0, 20000 },
            { 14999, 0, 10000 },
            { 1250, 2, 1300 },
            { 125, 3, 130 },
            { 124, 3, 120 },
            { 65596, 5, 65596 },
        };
        for (const auto& c : roundings)
            EXPECT_EQ(roundedForDisplay(c.converted, c.places), c.shown) << c.converted;
    }

} // namespace
} // namespace conversion
