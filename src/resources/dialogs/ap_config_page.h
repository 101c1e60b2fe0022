// The access point's "Config" page: template 3100, controls in the band 3101-3149.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_AP_CONFIG_PAGE 3100
#define VX_IDC_APC_WIRELESS_MODE 3101
#define VX_IDC_APC_SSID 3102
#define VX_IDC_APC_TX_RATE 3103
#define VX_IDC_APC_CHANNEL 3104
#define VX_IDC_APC_PROTECTION 3105
#define VX_IDC_APC_PREAMBLE 3106
#define VX_IDC_APC_BEACON 3107
#define VX_IDC_APC_TX_POWER 3108
#define VX_IDC_APC_TX_BURST 3109
#define VX_IDC_APC_TURBO_RATE 3110
#define VX_IDC_APC_NO_FORWARDING 3111
#define VX_IDC_APC_HIDE_SSID 3112
#define VX_IDC_APC_SHORT_SLOT 3113
#define VX_IDC_APC_AUTO_CHANNEL 3114
#define VX_IDC_APC_RTS 3115
#define VX_IDC_APC_FRAG 3116
#define VX_IDC_APC_TX_ANTENNA 3117
#define VX_IDC_APC_RX_ANTENNA 3118
#define VX_IDC_APC_APPLY 3119
#define VX_IDC_APC_DEFAULT 3120
#define VX_IDC_APC_SECURITY 3121
#define VX_IDC_APC_USE_MAC 3122
#define VX_IDC_APC_LABEL_MODE 3130
#define VX_IDC_APC_LABEL_SSID 3131
#define VX_IDC_APC_LABEL_RATE 3132
#define VX_IDC_APC_LABEL_CHANNEL 3133
#define VX_IDC_APC_LABEL_PROTECTION 3134
#define VX_IDC_APC_LABEL_PREAMBLE 3135
#define VX_IDC_APC_LABEL_BEACON 3136
#define VX_IDC_APC_LABEL_TX_POWER 3137
#define VX_IDC_APC_LABEL_RTS 3138
#define VX_IDC_APC_LABEL_FRAG 3139
#define VX_IDC_APC_LABEL_TX_ANTENNA 3140
#define VX_IDC_APC_LABEL_RX_ANTENNA 3141

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddApConfigPage = VX_IDD_AP_CONFIG_PAGE;
inline constexpr int kIdcApcWirelessMode = VX_IDC_APC_WIRELESS_MODE;
inline constexpr int kIdcApcSsid = VX_IDC_APC_SSID;
inline constexpr int kIdcApcTxRate = VX_IDC_APC_TX_RATE;
inline constexpr int kIdcApcChannel = VX_IDC_APC_CHANNEL;
inline constexpr int kIdcApcProtection = VX_IDC_APC_PROTECTION;
inline constexpr int kIdcApcPreamble = VX_IDC_APC_PREAMBLE;
inline constexpr int kIdcApcBeacon = VX_IDC_APC_BEACON;
inline constexpr int kIdcApcTxPower = VX_IDC_APC_TX_POWER;
inline constexpr int kIdcApcTxBurst = VX_IDC_APC_TX_BURST;
inline constexpr int kIdcApcTurboRate = VX_IDC_APC_TURBO_RATE;
inline constexpr int kIdcApcNoForwarding = VX_IDC_APC_NO_FORWARDING;
inline constexpr int kIdcApcHideSsid = VX_IDC_APC_HIDE_SSID;
inline constexpr int kIdcApcShortSlot = VX_IDC_APC_SHORT_SLOT;
inline constexpr int kIdcApcAutoChannel = VX_IDC_APC_AUTO_CHANNEL;
inline constexpr int kIdcApcRts = VX_IDC_APC_RTS;
inline constexpr int kIdcApcFrag = VX_IDC_APC_FRAG;
inline constexpr int kIdcApcTxAntenna = VX_IDC_APC_TX_ANTENNA;
inline constexpr int kIdcApcRxAntenna = VX_IDC_APC_RX_ANTENNA;
inline constexpr int kIdcApcApply = VX_IDC_APC_APPLY;
inline constexpr int kIdcApcDefault = VX_IDC_APC_DEFAULT;
inline constexpr int kIdcApcSecurity = VX_IDC_APC_SECURITY;
inline constexpr int kIdcApcUseMac = VX_IDC_APC_USE_MAC;
inline constexpr int kIdcApcLabelMode = VX_IDC_APC_LABEL_MODE;
inline constexpr int kIdcApcLabelSsid = VX_IDC_APC_LABEL_SSID;
inline constexpr int kIdcApcLabelRate = VX_IDC_APC_LABEL_RATE;
inline constexpr int kIdcApcLabelChannel = VX_IDC_APC_LABEL_CHANNEL;
inline constexpr int kIdcApcLabelProtection = VX_IDC_APC_LABEL_PROTECTION;
inline constexpr int kIdcApcLabelPreamble = VX_IDC_APC_LABEL_PREAMBLE;
inline constexpr int kIdcApcLabelBeacon = VX_IDC_APC_LABEL_BEACON;
inline constexpr int kIdcApcLabelTxPower = VX_IDC_APC_LABEL_TX_POWER;
inline constexpr int kIdcApcLabelRts = VX_IDC_APC_LABEL_RTS;
inline constexpr int kIdcApcLabelFrag = VX_IDC_APC_LABEL_FRAG;
inline constexpr int kIdcApcLabelTxAntenna = VX_IDC_APC_LABEL_TX_ANTENNA;
inline constexpr int kIdcApcLabelRxAntenna = VX_IDC_APC_LABEL_RX_ANTENNA;
}  // namespace vx
#endif
