// The access point's value set: the master copy in the adapter key's "ApDefault" subkey, created
// with its defaults when missing, and the working copy in the adapter key itself.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/hex.h"
#include "driver/oid_channel.h"
#include "platform/registry.h"

namespace vx {

inline constexpr const char* kApDefaultKey = "ApDefault";

// Which utility creates the set: the station utility uses "FragThresh" "0" and "WdsEnable" "1".
enum class ApDefaultsCreator { AccessPoint, Station };

// "SoftAP-" and the last byte of the adapter's address as two upper-case hex digits.
std::string DefaultApSsid(const MacAddress& mac);

// The defaults in the order they are written (TXPower appears twice, as it is written twice).
std::vector<RegNamedValue> ApDefaultValues(ApDefaultsCreator creator, const MacAddress& mac);

class ApSettingsStore {
 public:
  using RootSource = std::function<std::string()>;

  ApSettingsStore(RegistryPort& reg, RootSource root);

  RegKey AdapterKey() const;
  RegKey MasterKey() const;

  // Creates "ApDefault" with its defaults when it does not exist (the default SSID from the
  // adapter's current address), and gives an existing one the defaults of the values it lacks
  // or holds with another type. All or none. True when it was created now.
  bool EnsureMaster(ApDefaultsCreator creator, OidChannel& channel);
  // Copies every value of "ApDefault" into the adapter key, whatever its size.
  bool Apply();
  // The start of the access point utility: make sure the master exists, then apply it.
  // Failures are silent; the driver keeps its previous values when the copy cannot be made.
  void EnsureAndApply(OidChannel& channel);

 private:
  RegistryPort& reg_;
  RootSource root_;
};

}  // namespace vx
