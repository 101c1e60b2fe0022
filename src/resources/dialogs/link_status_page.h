// Controls of the "Link Status" page (template 133); band 1101-1199.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_LINK_STATUS 133

#define VX_IDC_LS_STATUS_LABEL 1101
#define VX_IDC_LS_STATUS 1102
#define VX_IDC_LS_EXTRA_LABEL 1103
#define VX_IDC_LS_EXTRA 1104
#define VX_IDC_LS_CHANNEL_LABEL 1105
#define VX_IDC_LS_CHANNEL 1106
#define VX_IDC_LS_LINK_SPEED_LABEL 1107
#define VX_IDC_LS_TX_MBPS_LABEL 1108
#define VX_IDC_LS_TX_MBPS 1109
#define VX_IDC_LS_RX_MBPS_LABEL 1110
#define VX_IDC_LS_RX_MBPS 1111
#define VX_IDC_LS_THROUGHPUT_LABEL 1112
#define VX_IDC_LS_TX_KBPS_LABEL 1113
#define VX_IDC_LS_TX_KBPS 1114
#define VX_IDC_LS_RX_KBPS_LABEL 1115
#define VX_IDC_LS_RX_KBPS 1116
#define VX_IDC_LS_QUALITY_LABEL 1117
#define VX_IDC_LS_QUALITY_BAR 1118
#define VX_IDC_LS_QUALITY_VALUE 1119
#define VX_IDC_LS_QUALITY_WORD 1120
#define VX_IDC_LS_SIGNAL_LABEL 1121
#define VX_IDC_LS_SIGNAL_BAR 1122
#define VX_IDC_LS_SIGNAL_VALUE 1123
#define VX_IDC_LS_SIGNAL_WORD 1124
#define VX_IDC_LS_SIGNAL2_LABEL 1125
#define VX_IDC_LS_SIGNAL2_BAR 1126
#define VX_IDC_LS_SIGNAL2_VALUE 1127
#define VX_IDC_LS_SIGNAL2_WORD 1128
#define VX_IDC_LS_NOISE_LABEL 1129
#define VX_IDC_LS_NOISE_BAR 1130
#define VX_IDC_LS_NOISE_VALUE 1131
#define VX_IDC_LS_NOISE_WORD 1132
#define VX_IDC_LS_DBM 1133

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddLinkStatus = VX_IDD_LINK_STATUS;
namespace ls {
inline constexpr int kStatusLabel = VX_IDC_LS_STATUS_LABEL;
inline constexpr int kStatus = VX_IDC_LS_STATUS;
inline constexpr int kExtraLabel = VX_IDC_LS_EXTRA_LABEL;
inline constexpr int kExtra = VX_IDC_LS_EXTRA;
inline constexpr int kChannelLabel = VX_IDC_LS_CHANNEL_LABEL;
inline constexpr int kChannel = VX_IDC_LS_CHANNEL;
inline constexpr int kLinkSpeedLabel = VX_IDC_LS_LINK_SPEED_LABEL;
inline constexpr int kTxMbpsLabel = VX_IDC_LS_TX_MBPS_LABEL;
inline constexpr int kTxMbps = VX_IDC_LS_TX_MBPS;
inline constexpr int kRxMbpsLabel = VX_IDC_LS_RX_MBPS_LABEL;
inline constexpr int kRxMbps = VX_IDC_LS_RX_MBPS;
inline constexpr int kThroughputLabel = VX_IDC_LS_THROUGHPUT_LABEL;
inline constexpr int kTxKbpsLabel = VX_IDC_LS_TX_KBPS_LABEL;
inline constexpr int kTxKbps = VX_IDC_LS_TX_KBPS;
inline constexpr int kRxKbpsLabel = VX_IDC_LS_RX_KBPS_LABEL;
inline constexpr int kRxKbps = VX_IDC_LS_RX_KBPS;
inline constexpr int kQualityLabel = VX_IDC_LS_QUALITY_LABEL;
inline constexpr int kQualityBar = VX_IDC_LS_QUALITY_BAR;
inline constexpr int kQualityValue = VX_IDC_LS_QUALITY_VALUE;
inline constexpr int kQualityWord = VX_IDC_LS_QUALITY_WORD;
inline constexpr int kSignalLabel = VX_IDC_LS_SIGNAL_LABEL;
inline constexpr int kSignalBar = VX_IDC_LS_SIGNAL_BAR;
inline constexpr int kSignalValue = VX_IDC_LS_SIGNAL_VALUE;
inline constexpr int kSignalWord = VX_IDC_LS_SIGNAL_WORD;
inline constexpr int kSignal2Label = VX_IDC_LS_SIGNAL2_LABEL;
inline constexpr int kSignal2Bar = VX_IDC_LS_SIGNAL2_BAR;
inline constexpr int kSignal2Value = VX_IDC_LS_SIGNAL2_VALUE;
inline constexpr int kSignal2Word = VX_IDC_LS_SIGNAL2_WORD;
inline constexpr int kNoiseLabel = VX_IDC_LS_NOISE_LABEL;
inline constexpr int kNoiseBar = VX_IDC_LS_NOISE_BAR;
inline constexpr int kNoiseValue = VX_IDC_LS_NOISE_VALUE;
inline constexpr int kNoiseWord = VX_IDC_LS_NOISE_WORD;
inline constexpr int kDbm = VX_IDC_LS_DBM;
}  // namespace ls
}  // namespace vx
#endif
