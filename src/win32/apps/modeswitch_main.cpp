// ModeSwitch stand-in for simulation: started by one utility at a hand-over, it waits for that
// utility to end and starts the other one from its own folder.
#include <windows.h>

#include <string>

#include "sim/modeswitch/mode_switch.h"
#include "win32/ports/wide.h"

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  size_t slash = p.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : p.substr(0, slash);
}

class Win32ModeSwitchSystem : public vx::sim::ModeSwitchSystem {
 public:
  bool MutexHeld(const std::string& name) override {
    HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, vx::Widen(name).c_str());
    if (!h) return false;
    CloseHandle(h);
    return true;
  }
  bool Start(const std::string& program) override {
    std::wstring folder = OwnFolder();
    std::wstring line = L"\"" + folder + L"\\" + vx::Widen(program) + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
      return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }
  void SleepMs(uint32_t ms) override { Sleep(ms); }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  auto request =
      vx::sim::ParseModeSwitch(vx::sim::SplitCommandLine(vx::Narrow(commandLine ? commandLine : L"")));
  if (!request) return 2;
  Win32ModeSwitchSystem system;
  return vx::sim::RunModeSwitch(*request, system) == vx::sim::ModeSwitchResult::Started ? 0 : 1;
}
