// The settings dialog driven as the user drives it: key events into its fields, clicks on its
// buttons, Enter, Escape and the close box, and the settings file the program writes at the end.
#include "app/EuroProgramme.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/KeyScript.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/Text.h"
#include "toolkit/FormWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <array>
#include <string>
#include <utility>

namespace {

using namespace Qt::Literals::StringLiterals;

FrmQuilmar& main() { return *frmQuilmar; }
FrmParam& dialog() { return *frmParam; }
void click(toolkit::Control& control) { QTest::mouseClick(control.widget(), Qt::LeftButton); }
void openDialog() { click(main().Picture2); }
void type(toolkit::Control& control, const QString& script) { ::type(control.widget(), script); }

enum Field { Name1, Symbol1, Name2, Symbol2, Rate };

toolkit::TextBox& field(int f)
{
    FrmParam& d = dialog();
    return *std::array { &d.Text1[0], &d.Text2[0], &d.Text1[1], &d.Text2[1], &d.Text3 }[f];
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
    // The program started afresh on the given settings.
    void restart(const char* settings)
    {
        toolkit::Form::destroyAll();
        writeFile(u"Quilmar.ini"_s, ini(settings));
        EuroProgramme::StartUp();
    }
};

TEST_F(SettingsDialogTest, TypedAndPastedTextFollowsEachFieldsRule)
{
    // The field, the text the program sets, the clipboard, the keys; the text and caret after.
    struct Case {
        const char* name;
        Field field;
        const char *start, *clip, *keys, *expected;
        int caret;
    };
    // clang-format off
    const Case cases[] = {
        { "RateTakesDigitsAndOneSeparator", Rate, "", "", "a6.-5 E,.7€\"", "6,57", 4 },
        { "RateShiftInsPastesCleaned", Rate, "65", "1.2.3", "{Home}{Right}{Shift+Ins}9", "61,2395", 6 },
        { "SymbolTakesOneCharacterNoQuote", Symbol2, "F", "", "€\"", "€", 1 },
        { "SymbolBackspaceLeavesASpace", Symbol1, "E", "", "x{Backspace}", " ", 1 },
        { "NameDropsQuotes", Name1, "Euros", "", "{End} \"US\" € et d'autres", "Euros US € et d'autres", 22 },
    };
    // clang-format on
    restart(DollarsAndYens);
    openDialog();
    for (const auto& [name, f, start, clip, keys, expected, caret] : cases) {
        SCOPED_TRACE(name);
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
    // field's whole text ("|" between fields), the settings file written when the program ends,
    // and the file read at start-up when not the usual one: what a hand-edited file holds shows
    // as the fields can.
    struct Case {
        const char *name, *way, *keys, *saved, *file = DollarsAndYens;
    };
    // clang-format off
    const Case cases[] = {
        { "OkStoresTrimmedAndEmptiedFields", "OK", "  Dollars US  |L|   |{Backspace}|{Backspace}", "Dollars US||L| |1|0|4" },
        { "EnterStoresPastedNames", "{Return}", "{Shift+Ins}|{Shift+Ins}|||0,5", "Livres|Yens||Y|1|0.5|4" },
        { "CancelStoresNothing", "Annuler", "Livres|L|||.5", DollarsAndYens },
        { "EscapeStoresNothing", "{Esc}", "Livres|L|||.5", DollarsAndYens },
        { "CloseBoxStoresNothing", "close", "Livres|L|||.5", DollarsAndYens },
        { "DefaultsThenCancelStoresNothing", "Reset Annuler", "Livres|L|||.5", DollarsAndYens },
        { "DefaultsThenOkStoresTheDefaults", "Reset OK", "Livres|L|||.5", "Euros|Francs|E|F|1|6.55957|3" },
        { "HandEditedFileShowsAsTheFieldsCan", "OK", "", "Euros|Francs|E|F|1|1e-07|4", "Euros|Francs|EUR|F|1|-1E-07|3" },
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart(c.file);
        openDialog();
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
        EXPECT_EQ(main().TextEuro.text().isEmpty(), stored) << "OK clears the amounts";
        main().window()->close();
        EXPECT_EQ(readFile(u"Quilmar.ini"_s), ini(c.saved));
    }
}

// The dialog is loaded, and centred on the main window, at start-up: opening it never moves it,
// though the main window moved meanwhile, until an unload makes it afresh on the new place. The
// main window is 4110 by 1125; the dialog 4920 high and, framed as assumed before it was ever
// shown, 4350 wide, then 4290 within the platform's thinner frame.
TEST_F(SettingsDialogTest, PlacedWhenLoadedNotWhenOpened)
{
    restart(DollarsAndYens); // the main window at 1000, 2000
    FrmQuilmar& m = main();
    const auto place = [] { return std::pair(dialog().left(), dialog().top()); };
    m.setLeft(2501);
    openDialog();
    // 1000 + (4110 - 4350) / 2 and 2000 + (1125 - 4920) / 2
    EXPECT_EQ(place(), std::pair(880.0f, 102.5f)) << "where start-up placed it";
    type(dialog().Text1[0], u"{End} bis"_s);
    m.setTop(2451);
    openDialog();
    EXPECT_EQ(str(dialog().Text1[0].text()), "Dollars bis") << "shown, never loaded again";
    EXPECT_EQ(place(), std::pair(880.0f, 102.5f)) << "not placed again";

    click(dialog().CommandAnnul);
    m.setLeft(1801);
    openDialog();
    EXPECT_EQ(str(dialog().Text1[0].text()), "Dollars") << "made afresh from the settings";
    // 1801 + (4110 - 4290) / 2 and 2451 + (1125 - 4920) / 2
    EXPECT_EQ(place(), std::pair(1711.0f, 553.5f)) << "centred on the new place";
}

// Names have no length limit: one far past a text box's usual 32 767 characters comes from the
// file into its field whole, takes what is typed after it, and is stored whole.
TEST_F(SettingsDialogTest, NamesHaveNoLengthLimit)
{
    const std::string name(40000, 'n');
    restart((name + "|Yens|$|Y|0|110|2").c_str());
    openDialog();
    type(dialog().Text1[0], u"{End}x"_s);
    click(dialog().CommandOK);
    EXPECT_EQ(EuroProgramme::Settings.CurrencyName[0], QString::fromStdString(name + 'x'));
}

} // namespace
