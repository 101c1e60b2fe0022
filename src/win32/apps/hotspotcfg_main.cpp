// HotspotCfg: the software access point utility.
#include <windows.h>

#include "driver/discovery.h"
#include "driver/oid_channel.h"
#include "driver/os_version.h"
#include "win32/apps/instance.h"
#include "win32/ports/win32_ports.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vx::InstanceMutex mutex(L"KC30");
  if (mutex.AlreadyRunning()) {
    MessageBoxW(nullptr, L"HotspotCfg is already running", L"HotspotCfg", MB_OK);
    return 0;
  }
  vx::InstallDebugTraceSink();
  vx::Win32System system;
  vx::Win32Device device;
  vx::Win32DeviceSetup setup;
  vx::Win32Timers timers;
  vx::OidChannel channel(device, timers, vx::Program::AccessPoint);
  int kind = vx::DetectOsVersion(system, vx::Program::AccessPoint);
  channel.SetOsKind(kind);
  vx::AdapterDiscovery discovery(setup, device, channel, vx::Program::AccessPoint);
  discovery.DiscoverAdapter(kind, nullptr);
  return 0;
}
