#include "station/profiles/activation_record.h"

#include <algorithm>

#include "base/byte_writer.h"
#include "station/survey/scan_list.h"

namespace vx {
namespace {

constexpr size_t kLeapTextSize = 256;

void PutText(ByteWriter& w, const std::string& text) {
  size_t n = std::min(text.size(), kLeapTextSize);
  w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), n)).Zeros(kLeapTextSize - n);
  w.U32(static_cast<uint32_t>(n));
}

}  // namespace

Bytes EncodeProfileExtension(const ProfileExtension& e) {
  ByteWriter w;
  w.U8(e.leapEnabled ? 1 : 0).U8(e.cckm ? 1 : 0).Zeros(2);
  PutText(w, e.leapUserName);
  PutText(w, e.leapPassword);
  return w.Take();
}

uint32_t AdhocFrequencyForChannel(int32_t channel) {
  for (const ChannelEntry& e : ChannelTable)
    if (static_cast<int64_t>(e.channel) == channel) return e.frequencyKhz;
  return 0;
}

DesiredRates AdvancedDesiredRates(uint32_t mode, std::optional<int32_t> transRate) {
  constexpr DesiredRates kB = {22, 11, 4, 2, 0, 0, 0, 0};
  constexpr DesiredRates kMixed = {108, 96, 72, 48, 22, 11, 4, 2};
  constexpr DesiredRates kOfdm = {108, 96, 72, 48, 36, 24, 18, 12};
  constexpr std::array<uint8_t, 8> kOfdmSingle = {12, 18, 24, 36, 48, 72, 96, 108};
  constexpr std::array<uint8_t, 12> kAllSingle = {2, 4, 11, 22, 12, 18, 24, 36, 48, 72, 96, 108};
  auto single = [](uint8_t rate) { return DesiredRates{rate, 0, 0, 0, 0, 0, 0, 0}; };

  if (!transRate) return (mode == 1 || mode == 2 || mode == 4) ? kB : kMixed;
  int32_t t = *transRate;
  if ((mode == 1 && t > 4) || (mode == 2 && t > 8)) t = 0;
  if (mode == 2 || mode == 4) return t >= 1 && t <= 8 ? single(kOfdmSingle[static_cast<size_t>(t - 1)]) : kOfdm;
  if (t >= 1 && t <= 12) return single(kAllSingle[static_cast<size_t>(t - 1)]);
  return mode == 1 ? kB : kMixed;
}

AdhocRateChoice AdhocRates(int32_t adhocOfdm) {
  switch (adhocOfdm) {
    case 1:
    case 4:
      return {{108, 96, 72, 48, 22, 11, 4, 2},
              {{0x82, 0x84, 0x8B, 0x96, 0x12, 0x24, 0x48, 0x6C}, {0x8C, 0x98, 0xB0, 0x60}}};
    case 2:
    case 3:
      return {{108, 96, 72, 48, 36, 24, 18, 12}, {{0x8C, 0x12, 0x98, 0x24, 0xB0, 0x48, 0x60, 0x6C}, {}}};
    default:
      return {{22, 11, 4, 2, 0, 0, 0, 0}, {{0x82, 0x84, 0x8B, 0x96}, {}}};
  }
}

RateSetRecord StationRateSet(uint32_t wirelessMode) {
  // A only carries the same OFDM set as G only.
  return RateSetForWirelessMode(wirelessMode == 2 ? 4 : wirelessMode);
}

int32_t TxPowerPercent(uint32_t step) {
  constexpr std::array<int32_t, 7> kPercent = {-1, 100, 75, 50, 25, 10, 6};
  return step < kPercent.size() ? kPercent[step] : -1;
}

}  // namespace vx
