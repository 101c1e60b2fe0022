// The records carried by the OIDs, each with an explicit little-endian encoder and decoder.
// Decoders take whatever the driver returned and never read past it: a short buffer decodes
// as the zeroes the caller's buffer would have held.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/hex.h"

namespace vx {

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

// NDIS_802_11_SSID: the length counts the used bytes of the 32; no NUL in the record.
struct SsidRecord {
  uint32_t length = 0;
  std::array<uint8_t, 32> ssid{};

  static SsidRecord From(std::string_view text);  // cut to 32 bytes
  std::string Text() const;                       // length clamped to 32
};
Bytes EncodeSsid(const SsidRecord& r);
SsidRecord DecodeSsid(ByteView b);

// NDIS_802_11_CONFIGURATION: DSConfig is the centre frequency in kHz.
struct ConfigurationRecord {
  uint32_t length = 32;
  uint32_t beaconPeriod = 0;
  uint32_t atimWindow = 0;
  uint32_t dsConfig = 0;
  uint32_t fhLength = 16;
  uint32_t hopPattern = 0;
  uint32_t hopSet = 0;
  uint32_t dwellTime = 0;
  bool operator==(const ConfigurationRecord&) const = default;
};
Bytes EncodeConfiguration(const ConfigurationRecord& r);
ConfigurationRecord DecodeConfiguration(ByteView b);

// NDIS_802_11_STATISTICS as queried into 176 bytes: a length, then 64-bit counters from offset 8.
struct StatisticsRecord {
  uint32_t length = kSize;
  uint64_t transmittedFragmentCount = 0;
  uint64_t multicastTransmittedFrameCount = 0;
  uint64_t failedCount = 0;
  uint64_t retryCount = 0;
  uint64_t multipleRetryCount = 0;
  uint64_t rtsSuccessCount = 0;
  uint64_t rtsFailureCount = 0;
  uint64_t ackFailureCount = 0;
  uint64_t frameDuplicateCount = 0;
  uint64_t receivedFragmentCount = 0;
  uint64_t multicastReceivedFrameCount = 0;
  uint64_t fcsErrorCount = 0;
  static constexpr int kSize = 176;
};
Bytes EncodeStatistics(const StatisticsRecord& r);
StatisticsRecord DecodeStatistics(ByteView b);

// NDIS_802_11_KEY as this system builds it: Length = 39 + key length, material from offset 32.
constexpr uint32_t kTransmitKeyBit = 0x80000000u;
Bytes EncodeAddKey(uint32_t keyIndex, ByteView material);
// NDIS_802_11_REMOVE_KEY, 16 bytes, broadcast BSSID.
Bytes EncodeRemoveKey(uint32_t keyIndex);
struct AddKeyRecord {
  uint32_t length = 0;
  uint32_t keyIndex = 0;
  MacAddress bssid{};
  uint64_t keyRsc = 0;
  Bytes material;
};
std::optional<AddKeyRecord> DecodeAddKey(ByteView b);
std::optional<uint32_t> DecodeRemoveKeyIndex(ByteView b);

// NDIS_802_11_NETWORK_TYPE_LIST
enum : uint32_t { kNetTypeFH = 0, kNetTypeDS = 1, kNetTypeOFDM5 = 2, kNetTypeOFDM24 = 3 };
Bytes EncodeNetworkTypeList(const std::vector<uint32_t>& types);
std::vector<uint32_t> DecodeNetworkTypeList(ByteView b);

struct LinkStatusRecord {
  uint32_t txRate = 0;  // 500 kbit/s units
  uint32_t channelQuality = 0;
  uint32_t txCounter = 0;
  uint32_t rxCounter = 0;
};
Bytes EncodeLinkStatus(const LinkStatusRecord& r);
LinkStatusRecord DecodeLinkStatus(ByteView b);

enum : uint32_t { kRegisterMac = 0, kRegisterBbp = 1, kRegisterRf = 2 };
struct RegisterAccessRecord {
  uint32_t kind = 0;
  uint32_t address = 0;
  uint32_t value = 0;
};
Bytes EncodeRegisterAccess(const RegisterAccessRecord& r);
RegisterAccessRecord DecodeRegisterAccess(ByteView b);

struct EventEntry {
  uint64_t time = 0;  // FILETIME, UTC
  MacAddress mac{};
  uint16_t type = 0;
  bool operator==(const EventEntry&) const = default;
};
constexpr size_t kMaxEventEntries = 10;
Bytes EncodeEventTable(const std::vector<EventEntry>& events);  // at most 10 are encoded
std::vector<EventEntry> DecodeEventTable(ByteView b);            // count capped at 10

struct MacTableEntry {
  MacAddress mac{};
  uint8_t aid = 0;
  uint8_t powerSaving = 0;
  bool operator==(const MacTableEntry&) const = default;
};
constexpr size_t kMaxMacTableEntries = 32;
Bytes EncodeMacTable(const std::vector<MacTableEntry>& entries);
std::vector<MacTableEntry> DecodeMacTable(ByteView b);  // count capped at 32

// The two 32-byte configuration records are eight words; their field positions:
using ConfigWords = std::array<uint32_t, 8>;
enum ApConfigField { kApTxBurst = 0, kApTurboRate, kApNoForwarding, kApHideSsid, kApBgProtection, kApShortSlot };
enum StaConfigField { kStaTxBurst = 0, kStaTurboRate, kStaBgProtection, kStaShortSlot, kStaAdhocOfdm, kStaHwRadio };
Bytes EncodeConfigWords(const ConfigWords& w);
ConfigWords DecodeConfigWords(ByteView b);

// AccessControl: a zero policy or an empty list is sent as policy 0, count 0.
Bytes EncodeAccessControl(uint32_t policy, const std::vector<MacAddress>& macs);
struct AccessControlRecord {
  uint32_t policy = 0;
  std::vector<MacAddress> macs;
};
AccessControlRecord DecodeAccessControl(ByteView b);

// Wds: up to three peers, an optional 32-byte key.
struct WdsRecord {
  std::vector<MacAddress> peers;  // at most 3
  std::optional<std::array<uint8_t, 32>> key;
};
Bytes EncodeWds(const WdsRecord& r);
WdsRecord DecodeWds(ByteView b);

struct RadiusRecord {
  uint32_t server = 0;
  uint32_t port = 0;
  std::string key;  // at most 64 bytes are carried
  bool operator==(const RadiusRecord&) const = default;
};
Bytes EncodeRadius(const RadiusRecord& r);
RadiusRecord DecodeRadius(ByteView b);

struct RekeyRecord {
  uint32_t method = 0;
  uint32_t interval = 0;
  bool operator==(const RekeyRecord&) const = default;
};
Bytes EncodeRekey(const RekeyRecord& r);
RekeyRecord DecodeRekey(ByteView b);

struct RateSetRecord {
  std::vector<uint8_t> supported;  // at most 12
  std::vector<uint8_t> extended;   // at most 12
  bool operator==(const RateSetRecord&) const = default;
};
Bytes EncodeRateSet(const RateSetRecord& r);
RateSetRecord DecodeRateSet(ByteView b);
// The three sets the station sends, by wireless mode (1 B only, 4 G only, any other mixed).
RateSetRecord RateSetForWirelessMode(uint32_t wirelessMode);

// Country region word: 2.4 GHz code in bits 0-6 (bit 7 fixed), 5 GHz code in bits 8-14 (bit 15 fixed).
struct CountryRegion {
  uint32_t bg = 0;
  bool bgChangeable = true;
  uint32_t a = 0;
  bool aChangeable = true;
};
CountryRegion DecodeCountryRegion(uint32_t word);
uint32_t EncodeCountryRegionSet(uint32_t bgCode, uint32_t aCode);

// Transmit rate index to Mbit/s text ("5.5", "54"); unknown indices read as 1.
std::string TxRateText(uint32_t index);
int NoiseDbm(uint32_t raw);
int NoisePercent(uint32_t raw);
// English link event text; empty for codes above 10.
std::string_view LinkEventText(uint32_t code);
// "[a.b.c.d]", or empty when all four bytes are zero.
std::string FormatApAddress(ByteView addr);
// "%d.%d" from byte 0 and byte 1.
std::string FormatVersion(ByteView v);
constexpr bool IsFullPower(int32_t percent) { return percent == -1 || percent == 100; }

// CCX2Control word.
struct Ccx2Control {
  std::array<bool, 6> switches{};
  int roamThresholdDbm = -70;  // -90..-60
  uint32_t limitMs = 0;        // 0..2000
};
Ccx2Control DecodeCcx2(uint32_t word);
uint32_t EncodeCcx2(const Ccx2Control& c);

}  // namespace vx
