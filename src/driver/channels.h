// The channel/frequency table, and the channels an adapter may use by adapter family, wireless
// mode and the region codes the driver reports. Both utilities build their channel lists here.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vx {

// The 42 channels the driver reports by centre frequency, 2.4 GHz first.
struct ChannelEntry {
  uint32_t channel;
  uint32_t frequencyKhz;
};
extern const std::array<ChannelEntry, 42> ChannelTable;
// Where a caller needs some channel for a frequency outside the table.
constexpr uint32_t kFallbackChannel = 1;

// Exact match on the centre frequency, first row wins.
std::optional<uint32_t> ChannelFromFrequency(uint32_t frequencyKhz);

// The 2.4 GHz row of a region code; families 2 and 3 have none, codes not listed use code 0.
std::vector<uint32_t> Channels24(int family, uint32_t code);
// The 5 GHz row of a region code; codes not listed (0 included) use the default row.
std::vector<uint32_t> Channels5(uint32_t code);
// The list for a wireless mode: the 2.4 GHz row unless A only, then the 5 GHz row for A only and
// A/B/G; at most 38 channels.
std::vector<uint32_t> ChannelsFor(int family, uint32_t wirelessMode, uint32_t bgCode, uint32_t aCode);

}  // namespace vx
