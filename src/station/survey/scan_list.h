// The driver's BSSID list: the 64 KiB scan buffer, its decoding into one row per network with the
// security read from the WPA and RSN elements, the channel table and the signal percentage.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/hex.h"
#include "driver/channels.h"
#include "driver/records.h"

namespace vx {

// Every query of the list offers exactly this many bytes; the buffer never grows.
constexpr size_t kScanBufferSize = 65536;
using ScanBuffer = std::array<uint8_t, kScanBufferSize>;

// Zero-filled, so a buffer that was never filled decodes to an empty list.
std::unique_ptr<ScanBuffer> MakeScanBuffer();
// A view's refill: the whole shared buffer, or zeroes while there is none.
void CopyScanBuffer(const ScanBuffer* shared, ScanBuffer& copy);

// 0..100 from a signal level in dBm.
int32_t DbmToPercent(int32_t dbm);

enum SurveyColumn : size_t {
  kColumnSsid,
  kColumnBssid,
  kColumnSignal,
  kColumnChannel,
  kColumnEncryption,
  kColumnAuthentication,
  kColumnNetworkType,
  kSurveyColumnCount
};

struct SecurityFlags {
  bool tkip = false;
  bool wrap = false;
  bool ccmp = false;
  bool wpa = false;
  bool wpaPsk = false;
  bool wpaNone = false;
  bool wpa2 = false;
  bool wpa2Psk = false;
  bool wpa2None = false;
  bool operator==(const SecurityFlags&) const = default;
};

// One network of the list: the seven column texts and the entry's fields that Connect and
// Add Profile work from, so they need not decode the entry again.
struct SurveyRow {
  std::array<std::string, kSurveyColumnCount> texts;
  SecurityFlags security;
  MacAddress bssid{};
  SsidRecord ssid;  // length cut to 32
  uint32_t privacy = 0;
  int32_t rssi = 0;
  uint32_t frequencyKhz = 0;          // DSConfig
  std::optional<uint32_t> channel;    // none when the frequency is not in ChannelTable
  uint32_t infrastructureMode = 0;    // 0 ad hoc, 1 infrastructure, 2 automatic
  size_t entryOffset = 0;             // where the entry starts in the buffer
  uint32_t ChannelOrFallback() const { return channel.value_or(kFallbackChannel); }
};

// Replaces rows with one row per entry, in list order. Every read stays inside its element, its
// entry and the buffer: an entry whose Length is 0, is too short for its fixed fields or runs past
// the buffer ends the list there.
void DecodeScanList(std::span<const uint8_t> list, std::vector<SurveyRow>& rows);
inline void DecodeScanList(const ScanBuffer& list, std::vector<SurveyRow>& rows) {
  DecodeScanList(std::span<const uint8_t>(list), rows);
}

// The element walk over one entry's information elements (fixed 12 bytes first), as used by the
// decoder; exposed so the security classification can be checked on its own.
SecurityFlags ReadSecurityElements(std::span<const uint8_t> ies, uint32_t infrastructureMode);

}  // namespace vx
