// The access point utility's start: its command line, the station suite's old shortcuts, the
// help file of the user's language.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/process.h"
#include "platform/system.h"

namespace vx {

// "-S" in any case: start in the notification area without opening the sheet.
bool IsTrayOnlyCommand(std::string_view commandLine);

// Removes the station suite's start-menu shortcuts under ALLUSERSPROFILE, on every Windows
// version; missing files and a folder that is not empty are ignored.
void CleanApStartMenuShortcuts(ProcessPort& process, SystemPort& system, uint16_t language);

// The help path with ".HLP" replaced by "CHN.HLP" for Traditional Chinese, else "ENG.HLP".
std::string ApHelpFileName(std::string helpPath, uint16_t language);

}  // namespace vx
