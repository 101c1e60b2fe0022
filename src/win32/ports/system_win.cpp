#include <windows.h>

#include "base/utf8.h"
#include "platform/trace.h"
#include "win32/ports/wide.h"
#include "win32/ports/win32_ports.h"
#include "win32/ports/win32_services.h"

namespace vx {

void* FindKernel32Function(const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name));
}

std::optional<OsVersionInfo> Win32System::GetVersion(bool extended) {
  OSVERSIONINFOEXW v = {};
  v.dwOSVersionInfoSize = extended ? sizeof(OSVERSIONINFOEXW) : sizeof(OSVERSIONINFOW);
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v))) return std::nullopt;
  OsVersionInfo info;
  info.major = v.dwMajorVersion;
  info.minor = v.dwMinorVersion;
  info.build = v.dwBuildNumber;
  info.platformId = v.dwPlatformId;
  info.productType = extended ? v.wProductType : 0;
  return info;
}

uint16_t Win32System::DefaultUiLanguage() { return GetUserDefaultUILanguage(); }

bool Win32System::ScreenReaderRunning() {
  BOOL on = FALSE;
  return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &on, 0) && on;
}

std::optional<std::string> Win32System::GetEnv(const std::string& name) {
  std::wstring wname = Widen(name);
  DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring value(n, L'\0');
  n = GetEnvironmentVariableW(wname.c_str(), value.data(), n);
  value.resize(n);
  return Narrow(value);
}

std::optional<bool> Win32System::IsWow64Process() {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto fn = reinterpret_cast<Fn>(lookup_("IsWow64Process"));
  if (!fn) return std::nullopt;
  BOOL wow = FALSE;
  if (!fn(GetCurrentProcess(), &wow)) return false;
  return wow != FALSE;
}

bool Win32System::EnableWow64FsRedirection(bool enable) {
  using Fn = BOOLEAN(WINAPI*)(BOOLEAN);
  auto fn = reinterpret_cast<Fn>(lookup_("Wow64EnableWow64FsRedirection"));
  return fn && fn(enable ? TRUE : FALSE);
}

bool Win32System::TokenHasAdministrators() { return TokenInAdministrators(); }

std::optional<std::string> Win32System::ToAnsi(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  if (!IsValidUtf8(utf8)) return std::nullopt;
  const std::wstring wide = Widen(utf8);
  const int n = static_cast<int>(wide.size());
  // No best-fit stand-ins ("e" for an accented letter, "?" for the rest): a credential sent with
  // another character than typed only fails later, at the server, without saying why.
  BOOL usedDefault = FALSE;
  int size =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), n, nullptr, 0, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<size_t>(size), '\0');
  size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), n, ansi.data(), size, nullptr,
                             &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  ansi.resize(static_cast<size_t>(size));
  return ansi;
}

void InstallDebugTraceSink() {
#ifndef NDEBUG
  SetTraceSink([](std::string_view line) { OutputDebugStringW(Widen(line).c_str()); });
#endif
}

}  // namespace vx
