#include "softap/shell/ap_startup.h"

#include "base/hex.h"

namespace vx {
namespace {
constexpr uint16_t kChineseTaiwan = 1028;
}

bool IsTrayOnlyCommand(std::string_view commandLine) {
  // The shell may pass the arguments with surrounding blanks or quotes.
  while (!commandLine.empty() && (commandLine.front() == ' ' || commandLine.front() == '"'))
    commandLine.remove_prefix(1);
  while (!commandLine.empty() && (commandLine.back() == ' ' || commandLine.back() == '"')) commandLine.remove_suffix(1);
  return EqualsIgnoreCase(commandLine, "-S");
}

void CleanApStartMenuShortcuts(ProcessPort& process, SystemPort& system, uint16_t language) {
  auto all = system.GetEnv("ALLUSERSPROFILE");
  if (!all) return;
  const bool chinese = language == kChineseTaiwan;
  const std::string programs = chinese ? "\\「開始」功能表\\程式集" : "\\Start Menu\\Programs";
  const std::string startup = chinese ? "\\啟動" : "\\Startup";
  const std::string folder = programs + "\\Veltrix Wireless";
  process.RemoveFile(*all + folder + "\\Veltrix Wireless Utility.lnk");
  process.RemoveFolder(*all + folder);
  process.RemoveFile(*all + programs + startup + "\\Veltrix Wireless Utility.lnk");
}

std::string ApHelpFileName(std::string helpPath, uint16_t language) {
  std::string upper = ToUpperAscii(helpPath);
  size_t at = upper.rfind(".HLP");
  if (at == std::string::npos) return helpPath;
  helpPath.replace(at, 4, language == kChineseTaiwan ? "CHN.HLP" : "ENG.HLP");
  return helpPath;
}

}  // namespace vx
