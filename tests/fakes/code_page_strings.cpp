#include "fakes/code_page_strings.h"

#include <iconv.h>

#include <string>

namespace vx {

CodePageStrings::CodePageStrings(const StringTable& texts, uint32_t codePage)
    : texts_(texts), converter_(iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str())) {}

CodePageStrings::~CodePageStrings() {
  if (converter_ != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(converter_));
}

std::function<std::optional<std::string>(std::string_view)> AnsiIn(uint32_t codePage) {
  return [codePage](std::string_view utf8) -> std::optional<std::string> {
    iconv_t cd = iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in(utf8), out(utf8.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
  };
}

std::optional<std::string> CodePageStrings::FromAnsi(std::span<const uint8_t> bytes) const {
  if (converter_ == reinterpret_cast<void*>(-1)) return std::nullopt;
  iconv_t cd = static_cast<iconv_t>(converter_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh start for every text
  std::string in(bytes.begin(), bytes.end());
  std::string out(bytes.size() * 4 + 4, '\0');
  char* src = in.data();
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  // Invalid or incomplete sequences fail, as MB_ERR_INVALID_CHARS makes them fail.
  if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0)
    return std::nullopt;
  out.resize(out.size() - dstLeft);
  return out;
}

}  // namespace vx
