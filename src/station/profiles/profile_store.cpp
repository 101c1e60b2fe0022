#include "station/profiles/profile_store.h"

#include <algorithm>
#include <cstdio>

#include "base/hex.h"
#include "base/utf8.h"
#include "common/settings/registry_values.h"
#include "common/text/shown_text.h"
#include "driver/discovery.h"
#include "platform/trace.h"
#include "station/profiles/wep_key_text.h"

namespace vx {
namespace {

constexpr const char* kContainer = "Profile\\Station";
constexpr size_t kMaxKeyNameLength = 255;  // the registry's own limit

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool UsableKeyName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxKeyNameLength && name.find('\\') == std::string_view::npos;
}

std::vector<uint8_t> ReadCertificate(RegistryPort& reg, const RegKey& key, const char* lenName,
                                     const char* dataName) {
  auto text = ReadText(reg, key, dataName);
  if (!text) return {};
  auto bytes = DecodeHex(*text);
  if (!bytes) return {};
  // The length value says how many of the stored bytes count; it can only shorten them.
  auto len = ReadIntIfPresent(reg, key, lenName);
  if (len && *len >= 0 && static_cast<size_t>(*len) < bytes->size()) bytes->resize(static_cast<size_t>(*len));
  return std::move(*bytes);
}

}  // namespace

bool SsidIsProfileName(std::string_view ssid) {
  if (!UsableKeyName(ssid) || TrimProfileName(ssid) != ssid || !IsValidUtf8(ssid)) return false;
  return std::none_of(ssid.begin(), ssid.end(),
                      [](char c) { return static_cast<uint8_t>(c) < 0x20 || c == 0x7F; });
}

std::string ProfileNameFromSsid(std::string_view ssid, const StringTable& shown, size_t maxCharacters) {
  std::string name = ShownSsid(ssid, shown);
  std::replace(name.begin(), name.end(), '\\', '_');
  name = TrimProfileName(name);
  if (name.empty()) {
    // Blanks only: their escapes, so the name still says what the network is called.
    for (char c : ssid) {
      char text[5];
      std::snprintf(text, sizeof text, "_x%02X", static_cast<uint8_t>(c));
      name += text;
    }
  }
  return TrimProfileName(Utf8Prefix(name, maxCharacters));
}

std::string TrimProfileName(std::string_view name) {
  size_t b = 0, e = name.size();
  while (b < e && IsBlank(name[b])) ++b;
  while (e > b && IsBlank(name[e - 1])) --e;
  return std::string(name.substr(b, e - b));
}

std::string NextProfileName(const std::vector<std::string>& names, std::string_view prefix) {
  int64_t highest = 0;
  for (const auto& n : names) {
    if (n.size() < prefix.size() || !EqualsIgnoreCase(std::string_view(n).substr(0, prefix.size()), prefix))
      continue;
    highest = std::max<int64_t>(highest, ParseDecimal(std::string_view(n).substr(prefix.size())));
  }
  return std::string(prefix) + std::to_string(highest + 1);
}

ProfileStore::ProfileStore(RegistryPort& reg, RootSource root, ActivationHook activate)
    : reg_(reg), root_(std::move(root)), activate_(std::move(activate)) {}

ProfileStore::ProfileStore(RegistryPort& reg, const AdapterDiscovery& discovery, ActivationHook activate)
    : ProfileStore(
          reg, [&discovery] { return discovery.Selected().settingsRoot; }, std::move(activate)) {}

RegKey ProfileStore::AdapterKey() const { return Hklm(root_()); }
RegKey ProfileStore::ContainerKey() const { return SubKey(AdapterKey(), kContainer); }
RegKey ProfileStore::ProfileKey(std::string_view name) const { return SubKey(ContainerKey(), name); }

std::vector<std::string> ProfileStore::ListProfiles() {
  std::vector<std::string> names;
  if (!reg_.EnumSubkeys(ContainerKey(), names)) names.clear();
  return names;
}

std::optional<StationProfile> ProfileStore::ReadProfile(std::string_view name) {
  if (!UsableKeyName(name)) return std::nullopt;
  RegKey key = ProfileKey(name);
  if (!reg_.KeyExists(key)) return std::nullopt;
  StationProfile p;
  p.name = std::string(name);
  auto text = [&](const char* n, std::string& field) {
    if (auto v = ReadText(reg_, key, n)) field = std::move(*v);
  };
  auto number = [&](const char* n, int32_t& field) { field = ReadInt(reg_, key, n, field); };

  text(regstr::kSsid, p.ssid);
  number(regstr::kChannel, p.channel);
  number(regstr::kNetworkType, p.networkType);
  number(regstr::kPreambleType, p.preambleType);
  if (p.preambleType == 1) p.preambleType = 2;
  number(regstr::kAcPowerCam, p.acPowerCam);
  number(regstr::kPsMode, p.psMode);
  if (p.psMode == 2)
    p.psMode = 1;
  else if (p.psMode > 2 || p.psMode < 0)
    p.psMode = 0;
  number(regstr::kTxPower, p.txPower);
  number(regstr::kUseRts, p.useRts);
  number(regstr::kRtsThresh, p.rtsThresh);
  p.rtsThresh = p.useRts ? std::clamp(p.rtsThresh, 0, 2347) : 2347;
  number(regstr::kUseFrag, p.useFrag);
  number(regstr::kFragThresh, p.fragThresh);
  p.fragThresh = p.useFrag ? std::clamp(p.fragThresh, 256, 2346) : 2346;
  number(regstr::kAuthenType, p.authenType);
  number(regstr::kEncryption, p.encryption);
  number(regstr::kLeapEnabled, p.leapEnabled);
  text(regstr::kLeapUserName, p.leapUserName);
  text(regstr::kLeapPassword, p.leapPassword);
  text(regstr::kWpaPsk, p.wpaPsk);
  int32_t keyUse = ReadInt(reg_, key, regstr::kWepKeyUse, 1);
  p.wepKeyUse = keyUse >= 1 && keyUse <= 4 ? keyUse - 1 : 0;
  for (size_t i = 0; i < 4; ++i) {
    number(regstr::kWepKeyType[i], p.wepKeyType[i]);
    if (auto stored = ReadText(reg_, key, regstr::kWepKey[i]))
      p.wepKey[i] = DecodeWepKeyText(p.wepKeyType[i], *stored);
  }
  number(regstr::kUse8021x, p.use8021x);
  number(regstr::kAuthenProtocol, p.authenProtocol);
  number(regstr::kTunnelProtocol, p.tunnelProtocol);
  text(regstr::kId, p.id);
  text(regstr::kPassword, p.password);
  text(regstr::kTunnelId, p.tunnelId);
  text(regstr::kTunnelPassword, p.tunnelPassword);
  number(regstr::kSessionResumption, p.sessionResumption);
  number(regstr::kPasswordMode, p.passwordMode);
  number(regstr::kUseClientCert, p.useClientCert);
  number(regstr::kUseServerCert, p.useServerCert);
  p.clientCert = ReadCertificate(reg_, key, regstr::kClientCertLen, regstr::kClientCertData);
  p.serverCert = ReadCertificate(reg_, key, regstr::kServerCertLen, regstr::kServerCertData);
  text(regstr::kServerName, p.serverName);
  number(regstr::kNameRule, p.nameRule);
  number(regstr::kIntermediateCert, p.intermediateCert);
  number(regstr::kWirelessMode, p.wirelessMode);
  number(regstr::kTxBurst, p.txBurst);
  number(regstr::kTurboRate, p.turboRate);
  number(regstr::kBgProtection, p.bgProtection);
  number(regstr::kShortSlot, p.shortSlot);
  number(regstr::kAdhocOfdm, p.adhocOfdm);
  number(regstr::kTransRate, p.transRate);
  return p;
}

std::vector<RegNamedValue> ProfileValues(const StationProfile& p) {
  std::vector<RegNamedValue> values;
  auto text = [&](const char* n, std::string_view v) { values.push_back({n, RegValue::Sz(std::string(v))}); };
  auto number = [&](const char* n, int32_t v) { text(n, std::to_string(v)); };

  text(regstr::kSsid, p.ssid);
  number(regstr::kChannel, p.channel);
  number(regstr::kNetworkType, p.networkType);
  number(regstr::kPreambleType, p.preambleType);
  number(regstr::kAcPowerCam, p.acPowerCam);
  number(regstr::kPsMode, p.psMode);
  number(regstr::kTxPower, p.txPower);
  number(regstr::kUseRts, p.useRts);
  number(regstr::kRtsThresh, p.useRts ? p.rtsThresh : 2347);
  number(regstr::kUseFrag, p.useFrag);
  number(regstr::kFragThresh, p.useFrag ? p.fragThresh : 0);
  number(regstr::kAuthenType, p.authenType);
  number(regstr::kEncryption, p.encryption);
  number(regstr::kLeapEnabled, p.leapEnabled);
  text(regstr::kLeapUserName, p.leapUserName);
  text(regstr::kLeapPassword, p.leapPassword);
  text(regstr::kWpaPsk, p.wpaPsk);
  number(regstr::kWepKeyUse, std::clamp(p.wepKeyUse, 0, 3) + 1);
  for (size_t i = 0; i < 4; ++i) number(regstr::kWepKeyType[i], p.wepKeyType[i]);
  for (size_t i = 0; i < 4; ++i) text(regstr::kWepKey[i], EncodeWepKeyText(p.wepKeyType[i], p.wepKey[i]));
  number(regstr::kUse8021x, p.leapEnabled ? 0 : p.use8021x);
  number(regstr::kAuthenProtocol, p.authenProtocol);
  number(regstr::kTunnelProtocol, p.tunnelProtocol);
  text(regstr::kId, p.id);
  text(regstr::kPassword, p.password);
  text(regstr::kTunnelId, p.tunnelId);
  text(regstr::kTunnelPassword, p.tunnelPassword);
  number(regstr::kSessionResumption, p.sessionResumption);
  number(regstr::kPasswordMode, p.passwordMode);
  number(regstr::kUseClientCert, p.useClientCert);
  number(regstr::kUseServerCert, p.useServerCert);
  number(regstr::kClientCertLen, static_cast<int32_t>(p.clientCert.size()));
  text(regstr::kClientCertData, EncodeHex(p.clientCert, /*upper=*/false));
  number(regstr::kServerCertLen, static_cast<int32_t>(p.serverCert.size()));
  text(regstr::kServerCertData, EncodeHex(p.serverCert, /*upper=*/false));
  text(regstr::kServerName, p.serverName);
  number(regstr::kNameRule, p.nameRule);
  number(regstr::kIntermediateCert, p.intermediateCert);
  number(regstr::kWirelessMode, p.wirelessMode);
  number(regstr::kTxBurst, p.txBurst);
  number(regstr::kTurboRate, p.turboRate);
  number(regstr::kBgProtection, p.bgProtection);
  number(regstr::kShortSlot, p.shortSlot);
  number(regstr::kAdhocOfdm, p.adhocOfdm);
  number(regstr::kTransRate, p.transRate);
  return values;
}

namespace {

std::vector<RegNamedValue> LiveRecord(const std::vector<RegNamedValue>& stored) {
  auto find = [&](const std::string& name) {
    return std::find_if(stored.begin(), stored.end(),
                        [&](const RegNamedValue& v) { return EqualsIgnoreCase(v.name, name); });
  };
  // Every value of the record, so nothing of the profile active before stays live; a value the
  // profile lacks, or holds as something other than text, gets the record's default.
  std::vector<RegNamedValue> live = ProfileValues(StationProfile{});
  for (auto& v : live) {
    auto s = find(v.name);
    if (s != stored.end() && s->value.IsText()) v.value = s->value;
  }
  for (const auto& s : stored) {
    const bool inRecord = std::any_of(
        live.begin(), live.end(), [&](const RegNamedValue& v) { return EqualsIgnoreCase(v.name, s.name); });
    if (!inRecord) live.push_back(s);
  }
  return live;
}

}  // namespace

bool ProfileStore::WriteProfile(const StationProfile& p) {
  std::string name = TrimProfileName(p.name);
  if (!UsableKeyName(name)) return false;
  // The container is created under the adapter key, never in its place when there is none.
  if (root_().empty() || !reg_.KeyExists(AdapterKey())) return false;
  RegKey key = ProfileKey(name);
  // Whole or not at all: a profile missing some values would be activated with a mix of old and
  // default ones.
  if (!WriteValuesWhole(reg_, key, ProfileValues(p))) {
    Trace("WriteProfile '%s' failed\n", key.path.c_str());
    return false;
  }
  return true;
}

std::string ProfileStore::ProfileSsid(std::string_view name) {
  if (!UsableKeyName(name)) return {};
  return ReadText(reg_, ProfileKey(name), regstr::kSsid, "");
}

ProfileLookup ProfileStore::ProfileExists(std::string_view name) {
  std::vector<std::string> names;
  if (!reg_.EnumSubkeys(ContainerKey(), names)) return ProfileLookup::NoContainer;
  for (const auto& n : names)
    if (EqualsIgnoreCase(n, name)) return ProfileLookup::Found;
  return ProfileLookup::NotFound;
}

NameCheck ProfileStore::CheckProfileName(std::string_view name, std::string_view openingName) {
  std::string trimmed = TrimProfileName(name);
  if (trimmed.empty()) return NameCheck::Empty;
  if (!UsableKeyName(trimmed)) return NameCheck::Invalid;
  if (!openingName.empty() && EqualsIgnoreCase(trimmed, TrimProfileName(openingName))) return NameCheck::Ok;
  return ProfileExists(trimmed) == ProfileLookup::Found ? NameCheck::Duplicate : NameCheck::Ok;
}

bool ProfileStore::DeleteProfile(std::string_view name, std::string* error) {
  RegKey container = ContainerKey();
  if (!reg_.KeyExists(container)) {
    char text[600];
    std::snprintf(text, sizeof text, "RegOpenKeyEx '%s' failed\n", container.path.c_str());
    if (error) *error = text;
    return false;
  }
  // An empty name would address the container itself.
  if (!UsableKeyName(name)) return false;
  return reg_.DeleteTree(ProfileKey(name));
}

bool ProfileStore::SelectProfile(std::string_view name, bool advanced) {
  RegKey adapter = AdapterKey();
  if (root_().empty() || !reg_.KeyExists(adapter)) return false;
  RegKey profile = ProfileKey(name);
  std::vector<RegNamedValue> stored;
  if (!UsableKeyName(name) || !reg_.EnumValues(profile, stored)) {
    if (!WriteText(reg_, adapter, regstr::kCurProfile, name))
      Trace("RegSetValueEx REGSTR_CUR_PROFILE '%.*s' failed\n", static_cast<int>(name.size()), name.data());
    return false;
  }
  std::vector<RegNamedValue> live{{regstr::kCurProfile, RegValue::Sz(std::string(name))}};
  for (auto& v : LiveRecord(stored)) live.push_back(std::move(v));
  // A live record only partly replaced would send one profile's settings with another's secrets.
  if (!WriteValuesWhole(reg_, adapter, live)) {
    Trace("SelectProfile '%.*s': the live values could not be written\n", static_cast<int>(name.size()),
          name.data());
    return false;
  }
  if (activate_) activate_(advanced);
  return true;
}

bool ProfileStore::ClearLiveProfile() {
  std::vector<RegNamedValue> cleared;
  auto text = [&](const char* n, const char* v) { cleared.push_back({n, RegValue::Sz(v)}); };
  text(regstr::kSsid, "");
  text(regstr::kNetworkType, "1");
  text(regstr::kAuthenType, "0");
  text(regstr::kEncryption, "1");
  for (const char* n : regstr::kWepKeyType) text(n, "");
  // No credential of the profile that was active stays behind, neither live nor in the defaults
  // the live values were last saved to.
  text(regstr::kLeapEnabled, "0");
  text(regstr::kUse8021x, "0");
  for (const char* n : {regstr::kLeapUserName, regstr::kLeapPassword, regstr::kWpaPsk, regstr::kId,
                        regstr::kPassword, regstr::kTunnelId, regstr::kTunnelPassword})
    text(n, "");
  for (const char* n : regstr::kWepKey) text(n, "");
  RegKey adapter = AdapterKey();
  if (!reg_.KeyExists(adapter) || !WriteValuesWhole(reg_, adapter, cleared)) return false;
  RegKey defaults = SubKey(adapter, "Default");
  return !reg_.KeyExists(defaults) || WriteValuesWhole(reg_, defaults, cleared);
}

std::string ProfileStore::CurrentProfileName() {
  return ReadText(reg_, AdapterKey(), regstr::kCurProfile, "");
}

NetworkProfileName ProfileStore::ProfileForNetwork(std::string_view ssid, const StringTable& shown,
                                                   std::string_view suffix) {
  const std::vector<std::string> names = ListProfiles();
  auto stored = [&](const std::string& name) -> const std::string* {
    for (const std::string& n : names)
      if (EqualsIgnoreCase(n, name)) return &n;
    return nullptr;
  };
  if (SsidIsProfileName(ssid)) {
    std::string name = std::string(ssid.substr(0, 32)) + std::string(suffix);
    if (const std::string* n = stored(name)) return {*n, true};
    return {name, false};
  }
  constexpr int kMostAlike = 99;
  std::string fresh;
  for (int k = 1; k <= kMostAlike && fresh.empty(); ++k) {
    const std::string tell = k == 1 ? std::string() : " (" + std::to_string(k) + ")";
    const size_t room =
        kMaxProfileNameLength - std::min(kMaxProfileNameLength - 1, suffix.size() + tell.size());
    const std::string name = ProfileNameFromSsid(ssid, shown, room) + std::string(suffix) + tell;
    const std::string* n = stored(name);
    if (!n)
      fresh = name;
    else if (ProfileSsid(*n) == ssid)
      return {*n, true};
  }
  // The name shown depends on the UI language; a profile made under another one still holds the
  // network's bytes.
  for (const std::string& n : names) {
    const bool suffixed = n.size() >= suffix.size() &&
                          EqualsIgnoreCase(std::string_view(n).substr(n.size() - suffix.size()), suffix);
    if (suffixed && UsableKeyName(n) && ProfileSsid(n) == ssid) return {n, true};
  }
  return {fresh, false};
}

}  // namespace vx
