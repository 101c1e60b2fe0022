// Controls of the "Hidden SSID" dialog (template 197); band 1971-1979. OK and Cancel are IDOK
// and IDCANCEL.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDC_HIDDEN_SSID_PROMPT 1971
#define VX_IDC_HIDDEN_SSID 1972

#ifndef RC_INVOKED
namespace vx {
inline constexpr int kIdcHiddenSsid = VX_IDC_HIDDEN_SSID;
}  // namespace vx
#endif
