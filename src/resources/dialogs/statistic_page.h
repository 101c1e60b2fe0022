// Controls of the "Statistics" page (template 135), shared by both programs; band 1201-1299.
// The ten rows run in dialog order: label 1211 + row, value 1231 + row.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_STATISTICS 135

#define VX_IDC_ST_TRANSMIT_GROUP 1201
#define VX_IDC_ST_RECEIVE_GROUP 1202
#define VX_IDC_ST_RESET 1203
#define VX_IDC_ST_LABEL_0 1211
#define VX_IDC_ST_LABEL_1 1212
#define VX_IDC_ST_LABEL_2 1213
#define VX_IDC_ST_LABEL_3 1214
#define VX_IDC_ST_LABEL_4 1215
#define VX_IDC_ST_LABEL_5 1216
#define VX_IDC_ST_LABEL_6 1217
#define VX_IDC_ST_LABEL_7 1218
#define VX_IDC_ST_LABEL_8 1219
#define VX_IDC_ST_LABEL_9 1220
#define VX_IDC_ST_VALUE_0 1231
#define VX_IDC_ST_VALUE_1 1232
#define VX_IDC_ST_VALUE_2 1233
#define VX_IDC_ST_VALUE_3 1234
#define VX_IDC_ST_VALUE_4 1235
#define VX_IDC_ST_VALUE_5 1236
#define VX_IDC_ST_VALUE_6 1237
#define VX_IDC_ST_VALUE_7 1238
#define VX_IDC_ST_VALUE_8 1239
#define VX_IDC_ST_VALUE_9 1240

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddStatistics = VX_IDD_STATISTICS;
namespace st {
inline constexpr int kTransmitGroup = VX_IDC_ST_TRANSMIT_GROUP;
inline constexpr int kReceiveGroup = VX_IDC_ST_RECEIVE_GROUP;
inline constexpr int kReset = VX_IDC_ST_RESET;
inline constexpr int kRowCount = 10;
constexpr int Label(int row) { return VX_IDC_ST_LABEL_0 + row; }
constexpr int Value(int row) { return VX_IDC_ST_VALUE_0 + row; }
}  // namespace st
}  // namespace vx
#endif
