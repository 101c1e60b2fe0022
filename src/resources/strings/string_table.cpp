#include <algorithm>

#include "resources/strings/string_tables.h"

namespace vx {

std::string EntryStringTable::Get(uint32_t id) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), id,
                             [](const StringEntry& e, uint32_t v) { return e.id < v; });
  if (it == entries_.end() || it->id != id) return {};
  return it->text;
}

StringTable& EnglishStrings() {
  static EntryStringTable table(EnglishEntries());
  return table;
}

StringTable& ChineseStrings() {
  static EntryStringTable table(ChineseEntries());
  return table;
}

namespace {

bool TraditionalChinese(uint16_t languageId) {
  const uint16_t primary = languageId & 0x3ff, sub = languageId >> 10;
  return primary == 0x04 && (sub == 0x01 || sub == 0x03 || sub == 0x05);
}

}  // namespace

StringTable& StringsForLanguage(uint16_t languageId) {
  return TraditionalChinese(languageId) ? ChineseStrings() : EnglishStrings();
}

uint32_t AnsiCodePageForLanguage(uint16_t languageId) { return TraditionalChinese(languageId) ? 950 : 1252; }

}  // namespace vx
