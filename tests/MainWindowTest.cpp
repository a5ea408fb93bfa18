// The main window through its real widgets: keystrokes in the amount fields, the image buttons
// under the mouse, and every way the window closes.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <csignal>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using namespace Qt::StringLiterals;
using EuroProgramme::Settings;

enum Row { Euro, Franc };

// Types keys as the platform delivers them. "^X" is Ctrl+X; \b, \r and \x1b are Backspace,
// Enter and Escape; any other character is typed with its text.
void type(toolkit::TextBox& field, const QString& keys)
{
    QWidget* widget = field.widget();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar ch = keys.at(i);
        if (ch == u'^') {
            const auto letter = Qt::Key(keys.at(++i).unicode());
            QTest::keyClick(widget, letter, Qt::ControlModifier);
        } else if (ch == u'\b') {
            QTest::keyClick(widget, Qt::Key_Backspace);
        } else if (ch == u'\r') {
            QTest::keyClick(widget, Qt::Key_Return);
        } else if (ch == u'\x1b') {
            QTest::keyClick(widget, Qt::Key_Escape);
        } else {
            const char16_t c = ch.toUpper().unicode();
            const auto key = c < 0x7F ? Qt::Key(c) : Qt::Key_unknown;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &release);
        }
    }
}

QByteArray iniBytes(int left, int top, int width, int decimalsIndex = 3)
{
    return "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n"
        + QByteArray::number(decimalsIndex) + "\r\n" + QByteArray::number(left) + "\r\n"
        + QByteArray::number(top) + "\r\n" + QByteArray::number(width) + "\r\n";
}

class MainWindowTest : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        EuroProgramme::StartUp();
        // What each keystroke became once the window's own filter had seen it.
        for (toolkit::TextBox* field : { &main().TextEuro, &main().TextFranc }) {
            field->onKeyPress = [this, filter = field->onKeyPress](std::int16_t& code) {
                filter(code);
                codes.push_back(code);
            };
        }
    }

    static FrmQuilmar& main() { return *frmQuilmar; }
    static toolkit::TextBox& field(Row row)
    {
        return row == Euro ? main().TextEuro : main().TextFranc;
    }
    static toolkit::TextBox& other(Row row) { return field(row == Euro ? Franc : Euro); }

    static void click(toolkit::PictureBox& button)
    {
        QTest::mouseClick(button.widget(), Qt::LeftButton);
    }

    std::vector<int> codes;
};

// --- Keystrokes ---------------------------------------------------------------------------------

struct KeyCase {
    const char* name;
    Row row;
    QString before; // set by the program, so it converts
    int selectionStart, selectionLength; // -1: caret at the end
    QString clipboard;
    QString keys;
    std::vector<int> codes; // what reached the field, 0 for a dropped key
    QString own, other, clipboardAfter;
};

TEST_F(MainWindowTest, KeystrokeRuleThroughRealKeys)
{
    const KeyCase cases[] = {
        { "dotBecomesComma", Euro, {}, -1, 0, {}, u"1.5"_s, { 49, 44, 53 }, u"1,5"_s, u"9,839"_s,
            {} },
        { "secondSeparatorDropped", Euro, {}, -1, 0, {}, u"1,5.,2"_s, { 49, 44, 53, 0, 0, 50 },
            u"1,52"_s, u"9,971"_s, {} },
        { "commaOverSelectedCommaDropped", Euro, u"1,5"_s, 1, 1, {}, u","_s, { 0 }, u"1,5"_s,
            u"9,839"_s, {} },
        { "backspace", Euro, u"12"_s, -1, 0, {}, u"\b"_s, { 8 }, u"1"_s, u"6,56"_s, {} },
        { "backspaceToEmptyEmptiesBoth", Franc, u"7"_s, -1, 0, {}, u"\b"_s, { 8 }, {}, {}, {} },
        { "enterAndEscapeDropped", Euro, {}, -1, 0, {}, u"1\r\x1b"_s, { 49, 0, 0 }, u"1"_s,
            u"6,56"_s, {} },
        { "lettersSignsAndSpacesDropped", Euro, {}, -1, 0, {}, u"a-+ é€1"_s,
            { 0, 0, 0, 0, 0, 0, 49 }, u"1"_s, u"6,56"_s, {} },
        { "ctrlCCopiesTheWholeField", Euro, u"12,5"_s, 0, 1, u"x"_s, u"^C"_s, { 0 }, u"12,5"_s,
            u"81,995"_s, u"12,5"_s },
        { "ctrlCOfAnEmptyFieldEmptiesTheClipboard", Franc, {}, -1, 0, u"x"_s, u"^C"_s, { 0 }, {},
            {}, {} },
        { "ctrlVReplacesTheWholeField", Euro, u"7"_s, 0, 0, u"-12 345 €"_s, u"^V"_s, { 0 },
            u"12345"_s, u"80977,892"_s, u"-12 345 €"_s },
        { "ctrlVInTheSecondField", Franc, {}, -1, 0, u"12.50"_s, u"^V"_s, { 0 }, u"12,50"_s,
            u"1,906"_s, u"12.50"_s },
        { "ctrlXDropped", Euro, u"12"_s, 0, 2, u"x"_s, u"^X"_s, { 0 }, u"12"_s, u"78,715"_s,
            u"x"_s },
        { "ctrlZDropped", Euro, u"12"_s, -1, 0, {}, u"3^Z"_s, { 51, 0 }, u"123"_s, u"806,827"_s,
            {} },
        { "ctrlADropped", Euro, u"12"_s, -1, 0, {}, u"^A4"_s, { 0, 52 }, u"124"_s, u"813,387"_s,
            {} },
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (Row row : { Euro, Franc })
            field(row).setText({});
        field(c.row).setText(c.before);
        if (c.selectionStart >= 0)
            field(c.row).setSelection(c.selectionStart, c.selectionLength);
        clipboard.setText(c.clipboard);
        codes.clear();
        type(field(c.row), c.keys);
        EXPECT_EQ(codes, c.codes);
        EXPECT_EQ(field(c.row).text(), c.own);
        EXPECT_EQ(other(c.row).text(), c.other);
        EXPECT_EQ(clipboard.getText(), c.clipboardAfter);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, TypingConvertsIntoTheOtherField)
{
    struct Case {
        std::uint8_t decimalsIndex;
        Row row;
        QString keys, own, other;
    };
    const Case cases[] = {
        { 4, Euro, u"1"_s, u"1"_s, u"6,5596"_s },
        { 0, Euro, u"1"_s, u"1"_s, u"7"_s },
        { 3, Euro, u"007"_s, u"007"_s, u"45,917"_s },
        { 3, Euro, u"12."_s, u"12,"_s, u"78,715"_s },
        { 2, Euro, u"0.01"_s, u"0,01"_s, u"0,07"_s },
        { 1, Euro, u"2,5"_s, u"2,5"_s, u"16,4"_s },
        { 3, Franc, u"100"_s, u"100"_s, u"15,245"_s },
        { 4, Franc, u"100"_s, u"100"_s, u"15,2449"_s },
        { 3, Franc, u"0.5"_s, u"0,5"_s, u"0,076"_s },
        { 0, Franc, u"50"_s, u"50"_s, u"8"_s },
        { 2, Franc, u"3"_s, u"3"_s, u"0,46"_s },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.toStdString() + (c.row == Euro ? " E" : " F"));
        for (Row row : { Euro, Franc })
            field(row).setText({});
        Settings.DecimalsIndex = c.decimalsIndex;
        type(field(c.row), c.keys);
        EXPECT_EQ(field(c.row).text(), c.own) << "the typed field keeps what was typed";
        EXPECT_EQ(other(c.row).text(), c.other);
        EXPECT_EQ(main().conversion().state().ConversionSource, 0);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, OverflowShowsTheMessageAndPutsBackTheLastGoodPair)
{
    struct Case {
        Row row;
        QString clipboard, keys, own, other;
    };
    const Case cases[] = {
        { Euro, {}, u"1234567890123456"_s, u"123456789012345"_s, u"809823449501707,878"_s },
        { Franc, {}, u"12345678901234567"_s, u"1234567890123456"_s, u"188208661562184,115"_s },
        { Euro, u"1234567890123456"_s, u"^V"_s, {}, {} }, // nothing converted yet: both empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.toStdString());
        toolkit::Form::destroyAll();
        messages.clear();
        EuroProgramme::StartUp();
        clipboard.setText(c.clipboard);
        type(field(c.row), c.keys);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, u"Dépassement du nombre de\ncaractères maximum."_s);
        EXPECT_EQ(messages[0].title, u"Erreur !"_s);
        EXPECT_EQ(messages[0].style, 64);
        EXPECT_EQ(field(c.row).text(), c.own);
        EXPECT_EQ(other(c.row).text(), c.other);
        EXPECT_EQ(main().conversion().state().ConversionSource, 0);

        // The field goes on working after the restore.
        type(field(c.row), u"\b"_s);
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(field(c.row).text(), c.own.left(c.own.size() - 1));
    }
}

// --- Image buttons ------------------------------------------------------------------------------

TEST_F(MainWindowTest, CopyAndPasteButtonsMoveAmountsThroughTheClipboard)
{
    struct Case {
        const char* name;
        toolkit::PictureBox FrmQuilmar::*button;
        QString euro, clipboard;
        QString euroAfter, francAfter, clipboardAfter;
        int clears;
    };
    const Case cases[] = {
        { "pasteIntoEuro", &FrmQuilmar::PictureColler1, u"1"_s, u"12,50"_s, u"12,50"_s, u"81,995"_s,
            u"12,50"_s, 0 },
        { "pasteIntoEuroKeepsDigitsOnly", &FrmQuilmar::PictureColler1, {}, u"-12 345 €"_s,
            u"12345"_s, u"80977,892"_s, u"-12 345 €"_s, 0 },
        { "pasteIntoFranc", &FrmQuilmar::PictureColler2, u"1"_s, u"-12 345 €"_s, u"1881,983"_s,
            u"12345"_s, u"-12 345 €"_s, 0 },
        { "pasteWithoutDigitsEmptiesBoth", &FrmQuilmar::PictureColler2, u"1"_s, u"abc"_s, {}, {},
            u"abc"_s, 0 },
        { "copyEuro", &FrmQuilmar::PictureCopier1, u"12,5"_s, u"x"_s, u"12,5"_s, u"81,995"_s,
            u"12,5"_s, 1 },
        { "copyFranc", &FrmQuilmar::PictureCopier2, u"1"_s, u"x"_s, u"1"_s, u"6,56"_s, u"6,56"_s,
            1 },
        { "copyEmptyClearsTheClipboard", &FrmQuilmar::PictureCopier1, {}, u"x"_s, {}, {}, {}, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        main().TextEuro.setText(c.euro);
        clipboard.setText(c.clipboard);
        const int clears = clipboard.clears();
        click(main().*c.button);
        EXPECT_EQ(main().TextEuro.text(), c.euroAfter);
        EXPECT_EQ(main().TextFranc.text(), c.francAfter);
        EXPECT_EQ(clipboard.getText(), c.clipboardAfter);
        EXPECT_EQ(clipboard.clears() - clears, c.clears);
    }
}

TEST_F(MainWindowTest, EveryImageButtonLooksPressedWhileAnyMouseButtonIsHeld)
{
    toolkit::PictureBox FrmQuilmar::*const buttons[]
        = { &FrmQuilmar::PictureCopier1, &FrmQuilmar::PictureCopier2, &FrmQuilmar::PictureColler1,
              &FrmQuilmar::PictureColler2, &FrmQuilmar::Picture1, &FrmQuilmar::Picture2 };
    for (auto button : buttons) {
        toolkit::PictureBox& box = main().*button;
        for (Qt::MouseButton mouse : { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton }) {
            SCOPED_TRACE(box.toolTipText().toStdString() + " " + std::to_string(int(mouse)));
            EXPECT_EQ(box.borderStyle(), 0);
            QTest::mousePress(box.widget(), mouse, Qt::ShiftModifier, QPoint(3, 20));
            EXPECT_EQ(box.borderStyle(), 1);
            QTest::mouseRelease(box.widget(), mouse, Qt::ShiftModifier, QPoint(3, 20));
            EXPECT_EQ(box.borderStyle(), 0);
        }
    }
}

TEST_F(MainWindowTest, SettingsButtonShowsTheDialogMadeAtStartUpWithoutLoadingItAgain)
{
    ASSERT_TRUE(frmParam.exists());
    FrmParam& made = *frmParam;
    const float left = made.left();
    const float top = made.top();
    // Marks that a new load would overwrite, and a main window moved since the centring.
    made.Text1[0].setText(u"Dollars"_s);
    main().setLeft(main().left() + 3000);

    struct Step {
        const char* what;
        bool closeFirst;
        QString name; // what the dialog's first name field shows afterwards
        bool centredAgain;
    };
    const Step steps[] = {
        { "first click shows the hidden dialog", false, u"Dollars"_s, false },
        { "a click while open only raises it", false, u"Dollars"_s, false },
        { "after Annuler it is made afresh", true, u"Euros"_s, true },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.closeFirst) {
            frmParam->CommandAnnul.click();
            ASSERT_FALSE(frmParam.exists());
        }
        click(main().Picture2);
        ASSERT_TRUE(frmParam.exists());
        FrmParam& dialog = *frmParam;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(main().isVisible()) << "modeless: the main window stays";
        EXPECT_EQ(dialog.Text1[0].text(), s.name);
        if (s.centredAgain) {
            // Made again once the main window is framed, it is centred with its real frame.
            const double width = dialog.width();
            const double height = dialog.height();
            EXPECT_EQ(dialog.top(), float(main().top() + (main().height() - height) / 2));
            EXPECT_EQ(dialog.left(), float(main().left() + (main().width() - width) / 2));
        } else {
            EXPECT_EQ(dialog.top(), top);
            EXPECT_EQ(dialog.left(), left);
        }
    }
}

// --- Closing ------------------------------------------------------------------------------------

TEST_F(MainWindowTest, ClosingStoresTheRestoredGeometryRoundedHalfToEven)
{
    struct Case {
        const char* name;
        QByteArray iniBefore;
        bool move;
        float left, top, width;
        bool minimise;
        float widthWhileMinimised; // 0: none
        QByteArray iniAfter;
    };
    const Case cases[] = {
        { "designed place, nothing changed", {}, false, 0, 0, 0, false, 0,
            iniBytes(3690, 3705, 4110) },
        { "saved place, nothing changed", iniBytes(1001, 1000, 4111), false, 0, 0, 0, false, 0,
            iniBytes(1001, 1000, 4111) },
        { "moved since the last run", iniBytes(1001, 1000, 4111), true, 20, 30, 5700, false, 0,
            iniBytes(20, 30, 5700) },
        { "halves to even", {}, true, 1000.5f, 1001.5f, 4111.5f, false, 0,
            iniBytes(1000, 1002, 4112) },
        { "negative halves to even", {}, true, -1500.5f, -45.5f, 2900.5f, false, 0,
            iniBytes(-1500, -46, 2900) },
        { "minimised", {}, true, 2000, 3000, 4110, true, 0, iniBytes(2000, 3000, 4110) },
        { "resized while minimised", {}, true, 2000, 3000, 4110, true, 5000,
            iniBytes(2000, 3000, 5000) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
        QFile::remove(path(u"Quilmar.ini"_s));
        if (!c.iniBefore.isEmpty())
            writeFile(u"Quilmar.ini"_s, c.iniBefore);
        EuroProgramme::StartUp();
        FrmQuilmar& window = main();
        if (c.move) {
            window.setLeft(c.left);
            window.setTop(c.top);
            window.setWidth(c.width);
        }
        if (c.minimise) {
            window.setWindowState(1);
            if (c.widthWhileMinimised > 0)
                window.setWidth(c.widthWhileMinimised);
        }
        window.window()->close();
        EXPECT_TRUE(toolkit::Form::programEnded());
        EXPECT_EQ(readFile(u"Quilmar.ini"_s), c.iniAfter);
        EXPECT_EQ(window.windowState(), 0);
        EXPECT_EQ(window.Picture1.left(), window.width() - 630) << "the layout ran on restoring";
    }
}

// How the main window may be closed, each with both other windows open.
enum class Closing { CloseBox, Unload, SessionEnd, Terminate, HangUp };

void close(Closing how)
{
    switch (how) {
    case Closing::CloseBox:
        frmQuilmar->window()->close();
        return;
    case Closing::Unload:
        frmQuilmar.unload();
        return;
    case Closing::SessionEnd:
        toolkit::Form::closeAll();
        return;
    case Closing::Terminate:
    case Closing::HangUp: {
        const int signal = how == Closing::Terminate ? SIGTERM : SIGHUP;
        struct sigaction current = {};
        sigaction(signal, nullptr, &current);
        // Raised without a handler, the signal would end the test program itself.
        ASSERT_NE(current.sa_handler, SIG_DFL) << "the signal is not turned into a close";
        std::raise(signal);
        EXPECT_TRUE(QTest::qWaitFor([] { return toolkit::Form::programEnded(); }, 5000));
        return;
    }
    }
}

TEST_F(MainWindowTest, EveryClosingSavesTheSettingsHeldInMemoryAndEndsTheProgram)
{
    const std::pair<const char*, Closing> ways[] = { { "close box", Closing::CloseBox },
        { "unload", Closing::Unload }, { "session end", Closing::SessionEnd },
        { "SIGTERM", Closing::Terminate }, { "SIGHUP", Closing::HangUp } };
    for (const auto& [name, how] : ways) {
        SCOPED_TRACE(name);
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
        QFile::remove(path(u"Quilmar.ini"_s));
        EuroProgramme::StartUp();
        main().setLeft(1200);
        main().setTop(-300);
        click(main().Picture1);
        click(main().Picture2);
        ASSERT_TRUE(frmAide->isVisible());
        ASSERT_TRUE(frmParam->isVisible());
        frmParam->Text1[0].setText(u"Dollars"_s); // an edit the dialog has not stored
        Settings.DecimalsIndex = 1; // one it has
        close(how);
        EXPECT_TRUE(toolkit::Form::programEnded());
        EXPECT_EQ(readFile(u"Quilmar.ini"_s), iniBytes(1200, -300, 4110, 1));
        EXPECT_FALSE(frmQuilmar->isVisible());
        EXPECT_FALSE(frmAide->isVisible());
        EXPECT_FALSE(frmParam->isVisible());
    }
}

} // namespace
