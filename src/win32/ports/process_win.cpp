#include <windows.h>
#include <shellapi.h>

#include "win32/ports/wide.h"
#include "win32/ports/win32_services.h"

namespace vx {

bool Win32Process::Exec(const std::string& commandLine, int showState) {
  // WinExec takes ANSI text; CreateProcess does the same job with the command line unchanged.
  std::wstring line = Widen(commandLine);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(showState);
  PROCESS_INFORMATION pi = {};
  std::wstring folder = Widen(ProgramFolder());
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

std::string Win32Process::ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  size_t slash = p.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? L"." : p.substr(0, slash));
}

bool Win32Process::FileReadable(const std::string& path) {
  HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

bool Win32Process::RemoveFile(const std::string& path) { return ::DeleteFileW(Widen(path).c_str()) != FALSE; }

bool Win32Process::RemoveFolder(const std::string& path) { return RemoveDirectoryW(Widen(path).c_str()) != FALSE; }

bool Win32Process::OpenUrl(const std::string& url) {
  auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return r > 32;
}

bool TokenInAdministrators() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &admins))
    return false;
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, admins, &member)) member = FALSE;
  FreeSid(admins);
  return member != FALSE;
}

}  // namespace vx
