#include "station/shell/zero_config.h"

#include "platform/trace.h"

namespace vx {

int ZeroConfig::ZeroConfigState(int osKind, const std::string& netCfgInstanceId) {
  if (osKind < 8) return kZeroConfigOff;
  auto state = services_.QueryState(kService);
  if (!state || *state != kServiceRunning) return kZeroConfigOff;
  RegKey key = Hklm(InterfaceKey(netCfgInstanceId));
  if (!registry_.KeyExists(key)) {
    Trace("RegOpenKeyEx '%s' failed\n", key.path.c_str());
    return kZeroConfigControls;  // no interface key: assume the service has the adapter
  }
  auto flags = registry_.QueryValue(key, "ControlFlags");
  if (!flags || flags->type != kRegDword) {
    Trace("RegQueryValueEx '%s' failed\n", "ControlFlags");
    return kZeroConfigIdle;
  }
  return (flags->dword & kControlFlag) ? kZeroConfigControls : kZeroConfigIdle;
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
  auto flags = registry_.QueryValue(key, "ControlFlags");
  if (flags && flags->type == kRegDword && !(flags->dword & kControlFlag)) {
    if (*state == kServiceRunning || *state == kServiceStartPending) StopZeroConfig(false);
    RegValue updated = *flags;
    updated.dword |= kControlFlag;
    if (!registry_.SetValue(key, "ControlFlags", updated)) Trace("RegSetValueEx REGSTR_CONTROL_FLAGS failed\n");
  } else if (!flags) {
    Trace("RegQueryValueEx '%s' failed\n", "ControlFlags");
  }
  state = services_.QueryState(kService);
  if (state && *state != kServiceRunning && *state != kServiceStartPending) services_.Start(kService);
  services_.SetStartType(kService, kServiceAutoStart);
}

}  // namespace vx
