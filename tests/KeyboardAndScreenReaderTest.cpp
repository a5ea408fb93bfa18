// The windows from the keyboard and through Qt's accessibility interface, which screen readers
// read: the image buttons as push buttons, the windows' roles and names, the dialog's labels and
// the help document's lines.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/KeyScript.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QAccessible>
#include <QImage>
#include <QTest>
#include <utility>
#include <vector>

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

TEST_F(KeyboardAndScreenReaderTest, ImageButtonsArePushButtonsWhoseDefaultActionClicks)
{
    FrmQuilmar& m = *frmQuilmar;
    const std::pair<toolkit::PictureBox&, QString> buttons[] = {
        { m.PictureCopier1, u"Copier le montant en Euros"_s },
        { m.PictureCopier2, u"Copier le montant en Francs"_s },
        { m.PictureColler1, u"Coller le montant en Euros"_s },
        { m.PictureColler2, u"Coller le montant en Francs"_s },
        { m.Picture1, u"Aide"_s },
        { m.Picture2, u"Paramètres"_s },
    };
    for (auto& [button, name] : buttons) {
        int clicks = 0;
        button.onClick = [&] { ++clicks; };
        QAccessibleInterface* box = accessible(button);
        EXPECT_EQ(box->role(), QAccessible::Button);
        EXPECT_EQ(box->text(QAccessible::Name), name);
        ASSERT_TRUE(box->actionInterface());
        const QStringList actions = box->actionInterface()->actionNames();
        ASSERT_FALSE(actions.isEmpty());
        EXPECT_EQ(actions.first(), QAccessibleActionInterface::pressAction()) << "the default";
        box->actionInterface()->doAction(actions.first());
        EXPECT_EQ(clicks, 1) << name.toStdString();
    }
}

TEST_F(KeyboardAndScreenReaderTest, SpaceAndEnterClickAFocusedImageButton)
{
    const struct {
        const char* name;
        const char* key; // held, then released
        bool focusLeaves; // before the key is released
        int clicksWhileHeld;
        bool downWhileHeld;
        int clicks; // once released
    } cases[] = {
        { "SpaceClicksOnRelease", "Space", false, 0, true, 1 },
        { "EnterClicksAtOnce", "Return", false, 1, false, 1 },
        { "KeypadEnterToo", "Num+Enter", false, 1, false, 1 },
        { "FocusLeavingUnderSpaceCancels", "Space", true, 0, false, 0 },
        { "CtrlSpaceIsNoClick", "Ctrl+Space", false, 0, false, 0 },
    };
    toolkit::PictureBox& button = frmQuilmar->PictureCopier1;
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QKeyCombination key = namedKey(QString::fromLatin1(c.key));
        clicks = 0;
        button.setFocus();
        QTest::keyPress(button.widget(), key.key(), key.keyboardModifiers());
        if (c.focusLeaves)
            frmQuilmar->TextEuro.setFocus();
        EXPECT_EQ(clicks, c.clicksWhileHeld);
        EXPECT_EQ(accessible(button)->state().pressed, c.downWhileHeld);
        EXPECT_EQ(button.borderStyle(), toolkit::BorderStyle::None)
            << "the program's mouse look is left alone";
        QTest::keyRelease(button.widget(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(clicks, c.clicks);
    }
}

// Tab goes round each window in reading order, from the control that has the focus on opening.
TEST_F(KeyboardAndScreenReaderTest, TabGoesRoundEachWindowInReadingOrder)
{
    const auto expectRound = [](toolkit::Form& form, std::vector<toolkit::Control*> order) {
        order.push_back(order.front());
        for (std::size_t i = 0; i < order.size(); ++i) {
            QWidget* focused = form.window()->focusWidget();
            EXPECT_EQ(focused, order[i]->widget()) << "after " << i << " tabs";
            QTest::keyClick(focused, Qt::Key_Tab);
        }
    };
    FrmQuilmar& m = *frmQuilmar;
    expectRound(m,
        { &m.TextEuro, &m.TextFranc, &m.PictureCopier1, &m.PictureCopier2, &m.PictureColler1,
            &m.PictureColler2, &m.Picture1, &m.Picture2 });
    m.Picture2.click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frmParam->window()));
    FrmParam& d = *frmParam;
    expectRound(d,
        { &d.Text1[0], &d.Text2[0], &d.Text1[1], &d.Text2[1], &d.Text3, &d.Combo1, &d.Check1,
            &d.CommandDefaut, &d.CommandOK, &d.CommandAnnul });
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
