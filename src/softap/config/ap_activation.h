// Turning the access point settings into the driver's configuration: the channel check against
// the country region, and the ordered OID push from the working copy or from the configuration
// page. Also the access control and WDS records the pages send on their own.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/hex.h"
#include "driver/oid_channel.h"
#include "driver/records.h"
#include "platform/registry.h"

namespace vx {

// Authentication types as the driver numbers them, with the access point's combined modes.
enum : int32_t { kApAuthWpaWpa2 = 8, kApAuthWpaPskWpa2Psk = 9 };
// Encryption value for TKIP and AES together.
enum : int32_t { kApEncTkipAes = 8 };

// One access point value set; a value that could not be read is absent.
struct ApSettings {
  std::optional<std::string> ssid;
  std::optional<int32_t> wirelessMode, transRate, txPower, channel, autoChannelSelect, bgProtection,
      preambleType, beaconPeriod, rtsThresh, fragThresh, txBurst, turboRate, noForwarding, hideSsid,
      shortSlot, authenType, encryption, rekeyMethod, rekeyInterval, radiusIp, radiusPort, wepKeyUse,
      accessControlPolicy, wdsEnable;
  std::optional<std::string> wpaPsk, radiusKey;
  std::array<std::optional<std::string>, 4> wepKey;
  std::array<std::optional<int32_t>, 4> wepKeyType;
  std::optional<std::vector<std::string>> accessControlList, wdsList;
};

// Reads every value of the set from one key (the working copy or "ApDefault").
ApSettings ReadApSettings(RegistryPort& reg, const RegKey& key);

// What the start sequence and the activation learn about the adapter, shared with the pages.
struct ApRadioState {
  bool has5GHz = false;
  uint32_t bgRegion = 0;  // fixed bits cleared
  uint32_t aRegion = 0;
  bool bgRegionChangeable = true;
  bool aRegionChangeable = true;
  uint32_t wirelessMode = 0;
  // True while the pushed encryption is 3 or less (no WPA cipher); decides the Mac Table page.
  bool wepOrOpen = true;
  // The start refused the stored pre-shared key; the Config page asks for another when shown.
  bool pskRefused = false;
};

// Tables.
std::vector<uint32_t> ApChannels24(uint32_t region);
std::vector<uint32_t> ApChannels5(uint32_t region);
// The 2.4 GHz list unless the mode is 2 (A only), then the 5 GHz list for modes 2 and 3.
std::vector<uint32_t> ApAllowedChannels(uint32_t mode, uint32_t bgRegion, uint32_t aRegion);
// DSConfig in kHz; nullopt for a channel outside the 42-entry table.
std::optional<uint32_t> ApChannelFrequency(int32_t channel);
// 100, 75, 50, 25, 12 for levels 0..4; 100 for any other level.
uint32_t ApTxPowerPercent(int32_t level);
// Modes 2 and 3 read as 0 without the 5 GHz band.
uint32_t ApEffectiveMode(int32_t mode, bool has5GHz);
// The 8 desired-rate bytes (500 kbit/s units) for a mode and rate index; out-of-range is auto.
std::array<uint8_t, 8> ApDesiredRates(uint32_t mode, int32_t transRate);
// The largest rate index the mode's list holds (4 for B only, 8 for A and G only, else 12).
int32_t ApMaxRateIndex(uint32_t mode);

// Encryption corrections: from the working copy, and as the configuration page corrects it.
uint32_t ApCorrectEncryption(int32_t authenType, int32_t encryption);
uint32_t ApCorrectEncryptionFromPage(int32_t authenType, int32_t encryption);
constexpr bool ApIsPskAuth(int32_t a) { return a == 4 || a == 7 || a == 9; }

// The pairwise master key: 64 characters are the key in hexadecimal, anything else a passphrase
// with the SSID as salt. Too long a passphrase or SSID, or 64 characters that are not all
// hexadecimal digits, derive nothing (all zero).
std::array<uint8_t, 32> ApDerivePsk(const std::string& wpaPsk, const std::string& ssid);
// Whether a stored "WPAPSK" can key the access point: a pass phrase of 8 to 63 characters or a
// key of 64 hexadecimal digits.
bool ApPskUsable(const std::string& wpaPsk);
// The WDS link key: the passphrase with the fixed salt "Tamsel".
std::array<uint8_t, 32> ApWdsKey(const std::string& passphrase);
// WEP key material from stored hexadecimal text: 10 or 26 hexadecimal digits, else nothing.
std::optional<std::vector<uint8_t>> ApWepKeyMaterial(const std::string& text);

// Entries of a stored MAC list (12 hexadecimal digits each; the list ends at the first empty
// string). Entries that are not twelve hexadecimal digits are left out rather than sent as
// meaningless bytes.
std::vector<MacAddress> DecodeApMacList(const std::vector<std::string>& list, size_t max);

class ApActivation {
 public:
  using RootSource = std::function<std::string()>;

  ApActivation(RegistryPort& reg, OidChannel& channel, RootSource root);

  ApRadioState& State() { return state_; }
  const ApRadioState& State() const { return state_; }

  // The A-band flag from the driver's network types.
  void ReadBands();
  // Makes the stored channel one the country region allows (also in the station defaults) and
  // records which regions may be changed. False when the adapter key cannot be opened.
  bool CheckChannel();

  // The start sequence's push of the working copy. With WPA-PSK or WPA2-PSK and a "WPAPSK" that
  // ApPskUsable refuses, nothing is sent and the result is false.
  bool ActivateFromRegistry();
  // The configuration page's push of its own values; `rebuildChannels` runs after the AP
  // configuration record when a region may be changed.
  void ActivateFromPage(const ApSettings& page, const std::function<void()>& rebuildChannels);

  // The records the access control and WDS pages send at once.
  void SendAccessControl(int32_t policy, const std::vector<MacAddress>& macs);
  // Unlike the activation, the page's own record keeps its peers under a WPA cipher.
  void SendWds(bool enabled, const std::vector<MacAddress>& peers, int32_t authenType,
               const std::string& passphrase);

 private:
  RegKey AdapterKey() const { return Hklm(root_()); }
  uint32_t StepWirelessMode(const ApSettings& s);
  void StepTxPower(const ApSettings& s);
  void StepRates(const ApSettings& s, uint32_t mode);
  void StepConfiguration(const ApSettings& s);
  void StepPreamble(const ApSettings& s);
  void StepThreshold(uint32_t oid, const std::optional<int32_t>& value);
  void StepApConfig(const ApSettings& s, uint32_t mode);
  void StepRadius(const ApSettings& s);
  void StepPsk(const ApSettings& s, const std::string& ssid);
  void StepRekey(const ApSettings& s);
  void StepWepKeys(const ApSettings& s);
  void StepSsid(const std::string& ssid);
  void StepAccessControl(const ApSettings& s);
  void StepWds(const ApSettings& wdsValues, int32_t authenType, const std::string& passphrase,
               uint32_t encryption);
  std::string SsidOrDefault(const std::optional<std::string>& ssid);

  RegistryPort& reg_;
  OidChannel& channel_;
  RootSource root_;
  ApRadioState state_;
};

}  // namespace vx
