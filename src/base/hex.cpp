#include "base/hex.h"

#include <cstdio>

namespace vx {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

std::optional<std::vector<uint8_t>> DecodeHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<uint8_t> out;
  out.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    int hi = HexDigitValue(text[i]);
    int lo = HexDigitValue(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return out;
}

std::string EncodeHex(std::span<const uint8_t> bytes, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

std::string FormatMac(const MacAddress& mac, char separator) {
  std::string out;
  for (size_t i = 0; i < mac.size(); ++i) {
    if (i) out.push_back(separator);
    out += EncodeHex(std::span<const uint8_t>(&mac[i], 1));
  }
  return out;
}

std::optional<MacAddress> ParseMac(std::string_view text) {
  std::string digits;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if ((c == '-' || c == ':') && i % 3 == 2) continue;
    digits.push_back(c);
  }
  if (digits.size() != 12) return std::nullopt;
  auto bytes = DecodeHex(digits);
  if (!bytes) return std::nullopt;
  MacAddress mac{};
  for (size_t i = 0; i < 6; ++i) mac[i] = (*bytes)[i];
  return mac;
}

std::string ToUpperAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

static char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool LessIgnoreCase(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    char x = Lower(a[i]), y = Lower(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() < b.size();
}

}  // namespace vx
