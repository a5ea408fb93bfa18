#include "app/EuroProgramme.h"

#include "app/SettingsFile.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"

#include <QDir>

namespace EuroProgramme {

namespace {

    QString settingsPath() { return ProgramDir + QString::fromUtf16(SettingsFileName); }

    // The windows call the module back through these: they are built below it.
    void connectWindows()
    {
        FrmQuilmar::saveSettings = SaveSettings;
        FrmParam::applySettings = ApplySettings;
        FrmParam::clearMainAmounts = [] { frmQuilmar->clearAmounts(); };
        auto mainWindow = []() -> toolkit::Form& { return *frmQuilmar; };
        FrmParam::mainWindow = mainWindow;
        FrmAide::mainWindow = mainWindow;
    }

} // namespace

void StartUp()
{
    connectWindows();
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
    // The dialog's creation, at its first touch, runs this procedure once more, nested; both
    // runs leave the same state.
    frmQuilmar->showSymbols(Settings);
    frmParam->showFields(Settings);
    frmQuilmar->showToolTips(Settings);
    frmParam->showToolTips(Settings);
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
