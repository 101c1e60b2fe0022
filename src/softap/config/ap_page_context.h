// What the access point pages share: the registry and the driver, the activation with the
// adapter facts it keeps, the user's dialogs and the string table.
#pragma once
#include <functional>
#include <string>

#include "common/settings/ap_defaults.h"
#include "driver/oid_channel.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "softap/config/ap_activation.h"

namespace vx {

struct ApPageContext {
  RegistryPort& registry;
  OidChannel& channel;
  ApActivation& activation;
  DialogPort& dialogs;
  const StringTable& strings;
  std::function<std::string()> root;  // the adapter key under HKEY_LOCAL_MACHINE
  bool usb = false;

  ApSettingsStore Store() const { return ApSettingsStore(registry, root); }
  RegKey AdapterKey() const { return Hklm(root()); }
  RegKey MasterKey() const { return SubKey(AdapterKey(), kApDefaultKey); }
};

}  // namespace vx
