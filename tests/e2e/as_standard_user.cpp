// Runs a program the way a standard user's logon would: the Administrators group is in its
// token for deny only and no privilege is left, as in a limited account or a filtered token.
// Wine gives every process an administrator's token, so this is how the end-to-end tests reach
// the refusals of programs that need one.
//   as_standard_user "COMMAND LINE"      exit code: the program's; 90 and above: could not run it
// The one argument is the program's whole command line, so arguments that must not be quoted
// (an uninstaller's "_?=C:\Program Files\...") reach it as written.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

bool IsAdministrator(HANDLE token, PSID admins) {
  HANDLE impersonation = nullptr;
  if (!DuplicateToken(token, SecurityImpersonation, &impersonation)) return true;
  BOOL member = TRUE;
  if (!CheckTokenMembership(impersonation, admins, &member)) member = TRUE;
  CloseHandle(impersonation);
  return member != FALSE;
}

}  // namespace

int wmain() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 2 || !*argv[1]) {
    std::fprintf(stderr, "usage: as_standard_user \"COMMAND LINE\"\n");
    return 90;
  }
  std::wstring line = argv[1];
  LocalFree(argv);
  HANDLE own = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own)) {
    std::fprintf(stderr, "OpenProcessToken failed: %lu\n", GetLastError());
    return 91;
  }
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &admins)) {
    std::fprintf(stderr, "AllocateAndInitializeSid failed: %lu\n", GetLastError());
    return 91;
  }
  SID_AND_ATTRIBUTES denyOnly{admins, 0};
  HANDLE limited = nullptr;
  if (!CreateRestrictedToken(own, DISABLE_MAX_PRIVILEGE, 1, &denyOnly, 0, nullptr, 0, nullptr, &limited)) {
    std::fprintf(stderr, "CreateRestrictedToken failed: %lu\n", GetLastError());
    return 92;
  }
  // A token that still counts as an administrator's would make the test prove nothing.
  if (IsAdministrator(limited, admins)) {
    std::fprintf(stderr, "the limited token still belongs to the Administrators group\n");
    return 93;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessAsUserW(limited, nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
    std::fprintf(stderr, "CreateProcessAsUser failed: %lu\n", GetLastError());
    return 94;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(limited);
  CloseHandle(own);
  FreeSid(admins);
  return static_cast<int>(code);
}
