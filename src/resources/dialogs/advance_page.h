// Controls of the main sheet's "Advanced" page (template 136); band 1301-1399.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_ADVANCE 136

#define VX_IDC_ADV_WIRELESS_MODE_LABEL 1301
#define VX_IDC_ADV_WIRELESS_MODE 1302
#define VX_IDC_ADV_ADHOC_MODE_LABEL 1303
#define VX_IDC_ADV_ADHOC_MODE 1304
#define VX_IDC_ADV_BG_PROTECTION_LABEL 1305
#define VX_IDC_ADV_BG_PROTECTION 1306
#define VX_IDC_ADV_TX_RATE_LABEL 1307
#define VX_IDC_ADV_TX_RATE 1308
#define VX_IDC_ADV_TX_BURST 1309
#define VX_IDC_ADV_TURBO_RATE 1310
#define VX_IDC_ADV_REGION_GROUP 1311
#define VX_IDC_ADV_REGION_BG_LABEL 1312
#define VX_IDC_ADV_REGION_BG 1313
#define VX_IDC_ADV_REGION_A_LABEL 1314
#define VX_IDC_ADV_REGION_A 1315
#define VX_IDC_ADV_CCX_GROUP 1320
#define VX_IDC_ADV_CCX2 1321
#define VX_IDC_ADV_CCKM 1322
#define VX_IDC_ADV_RADIO_MEASUREMENTS 1323
#define VX_IDC_ADV_NON_SERVING 1324
#define VX_IDC_ADV_QOS 1325
#define VX_IDC_ADV_LIMIT_LABEL 1326
#define VX_IDC_ADV_LIMIT 1327
#define VX_IDC_ADV_LIMIT_UNIT 1328
#define VX_IDC_ADV_FAST_ROAMING 1329
#define VX_IDC_ADV_THRESHOLD 1330
#define VX_IDC_ADV_THRESHOLD_UNIT 1331
#define VX_IDC_ADV_APPLY 1340
#define VX_IDC_ADV_RADIO 1341
#define VX_IDC_ADV_RADIO_IMAGE 1342

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddAdvance = VX_IDD_ADVANCE;
namespace adv {
inline constexpr int kWirelessModeLabel = VX_IDC_ADV_WIRELESS_MODE_LABEL;
inline constexpr int kWirelessMode = VX_IDC_ADV_WIRELESS_MODE;
inline constexpr int kAdhocModeLabel = VX_IDC_ADV_ADHOC_MODE_LABEL;
inline constexpr int kAdhocMode = VX_IDC_ADV_ADHOC_MODE;
inline constexpr int kBgProtectionLabel = VX_IDC_ADV_BG_PROTECTION_LABEL;
inline constexpr int kBgProtection = VX_IDC_ADV_BG_PROTECTION;
inline constexpr int kTxRateLabel = VX_IDC_ADV_TX_RATE_LABEL;
inline constexpr int kTxRate = VX_IDC_ADV_TX_RATE;
inline constexpr int kTxBurst = VX_IDC_ADV_TX_BURST;
inline constexpr int kTurboRate = VX_IDC_ADV_TURBO_RATE;
inline constexpr int kRegionGroup = VX_IDC_ADV_REGION_GROUP;
inline constexpr int kRegionBgLabel = VX_IDC_ADV_REGION_BG_LABEL;
inline constexpr int kRegionBg = VX_IDC_ADV_REGION_BG;
inline constexpr int kRegionALabel = VX_IDC_ADV_REGION_A_LABEL;
inline constexpr int kRegionA = VX_IDC_ADV_REGION_A;
inline constexpr int kCcxGroup = VX_IDC_ADV_CCX_GROUP;
inline constexpr int kCcx2 = VX_IDC_ADV_CCX2;
inline constexpr int kCckm = VX_IDC_ADV_CCKM;
inline constexpr int kRadioMeasurements = VX_IDC_ADV_RADIO_MEASUREMENTS;
inline constexpr int kNonServing = VX_IDC_ADV_NON_SERVING;
inline constexpr int kQos = VX_IDC_ADV_QOS;
inline constexpr int kLimitLabel = VX_IDC_ADV_LIMIT_LABEL;
inline constexpr int kLimit = VX_IDC_ADV_LIMIT;
inline constexpr int kLimitUnit = VX_IDC_ADV_LIMIT_UNIT;
inline constexpr int kFastRoaming = VX_IDC_ADV_FAST_ROAMING;
inline constexpr int kThreshold = VX_IDC_ADV_THRESHOLD;
inline constexpr int kThresholdUnit = VX_IDC_ADV_THRESHOLD_UNIT;
inline constexpr int kApply = VX_IDC_ADV_APPLY;
inline constexpr int kRadio = VX_IDC_ADV_RADIO;
inline constexpr int kRadioImage = VX_IDC_ADV_RADIO_IMAGE;
}  // namespace adv
}  // namespace vx
#endif
