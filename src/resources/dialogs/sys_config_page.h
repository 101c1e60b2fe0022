// Controls of the profile sheet's "System Configuration" page (template 2210); band 1701-1749.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_SYS_CONFIG 2210

#define VX_IDC_SCFG_NAME_LABEL 1701
#define VX_IDC_SCFG_NAME 1702
#define VX_IDC_SCFG_SSID_LABEL 1703
#define VX_IDC_SCFG_SSID 1704
#define VX_IDC_SCFG_PSM_GROUP 1705
#define VX_IDC_SCFG_CAM 1706
#define VX_IDC_SCFG_PSM 1707
#define VX_IDC_SCFG_AC_POWER_CAM 1708
#define VX_IDC_SCFG_NETWORK_TYPE_LABEL 1709
#define VX_IDC_SCFG_NETWORK_TYPE 1710
#define VX_IDC_SCFG_PREAMBLE_LABEL 1711
#define VX_IDC_SCFG_PREAMBLE 1712
#define VX_IDC_SCFG_TX_POWER_LABEL 1713
#define VX_IDC_SCFG_TX_POWER 1714
#define VX_IDC_SCFG_USE_RTS 1715
#define VX_IDC_SCFG_RTS_SLIDER 1716
#define VX_IDC_SCFG_RTS 1717
#define VX_IDC_SCFG_USE_FRAG 1718
#define VX_IDC_SCFG_FRAG_SLIDER 1719
#define VX_IDC_SCFG_FRAG 1720
#define VX_IDC_SCFG_CHANNEL_LABEL 1721
#define VX_IDC_SCFG_CHANNEL 1722
#define VX_IDC_SCFG_ADHOC_MODE 1723

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddSysConfig = VX_IDD_SYS_CONFIG;
namespace scfg {
inline constexpr int kNameLabel = VX_IDC_SCFG_NAME_LABEL;
inline constexpr int kName = VX_IDC_SCFG_NAME;
inline constexpr int kSsidLabel = VX_IDC_SCFG_SSID_LABEL;
inline constexpr int kSsid = VX_IDC_SCFG_SSID;
inline constexpr int kPsmGroup = VX_IDC_SCFG_PSM_GROUP;
inline constexpr int kCam = VX_IDC_SCFG_CAM;
inline constexpr int kPsm = VX_IDC_SCFG_PSM;
inline constexpr int kAcPowerCam = VX_IDC_SCFG_AC_POWER_CAM;
inline constexpr int kNetworkTypeLabel = VX_IDC_SCFG_NETWORK_TYPE_LABEL;
inline constexpr int kNetworkType = VX_IDC_SCFG_NETWORK_TYPE;
inline constexpr int kPreambleLabel = VX_IDC_SCFG_PREAMBLE_LABEL;
inline constexpr int kPreamble = VX_IDC_SCFG_PREAMBLE;
inline constexpr int kTxPowerLabel = VX_IDC_SCFG_TX_POWER_LABEL;
inline constexpr int kTxPower = VX_IDC_SCFG_TX_POWER;
inline constexpr int kUseRts = VX_IDC_SCFG_USE_RTS;
inline constexpr int kRtsSlider = VX_IDC_SCFG_RTS_SLIDER;
inline constexpr int kRts = VX_IDC_SCFG_RTS;
inline constexpr int kUseFrag = VX_IDC_SCFG_USE_FRAG;
inline constexpr int kFragSlider = VX_IDC_SCFG_FRAG_SLIDER;
inline constexpr int kFrag = VX_IDC_SCFG_FRAG;
inline constexpr int kChannelLabel = VX_IDC_SCFG_CHANNEL_LABEL;
inline constexpr int kChannel = VX_IDC_SCFG_CHANNEL;
inline constexpr int kAdhocMode = VX_IDC_SCFG_ADHOC_MODE;
}  // namespace scfg
}  // namespace vx
#endif
