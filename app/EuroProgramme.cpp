#include "app/EuroProgramme.h"

#include "app/RateText.h"
#include "app/SettingsFile.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"

#include <QDir>

namespace EuroProgramme {

SettingsRecord Settings;
QString ProgramDir;

namespace {

    QString settingsPath() { return ProgramDir + QString::fromUtf16(SettingsFileName); }

    // The texts that the main window composes from the currency names, for its tooltips and for
    // what a screen reader says.
    QString copyText(const QString& name) { return QStringLiteral("Copier le montant en ") + name; }
    QString pasteText(const QString& name)
    {
        return QStringLiteral("Coller le montant en ") + name;
    }
    QString enterText(const QString& from, const QString& to)
    {
        return QStringLiteral("Entrez ici le montant en ") + from
            + QStringLiteral(" à convertir en ") + to;
    }

    void setToolTips(bool shown)
    {
        const QString& name1 = Settings.CurrencyName[0];
        const QString& name2 = Settings.CurrencyName[1];
        auto tip = [shown](const QString& text) { return shown ? text : QString(); };
        FrmQuilmar& main = *frmQuilmar;
        FrmParam& dialog = *frmParam;
        main.PictureCopier1.setToolTipText(tip(copyText(name1)));
        main.PictureCopier2.setToolTipText(tip(copyText(name2)));
        main.PictureColler1.setToolTipText(tip(pasteText(name1)));
        main.PictureColler2.setToolTipText(tip(pasteText(name2)));
        main.LabelEuro.setToolTipText(tip(name1));
        main.LabelFranc.setToolTipText(tip(name2));
        main.Picture2.setToolTipText(tip(QStringLiteral("Paramètres")));
        main.Picture1.setToolTipText(tip(QStringLiteral("Aide")));
        main.TextEuro.setToolTipText(tip(enterText(name1, name2)));
        main.TextFranc.setToolTipText(tip(enterText(name2, name1)));
        dialog.Text1[0].setToolTipText(tip(QStringLiteral("Nom de la 1ère monnaie")));
        dialog.Text1[1].setToolTipText(tip(QStringLiteral("Nom de la 2ème monnaie")));
        dialog.Text2[0].setToolTipText(tip(QStringLiteral("Symbol de la 1ère monnaie")));
        dialog.Text2[1].setToolTipText(tip(QStringLiteral("Symbol de la 2ème monnaie")));
        dialog.Text3.setToolTipText(tip(QStringLiteral("Taux de conversion")));
        dialog.Check1.setToolTipText(tip(QStringLiteral("Cochée=Info-bulles ; Non-cochée=rien")));
        dialog.CommandOK.setToolTipText(tip(QStringLiteral("Valider les nouveaux paramètres")));
        dialog.CommandAnnul.setToolTipText(tip(QStringLiteral("Annuler les changements")));
        dialog.CommandDefaut.setToolTipText(tip(QStringLiteral("Paramètres par défauts")));
        dialog.Combo1.setToolTipText(
            tip(QStringLiteral("Nb de chiffres après la virgule affichés pour les conversions")));
    }

    // What a screen reader says of the main window's controls follows the currency names, and
    // does not depend on whether tooltips are shown.
    void describeMainWindow()
    {
        const QString& name1 = Settings.CurrencyName[0];
        const QString& name2 = Settings.CurrencyName[1];
        FrmQuilmar& main = *frmQuilmar;
        main.TextEuro.setAccessibleText(
            QStringLiteral("Montant en ") + name1, enterText(name1, name2));
        main.TextFranc.setAccessibleText(
            QStringLiteral("Montant en ") + name2, enterText(name2, name1));
        main.LabelEuro.setAccessibleText(
            QStringLiteral("Symbole des ") + name1, QStringLiteral("Symbole de la 1ère monnaie"));
        main.LabelFranc.setAccessibleText(
            QStringLiteral("Symbole des ") + name2, QStringLiteral("Symbole de la 2ème monnaie"));
        const QString toClipboard = QStringLiteral(" dans le presse-papiers");
        const QString fromClipboard = QStringLiteral(" par celui du presse-papiers");
        main.PictureCopier1.setAccessibleText(
            copyText(name1), QStringLiteral("Copie le montant en ") + name1 + toClipboard);
        main.PictureCopier2.setAccessibleText(
            copyText(name2), QStringLiteral("Copie le montant en ") + name2 + toClipboard);
        main.PictureColler1.setAccessibleText(
            pasteText(name1), QStringLiteral("Remplace le montant en ") + name1 + fromClipboard);
        main.PictureColler2.setAccessibleText(
            pasteText(name2), QStringLiteral("Remplace le montant en ") + name2 + fromClipboard);
        main.Picture2.setAccessibleText(
            QStringLiteral("Paramètres"), QStringLiteral("Ouvre la fenêtre des paramètres"));
        main.Picture1.setAccessibleText(
            QStringLiteral("Aide"), QStringLiteral("Ouvre la fenêtre d'aide"));
    }

} // namespace

void StartUp()
{
    ProgramDir = QDir::currentPath();
    if (!ProgramDir.endsWith(u'/'))
        ProgramDir += u'/';

    const SettingsRecord defaults = SettingsRecord::defaults();
    Settings.ConversionRate = defaults.ConversionRate;
    Settings.CurrencySymbol = defaults.CurrencySymbol;
    Settings.CurrencyName = defaults.CurrencyName;
    Settings.ShowToolTips = defaults.ShowToolTips;
    Settings.DecimalsIndex = defaults.DecimalsIndex;

    LoadSettings();
    ApplySettings();
    frmQuilmar->show();
}

void ApplySettings()
{
    frmQuilmar->LabelEuro.setCaption(Settings.CurrencySymbol[0]);
    frmQuilmar->LabelFranc.setCaption(Settings.CurrencySymbol[1]);
    // The first touch of the dialog creates it, and its creation runs this procedure once more,
    // nested; both runs leave the same state.
    for (std::size_t i = 0; i < 2; ++i) {
        frmParam->Text1[i].setText(Settings.CurrencyName[i]);
        frmParam->Text2[i].setText(Settings.CurrencySymbol[i]);
    }
    frmParam->Text3.setText(RateText::fieldText(Settings.ConversionRate));
    frmParam->Check1.setValue(Settings.ShowToolTips);
    frmParam->Combo1.setListIndex(Settings.DecimalsIndex);
    setToolTips(Settings.ShowToolTips != 0);
    describeMainWindow();
}

void LoadSettings()
{
    if (!SettingsFile::load(settingsPath(), Settings))
        return;
    frmQuilmar->setLeft(float(Settings.WindowLeft));
    frmQuilmar->setTop(float(Settings.WindowTop));
    frmQuilmar->setWidth(float(Settings.WindowWidth));
}

void SaveSettings() { SettingsFile::save(settingsPath(), Settings); }

} // namespace EuroProgramme
