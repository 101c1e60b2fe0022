// Controls of the profile sheets' "Advanced" page (template 137); band 1401-1499.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_PROFILE_ADVANCED 137

#define VX_IDC_PADV_WIRELESS_MODE_LABEL 1401
#define VX_IDC_PADV_WIRELESS_MODE 1402
#define VX_IDC_PADV_ADHOC_MODE_LABEL 1403
#define VX_IDC_PADV_ADHOC_MODE 1404
#define VX_IDC_PADV_BG_PROTECTION_LABEL 1405
#define VX_IDC_PADV_BG_PROTECTION 1406
#define VX_IDC_PADV_TX_RATE_LABEL 1407
#define VX_IDC_PADV_TX_RATE 1408
#define VX_IDC_PADV_TX_BURST 1409
#define VX_IDC_PADV_TURBO_RATE 1410
#define VX_IDC_PADV_SHORT_SLOT 1411
#define VX_IDC_PADV_TCP_WINDOW 1412

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddProfileAdvanced = VX_IDD_PROFILE_ADVANCED;
namespace padv {
inline constexpr int kWirelessModeLabel = VX_IDC_PADV_WIRELESS_MODE_LABEL;
inline constexpr int kWirelessMode = VX_IDC_PADV_WIRELESS_MODE;
inline constexpr int kAdhocModeLabel = VX_IDC_PADV_ADHOC_MODE_LABEL;
inline constexpr int kAdhocMode = VX_IDC_PADV_ADHOC_MODE;
inline constexpr int kBgProtectionLabel = VX_IDC_PADV_BG_PROTECTION_LABEL;
inline constexpr int kBgProtection = VX_IDC_PADV_BG_PROTECTION;
inline constexpr int kTxRateLabel = VX_IDC_PADV_TX_RATE_LABEL;
inline constexpr int kTxRate = VX_IDC_PADV_TX_RATE;
inline constexpr int kTxBurst = VX_IDC_PADV_TX_BURST;
inline constexpr int kTurboRate = VX_IDC_PADV_TURBO_RATE;
inline constexpr int kShortSlot = VX_IDC_PADV_SHORT_SLOT;
inline constexpr int kTcpWindow = VX_IDC_PADV_TCP_WINDOW;
}  // namespace padv
}  // namespace vx
#endif
