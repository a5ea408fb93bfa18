// Start-up, the applying of the settings onto the windows, and the main window's layout.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QAccessible>
#include <QFile>
#include <QGuiApplication>

namespace {

using namespace Qt::Literals::StringLiterals;
using EuroProgramme::Settings;

class StartUpTest : public ProgramFixture { };

QString accessible(const toolkit::Control& control, QAccessible::Text text)
{
    return QAccessible::queryAccessibleInterface(control.widget())->text(text);
}

using Controls = std::initializer_list<const toolkit::Control*>;

// The main window's tooltips, then the dialog's.
QStringList toolTips()
{
    FrmQuilmar& m = *frmQuilmar;
    FrmParam& d = *frmParam;
    QStringList tips;
    for (const toolkit::Control* control :
        Controls { &m.PictureCopier1, &m.PictureCopier2, &m.PictureColler1, &m.PictureColler2,
            &m.LabelEuro, &m.LabelFranc, &m.Picture2, &m.Picture1, &m.TextEuro, &m.TextFranc,
            &d.Text1[0], &d.Text1[1], &d.Text2[0], &d.Text2[1], &d.Text3, &d.Check1, &d.CommandOK,
            &d.CommandAnnul, &d.CommandDefaut, &d.Combo1 })
        tips << control->toolTipText();
    return tips;
}

// The file's fields up to its first fault reach both windows, its place only when read whole.
// The defaults, read from no file, are saved again end to end.
TEST_F(StartUpTest, SettingsFileDecidesFieldsAndPlaceOnlyWhenReadWhole)
{
    // The file's place after its fields: symbol "Y", no tooltips (the check box), two decimals
    // (the list); and the place taken.
    struct Case {
        const char* name;
        QByteArray place;
        float left, top, width;
    };
    const QByteArray fields = "\"Dollars\"\r\n\"Yens\"\r\n\"$\"\r\n\"Y\"\r\n0\r\n0.5\r\n2\r\n";
    const Case cases[] = {
        { "WholeFilePlacesTheWindow", "-1500\r\n600\r\n5000\r\n", -1500, 600, 5000 },
        { "ShortFileSetsTheFieldsButNoPlace", "100\r\n200\r\n", 3690, 3705, 4110 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(u"Quilmar.ini"_s, fields + c.place);
        EuroProgramme::StartUp();
        FrmQuilmar& main = *frmQuilmar;
        FrmParam& dialog = *frmParam;
        EXPECT_TRUE(main.isVisible());
        EXPECT_FALSE(dialog.isVisible()) << "made hidden at start-up";
        EXPECT_EQ(
            std::tuple(main.left(), main.top(), main.width()), std::tuple(c.left, c.top, c.width));
        EXPECT_EQ(std::pair(main.LabelFranc.caption(), dialog.Text2[1].text()),
            std::pair(u"Y"_s, u"Y"_s));
        EXPECT_EQ(std::pair(dialog.Check1.value(), dialog.Combo1.listIndex()), std::pair(0, 2));
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
    }
}

TEST_F(StartUpTest, ToolTipsComposedFromTheNamesOrAllEmpty)
{
    EuroProgramme::StartUp();
    const QStringList dialogTips = toolTips().mid(10);
    EXPECT_FALSE(dialogTips.contains(QString())) << "every dialog tip is set at start-up";
    const QStringList shown = { u"Copier le montant en Dollars"_s, u"Copier le montant en Yens"_s,
        u"Coller le montant en Dollars"_s, u"Coller le montant en Yens"_s, u"Dollars"_s, u"Yens"_s,
        u"Paramètres"_s, u"Aide"_s, u"Entrez ici le montant en Dollars à convertir en Yens"_s,
        u"Entrez ici le montant en Yens à convertir en Dollars"_s };
    struct Case {
        const char* name;
        std::uint8_t show;
        QStringList tips; // of the main window
    };
    const Case cases[] = {
        { "NamesComposeTheTips", 1, shown },
        { "TipsOffAllEmpty", 0, QStringList(10) },
    };
    Settings.CurrencyName = { u"Dollars"_s, u"Yens"_s };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings.ShowToolTips = c.show;
        for (int twice = 0; twice < 2; ++twice) {
            EuroProgramme::ApplySettings();
            EXPECT_EQ(toolTips(), c.tips + (c.show ? dialogTips : QStringList(10)));
        }
        // A screen reader hears the same texts whether tooltips are shown or not.
        EXPECT_EQ(accessible(frmQuilmar->PictureCopier1, QAccessible::Name), shown[0]);
        EXPECT_EQ(accessible(frmQuilmar->TextFranc, QAccessible::Description), shown[9]);
    }
    // Fields without a caption or a label of their own are named for a screen reader too.
    FrmQuilmar& m = *frmQuilmar;
    FrmParam& d = *frmParam;
    for (const toolkit::Control* control : Controls { &m.TextEuro, &m.TextFranc, &d.Text1[1],
             &d.Text2[0], &d.Text3, &frmAide->RichTextBox1 })
        EXPECT_FALSE(accessible(*control, QAccessible::Name).isEmpty());
}

TEST_F(StartUpTest, ResizeLayoutClampsTheWidthAndFollowsTheRightEdge)
{
    struct Case {
        const char* name;
        float requested, width, buttonsLeft, labelsLeft, fieldsWidth;
    };
    const Case cases[] = {
        { "NarrowerThanTheMinimum", 1000, 2900, 2270, 1920, 860 },
        { "TheDesignedWidth", 4110, 4110, 3480, 3130, 2070 },
        { "WiderThanTheMaximum", 9000, 5700, 5070, 4720, 3660 },
    };
    EuroProgramme::StartUp();
    FrmQuilmar& m = *frmQuilmar;
    // What the window manager is told, in pixels of the client area at 96 dpi: 2900 and 5700
    // twips are 193 and 380 pixels, less the platform's 2-pixel frame on either side; 1065 twips
    // are 71.
    const QWidget* window = m.window();
    EXPECT_EQ(std::pair(window->minimumWidth(), window->maximumWidth()), std::pair(189, 376));
    EXPECT_EQ(std::pair(window->minimumHeight(), window->maximumHeight()), std::pair(71, 71));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m.setWidth(c.requested);
        EXPECT_EQ(std::tuple(m.width(), m.Picture1.left(), m.Picture2.left(), m.LabelEuro.left(),
                      m.LabelFranc.left(), m.TextEuro.width(), m.TextFranc.width()),
            std::tuple(c.width, c.buttonsLeft, c.buttonsLeft, c.labelsLeft, c.labelsLeft,
                c.fieldsWidth, c.fieldsWidth));
    }
    const float height = m.height();
    m.setHeight(3000);
    EXPECT_EQ(m.height(), height) << "the height cannot change";
}

} // namespace

namespace {

// A Wayland compositor matches the app_id, which Qt takes from the desktop file name, with the
// installed desktop entry: the name must be that entry's, ".desktop" left out.
TEST(ApplicationDesignTest, DesktopFileNameIsTheInstalledEntrysName)
{
    const QString entry = QStringLiteral(QUILMAR_PACKAGING_DIR) + QGuiApplication::desktopFileName()
        + u".desktop"_s;
    EXPECT_TRUE(QFile::exists(entry)) << entry.toStdString();
}

} // namespace
