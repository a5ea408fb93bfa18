#pragma once

#include "module/ProgramState.h"

// The program's module: start-up, the settings record and its file. Its state (Settings,
// ProgramDir, the file names) lies below the windows, in module/ProgramState.h.
namespace EuroProgramme {

void StartUp();
void ApplySettings();
void LoadSettings();
void SaveSettings();

} // namespace EuroProgramme
