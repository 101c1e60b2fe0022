// WEP key text as the profile store keeps it, and the key bytes activation sends.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

enum : int32_t { kWepKeyHex = 0, kWepKeyAscii = 1 };

// The stored form of a key as entered: hex digits as typed, or for an ASCII key two lower-case
// hex digits per character. An ASCII key of exactly 5 characters is stored as 10 digits; any
// other non-empty one in the 13-character form (26 digits), shorter keys with the characters
// they have (never beyond the text).
std::string EncodeWepKeyText(int32_t type, std::string_view entered);

// The key as the editor shows it: an ASCII key of 10 or 26 stored digits decodes pairwise into
// 5 or 13 characters, any other stored ASCII key (or one with a non-hex digit) reads as empty;
// a hex key is shown as stored.
std::string DecodeWepKeyText(int32_t type, std::string_view stored);

// Key bytes for the driver: 10 or 11 characters give 5 bytes (the first 10 digits), 26 give 13.
// Any other length, or a non-hex digit among the used ones, means no key.
std::optional<std::vector<uint8_t>> WepKeyMaterial(std::string_view stored);

}  // namespace vx
