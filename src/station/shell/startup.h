// The station utility's start: the command line, the installer's old shortcuts.
#pragma once
#include <string_view>

#include "platform/process.h"
#include "platform/system.h"

namespace vx {

constexpr uint16_t kLangChineseTaiwan = 1028;

// "showup" in any case opens the main sheet on the first tick.
bool IsShowupCommand(std::string_view commandLine);

// Removes the chip installer's start-menu shortcuts (NT 5.1 and later, with ALLUSERSPROFILE set).
// Failures (missing files, a folder that is not empty) are ignored.
void CleanStartMenuShortcuts(ProcessPort& process, SystemPort& system, int osKind, uint16_t language);

}  // namespace vx
