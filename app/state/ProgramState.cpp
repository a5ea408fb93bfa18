#include "app/state/ProgramState.h"

namespace EuroProgramme {

SettingsRecord Settings;
QString ProgramDir;

} // namespace EuroProgramme
