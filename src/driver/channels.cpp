#include "driver/channels.h"

namespace vx {
namespace {

std::vector<uint32_t> Range(uint32_t from, uint32_t to) {
  std::vector<uint32_t> r;
  for (uint32_t c = from; c <= to; ++c) r.push_back(c);
  return r;
}

}  // namespace

std::vector<uint32_t> Channels24(int family, uint32_t code) {
  if (family == 2 || family == 3) return {};
  const bool older = family == 0 || family == 1;
  switch (code) {
    case 1:
      return older ? Range(1, 11) : Range(1, 13);
    case 2:
      return older ? Range(1, 13) : Range(10, 11);
    case 3:
      return older ? Range(10, 11) : Range(10, 13);
    case 4:
      return older ? Range(10, 13) : Range(14, 14);
    case 5:
      return older ? Range(14, 14) : Range(1, 14);
    case 6:
      return older ? Range(1, 14) : Range(3, 9);
    case 7:
      return older ? Range(3, 9) : Range(1, 11);
    default:
      return Range(1, 11);
  }
}

std::vector<uint32_t> Channels5(uint32_t code) {
  const std::vector<uint32_t> low = {36, 40, 44, 48, 52, 56, 60, 64};
  const std::vector<uint32_t> mid = {100, 104, 108, 112, 116, 120, 124, 128, 132, 136, 140};
  const std::vector<uint32_t> high = {149, 153, 157, 161, 165};
  auto join = [](std::initializer_list<std::vector<uint32_t>> parts) {
    std::vector<uint32_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  };
  switch (code) {
    case 1:
      return join({low, mid});
    case 2:
      return low;
    case 3:
      return {52, 56, 60, 64, 149, 153, 157, 161};
    case 4:
      return high;
    case 5:
      return {149, 153, 157, 161};
    case 6:
      return {36, 40, 44, 48};
    case 7:
      return join({low, mid, high});
    default:
      return join({low, high});
  }
}

std::vector<uint32_t> ChannelsFor(int family, uint32_t wirelessMode, uint32_t bgCode, uint32_t aCode) {
  std::vector<uint32_t> list;
  if (wirelessMode != 2) list = Channels24(family, bgCode);
  if (wirelessMode == 2 || wirelessMode == 3) {
    auto a = Channels5(aCode);
    list.insert(list.end(), a.begin(), a.end());
  }
  if (list.size() > 38) list.resize(38);
  return list;
}

const std::array<ChannelEntry, 42> ChannelTable = [] {
  std::array<ChannelEntry, 42> t{};
  size_t n = 0;
  for (uint32_t ch = 1; ch <= 13; ++ch) t[n++] = {ch, 2407000 + 5000 * ch};
  t[n++] = {14, 2484000};
  for (uint32_t ch : {34, 36, 38, 40, 42, 44, 46, 48, 52, 56, 60, 64, 100, 104, 108, 112, 116, 120, 124, 128, 132,
                      136, 140, 149, 153, 157, 161, 165})
    t[n++] = {ch, 5000000 + 5000 * ch};
  return t;
}();

std::optional<uint32_t> ChannelFromFrequency(uint32_t frequencyKhz) {
  for (const ChannelEntry& e : ChannelTable)
    if (e.frequencyKhz == frequencyKhz) return e.channel;
  return std::nullopt;
}

}  // namespace vx
