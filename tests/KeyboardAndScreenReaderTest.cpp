// The windows from the keyboard and through Qt's accessibility interface, which screen readers
// read: the image buttons as push buttons, the windows' roles and names, the list named by its
// label, the tab orders and the focus frame. Space, Enter and a screen reader's press on the image
// buttons are in the main window's tests; F1, Escape, Ctrl+W and Ctrl+Q end to end.
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
#include <vector>

namespace {

using namespace Qt::StringLiterals;

QAccessibleInterface* accessible(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

class KeyboardAndScreenReaderTest : public StartedProgramFixture { };

// Windows are named by their captions, image buttons by their tooltips, and the dialog's list by
// its label whichever item is chosen.
TEST_F(KeyboardAndScreenReaderTest, WindowsAndTheListHaveTheirRolesAndNames)
{
    frmParam->Combo1.setListIndex(0);
    struct Case {
        const char* name;
        QWidget* widget;
        QAccessible::Role role;
        QString text;
    };
    // clang-format off
    const Case cases[] = {
        { "MainWindowIsAFrame", frmQuilmar->window(), QAccessible::Window, u"Quilmar v1.0"_s },
        { "HelpWindowIsAFrame", frmAide->window(), QAccessible::Window, u"Quilmar / Aide"_s },
        { "SettingsAreADialog", frmParam->window(), QAccessible::Dialog, u"Quilmar / Paramètres"_s },
        { "ImageButtonIsAPushButton", frmQuilmar->PictureColler2.widget(), QAccessible::Button, u"Coller le montant en Francs"_s },
        { "ListNamedByItsLabelNotItsItem", frmParam->Combo1.widget(), QAccessible::ComboBox, u"Nb de chiffres après la virgule"_s },
    };
    // clang-format on
    for (const auto& [name, widget, role, text] : cases) {
        QAccessibleInterface* object = accessible(widget);
        EXPECT_EQ(std::pair(object->role(), object->text(QAccessible::Name)), std::pair(role, text))
            << name;
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
            type(focused, u"{Tab}"_s);
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
    type(frmQuilmar->TextFranc.widget(), u"{Tab}"_s);
    ASSERT_TRUE(w->hasFocus());
    const QImage framed = w->grab().toImage();
    EXPECT_NE(framed, unfocused) << "a frame shows the focus";
    EXPECT_EQ(inner(framed), inner(unfocused)) << "the picture has not moved";
    QTest::keyPress(w, Qt::Key_Space);
    EXPECT_NE(inner(w->grab().toImage()), inner(unfocused)) << "pressed: the picture moves in";
    QTest::keyRelease(w, Qt::Key_Space);
}

} // namespace
