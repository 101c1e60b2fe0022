// Test fixture: puts the simulated platform into a Wine prefix, as the adapters' driver package
// and Plug and Play would leave it on a user's machine. Never shipped.
//
//   vxsim-platform install PORT   device entries, then the miniport stand-in as a kernel driver
//                                 service, started, with wlansim's PORT in its Parameters, and
//                                 the stand-ins of the supplicant library and of the IP helper in
//                                 the system folder (copied from this build, beside this
//                                 program's folder), the latter made the utilities' own
//   vxsim-platform devices PORT   after an unplug or a replug: the device entries again, and the
//                                 driver restarted, so that it has a device for each adapter
//                                 plugged in and none for one pulled out (Wine opens a device
//                                 whatever the driver answers to the open)
//
// The device entries are those wlansim's device set-up reports of its world (an unplugged card is
// not among them): Enum\<hardware ID>\VXSIMnnnn and the driver key under the network class, which
// carries "Class"="Net" so that Wine's SetupAPI finds the class by name.
// <shlwapi.h> needs <windows.h> first.
// clang-format off
#include <windows.h>
#include <shlwapi.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "sim/client/sim_client.h"

namespace {

constexpr char kClass[] = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr char kClassGuid[] = "{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr char kEnum[] = "System\\CurrentControlSet\\Enum";
constexpr char kService[] = "VxSimNic";
constexpr char kInstancePrefix[] = "VXSIM";

bool SetText(HKEY key, const char* name, const std::string& value, DWORD type = REG_SZ) {
  std::string data = value;
  data.push_back('\0');
  if (type == REG_MULTI_SZ) data.push_back('\0');
  return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

HKEY Create(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

std::vector<std::string> Subkeys(HKEY key) {
  std::vector<std::string> names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  return names;
}

// "...\0007" -> "VXSIM0007": the instance is named by the driver key, one per adapter.
std::string InstanceOf(const vx::NetDevice& d) {
  return kInstancePrefix + d.driverKey.substr(d.driverKey.rfind('\\') + 1);
}

bool WriteDevice(const vx::NetDevice& d) {
  HKEY key = Create(std::string(kEnum) + "\\" + d.hardwareId + "\\" + InstanceOf(d));
  if (!key) return false;
  bool ok = SetText(key, "ClassGUID", kClassGuid) && SetText(key, "Class", "Net") &&
            SetText(key, "Driver", d.driverKey) && SetText(key, "HardwareID", d.hardwareId, REG_MULTI_SZ) &&
            SetText(key, "DeviceDesc", d.description) && SetText(key, "Mfg", d.manufacturer) &&
            SetText(key, "LocationInformation", d.location) &&
            (d.friendlyName.empty() || SetText(key, "FriendlyName", d.friendlyName));
  RegCloseKey(key);
  key = Create(std::string(kClass) + "\\" + d.driverKey.substr(d.driverKey.rfind('\\') + 1));
  if (!key) return false;
  ok = ok && SetText(key, "DriverDesc", d.description) &&
       (!d.netCfgInstanceId || SetText(key, "NetCfgInstanceId", *d.netCfgInstanceId));
  RegCloseKey(key);
  return ok;
}

// Removes the entries of ours (VXSIM instances) that are not in `keep`: a card pulled out.
void RemoveOthers(const std::set<std::string>& keep) {
  HKEY root = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEnum, 0, KEY_ALL_ACCESS, &root) != ERROR_SUCCESS) return;
  for (const std::string& enumerator : Subkeys(root)) {
    HKEY e = nullptr;
    if (RegOpenKeyExA(root, enumerator.c_str(), 0, KEY_ALL_ACCESS, &e) != ERROR_SUCCESS) continue;
    for (const std::string& device : Subkeys(e)) {
      HKEY dev = nullptr;
      if (RegOpenKeyExA(e, device.c_str(), 0, KEY_ALL_ACCESS, &dev) != ERROR_SUCCESS) continue;
      for (const std::string& instance : Subkeys(dev)) {
        std::string path = enumerator + "\\" + device + "\\" + instance;
        if (instance.rfind(kInstancePrefix, 0) == 0 && !keep.count(path)) SHDeleteKeyA(dev, instance.c_str());
      }
      RegCloseKey(dev);
    }
    RegCloseKey(e);
  }
  RegCloseKey(root);
}

bool WriteDevices(vx::sim::SimConnection& connection) {
  vx::sim::RemoteDeviceSetup setup(connection);
  std::vector<vx::NetDevice> devices;
  if (!setup.EnumerateNetDevices(devices)) {
    std::fprintf(stderr, "no device list from wlansim: %s\n", connection.LastError().c_str());
    return false;
  }
  HKEY cls = Create(kClass);
  bool ok = cls && SetText(cls, "Class", "Net");
  if (cls) RegCloseKey(cls);
  std::set<std::string> keep;
  for (const vx::NetDevice& d : devices) {
    ok = WriteDevice(d) && ok;
    keep.insert(d.hardwareId + "\\" + InstanceOf(d));
  }
  RemoveOthers(keep);
  return ok;
}

// A file of this build (a sibling folder of this program's) copied into the system folder, the
// one a program of this program's bitness sees.
bool CopyToSystem(const std::string& fromBuild, const std::string& toSystem) {
  char self[MAX_PATH] = {}, system[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, self, MAX_PATH) || !GetSystemDirectoryA(system, MAX_PATH)) return false;
  std::string from(self);
  from = from.substr(0, from.rfind('\\'));                  // ...\src\sim\install
  from = from.substr(0, from.rfind('\\') + 1) + fromBuild;  // ...\src\sim\<fromBuild>
  std::string to = std::string(system) + "\\" + toSystem;
  CreateDirectoryA(to.substr(0, to.rfind('\\')).c_str(), nullptr);  // a 64-bit prefix's 32-bit drivers
  if (CopyFileA(from.c_str(), to.c_str(), FALSE)) return true;
  std::fprintf(stderr, "cannot copy %s to %s (error %lu)\n", from.c_str(), to.c_str(), GetLastError());
  return false;
}

// The IP helper's stand-in only for the utilities: Wine's own stays every other program's.
bool PreferIpHelperStandIn() {
  bool ok = true;
  for (const char* program : {"ClientCfg.exe", "HotspotCfg.exe"}) {
    HKEY key = nullptr;
    std::string path = std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides";
    ok = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                         nullptr) == ERROR_SUCCESS &&
         SetText(key, "iphlpapi", "native") && ok;
    if (key) RegCloseKey(key);
  }
  return ok;
}

bool WaitFor(SC_HANDLE service, DWORD state) {
  SERVICE_STATUS status{};
  for (int i = 0; i < 100; ++i) {
    if (!QueryServiceStatus(service, &status)) return false;
    if (status.dwCurrentState == state) return true;
    Sleep(100);
  }
  return false;
}

// A running driver holds its file: it is stopped before a new copy goes in (a test lane's
// persistent wineserver keeps it up between installs).
void StopDriver() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return;
  if (SC_HANDLE service = OpenServiceA(manager, kService, SERVICE_ALL_ACCESS)) {
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED) {
      ControlService(service, SERVICE_CONTROL_STOP, &status);
      WaitFor(service, SERVICE_STOPPED);
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

// The driver as a kernel driver service, (re)started so that it reads the port and the world's
// adapters afresh.
bool StartDriver(uint16_t port) {
  HKEY parameters = Create(std::string("System\\CurrentControlSet\\Services\\") + kService + "\\Parameters");
  DWORD value = port;
  bool written =
      parameters && RegSetValueExA(parameters, "Port", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                   sizeof value) == ERROR_SUCCESS;
  if (parameters) RegCloseKey(parameters);
  if (!written) return false;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return false;
  const char* image = "\\SystemRoot\\system32\\drivers\\vxsimnic.sys";
  SC_HANDLE service =
      CreateServiceA(manager, kService, "Simulated wireless adapters (test fixture)", SERVICE_ALL_ACCESS,
                     SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, image, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
  if (!service && GetLastError() == ERROR_SERVICE_EXISTS)
    service = OpenServiceA(manager, kService, SERVICE_ALL_ACCESS);
  bool ok = false;
  if (service) {
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED) {
      ControlService(service, SERVICE_CONTROL_STOP, &status);
      WaitFor(service, SERVICE_STOPPED);
    }
    ok = StartServiceA(service, 0, nullptr) && WaitFor(service, SERVICE_RUNNING);
    if (!ok) std::fprintf(stderr, "the driver service did not start (error %lu)\n", GetLastError());
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 3 ? argv[1] : "";
  const long port = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
  if ((command != "install" && command != "devices") || port < 1 || port > 65535) {
    std::fprintf(stderr, "usage: vxsim-platform install|devices PORT\n");
    return 2;
  }
  vx::sim::SimConnection connection(vx::sim::SimEndpoint{"127.0.0.1", static_cast<uint16_t>(port)});
  if (!WriteDevices(connection)) return 1;
  if (command == "install") StopDriver();
  if (command == "install" &&
      !(CopyToSystem("driver\\vxsimnic.sys", "drivers\\vxsimnic.sys") &&
        CopyToSystem("supplicant\\AegisE5.dll", "AegisE5.dll") &&
        CopyToSystem("iphlpapi\\iphlpapi.dll", "iphlpapi.dll") && PreferIpHelperStandIn()))
    return 1;
  return StartDriver(static_cast<uint16_t>(port)) ? 0 : 1;
}
