// Registry value helpers shared by both programs: decimal text with defaults, whole text values,
// lists, and the copy of every value of one key into another.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace vx {

// Decimal text as the C runtime's atoi reads it (leading blanks, optional sign, leading digits;
// 0 without digits), saturating at the 32-bit limits instead of overflowing.
int32_t ParseDecimal(std::string_view text);

// The text of a REG_SZ or REG_EXPAND_SZ value, whole; nullopt when absent or of another type.
std::optional<std::string> ReadText(RegistryPort& reg, const RegKey& key, std::string_view name);
std::string ReadText(RegistryPort& reg, const RegKey& key, std::string_view name, std::string_view fallback);

// The decimal value of a text value; nullopt when absent or not text. Non-numeric text reads as 0.
std::optional<int32_t> ReadIntIfPresent(RegistryPort& reg, const RegKey& key, std::string_view name);
int32_t ReadInt(RegistryPort& reg, const RegKey& key, std::string_view name, int32_t fallback);

// A 32-bit word stored in any form: REG_DWORD as is, text as decimal, raw data as its first four
// bytes little-endian (shorter data zero-padded). nullopt when absent.
std::optional<uint32_t> ReadWord(RegistryPort& reg, const RegKey& key, std::string_view name);

// REG_MULTI_SZ strings; nullopt when absent or of another type.
std::optional<std::vector<std::string>> ReadList(RegistryPort& reg, const RegKey& key, std::string_view name);

bool WriteText(RegistryPort& reg, const RegKey& key, std::string_view name, std::string_view text);
// Signed decimal text ("%d").
bool WriteInt(RegistryPort& reg, const RegKey& key, std::string_view name, int32_t value);
bool WriteList(RegistryPort& reg, const RegKey& key, std::string_view name, std::vector<std::string> list);

// Writes every value of `from` into `to` with its own name, type and data, whatever its size.
// Stops at the first failed write; false then, or when `from` cannot be enumerated.
bool CopyKeyValues(RegistryPort& reg, const RegKey& from, const RegKey& to);

// Writes every one of `values` into `key` (created when missing), or none of them: after a
// refused write the values already written get their earlier data back (or go again) and a key
// this call created is removed, so no reader ever sees half a record. False when a write failed.
bool WriteValuesWhole(RegistryPort& reg, const RegKey& key, const std::vector<RegNamedValue>& values);

}  // namespace vx
