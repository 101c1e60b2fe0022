// "Authentication & Security" of the access point: template 3150, controls 3151-3199; OK and Cancel are IDOK and IDCANCEL.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_AP_SECURITY_DIALOG 3150
#define VX_IDC_APS_AUTH 3151
#define VX_IDC_APS_ENCRYPTION 3152
#define VX_IDC_APS_PSK 3153
#define VX_IDC_APS_REKEY 3154
#define VX_IDC_APS_REKEY_UNIT 3155
#define VX_IDC_APS_RADIUS_SERVER 3156
#define VX_IDC_APS_RADIUS_PORT 3157
#define VX_IDC_APS_RADIUS_KEY 3158
#define VX_IDC_APS_KEY1 3159
#define VX_IDC_APS_KEY2 3160
#define VX_IDC_APS_KEY3 3161
#define VX_IDC_APS_KEY4 3162
#define VX_IDC_APS_KEY1_TYPE 3163
#define VX_IDC_APS_KEY2_TYPE 3164
#define VX_IDC_APS_KEY3_TYPE 3165
#define VX_IDC_APS_KEY4_TYPE 3166
#define VX_IDC_APS_KEY1_LENGTH 3167
#define VX_IDC_APS_KEY2_LENGTH 3168
#define VX_IDC_APS_KEY3_LENGTH 3169
#define VX_IDC_APS_KEY4_LENGTH 3170
#define VX_IDC_APS_KEY1_HEX 3171
#define VX_IDC_APS_KEY2_HEX 3172
#define VX_IDC_APS_KEY3_HEX 3173
#define VX_IDC_APS_KEY4_HEX 3174
#define VX_IDC_APS_KEY1_ASCII 3175
#define VX_IDC_APS_KEY2_ASCII 3176
#define VX_IDC_APS_KEY3_ASCII 3177
#define VX_IDC_APS_KEY4_ASCII 3178
#define VX_IDC_APS_LABEL_AUTH 3180
#define VX_IDC_APS_LABEL_ENCRYPTION 3181
#define VX_IDC_APS_LABEL_PSK 3182
#define VX_IDC_APS_LABEL_REKEY 3183
#define VX_IDC_APS_LABEL_RADIUS_SERVER 3184
#define VX_IDC_APS_LABEL_RADIUS_PORT 3185
#define VX_IDC_APS_LABEL_RADIUS_KEY 3186

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddApSecurityDialog = VX_IDD_AP_SECURITY_DIALOG;
inline constexpr int kIdcApsAuth = VX_IDC_APS_AUTH;
inline constexpr int kIdcApsEncryption = VX_IDC_APS_ENCRYPTION;
inline constexpr int kIdcApsPsk = VX_IDC_APS_PSK;
inline constexpr int kIdcApsRekey = VX_IDC_APS_REKEY;
inline constexpr int kIdcApsRekeyUnit = VX_IDC_APS_REKEY_UNIT;
inline constexpr int kIdcApsRadiusServer = VX_IDC_APS_RADIUS_SERVER;
inline constexpr int kIdcApsRadiusPort = VX_IDC_APS_RADIUS_PORT;
inline constexpr int kIdcApsRadiusKey = VX_IDC_APS_RADIUS_KEY;
inline constexpr int kIdcApsKey1 = VX_IDC_APS_KEY1;
inline constexpr int kIdcApsKey2 = VX_IDC_APS_KEY2;
inline constexpr int kIdcApsKey3 = VX_IDC_APS_KEY3;
inline constexpr int kIdcApsKey4 = VX_IDC_APS_KEY4;
inline constexpr int kIdcApsKey1Type = VX_IDC_APS_KEY1_TYPE;
inline constexpr int kIdcApsKey2Type = VX_IDC_APS_KEY2_TYPE;
inline constexpr int kIdcApsKey3Type = VX_IDC_APS_KEY3_TYPE;
inline constexpr int kIdcApsKey4Type = VX_IDC_APS_KEY4_TYPE;
inline constexpr int kIdcApsKey1Length = VX_IDC_APS_KEY1_LENGTH;
inline constexpr int kIdcApsKey2Length = VX_IDC_APS_KEY2_LENGTH;
inline constexpr int kIdcApsKey3Length = VX_IDC_APS_KEY3_LENGTH;
inline constexpr int kIdcApsKey4Length = VX_IDC_APS_KEY4_LENGTH;
inline constexpr int kIdcApsKey1Hex = VX_IDC_APS_KEY1_HEX;
inline constexpr int kIdcApsKey2Hex = VX_IDC_APS_KEY2_HEX;
inline constexpr int kIdcApsKey3Hex = VX_IDC_APS_KEY3_HEX;
inline constexpr int kIdcApsKey4Hex = VX_IDC_APS_KEY4_HEX;
inline constexpr int kIdcApsKey1Ascii = VX_IDC_APS_KEY1_ASCII;
inline constexpr int kIdcApsKey2Ascii = VX_IDC_APS_KEY2_ASCII;
inline constexpr int kIdcApsKey3Ascii = VX_IDC_APS_KEY3_ASCII;
inline constexpr int kIdcApsKey4Ascii = VX_IDC_APS_KEY4_ASCII;
inline constexpr int kIdcApsLabelAuth = VX_IDC_APS_LABEL_AUTH;
inline constexpr int kIdcApsLabelEncryption = VX_IDC_APS_LABEL_ENCRYPTION;
inline constexpr int kIdcApsLabelPsk = VX_IDC_APS_LABEL_PSK;
inline constexpr int kIdcApsLabelRekey = VX_IDC_APS_LABEL_REKEY;
inline constexpr int kIdcApsLabelRadiusServer = VX_IDC_APS_LABEL_RADIUS_SERVER;
inline constexpr int kIdcApsLabelRadiusPort = VX_IDC_APS_LABEL_RADIUS_PORT;
inline constexpr int kIdcApsLabelRadiusKey = VX_IDC_APS_LABEL_RADIUS_KEY;
}  // namespace vx
#endif
