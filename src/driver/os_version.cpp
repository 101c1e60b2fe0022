#include "driver/os_version.h"

namespace vx {

int OsKindFromVersion(const OsVersionInfo& v, Program program) {
  if (v.platformId == kPlatformWin32Windows) {
    if (v.major != 4) return 0;
    if (v.minor == 0) return 2;
    if (v.minor == 10) return (v.build & 0xFFFF) == 2222 ? 4 : 3;
    if (v.minor == 90) return 5;
    return 0;
  }
  if (v.platformId != kPlatformWin32Nt) return 0;
  if (v.major <= 4) return 6;
  if (v.major == 5 && v.minor == 0) return 7;
  if (v.major == 5 && v.minor == 1) return 8;
  bool workstation = v.productType == kProductWorkstation;
  if (program == Program::AccessPoint) return (v.major == 5 && v.minor == 2) ? 9 : 10;
  if (v.major == 5 && v.minor == 2) return workstation ? 10 : 9;
  return workstation ? 11 : 12;
}

int DetectOsVersion(SystemPort& system, Program program) {
  auto v = system.GetVersion(true);
  if (!v) v = system.GetVersion(false);
  return v ? OsKindFromVersion(*v, program) : 0;
}

bool IsWow64(SystemPort& system, int osKind) {
  if (osKind <= 9) return false;
  return system.IsWow64Process().value_or(false);
}

}  // namespace vx
