#include "base/utf8.h"

#include <cstdint>

namespace vx {

size_t Utf8Sequence(std::string_view s, size_t at, char32_t& cp) {
  if (at >= s.size()) return 0;
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  const uint8_t b0 = byte(at);
  size_t n;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    n = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (at + n > s.size()) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(at + i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    const size_t n = Utf8Sequence(s, i, cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string_view Utf8Prefix(std::string_view s, size_t count) {
  size_t at = 0;
  for (size_t i = 0; i < count && at < s.size(); ++i) {
    char32_t cp;
    const size_t n = Utf8Sequence(s, at, cp);
    at += n == 0 ? 1 : n;
  }
  return s.substr(0, at);
}

std::string_view Utf8PrefixBytes(std::string_view s, size_t bytes) {
  size_t at = 0;
  while (at < s.size()) {
    char32_t cp;
    const size_t n = Utf8Sequence(s, at, cp);
    const size_t step = n == 0 ? 1 : n;
    if (at + step > bytes) break;
    at += step;
  }
  return s.substr(0, at);
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace vx
