// A string table whose ANSI code page is read through iconv, as Win32Strings reads it through
// MultiByteToWideChar: the texts come from another table.
#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/ui.h"

namespace vx {

// UTF-8 into that code page through iconv, as Win32System::ToAnsi converts it: nullopt for a
// character the code page lacks (no stand-in).
std::function<std::optional<std::string>(std::string_view)> AnsiIn(uint32_t codePage);

class CodePageStrings : public StringTable {
 public:
  CodePageStrings(const StringTable& texts, uint32_t codePage);
  ~CodePageStrings() override;
  CodePageStrings(const CodePageStrings&) = delete;
  CodePageStrings& operator=(const CodePageStrings&) = delete;

  std::string Get(uint32_t id) const override { return texts_.Get(id); }
  std::optional<std::string> FromAnsi(std::span<const uint8_t> bytes) const override;

 private:
  const StringTable& texts_;
  void* converter_;  // iconv_t
};

}  // namespace vx
