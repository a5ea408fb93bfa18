#include "conversion/AmountConverter.h"

#include "tests/support/Seams.h"
#include "tests/support/Text.h"
#include "toolkit/Clipboard.h"
#include "toolkit/MemoryClipboard.h"
#include "toolkit/MemoryTextField.h"
#include "toolkit/MessageBox.h"

#include <QLocale>
#include <QStringList>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <tuple>

namespace {

using namespace conversion;
using namespace toolkit;
using namespace Qt::StringLiterals;

enum Field { E, F };
constexpr double R = 6.55957;

// Both amount fields (TextEuro is field[E]) under a converter, with the fake clipboard and message
// box. The log holds every change handling entered ("E:text@ConversionSource") and restarts at
// each message ("!").
struct Rig {
    SettingsRecord settings;
    MemoryTextField field[2];
    MemoryClipboard clipboard;
    QStringList log;
    AmountConverter converter { field[E], field[F], settings };
    ClipboardFake clipboardInstalled { clipboard };
    MessageBoxAnswerer answerer { [this](const MessageBox::Request& m) {
        EXPECT_EQ(m.title + u'|' + m.text + u'|' + QString::number(m.style),
            u"Erreur !|Dépassement du nombre de\ncaractères maximum.|64"_s);
        log = QStringList { u"!"_s };
    } };

    explicit Rig(double rate = R, int decimalsIndex = 3, const QString& good = {})
        : settings { {}, {}, 1, rate, static_cast<std::uint8_t>(decimalsIndex) }
    {
        for (const QString& goodText : good.split(u'|')) // before the log starts
            field[E].setText(goodText);
        for (const Field f : { E, F })
            field[f].onChange = [this, f, handling = field[f].onChange] {
                log << u"%1:%2@%3"_s.arg(u"EF"_s.mid(f, 1), text(f)).arg(state().ConversionSource);
                handling();
            };
    }

    QString text(int f) const { return field[f].text(); }
    const AmountConverter::State& state() const { return converter.state(); }
    // Idle, and the last good pair is what the fields show.
    bool settled() const
    {
        return !state().ConversionSource
            && state().LastGoodAmounts == std::array { text(E), text(F) };
    }
    // The field set, the other one, the amount converted, and whether all has settled.
    auto out(Field f) { return std::tuple(text(f), text(!f), state().ConvertedAmount, settled()); }
    std::int16_t key(Field f, std::int16_t code)
    {
        f == E ? converter.TextEuroKeyPress(code) : converter.TextFrancKeyPress(code);
        return code;
    }
};

// An amount set in a field stays as set and shows converted in the other one, with "," whatever
// the C library's and Qt's locales say. At index 0, "0,3" shows "2", although "2" would convert
// back to nothing; index 9, beyond the table, shows four places. A negative rate rounds away from
// zero; the other field's cleaning drops the sign, and a leading separator stays.
class AmountConverterUnderLocale : public ::testing::TestWithParam<const char*> { };

TEST_P(AmountConverterUnderLocale, AmountsConvert)
{
    struct Row {
        const char* name;
        Field f;
        double rate;
        int index;
        QString amount, shown;
        std::int64_t converted;
    };
    // clang-format off
    const Row rows[] = {
        { "ZeroShowsZero", E, R, 3, u"0"_s, u"0"_s, 0 },
        { "WholeResultShowsNoSeparator", F, R, 3, u"6,55957"_s, u"1"_s, 10000 },
        { "CentWithoutPlacesShowsNothingAndEmptiesNothing", E, R, 0, u"0,01"_s, u""_s, 656 },
        { "RoundedAlthoughItConvertsBackToNothing", E, R, 0, u"0,3"_s, u"2"_s, 19679 },
        { "IndexBeyondTheTableShowsFourPlaces", E, R, 9, u"1"_s, u"6,5596"_s, 65596 },
        { "NegativeRateRoundsAwayFromZeroKeepsALeadingSeparator", E, -R, 2, u"0,05"_s, u",33"_s, -3280 },
        { "SixteenDigitsOfFrancs", F, R, 4, u"6000000000000000"_s, u"914694103424462,2336"_s, 9146941034244622336 },
    };
    // clang-format on
    const LocaleSet locale(GetParam());
    if (!locale.installed())
        GTEST_SKIP() << GetParam() << " is not installed here";
    for (const auto& [name, f, rate, index, amount, shown, converted] : rows) {
        Rig rig(rate, index);
        rig.field[f].setText(amount);
        EXPECT_EQ(rig.out(f), std::tuple(amount, shown, converted, true)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, AmountConverterUnderLocale,
    ::testing::Values("C", "en_US.UTF-8", "fr_FR.UTF-8"), [](const auto& info) {
        return QString::fromLatin1(info.param).section(u'.', 0, 0).toStdString();
    });

// Texts set whole, as the field's context menu pastes them, after the `good` texts ("|" between
// them) were set in TextEuro: "1|" leaves both fields empty and "1" in the last good pair, as a
// settings change does. Cleaning that changes the text converts in the nested handling and the
// outer write raises nothing; a leading separator gets a "0" and the nested handling converts,
// and when it fails the outer one shows no second message. A lone separator empties both fields.
// A failure shows one message and restores TextEuro, then TextFranc; restoring converts.
TEST(AmountConverter, WholeTextsFollowTheNestedPatterns)
{
    struct Row {
        const char* name;
        double rate;
        QString good;
        Field f;
        QString text, euro, franc, log;
    };
    // clang-format off
    const Row rows[] = {
        { "FrancsAtAZeroRateOverflow", 0.0, u""_s, F, u"12"_s, u""_s, u""_s, u"! F:@2"_s },
        { "LeadingSeparatorGetsAZero", R, u"1"_s, E, u",5"_s, u"0,5"_s, u"3,28"_s, u"E:,5@0 E:0,5@1 F:3,28@1"_s },
        { "FrancsCleanedTwiceConvertNested", R, u"1"_s, F, u"x.5"_s, u"0,076"_s, u"0,5"_s, u"F:x.5@0 F:,5@0 F:0,5@2 E:0,076@2"_s },
        { "LoneSeparatorEmptiesBoth", R, u"1"_s, F, u","_s, u""_s, u""_s, u"F:,@0 F:@2 E:@2"_s },
        { "NestedOverflowShowsOneMessage", 1e300, u""_s, E, u",5"_s, u""_s, u""_s, u"! E:@1"_s },
        { "FrancsOverflowRestoreAndConvertBack", R, u"007"_s, F, u"12345678901234567"_s, u"7"_s, u"45,917"_s, u"! F:45,917@2 E:7@2"_s },
        { "EurosOverflowAfterASettingsChange", R, u"1|"_s, E, u"12345678901234567"_s, u"1"_s, u"6,56"_s, u"! E:1@1 F:6,56@1"_s },
    };
    // clang-format on
    for (const auto& [name, rate, good, f, text, euro, franc, log] : rows) {
        SCOPED_TRACE(name);
        Rig rig(rate, 3, good);
        rig.field[f].setText(text);
        EXPECT_EQ(
            std::tuple(rig.text(E), rig.text(F), rig.log.join(u' ')), std::tuple(euro, franc, log));
        EXPECT_TRUE(euro.isEmpty() ? !rig.state().ConversionSource : rig.settled());
    }
}

// The keystroke filter sees the field's own text. Ctrl+V (22) replaces the whole field, which
// held `text`, by the cleaned clipboard; Ctrl+C (3) empties the clipboard, then copies the whole
// field into it. Both are dropped so that the field does not paste or copy again.
TEST(AmountConverter, KeyPress)
{
    struct Key {
        const char* name;
        Field f;
        int in;
        QString text, clip;
        int out;
        QString own, clipAfter;
    };
    // clang-format off
    const Key keys[] = {
        { "CommaDroppedWhereTextFrancHasOne", F, ',', u"1,5"_s, u"x"_s, 0, u"1,5"_s, u"x"_s },
        { "CtrlCCopiesTextEuro", E, 3, u"1,5"_s, u"old"_s, 0, u"1,5"_s, u"1,5"_s },
        { "CtrlVPastesTextFrancCleaned", F, 22, u"3"_s, u"-1.234,5 €"_s, 0, u"1,2345"_s, u"-1.234,5 €"_s },
    };
    // clang-format on
    for (const auto& [name, f, in, text, clip, out, own, clipAfter] : keys) {
        SCOPED_TRACE(name);
        Rig rig;
        rig.field[f].setText(text);
        rig.clipboard.setText(clip);
        EXPECT_EQ(rig.key(f, in), out);
        EXPECT_EQ(std::tuple(rig.text(f), rig.clipboard.getText(), rig.clipboard.clears()),
            std::tuple(own, clipAfter, in == 3 ? 1 : 0));
    }
}

// The converter is destroyed before its fields; their later changes must not reach it.
TEST(AmountConverter, UnhooksTheFieldsWhenDestroyed)
{
    MemoryTextField euro, franc;
    std::make_unique<AmountConverter>(euro, franc, SettingsRecord::defaults()).reset();
    euro.setText(u"1"_s);
    EXPECT_EQ(franc.text(), QString());
}

} // namespace
