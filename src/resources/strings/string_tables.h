// Both languages' string tables for the portable core, generated from strings.*.txt. The
// programs' own string resources come from the same files, so the core and the Windows
// resources cannot disagree.
#pragma once
#include <cstdint>
#include <span>

#include "platform/ui.h"
#include "resources/string_ids.h"

namespace vx {

struct StringEntry {
  uint32_t id;
  const char* name;  // the symbolic name, "IDS_..."
  const char* text;  // UTF-8
};

// Sorted by ID.
std::span<const StringEntry> EnglishEntries();
std::span<const StringEntry> ChineseEntries();

// A string table over one language's entries.
class EntryStringTable : public StringTable {
 public:
  explicit EntryStringTable(std::span<const StringEntry> entries) : entries_(entries) {}
  std::string Get(uint32_t id) const override;
  std::span<const StringEntry> Entries() const { return entries_; }

 private:
  std::span<const StringEntry> entries_;
};

StringTable& EnglishStrings();
StringTable& ChineseStrings();

// The table Windows would pick for a UI language ID: Chinese for the Traditional Chinese
// locales (Taiwan 1028, Hong Kong 3076, Macao 5124), English for every other.
StringTable& StringsForLanguage(uint16_t languageId);
// The ANSI code page that goes with the table Windows picks: 950 with the Chinese table, 1252
// with the English one. Text that is not UTF-8 (a network name) is shown in it.
uint32_t AnsiCodePageForLanguage(uint16_t languageId);

}  // namespace vx
