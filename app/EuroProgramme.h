#pragma once

#include "app/SettingsRecord.h"

#include <QString>

// The program's module: start-up, the settings record and its file.
namespace EuroProgramme {

// The settings of this run; every window reads and writes it directly.
extern SettingsRecord Settings;
// The working directory at start-up, ending with the platform's separator.
extern QString ProgramDir;

inline constexpr char16_t SettingsFileName[] = u"Quilmar.ini";
inline constexpr char16_t HelpFileName[] = u"Quilmar.rtf";

void StartUp();
void ApplySettings();
void LoadSettings();
void SaveSettings();

} // namespace EuroProgramme
