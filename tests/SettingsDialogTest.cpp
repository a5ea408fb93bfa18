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
#include <QRegularExpression>
#include <QTest>
#include <array>
#include <string>
#include <tuple>
#include <utility>

namespace {

using namespace Qt::Literals::StringLiterals;

FrmQuilmar& main() { return *frmQuilmar; }
FrmParam& dialog() { return *frmParam; }
void click(toolkit::Control& control) { QTest::mouseClick(control.widget(), Qt::LeftButton); }
void openDialog() { click(main().Picture2); }
std::string str(const QString& text) { return text.toStdString(); }

enum Field { Name1, Symbol1, Name2, Symbol2, Rate };

toolkit::TextBox& field(int f)
{
    FrmParam& d = dialog();
    return *std::array { &d.Text1[0], &d.Text2[0], &d.Text1[1], &d.Text2[1], &d.Text3 }[f];
}

// Types a script: each character a key with its text, named keys in braces ("{Shift+Ins}").
void type(toolkit::TextBox& box, const QString& script)
{
    for (const auto& step : QRegularExpression(u"\\{([^}]+)\\}|."_s).globalMatch(script)) {
        const QKeyCombination named = QKeySequence(step.captured(1))[0];
        const QString text = step.hasCaptured(1) ? QString() : step.captured();
        QTest::sendKeyEvent(QTest::Click, box.widget(),
            text.isEmpty() ? named.key() : Qt::Key_unknown, text, named.keyboardModifiers());
    }
}

// The settings file for "name1|name2|symbol1|symbol2|tooltips|rate|decimals" at a saved place.
QByteArray ini(const char* fields)
{
    const QList<QByteArray> f = QByteArray(fields).split('|');
    return '"' + f.mid(0, 4).join("\"\r\n\"") + "\"\r\n" + f.mid(4).join("\r\n")
        + "\r\n1000\r\n2000\r\n4110\r\n";
}

const char* const DollarsAndYens = "Dollars|Yens|$|Y|0|110|2";

class SettingsDialogTest : public ProgramFixture {
protected:
    // The program started afresh on the given settings, and its dialog opened.
    void restart(const char* settings)
    {
        toolkit::Form::destroyAll();
        writeFile(u"Quilmar.ini"_s, ini(settings));
        EuroProgramme::StartUp();
        openDialog();
    }
};

TEST_F(SettingsDialogTest, TypedAndPastedTextFollowsEachFieldsRule)
{
    // The field, the text the program sets, the clipboard, the keys; the text and caret after.
    const std::tuple<Field, const char*, const char*, const char*, const char*, int> cases[] = {
        { Rate, "", "", "a6.-5 E,.7€\"", "6,57", 4 }, // digits and one separator, "." as ","
        { Rate, "6,5", "", "{Home}{Shift+End}.", "6,5", 3 }, // the selected part counts
        { Rate, "6,55957", "", "{Home}{Right}{Right}12{Backspace}", "6,155957", 3 },
        { Rate, "7", "12", "{Ctrl+V}", "7", 1 }, // its control code is no digit
        { Rate, "65", "1.2.3", "{Home}{Right}{Shift+Ins}9", "61,2395", 6 }, // pasted, cleaned
        { Symbol2, "F", "", "€\"", "€", 1 }, // each character replaces the symbol
        { Symbol1, "E", "", "x{Backspace}", " ", 1 },
        { Name1, "Euros", "", "{End} \"US\" € et d'autres", "Euros US € et d'autres", 22 },
    };
    restart(DollarsAndYens);
    for (const auto& [f, start, clip, keys, expected, caret] : cases) {
        SCOPED_TRACE(std::string(keys) + " into " + start);
        toolkit::TextBox& box = field(f);
        box.setText(QString::fromUtf8(start));
        QGuiApplication::clipboard()->setText(QString::fromUtf8(clip));
        type(box, QString::fromUtf8(keys));
        EXPECT_EQ(std::pair(str(box.text()), box.cursorPosition()),
            std::pair(std::string(expected), caret));
    }
}

TEST_F(SettingsDialogTest, OkStoresWhatTheFieldsShowAndEveryOtherWayOutNothing)
{
    // The way out (the buttons clicked, the keys typed or the close box), the keys typed over each
    // field's whole text ("|" between fields), the settings file written when the program ends, 2
    // converted once the dialog is gone, and the file read at start-up when not the usual one: what
    // a hand-edited file holds shows as the fields can.
    struct Case {
        const char *way, *keys, *saved, *converted, *file = DollarsAndYens;
    };
    const Case cases[] = {
        { "OK", "  Dollars US  |L|Yens |{Backspace}|0,5", "Dollars US|Yens|L| |1|0.5|4", "1" },
        { "{Return}", "{Shift+Ins}|{Shift+Ins}|||12", "Livres|Yens||Y|1|12|4", "24" },
        { "OK", "{Backspace}|{Del}|   ||{Backspace}", "|||Y|1|0|4", "0" },
        { "Annuler", "Livres|L|||.5", DollarsAndYens, "220" },
        { "{Esc}", "Livres|L|||.5", DollarsAndYens, "220" },
        { "close", "Livres|L|||.5", DollarsAndYens, "220" },
        { "Reset Annuler", "Livres|L|||.5", DollarsAndYens, "220" },
        { "Reset OK", "Livres|L|||.5", "Euros|Francs|E|F|1|6.55957|3", "13,119" },
        { "OK", "", "Euros|Francs|E|F|1|1e-07|4", "0", "Euros|Francs|E|F|1|1E-07|3" },
        { "OK", "", "Euros|Francs|E|F|1|6.5|4", "13", "Euros|Francs|E|F|1|-6.5|3" }, // no minus
        { "OK", "", "Euros|Francs|E|F|1|6.55957|4", "13,1191", "Euros|Francs|EUR|F|1|6.55957|3" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + " then " + c.way);
        restart(c.file);
        type(main().TextEuro, u"2"_s);
        // Pasted double quotes are never stored, nor the spaces they enclosed.
        QGuiApplication::clipboard()->setText(u"\"  Livres  \""_s);
        const QStringList keys = QString::fromUtf8(c.keys).split(u'|');
        for (int f = Name1; f <= Rate; ++f)
            type(field(f), u"{Home}{Shift+End}"_s + keys.value(f));
        dialog().Check1.setValue(1);
        dialog().Combo1.setListIndex(4);
        const QString way = QString::fromLatin1(c.way);
        if (way.startsWith(u"Reset"_s))
            click(dialog().CommandDefaut);
        if (way == u"close"_s)
            dialog().window()->close();
        else if (way.startsWith(u'{'))
            type(dialog().Text1[1], way);
        else
            click(way.endsWith(u"OK"_s) ? dialog().CommandOK : dialog().CommandAnnul);
        EXPECT_FALSE(frmParam.exists());
        EXPECT_EQ(main().LabelEuro.caption(), EuroProgramme::Settings.CurrencySymbol[0]);
        const bool stored = qstrcmp(c.saved, c.file) != 0;
        EXPECT_EQ((main().TextEuro.text() + main().TextFranc.text()).isEmpty(), stored);
        main().TextEuro.setText(u"2"_s);
        EXPECT_EQ(str(main().TextFranc.text()), c.converted);
        main().window()->close();
        EXPECT_EQ(readFile(u"Quilmar.ini"_s), ini(c.saved));
    }
}

TEST_F(SettingsDialogTest, OpeningAgainKeepsEditsAndPlaceUntilTheDialogIsUnloaded)
{
    restart(DollarsAndYens);
    FrmQuilmar& m = main();
    const auto place = [] { return std::pair(dialog().left(), dialog().top()); };
    const auto placed = place();
    m.setLeft(m.left() + 1501);
    type(dialog().Text1[0], u"{End} bis"_s);
    openDialog();
    EXPECT_EQ(str(dialog().Text1[0].text()), "Dollars bis") << "shown, never loaded again";
    EXPECT_EQ(place(), placed) << "not placed again";

    click(dialog().CommandAnnul);
    m.setLeft(m.left() - 700);
    m.setTop(m.top() + 451);
    openDialog();
    const FrmParam& d = dialog();
    EXPECT_EQ(str(d.Text1[0].text()), "Dollars") << "made afresh from the settings";
    EXPECT_EQ(d.top(), float(double(m.top()) + (double(m.height()) - double(d.height())) / 2));
    EXPECT_EQ(d.left(), float(double(m.left()) + (double(m.width()) - double(d.width())) / 2));
}

// Names have no length limit: one far past a text box's usual 32 767 characters comes from the
// file into its field whole, takes what is typed after it, and is stored whole.
TEST_F(SettingsDialogTest, NamesHaveNoLengthLimit)
{
    const std::string name(40000, 'n');
    restart((name + "|Yens|$|Y|0|110|2").c_str());
    type(dialog().Text1[0], u"{End}x"_s);
    click(dialog().CommandOK);
    EXPECT_EQ(EuroProgramme::Settings.CurrencyName[0], QString::fromStdString(name + 'x'));
}

} // namespace
