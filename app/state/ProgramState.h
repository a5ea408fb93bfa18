#pragma once

#include "app/state/SettingsRecord.h"

#include <QString>

// The program module's state, below every window: the windows read and write it, and the
// module's procedures (app/EuroProgramme.h) build on it.
namespace EuroProgramme {

// The settings of this run; every window reads and writes it directly.
extern SettingsRecord Settings;
// The working directory at start-up, ending with the platform's separator.
extern QString ProgramDir;

inline constexpr char16_t SettingsFileName[] = u"Quilmar.ini";
inline constexpr char16_t HelpFileName[] = u"Quilmar.rtf";

} // namespace EuroProgramme
