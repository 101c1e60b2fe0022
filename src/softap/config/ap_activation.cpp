#include "softap/config/ap_activation.h"

#include <algorithm>

#include "common/passphrase/passphrase.h"
#include "common/settings/ap_defaults.h"
#include "common/settings/registry_values.h"
#include "driver/channels.h"
#include "driver/config_record.h"
#include "driver/discovery.h"
#include "driver/oid_codes.h"
#include "platform/trace.h"

namespace vx {
namespace {

std::string WepKeyName(int n) { return "WEPKey" + std::to_string(n); }

}  // namespace

ApSettings ReadApSettings(RegistryPort& reg, const RegKey& key) {
  ApSettings s;
  auto num = [&](const char* name) { return ReadIntIfPresent(reg, key, name); };
  s.ssid = ReadText(reg, key, "SSID");
  s.wirelessMode = num("WirelessMode");
  s.transRate = num("TransRate");
  s.txPower = num("TXPower");
  s.channel = num("Channel");
  s.autoChannelSelect = num("AutoChannelSelect");
  s.bgProtection = num("BGProtection");
  s.preambleType = num("PreambleType");
  s.beaconPeriod = num("BeaconPeriod");
  s.rtsThresh = num("RtsThresh");
  s.fragThresh = num("FragThresh");
  s.txBurst = num("TXBurst");
  s.turboRate = num("TurboRate");
  s.noForwarding = num("NoForwarding");
  s.hideSsid = num("HideSSID");
  s.shortSlot = num("ShortSlot");
  s.authenType = num("AuthenType");
  s.encryption = num("Encryption");
  s.rekeyMethod = num("RekeyMethod");
  s.rekeyInterval = num("RekeyInterval");
  s.radiusIp = num("RadiusIP");
  s.radiusPort = num("RadiusPort");
  s.wepKeyUse = num("WEPKeyUse");
  s.accessControlPolicy = num("AccessControlPolicy");
  s.wdsEnable = num("WdsEnable");
  s.wpaPsk = ReadText(reg, key, "WPAPSK");
  s.radiusKey = ReadText(reg, key, "RadiusKey");
  for (int n = 1; n <= 4; ++n) {
    s.wepKey[n - 1] = ReadText(reg, key, WepKeyName(n));
    s.wepKeyType[n - 1] = num((WepKeyName(n) + "Type").c_str());
  }
  s.accessControlList = ReadList(reg, key, "AccessControlList");
  s.wdsList = ReadList(reg, key, "WdsList");
  return s;
}

// The access point runs on the KC30 family only.
std::vector<uint32_t> ApChannels24(uint32_t region) { return Channels24(kFamilyKC30, region); }

std::vector<uint32_t> ApChannels5(uint32_t region) { return Channels5(region); }

std::vector<uint32_t> ApAllowedChannels(uint32_t mode, uint32_t bgRegion, uint32_t aRegion) {
  return ChannelsFor(kFamilyKC30, mode, bgRegion, aRegion);
}

std::optional<uint32_t> ApChannelFrequency(int32_t channel) {
  for (const auto& e : ChannelTable)
    if (static_cast<int32_t>(e.channel) == channel) return e.frequencyKhz;
  return std::nullopt;
}

uint32_t ApTxPowerPercent(int32_t level) {
  static constexpr uint32_t kPercent[] = {100, 75, 50, 25, 12};
  return level >= 0 && level <= 4 ? kPercent[level] : 100;
}

uint32_t ApEffectiveMode(int32_t mode, bool has5GHz) {
  if ((mode == 2 || mode == 3) && !has5GHz) return 0;
  return static_cast<uint32_t>(mode);
}

int32_t ApMaxRateIndex(uint32_t mode) {
  if (mode == 1) return 4;
  if (mode == 2 || mode == 4) return 8;
  return 12;
}

std::array<uint8_t, 8> ApDesiredRates(uint32_t mode, int32_t transRate) {
  static constexpr uint8_t kOfdm[] = {12, 18, 24, 36, 48, 72, 96, 108};
  static constexpr uint8_t kMixed[] = {2, 4, 11, 22, 12, 18, 24, 36, 48, 72, 96, 108};
  std::array<uint8_t, 8> r{};
  bool automatic = transRate <= 0 || transRate > ApMaxRateIndex(mode);
  if (mode == 2 || mode == 4) {
    if (automatic)
      r = {108, 96, 72, 48, 36, 24, 18, 12};
    else
      r[0] = kOfdm[transRate - 1];
  } else if (automatic) {
    if (mode == 1)
      r = {22, 11, 4, 2, 0, 0, 0, 0};
    else
      r = {108, 96, 72, 48, 22, 11, 4, 2};
  } else {
    r[0] = kMixed[transRate - 1];
  }
  return r;
}

uint32_t ApCorrectEncryption(int32_t auth, int32_t enc) {
  if (auth >= 0 && auth <= 2) return enc > 1 || enc < 0 ? kEncDisabled : static_cast<uint32_t>(enc);
  if (auth == 3 || auth == 4 || (auth >= 6 && auth <= 9))
    return enc == 4 || enc == 6 || enc == 8 ? static_cast<uint32_t>(enc) : kEncTkipEnabled;
  return static_cast<uint32_t>(enc);
}

uint32_t ApCorrectEncryptionFromPage(int32_t auth, int32_t enc) {
  if (auth == 3 || auth == 4 || auth == 6 || auth == 7 || auth == 9)
    return enc < 4 ? kEncTkipEnabled : static_cast<uint32_t>(enc);
  return static_cast<uint32_t>(enc);
}

std::array<uint8_t, 32> ApDerivePsk(const std::string& wpaPsk, const std::string& ssid) {
  std::array<uint8_t, 32> key{};
  if (wpaPsk.size() == 64) {
    if (auto bytes = DecodeHex(wpaPsk)) std::copy(bytes->begin(), bytes->end(), key.begin());
    return key;
  }
  if (wpaPsk.size() > 63 || ssid.size() > 32) return key;
  return PassphraseToPsk(wpaPsk, ssid);
}

bool ApPskUsable(const std::string& wpaPsk) {
  if (wpaPsk.size() == 64) return DecodeHex(wpaPsk).has_value();
  return wpaPsk.size() >= 8 && wpaPsk.size() <= 63;
}

std::array<uint8_t, 32> ApWdsKey(const std::string& passphrase) {
  static constexpr uint8_t kSalt[] = {'T', 'a', 'm', 's', 'e', 'l'};
  std::array<uint8_t, 32> key{};
  Pbkdf2HmacSha1(
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(passphrase.data()), passphrase.size()), kSalt,
      4096, key);
  return key;
}

std::optional<std::vector<uint8_t>> ApWepKeyMaterial(const std::string& text) {
  if (text.size() != 10 && text.size() != 26) return std::nullopt;
  return DecodeHex(text);  // nothing when a character is no hexadecimal digit
}

std::vector<MacAddress> DecodeApMacList(const std::vector<std::string>& list, size_t max) {
  std::vector<MacAddress> macs;
  for (size_t i = 0; i < list.size() && i < max; ++i) {
    if (list[i].empty()) break;
    if (list[i].size() != 12) continue;
    auto bytes = DecodeHex(list[i]);
    if (!bytes) continue;
    MacAddress m{};
    std::copy(bytes->begin(), bytes->end(), m.begin());
    macs.push_back(m);
  }
  return macs;
}

ApActivation::ApActivation(RegistryPort& reg, OidChannel& channel, RootSource root)
    : reg_(reg), channel_(channel), root_(std::move(root)) {}

void ApActivation::ReadBands() {
  std::vector<uint8_t> buffer(20, 0);
  state_.has5GHz = false;
  if (!channel_.Query(OID_802_11_NETWORK_TYPES_SUPPORTED, buffer)) return;
  for (uint32_t t : DecodeNetworkTypeList(buffer))
    if (t == kNetTypeOFDM5) state_.has5GHz = true;
}

bool ApActivation::CheckChannel() {
  RegKey key = AdapterKey();
  if (root_().empty() || !reg_.KeyExists(key)) return false;
  uint32_t word = 0;
  channel_.QueryU32(VX_OID_802_11_QUERY_COUNTRY_REGION, word);
  CountryRegion region = DecodeCountryRegion(word);
  state_.bgRegion = region.bg;
  state_.aRegion = region.a;
  state_.bgRegionChangeable = region.bgChangeable;
  state_.aRegionChangeable = region.aChangeable;

  uint32_t mode = ApEffectiveMode(ReadInt(reg_, key, "WirelessMode", 0), state_.has5GHz);
  uint32_t driverMode = mode;
  // Only an answer counts: a silent driver must not turn the stored mode into 0.
  if (channel_.QueryU32(VX_OID_802_11_QUERY_PHY_MODE, driverMode) && driverMode != mode)
    mode = ApEffectiveMode(static_cast<int32_t>(driverMode), state_.has5GHz);
  state_.wirelessMode = mode;

  auto allowed = ApAllowedChannels(mode, region.bg, region.a);
  if (allowed.empty()) return true;
  auto stored = ReadIntIfPresent(reg_, key, "Channel");
  int32_t checked = stored.value_or(0);
  if (!stored || std::find(allowed.begin(), allowed.end(), static_cast<uint32_t>(checked)) == allowed.end()) {
    checked = static_cast<int32_t>(allowed.front());
    WriteInt(reg_, key, "Channel", checked);
  }
  WriteInt(reg_, SubKey(key, "Default"), "Channel", checked);
  return true;
}

std::string ApActivation::SsidOrDefault(const std::optional<std::string>& ssid) {
  if (ssid && !ssid->empty()) return *ssid;
  MacAddress mac{};
  channel_.Query(OID_802_3_CURRENT_ADDRESS, mac);
  return DefaultApSsid(mac);
}

uint32_t ApActivation::StepWirelessMode(const ApSettings& s) {
  if (!s.wirelessMode) return state_.wirelessMode;
  uint32_t mode = ApEffectiveMode(*s.wirelessMode, state_.has5GHz);
  uint32_t driver = 0;
  channel_.QueryU32(VX_OID_802_11_QUERY_PHY_MODE, driver);
  if (driver != mode) channel_.SetU32(VX_OID_802_11_SET_PHY_MODE, mode);
  state_.wirelessMode = mode;
  return mode;
}

void ApActivation::StepTxPower(const ApSettings& s) {
  if (s.txPower) channel_.SetU32(VX_OID_802_11_SET_TX_POWER, ApTxPowerPercent(*s.txPower));
}

void ApActivation::StepRates(const ApSettings& s, uint32_t mode) {
  if (!s.transRate) return;
  auto rates = ApDesiredRates(mode, *s.transRate);
  channel_.Set(OID_802_11_DESIRED_RATES, std::span<uint8_t>(rates));
}

void ApActivation::StepConfiguration(const ApSettings& s) {
  std::vector<uint8_t> queried(kConfigurationSize, 0);
  channel_.Query(OID_802_11_CONFIGURATION, queried);
  ConfigurationRecord r = DecodeConfiguration(queried);
  if (s.autoChannelSelect.value_or(0) == 0 && s.channel)
    if (auto f = ApChannelFrequency(*s.channel)) r.dsConfig = *f;
  if (s.beaconPeriod) r.beaconPeriod = static_cast<uint32_t>(*s.beaconPeriod);
  Bytes updated = EncodeConfiguration(r);
  if (updated != queried) channel_.Set(OID_802_11_CONFIGURATION, std::move(updated));
}

void ApActivation::StepPreamble(const ApSettings& s) {
  if (!s.preambleType) return;
  uint32_t wanted = *s.preambleType == 1 ? 1 : 0;
  uint32_t driver = 0;
  channel_.QueryU32(VX_OID_802_11_QUERY_PREAMBLE, driver);
  if (driver != wanted) channel_.SetU32(VX_OID_802_11_SET_PREAMBLE, wanted);
}

void ApActivation::StepThreshold(uint32_t oid, const std::optional<int32_t>& value) {
  if (!value) return;
  uint32_t driver = 0;
  channel_.QueryU32(oid, driver);
  if (driver != static_cast<uint32_t>(*value)) channel_.SetU32(oid, static_cast<uint32_t>(*value));
}

void ApActivation::StepApConfig(const ApSettings& s, uint32_t mode) {
  WriteConfigRecord(
      channel_, VX_OID_802_11_QUERY_AP_CONFIG, VX_OID_802_11_SET_AP_CONFIG,
      [&](ConfigWords& w) {
        auto put = [&](int field, const std::optional<int32_t>& v) {
          if (v) w[field] = static_cast<uint32_t>(*v);
        };
        put(kApTxBurst, s.txBurst);
        put(kApTurboRate, s.turboRate);
        put(kApNoForwarding, s.noForwarding);
        put(kApHideSsid, s.hideSsid);
        if (mode == 0 || mode == 3)
          put(kApBgProtection, s.bgProtection);
        else
          w[kApBgProtection] = 0;
        put(kApShortSlot, s.shortSlot);
      },
      nullptr, OnQueryFailure::Compare);
}

void ApActivation::StepRadius(const ApSettings& s) {
  RadiusRecord r;
  r.server = static_cast<uint32_t>(s.radiusIp.value_or(0));
  r.port = static_cast<uint32_t>(s.radiusPort.value_or(0));
  r.key = s.radiusKey.value_or("");
  Bytes wanted = EncodeRadius(r);
  std::vector<uint8_t> queried(kRadiusSize, 0);
  channel_.Query(VX_OID_802_11_QUERY_RADIUS_DATA, queried);
  if (wanted != queried) channel_.Set(VX_OID_802_11_SET_RADIUS_DATA, std::move(wanted));
}

void ApActivation::StepPsk(const ApSettings& s, const std::string& ssid) {
  if (!s.wpaPsk) return;
  auto key = ApDerivePsk(*s.wpaPsk, ssid);
  Bytes record = EncodeAddKey(kTransmitKeyBit, key);
  // The pairwise key names no BSSID.
  std::fill(record.begin() + 12, record.begin() + 18, 0);
  channel_.Set(OID_802_11_ADD_KEY, std::move(record));
}

void ApActivation::StepRekey(const ApSettings& s) {
  RekeyRecord r{static_cast<uint32_t>(s.rekeyMethod.value_or(0)),
                static_cast<uint32_t>(s.rekeyInterval.value_or(0))};
  Bytes wanted = EncodeRekey(r);
  std::vector<uint8_t> queried(kRekeySize, 0);
  channel_.Query(VX_OID_802_11_QUERY_REKEY_INFO, queried);
  if (wanted != queried) channel_.Set(VX_OID_802_11_SET_REKEY_INFO, std::move(wanted));
}

void ApActivation::StepWepKeys(const ApSettings& s) {
  int32_t use = s.wepKeyUse.value_or(1);
  for (uint32_t n = 1; n <= 4; ++n) {
    auto material = ApWepKeyMaterial(s.wepKey[n - 1].value_or(""));
    if (material) {
      uint32_t index = (n - 1) | (static_cast<int32_t>(n) == use ? kTransmitKeyBit : 0);
      channel_.Set(OID_802_11_ADD_KEY, EncodeAddKey(index, *material));
    } else {
      channel_.Set(OID_802_11_REMOVE_KEY, EncodeRemoveKey(n - 1));
    }
  }
}

void ApActivation::StepSsid(const std::string& ssid) {
  channel_.Set(OID_802_11_SSID, EncodeSsid(SsidRecord::From(ssid)));
}

void ApActivation::StepAccessControl(const ApSettings& s) {
  int32_t policy = s.accessControlPolicy.value_or(0);
  std::vector<MacAddress> macs;
  if (policy != 0 && s.accessControlList) macs = DecodeApMacList(*s.accessControlList, kMaxMacTableEntries);
  SendAccessControl(policy, macs);
}

void ApActivation::SendAccessControl(int32_t policy, const std::vector<MacAddress>& macs) {
  channel_.Set(VX_OID_802_11_SET_ACL, EncodeAccessControl(static_cast<uint32_t>(policy), macs));
}

void ApActivation::StepWds(const ApSettings& w, int32_t auth, const std::string& passphrase,
                           uint32_t encryption) {
  WdsRecord r;
  if (w.wdsEnable && *w.wdsEnable == 0) {
    if (w.wdsList) r.peers = DecodeApMacList(*w.wdsList, 3);
    if (ApIsPskAuth(auth)) r.key = ApWdsKey(passphrase);
  }
  // WDS links carry no WPA cipher.
  if (encryption > 3) r.peers.clear();
  channel_.Set(VX_OID_802_11_SET_WDS, EncodeWds(r));
}

void ApActivation::SendWds(bool enabled, const std::vector<MacAddress>& peers, int32_t auth,
                           const std::string& passphrase) {
  WdsRecord r;
  if (enabled) {
    r.peers = peers;
    if (r.peers.size() > 3) r.peers.resize(3);
    if (ApIsPskAuth(auth)) r.key = ApWdsKey(passphrase);
  }
  channel_.Set(VX_OID_802_11_SET_WDS, EncodeWds(r));
}

bool ApActivation::ActivateFromRegistry() {
  const ApSettings s = ReadApSettings(reg_, AdapterKey());
  // Hand-edited, cut short or left by an older version: never a key anyone could compute.
  state_.pskRefused = ApIsPskAuth(s.authenType.value_or(kAuthOpen)) && !ApPskUsable(s.wpaPsk.value_or(""));
  if (state_.pskRefused) return false;
  uint32_t mode = StepWirelessMode(s);
  StepTxPower(s);
  StepRates(s, mode);
  StepConfiguration(s);
  StepPreamble(s);
  StepThreshold(OID_802_11_RTS_THRESHOLD, s.rtsThresh);
  StepThreshold(OID_802_11_FRAGMENTATION_THRESHOLD, s.fragThresh);
  StepApConfig(s, mode);

  const int32_t auth = s.authenType.value_or(kAuthOpen);
  if (s.authenType) channel_.SetU32(OID_802_11_AUTHENTICATION_MODE, static_cast<uint32_t>(auth));
  const uint32_t enc = ApCorrectEncryption(auth, s.encryption.value_or(kEncDisabled));
  if (s.encryption) {
    state_.wepOrOpen = enc <= 3;
    channel_.SetU32(OID_802_11_WEP_STATUS, enc);
  }

  // The SSID the access point announces is also the salt of its pre-shared key.
  std::string ssid;
  bool haveSsid = false;
  if (auth == 2 || auth == 3) StepRadius(s);
  if (ApIsPskAuth(auth)) {
    ssid = SsidOrDefault(s.ssid);
    haveSsid = true;
    StepPsk(s, ssid);
  }
  if (auth == 3 || auth == 4 || (auth >= 6 && auth <= 9)) StepRekey(s);
  if (enc == kEncWepEnabled || auth == kAuthShared) StepWepKeys(s);
  StepSsid(haveSsid ? ssid : SsidOrDefault(s.ssid));
  StepAccessControl(s);
  StepWds(s, auth, s.wpaPsk.value_or(""), enc);
  return true;
}

void ApActivation::ActivateFromPage(const ApSettings& page, const std::function<void()>& rebuildChannels) {
  uint32_t mode = StepWirelessMode(page);
  StepRates(page, mode);
  StepConfiguration(page);
  StepPreamble(page);
  StepThreshold(OID_802_11_RTS_THRESHOLD, page.rtsThresh);
  StepThreshold(OID_802_11_FRAGMENTATION_THRESHOLD, page.fragThresh);
  StepTxPower(page);
  StepApConfig(page, mode);
  if ((state_.bgRegionChangeable || state_.aRegionChangeable) && rebuildChannels) rebuildChannels();

  int32_t auth = page.authenType.value_or(kAuthOpen);
  if (auth < 1 || auth > 9 || auth == 5) auth = kAuthOpen;
  channel_.SetU32(OID_802_11_AUTHENTICATION_MODE, static_cast<uint32_t>(auth));
  const uint32_t enc = ApCorrectEncryptionFromPage(auth, page.encryption.value_or(kEncDisabled));
  state_.wepOrOpen = enc <= 3;

  // The WDS values come from the working copy, which the page has just written.
  StepWds(ReadApSettings(reg_, AdapterKey()), auth, page.wpaPsk.value_or(""), enc);
  channel_.SetU32(OID_802_11_WEP_STATUS, enc);

  const std::string ssid = page.ssid.value_or("");
  if (auth == 2 || auth == 3 || auth == 6 || auth == 8) StepRadius(page);
  if (ApIsPskAuth(auth)) StepPsk(page, ssid);
  if (auth == 3 || auth == 4 || (auth >= 6 && auth <= 9)) StepRekey(page);
  if (enc == kEncWepEnabled || auth == kAuthShared) StepWepKeys(page);
  StepSsid(ssid);
}

}  // namespace vx
