// The operating-system kind that many behaviours branch on.
#pragma once
#include "driver/oid_channel.h"
#include "platform/system.h"

namespace vx {

// 0 when unknown; 2..5 the 9x family; 6..12 the NT family (see DetectOsVersion).
int OsKindFromVersion(const OsVersionInfo& v, Program program);
// Extended record first, then the plain one; 0 when both fail.
int DetectOsVersion(SystemPort& system, Program program);
// False below kind 10 or when the system lacks the function; a 64-bit process reports false.
bool IsWow64(SystemPort& system, int osKind);

constexpr bool IsNt5OrLater(int kind) { return kind >= 7; }
constexpr bool HasZeroConfig(int kind) { return kind >= 8; }
constexpr bool Is9xReachable(int kind) { return kind == 4 || kind == 5; }

}  // namespace vx
