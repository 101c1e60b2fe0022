// The "Event Log" page: template 3310, controls 3311-3319.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_AP_EVENT_LOG_PAGE 3310
#define VX_IDC_EL_LIST 3311
#define VX_IDC_EL_CLEAR 3312

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddApEventLogPage = VX_IDD_AP_EVENT_LOG_PAGE;
inline constexpr int kIdcElList = VX_IDC_EL_LIST;
inline constexpr int kIdcElClear = VX_IDC_EL_CLEAR;
}  // namespace vx
#endif
