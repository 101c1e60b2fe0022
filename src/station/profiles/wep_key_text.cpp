#include "station/profiles/wep_key_text.h"

#include <algorithm>

#include "base/hex.h"

namespace vx {

std::string EncodeWepKeyText(int32_t type, std::string_view entered) {
  if (type != kWepKeyAscii) return std::string(entered);
  size_t n = entered.size() == 5 ? 5 : std::min<size_t>(entered.size(), 13);
  auto bytes = reinterpret_cast<const uint8_t*>(entered.data());
  return EncodeHex(std::span<const uint8_t>(bytes, n), /*upper=*/false);
}

std::string DecodeWepKeyText(int32_t type, std::string_view stored) {
  if (type != kWepKeyAscii) return std::string(stored);
  if (stored.size() != 10 && stored.size() != 26) return {};
  auto bytes = DecodeHex(stored);
  if (!bytes) return {};
  return std::string(bytes->begin(), bytes->end());
}

std::optional<std::vector<uint8_t>> WepKeyMaterial(std::string_view stored) {
  size_t digits;
  if (stored.size() == 10 || stored.size() == 11)
    digits = 10;
  else if (stored.size() == 26)
    digits = 26;
  else
    return std::nullopt;
  return DecodeHex(stored.substr(0, digits));
}

}  // namespace vx
