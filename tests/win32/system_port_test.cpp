// The other Win32 ports and the instance mutex, against the real system.
#include <windows.h>

#include <vector>

#include "driver/oid_channel.h"
#include "driver/os_version.h"
#include "tests/win32/check.h"
#include "win32/apps/instance.h"
#include "win32/ports/win32_ports.h"
#include "win32/ports/win32_services.h"
#include "win32/supplicant/aegis_library.h"

using namespace vx;

TEST_CASE("the second holder of the instance mutex sees it taken, and it frees on release") {
  {
    InstanceMutex first(L"KC30-port-test");
    CHECK(!first.AlreadyRunning());
    InstanceMutex second(L"KC30-port-test");
    CHECK(second.AlreadyRunning());
  }
  InstanceMutex again(L"KC30-port-test");
  CHECK(!again.AlreadyRunning());
}

TEST_CASE("version facts give an NT kind and the environment reads through") {
  Win32System sys;
  int kind = DetectOsVersion(sys, Program::Station);
  CHECK(kind >= 7);
  SetEnvironmentVariableW(L"VX_PORT_TEST", L"caf\u00e9");
  auto v = sys.GetEnv("VX_PORT_TEST");
  CHECK(v && *v == "caf\xC3\xA9");
  CHECK(!sys.GetEnv("VX_PORT_TEST_ABSENT"));
  CHECK(sys.IsWow64Process().has_value());
  // Credentials in the ANSI code page: exactly, or not at all (no code page holds an emoji).
  CHECK(sys.ToAnsi("user-1") == std::optional<std::string>("user-1"));
  CHECK(!sys.ToAnsi("user\xF0\x9F\x98\x80"));
  CHECK(!sys.ToAnsi("\xC3"));
}

TEST_CASE("without the WOW64 functions, as on Windows 2000, the process is not under WOW64") {
  Win32System sys([](const char*) -> void* { return nullptr; });
  CHECK(!sys.IsWow64Process().has_value());
  CHECK(!IsWow64(sys, 10));
  CHECK(!sys.EnableWow64FsRedirection(false));
  CHECK(!sys.EnableWow64FsRedirection(true));
  CHECK(DetectOsVersion(sys, Program::Station) >= 7);
}

TEST_CASE("without the IP helper or its GetAdaptersInfo there is no IP information") {
  std::vector<AdapterIpInfo> adapters(1);
  Win32IpInfo absent(L"vx-no-such-iphlpapi.dll");
  CHECK(!absent.GetAdapters(adapters));
  CHECK(adapters.empty());
  adapters.resize(1);
  Win32IpInfo withoutFunction(L"version.dll");
  CHECK(!withoutFunction.GetAdapters(adapters));
  CHECK(adapters.empty());
  Win32IpInfo present;
  CHECK(present.GetAdapters(adapters));
}

TEST_CASE("a device that does not exist does not open, so the channel fails at once") {
  Win32Device device;
  CHECK(device.Open("\\\\.\\{00000000-0000-0000-0000-000000000000}") == nullptr);
  CHECK(device.Open("") == nullptr);
  Win32Timers timers;
  OidChannel channel(device, timers, Program::Station);
  channel.SetDevicePath("\\\\.\\{00000000-0000-0000-0000-000000000000}");
  uint8_t data[4] = {};
  CHECK(!channel.Set(0x0D01020A, data));
  CHECK(channel.Pending().empty());
}

TEST_CASE("thread timers fire in the message loop until killed") {
  Win32Timers timers;
  int ticks = 0;
  TimerId id = timers.Start(20, [&](TimerId) { ++ticks; });
  CHECK(id != 0);
  DWORD start = GetTickCount();
  MSG msg;
  while (ticks < 3 && GetTickCount() - start < 5000) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&msg);
    } else {
      Sleep(5);
    }
  }
  CHECK(ticks >= 3);
  timers.Kill(id);
  int after = ticks;
  start = GetTickCount();
  while (GetTickCount() - start < 100) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
  CHECK(ticks == after);
}

TEST_CASE("a library planted in the current folder and on PATH is never loaded") {
  wchar_t buffer[MAX_PATH];
  std::wstring own(buffer, GetModuleFileNameW(nullptr, buffer, MAX_PATH));
  std::wstring plant(buffer, GetTempPathW(MAX_PATH, buffer));
  CreateDirectoryW((plant += L"vx-planted").c_str(), nullptr);
  const std::wstring planted = plant + L"\\AegisE5.dll";
  CHECK(
      CopyFileW((own.substr(0, own.rfind(L'\\') + 1) + VX_PLANTED_LIBRARY).c_str(), planted.c_str(), FALSE));
  GetCurrentDirectoryW(MAX_PATH, buffer);
  SetCurrentDirectoryW(plant.c_str());
  SetEnvironmentVariableW(L"PATH", (plant + L";" + buffer).c_str());
  SetEnvironmentVariableW(L"VX_PLANTED_LOADED", nullptr);
  AegisSupplicant().OpenGlobal("KC30");  // only the system folder's copy, if there is one
  CHECK(GetEnvironmentVariableW(L"VX_PLANTED_LOADED", nullptr, 0) == 0);
  HMODULE onPurpose = LoadLibraryW(planted.c_str());  // the mark works
  CHECK(onPurpose && GetEnvironmentVariableW(L"VX_PLANTED_LOADED", nullptr, 0) != 0);
  FreeLibrary(onPurpose);
  SetCurrentDirectoryW(buffer);
  DeleteFileW(planted.c_str());
  RemoveDirectoryW(plant.c_str());
}

int main() { return vx::check::RunAll(); }
