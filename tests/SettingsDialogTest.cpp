// The settings dialog driven as the user drives it: key events into its fields, clicks on its
// buttons, Enter, Escape and the close box, and the main window around it.
#include "app/EuroProgramme.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>
#include <algorithm>
#include <array>
#include <ostream>
#include <utility>
#include <vector>

// Readable failures: the text rather than its bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using namespace Qt::Literals::StringLiterals;
using EuroProgramme::Settings;

FrmQuilmar& main() { return *frmQuilmar; }
FrmParam& dialog() { return *frmParam; }

enum class Field { Name1, Symbol1, Name2, Symbol2, Rate };

toolkit::TextBox& field(Field f)
{
    switch (f) {
    case Field::Name1:
        return dialog().Text1[0];
    case Field::Symbol1:
        return dialog().Text2[0];
    case Field::Name2:
        return dialog().Text1[1];
    case Field::Symbol2:
        return dialog().Text2[1];
    case Field::Rate:
        break;
    }
    return dialog().Text3;
}

void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &up);
}

// Types a script into a widget: characters as they are, "\b" as Backspace, and named keys in
// braces ("{Home}", "{Shift+End}", "{Ctrl+V}", "{Shift+Ins}").
void type(QWidget* widget, QStringView script)
{
    struct Named {
        QStringView name;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    static const Named named[] = {
        { u"Home", Qt::Key_Home, Qt::NoModifier },
        { u"End", Qt::Key_End, Qt::NoModifier },
        { u"Right", Qt::Key_Right, Qt::NoModifier },
        { u"Del", Qt::Key_Delete, Qt::NoModifier },
        { u"Enter", Qt::Key_Return, Qt::NoModifier },
        { u"Esc", Qt::Key_Escape, Qt::NoModifier },
        { u"Shift+End", Qt::Key_End, Qt::ShiftModifier },
        { u"Shift+Ins", Qt::Key_Insert, Qt::ShiftModifier },
        { u"Ctrl+C", Qt::Key_C, Qt::ControlModifier },
        { u"Ctrl+V", Qt::Key_V, Qt::ControlModifier },
    };
    for (qsizetype at = 0; at < script.size(); ++at) {
        const QChar ch = script[at];
        if (ch == u'{') {
            const qsizetype end = script.indexOf(u'}', at);
            const QStringView name = script.mid(at + 1, end - at - 1);
            const auto* key = std::find_if(std::begin(named), std::end(named),
                [name](const Named& n) { return n.name == name; });
            ASSERT_NE(key, std::end(named)) << name.toString().toStdString();
            QTest::keyClick(widget, Qt::Key(key->key), key->modifiers);
            at = end;
        } else if (ch == u'\b') {
            QTest::keyClick(widget, Qt::Key_Backspace);
        } else if (ch.unicode() < 0x7F) {
            QTest::keyClick(widget, char(ch.unicode()));
        } else {
            press(widget, Qt::Key_unknown, Qt::NoModifier, QString(ch)); // no key code: "€"
        }
    }
}

void type(toolkit::TextBox& box, QStringView script) { type(box.widget(), script); }

void click(toolkit::Control& control) { QTest::mouseClick(control.widget(), Qt::LeftButton); }

// The settings button of the main window, as the user opens the dialog.
void openDialog() { click(main().Picture2); }

void setSystemClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

class SettingsDialogTest : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        setSystemClipboard(QString());
    }

    // A settings file that differs from the defaults in every field the dialog edits.
    void startWithDollarsAndYens(const QByteArray& rate = "110")
    {
        writeFile(QStringLiteral("Quilmar.ini"),
            "\"Dollars\"\r\n\"Yens\"\r\n\"$\"\r\n\"Y\"\r\n0\r\n" + rate
                + "\r\n2\r\n1000\r\n2000\r\n4110\r\n");
        EuroProgramme::StartUp();
    }

    static SettingsRecord dollarsAndYens(double rate = 110)
    {
        SettingsRecord record;
        record.CurrencyName = { QStringLiteral("Dollars"), QStringLiteral("Yens") };
        record.CurrencySymbol = { QStringLiteral("$"), QStringLiteral("Y") };
        record.ShowToolTips = 0;
        record.ConversionRate = rate;
        record.DecimalsIndex = 2;
        record.WindowLeft = 1000;
        record.WindowTop = 2000;
        record.WindowWidth = 4110;
        return record;
    }
};

// --- Input rules --------------------------------------------------------------------------------

TEST_F(SettingsDialogTest, TypedAndPastedTextEndsInTheFieldsAsTheRulesSay)
{
    struct Case {
        Field field;
        QString start; // set by program, as the dialog's fill does
        QString clipboard;
        QString keys;
        QString expected;
        int caret; // -1: not checked
    };
    const Case cases[] = {
        // Rate: "." types ",", one separator at most, only digits, Backspace passes.
        { Field::Rate, {}, {}, QStringLiteral("6.5"), QStringLiteral("6,5"), 3 },
        { Field::Rate, QStringLiteral("6,5"), {}, QStringLiteral("{End},.7"),
            QStringLiteral("6,57"), 4 },
        { Field::Rate, {}, {}, QStringLiteral("a-1 2E3€\"x"), QStringLiteral("123"), 3 },
        { Field::Rate, QStringLiteral("6,5"), {}, QStringLiteral("{Home}{Right}.7"),
            QStringLiteral("67,5"), 2 },
        { Field::Rate, QStringLiteral("6,5"), {}, QStringLiteral("{End}\b\b"), QStringLiteral("6"),
            1 },
        // The whole text counts, the selected part included.
        { Field::Rate, QStringLiteral("6,5"), {}, QStringLiteral("{Home}{Shift+End}."),
            QStringLiteral("6,5"), -1 },
        { Field::Rate, QStringLiteral("6,5"), {}, QStringLiteral("{Home}{Shift+End}7"),
            QStringLiteral("7"), 1 },
        // Typing in the middle: the caret stays after the typed character.
        { Field::Rate, QStringLiteral("6,55957"), {}, QStringLiteral("{Home}{Right}{Right}12"),
            QStringLiteral("6,1255957"), 4 },
        // Pasted text passes no keystroke rule; the cleaning keeps digits and the first separator.
        { Field::Rate, {}, QStringLiteral("12.3.4"), QStringLiteral("{Shift+Ins}"),
            QStringLiteral("12,34"), 5 },
        { Field::Rate, {}, QStringLiteral("1.234,5"), QStringLiteral("{Shift+Ins}"),
            QStringLiteral("1,2345"), 6 },
        { Field::Rate, {}, QStringLiteral(" -7 a.5"), QStringLiteral("{Shift+Ins}"),
            QStringLiteral("7,5"), 3 },
        { Field::Rate, QStringLiteral("65"), QStringLiteral("1.2"),
            QStringLiteral("{Home}{Right}{Shift+Ins}9"), QStringLiteral("61,295"), 5 },
        // Ctrl+V is the control code 22, which the rate's keystroke rule drops.
        { Field::Rate, QStringLiteral("7"), QStringLiteral("12"), QStringLiteral("{Ctrl+V}"),
            QStringLiteral("7"), -1 },
        // Set by program.
        { Field::Rate, QStringLiteral("6.55957"), {}, {}, QStringLiteral("6,55957"), -1 },
        { Field::Rate, QStringLiteral("1.2.3 x"), {}, {}, QStringLiteral("1,23"), -1 },
        // Symbol: each character replaces it; Backspace makes a space; the double quote and
        // control codes 1 to 16 are dropped; 17 to 31 are taken like any character.
        { Field::Symbol1, QStringLiteral("E"), {}, QStringLiteral("A"), QStringLiteral("A"), -1 },
        { Field::Symbol2, QStringLiteral("F"), {}, QStringLiteral("xyz"), QStringLiteral("z"), -1 },
        { Field::Symbol1, QStringLiteral("E"), {}, QStringLiteral("\b"), QStringLiteral(" "), -1 },
        { Field::Symbol1, QStringLiteral("E"), {}, QStringLiteral("\""), QStringLiteral("E"), -1 },
        { Field::Symbol2, QStringLiteral("F"), {}, QStringLiteral("€"), QStringLiteral("€"), -1 },
        { Field::Symbol1, QStringLiteral("E"), QStringLiteral("XY"), QStringLiteral("{Ctrl+V}"),
            QString(QChar(22)), -1 },
        { Field::Symbol1, QStringLiteral("E"), {}, QStringLiteral("{Ctrl+C}"), QStringLiteral("E"),
            -1 },
        { Field::Symbol1, QStringLiteral("E"), {}, QStringLiteral("{Home}{Shift+End}B"),
            QStringLiteral("B"), -1 },
        { Field::Symbol2, QStringLiteral("F"), {}, QStringLiteral("{Home}{Del}"), QString(), -1 },
        { Field::Symbol2, QString(), {}, QStringLiteral("G"), QStringLiteral("G"), -1 },
        // Names: only the double quote is dropped, and there is no length limit.
        { Field::Name1, QStringLiteral("Euros"), {}, QStringLiteral("{End} \"US\" €"),
            QStringLiteral("Euros US €"), -1 },
        { Field::Name2, {}, {}, QString(QStringLiteral("Yen ").repeated(30)),
            QString(QStringLiteral("Yen ").repeated(30)), -1 },
    };
    EuroProgramme::StartUp();
    openDialog();
    ASSERT_TRUE(dialog().isVisible());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.toStdString() + " into " + c.start.toStdString());
        toolkit::TextBox& box = field(c.field);
        box.setText(c.start);
        setSystemClipboard(c.clipboard);
        type(box, c.keys);
        EXPECT_EQ(box.text(), c.expected);
        if (c.caret >= 0) {
            EXPECT_EQ(box.cursorPosition(), c.caret);
        }
    }
    EXPECT_TRUE(messages.empty());
}

// --- Actions ------------------------------------------------------------------------------------

TEST_F(SettingsDialogTest, OkStoresWhatTheFieldsShow)
{
    struct Edit {
        Field field;
        QString clipboard;
        QString keys; // typed after selecting the whole field
    };
    struct Case {
        std::vector<Edit> edits;
        std::array<QString, 2> names, symbols;
        double rate;
    };
    const Case cases[] = {
        { { { Field::Name1, {}, QStringLiteral("  Dollars US  ") },
              { Field::Name2, {}, QStringLiteral("Yens ") }, { Field::Symbol1, {}, u"$"_s },
              { Field::Symbol2, {}, QStringLiteral("\b") },
              { Field::Rate, {}, QStringLiteral("0,5") } },
            { QStringLiteral("Dollars US"), QStringLiteral("Yens") },
            { QStringLiteral("$"), QStringLiteral(" ") }, 0.5 },
        // Pasted double quotes never reach the settings; spaces they enclosed are trimmed.
        { { { Field::Name1, QStringLiteral("\"  Livres  \""), QStringLiteral("{Shift+Ins}") },
              { Field::Name2, QStringLiteral("Y\"e\"ns"), QStringLiteral("{Ctrl+V}") },
              { Field::Symbol1, QStringLiteral("\""), QStringLiteral("{Shift+Ins}") },
              { Field::Rate, {}, QStringLiteral("12") } },
            { QStringLiteral("Livres"), QStringLiteral("Yens") },
            { QString(), QStringLiteral("F") }, 12 },
        // Empty fields are stored empty; an empty rate, or "," alone, stores 0.
        { { { Field::Name1, {}, QStringLiteral("\b") }, { Field::Name2, {}, QStringLiteral("   ") },
              { Field::Symbol1, {}, QStringLiteral("{Home}{Del}") },
              { Field::Rate, {}, QStringLiteral("\b") } },
            { QString(), QString() }, { QString(), QStringLiteral("F") }, 0 },
        { { { Field::Rate, {}, QStringLiteral("\b,") } },
            { QStringLiteral("Euros"), QStringLiteral("Francs") },
            { QStringLiteral("E"), QStringLiteral("F") }, 0 },
        { { { Field::Rate, {}, QStringLiteral("\b,5") } },
            { QStringLiteral("Euros"), QStringLiteral("Francs") },
            { QStringLiteral("E"), QStringLiteral("F") }, 0.5 },
        { { { Field::Rate, {}, QStringLiteral("6.") } },
            { QStringLiteral("Euros"), QStringLiteral("Francs") },
            { QStringLiteral("E"), QStringLiteral("F") }, 6 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EuroProgramme::StartUp();
        openDialog();
        for (const Edit& edit : c.edits) {
            setSystemClipboard(edit.clipboard);
            toolkit::TextBox& box = field(edit.field);
            box.setSelection(0, int(box.text().size()));
            type(box, edit.keys);
        }
        click(dialog().CommandOK);
        EXPECT_EQ(Settings.CurrencyName, c.names);
        EXPECT_EQ(Settings.CurrencySymbol, c.symbols);
        EXPECT_EQ(Settings.ConversionRate, c.rate);
        EXPECT_EQ(main().LabelEuro.caption(), c.symbols[0]);
        EXPECT_EQ(main().LabelFranc.caption(), c.symbols[1]);
        EXPECT_EQ(main().TextEuro.toolTipText(),
            u"Entrez ici le montant en "_s + c.names[0] + u" à convertir en "_s + c.names[1]);
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
    }
}

TEST_F(SettingsDialogTest, EveryWayOutUnloadsAndOnlyOkStores)
{
    enum class Way { Ok, Enter, Annuler, Escape, CloseBox, ResetAnnuler, ResetOk };
    struct Case {
        Way way;
        bool stored;
        SettingsRecord expected;
    };
    SettingsRecord edited = dollarsAndYens(0.5);
    edited.CurrencyName[0] = QStringLiteral("Livres");
    edited.ShowToolTips = 1;
    edited.DecimalsIndex = 4;
    SettingsRecord defaults = SettingsRecord::defaults();
    defaults.WindowLeft = 1000;
    defaults.WindowTop = 2000;
    defaults.WindowWidth = 4110;
    const Case cases[] = {
        { Way::Ok, true, edited },
        { Way::Enter, true, edited },
        { Way::Annuler, false, dollarsAndYens() },
        { Way::Escape, false, dollarsAndYens() },
        { Way::CloseBox, false, dollarsAndYens() },
        { Way::ResetAnnuler, false, dollarsAndYens() },
        { Way::ResetOk, true, defaults },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.way));
        startWithDollarsAndYens();
        type(main().TextEuro, u"2");
        ASSERT_EQ(main().TextFranc.text(), u"220"_s);

        openDialog();
        FrmParam& d = dialog();
        EXPECT_EQ(d.Text1[0].text(), u"Dollars"_s);
        EXPECT_EQ(d.Text3.text(), u"110"_s);
        d.Text1[0].setSelection(0, 7);
        type(d.Text1[0], u"Livres");
        d.Text3.setSelection(0, 3);
        type(d.Text3, u".5");
        d.Check1.setValue(1);
        d.Combo1.setListIndex(4);

        switch (c.way) {
        case Way::Ok:
            click(d.CommandOK);
            break;
        case Way::Enter:
            type(d.Text1[1], u"{Enter}");
            break;
        case Way::Annuler:
            click(d.CommandAnnul);
            break;
        case Way::Escape:
            type(d.Text3, u"{Esc}");
            break;
        case Way::CloseBox:
            d.window()->close();
            break;
        case Way::ResetAnnuler:
        case Way::ResetOk:
            click(d.CommandDefaut);
            EXPECT_EQ(d.Text1[0].text(), u"Euros"_s);
            EXPECT_EQ(d.Text2[1].text(), u"F"_s);
            EXPECT_EQ(d.Text3.text(), u"6,55957"_s);
            EXPECT_EQ(d.Combo1.listIndex(), 3);
            EXPECT_EQ(Settings, dollarsAndYens()) << "Reset leaves the settings alone";
            click(c.way == Way::ResetOk ? d.CommandOK : d.CommandAnnul);
            break;
        }

        EXPECT_FALSE(frmParam.exists());
        EXPECT_EQ(Settings, c.expected);
        EXPECT_EQ(main().TextEuro.text(), c.stored ? QString() : u"2"_s);
        EXPECT_EQ(main().TextFranc.text(), c.stored ? QString() : u"220"_s);
        EXPECT_TRUE(main().isVisible());

        openDialog(); // made afresh from the settings as they are now
        EXPECT_EQ(dialog().Text1[0].text(), c.expected.CurrencyName[0]);
        EXPECT_EQ(dialog().Combo1.listIndex(), c.expected.DecimalsIndex);
        EXPECT_EQ(dialog().Check1.value(), c.expected.ShowToolTips);
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsDialogTest, MainWindowConvertsWithTheOldSettingsUntilOk)
{
    EuroProgramme::StartUp();
    type(main().TextEuro, u"1");
    EXPECT_EQ(main().TextFranc.text(), u"6,56"_s);

    openDialog();
    dialog().Text3.setSelection(0, 7);
    type(dialog().Text3, u"2,5");
    dialog().Combo1.setListIndex(0);
    type(main().TextEuro, u"0");
    EXPECT_EQ(main().TextFranc.text(), u"65,596"_s) << "still 6.55957 and three decimals";

    click(dialog().CommandOK);
    EXPECT_TRUE(main().TextEuro.text().isEmpty());
    type(main().TextEuro, u"10");
    EXPECT_EQ(main().TextFranc.text(), u"25"_s);
    type(main().TextEuro, u",3");
    EXPECT_EQ(main().TextFranc.text(), u"26"_s) << "25.75 shown without decimals";
}

// --- Showing and placing ------------------------------------------------------------------------

TEST_F(SettingsDialogTest, OpeningAgainKeepsEditsAndPlaceUntilTheDialogIsUnloaded)
{
    enum class Way { Ok, Annuler, Escape, CloseBox };
    const Way ways[] = { Way::Ok, Way::Annuler, Way::Escape, Way::CloseBox };

    // At start-up nothing is framed yet: the dialog centres itself with its outer size over the
    // assumed frame. Made again later, it takes the frame the main window got.
    using toolkit::Form;
    float dialogWidth = 4230 + 2 * Form::AssumedFrameSide;
    float dialogHeight = 4860 + Form::AssumedFrameTop + Form::AssumedFrameSide;
    auto centredOn = [&](float left, float top, float width, float height) {
        return std::pair(float(double(left) + (double(width) - double(dialogWidth)) / 2.0),
            float(double(top) + (double(height) - double(dialogHeight)) / 2.0));
    };
    auto centred
        = [&] { return centredOn(main().left(), main().top(), main().width(), main().height()); };
    auto place = [] { return std::pair(dialog().left(), dialog().top()); };

    EuroProgramme::StartUp();
    const auto atStartUp = centredOn(3690, 3705, 4110,
        FrmQuilmar::DesignedClientHeight + Form::AssumedFrameTop + Form::AssumedFrameSide);
    main().setLeft(main().left() + 1501);
    main().setTop(main().top() - 301);

    openDialog();
    EXPECT_EQ(place(), atStartUp) << "placed when it was made, hidden, at start-up";
    type(dialog().Text1[0], u"{End} bis");
    openDialog();
    frmParam->show();
    EXPECT_EQ(dialog().Text1[0].text(), u"Euros bis"_s) << "opening again does not refill";
    EXPECT_EQ(place(), atStartUp);

    for (const Way way : ways) {
        SCOPED_TRACE(int(way));
        switch (way) {
        case Way::Ok:
            click(dialog().CommandOK);
            break;
        case Way::Annuler:
            click(dialog().CommandAnnul);
            break;
        case Way::Escape:
            type(dialog().Text2[0], u"{Esc}");
            break;
        case Way::CloseBox:
            dialog().window()->close();
            break;
        }
        ASSERT_FALSE(frmParam.exists());
        main().setLeft(main().left() - 700);
        main().setTop(main().top() + 451);
        openDialog();
        ASSERT_TRUE(dialog().isVisible());
        dialogWidth = 4230 + dialog().nonClientWidth();
        dialogHeight = 4860 + dialog().nonClientHeight();
        EXPECT_EQ(dialog().width(), dialogWidth) << "the outer size it was centred with";
        EXPECT_EQ(place(), centred());
        EXPECT_EQ(dialog().Text1[0].text(), Settings.CurrencyName[0]);
    }
}

// --- Values the field cannot show as they are ---------------------------------------------------

TEST_F(SettingsDialogTest, HandEditedValuesShowAsTheFieldsCanAndOkStoresWhatIsShown)
{
    struct Case {
        QByteArray name1, symbol1, rate;
        QString shownName, shownSymbol, shownRate;
        double loadedRate, storedRate;
        QString storedName, storedSymbol;
    };
    const Case cases[] = {
        { "\"Euros\"", "\"E\"", "1E-07", u"Euros"_s, u"E"_s, u"0,0000001"_s, 1e-7, 1e-7, u"Euros"_s,
            u"E"_s },
        { "\"Euros\"", "\"E\"", "1.5e20", u"Euros"_s, u"E"_s, u"150000000000000000000"_s, 1.5e20,
            1.5e20, u"Euros"_s, u"E"_s },
        { "\"Euros\"", "\"E\"", "-6.5", u"Euros"_s, u"E"_s, u"6,5"_s, -6.5, 6.5, u"Euros"_s,
            u"E"_s },
        { "\"Euros\"", "\"E\"", "0.1234567890123456789", u"Euros"_s, u"E"_s, u"0,123456789012346"_s,
            0.1234567890123456789, 0.123456789012346, u"Euros"_s, u"E"_s },
        { "\"Euros\"", "\"EUR\"", "6.55957", u"Euros"_s, u"E"_s, u"6,55957"_s, 6.55957, 6.55957,
            u"Euros"_s, u"E"_s },
        { "Eu\"ros", "E\"", "6.55957", u"Eu\"ros"_s, u"E"_s, u"6,55957"_s, 6.55957, 6.55957,
            u"Euros"_s, u"E"_s },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate.toStdString() + " " + c.symbol1.toStdString());
        writeFile(QStringLiteral("Quilmar.ini"),
            c.name1 + "\r\n\"Francs\"\r\n" + c.symbol1 + "\r\n\"F\"\r\n1\r\n" + c.rate
                + "\r\n3\r\n1000\r\n2000\r\n4110\r\n");
        EuroProgramme::StartUp();
        ASSERT_EQ(Settings.ConversionRate, c.loadedRate);
        openDialog();
        EXPECT_EQ(dialog().Text1[0].text(), c.shownName);
        EXPECT_EQ(dialog().Text2[0].text(), c.shownSymbol);
        EXPECT_EQ(dialog().Text3.text(), c.shownRate);

        click(dialog().CommandAnnul);
        EXPECT_EQ(Settings.ConversionRate, c.loadedRate) << "Annuler stores nothing";
        openDialog();
        click(dialog().CommandOK);
        EXPECT_EQ(Settings.ConversionRate, c.storedRate);
        EXPECT_EQ(Settings.CurrencyName[0], c.storedName);
        EXPECT_EQ(Settings.CurrencySymbol[0], c.storedSymbol);
        openDialog();
        EXPECT_EQ(dialog().Text3.text(), c.shownRate) << "what OK stored shows the same";
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
    }
}

// --- The file written when the program ends -----------------------------------------------------

TEST_F(SettingsDialogTest, TheFileWrittenAtClosingHoldsWhatOkStored)
{
    struct Case {
        bool ok;
        QByteArray file;
    };
    const Case cases[] = {
        { true,
            "\"Livres\"\r\n\"Yens\"\r\n\"L\"\r\n\"Y\"\r\n1\r\n2.5\r\n0\r\n1000\r\n2000\r\n"
            "4110\r\n" },
        { false,
            "\"Dollars\"\r\n\"Yens\"\r\n\"$\"\r\n\"Y\"\r\n0\r\n1e-07\r\n2\r\n1000\r\n2000\r\n"
            "4110\r\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ok);
        startWithDollarsAndYens("1e-07");
        openDialog();
        FrmParam& d = dialog();
        d.Text1[0].setSelection(0, 7);
        type(d.Text1[0], u" \"Livres\" ");
        type(d.Text2[0], u"L");
        d.Text3.setSelection(0, int(d.Text3.text().size()));
        type(d.Text3, u"2.5");
        d.Check1.setValue(1);
        d.Combo1.setListIndex(0);
        click(c.ok ? d.CommandOK : d.CommandAnnul);

        main().window()->close();
        EXPECT_TRUE(toolkit::Form::programEnded());
        EXPECT_EQ(readFile(QStringLiteral("Quilmar.ini")), c.file);
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
    }
}

} // namespace
