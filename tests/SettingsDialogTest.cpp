// The settings dialog driven as the user drives it: key events into its fields, clicks on its
// buttons, Enter, Escape and the close box, and the settings file the program writes at the end.
#include "app/EuroProgramme.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QTest>
#include <array>
#include <string>
#include <tuple>
#include <utility>

namespace {

using namespace Qt::Literals::StringLiterals;
using EuroProgramme::Settings;

FrmQuilmar& main() { return *frmQuilmar; }
FrmParam& dialog() { return *frmParam; }
void click(toolkit::Control& control) { QTest::mouseClick(control.widget(), Qt::LeftButton); }
void openDialog() { click(main().Picture2); }
QString qstr(const char* utf8) { return QString::fromUtf8(utf8); }
std::string str(const QString& text) { return text.toStdString(); }

enum Field { Name1, Symbol1, Name2, Symbol2, Rate };

toolkit::TextBox& field(int f)
{
    FrmParam& d = dialog();
    return *std::array { &d.Text1[0], &d.Text2[0], &d.Text1[1], &d.Text2[1], &d.Text3 }[f];
}

// Types a script: characters as keys with their text, named keys in braces ("{Shift+Ins}").
void type(toolkit::TextBox& box, const QString& script)
{
    for (qsizetype at = 0; at < script.size(); ++at) {
        if (script[at] == u'{') {
            const qsizetype end = script.indexOf(u'}', at);
            const QKeyCombination key = QKeySequence(script.mid(at + 1, end - at - 1))[0];
            QTest::keyClick(box.widget(), key.key(), key.keyboardModifiers());
            at = end;
        } else {
            const QChar ch = script[at];
            const auto key = ch < u'\x80' ? QTest::asciiToKey(char(ch.unicode())) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, box.widget(), key, QString(ch), Qt::NoModifier);
        }
    }
}

// The settings file for "name1|name2|symbol1|symbol2|tooltips|rate|decimals" at a saved place.
QByteArray ini(const char* fields)
{
    QList<QByteArray> lines = QByteArray(fields).split('|');
    for (int i = 0; i < 4; ++i)
        lines[i] = '"' + lines[i] + '"';
    return lines.join("\r\n") + "\r\n1000\r\n2000\r\n4110\r\n";
}

const char* const DollarsAndYens = "Dollars|Yens|$|Y|0|110|2";

class SettingsDialogTest : public ProgramFixture {
protected:
    void restart(const char* settings, bool open = true)
    {
        toolkit::Form::destroyAll();
        writeFile(u"Quilmar.ini"_s, ini(settings));
        EuroProgramme::StartUp();
        if (open)
            openDialog();
    }
};

TEST_F(SettingsDialogTest, TypedAndPastedTextFollowsEachFieldsRule)
{
    struct Case {
        Field field;
        const char *start, *clipboard, *keys, *expected; // start: set by the program
        int caret;
    };
    const Case cases[] = {
        { Rate, "", "", "a6.-5 E,.7€\"", "6,57", 4 }, // digits and one separator, "." as ","
        { Rate, "6,5", "", "{Home}{Shift+End}.", "6,5", 3 }, // the selected part counts
        { Rate, "6,5", "", "{End}\b\b", "6", 1 },
        { Rate, "6,55957", "", "{Home}{Right}{Right}12", "6,1255957", 4 },
        { Rate, "7", "12", "{Ctrl+V}", "7", 1 }, // its control code is no digit
        { Rate, "", "12.3.4", "{Shift+Ins}", "12,34", 5 }, // pasted text is cleaned
        { Rate, "", "1.234,5", "{Shift+Ins}", "1,2345", 6 },
        { Rate, "65", "1.2", "{Home}{Right}{Shift+Ins}9", "61,295", 5 },
        { Rate, "6.55957", "", "", "6,55957", 7 },
        { Symbol2, "F", "", "xyz\"", "z", 1 }, // each character replaces the symbol
        { Symbol1, "E", "", "\b", " ", 1 },
        { Symbol2, "F", "", "€", "€", 1 },
        { Name1, "Euros", "", "{End} \"US\" € et d'autres", "Euros US € et d'autres", 22 },
    };
    restart(DollarsAndYens);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + " into " + c.start);
        toolkit::TextBox& box = field(c.field);
        box.setText(qstr(c.start));
        QGuiApplication::clipboard()->setText(qstr(c.clipboard));
        type(box, qstr(c.keys));
        EXPECT_EQ(str(box.text()), c.expected);
        EXPECT_EQ(box.cursorPosition(), c.caret);
    }
}

TEST_F(SettingsDialogTest, OkStoresWhatTheFieldsShowAndEveryOtherWayOutNothing)
{
    enum Way { Ok, Enter, Annuler, Escape, CloseBox, ResetAnnuler, ResetOk };
    // The way out, the keys typed over each field's whole text, the settings file written when the
    // program ends, and 2 converted once the dialog is gone.
    const std::tuple<Way, std::array<const char*, 5>, const char*, const char*> cases[] = {
        { Ok, { "  Dollars US  ", "L", "Yens ", "\b", "0,5" }, "Dollars US|Yens|L| |1|0.5|4", "1" },
        { Enter, { "{Shift+Ins}", "{Shift+Ins}", "", "", "12" }, "Livres|Yens||Y|1|12|4", "24" },
        { Ok, { "\b", "{Del}", "   ", "", "\b" }, "|||Y|1|0|4", "0" },
        { Annuler, { "Livres", "L", "", "", ".5" }, DollarsAndYens, "220" },
        { Escape, { "Livres", "L", "", "", ".5" }, DollarsAndYens, "220" },
        { CloseBox, { "Livres", "L", "", "", ".5" }, DollarsAndYens, "220" },
        { ResetAnnuler, { "Livres", "L", "", "", ".5" }, DollarsAndYens, "220" },
        { ResetOk, { "Livres", "L", "", "", ".5" }, "Euros|Francs|E|F|1|6.55957|3", "13,119" },
    };
    for (const auto& [way, keys, saved, converted] : cases) {
        SCOPED_TRACE(saved);
        restart(DollarsAndYens);
        type(main().TextEuro, u"2"_s);
        // Pasted double quotes are never stored, nor the spaces they enclosed.
        QGuiApplication::clipboard()->setText(u"\"  Livres  \""_s);
        for (int f = Name1; f <= Rate; ++f)
            type(field(f), u"{Home}{Shift+End}"_s + qstr(keys[std::size_t(f)]));
        dialog().Check1.setValue(1);
        dialog().Combo1.setListIndex(4);
        const bool stored = way == Ok || way == Enter || way == ResetOk;
        if (way == ResetAnnuler || way == ResetOk)
            click(dialog().CommandDefaut);
        if (way == Enter || way == Escape)
            type(dialog().Text1[1], way == Enter ? u"{Return}"_s : u"{Esc}"_s);
        else if (way == CloseBox)
            dialog().window()->close();
        else
            click(stored ? dialog().CommandOK : dialog().CommandAnnul);
        EXPECT_FALSE(frmParam.exists());
        EXPECT_EQ(main().LabelEuro.caption(), Settings.CurrencySymbol[0]) << "settings applied";
        EXPECT_EQ((main().TextEuro.text() + main().TextFranc.text()).isEmpty(), stored);
        main().TextEuro.setText(u"2"_s);
        EXPECT_EQ(str(main().TextFranc.text()), converted);
        main().window()->close();
        EXPECT_EQ(readFile(u"Quilmar.ini"_s), ini(saved));
    }
}

TEST_F(SettingsDialogTest, OpeningAgainKeepsEditsAndPlaceUntilTheDialogIsUnloaded)
{
    restart(DollarsAndYens, false);
    const std::pair placed(dialog().left(), dialog().top()); // made hidden at start-up
    dialog().Text1[0].setText(u"Livres"_s); // a mark that loading it again would overwrite
    main().setLeft(main().left() + 1501);
    openDialog();
    type(dialog().Text1[0], u"{End} bis"_s);
    openDialog();
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_EQ(str(dialog().Text1[0].text()), "Livres bis") << "shown, never loaded again";
    EXPECT_EQ(std::pair(dialog().left(), dialog().top()), placed) << "not placed again";

    click(dialog().CommandAnnul);
    main().setLeft(main().left() - 700);
    main().setTop(main().top() + 451);
    openDialog();
    const FrmQuilmar& m = main();
    const FrmParam& d = dialog();
    EXPECT_EQ(str(d.Text1[0].text()), "Dollars") << "made afresh from the settings";
    EXPECT_EQ(d.top(), float(double(m.top()) + (double(m.height()) - double(d.height())) / 2));
    EXPECT_EQ(d.left(), float(double(m.left()) + (double(m.width()) - double(d.width())) / 2));
}

TEST_F(SettingsDialogTest, HandEditedValuesShowAsTheFieldsCanAndOkStoresWhatIsShown)
{
    // The file's fields, the symbol and rate the dialog shows, the rate OK stores.
    const std::tuple<const char*, const char*, double> cases[] = {
        { "Euros|Francs|E|F|1|1E-07|3", "E 0,0000001", 1e-7 },
        { "Euros|Francs|E|F|1|-6.5|3", "E 6,5", 6.5 }, // a minus cannot be typed either
        { "Euros|Francs|EUR|F|1|6.55957|3", "E 6,55957", 6.55957 }, // one character
    };
    for (const auto& [file, shown, stored] : cases) {
        SCOPED_TRACE(file);
        restart(file);
        EXPECT_EQ(str(dialog().Text2[0].text() + u' ' + dialog().Text3.text()), shown);
        click(dialog().CommandOK);
        EXPECT_EQ(Settings.ConversionRate, stored);
    }
}

} // namespace
