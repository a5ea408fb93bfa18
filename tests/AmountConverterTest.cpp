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

    enum class Field { Euro, Franc };

    const QString OverflowText = u"Dépassement du nombre de\ncaractères maximum."_s;

    // Both amount fields with a converter on them, the fake clipboard and message box installed,
    // and a log of every change handling entered ("E:text@source") and every message ("message").
    struct Rig {
        SettingsRecord settings = SettingsRecord::defaults();
        toolkit::MemoryTextField euro;
        toolkit::MemoryTextField franc;
        toolkit::MemoryClipboard clipboard;
        std::vector<toolkit::MessageBox::Request> messages;
        std::vector<QString> log;
        AmountConverter converter { euro, franc, settings };

        Rig()
        {
            toolkit::Clipboard::install(&clipboard);
            toolkit::MessageBox::setAnswerer([this](const toolkit::MessageBox::Request& request) {
                messages.push_back(request);
                log.push_back(u"message"_s);
            });
            spy(euro, u"E:"_s);
            spy(franc, u"F:"_s);
        }
        ~Rig()
        {
            toolkit::Clipboard::install(nullptr);
            toolkit::MessageBox::setAnswerer({});
        }
        Rig(const Rig&) = delete;
        Rig& operator=(const Rig&) = delete;

        void spy(toolkit::TextField& field, const QString& name)
        {
            field.onChange = [this, &field, name, handling = field.onChange] {
                log.push_back(name + field.text() + u'@'
                    + QString::number(converter.state().ConversionSource));
                handling();
            };
        }

        toolkit::TextField& own(Field which) { return which == Field::Euro ? euro : franc; }
        toolkit::TextField& other(Field which) { return which == Field::Euro ? franc : euro; }

        void keyPress(Field which, std::int16_t& code)
        {
            if (which == Field::Euro)
                converter.TextEuroKeyPress(code);
            else
                converter.TextFrancKeyPress(code);
        }

        // Types the characters one by one at the end of the field, as a text box would insert
        // what its keystroke filter lets through.
        void type(Field which, const QString& keys)
        {
            for (const QChar key : keys) {
                auto code = static_cast<std::int16_t>(key.unicode());
                keyPress(which, code);
                toolkit::TextField& field = own(which);
                if (code == 8)
                    field.setText(field.text().chopped(field.text().isEmpty() ? 0 : 1));
                else if (code != 0)
                    field.setText(field.text() + QChar(code));
            }
        }

        std::int64_t changesOf(const QString& name) const
        {
            return std::count_if(log.begin(), log.end(),
                [&](const QString& entry) { return entry.startsWith(name); });
        }
    };

    struct ConversionRow {
        std::uint8_t decimalsIndex;
        QString typed;
        QString shown;
        std::int64_t converted;
    };

    void checkTyped(Field which, const ConversionRow& row)
    {
        SCOPED_TRACE(testing::Message()
            << row.typed.toStdString() << " at index " << int(row.decimalsIndex));
        Rig rig;
        rig.settings.DecimalsIndex = row.decimalsIndex;
        rig.type(which, row.typed);
        EXPECT_EQ(rig.own(which).text(), row.typed) << "the field typed in is never rewritten";
        EXPECT_EQ(rig.other(which).text(), row.shown);
        EXPECT_EQ(rig.converter.state().ConvertedAmount, row.converted);
        EXPECT_EQ(rig.converter.state().ConversionSource, 0);
        EXPECT_EQ(rig.converter.state().LastGoodAmounts[0], rig.euro.text());
        EXPECT_EQ(rig.converter.state().LastGoodAmounts[1], rig.franc.text());
        EXPECT_TRUE(rig.messages.empty());
    }

    TEST(AmountConverter, TypingIntoTextEuroConvertsAtTheDefaultRate)
    {
        const ConversionRow rows[] = {
            { 3, u"1"_s, u"6,56"_s, 65596 }, { 4, u"1"_s, u"6,5596"_s, 65596 },
            { 0, u"1"_s, u"7"_s, 65596 }, { 2, u"12"_s, u"78,71"_s, 787148 },
            { 3, u"12,"_s, u"78,715"_s, 787148 }, { 2, u"0,5"_s, u"3,28"_s, 32798 },
            { 3, u"007"_s, u"45,917"_s, 459170 }, { 3, u"0"_s, u"0"_s, 0 }, { 0, u"0"_s, u""_s, 0 },
            { 0, u"0,01"_s, u""_s, 656 }, { 2, u"0,01"_s, u"0,07"_s, 656 },
            { 1, u"1000"_s, u"6559,6"_s, 65595700 },
            { 0, u"0,3"_s, u"2"_s, 19679 }, // 2 would convert back to nothing: it never does
            { 3, u"12345"_s, u"80977,892"_s, 809778916 },
            { 4, u"14000000000000"_s, u"91833980000000"_s, 918339800000000000 },
            { 9, u"1"_s, u"6,5596"_s, 65596 }, // an index beyond the table shows four places
        };
        for (const auto& row : rows)
            checkTyped(Field::Euro, row);
    }

    TEST(AmountConverter, TypingIntoTextFrancConvertsAtTheDefaultRate)
    {
        const ConversionRow rows[] = {
            { 3, u"100"_s, u"15,245"_s, 152449 },
            { 4, u"100"_s, u"15,2449"_s, 152449 },
            { 3, u"6,55957"_s, u"1"_s, 10000 },
            { 3, u"0,5"_s, u"0,076"_s, 762 },
            { 3, u"12,50"_s, u"1,906"_s, 19056 },
            { 0, u"0,5"_s, u""_s, 762 },
            { 4, u"6000000000000000"_s, u"914694103424462,2336"_s, 9146941034244622336 },
        };
        for (const auto& row : rows)
            checkTyped(Field::Franc, row);
    }

    // Amounts use "," whatever the C library's and Qt's locales say.
    TEST(AmountConverter, ConvertsTheSameUnderEveryLocale)
    {
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        const std::pair<const char*, QLocale::Language> locales[] = {
            { "C", QLocale::C },
            { "C", QLocale::French },
            { "en_US.UTF-8", QLocale::English },
            { "fr_FR.UTF-8", QLocale::French },
        };
        for (const auto& [cName, language] : locales) {
            if (!std::setlocale(LC_ALL, cName))
                continue; // not installed here
            QLocale::setDefault(QLocale(language));
            checkTyped(Field::Euro, { 2, u"0,5"_s, u"3,28"_s, 32798 });
            checkTyped(Field::Franc, { 4, u"100,"_s, u"15,2449"_s, 152449 });
        }
        std::setlocale(LC_ALL, previous.c_str());
        QLocale::setDefault(QLocale::c());
    }

    TEST(AmountConverter, EmptyingOrALoneSeparatorEmptiesBothAndKeepsTheLastGoodPair)
    {
        const struct {
            Field field;
            QString keys; // typed after "1" has converted
        } rows[] = {
            { Field::Euro, u"\b"_s },
            { Field::Franc, u"\b"_s },
            { Field::Euro, u","_s }, // "1," first, then a lone "," is set below
            { Field::Franc, u","_s },
        };
        for (const auto& row : rows) {
            Rig rig;
            rig.type(row.field, u"1"_s);
            const auto goodPair = rig.converter.state().LastGoodAmounts;
            if (row.keys == u"\b"_s)
                rig.type(row.field, row.keys);
            else
                rig.own(row.field).setText(u","_s);
            EXPECT_EQ(rig.euro.text(), u""_s);
            EXPECT_EQ(rig.franc.text(), u""_s);
            EXPECT_EQ(rig.converter.state().LastGoodAmounts, goodPair);
            EXPECT_EQ(rig.converter.state().ConversionSource, 0);
        }
        // A "," typed into an empty field passes and empties it again.
        Rig rig;
        rig.type(Field::Euro, u","_s);
        EXPECT_EQ(rig.euro.text(), u""_s);
        EXPECT_EQ(rig.franc.text(), u""_s);
    }

    // Texts set as a whole, as the field's own context menu would paste them: the log shows
    // every change handling entered, with the text it found and ConversionSource on entry.
    TEST(AmountConverter, NestedChangesFollowTheirPatterns)
    {
        const struct {
            const char* name;
            Field field;
            QString text;
            QString euro;
            QString franc;
            std::vector<QString> log;
        } rows[] = {
            { "text that cleaning changes converts twice; the second write raises nothing",
                Field::Euro, u"1.234,56"_s, u"1,23456"_s, u"8,098"_s,
                { u"E:1.234,56@0"_s, u"E:1,23456@0"_s, u"F:8,098@1"_s } },
            { "the same from the other field", Field::Franc, u"-12 500 F"_s, u"1905,613"_s,
                u"12500"_s, { u"F:-12 500 F@0"_s, u"F:12500@0"_s, u"E:1905,613@2"_s } },
            { "a leading separator gets a 0 and converts in the nested handling", Field::Euro,
                u",5"_s, u"0,5"_s, u"3,28"_s, { u"E:,5@0"_s, u"E:0,5@1"_s, u"F:3,28@1"_s } },
            { "a leading separator, other field", Field::Franc, u",5"_s, u"0,076"_s, u"0,5"_s,
                { u"F:,5@0"_s, u"F:0,5@2"_s, u"E:0,076@2"_s } },
            { "a dirty leading separator", Field::Euro, u"x.5"_s, u"0,5"_s, u"3,28"_s,
                { u"E:x.5@0"_s, u"E:,5@0"_s, u"E:0,5@1"_s, u"F:3,28@1"_s } },
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            Rig rig;
            rig.own(row.field).setText(row.text);
            EXPECT_EQ(rig.euro.text(), row.euro);
            EXPECT_EQ(rig.franc.text(), row.franc);
            EXPECT_EQ(rig.log, row.log);
            EXPECT_EQ(rig.converter.state().ConversionSource, 0);
            EXPECT_EQ(rig.converter.state().LastGoodAmounts[0], row.euro);
            EXPECT_EQ(rig.converter.state().LastGoodAmounts[1], row.franc);
            EXPECT_TRUE(rig.messages.empty());
        }
    }

    TEST(AmountConverter, RecoveryShowsTheMessageAndRestoresTextEuroFirst)
    {
        const QString tooBigEuro = u"1234567890123456"_s; // sixteen digits
        const QString tooBigFranc = u"12345678901234567"_s;
        const struct {
            const char* name;
            double rate;
            QString goodEuro; // typed first, when not empty
            bool emptyBoth; // then both fields emptied, as a settings change does
            Field field;
            QString text;
            QString euro;
            QString franc;
            std::vector<QString> logAfterMessage;
        } rows[] = {
            { "TextEuro before any conversion", 6.55957, u""_s, false, Field::Euro, tooBigEuro,
                u""_s, u""_s, { u"E:@1"_s } },
            { "TextFranc before any conversion", 6.55957, u""_s, false, Field::Franc, tooBigFranc,
                u""_s, u""_s, { u"F:@2"_s } },
            { "TextEuro after a conversion", 6.55957, u"007"_s, false, Field::Euro, tooBigEuro,
                u"007"_s, u"45,917"_s, { u"E:007@1"_s } },
            // The restored TextFranc converts, the restored TextEuro follows it.
            { "TextFranc after a conversion", 6.55957, u"007"_s, false, Field::Franc, tooBigFranc,
                u"7"_s, u"45,917"_s, { u"F:45,917@2"_s, u"E:7@2"_s } },
            // With both emptied the order shows: TextEuro restored first. From TextEuro it
            // converts, and its write restores TextFranc; from TextFranc it only cleans.
            { "TextEuro after a settings change", 6.55957, u"1"_s, true, Field::Euro, tooBigEuro,
                u"1"_s, u"6,56"_s, { u"E:1@1"_s, u"F:6,56@1"_s } },
            { "TextFranc after a settings change", 6.55957, u"1"_s, true, Field::Franc, tooBigFranc,
                u"1"_s, u"6,56"_s, { u"E:1@2"_s, u"F:6,56@2"_s } },
            // Dividing by a rate of 0.
            { "TextFranc at a rate of 0", 0.0, u""_s, false, Field::Franc, u"12"_s, u""_s, u""_s,
                { u"F:@2"_s } },
            { "0 in TextFranc at a rate of 0", 0.0, u""_s, false, Field::Franc, u"0"_s, u""_s,
                u""_s, { u"F:@2"_s } },
            // A value beyond the double range cannot be read.
            { "beyond the double range", 1e-300, u""_s, false, Field::Euro,
                u"1"_s + QString(309, u'0'), u""_s, u""_s, { u"E:@1"_s } },
            // The nested handling of a leading separator fails: one message, not two.
            { "leading separator", 1e300, u""_s, false, Field::Euro, u",5"_s, u""_s, u""_s,
                { u"E:@1"_s } },
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            Rig rig;
            rig.settings.ConversionRate = row.rate;
            if (!row.goodEuro.isEmpty())
                rig.type(Field::Euro, row.goodEuro);
            const auto goodPair = rig.converter.state().LastGoodAmounts;
            if (row.emptyBoth) {
                rig.euro.setText(QString());
                rig.franc.setText(QString());
                EXPECT_EQ(rig.converter.state().LastGoodAmounts, goodPair);
            }
            rig.log.clear();
            rig.own(row.field).setText(row.text);

            ASSERT_EQ(rig.messages.size(), 1u);
            EXPECT_EQ(rig.messages[0].text, OverflowText);
            EXPECT_EQ(rig.messages[0].title, u"Erreur !"_s);
            EXPECT_EQ(rig.messages[0].style, 64);
            EXPECT_EQ(rig.euro.text(), row.euro);
            EXPECT_EQ(rig.franc.text(), row.franc);
            const auto message = std::find(rig.log.begin(), rig.log.end(), u"message"_s);
            EXPECT_EQ(std::vector<QString>(message + 1, rig.log.end()), row.logAfterMessage);
            EXPECT_EQ(rig.converter.state().ConversionSource, 0);
        }
    }

    TEST(AmountConverter, UnusualRates)
    {
        const struct {
            const char* name;
            double rate;
            std::uint8_t decimalsIndex;
            QString euro;
            QString franc;
        } rows[] = {
            { "rate 0 shows 0", 0.0, 3, u"12"_s, u"0"_s },
            { "rate 0 at index 0 shows nothing", 0.0, 0, u"12"_s, u""_s },
            // A negative rate: the sign goes with the other field's cleaning.
            { "negative rate", -6.55957, 3, u"1"_s, u"6,56"_s },
            { "negative rate below 1 keeps its leading separator", -6.55957, 3, u"0,05"_s,
                u",328"_s },
            { "negative rate rounding to 0", -6.55957, 0, u"0,01"_s, u""_s },
            { "negative rate rounding to 0 with places", -6.55957, 2, u"0,0001"_s, u"0"_s },
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            Rig rig;
            rig.settings.ConversionRate = row.rate;
            rig.settings.DecimalsIndex = row.decimalsIndex;
            rig.type(Field::Euro, row.euro);
            EXPECT_EQ(rig.euro.text(), row.euro);
            EXPECT_EQ(rig.franc.text(), row.franc);
            EXPECT_TRUE(rig.messages.empty());
            EXPECT_EQ(rig.converter.state().ConversionSource, 0);
        }
    }

    TEST(AmountConverter, PasteReplacesTheFieldWithTheCleanedClipboardText)
    {
        const struct {
            Field field;
            QString before; // typed into the field first
            QString clipboard;
            QString own;
            QString other;
        } rows[] = {
            { Field::Euro, u""_s, u"12,50"_s, u"12,50"_s, u"81,995"_s },
            { Field::Franc, u""_s, u"12,50"_s, u"12,50"_s, u"1,906"_s },
            { Field::Euro, u"99"_s, u"1.234,56"_s, u"1,23456"_s, u"8,098"_s },
            { Field::Euro, u""_s, u"-12 345 €"_s, u"12345"_s, u"80977,892"_s },
            { Field::Euro, u""_s, u",5"_s, u"0,5"_s, u"3,28"_s },
            { Field::Franc, u""_s, u",5"_s, u"0,5"_s, u"0,076"_s },
            { Field::Euro, u"12"_s, u""_s, u""_s, u""_s }, // no text on the clipboard
            { Field::Franc, u"12"_s, u"abc"_s, u""_s, u""_s },
            { Field::Euro, u"12"_s, u","_s, u""_s, u""_s },
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.clipboard.toStdString());
            Rig rig;
            rig.type(row.field, row.before);
            rig.clipboard.setText(row.clipboard);
            AmountConverter::PasteAmount(rig.own(row.field));
            EXPECT_EQ(rig.own(row.field).text(), row.own);
            EXPECT_EQ(rig.other(row.field).text(), row.other);
            EXPECT_EQ(rig.clipboard.getText(), row.clipboard) << "a paste leaves the clipboard";
        }
    }

    TEST(AmountConverter, PastingTheSameTextConvertsNothing)
    {
        for (const Field field : { Field::Euro, Field::Franc }) {
            Rig rig;
            rig.type(field, u"12,5"_s);
            rig.clipboard.setText(u"12.5"_s); // cleans to what the field holds
            rig.log.clear();
            AmountConverter::PasteAmount(rig.own(field));
            EXPECT_TRUE(rig.log.empty());
        }
    }

    TEST(AmountConverter, CopyClearsThenCopiesTheWholeField)
    {
        for (const QString& text : { u"12,50"_s, u"007"_s, u""_s }) {
            Rig rig;
            rig.euro.setText(text);
            rig.clipboard.setText(u"old"_s);
            AmountConverter::CopyAmount(rig.euro);
            EXPECT_EQ(rig.clipboard.clears(), 1);
            EXPECT_EQ(rig.clipboard.getText(), text);
        }
    }

    TEST(AmountConverter, CopyThenPasteIntoTheOtherFieldConvertsBack)
    {
        Rig rig;
        rig.type(Field::Euro, u"12,50"_s);
        ASSERT_EQ(rig.franc.text(), u"81,995"_s);
        AmountConverter::CopyAmount(rig.euro);
        AmountConverter::PasteAmount(rig.franc);
        EXPECT_EQ(rig.franc.text(), u"12,50"_s);
        EXPECT_EQ(rig.euro.text(), u"1,906"_s);
    }

    TEST(AmountConverter, KeyPressRule)
    {
        const struct {
            int codeIn;
            QString text; // the field's text before the key
            int codeOut;
        } rows[] = {
            { '0', u""_s, '0' }, { '9', u"1,5"_s, '9' }, { 46, u"12"_s, 44 }, // "." becomes ","
            { 46, u""_s, 44 }, { 46, u"1,2"_s, 0 }, { 44, u"12"_s, 44 },
            { 44, u"1,2"_s, 0 }, // the whole text counts, whatever the selection
            { 44, u"0,"_s, 0 }, { 8, u"12"_s, 8 }, { 8, u""_s, 8 }, { 13, u"12"_s, 0 },
            { 27, u"12"_s, 0 }, { ' ', u"12"_s, 0 }, { '-', u"12"_s, 0 }, { '+', u"12"_s, 0 },
            { '/', u"12"_s, 0 }, { ':', u"12"_s, 0 }, { 'e', u"12"_s, 0 },
            { 24, u"12"_s, 0 }, // Ctrl+X
            { 26, u"12"_s, 0 }, // Ctrl+Z
            { 1, u"12"_s, 0 }, // Ctrl+A
            { 0, u"12"_s, 0 }, { 128, u"12"_s, 0 }, { 0xE9, u"12"_s, 0 }, { -1, u"12"_s, 0 },
            { 44 + 256, u"12"_s, 0 }, { 0x3030, u"12"_s, 0 }, // not "0": the whole code counts
        };
        for (const Field field : { Field::Euro, Field::Franc }) {
            for (const auto& row : rows) {
                SCOPED_TRACE(testing::Message()
                    << "code " << row.codeIn << " on " << row.text.toStdString());
                Rig rig;
                rig.own(field).setText(row.text);
                const QString otherBefore = rig.other(field).text();
                rig.clipboard.setText(u"untouched"_s);
                auto code = static_cast<std::int16_t>(row.codeIn);
                rig.keyPress(field, code);
                EXPECT_EQ(code, row.codeOut);
                EXPECT_EQ(rig.own(field).text(), row.text) << "no side effect";
                EXPECT_EQ(rig.other(field).text(), otherBefore);
                EXPECT_EQ(rig.clipboard.getText(), u"untouched"_s);
                EXPECT_EQ(rig.clipboard.clears(), 0);
            }
        }
    }

    TEST(AmountConverter, KeyPressCopiesAndPastes)
    {
        const struct {
            Field field;
            int code;
            QString text;
            QString clipboard;
            QString own;
            QString other;
            QString clipboardAfter;
            int clears;
        } rows[] = {
            { Field::Euro, 22, u"3"_s, u"12.50 €"_s, u"12,50"_s, u"81,995"_s, u"12.50 €"_s, 0 },
            { Field::Franc, 22, u"3"_s, u"12,50"_s, u"12,50"_s, u"1,906"_s, u"12,50"_s, 0 },
            { Field::Euro, 3, u"1,5"_s, u"old"_s, u"1,5"_s, u"9,839"_s, u"1,5"_s, 1 },
            { Field::Franc, 3, u"1,5"_s, u"old"_s, u"1,5"_s, u"0,229"_s, u"1,5"_s, 1 },
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.code);
            Rig rig;
            rig.type(row.field, row.text);
            rig.clipboard.setText(row.clipboard);
            auto code = static_cast<std::int16_t>(row.code);
            rig.keyPress(row.field, code);
            EXPECT_EQ(code, 0);
            EXPECT_EQ(rig.own(row.field).text(), row.own);
            EXPECT_EQ(rig.other(row.field).text(), row.other);
            EXPECT_EQ(rig.clipboard.getText(), row.clipboardAfter);
            EXPECT_EQ(rig.clipboard.clears(), row.clears);
        }
    }

    TEST(AmountConverter, DestroyedConverterLeavesTheFieldsUnhooked)
    {
        SettingsRecord settings = SettingsRecord::defaults();
        toolkit::MemoryTextField euro;
        toolkit::MemoryTextField franc;
        {
            AmountConverter converter(euro, franc, settings);
            euro.setText(u"1"_s);
            EXPECT_EQ(franc.text(), u"6,56"_s);
        }
        euro.setText(u"2"_s);
        EXPECT_EQ(franc.text(), u"6,56"_s);
    }

} // namespace
} // namespace conversion
