// The main window through its real widgets: keystrokes and the copy and paste buttons of the
// amount fields, the image buttons under the mouse, and every way the window closes.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QTest>
#include <csignal>
#include <string>

namespace {

FrmQuilmar& main() { return *frmQuilmar; }
QString qstr(const char* utf8) { return QString::fromUtf8(utf8); }
std::string str(const QString& text) { return text.toStdString(); }
void click(toolkit::PictureBox& button) { QTest::mouseClick(button.widget(), Qt::LeftButton); }

// Types ASCII keys as the platform delivers them, each with its text; "^X" is Ctrl+X.
void type(toolkit::TextBox& box, const QString& keys)
{
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const bool ctrl = keys[i] == u'^';
        const QChar key = keys[ctrl ? ++i : i];
        QTest::sendKeyEvent(QTest::Click, box.widget(), QTest::asciiToKey(key.toLatin1()),
            QString(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
    }
}

// A termination signal, which the program turns into a closing of its main window.
void raiseSignal(int signal)
{
    struct sigaction current = {};
    sigaction(signal, nullptr, &current);
    ASSERT_NE(current.sa_handler, SIG_DFL) << "raised, it would end the test program itself";
    std::raise(signal);
    EXPECT_TRUE(QTest::qWaitFor([] { return toolkit::Form::programEnded(); }, 5000));
}

class MainWindowTest : public ProgramFixture { };

TEST_F(MainWindowTest, KeysAndButtonsOfEachAmountFieldGoThroughItsRule)
{
    // The field, the characters selected from its start (-1: the caret at its end), the image
    // button clicked, the text the program sets in the field first, the clipboard, the keys typed
    // when no button is clicked, and the field, the other one and the clipboard afterwards.
    struct Case {
        bool franc;
        int selected;
        toolkit::PictureBox FrmQuilmar::*button;
        const char *before, *clipboard, *keys, *after;
    };
    const Case cases[] = {
        // Digits and one separator, "." typed as ",".
        { false, -1, nullptr, "", "", "a1.-+ 5,.", "1,5|9,839|" },
        { true, -1, nullptr, "7", "", "\b", "||" }, // both emptied
        { false, 1, nullptr, "12,5", "x", "^C", "12,5|81,995|12,5" }, // the whole field
        { false, 0, nullptr, "7", "-12 345 €", "^V", "12345|80977,892|-12 345 €" }, // replaced
        { true, -1, nullptr, "", "12.50", "^V", "12,50|1,906|12.50" },
        { false, 2, nullptr, "12", "x", "^X3^Z^A4", "34|223,025|x" }, // no cut, undo, select all
        { false, -1, &FrmQuilmar::PictureColler1, "1", "12,50", "", "12,50|81,995|12,50" },
        { true, -1, &FrmQuilmar::PictureColler2, "", "-12 345 €", "", "12345|1881,983|-12 345 €" },
        { false, -1, &FrmQuilmar::PictureCopier1, "12,5", "x", "", "12,5|81,995|12,5" },
        { true, -1, &FrmQuilmar::PictureCopier2, "6,56", "x", "", "6,56|1|6,56" },
    };
    EuroProgramme::StartUp();
    FrmQuilmar& m = main();
    for (const Case& c : cases) {
        toolkit::TextBox& own = c.franc ? m.TextFranc : m.TextEuro;
        own.setText(qstr(c.before));
        if (c.selected >= 0)
            own.setSelection(0, c.selected);
        clipboard.setText(qstr(c.clipboard));
        if (c.button)
            click(m.*c.button);
        else
            type(own, qstr(c.keys));
        const QString other = (c.franc ? m.TextEuro : m.TextFranc).text();
        EXPECT_EQ(str(own.text() + u'|' + other + u'|' + clipboard.getText()), c.after) << c.keys;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, OverflowShowsTheMessageAndPutsBackTheLastGoodPair)
{
    EuroProgramme::StartUp();
    type(main().TextEuro, QStringLiteral("1234567890123456"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(str(messages[0].title + u'|' + messages[0].text),
        "Erreur !|Dépassement du nombre de\ncaractères maximum.");
    EXPECT_EQ(str(main().TextEuro.text() + u'|' + main().TextFranc.text()),
        "123456789012345|809823449501707,878");
    type(main().TextEuro, QStringLiteral("\b"));
    EXPECT_EQ(str(main().TextEuro.text()), "12345678901234") << "the field goes on working";
}

TEST_F(MainWindowTest, AnyMouseButtonShowsThePressedLookButOnlyAPrimaryClickActs)
{
    EuroProgramme::StartUp();
    clipboard.setText(QStringLiteral("7"));
    FrmQuilmar& m = main();
    for (toolkit::PictureBox* box : { &m.PictureCopier1, &m.PictureCopier2, &m.PictureColler1,
             &m.PictureColler2, &m.Picture1, &m.Picture2 }) {
        for (const Qt::MouseButton mouse : { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton }) {
            QTest::mousePress(box->widget(), mouse, Qt::ShiftModifier, QPoint(3, 20));
            EXPECT_EQ(box->borderStyle(), 1) << str(box->toolTipText()) << mouse;
            // The primary button is let go off the image: no click.
            const QPoint at = mouse == Qt::LeftButton ? QPoint(-3, 20) : QPoint(3, 20);
            QTest::mouseRelease(box->widget(), mouse, Qt::ShiftModifier, at);
            EXPECT_EQ(box->borderStyle(), 0) << str(box->toolTipText()) << mouse;
        }
    }
    EXPECT_TRUE(m.TextEuro.text().isEmpty() && clipboard.getText() == QStringLiteral("7")
        && !frmAide.exists() && !frmParam->isVisible())
        << "nothing pasted, copied or opened";
}

TEST_F(MainWindowTest, EveryClosingSavesTheRestoredGeometryAndTheSettingsAndEndsTheProgram)
{
    // The closing; the window state (1: minimised) set between the place and the width; and the
    // place and width saved, in whole twips with halves to even.
    struct Case {
        void (*close)();
        int state;
        float left, top, width;
        const char* saved;
    };
    const Case cases[] = {
        { [] { frmQuilmar->window()->close(); }, 1, 2000, 3000, 5000, "2000 3000 5000" },
        { [] { frmQuilmar.unload(); }, 0, 1000.5f, 1001.5f, 4111.5f, "1000 1002 4112" },
        { [] { toolkit::Form::closeAll(); }, 0, -1500.5f, -45.5f, 2900.5f, "-1500 -46 2900" },
        { [] { raiseSignal(SIGTERM); }, 1, 1200, -300, 4110, "1200 -300 4110" },
        { [] { raiseSignal(SIGHUP); }, 0, 1200, -300, 4110, "1200 -300 4110" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        toolkit::Form::destroyAll();
        EuroProgramme::StartUp();
        FrmQuilmar& m = main();
        click(m.Picture1);
        click(m.Picture2);
        frmParam->Text1[0].setText(QStringLiteral("Dollars")); // an edit the dialog has not stored
        EuroProgramme::Settings.DecimalsIndex = 1; // a setting it has
        m.setLeft(c.left);
        m.setTop(c.top);
        m.setWindowState(c.state);
        m.setWidth(c.width);
        c.close();
        EXPECT_TRUE(toolkit::Form::programEnded());
        EXPECT_EQ(readFile(QStringLiteral("Quilmar.ini")),
            "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n1\r\n"
                + QByteArray(c.saved).replace(' ', "\r\n") + "\r\n");
        EXPECT_EQ(m.windowState(), 0);
        EXPECT_EQ(m.Picture1.left(), m.width() - 630) << "laid out again on restoring";
        EXPECT_FALSE(m.isVisible() || frmAide->isVisible() || frmParam->isVisible());
    }
}

} // namespace
