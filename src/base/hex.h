// Hexadecimal key and MAC address text: two digits per byte, either case accepted.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

using MacAddress = std::array<uint8_t, 6>;

bool IsHexDigit(char c);
// -1 for a character that is not a hexadecimal digit.
int HexDigitValue(char c);
// Decodes exactly text.size()/2 bytes; nullopt when the length is odd or a character is no digit.
std::optional<std::vector<uint8_t>> DecodeHex(std::string_view text);
std::string EncodeHex(std::span<const uint8_t> bytes, bool upper = true);
// "%02X-%02X-..." with the given separator.
std::string FormatMac(const MacAddress& mac, char separator = '-');
// Twelve digits, optionally separated by '-' or ':' between pairs.
std::optional<MacAddress> ParseMac(std::string_view text);

std::string ToUpperAscii(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Case-insensitive ordering as the registry sorts key names.
bool LessIgnoreCase(std::string_view a, std::string_view b);

}  // namespace vx
