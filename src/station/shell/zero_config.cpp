#include "station/shell/zero_config.h"

#include <optional>

#include "platform/trace.h"

namespace vx {
namespace {

// "ControlFlags" as the service reads it: a DWORD, or raw data whose first bytes are the flags
// little-endian. Text carries no flags word.
std::optional<uint32_t> FlagsWord(const RegValue& v) {
  if (v.type == kRegDword && v.bytes.empty()) return v.dword;
  if (v.IsText() || v.type == kRegMultiSz) return std::nullopt;
  uint32_t w = 0;
  for (size_t i = 0; i < 4 && i < v.bytes.size(); ++i) w |= static_cast<uint32_t>(v.bytes[i]) << (8 * i);
  return w;
}

// The same value with the flag set, keeping its type and size; raw data too short to hold the
// flag's bit grows to a DWORD's four bytes.
RegValue WithControlFlag(RegValue v) {
  if (v.type == kRegDword && v.bytes.empty()) {
    v.dword |= ZeroConfig::kControlFlag;
    return v;
  }
  if (v.bytes.size() < 2) v.bytes.resize(4, 0);
  v.bytes[1] |= static_cast<uint8_t>(ZeroConfig::kControlFlag >> 8);
  return v;
}

}  // namespace

int ZeroConfig::ZeroConfigState(int osKind, const std::string& netCfgInstanceId) {
  if (osKind < 8) return kZeroConfigOff;
  auto state = services_.QueryState(kService);
  if (!state || *state != kServiceRunning) return kZeroConfigOff;
  RegKey key = Hklm(InterfaceKey(netCfgInstanceId));
  if (!registry_.KeyExists(key)) {
    Trace("RegOpenKeyEx '%s' failed\n", key.path.c_str());
    return kZeroConfigControls;  // no interface key: assume the service has the adapter
  }
  auto value = registry_.QueryValue(key, "ControlFlags");
  auto flags = value ? FlagsWord(*value) : std::nullopt;
  if (!flags) {
    Trace("RegQueryValueEx '%s' failed\n", "ControlFlags");
    return kZeroConfigIdle;
  }
  return (*flags & kControlFlag) ? kZeroConfigControls : kZeroConfigIdle;
}

void ZeroConfig::StopZeroConfig(bool changeStartType) {
  auto state = services_.QueryState(kService);
  if (!state) return;
  if (*state != kServiceStopped) services_.Stop(kService);
  if (changeStartType) services_.SetStartType(kService, kServiceDemandStart);
}

void ZeroConfig::EnableZeroConfig(int osKind, bool wow64, const std::string& netCfgInstanceId) {
  auto state = services_.QueryState(kService);
  if (!state) return;
  RegKey key = Hklm(InterfaceKey(netCfgInstanceId));
  key.view64 = osKind >= 10 && wow64;
  auto value = registry_.QueryValue(key, "ControlFlags");
  auto flags = value ? FlagsWord(*value) : std::nullopt;
  if (flags && !(*flags & kControlFlag)) {
    if (*state == kServiceRunning || *state == kServiceStartPending) StopZeroConfig(false);
    // Written back with the type and size it was read with.
    if (!registry_.SetValue(key, "ControlFlags", WithControlFlag(*value))) {
      Trace("RegSetValueEx REGSTR_CONTROL_FLAGS failed\n");
      return;  // a registry failure ends the operation where it happened
    }
  } else if (!flags) {
    Trace("RegQueryValueEx '%s' failed\n", "ControlFlags");
    if (!value) return;  // the read failed; flags kept as text are only left alone
  }
  state = services_.QueryState(kService);
  if (state && *state != kServiceRunning && *state != kServiceStartPending) services_.Start(kService);
  services_.SetStartType(kService, kServiceAutoStart);
}

}  // namespace vx
