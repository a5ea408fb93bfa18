#include "conversion/AmountConverter.h"
#include "tests/support/Seams.h"
#include "toolkit/Clipboard.h"
#include "toolkit/MemoryClipboard.h"
#include "toolkit/MemoryTextField.h"
#include "toolkit/MessageBox.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

// A million generated amounts against an oracle of the test's own: strtod reads the amount,
// nearbyint (in the default rounding mode) rounds it to ten-thousandths, and integer arithmetic
// with std::to_string writes them.

namespace {

using namespace conversion;
using namespace toolkit;
using namespace Qt::StringLiterals;

// The converted count of ten-thousandths, or nothing for an overflow or a division by 0.
std::optional<std::int64_t> oracle(QString amount, bool euro, double rate)
{
    const double value = std::strtod(amount.replace(u',', u'.').toLatin1().constData(), nullptr);
    const double rounded = std::nearbyint((euro ? value * rate : value / rate) * 1e4);
    return std::fabs(rounded) < 0x1p63 ? std::optional<std::int64_t>(rounded) : std::nullopt;
}

// The other field's text: rounded half away from zero to the pattern's places, no superfluous
// zeros, "0" before a leading ",", and nothing at all for 0 without places.
QString shown(std::int64_t converted, int places)
{
    const std::int64_t step = std::array<std::int64_t, 5> { 10000, 1000, 100, 10, 1 }[places];
    const std::int64_t units = converted / step + (2 * (converted % step) >= step),
                       scale = 10000 / step;
    std::string text
        = std::to_string(units / scale) + ',' + std::to_string(scale + units % scale).substr(1);
    text.erase(text.find_last_not_of('0') + 1);
    text.erase(text.find_last_not_of(',') + 1);
    return places == 0 && units == 0 ? QString() : QString::fromStdString(text);
}

TEST(AmountProperty, ConversionsAgreeWithTheOracle)
{
    const double rates[] = { 6.55957, 1.0, 0.0, 1.95583, 40.3399, 0.152449017237, 1.0 / 3.0,
        123456.789012345, 7.000000000000001, 0.1, 1e-9, 3e-15, 1e12, 1e17 };
    const QString noise = u" -+€abcXYZ\t'\u00a0\u0663"_s;
    std::mt19937_64 random(20260601);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    // n digits, leading zeros included; beyond 20 digits, the first ones are zeros.
    const auto digits = [&](int n) { return u"%1"_s.arg(random(), 22, 10, QChar(u'0')).right(n); };
    MemoryClipboard clipboard;
    const ClipboardFake clipboardInstalled(clipboard);
    int messages = 0, overflows = 0;
    const MessageBoxAnswerer answerer([&](const MessageBox::Request&) { ++messages; });
    for (int i = 0; i < 1'000'000 && !HasFailure(); ++i) {
        const double rate = rates[below(std::size(rates))];
        const int index = below(5), own = below(2); // the field set: 0 TextEuro, 1 TextFranc
        // Mostly short amounts, many long enough to overflow, now and then a separator first or
        // last; the field puts a "0" before a leading one.
        const QString amount
            = (below(20) ? digits(below(10) < 6 ? below(6) + 1 : below(17) + 6) : QString())
            + (below(2) ? QString() : u',' + digits(below(8)));
        const QString kept = amount.startsWith(u',') ? u'0' + amount : amount;
        const SettingsRecord settings { {}, {}, 1, rate, static_cast<std::uint8_t>(index) };
        MemoryTextField fields[2];
        AmountConverter converter(fields[0], fields[1], settings);
        fields[0].setText(below(4) ? QString() : u"1"_s); // now and then a good pair to go back to
        const auto good = converter.state().LastGoodAmounts;
        if (amount.isEmpty() || amount == u"," || fields[own].text() == amount)
            continue; // nothing to convert, or the same text, which raises nothing
        QString pasted; // now and then pasted, with noise and "." for ","
        for (const QChar ch : below(10) ? QString() : amount)
            pasted += noise.mid(below(4 * noise.size()), 1) + (ch == u',' && below(2) ? u'.' : ch);
        clipboard.setText(pasted);
        const int before = messages;
        pasted.isEmpty() ? fields[own].setText(amount) : AmountConverter::PasteAmount(fields[own]);

        // An overflow restores the last good pair: TextEuro, which converts again, then TextFranc,
        // which converts again when it came from there and is not empty, and fails once more at
        // a rate of 0. An empty TextFranc empties TextEuro.
        const auto expected = oracle(kept, own == 0, rate);
        const bool reconverts = !expected && own == 1 && !good[1].isEmpty();
        const auto back = reconverts ? oracle(good[1], false, rate) : std::nullopt;
        const auto converted = expected ? expected : back;
        std::array want = good;
        if (expected)
            want[own] = kept, want[!own] = shown(*expected, index);
        else // an empty TextFranc, restored, empties TextEuro
            want[0] = back ? shown(*back, index) : good[own == 1 && good[1].isEmpty()];
        const auto& state = converter.state();
        const std::array got { fields[0].text(), fields[1].text() };
        const bool ok = got == want && messages - before == !expected + (reconverts && !back)
            && !state.ConversionSource && (!converted || state.ConvertedAmount == *converted)
            && state.LastGoodAmounts == (converted ? got : good);
        EXPECT_TRUE(ok) << "EF"[own] << ':' << amount.toStdString() << " at " << rate << '/'
                        << index << " -> " << got[0].toStdString() << '|' << got[1].toStdString();
        overflows += !expected;
    }
    // Both outcomes must come often enough to mean something.
    EXPECT_TRUE(overflows > 50'000 && overflows < 500'000) << overflows;
}

} // namespace
