#include "win32/apps/adapter_ports.h"

#include "win32/ports/bridge_win.h"
#include "win32/ports/cert_store_win.h"
#include "win32/ports/win32_ports.h"
#include "win32/ports/win32_services.h"
#include "win32/supplicant/aegis_library.h"

namespace vx {

AdapterPorts MakeAdapterPorts(AdapterPortUse use) {
  AdapterPorts p;
  p.device = std::make_unique<Win32Device>();
  p.setup = std::make_unique<Win32DeviceSetup>();
  p.ipInfo = std::make_unique<Win32IpInfo>();
  if (use == AdapterPortUse::Station) {
    p.supplicant = std::make_unique<AegisSupplicant>();
    p.certs = std::make_unique<Win32CertStore>();
  } else {
    p.bridge = std::make_unique<Win32BridgeDevice>();
  }
  return p;
}

}  // namespace vx
