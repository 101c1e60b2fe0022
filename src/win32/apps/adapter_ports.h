// The ports through which a utility reaches its adapter and the system services around it.
#pragma once
#include <memory>

#include "platform/cert_store.h"
#include "platform/device.h"
#include "platform/device_setup.h"
#include "platform/ip_info.h"
#include "platform/supplicant.h"

namespace vx {

struct AdapterPorts {
  std::unique_ptr<DevicePort> device;
  std::unique_ptr<DevicePort> bridge;  // the bridge driver's "\\.\XBRG"
  std::unique_ptr<DeviceSetupPort> setup;
  std::unique_ptr<IpInfoPort> ipInfo;
  std::unique_ptr<SupplicantPort> supplicant;
  std::unique_ptr<CertStorePort> certs;  // the station's certificate stores
};

enum class AdapterPortUse { Station, AccessPoint };

// The station gets the supplicant and the certificate stores, the access point utility the bridge
// device.
AdapterPorts MakeAdapterPorts(AdapterPortUse use);

}  // namespace vx
