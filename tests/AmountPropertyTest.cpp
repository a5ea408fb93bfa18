#include "conversion/AmountConverter.h"
#include "toolkit/Clipboard.h"
#include "toolkit/MemoryClipboard.h"
#include "toolkit/MemoryTextField.h"
#include "toolkit/MessageBox.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

// A million generated amounts against an oracle of the test's own: strtod reads the amount,
// nearbyint rounds, and the other field's text is read back digit by digit into ten-thousandths.

using namespace Qt::StringLiterals;

namespace conversion {
namespace {

    enum Field { E, F };

    // Overflow, or the expected count of ten-thousandths.
    std::optional<std::int64_t> oracle(std::string amount, Field field, double rate)
    {
        std::replace(amount.begin(), amount.end(), ',', '.');
        const double value = std::strtod(amount.c_str(), nullptr);
        if (field == F && rate == 0.0)
            return std::nullopt;
        const double rounded = std::nearbyint((field == E ? value * rate : value / rate) * 1e4);
        if (!(std::fabs(rounded) < 9223372036854775808.0))
            return std::nullopt;
        return static_cast<std::int64_t>(rounded);
    }

    // The other field shows `converted` rounded half away from zero to the pattern's places:
    // digits and at most one ",", never first nor last, no superfluous zeros, empty for 0
    // without places, and read back it is exactly that rounded value.
    bool shownCorrectly(const QString& shown, std::int64_t converted, int decimalsIndex)
    {
        const int places = std::min(decimalsIndex, 4);
        std::int64_t step = 1;
        for (int i = places; i < 4; ++i)
            step *= 10;
        const std::int64_t expected = (converted / step + (2 * (converted % step) >= step)) * step;
        if (decimalsIndex == 0 && expected == 0)
            return shown.isEmpty();

        const qsizetype comma = shown.indexOf(u',');
        const QString whole = comma < 0 ? shown : shown.left(comma);
        const QString fraction = comma < 0 ? QString() : shown.mid(comma + 1);
        if (whole.isEmpty() || (whole.size() > 1 && whole.startsWith(u'0')))
            return false;
        if ((comma >= 0 && fraction.isEmpty()) || fraction.size() > places
            || fraction.endsWith(u'0'))
            return false;
        std::int64_t units = 0;
        for (const QChar ch : whole + fraction.leftJustified(4, u'0')) {
            if (ch < u'0' || ch > u'9')
                return false;
            units = units * 10 + (ch.unicode() - u'0');
        }
        return units == expected;
    }

    TEST(AmountProperty, ConversionsAgreeWithTheOracle)
    {
        ASSERT_EQ(std::fegetround(), FE_TONEAREST);
        const double rates[] = { 6.55957, 1.0, 0.0, 1.95583, 40.3399, 0.152449017237, 1.0 / 3.0,
            123456.789012345, 7.000000000000001, 0.1, 1e-9, 3e-15, 1e12, 1e17 };
        const QString noise = u" -+€abcXYZ\t'\u00a0\u0663"_s;
        std::mt19937_64 random(20260601);
        const auto below
            = [&](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
        const auto digits = [&](int count) {
            std::string result;
            while (count-- > 0)
                result += static_cast<char>('0' + below(10));
            return result;
        };

        toolkit::MemoryClipboard clipboard;
        toolkit::Clipboard::install(&clipboard);
        int messages = 0;
        toolkit::MessageBox::setAnswerer([&](const toolkit::MessageBox::Request&) { ++messages; });
        int overflows = 0, failures = 0;
        constexpr int Iterations = 1'000'000;
        for (int i = 0; i < Iterations && failures < 20; ++i) {
            const double rate = rates[below(std::size(rates))];
            const int index = below(5);
            const Field field = below(2) == 0 ? E : F;
            // Mostly short amounts, many long enough to overflow, now and then a separator
            // first or last.
            std::string amount
                = below(20) == 0 ? "" : digits(below(10) < 6 ? below(6) + 1 : below(17) + 6);
            if (below(2) == 0)
                amount += ',' + digits(below(8));
            if (amount.empty() || amount == ",")
                amount = "0";
            const QString typed = QString::fromStdString(amount);
            const QString kept = typed.startsWith(u',') ? u'0' + typed : typed;

            SettingsRecord settings = SettingsRecord::defaults();
            settings.ConversionRate = rate;
            settings.DecimalsIndex = static_cast<std::uint8_t>(index);
            toolkit::MemoryTextField euro, franc;
            AmountConverter converter(euro, franc, settings);
            toolkit::TextField& own = field == E ? euro : franc;
            toolkit::TextField& other = field == E ? franc : euro;
            // A good pair first, now and then, for the recovery to go back to.
            const bool hadGoodPair = below(4) == 0;
            if (hadGoodPair)
                euro.setText(u"1"_s);
            const auto good = converter.state().LastGoodAmounts;
            if (own.text() == typed)
                continue; // the same text raises nothing
            const int messagesBefore = messages;
            if (below(10) == 0) {
                QString dirty;
                for (const char ch : amount)
                    dirty += (below(4) == 0 ? QString(noise[below(noise.size())]) : QString())
                        + (ch == ',' && below(2) == 0 ? u'.' : QChar::fromLatin1(ch));
                clipboard.setText(dirty);
                AmountConverter::PasteAmount(own);
            } else {
                own.setText(typed);
            }

            const auto& state = converter.state();
            const auto expected = oracle(kept.toStdString(), field, rate);
            int expectedMessages = 0;
            std::array pair { euro.text(), franc.text() };
            bool ok = state.ConversionSource == 0;
            if (!expected) {
                ++overflows;
                expectedMessages = 1;
                if (!hadGoodPair) {
                    ok = ok && euro.text().isEmpty() && franc.text().isEmpty();
                    pair = good;
                } else if (field == E || good[1].isEmpty()) {
                    // Restoring TextEuro converts it again; an empty TextFranc empties TextEuro.
                    ok = ok && franc.text() == good[1]
                        && euro.text() == (field == E ? good[0] : u""_s);
                    pair = good;
                } else if (const auto back = oracle(good[1].toStdString(), F, rate); !back) {
                    // The restored TextFranc fails too (a rate of 0) and recovers once more.
                    ++expectedMessages;
                    ok = ok && euro.text() == good[0] && franc.text() == good[1];
                    pair = good;
                } else {
                    // The restored TextFranc converts again, and TextEuro follows it.
                    ok = ok && franc.text() == good[1] && state.ConvertedAmount == *back
                        && shownCorrectly(euro.text(), *back, index);
                }
            } else {
                ok = ok && state.ConvertedAmount == *expected && own.text() == kept
                    && shownCorrectly(other.text(), *expected, index);
            }
            ok = ok && messages == messagesBefore + expectedMessages
                && state.LastGoodAmounts == pair;
            if (!ok && ++failures)
                ADD_FAILURE() << amount << (field == E ? " in E" : " in F") << " at rate " << rate
                              << ", index " << index << ": E " << euro.text().toStdString()
                              << ", F " << franc.text().toStdString() << ", converted "
                              << state.ConvertedAmount << ", expected "
                              << (expected ? std::to_string(*expected) : "overflow");
        }
        // Both outcomes must come often enough to mean something.
        EXPECT_GT(overflows, Iterations / 20);
        EXPECT_LT(overflows, Iterations / 2);
        toolkit::Clipboard::install(nullptr);
        toolkit::MessageBox::setAnswerer({});
    }

} // namespace
} // namespace conversion
