#include "common/settings/ap_defaults.h"

#include <algorithm>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "platform/trace.h"

namespace vx {

std::string DefaultApSsid(const MacAddress& mac) {
  return "SoftAP-" + EncodeHex(std::span<const uint8_t>(&mac[5], 1));
}

std::vector<RegNamedValue> ApDefaultValues(ApDefaultsCreator creator, const MacAddress& mac) {
  bool station = creator == ApDefaultsCreator::Station;
  auto sz = [](const char* name, std::string text) {
    return RegNamedValue{name, RegValue::Sz(std::move(text))};
  };
  auto list = [](const char* name) { return RegNamedValue{name, RegValue::MultiSz({})}; };
  return {
      sz("SSID", DefaultApSsid(mac)),
      sz("WirelessMode", "0"),
      sz("TXBurst", "1"),
      sz("TransRate", "0"),
      sz("TurboRate", "0"),
      sz("BGProtection", "0"),
      sz("ShortSlot", "1"),
      sz("Channel", "0"),
      sz("PreambleType", "0"),
      sz("TXPower", "0"),
      sz("RtsThresh", "2347"),
      sz("FragThresh", station ? "0" : "2346"),
      sz("AuthenType", "0"),
      sz("Encryption", "1"),
      sz("WPAPSK", ""),
      sz("WEPKey1Type", "0"),
      sz("WEPKey2Type", "0"),
      sz("WEPKey3Type", "0"),
      sz("WEPKey4Type", "0"),
      sz("WEPKeyUse", "1"),
      sz("WEPKey1", ""),
      sz("WEPKey2", ""),
      sz("WEPKey3", ""),
      sz("WEPKey4", ""),
      sz("RekeyInterval", "60"),
      sz("RekeyMethod", "0"),
      sz("TXPower", "0"),
      sz("RadiusIP", ""),
      sz("RadiusPort", ""),
      sz("RadiusKey", ""),
      sz("AccessControlPolicy", "0"),
      list("AccessControlList"),
      sz("WdsEnable", station ? "1" : "0"),
      list("WdsList"),
      sz("AutoChannelSelect", "0"),
      sz("NoForwarding", "0"),
      sz("HideSSID", "0"),
      sz("BeaconPeriod", "100"),
  };
}

ApSettingsStore::ApSettingsStore(RegistryPort& reg, RootSource root) : reg_(reg), root_(std::move(root)) {}

RegKey ApSettingsStore::AdapterKey() const { return Hklm(root_()); }
RegKey ApSettingsStore::MasterKey() const { return SubKey(AdapterKey(), kApDefaultKey); }

bool ApSettingsStore::EnsureMaster(ApDefaultsCreator creator, OidChannel& channel) {
  // Without the adapter key (no adapter selected) the set would land somewhere else.
  if (root_().empty() || !reg_.KeyExists(AdapterKey())) return false;
  RegKey master = MasterKey();
  const bool exists = reg_.KeyExists(master);
  std::vector<RegNamedValue> stored;
  if (exists) reg_.EnumValues(master, stored);
  MacAddress mac{};
  std::vector<RegNamedValue> missing;
  // A set left by an older version, cut short or hand-edited gets what it lacks from these
  // defaults; otherwise the working copy would keep the station profile's value of that name.
  for (auto& v : ApDefaultValues(creator, mac)) {
    auto s = std::find_if(stored.begin(), stored.end(),
                          [&](const RegNamedValue& n) { return EqualsIgnoreCase(n.name, v.name); });
    const bool fits =
        s != stored.end() && (v.value.type == kRegMultiSz ? s->value.type == kRegMultiSz : s->value.IsText());
    const bool listed = std::any_of(missing.begin(), missing.end(),
                                    [&](const RegNamedValue& n) { return EqualsIgnoreCase(n.name, v.name); });
    if (!fits && !listed) missing.push_back(std::move(v));
  }
  if (missing.empty()) return false;
  if (std::any_of(missing.begin(), missing.end(), [](const RegNamedValue& v) { return v.name == "SSID"; })) {
    channel.Query(OID_802_3_CURRENT_ADDRESS, mac);
    for (auto& v : missing)
      if (v.name == "SSID") v.value = RegValue::Sz(DefaultApSsid(mac));
  }
  if (!WriteValuesWhole(reg_, master, missing)) {
    Trace("ApDefault '%s' could not be written\n", master.path.c_str());
    return false;
  }
  return !exists;
}

bool ApSettingsStore::Apply() {
  RegKey adapter = AdapterKey();
  if (root_().empty() || !reg_.KeyExists(adapter)) return false;
  return CopyKeyValues(reg_, MasterKey(), adapter);
}

void ApSettingsStore::EnsureAndApply(OidChannel& channel) {
  EnsureMaster(ApDefaultsCreator::AccessPoint, channel);
  Apply();
}

}  // namespace vx
