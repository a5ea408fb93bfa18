// The windows from the keyboard and through Qt's accessibility interface, which screen readers
// read: the image buttons as push buttons, the windows' roles and names, the dialog's labels and
// the help document's lines.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QAccessible>
#include <QImage>
#include <QTest>
#include <functional>

namespace {

using namespace Qt::StringLiterals;

QAccessibleInterface* accessible(const toolkit::Control& control)
{
    return QAccessible::queryAccessibleInterface(control.widget());
}

class KeyboardAndScreenReaderTest : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        EuroProgramme::StartUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frmQuilmar->window()));
    }
};

using Button = toolkit::PictureBox FrmQuilmar::*;

struct ButtonCase {
    const char* name;
    Button button;
    QString accessibleName;
    std::function<bool()> done; // what its click did
};

const ButtonCase Buttons[] = {
    { "Copier1", &FrmQuilmar::PictureCopier1, u"Copier le montant en Euros"_s,
        [] { return toolkit::Clipboard::current().getText() == u"12,5"_s; } },
    { "Copier2", &FrmQuilmar::PictureCopier2, u"Copier le montant en Francs"_s,
        [] { return toolkit::Clipboard::current().getText() == u"81,995"_s; } },
    { "Coller1", &FrmQuilmar::PictureColler1, u"Coller le montant en Euros"_s,
        [] { return frmQuilmar->TextEuro.text() == u"7"_s; } },
    { "Coller2", &FrmQuilmar::PictureColler2, u"Coller le montant en Francs"_s,
        [] { return frmQuilmar->TextFranc.text() == u"7"_s; } },
    { "Aide", &FrmQuilmar::Picture1, u"Aide"_s,
        [] { return frmAide.exists() && frmAide->isVisible(); } },
    { "Parametres", &FrmQuilmar::Picture2, u"Paramètres"_s, [] { return frmParam->isVisible(); } },
};

TEST_F(KeyboardAndScreenReaderTest, ImageButtonsArePushButtonsWhoseDefaultActionClicks)
{
    for (const ButtonCase& c : Buttons) {
        SCOPED_TRACE(c.name);
        frmQuilmar->TextEuro.setText(u"12,5"_s);
        clipboard.setText(u"7"_s);
        QAccessibleInterface* button = accessible(frmQuilmar.get().*c.button);
        EXPECT_EQ(button->role(), QAccessible::Button);
        EXPECT_EQ(button->text(QAccessible::Name), c.accessibleName);
        ASSERT_TRUE(button->actionInterface());
        const QStringList actions = button->actionInterface()->actionNames();
        ASSERT_FALSE(actions.isEmpty());
        EXPECT_EQ(actions.first(), QAccessibleActionInterface::pressAction()) << "the default";
        EXPECT_FALSE(c.done());
        button->actionInterface()->doAction(actions.first());
        EXPECT_TRUE(c.done());
    }
}

struct KeyCase {
    const char* name;
    std::function<void(QWidget*)> keys;
    int clicksWhileHeld; // after the keys, before anything is released
    bool downWhileHeld;
    int clicks; // once everything is released
};

void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyPress(w, key, modifiers);
}

const KeyCase Keys[] = {
    { "SpaceClicksOnRelease", [](QWidget* w) { press(w, Qt::Key_Space); }, 0, true, 1 },
    { "EnterClicksAtOnce", [](QWidget* w) { press(w, Qt::Key_Return); }, 1, false, 1 },
    { "KeypadEnterToo", [](QWidget* w) { press(w, Qt::Key_Enter, Qt::KeypadModifier); }, 1, false,
        1 },
    { "HeldSpaceRepeatsNothing",
        [](QWidget* w) {
            press(w, Qt::Key_Space);
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, u" "_s, true);
            QApplication::sendEvent(w, &repeat);
        },
        0, true, 1 },
    { "FocusLeavingUnderSpaceCancels",
        [](QWidget* w) {
            press(w, Qt::Key_Space);
            frmQuilmar->TextEuro.setFocus();
        },
        0, false, 0 },
    { "CtrlSpaceIsNoClick", [](QWidget* w) { press(w, Qt::Key_Space, Qt::ControlModifier); }, 0,
        false, 0 },
};

TEST_F(KeyboardAndScreenReaderTest, SpaceAndEnterClickAFocusedImageButton)
{
    toolkit::PictureBox& button = frmQuilmar->PictureCopier1;
    QWidget* w = button.widget();
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    for (const KeyCase& c : Keys) {
        SCOPED_TRACE(c.name);
        clicks = 0;
        button.setFocus();
        c.keys(w);
        EXPECT_EQ(clicks, c.clicksWhileHeld);
        EXPECT_EQ(accessible(button)->state().pressed, c.downWhileHeld);
        EXPECT_EQ(button.borderStyle(), 0) << "the program's mouse look is left alone";
        for (Qt::Key key : { Qt::Key_Space, Qt::Key_Return })
            QTest::keyRelease(w, key);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_FALSE(accessible(button)->state().pressed);
    }
}

TEST_F(KeyboardAndScreenReaderTest, FocusFrameFromTabLeavesThePictureInPlace)
{
    QWidget* w = frmQuilmar->PictureCopier1.widget();
    const auto inner
        = [](const QImage& image) { return image.copy(image.rect() - QMargins(1, 1, 1, 1)); };
    const QImage unfocused = w->grab().toImage();
    frmQuilmar->TextFranc.setFocus();
    QTest::keyClick(frmQuilmar->TextFranc.widget(), Qt::Key_Tab);
    ASSERT_TRUE(w->hasFocus());
    const QImage framed = w->grab().toImage();
    EXPECT_NE(framed, unfocused) << "a frame shows the focus";
    EXPECT_EQ(inner(framed), inner(unfocused)) << "the picture has not moved";
    QTest::keyPress(w, Qt::Key_Space);
    EXPECT_NE(inner(w->grab().toImage()), inner(unfocused)) << "pressed: the picture moves in";
    QTest::keyRelease(w, Qt::Key_Space);
}

TEST_F(KeyboardAndScreenReaderTest, WindowsAreFramesOrADialogNamedByTheirCaptions)
{
    const struct {
        toolkit::Form& form;
        QAccessible::Role role;
        QString name;
    } windows[] = {
        { *frmQuilmar, QAccessible::Window, u"Quilmar v1.0"_s },
        { *frmAide, QAccessible::Window, u"Quilmar / Aide"_s },
        { *frmParam, QAccessible::Dialog, u"Quilmar / Paramètres"_s },
    };
    for (const auto& [form, role, name] : windows) {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.window());
        EXPECT_EQ(window->role(), role) << name.toStdString();
        EXPECT_EQ(window->text(QAccessible::Name), name);
    }
}

TEST_F(KeyboardAndScreenReaderTest, DialogFieldsAreLabelledByTheirLabels)
{
    FrmParam& d = *frmParam;
    const struct {
        const char* name;
        toolkit::Control& field;
        toolkit::Label& label;
    } fields[] = {
        { "Nom1", d.Text1[0], d.Label1[0] },
        { "Symbol1", d.Text2[0], d.Label2[0] },
        { "Nom2", d.Text1[1], d.Label1[1] },
        { "Symbol2", d.Text2[1], d.Label2[1] },
        { "Taux", d.Text3, d.Label3 },
        { "Decimales", d.Combo1, d.Label4 },
    };
    for (const auto& [name, field, label] : fields) {
        QObjectList labels;
        for (const auto& [by, relation] : accessible(field)->relations(QAccessible::Label))
            labels << by->object();
        EXPECT_TRUE(labels.contains(label.widget())) << name;
    }
    // The list is named by its label whichever item is chosen; the item is its value.
    QAccessibleInterface* list = accessible(d.Combo1);
    for (int index : { 3, 0 }) {
        d.Combo1.setListIndex(index);
        EXPECT_EQ(list->role(), QAccessible::ComboBox);
        EXPECT_EQ(list->text(QAccessible::Name), u"Nb de chiffres après la virgule"_s);
        EXPECT_EQ(list->text(QAccessible::Value), index == 0 ? u"Aucun"_s : u"3"_s);
    }
}

TEST_F(KeyboardAndScreenReaderTest, HelpDocumentIsReadOnlyTextReadLineByLine)
{
    writeFile(u"Quilmar.rtf"_s,
        "{\\rtf1\\ansi Premi\\'e8re ligne\\par {\\b Deuxi\\'e8me} ligne\\par Fin\\par}");
    frmQuilmar->Picture1.click();
    QAccessibleInterface* help = accessible(frmAide->RichTextBox1);
    EXPECT_TRUE(help->state().readOnly);
    EXPECT_FALSE(help->state().editable);
    QAccessibleTextInterface* text = help->textInterface();
    ASSERT_TRUE(text);
    QStringList lines;
    // Each line ends before the separator that the next one follows.
    for (int offset = 0, start = 0, end = 0; offset < text->characterCount(); offset = end + 1) {
        lines << text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
        ASSERT_GE(end, offset);
    }
    EXPECT_EQ(lines, (QStringList { u"Première ligne"_s, u"Deuxième ligne"_s, u"Fin"_s }));
}

} // namespace
