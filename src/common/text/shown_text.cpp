#include "common/text/shown_text.h"

#include <cstdint>
#include <cstdio>

#include "base/utf8.h"

namespace vx {
namespace {

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

void Escape(std::string& out, std::string_view bytes) {
  for (char c : bytes) {
    char text[5];
    std::snprintf(text, sizeof text, "\\x%02X", static_cast<uint8_t>(c));
    out += text;
  }
}

// The one character `decoded` holds, or nothing when it holds none, several, or a stand-in for an
// unreadable byte.
bool OneCharacter(const std::string& decoded, std::string_view source, char32_t& cp) {
  if (decoded.empty() || Utf8Sequence(decoded, 0, cp) != decoded.size()) return false;
  if (cp == 0xFFFD) return false;
  return !(cp == '?' && source != "?");
}

}  // namespace

std::string ShownSsid(std::string_view ssid, const StringTable& strings) {
  std::string out;
  const bool utf8 = IsValidUtf8(ssid);
  for (size_t i = 0; i < ssid.size();) {
    char32_t cp = 0;
    size_t n = 0;
    std::string piece;
    if (utf8) {
      n = Utf8Sequence(ssid, i, cp);
      piece = std::string(ssid.substr(i, n));
    } else if (static_cast<uint8_t>(ssid[i]) < 0x80) {
      n = 1;  // every ANSI code page reads ASCII as ASCII
      cp = static_cast<uint8_t>(ssid[i]);
      piece = std::string(1, ssid[i]);
    } else {
      // A double-byte character first (Big5 lead and trail), then the byte alone.
      for (size_t len : {size_t{2}, size_t{1}}) {
        if (i + len > ssid.size()) continue;
        std::string_view source = ssid.substr(i, len);
        auto decoded =
            strings.FromAnsi(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(source.data()), len));
        if (decoded && OneCharacter(*decoded, source, cp)) {
          n = len;
          piece = std::move(*decoded);
          break;
        }
      }
    }
    if (n == 0) {
      Escape(out, ssid.substr(i, 1));
      ++i;
    } else if (IsControl(cp)) {
      Escape(out, ssid.substr(i, n));
      i += n;
    } else {
      out += piece;
      i += n;
    }
  }
  return out;
}

}  // namespace vx
