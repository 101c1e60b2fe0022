// Everything one activation sends, already in driver units, and the tables that convert the
// stored settings into those units.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/hex.h"
#include "driver/records.h"

namespace vx {

// The block sent with VX_OID_802_11_SET_PROFILE_EXTENSION (524 bytes).
struct ProfileExtension {
  bool leapEnabled = false;
  bool cckm = false;
  std::string leapUserName;  // at most 256 bytes are carried
  std::string leapPassword;  // at most 256 bytes are carried
  bool operator==(const ProfileExtension&) const = default;
};
// kProfileExtensionSize (driver/oid_codes.h) gives its size.
Bytes EncodeProfileExtension(const ProfileExtension& e);

using DesiredRates = std::array<uint8_t, 8>;  // 500 kbit/s units, highest first, zero-padded

struct ActivationRecord {
  bool useBssid = false;
  SsidRecord ssid;
  MacAddress bssid{};
  uint32_t networkType = 0;  // 0 ad hoc, 1 infrastructure
  uint32_t preamble = 0;
  uint32_t rtsThreshold = 0;
  uint32_t fragThreshold = 0;
  uint32_t authMode = 0;
  uint32_t encryption = 0;
  uint32_t txPowerStep = 0;
  std::optional<Bytes> wpaNoneKey;           // encoded key record
  std::array<std::optional<Bytes>, 4> wepKey;  // encoded key records, by key index
  uint32_t powerMode = 0;
  uint32_t acPowerCam = 0;
  uint32_t adhocFrequency = 0;  // kHz
  bool disassociateFirst = false;
  bool bSetAdvance = false;
  bool adhocRates = false;
  DesiredRates desiredRates{};
  RateSetRecord rateSet;
  ConfigWords staConfig{};
  uint32_t ccx2Control = 0;
  uint32_t countryRegion = 0;  // 2.4 GHz code + 256 x 5 GHz code
  bool use8021X = false;
  uint32_t authenProtocol = 0;
  uint32_t tunnelProtocol = 0;
  int32_t sessionResumption = 0;
  bool useClientCert = false;
  bool useServerCert = false;
  uint32_t intermediateCert = 0;
  uint32_t nameRule = 0;
  std::string id;
  std::string password;
  std::string tunnelId;
  std::string tunnelPassword;
  std::string serverName;
  std::string psk;  // passphrase or 64 hex digits
  uint32_t passwordMode = 0;
  std::vector<uint8_t> serverCert;
  std::vector<uint8_t> clientCert;
  ProfileExtension profileExtension;
};

// Ad hoc frequency of a channel (kHz); 0 for a channel that is not in the table.
uint32_t AdhocFrequencyForChannel(int32_t channel);

// Desired rates of an advanced activation: by wireless mode, narrowed by a stored "TransRate".
DesiredRates AdvancedDesiredRates(uint32_t wirelessMode, std::optional<int32_t> transRate);

// The rates of an ad hoc activation without advanced settings, by "AdhocOfdm".
struct AdhocRateChoice {
  DesiredRates desired{};
  RateSetRecord rateSet;
};
AdhocRateChoice AdhocRates(int32_t adhocOfdm);

// The rate set the station sends for a wireless mode (B only, A or G only, mixed).
RateSetRecord StationRateSet(uint32_t wirelessMode);

// Transmit power percent of a "TXPower" step; -1 is automatic.
int32_t TxPowerPercent(uint32_t step);

}  // namespace vx
