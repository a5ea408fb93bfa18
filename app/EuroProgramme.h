#pragma once

#include "app/state/ProgramState.h"

// The program's module: start-up, the settings record and its file. Its state (Settings,
// ProgramDir, the file names) lies below the windows, in app/state/ProgramState.h.
namespace EuroProgramme {

void StartUp();
void ApplySettings();
void LoadSettings();
void SaveSettings();

} // namespace EuroProgramme
