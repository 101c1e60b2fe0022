// System facts port: version, language, environment, WOW64.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

enum : uint32_t { kPlatformWin32Windows = 1, kPlatformWin32Nt = 2 };
enum : uint8_t { kProductWorkstation = 1, kProductDomainController = 2, kProductServer = 3 };

// What GetVersionEx reports.
struct OsVersionInfo {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platformId = 0;
  uint8_t productType = 0;  // only in the extended record
};

class SystemPort {
 public:
  virtual ~SystemPort() = default;
  // extended: the 156-byte record with the product type; otherwise the plain 148-byte one.
  virtual std::optional<OsVersionInfo> GetVersion(bool extended) = 0;
  virtual uint16_t DefaultUiLanguage() = 0;
  virtual std::optional<std::string> GetEnv(const std::string& name) = 0;
  // Absent when kernel32 lacks IsWow64Process.
  virtual std::optional<bool> IsWow64Process() = 0;
  // False when kernel32 lacks Wow64EnableWow64FsRedirection.
  virtual bool EnableWow64FsRedirection(bool enable) = 0;
  // True when the process token's groups hold the built-in Administrators group.
  virtual bool TokenHasAdministrators() { return true; }
  // `utf8` in the system's ANSI code page, exactly; nullopt when a character has no form there.
  virtual std::optional<std::string> ToAnsi(std::string_view utf8) { return std::string(utf8); }
  // True while a screen reader runs (it says so to the system): lists then say in words what
  // their icons show.
  virtual bool ScreenReaderRunning() { return false; }
};

}  // namespace vx
