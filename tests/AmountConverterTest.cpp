#include "conversion/AmountConverter.h"

#include "toolkit/Clipboard.h"
#include "toolkit/MemoryClipboard.h"
#include "toolkit/MemoryTextField.h"
#include "toolkit/MessageBox.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace Qt::StringLiterals;

namespace conversion {
namespace {

    enum Field { E, F };

    // Both amount fields under a converter, with the fake clipboard and message box, and a log of
    // every change handling entered ("E:text@ConversionSource") and every message shown.
    struct Rig {
        SettingsRecord settings = SettingsRecord::defaults();
        toolkit::MemoryTextField euro, franc;
        toolkit::MemoryClipboard clipboard;
        std::vector<toolkit::MessageBox::Request> messages;
        std::vector<QString> log;
        AmountConverter converter { euro, franc, settings };

        explicit Rig(double rate = 6.55957, std::uint8_t decimalsIndex = 3)
        {
            settings.ConversionRate = rate;
            settings.DecimalsIndex = decimalsIndex;
            toolkit::Clipboard::install(&clipboard);
            toolkit::MessageBox::setAnswerer([this](const toolkit::MessageBox::Request& request) {
                messages.push_back(request);
                log.push_back(u"message"_s);
            });
            for (auto* field : { &euro, &franc })
                field->onChange = [this, field, name = field == &euro ? u"E:"_s : u"F:"_s,
                                      handling = field->onChange] {
                    log.push_back(name + field->text() + u'@'
                        + QString::number(converter.state().ConversionSource));
                    handling();
                };
        }
        ~Rig()
        {
            toolkit::Clipboard::install(nullptr);
            toolkit::MessageBox::setAnswerer({});
        }

        toolkit::TextField& own(Field field) { return field == E ? euro : franc; }
        toolkit::TextField& other(Field field) { return field == E ? franc : euro; }
        std::int16_t key(Field field, int typed)
        {
            auto code = static_cast<std::int16_t>(typed);
            field == E ? converter.TextEuroKeyPress(code) : converter.TextFrancKeyPress(code);
            return code;
        }
        // Types at the end of the field what its keystroke filter lets through.
        void type(Field field, const QString& keys)
        {
            for (const QChar typed : keys) {
                const std::int16_t code = key(field, typed.unicode());
                const QString text = own(field).text();
                if (code == 8)
                    own(field).setText(text.left(text.size() - 1));
                else if (code != 0)
                    own(field).setText(text + QChar(code));
            }
        }
        bool pairSaved() const
        {
            return converter.state().LastGoodAmounts == std::array { euro.text(), franc.text() };
        }
    };

    struct Conversion {
        Field field;
        double rate;
        std::uint8_t decimalsIndex;
        QString typed;
        QString shown;
        std::int64_t converted;
    };

    void checkTyped(const Conversion& row)
    {
        SCOPED_TRACE(row.typed.toStdString() + " at index " + std::to_string(row.decimalsIndex));
        Rig rig(row.rate, row.decimalsIndex);
        rig.type(row.field, row.typed);
        EXPECT_EQ(rig.own(row.field).text(), row.typed) << "the field typed in stays as typed";
        EXPECT_EQ(rig.other(row.field).text(), row.shown);
        EXPECT_EQ(rig.converter.state().ConvertedAmount, row.converted);
        EXPECT_EQ(rig.converter.state().ConversionSource, 0);
        EXPECT_TRUE(rig.pairSaved());
        EXPECT_TRUE(rig.messages.empty());
    }

    TEST(AmountConverter, TypedAmountsConvert)
    {
        constexpr double Rate = 6.55957;
        const Conversion rows[] = {
            { E, Rate, 3, u"1"_s, u"6,56"_s, 65596 },
            { E, Rate, 4, u"1"_s, u"6,5596"_s, 65596 },
            { E, Rate, 0, u"1"_s, u"7"_s, 65596 },
            { E, Rate, 2, u"12"_s, u"78,71"_s, 787148 },
            { E, Rate, 3, u"12,"_s, u"78,715"_s, 787148 },
            { E, Rate, 2, u"0,5"_s, u"3,28"_s, 32798 },
            { E, Rate, 3, u"007"_s, u"45,917"_s, 459170 },
            { E, Rate, 3, u"0"_s, u"0"_s, 0 },
            { E, Rate, 0, u"0"_s, u""_s, 0 },
            { E, Rate, 0, u"0,01"_s, u""_s, 656 },
            { E, Rate, 2, u"0,01"_s, u"0,07"_s, 656 },
            { E, Rate, 1, u"1000"_s, u"6559,6"_s, 65595700 },
            { E, Rate, 0, u"0,3"_s, u"2"_s, 19679 }, // 2 would convert back to nothing
            { E, Rate, 9, u"1"_s, u"6,5596"_s, 65596 }, // beyond the table: four places
            { F, Rate, 3, u"100"_s, u"15,245"_s, 152449 },
            { F, Rate, 4, u"100"_s, u"15,2449"_s, 152449 },
            { F, Rate, 3, u"6,55957"_s, u"1"_s, 10000 },
            { F, Rate, 3, u"0,5"_s, u"0,076"_s, 762 },
            { F, Rate, 4, u"6000000000000000"_s, u"914694103424462,2336"_s, 9146941034244622336 },
            { E, 0.0, 3, u"12"_s, u"0"_s, 0 },
            { E, 0.0, 0, u"12"_s, u""_s, 0 },
            // A negative rate: the other field's cleaning drops the sign, and a leading
            // separator stays there.
            { E, -Rate, 3, u"1"_s, u"6,56"_s, -65596 },
            { E, -Rate, 3, u"0,05"_s, u",328"_s, -3280 },
            { E, -Rate, 0, u"0,01"_s, u""_s, -656 },
        };
        for (const auto& row : rows)
            checkTyped(row);
    }

    // Amounts use "," whatever the C library's and Qt's locales say.
    TEST(AmountConverter, ConvertsTheSameUnderEveryLocale)
    {
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        for (const auto& [cName, language] : { std::pair { "C", QLocale::C },
                 std::pair { "C", QLocale::French }, std::pair { "en_US.UTF-8", QLocale::English },
                 std::pair { "fr_FR.UTF-8", QLocale::French } }) {
            if (!std::setlocale(LC_ALL, cName))
                continue; // not installed here
            QLocale::setDefault(QLocale(language));
            checkTyped({ E, 6.55957, 2, u"0,5"_s, u"3,28"_s, 32798 });
            checkTyped({ F, 6.55957, 4, u"100,"_s, u"15,2449"_s, 152449 });
        }
        std::setlocale(LC_ALL, previous.c_str());
        QLocale::setDefault(QLocale::c());
    }

    // Texts set whole, as the field's context menu would paste them, after "1" was typed in the
    // same field.
    TEST(AmountConverter, WholeTextsFollowTheNestedPatterns)
    {
        const struct {
            Field field;
            QString text, euro, franc;
            std::vector<QString> log;
        } rows[] = {
            // Cleaning changes the text: the nested handling converts, then the outer converts
            // again and its write raises nothing.
            { E, u"1.234,56"_s, u"1,23456"_s, u"8,098"_s,
                { u"E:1.234,56@0"_s, u"E:1,23456@0"_s, u"F:8,098@1"_s } },
            { F, u"-12 500 F"_s, u"1905,613"_s, u"12500"_s,
                { u"F:-12 500 F@0"_s, u"F:12500@0"_s, u"E:1905,613@2"_s } },
            // A leading separator gets a "0"; the nested handling converts.
            { E, u",5"_s, u"0,5"_s, u"3,28"_s, { u"E:,5@0"_s, u"E:0,5@1"_s, u"F:3,28@1"_s } },
            { F, u"x.5"_s, u"0,076"_s, u"0,5"_s,
                { u"F:x.5@0"_s, u"F:,5@0"_s, u"F:0,5@2"_s, u"E:0,076@2"_s } },
            // Emptied, or a lone separator: both fields empty, the last good pair stays.
            { E, u""_s, u""_s, u""_s, { u"E:@0"_s, u"F:@1"_s } },
            { F, u","_s, u""_s, u""_s, { u"F:,@0"_s, u"F:@2"_s, u"E:@2"_s } },
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.text.toStdString());
            Rig rig;
            rig.type(row.field, u"1"_s);
            const auto before = rig.converter.state().LastGoodAmounts;
            rig.log.clear();
            rig.own(row.field).setText(row.text);
            EXPECT_EQ(rig.euro.text(), row.euro);
            EXPECT_EQ(rig.franc.text(), row.franc);
            EXPECT_EQ(rig.log, row.log);
            EXPECT_EQ(rig.converter.state().ConversionSource, 0);
            EXPECT_TRUE(row.euro.isEmpty() ? rig.converter.state().LastGoodAmounts == before
                                           : rig.pairSaved());
        }
    }

    TEST(AmountConverter, RecoveryRestoresTextEuroThenTextFranc)
    {
        const QString tooBig = u"12345678901234567"_s;
        const struct {
            const char* name;
            double rate;
            QString good; // typed into TextEuro first, unless empty
            bool emptied; // both fields then emptied, as a settings change does
            Field field;
            QString text, euro, franc;
            std::vector<QString> logAfterMessage;
        } rows[] = {
            { "E, nothing converted yet", 6.55957, u""_s, false, E, tooBig, u""_s, u""_s,
                { u"E:@1"_s } },
            { "F, nothing converted yet", 6.55957, u""_s, false, F, tooBig, u""_s, u""_s,
                { u"F:@2"_s } },
            { "E after 007", 6.55957, u"007"_s, false, E, tooBig, u"007"_s, u"45,917"_s,
                { u"E:007@1"_s } },
            // The restored TextFranc converts, and TextEuro follows it.
            { "F after 007", 6.55957, u"007"_s, false, F, tooBig, u"7"_s, u"45,917"_s,
                { u"F:45,917@2"_s, u"E:7@2"_s } },
            // TextEuro first: from E it converts and so restores F; from F it only cleans.
            { "E after a settings change", 6.55957, u"1"_s, true, E, tooBig, u"1"_s, u"6,56"_s,
                { u"E:1@1"_s, u"F:6,56@1"_s } },
            { "F after a settings change", 6.55957, u"1"_s, true, F, tooBig, u"1"_s, u"6,56"_s,
                { u"E:1@2"_s, u"F:6,56@2"_s } },
            { "F at a rate of 0", 0.0, u""_s, false, F, u"12"_s, u""_s, u""_s, { u"F:@2"_s } },
            { "0 in F at a rate of 0", 0.0, u""_s, false, F, u"0"_s, u""_s, u""_s, { u"F:@2"_s } },
            { "beyond the double range", 1e-300, u""_s, false, E, u'1' + QString(309, u'0'), u""_s,
                u""_s, { u"E:@1"_s } },
            // The nested handling of a leading separator fails: one message, not two.
            { "leading separator", 1e300, u""_s, false, E, u",5"_s, u""_s, u""_s, { u"E:@1"_s } },
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            Rig rig(row.rate);
            rig.type(E, row.good);
            if (row.emptied) {
                rig.euro.setText(QString());
                rig.franc.setText(QString());
            }
            rig.log.clear();
            rig.own(row.field).setText(row.text);

            ASSERT_EQ(rig.messages.size(), 1u);
            EXPECT_EQ(rig.messages[0].text, u"Dépassement du nombre de\ncaractères maximum."_s);
            EXPECT_EQ(rig.messages[0].title, u"Erreur !"_s);
            EXPECT_EQ(rig.messages[0].style, 64);
            EXPECT_EQ(rig.euro.text(), row.euro);
            EXPECT_EQ(rig.franc.text(), row.franc);
            const auto shown = std::find(rig.log.begin(), rig.log.end(), u"message"_s);
            EXPECT_EQ(std::vector(shown + 1, rig.log.end()), row.logAfterMessage);
            EXPECT_EQ(rig.converter.state().ConversionSource, 0);
        }
    }

    TEST(AmountConverter, KeystrokeRule)
    {
        const struct {
            int in;
            QString text; // the field's text
            int out;
        } rows[] = {
            { '0', u""_s, '0' },
            { '9', u"1,5"_s, '9' },
            { 46, u"12"_s, 44 },
            { 46, u"1,2"_s, 0 },
            { 44, u""_s, 44 },
            { 44, u"0,"_s, 0 }, // the whole text counts, whatever the selection
            { 8, u"12"_s, 8 },
            { 8, u""_s, 8 },
            { 13, u"12"_s, 0 },
            { 24, u"12"_s, 0 },
            { 26, u"12"_s, 0 },
            { 1, u"12"_s, 0 },
            { 128, u"12"_s, 0 },
            { '-', u"12"_s, 0 },
            { ' ', u"12"_s, 0 },
            { 'e', u"12"_s, 0 },
            { -1, u"12"_s, 0 },
            { 0x3030, u"12"_s, 0 },
        };
        for (const Field field : { E, F }) {
            for (const auto& row : rows) {
                SCOPED_TRACE(testing::Message() << row.in << " on " << row.text.toStdString());
                Rig rig;
                rig.own(field).setText(row.text);
                const QString other = rig.other(field).text();
                EXPECT_EQ(rig.key(field, row.in), row.out);
                EXPECT_EQ(rig.own(field).text(), row.text);
                EXPECT_EQ(rig.other(field).text(), other);
                EXPECT_EQ(rig.clipboard.clears(), 0);
            }
        }
    }

    // Ctrl+V (22) pastes the cleaned clipboard over the whole field, Ctrl+C (3) copies it whole.
    TEST(AmountConverter, ClipboardKeys)
    {
        const struct {
            Field field;
            int code;
            QString before, clipboard, own, other, clipboardAfter;
        } rows[] = {
            { E, 22, u"3"_s, u"12,50"_s, u"12,50"_s, u"81,995"_s, u"12,50"_s },
            { F, 22, u"3"_s, u"12,50"_s, u"12,50"_s, u"1,906"_s, u"12,50"_s },
            { E, 22, u"3"_s, u"1.234,56"_s, u"1,23456"_s, u"8,098"_s, u"1.234,56"_s },
            { E, 22, u"3"_s, u"-12 345 €"_s, u"12345"_s, u"80977,892"_s, u"-12 345 €"_s },
            { E, 22, u"3"_s, u",5"_s, u"0,5"_s, u"3,28"_s, u",5"_s },
            { F, 22, u"3"_s, u"abc"_s, u""_s, u""_s, u"abc"_s },
            { E, 22, u"3"_s, u""_s, u""_s, u""_s, u""_s }, // nothing, or nothing readable
            { E, 3, u"1,5"_s, u"old"_s, u"1,5"_s, u"9,839"_s, u"1,5"_s },
            { F, 3, u"1,5"_s, u"old"_s, u"1,5"_s, u"0,229"_s, u"1,5"_s },
            { E, 3, u""_s, u"old"_s, u""_s, u""_s, u""_s },
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.clipboard.toStdString());
            Rig rig;
            rig.type(row.field, row.before);
            rig.clipboard.setText(row.clipboard);
            EXPECT_EQ(rig.key(row.field, row.code), 0);
            EXPECT_EQ(rig.own(row.field).text(), row.own);
            EXPECT_EQ(rig.other(row.field).text(), row.other);
            EXPECT_EQ(rig.clipboard.getText(), row.clipboardAfter);
            EXPECT_EQ(rig.clipboard.clears(), row.code == 3 ? 1 : 0);
        }
    }

    TEST(AmountConverter, PasteOfTheSameTextAndIntoTheOtherField)
    {
        Rig rig;
        rig.type(E, u"12,50"_s);
        rig.clipboard.setText(u"12.50"_s);
        rig.log.clear();
        AmountConverter::PasteAmount(rig.euro);
        EXPECT_TRUE(rig.log.empty()) << "the same text converts nothing";

        AmountConverter::CopyAmount(rig.euro);
        AmountConverter::PasteAmount(rig.franc);
        EXPECT_EQ(rig.franc.text(), u"12,50"_s);
        EXPECT_EQ(rig.euro.text(), u"1,906"_s);
    }

    TEST(AmountConverter, UnhooksTheFieldsWhenDestroyed)
    {
        const SettingsRecord settings = SettingsRecord::defaults();
        toolkit::MemoryTextField euro, franc;
        std::make_unique<AmountConverter>(euro, franc, settings).reset();
        euro.setText(u"1"_s);
        franc.setText(u"2"_s);
        EXPECT_EQ(euro.text(), u"1"_s);
        EXPECT_EQ(franc.text(), u"2"_s);
    }

} // namespace
} // namespace conversion
