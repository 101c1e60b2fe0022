// Controls of the profile sheets' "Authentication and Security" page (template 2220); band
// 1751-1799.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_AUTH_SECU 2220

#define VX_IDC_ASEC_AUTH_LABEL 1751
#define VX_IDC_ASEC_AUTH 1752
#define VX_IDC_ASEC_ENC_LABEL 1753
#define VX_IDC_ASEC_ENC 1754
#define VX_IDC_ASEC_USE_8021X 1755
#define VX_IDC_ASEC_8021X_SETTING 1756
#define VX_IDC_ASEC_PSK_LABEL 1757
#define VX_IDC_ASEC_PSK 1758
#define VX_IDC_ASEC_WEP_GROUP 1759
#define VX_IDC_ASEC_KEY1_DEFAULT 1760
#define VX_IDC_ASEC_KEY2_DEFAULT 1761
#define VX_IDC_ASEC_KEY3_DEFAULT 1762
#define VX_IDC_ASEC_KEY4_DEFAULT 1763
#define VX_IDC_ASEC_KEY1_TYPE 1764
#define VX_IDC_ASEC_KEY2_TYPE 1765
#define VX_IDC_ASEC_KEY3_TYPE 1766
#define VX_IDC_ASEC_KEY4_TYPE 1767
#define VX_IDC_ASEC_KEY1_HEX 1768
#define VX_IDC_ASEC_KEY2_HEX 1769
#define VX_IDC_ASEC_KEY3_HEX 1770
#define VX_IDC_ASEC_KEY4_HEX 1771
#define VX_IDC_ASEC_KEY1_ASCII 1772
#define VX_IDC_ASEC_KEY2_ASCII 1773
#define VX_IDC_ASEC_KEY3_ASCII 1774
#define VX_IDC_ASEC_KEY4_ASCII 1775
#define VX_IDC_ASEC_KEY1_SIZE 1776
#define VX_IDC_ASEC_KEY2_SIZE 1777
#define VX_IDC_ASEC_KEY3_SIZE 1778
#define VX_IDC_ASEC_KEY4_SIZE 1779
#define VX_IDC_ASEC_LEAP_ID_LABEL 1780
#define VX_IDC_ASEC_LEAP_ID 1781
#define VX_IDC_ASEC_LEAP_PASSWORD_LABEL 1782
#define VX_IDC_ASEC_LEAP_PASSWORD 1783
#define VX_IDC_ASEC_LEAP_WEP 1784
#define VX_IDC_ASEC_LEAP_TKIP 1785

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddAuthSecu = VX_IDD_AUTH_SECU;
namespace asec {
inline constexpr int kAuthLabel = VX_IDC_ASEC_AUTH_LABEL;
inline constexpr int kAuth = VX_IDC_ASEC_AUTH;
inline constexpr int kEncLabel = VX_IDC_ASEC_ENC_LABEL;
inline constexpr int kEnc = VX_IDC_ASEC_ENC;
inline constexpr int kUse8021x = VX_IDC_ASEC_USE_8021X;
inline constexpr int k8021xSetting = VX_IDC_ASEC_8021X_SETTING;
inline constexpr int kPskLabel = VX_IDC_ASEC_PSK_LABEL;
inline constexpr int kPsk = VX_IDC_ASEC_PSK;
inline constexpr int kWepGroup = VX_IDC_ASEC_WEP_GROUP;
inline constexpr int kKeyDefault[4] = {VX_IDC_ASEC_KEY1_DEFAULT, VX_IDC_ASEC_KEY2_DEFAULT, VX_IDC_ASEC_KEY3_DEFAULT,
                                       VX_IDC_ASEC_KEY4_DEFAULT};
inline constexpr int kKeyType[4] = {VX_IDC_ASEC_KEY1_TYPE, VX_IDC_ASEC_KEY2_TYPE, VX_IDC_ASEC_KEY3_TYPE,
                                    VX_IDC_ASEC_KEY4_TYPE};
inline constexpr int kKeyHex[4] = {VX_IDC_ASEC_KEY1_HEX, VX_IDC_ASEC_KEY2_HEX, VX_IDC_ASEC_KEY3_HEX,
                                   VX_IDC_ASEC_KEY4_HEX};
inline constexpr int kKeyAscii[4] = {VX_IDC_ASEC_KEY1_ASCII, VX_IDC_ASEC_KEY2_ASCII, VX_IDC_ASEC_KEY3_ASCII,
                                     VX_IDC_ASEC_KEY4_ASCII};
inline constexpr int kKeySize[4] = {VX_IDC_ASEC_KEY1_SIZE, VX_IDC_ASEC_KEY2_SIZE, VX_IDC_ASEC_KEY3_SIZE,
                                    VX_IDC_ASEC_KEY4_SIZE};
inline constexpr int kLeapIdLabel = VX_IDC_ASEC_LEAP_ID_LABEL;
inline constexpr int kLeapId = VX_IDC_ASEC_LEAP_ID;
inline constexpr int kLeapPasswordLabel = VX_IDC_ASEC_LEAP_PASSWORD_LABEL;
inline constexpr int kLeapPassword = VX_IDC_ASEC_LEAP_PASSWORD;
inline constexpr int kLeapWep = VX_IDC_ASEC_LEAP_WEP;
inline constexpr int kLeapTkip = VX_IDC_ASEC_LEAP_TKIP;
}  // namespace asec
}  // namespace vx
#endif
