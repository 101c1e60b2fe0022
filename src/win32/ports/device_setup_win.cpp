#include <windows.h>
#include <setupapi.h>

#include "win32/ports/wide.h"
#include "win32/ports/win32_ports.h"

namespace vx {
namespace {

std::string Property(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property) {
  wchar_t buffer[512] = {};
  DWORD type = 0;
  if (!SetupDiGetDeviceRegistryPropertyW(set, &info, property, &type, reinterpret_cast<BYTE*>(buffer),
                                         sizeof buffer - sizeof(wchar_t), nullptr))
    return {};
  return Narrow(buffer);  // a multi-string yields its first string
}

std::optional<std::string> InstanceId(HDEVINFO set, SP_DEVINFO_DATA& info) {
  HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return std::nullopt;
  wchar_t value[128] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  DWORD type = 0;
  LONG r = RegQueryValueExW(key, L"NetCfgInstanceId", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return Narrow(value);
}

}  // namespace

bool Win32DeviceSetup::EnumerateNetDevices(std::vector<NetDevice>& devices) {
  devices.clear();
  GUID guids[3];
  DWORD required = 0;
  if (!SetupDiClassGuidsFromNameW(L"Net", guids, 3, &required) || required == 0) return false;
  HDEVINFO set = SetupDiGetClassDevsW(&guids[0], nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return false;
  SP_DEVINFO_DATA info;
  info.cbSize = sizeof info;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
    NetDevice d;
    d.hardwareId = Property(set, info, SPDRP_HARDWAREID);
    d.driverKey = Property(set, info, SPDRP_DRIVER);
    d.friendlyName = Property(set, info, SPDRP_FRIENDLYNAME);
    d.description = Property(set, info, SPDRP_DEVICEDESC);
    d.location = Property(set, info, SPDRP_LOCATION_INFORMATION);
    d.manufacturer = Property(set, info, SPDRP_MFG);
    d.netCfgInstanceId = InstanceId(set, info);
    devices.push_back(std::move(d));
  }
  SetupDiDestroyDeviceInfoList(set);
  return true;
}

}  // namespace vx
