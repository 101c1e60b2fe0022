#include "station/shell/startup.h"

#include "base/hex.h"

namespace vx {

bool IsShowupCommand(std::string_view commandLine) {
  // The shell may hand the arguments over with surrounding blanks or quotes.
  while (!commandLine.empty() && (commandLine.front() == ' ' || commandLine.front() == '"'))
    commandLine.remove_prefix(1);
  while (!commandLine.empty() && (commandLine.back() == ' ' || commandLine.back() == '"')) commandLine.remove_suffix(1);
  return EqualsIgnoreCase(commandLine, "showup");
}

void CleanStartMenuShortcuts(ProcessPort& process, SystemPort& system, int osKind, uint16_t language) {
  if (osKind <= 7) return;
  auto all = system.GetEnv("ALLUSERSPROFILE");
  if (!all) return;
  const bool chinese = language == kLangChineseTaiwan;
  const char* shortcut = chinese ? "\\「開始」功能表\\程式集\\Veltrix Wireless\\Veltrix Wireless Utility.lnk"
                                 : "\\Start Menu\\Programs\\Veltrix Wireless\\Veltrix Wireless Utility.lnk";
  const char* folder = chinese ? "\\「開始」功能表\\程式集\\Veltrix Wireless" : "\\Start Menu\\Programs\\Veltrix Wireless";
  const char* startup = chinese ? "\\「開始」功能表\\程式集\\啟動\\Veltrix Wireless Utility.lnk"
                                : "\\Start Menu\\Programs\\Startup\\Veltrix Wireless Utility.lnk";
  process.RemoveFile(*all + shortcut);
  process.RemoveFolder(*all + folder);
  process.RemoveFile(*all + startup);
}

}  // namespace vx
