// Controls of the QuickSecure 3 wait window (template 1310); its text is control 1305. The OK
// button is IDOK.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_QS3_WAIT 1310

#define VX_IDC_QS3_WAIT_TEXT 1305

#ifndef RC_INVOKED
namespace vx {
inline constexpr uint32_t kIddQs3Wait = VX_IDD_QS3_WAIT;
namespace qs3wait {
inline constexpr int kText = VX_IDC_QS3_WAIT_TEXT;
}  // namespace qs3wait
}  // namespace vx
#endif
