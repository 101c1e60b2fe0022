#include "win32/ports/wide.h"

#include <windows.h>

#include "base/utf8.h"

namespace vx {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace vx

namespace vx {
namespace {

constexpr wchar_t kByteEscape = 0xDC00;

}  // namespace

std::wstring WidenBytes(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const size_t n = Utf8Sequence(bytes, i, cp);
    if (n == 0 || cp == 0) {
      out += static_cast<wchar_t>(kByteEscape + static_cast<uint8_t>(bytes[i]));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
    i += n;
  }
  return out;
}

std::string NarrowBytes(std::wstring_view w) {
  std::string out;
  out.reserve(w.size());
  for (size_t i = 0; i < w.size(); ++i) {
    const char32_t u = static_cast<uint16_t>(w[i]);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < w.size()) {
      const char32_t low = static_cast<uint16_t>(w[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    if (u >= kByteEscape && u <= kByteEscape + 0xFF)
      out += static_cast<char>(u - kByteEscape);
    else if (u >= 0xD800 && u <= 0xDFFF)
      AppendUtf8(out, 0xFFFD);
    else
      AppendUtf8(out, u);
  }
  return out;
}

}  // namespace vx
