// Tray menu command IDs, for windres and C++.
#pragma once

#define VX_IDM_LAUNCH 32774
#define VX_IDM_EXIT 32776
#define VX_IDM_USE_ZERO_CONFIG 32777
#define VX_IDM_SWITCH_TO_STATION 32778
#define VX_IDM_USE_AVCONFIG 32780
#define VX_IDM_SWITCH_TO_AP 32781

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {

inline constexpr uint32_t kCmdLaunch = VX_IDM_LAUNCH;
inline constexpr uint32_t kCmdExit = VX_IDM_EXIT;
inline constexpr uint32_t kCmdUseZeroConfig = VX_IDM_USE_ZERO_CONFIG;
inline constexpr uint32_t kCmdSwitchToStation = VX_IDM_SWITCH_TO_STATION;
inline constexpr uint32_t kCmdUseAvConfig = VX_IDM_USE_AVCONFIG;
inline constexpr uint32_t kCmdSwitchToAp = VX_IDM_SWITCH_TO_AP;

}  // namespace vx
#endif
