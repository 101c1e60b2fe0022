#include "common/settings/registry_values.h"

#include <algorithm>
#include <limits>

#include "base/hex.h"

namespace vx {

int32_t ParseDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;  // saturate; further digits cannot bring it back
  }
  if (negative) return static_cast<int32_t>(-value);
  return value >= kLimit ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(value);
}

std::optional<std::string> ReadText(RegistryPort& reg, const RegKey& key, std::string_view name) {
  auto v = reg.QueryValue(key, name);
  if (!v || !v->IsText()) return std::nullopt;
  return std::move(v->text);
}

std::string ReadText(RegistryPort& reg, const RegKey& key, std::string_view name, std::string_view fallback) {
  auto v = ReadText(reg, key, name);
  return v ? *v : std::string(fallback);
}

std::optional<int32_t> ReadIntIfPresent(RegistryPort& reg, const RegKey& key, std::string_view name) {
  auto v = ReadText(reg, key, name);
  if (!v) return std::nullopt;
  return ParseDecimal(*v);
}

int32_t ReadInt(RegistryPort& reg, const RegKey& key, std::string_view name, int32_t fallback) {
  return ReadIntIfPresent(reg, key, name).value_or(fallback);
}

std::optional<uint32_t> ReadWord(RegistryPort& reg, const RegKey& key, std::string_view name) {
  auto v = reg.QueryValue(key, name);
  if (!v) return std::nullopt;
  switch (v->type) {
    case kRegDword:
      return v->dword;
    case kRegSz:
    case kRegExpandSz:
      return static_cast<uint32_t>(ParseDecimal(v->text));
    case kRegMultiSz:
      return std::nullopt;
    default: {
      uint32_t w = 0;
      for (size_t i = 0; i < 4 && i < v->bytes.size(); ++i)
        w |= static_cast<uint32_t>(v->bytes[i]) << (8 * i);
      return w;
    }
  }
}

std::optional<std::vector<std::string>> ReadList(RegistryPort& reg, const RegKey& key,
                                                 std::string_view name) {
  auto v = reg.QueryValue(key, name);
  if (!v || v->type != kRegMultiSz) return std::nullopt;
  return std::move(v->strings);
}

bool WriteText(RegistryPort& reg, const RegKey& key, std::string_view name, std::string_view text) {
  return reg.SetValue(key, name, RegValue::Sz(std::string(text)));
}

bool WriteInt(RegistryPort& reg, const RegKey& key, std::string_view name, int32_t value) {
  return WriteText(reg, key, name, std::to_string(value));
}

bool WriteList(RegistryPort& reg, const RegKey& key, std::string_view name, std::vector<std::string> list) {
  return reg.SetValue(key, name, RegValue::MultiSz(std::move(list)));
}

bool CopyKeyValues(RegistryPort& reg, const RegKey& from, const RegKey& to) {
  std::vector<RegNamedValue> values;
  if (!reg.EnumValues(from, values)) return false;
  for (const auto& v : values)
    if (!reg.SetValue(to, v.name, v.value)) return false;
  return true;
}

bool WriteValuesWhole(RegistryPort& reg, const RegKey& key, const std::vector<RegNamedValue>& values) {
  const bool existed = reg.KeyExists(key);
  if (!existed && !reg.CreateKey(key)) return false;
  std::vector<RegNamedValue> before;
  if (existed) reg.EnumValues(key, before);
  size_t written = 0;
  while (written < values.size() && reg.SetValue(key, values[written].name, values[written].value)) ++written;
  if (written == values.size()) return true;
  if (!existed) {
    reg.DeleteTree(key);
    return false;
  }
  for (size_t i = 0; i < written; ++i) {
    auto old = std::find_if(before.begin(), before.end(),
                            [&](const RegNamedValue& b) { return EqualsIgnoreCase(b.name, values[i].name); });
    if (old != before.end())
      reg.SetValue(key, old->name, old->value);
    else
      reg.DeleteValue(key, values[i].name);
  }
  return false;
}

}  // namespace vx
