// Every caption of the three windows shows whole in its designed box at scale 1, 1.5 and 2. Qt
// lays windows out in logical pixels at every scale and draws the text at the device's size, so
// a caption at scale s is as wide as its font at s times the size, divided by s.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/Text.h"
#include "toolkit/FormWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleOption>

namespace {

using namespace Qt::StringLiterals;

struct Caption {
    QString text;
    QFont font;
    qreal box; // logical pixels where the text is drawn
};

// The captions of the main window, the dialog and the help window; the test fails when one is
// missing or added.
const QStringList Expected = {
    u"E"_s,
    u"F"_s,
    u"Monnaie 1"_s,
    u"Monnaie 2"_s,
    u"Nom"_s,
    u"Nom"_s,
    u"Symbol"_s,
    u"Symbol"_s,
    u"Conversion : Monnaie 1 = Monnaie 2 x "_s,
    u"Nb de chiffres après la virgule"_s,
    u"Aucun"_s,
    u"1"_s,
    u"2"_s,
    u"3"_s,
    u"4"_s,
    u"Afficher les infos-bulles"_s,
    u"Reset"_s,
    u"OK"_s,
    u"Annuler"_s,
    u"Fichier"_s,
    u"Quitter"_s,
};

template <class Option, class W> Option optionOf(W* widget)
{
    Option option;
    option.initFrom(widget);
    return option;
}

// Each caption of the window with the font it is drawn in and the width of the place where it
// is drawn, as the style lays the control out.
void addCaptions(QWidget* window, std::vector<Caption>& found)
{
    const auto add = [&](const QString& text, const QFont& font, qreal box) {
        found.push_back({ QString(text).remove(u'&'), font, box });
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QStyle* style = w->style();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            add(label->text(), label->font(), label->contentsRect().width());
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            auto option = optionOf<QStyleOptionButton>(check);
            option.text = check->text();
            add(check->text(), check->font(),
                style->subElementRect(QStyle::SE_CheckBoxContents, &option, check).width());
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            auto option = optionOf<QStyleOptionButton>(button);
            add(button->text(), button->font(),
                style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width());
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            auto option = optionOf<QStyleOptionGroupBox>(frame);
            option.text = frame->title();
            option.subControls = QStyle::SC_GroupBoxLabel;
            const QRect title = style->subControlRect(
                QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
            add(frame->title(), frame->font(), frame->width() - 2 * title.left());
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            auto option = optionOf<QStyleOptionComboBox>(list);
            const QRect field = style->subControlRect(
                QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
            // The chosen item is drawn a pixel in from each side of the edit field.
            for (int i = 0; i < list->count(); ++i)
                add(list->itemText(i), list->font(), field.width() - 2);
        } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            for (QAction* title : bar->actions()) {
                add(title->text(), bar->font(), bar->actionGeometry(title).width());
                QMenu* menu = title->menu();
                menu->ensurePolished();
                menu->adjustSize();
                for (QAction* item : menu->actions())
                    add(item->text(), menu->font(), menu->actionGeometry(item).width());
            }
        }
    }
}

qreal widthAtScale(const QString& text, QFont font, qreal scale)
{
    font.setPointSizeF(font.pointSizeF() * scale);
    return QFontMetricsF(font).horizontalAdvance(text) / scale;
}

class CaptionsFitTest : public StartedProgramFixture,
                        public ::testing::WithParamInterface<qreal> { };

TEST_P(CaptionsFitTest, EveryCaptionFitsItsBox)
{
    frmQuilmar->Picture1.click();
    std::vector<Caption> captions;
    for (toolkit::Form* form :
        std::initializer_list<toolkit::Form*> { &*frmQuilmar, &*frmParam, &*frmAide })
        addCaptions(form->window(), captions);
    QStringList seen;
    for (const Caption& caption : captions) {
        seen += caption.text;
        const qreal width = widthAtScale(caption.text, caption.font, GetParam());
        EXPECT_LE(width, caption.box)
            << str(caption.text) << " in " << str(QFontInfo(caption.font).family());
    }
    QStringList expected = Expected;
    seen.sort();
    expected.sort();
    EXPECT_EQ(seen, expected);
}

INSTANTIATE_TEST_SUITE_P(Scales, CaptionsFitTest, ::testing::Values(1.0, 1.5, 2.0),
    [](const auto& info) { return "Scale" + std::to_string(int(info.param * 100)); });

} // namespace
