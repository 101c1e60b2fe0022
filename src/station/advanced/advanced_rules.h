// Encodings and rules both advanced pages share: the wireless mode and rate lists, the value
// rules by mode, the CCX2Control word's defaults, and the driver steps of an apply.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "driver/oid_channel.h"
#include "driver/records.h"
#include "platform/ui.h"

namespace vx::advanced {

// Wireless modes ("WirelessMode").
enum : uint32_t { kModeBgMix = 0, kModeBOnly = 1, kModeAOnly = 2, kModeAbgMix = 3, kModeGOnly = 4 };
// Ad hoc rate choices ("AdhocOfdm").
enum : uint32_t { kAdhocB = 0, kAdhocBg = 1, kAdhocG = 2, kAdhocA = 3, kAdhocAbg = 4 };

// The wireless mode combo: its string IDs and the mode of each position. The main sheet's page
// ends with "802.11 G only"; the profile page has no such entry.
struct ModeList {
  std::vector<uint32_t> items;  // string IDs
  std::vector<uint32_t> modes;  // mode of each item
};
ModeList WirelessModeList(bool has5GHz, bool withGOnly);
// Position of a mode in the list; 0 when the list has no such mode.
int PositionOfMode(const ModeList& list, uint32_t mode);
uint32_t ModeAtPosition(const ModeList& list, int position);

// Transmit rate lists by mode: "Auto" first, then the rates the mode offers.
enum class RateList { B, Ofdm, All };
RateList RateListForMode(uint32_t mode);
std::vector<uint32_t> RateItems(RateList list);  // string IDs
// The highest valid "TransRate" of a list: 4, 8 or 12.
uint32_t MaxTransRate(RateList list);

// Values that the mode rules may change before they are stored and sent.
struct RadioValues {
  uint32_t mode = 0;
  uint32_t txBurst = 0;
  uint32_t bgProtection = 0;
  uint32_t adhocOfdm = 0;
  uint32_t transRate = 0;
};
// Protection off and the ad hoc choice that goes with B only and A only; "TransRate" out of the
// mode's list back to automatic.
void ApplyModeRules(RadioValues& v, bool has5GHz);

// "CCX2Control" with every option off: limit 250 ms, roaming threshold -70 dBm.
constexpr uint32_t kCcx2DefaultLimitMs = 250;
constexpr int kCcx2DefaultThresholdDbm = -70;
constexpr uint32_t kCcx2DefaultWord = (kCcx2DefaultLimitMs << 16) | (70u << 8);
enum Ccx2Bit { kCcx2On = 0, kCcx2Cckm, kCcx2RadioMeasurements, kCcx2NonServing, kCcx2Qos, kCcx2FastRoaming };

// Sends VX_OID_802_11_SET_PHY_MODE only when the driver reports another mode. True when sent.
bool SetPhyModeIfChanged(OidChannel& channel, uint32_t mode);
// Read-modify-write of the station configuration record; the record when one was sent.
std::optional<ConfigWords> WriteStaConfig(OidChannel& channel, const std::function<void(ConfigWords&)>& modify);
// OID_802_11_DESIRED_RATES from mode and "TransRate", then the rate set of the mode.
void SendRates(OidChannel& channel, uint32_t mode, uint32_t transRate);

// Items of a string-ID list in the table's language.
std::vector<std::string> Texts(const StringTable& strings, const std::vector<uint32_t>& ids);

}  // namespace vx::advanced
