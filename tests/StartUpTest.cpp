// Start-up, the applying of the settings onto the windows, and the main window's layout.
#include "app/EuroProgramme.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QApplication>

namespace {

using EuroProgramme::Settings;

class StartUpTest : public ProgramFixture { };

QStringList mainToolTips()
{
    FrmQuilmar& m = *frmQuilmar;
    return { m.PictureCopier1.toolTipText(), m.PictureCopier2.toolTipText(),
        m.PictureColler1.toolTipText(), m.PictureColler2.toolTipText(), m.LabelEuro.toolTipText(),
        m.LabelFranc.toolTipText(), m.Picture2.toolTipText(), m.Picture1.toolTipText(),
        m.TextEuro.toolTipText(), m.TextFranc.toolTipText() };
}

QStringList dialogToolTips()
{
    FrmParam& d = *frmParam;
    return { d.Text1[0].toolTipText(), d.Text1[1].toolTipText(), d.Text2[0].toolTipText(),
        d.Text2[1].toolTipText(), d.Text3.toolTipText(), d.Check1.toolTipText(),
        d.CommandOK.toolTipText(), d.CommandAnnul.toolTipText(), d.CommandDefaut.toolTipText(),
        d.Combo1.toolTipText() };
}

TEST_F(StartUpTest, WithoutSettingsFileTheDefaultsShowAtTheDesignedPlace)
{
    EuroProgramme::StartUp();
    FrmQuilmar& main = *frmQuilmar;
    EXPECT_EQ(EuroProgramme::ProgramDir, QDir::currentPath() + u'/');
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.caption(), QStringLiteral("Quilmar v1.0"));
    EXPECT_EQ(main.left(), 3690);
    EXPECT_EQ(main.top(), 3705);
    EXPECT_EQ(main.width(), 4110);
    EXPECT_EQ(main.height() - main.nonClientHeight(), FrmQuilmar::DesignedClientHeight);
    EXPECT_EQ(main.scaleHeight(), FrmQuilmar::DesignedClientHeight);
    EXPECT_EQ(main.LabelEuro.caption(), QStringLiteral("E"));
    EXPECT_EQ(main.LabelFranc.caption(), QStringLiteral("F"));
    EXPECT_TRUE(main.TextEuro.text().isEmpty());
    EXPECT_EQ(main.window()->focusWidget(), main.TextEuro.widget());

    ASSERT_TRUE(frmParam.exists());
    FrmParam& dialog = *frmParam;
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Text1[0].text(), QStringLiteral("Euros"));
    EXPECT_EQ(dialog.Text1[1].text(), QStringLiteral("Francs"));
    EXPECT_EQ(dialog.Text2[0].text(), QStringLiteral("E"));
    EXPECT_EQ(dialog.Text2[1].text(), QStringLiteral("F"));
    EXPECT_EQ(dialog.Text3.text(), QStringLiteral("6,55957"));
    EXPECT_EQ(dialog.Check1.value(), 1);
    EXPECT_EQ(dialog.Combo1.listIndex(), 3);
}

TEST_F(StartUpTest, SavedGeometryIsAppliedOnlyAfterACompleteRead)
{
    struct Case {
        QByteArray file;
        float left, top, width;
    };
    const Case cases[] = {
        { "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n3\r\n-"
          "1500\r\n600\r\n5000\r\n",
            -1500, 600, 5000 },
        { "\"Euros\",\"Francs\",\"E\",\"F\",1,6.55957,3,15,30,2000\r\n", 15, 30, 2900 },
        { "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n3\r\n100\r\n200\r\n", 3690,
            3705, 4110 },
        { "\"Dollars\"\r\n\"Yens\"\r\n\"$\"\r\n\"Y\"\r\n300\r\n", 3690, 3705, 4110 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        writeFile(QStringLiteral("Quilmar.ini"), c.file);
        EuroProgramme::StartUp();
        EXPECT_EQ(frmQuilmar->left(), c.left);
        EXPECT_EQ(frmQuilmar->top(), c.top);
        EXPECT_EQ(frmQuilmar->width(), c.width) << "the layout clamps the width";
        toolkit::Form::destroyAll();
        Settings = SettingsRecord();
    }
}

TEST_F(StartUpTest, ToolTipsAreComposedFromTheNamesOrAllEmpty)
{
    struct Case {
        QString name1, name2;
        std::uint8_t show;
        QStringList main, dialog;
    };
    const QStringList dialogTips = { QStringLiteral("Nom de la 1ère monnaie"),
        QStringLiteral("Nom de la 2ème monnaie"), QStringLiteral("Symbol de la 1ère monnaie"),
        QStringLiteral("Symbol de la 2ème monnaie"), QStringLiteral("Taux de conversion"),
        QStringLiteral("Cochée=Info-bulles ; Non-cochée=rien"),
        QStringLiteral("Valider les nouveaux paramètres"),
        QStringLiteral("Annuler les changements"), QStringLiteral("Paramètres par défauts"),
        QStringLiteral("Nb de chiffres après la virgule affichés pour les conversions") };
    const Case cases[] = {
        { QStringLiteral("Dollars"), QStringLiteral("Yens"), 1,
            { QStringLiteral("Copier le montant en Dollars"),
                QStringLiteral("Copier le montant en Yens"),
                QStringLiteral("Coller le montant en Dollars"),
                QStringLiteral("Coller le montant en Yens"), QStringLiteral("Dollars"),
                QStringLiteral("Yens"), QStringLiteral("Paramètres"), QStringLiteral("Aide"),
                QStringLiteral("Entrez ici le montant en Dollars à convertir en Yens"),
                QStringLiteral("Entrez ici le montant en Yens à convertir en Dollars") },
            dialogTips },
        { QString(), QStringLiteral("Francs"), 1,
            { QStringLiteral("Copier le montant en "),
                QStringLiteral("Copier le montant en Francs"),
                QStringLiteral("Coller le montant en "),
                QStringLiteral("Coller le montant en Francs"), QString(), QStringLiteral("Francs"),
                QStringLiteral("Paramètres"), QStringLiteral("Aide"),
                QStringLiteral("Entrez ici le montant en  à convertir en Francs"),
                QStringLiteral("Entrez ici le montant en Francs à convertir en ") },
            dialogTips },
        { QStringLiteral("Dollars"), QStringLiteral("Yens"), 0, QStringList(10), QStringList(10) },
    };
    EuroProgramme::StartUp();
    for (const Case& c : cases) {
        Settings.CurrencyName = { c.name1, c.name2 };
        Settings.ShowToolTips = c.show;
        EuroProgramme::ApplySettings();
        EXPECT_EQ(mainToolTips(), c.main);
        EXPECT_EQ(dialogToolTips(), c.dialog);
        EuroProgramme::ApplySettings();
        EXPECT_EQ(mainToolTips(), c.main) << "applying twice leaves the same state";
    }
}

TEST_F(StartUpTest, ResizeLayoutClampsTheWidthAndFollowsTheRightEdge)
{
    struct Case {
        float requested, width, buttonsLeft, labelsLeft, fieldsWidth;
    };
    const Case cases[] = {
        { 1000, 2900, 2270, 1920, 860 },
        { 2900, 2900, 2270, 1920, 860 },
        { 4110, 4110, 3480, 3130, 2070 },
        { 5700, 5700, 5070, 4720, 3660 },
        { 9000, 5700, 5070, 4720, 3660 },
    };
    EuroProgramme::StartUp();
    FrmQuilmar& main = *frmQuilmar;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.requested);
        main.setWidth(c.requested);
        EXPECT_EQ(main.width(), c.width);
        EXPECT_EQ(main.scaleHeight(), FrmQuilmar::DesignedClientHeight);
        for (const toolkit::Control* button : { &main.Picture1, &main.Picture2 })
            EXPECT_EQ(button->left(), c.buttonsLeft);
        for (const toolkit::Control* label : { &main.LabelEuro, &main.LabelFranc })
            EXPECT_EQ(label->left(), c.labelsLeft);
        for (const toolkit::Control* field : { &main.TextEuro, &main.TextFranc }) {
            EXPECT_EQ(field->width(), c.fieldsWidth);
            EXPECT_EQ(field->left(), 960);
        }
    }
    const float height = main.height();
    main.setHeight(3000);
    EXPECT_EQ(main.height(), height) << "the height cannot change";

    main.setWindowState(1);
    const float buttonsLeft = main.Picture1.left();
    main.setWidth(5000);
    EXPECT_EQ(main.Picture1.left(), buttonsLeft) << "nothing moves while minimised";
    main.setWindowState(0);
    EXPECT_EQ(main.Picture1.left(), 5000 - 630) << "restoring lays out again";
}

TEST_F(StartUpTest, DialogIsCentredOnTheMainWindowWhenCreated)
{
    writeFile(QStringLiteral("Quilmar.ini"),
        "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6."
        "55957\r\n3\r\n1001\r\n1000\r\n4111\r\n");
    EuroProgramme::StartUp();
    FrmParam& dialog = *frmParam;
    EXPECT_EQ(dialog.width(), 4350);
    EXPECT_EQ(dialog.height(), 5265);
    EXPECT_EQ(dialog.top(), 1000 + (1470 - 5265) / 2.0f);
    EXPECT_EQ(dialog.left(), 1001 + (4111 - 4350) / 2.0f) << "a half twip is kept";
    EXPECT_EQ(dialog.caption(), QStringLiteral("Quilmar / Paramètres"));
}

TEST_F(StartUpTest, ProgramDirEndsWithOneSeparator)
{
    for (const QString& dir : { QStringLiteral("/"), QDir::currentPath() }) {
        SCOPED_TRACE(dir.toStdString());
        const QString previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir));
        EuroProgramme::StartUp();
        EXPECT_EQ(EuroProgramme::ProgramDir, dir == u'/' ? dir : dir + u'/');
        QDir::setCurrent(previous);
        toolkit::Form::destroyAll();
    }
}

} // namespace
