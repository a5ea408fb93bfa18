#include "conversion/AmountConverter.h"

#include "toolkit/Clipboard.h"
#include "toolkit/MemoryClipboard.h"
#include "toolkit/MemoryTextField.h"
#include "toolkit/MessageBox.h"

#include <QLocale>
#include <QStringList>
#include <array>
#include <clocale>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

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

    explicit Rig(double rate = R, int decimalsIndex = 3, const QString& good = {})
        : settings { {}, {}, 1, rate, static_cast<std::uint8_t>(decimalsIndex) }
    {
        for (const QString& goodText : good.split(u'|')) // before the log starts
            field[E].setText(goodText);
        Clipboard::install(&clipboard);
        MessageBox::setAnswerer([this](const MessageBox::Request& m) {
            EXPECT_EQ(m.title + u'|' + m.text + u'|' + QString::number(m.style),
                u"Erreur !|Dépassement du nombre de\ncaractères maximum.|64"_s);
            log = QStringList { u"!"_s };
        });
        for (const Field f : { E, F })
            field[f].onChange = [this, f, handling = field[f].onChange] {
                log << u"%1:%2@%3"_s.arg(u"EF"_s.mid(f, 1), text(f)).arg(state().ConversionSource);
                handling();
            };
    }
    ~Rig() { Clipboard::install(nullptr), MessageBox::setAnswerer({}); }

    QString text(int f) const { return field[f].text(); }
    const AmountConverter::State& state() const { return converter.state(); }
    // Idle, and the last good pair is what the fields show.
    bool settled() const { return !state().ConversionSource && state().LastGoodAmounts == pair(); }
    std::array<QString, 2> pair() const { return { text(E), text(F) }; }
    // The field set, the other one, the amount converted, and whether all has settled.
    auto out(Field f) { return std::tuple(text(f), text(!f), state().ConvertedAmount, settled()); }
    static constexpr void (AmountConverter::*keyPress[])(std::int16_t&)
        = { &AmountConverter::TextEuroKeyPress, &AmountConverter::TextFrancKeyPress };
    std::int16_t key(Field f, std::int16_t code) { return (converter.*keyPress[f])(code), code; }
};

// An amount set in a field stays as set and shows converted in the other one, with ","
// whatever the C library's and Qt's locales say. At index 0, "0,3" shows "2", although "2" would
// convert back to nothing; index 9, beyond the table, shows four places. A negative rate: the
// other field's cleaning drops the sign, and a leading separator stays.
TEST(AmountConverter, AmountsConvertUnderEveryLocale)
{
    using Row = std::tuple<Field, double, int, QString, QString, std::int64_t>;
    const Row rows[] = { { E, R, 3, u"1"_s, u"6,56"_s, 65596 },
        { E, R, 4, u"1"_s, u"6,5596"_s, 65596 }, { E, R, 0, u"1"_s, u"7"_s, 65596 },
        { E, R, 9, u"1"_s, u"6,5596"_s, 65596 }, { E, R, 2, u"12"_s, u"78,71"_s, 787148 },
        { E, R, 3, u"12,"_s, u"78,715"_s, 787148 }, { E, R, 2, u"0,5"_s, u"3,28"_s, 32798 },
        { E, R, 3, u"007"_s, u"45,917"_s, 459170 }, { E, R, 3, u"0"_s, u"0"_s, 0 },
        { E, R, 0, u"0"_s, u""_s, 0 }, { E, R, 0, u"0,01"_s, u""_s, 656 },
        { E, R, 2, u"0,01"_s, u"0,07"_s, 656 }, { E, R, 1, u"1000"_s, u"6559,6"_s, 65595700 },
        { E, R, 0, u"0,3"_s, u"2"_s, 19679 }, { F, R, 3, u"100"_s, u"15,245"_s, 152449 },
        { F, R, 4, u"100"_s, u"15,2449"_s, 152449 }, { F, R, 3, u"6,55957"_s, u"1"_s, 10000 },
        { F, R, 3, u"0,5"_s, u"0,076"_s, 762 }, { E, 0.0, 3, u"12"_s, u"0"_s, 0 },
        { E, 0.0, 0, u"12"_s, u""_s, 0 }, { E, -R, 3, u"1"_s, u"6,56"_s, -65596 },
        { E, -R, 3, u"0,05"_s, u",328"_s, -3280 }, { E, -R, 0, u"0,01"_s, u""_s, -656 },
        { F, R, 4, u"6000000000000000"_s, u"914694103424462,2336"_s, 9146941034244622336 } };
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char* name : { "C", "en_US.UTF-8", "fr_FR.UTF-8" })
        for (const auto& [f, rate, index, amount, shown, converted] : rows) {
            if (!std::setlocale(LC_ALL, name))
                break; // not installed here
            QLocale::setDefault(QLocale(QString::fromLatin1(name)));
            Rig rig(rate, index);
            rig.field[f].setText(amount);
            EXPECT_EQ(rig.out(f), std::tuple(amount, shown, converted, true)) << name << index;
        }
    std::setlocale(LC_ALL, previous.c_str());
    QLocale::setDefault(QLocale::c());
}

// Texts set whole, as the field's context menu pastes them, after the `good` texts ("|" between
// them) were set in TextEuro: "1|" leaves both fields empty and "1" in the last good pair, as a
// settings change does. Cleaning that changes the text converts in the nested handling and the
// outer write raises nothing; a leading separator gets a "0" and the nested handling converts. A
// lone separator empties both fields. A failure shows one message and restores TextEuro, then
// TextFranc; restoring a field converts it unless the other one is converting.
TEST(AmountConverter, WholeTextsFollowTheNestedPatterns)
{
    using Row = std::tuple<double, QString, Field, QString, QString, QString, QString>;
    const Row rows[] = { { 0.0, u""_s, F, u"12"_s, u""_s, u""_s, u"! F:@2"_s },
        { R, u"1"_s, E, u"1.5"_s, u"1,5"_s, u"9,839"_s, u"E:1.5@0 E:1,5@0 F:9,839@1"_s },
        { R, u"1"_s, E, u",5"_s, u"0,5"_s, u"3,28"_s, u"E:,5@0 E:0,5@1 F:3,28@1"_s },
        { R, u"1"_s, F, u"x.5"_s, u"0,076"_s, u"0,5"_s, u"F:x.5@0 F:,5@0 F:0,5@2 E:0,076@2"_s },
        { R, u"1"_s, F, u","_s, u""_s, u""_s, u"F:,@0 F:@2 E:@2"_s },
        { R, u""_s, E, u"12345678901234567"_s, u""_s, u""_s, u"! E:@1"_s },
        { R, u""_s, F, u"12345678901234567"_s, u""_s, u""_s, u"! F:@2"_s },
        { R, u"007"_s, E, u"12345678901234567"_s, u"007"_s, u"45,917"_s, u"! E:007@1"_s },
        { R, u"007"_s, F, u"12345678901234567"_s, u"7"_s, u"45,917"_s, u"! F:45,917@2 E:7@2"_s },
        { R, u"1|"_s, E, u"12345678901234567"_s, u"1"_s, u"6,56"_s, u"! E:1@1 F:6,56@1"_s },
        { R, u"1|"_s, F, u"12345678901234567"_s, u"1"_s, u"6,56"_s, u"! E:1@2 F:6,56@2"_s },
        { 1e300, u""_s, E, u",5"_s, u""_s, u""_s, u"! E:@1"_s } };
    for (const auto& [rate, good, f, text, euro, franc, log] : rows) {
        Rig rig(rate, 3, good);
        rig.field[f].setText(text);
        EXPECT_EQ(std::tuple(text, rig.text(E), rig.text(F), rig.log.join(u' ')),
            std::tuple(text, euro, franc, log));
        EXPECT_TRUE(euro.isEmpty() ? !rig.state().ConversionSource : rig.settled());
    }
}

// The keystroke filters: only digits, one "," ("." becoming one) and Backspace pass, whatever the
// selection, so a "," typed over the only "," is dropped too; they touch neither field nor the
// clipboard. Ctrl+V (22) pastes the cleaned clipboard, `text`, over the whole field, which held
// "3"; Ctrl+C (3) copies the whole field, which held `text`, and leaves it as it was.
TEST(AmountConverter, KeyPress)
{
    const std::tuple<int, QString, int> keys[] = { { '0', u""_s, '0' }, { '9', u"1,5"_s, '9' },
        { 46, u"12"_s, 44 }, { 46, u"1,2"_s, 0 }, { 44, u""_s, 44 }, { 44, u"0,"_s, 0 },
        { 8, u"12"_s, 8 }, { 8, u""_s, 8 }, { 13, u"12"_s, 0 }, { 24, u"12"_s, 0 },
        { 26, u"12"_s, 0 }, { 1, u"12"_s, 0 }, { 128, u"12"_s, 0 }, { '-', u"12"_s, 0 },
        { ' ', u"12"_s, 0 }, { 'e', u"12"_s, 0 }, { -1, u"12"_s, 0 }, { 0x3030, u"12"_s, 0 } };
    for (const Field f : { E, F })
        for (const auto& [in, text, out] : keys) {
            Rig rig;
            rig.field[f].setText(text);
            EXPECT_EQ(rig.key(f, in), out) << in;
            EXPECT_EQ(std::pair(rig.text(f), rig.clipboard.clears()), std::pair(text, 0)) << in;
        }
    using Clip = std::tuple<Field, int, QString, QString, QString>;
    const Clip clips[] = { { E, 3, u""_s, u""_s, u""_s }, { E, 3, u"1,5"_s, u"1,5"_s, u"9,839"_s },
        { E, 22, u"12,50"_s, u"12,50"_s, u"81,995"_s }, { E, 22, u",5"_s, u"0,5"_s, u"3,28"_s },
        { F, 22, u"12,50"_s, u"12,50"_s, u"1,906"_s }, { F, 22, u"abc"_s, u""_s, u""_s },
        { E, 22, u"-12 345 €"_s, u"12345"_s, u"80977,892"_s }, { E, 22, u""_s, u""_s, u""_s },
        { E, 22, u"1.234,56"_s, u"1,23456"_s, u"8,098"_s } };
    for (const auto& [f, code, text, own, other] : clips) {
        Rig rig;
        rig.field[f].setText(code == 3 ? text : u"3"_s);
        rig.clipboard.setText(code == 3 ? u"old"_s : text);
        EXPECT_EQ(rig.key(f, code), 0);
        EXPECT_EQ(
            std::tuple(rig.text(f), rig.text(!f), rig.clipboard.getText(), rig.clipboard.clears()),
            std::tuple(own, other, text, code == 3 ? 1 : 0));
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
