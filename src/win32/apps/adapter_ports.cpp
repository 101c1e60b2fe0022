#include "win32/apps/adapter_ports.h"

#include "win32/ports/bridge_win.h"
#include "win32/ports/cert_store_win.h"
#include "win32/ports/win32_ports.h"
#include "win32/ports/win32_services.h"
#include "win32/supplicant/aegis_library.h"

namespace vx {

AdapterPorts MakeAdapterPorts(SystemPort& system, AdapterPortUse use) {
  AdapterPorts p;
  const bool station = use == AdapterPortUse::Station;
  auto simulator = system.GetEnv("VX_SIM");
  auto endpoint = simulator ? sim::ParseSimEndpoint(*simulator) : std::nullopt;
  if (endpoint) {
    p.connection = std::make_unique<sim::SimConnection>(*endpoint);
    p.device = std::make_unique<sim::RemoteDevicePort>(*p.connection);
    p.setup = std::make_unique<sim::RemoteDeviceSetup>(*p.connection);
    p.ipInfo = std::make_unique<sim::RemoteIpInfo>(*p.connection);
    if (station) {
      p.supplicant = std::make_unique<sim::RemoteSupplicant>(*p.connection);
      // The world's certificates, their expiry shown as the system's own stores show it.
      p.certs = std::make_unique<sim::RemoteCertStore>(*p.connection, [](int year, int month, int day) {
        SYSTEMTIME date{};
        date.wYear = static_cast<WORD>(year);
        date.wMonth = static_cast<WORD>(month);
        date.wDay = static_cast<WORD>(day);
        return FormatShortDate(date);
      });
    } else
      p.bridge = std::make_unique<sim::RemoteDevicePort>(*p.connection);
  } else {
    p.device = std::make_unique<Win32Device>();
    p.setup = std::make_unique<Win32DeviceSetup>();
    p.ipInfo = std::make_unique<Win32IpInfo>();
    if (station) {
      p.supplicant = std::make_unique<AegisSupplicant>();
      p.certs = std::make_unique<Win32CertStore>();
    } else
      p.bridge = std::make_unique<Win32BridgeDevice>();
  }
  return p;
}

}  // namespace vx
