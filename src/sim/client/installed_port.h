// The port of the wlansim that the simulated platform in this prefix relays to: the miniport
// stand-in's service key holds it (HKLM\System\CurrentControlSet\Services\VxSimNic\Parameters,
// "Port"). The stand-in libraries read it on first use. Windows only; test fixtures only.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

namespace vx::sim {

inline std::optional<uint16_t> InstalledSimPort() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxSimNic\\Parameters", 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD port = 0, size = sizeof port, type = 0;
  const bool read =
      RegQueryValueExA(key, "Port", nullptr, &type, reinterpret_cast<BYTE*>(&port), &size) == ERROR_SUCCESS &&
      type == REG_DWORD && port > 0 && port < 65536;
  RegCloseKey(key);
  if (!read) return std::nullopt;
  return static_cast<uint16_t>(port);
}

}  // namespace vx::sim
