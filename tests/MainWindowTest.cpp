// The main window through its real widgets: the paste buttons of the amount fields, the image
// buttons under keys, the mouse and a screen reader, and the closings that only the program itself
// can make. The conversion rules are proven on windowless fields; the keys typed into the fields,
// the copy buttons, the signals and the window manager's closings end to end.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/KeyScript.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/Text.h"
#include "toolkit/FormWindow.h"

#include <QAccessible>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

FrmQuilmar& main() { return *frmQuilmar; }
void click(toolkit::PictureBox& button) { QTest::mouseClick(button.widget(), Qt::LeftButton); }

class MainWindowTest : public StartedProgramFixture { };

// The keys typed into the fields are proven on windowless fields and end to end; the paste
// buttons only here.
TEST_F(MainWindowTest, PasteButtonsReplaceTheirFieldByTheCleanedClipboard)
{
    // The field and its paste button; the text the program sets in the field first, the
    // clipboard; and the field, the other one and the clipboard afterwards.
    using Button = toolkit::PictureBox FrmQuilmar::*;
    struct Case {
        const char* name;
        bool franc;
        Button button;
        const char *before, *clip, *after;
    };
    // clang-format off
    const Case cases[] = {
        { "PasteButtonOfTextEuro", false, &FrmQuilmar::PictureColler1, "1", "12,50", "12,50|81,995|12,50" },
        { "PasteButtonOfTextFrancCleans", true, &FrmQuilmar::PictureColler2, "", "-12 345 €", "12345|1881,983|-12 345 €" },
    };
    // clang-format on
    FrmQuilmar& m = main();
    for (const auto& [name, franc, button, before, clip, after] : cases) {
        SCOPED_TRACE(name);
        toolkit::TextBox& own = franc ? m.TextFranc : m.TextEuro;
        own.setText(QString::fromUtf8(before));
        clipboard.setText(QString::fromUtf8(clip));
        click(m.*button);
        const QString other = (franc ? m.TextEuro : m.TextFranc).text();
        EXPECT_EQ(str(own.text() + u'|' + other + u'|' + clipboard.getText()), after);
    }
}

// Each input is held on each image button, then let go, the primary mouse button off the image;
// meanwhile the focus may leave. What is seen: the clicks, the button down as a screen reader
// reads it (the picture pressed in), and the border that is the mouse's pressed look. Keypad
// Enter is pressed end to end.
TEST_F(MainWindowTest, ImageButtonsUnderKeysAndMouse)
{
    struct Case {
        const char* name;
        Qt::MouseButton mouse; // else the key, else a screen reader's default action
        const char* key;
        bool focusLeaves;
        const char *held, *released;
    };
    // clang-format off
    const Case cases[] = {
        { "SpaceClicksOnRelease", Qt::NoButton, "Space", false, "down", "click" },
        { "EnterClicksAtOnce", Qt::NoButton, "Return", false, "click", "click" },
        { "FocusLeavingUnderSpaceCancels", Qt::NoButton, "Space", true, "", "" },
        { "CtrlSpaceIsNoClick", Qt::NoButton, "Ctrl+Space", false, "", "" },
        { "ScreenReadersDefaultActionClicks", Qt::NoButton, "", false, "click", "click" },
        { "PrimaryButtonLetGoOffTheImageIsNoClick", Qt::LeftButton, "", false, "down border", "" },
        { "SecondaryButtonIsNoClick", Qt::RightButton, "", false, "down border", "" },
        { "MiddleButtonIsNoClick", Qt::MiddleButton, "", false, "down border", "" },
    };
    // clang-format on
    FrmQuilmar& m = main();
    for (toolkit::PictureBox* button : { &m.PictureCopier1, &m.PictureCopier2, &m.PictureColler1,
             &m.PictureColler2, &m.Picture1, &m.Picture2 }) {
        SCOPED_TRACE(str(button->toolTipText()));
        QWidget* w = button->widget();
        QAccessibleActionInterface* actions
            = QAccessible::queryAccessibleInterface(w)->actionInterface();
        ASSERT_TRUE(actions);
        int clicks = 0;
        button->onClick = [&] { ++clicks; };
        const auto seen = [&] {
            QStringList seen(clicks, u"click"_s);
            if (QAccessible::queryAccessibleInterface(w)->state().pressed)
                seen << u"down"_s;
            if (button->borderStyle() != toolkit::BorderStyle::None)
                seen << u"border"_s;
            return str(seen.join(u' '));
        };
        for (const auto& [name, mouse, keyName, focusLeaves, held, released] : cases) {
            SCOPED_TRACE(name);
            clicks = 0;
            button->setFocus();
            const QKeyCombination key = namedKey(QString::fromLatin1(keyName));
            if (mouse)
                QTest::mousePress(w, mouse, Qt::ShiftModifier, QPoint(3, 20));
            else if (*keyName)
                QTest::keyPress(w, key.key(), key.keyboardModifiers());
            else
                actions->doAction(actions->actionNames().value(0));
            if (focusLeaves)
                m.TextEuro.setFocus();
            EXPECT_EQ(seen(), held) << "held";
            if (mouse)
                QTest::mouseRelease(
                    w, mouse, Qt::ShiftModifier, QPoint(mouse == Qt::LeftButton ? -3 : 3, 20));
            else if (*keyName)
                QTest::keyRelease(w, key.key(), key.keyboardModifiers());
            EXPECT_EQ(seen(), released) << "let go";
        }
    }
}

// Closed while minimised, the normal place and width are saved, in whole twips with halves to
// even.
TEST_F(MainWindowTest, EveryClosingSavesTheRestoredGeometryAndEndsTheProgram)
{
    struct Case {
        const char* name;
        void (*close)();
        toolkit::WindowState state; // set between the place and the width
        float left, top, width;
        QByteArray saved;
    };
    using enum toolkit::WindowState;
    // clang-format off
    const Case cases[] = {
        { "CloseBoxWhileMinimised", [] { frmQuilmar->window()->close(); }, Minimised, 2000, 3000, 5000, "2000 3000 5000" },
        { "UnloadRoundsHalvesToEven", [] { frmQuilmar.unload(); }, Normal, 1000.5f, 1001.5f, 4111.5f, "1000 1002 4112" },
    };
    // clang-format on
    for (const auto& [name, close, state, left, top, width, saved] : cases) {
        SCOPED_TRACE(name);
        toolkit::Form::destroyAll();
        EuroProgramme::StartUp();
        FrmQuilmar& m = main();
        click(m.Picture1);
        click(m.Picture2);
        m.setLeft(left);
        m.setTop(top);
        m.setWindowState(state);
        m.setWidth(width);
        close();
        EXPECT_TRUE(toolkit::Form::programEnded());
        EXPECT_EQ(readFile(u"Quilmar.ini"_s),
            "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n3\r\n"
                + QByteArray(saved).replace(' ', "\r\n") + "\r\n");
        EXPECT_FALSE(m.isVisible() || frmAide->isVisible() || frmParam->isVisible());
    }
}

} // namespace
