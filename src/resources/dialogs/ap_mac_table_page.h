// The "Mac Table" page: template 3300, controls 3301-3309.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_AP_MAC_TABLE_PAGE 3300
#define VX_IDC_MT_LIST 3301

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddApMacTablePage = VX_IDD_AP_MAC_TABLE_PAGE;
inline constexpr int kIdcMtList = VX_IDC_MT_LIST;
}  // namespace vx
#endif
