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

QStringList toolTips()
{
    FrmQuilmar& m = *frmQuilmar;
    FrmParam& d = *frmParam;
    return { m.PictureCopier1.toolTipText(), m.PictureCopier2.toolTipText(),
        m.PictureColler1.toolTipText(), m.PictureColler2.toolTipText(), m.LabelEuro.toolTipText(),
        m.LabelFranc.toolTipText(), m.Picture2.toolTipText(), m.Picture1.toolTipText(),
        m.TextEuro.toolTipText(), m.TextFranc.toolTipText(), d.Text1[0].toolTipText(),
        d.Text1[1].toolTipText(), d.Text2[0].toolTipText(), d.Text2[1].toolTipText(),
        d.Text3.toolTipText(), d.Check1.toolTipText(), d.CommandOK.toolTipText(),
        d.CommandAnnul.toolTipText(), d.CommandDefaut.toolTipText(), d.Combo1.toolTipText() };
}

TEST_F(StartUpTest, SettingsFileDecidesFieldsAndPlaceOnlyWhenReadWhole)
{
    struct Case {
        const char* name;
        QByteArray file;
        QString name1, symbol2, rate;
        int tooltips, decimals; // the check box and the list
        float left, top, width; // the width after the layout's clamps
    };
    const QByteArray head = "\"Dollars\"\r\n\"Yens\"\r\n\"$\"\r\n\"Y\"\r\n";
    // clang-format off
    const Case cases[] = {
        { "NoFileTheDefaults", {}, u"Euros"_s, u"F"_s, u"6,55957"_s, 1, 3, 3690, 3705, 4110 },
        { "WholeFileWidthKept", head + "0\r\n0.5\r\n2\r\n-1500\r\n600\r\n5000\r\n", u"Dollars"_s, u"Y"_s, u"0,5"_s, 0, 2, -1500, 600, 5000 },
        { "OneLineFileWidthClamped", "\"A\",\"B\",\"C\",\"D\",1,7,4,15,30,2000\r\n", u"A"_s, u"D"_s, u"7"_s, 1, 4, 15, 30, 2900 },
        { "ShortFileKeepsNoPlace", head + "1\r\n6.55957\r\n3\r\n100\r\n200\r\n", u"Dollars"_s, u"Y"_s, u"6,55957"_s, 1, 3, 3690, 3705, 4110 },
        { "BadLinesKeepNoPlace", head + "300\r\n2\r\n", u"Dollars"_s, u"Y"_s, u"6,55957"_s, 1, 3, 3690, 3705, 4110 },
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.file.isNull())
            writeFile(u"Quilmar.ini"_s, c.file);
        EuroProgramme::StartUp();
        FrmQuilmar& main = *frmQuilmar;
        FrmParam& dialog = *frmParam;
        EXPECT_TRUE(main.isVisible());
        EXPECT_FALSE(dialog.isVisible()) << "made hidden at start-up";
        EXPECT_EQ(
            std::tuple(main.left(), main.top(), main.width()), std::tuple(c.left, c.top, c.width));
        EXPECT_EQ(main.scaleHeight(), FrmQuilmar::DesignedClientHeight);
        EXPECT_EQ(main.LabelFranc.caption(), c.symbol2);
        EXPECT_EQ(std::tuple(dialog.Text1[0].text(), dialog.Text2[1].text(), dialog.Text3.text()),
            std::tuple(c.name1, c.symbol2, c.rate));
        EXPECT_EQ(std::pair(dialog.Check1.value(), dialog.Combo1.listIndex()),
            std::pair(c.tooltips, c.decimals));
        EXPECT_EQ(main.window()->focusWidget(), main.TextEuro.widget());
        EXPECT_EQ(EuroProgramme::ProgramDir, QDir::currentPath() + u'/');
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
    }
}

TEST_F(StartUpTest, ToolTipsComposedFromTheNamesOrAllEmpty)
{
    EuroProgramme::StartUp();
    const QStringList dialogTips = toolTips().mid(10);
    EXPECT_EQ(dialogTips.first(), u"Nom de la 1ère monnaie"_s);
    EXPECT_EQ(
        dialogTips.last(), u"Nb de chiffres après la virgule affichés pour les conversions"_s);
    struct Case {
        const char* name;
        QString name1, name2;
        std::uint8_t show;
        QStringList main;
    };
    const Case cases[] = {
        { "NamesComposeTheTips", u"Dollars"_s, u"Yens"_s, 1,
            { u"Copier le montant en Dollars"_s, u"Copier le montant en Yens"_s,
                u"Coller le montant en Dollars"_s, u"Coller le montant en Yens"_s, u"Dollars"_s,
                u"Yens"_s, u"Paramètres"_s, u"Aide"_s,
                u"Entrez ici le montant en Dollars à convertir en Yens"_s,
                u"Entrez ici le montant en Yens à convertir en Dollars"_s } },
        { "AnEmptyNameLeavesItsGap", QString(), u"F"_s, 1,
            { u"Copier le montant en "_s, u"Copier le montant en F"_s, u"Coller le montant en "_s,
                u"Coller le montant en F"_s, QString(), u"F"_s, u"Paramètres"_s, u"Aide"_s,
                u"Entrez ici le montant en  à convertir en F"_s,
                u"Entrez ici le montant en F à convertir en "_s } },
        { "TipsOffAllEmpty", u"Dollars"_s, u"Yens"_s, 0, QStringList(10) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings.CurrencyName = { c.name1, c.name2 };
        Settings.ShowToolTips = c.show;
        for (int twice = 0; twice < 2; ++twice) {
            EuroProgramme::ApplySettings();
            EXPECT_EQ(toolTips(), c.main + (c.show ? dialogTips : QStringList(10)));
        }
        // A screen reader names every control whether tooltips are shown or not.
        EXPECT_EQ(accessible(frmQuilmar->PictureCopier1, QAccessible::Name),
            u"Copier le montant en "_s + c.name1);
        EXPECT_EQ(accessible(frmQuilmar->TextFranc, QAccessible::Description),
            u"Entrez ici le montant en "_s + c.name2 + u" à convertir en "_s + c.name1);
    }
    FrmQuilmar& m = *frmQuilmar;
    FrmParam& d = *frmParam;
    for (const toolkit::Control* control :
        std::initializer_list<const toolkit::Control*> { &m.TextEuro, &m.TextFranc, &m.LabelEuro,
            &m.LabelFranc, &m.PictureCopier1, &m.PictureCopier2, &m.PictureColler1,
            &m.PictureColler2, &m.Picture1, &m.Picture2, &d.Frame1[1], &d.Label1[0], &d.Text1[1],
            &d.Label2[1], &d.Text2[0], &d.Label3, &d.Text3, &d.Label4, &d.Combo1, &d.Check1,
            &d.CommandDefaut, &d.CommandOK, &d.CommandAnnul, &frmAide->RichTextBox1 }) {
        EXPECT_FALSE(accessible(*control, QAccessible::Name).isEmpty());
    }
}

TEST_F(StartUpTest, ResizeLayoutClampsTheWidthAndFollowsTheRightEdge)
{
    struct Case {
        const char* name;
        float requested, width, buttonsLeft, labelsLeft, fieldsWidth;
    };
    // clang-format off
    const Case cases[] = {
        { "NarrowerThanTheMinimum", 1000, 2900, 2270, 1920, 860 },
        { "TheDesignedWidth", 4110, 4110, 3480, 3130, 2070 },
        { "TheMaximum", 5700, 5700, 5070, 4720, 3660 },
        { "WiderThanTheMaximum", 9000, 5700, 5070, 4720, 3660 },
    };
    // clang-format on
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
        EXPECT_EQ(m.scaleHeight(), FrmQuilmar::DesignedClientHeight);
    }
    const float height = m.height();
    m.setHeight(3000);
    EXPECT_EQ(m.height(), height) << "the height cannot change";
    m.setWindowState(toolkit::WindowState::Minimised);
    m.setWidth(5000);
    EXPECT_EQ(m.Picture1.left(), 5070) << "nothing moves while minimised";
    m.setWindowState(toolkit::WindowState::Normal);
    EXPECT_EQ(m.Picture1.left(), 5000 - 630) << "restoring lays out again";
}

} // namespace

namespace {

// A Wayland compositor matches the app_id, which Qt takes from the desktop file name, with the
// installed desktop entry: the name must be that entry's, ".desktop" left out.
TEST(ApplicationDesignTest, DesktopFileNameIsTheInstalledEntrysName)
{
    const QString name = QGuiApplication::desktopFileName();
    EXPECT_EQ(name, u"fr.quilmar.Quilmar"_s);
    const QString entry = QStringLiteral(QUILMAR_PACKAGING_DIR) + name + u".desktop"_s;
    EXPECT_TRUE(QFile::exists(entry)) << entry.toStdString();
}

} // namespace
