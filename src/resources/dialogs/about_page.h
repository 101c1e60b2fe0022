// Controls of the "About" page (template 138), shared by both programs; band 1501-1599.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_ABOUT 138

#define VX_IDC_ABOUT_UTILITY_VERSION_LABEL 1501
#define VX_IDC_ABOUT_UTILITY_VERSION 1502
#define VX_IDC_ABOUT_UTILITY_DATE_LABEL 1503
#define VX_IDC_ABOUT_UTILITY_DATE 1504
#define VX_IDC_ABOUT_DRIVER_VERSION_LABEL 1505
#define VX_IDC_ABOUT_DRIVER_VERSION 1506
#define VX_IDC_ABOUT_DRIVER_DATE_LABEL 1507
#define VX_IDC_ABOUT_DRIVER_DATE 1508
#define VX_IDC_ABOUT_EEPROM_LABEL 1509
#define VX_IDC_ABOUT_EEPROM 1510
#define VX_IDC_ABOUT_FIRMWARE_LABEL 1511
#define VX_IDC_ABOUT_FIRMWARE 1512
#define VX_IDC_ABOUT_MAC_LABEL 1513
#define VX_IDC_ABOUT_MAC 1514
#define VX_IDC_ABOUT_IP_LABEL 1515
#define VX_IDC_ABOUT_IP 1516
#define VX_IDC_ABOUT_MASK_LABEL 1517
#define VX_IDC_ABOUT_MASK 1518
#define VX_IDC_ABOUT_GATEWAY_LABEL 1519
#define VX_IDC_ABOUT_GATEWAY 1520
#define VX_IDC_ABOUT_WEB_LINK 1521
#define VX_IDC_ABOUT_LEGAL 1522

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddAbout = VX_IDD_ABOUT;
namespace about {
inline constexpr int kUtilityVersionLabel = VX_IDC_ABOUT_UTILITY_VERSION_LABEL;
inline constexpr int kUtilityVersion = VX_IDC_ABOUT_UTILITY_VERSION;
inline constexpr int kUtilityDateLabel = VX_IDC_ABOUT_UTILITY_DATE_LABEL;
inline constexpr int kUtilityDate = VX_IDC_ABOUT_UTILITY_DATE;
inline constexpr int kDriverVersionLabel = VX_IDC_ABOUT_DRIVER_VERSION_LABEL;
inline constexpr int kDriverVersion = VX_IDC_ABOUT_DRIVER_VERSION;
inline constexpr int kDriverDateLabel = VX_IDC_ABOUT_DRIVER_DATE_LABEL;
inline constexpr int kDriverDate = VX_IDC_ABOUT_DRIVER_DATE;
inline constexpr int kEepromLabel = VX_IDC_ABOUT_EEPROM_LABEL;
inline constexpr int kEeprom = VX_IDC_ABOUT_EEPROM;
inline constexpr int kFirmwareLabel = VX_IDC_ABOUT_FIRMWARE_LABEL;
inline constexpr int kFirmware = VX_IDC_ABOUT_FIRMWARE;
inline constexpr int kMacLabel = VX_IDC_ABOUT_MAC_LABEL;
inline constexpr int kMac = VX_IDC_ABOUT_MAC;
inline constexpr int kIpLabel = VX_IDC_ABOUT_IP_LABEL;
inline constexpr int kIp = VX_IDC_ABOUT_IP;
inline constexpr int kMaskLabel = VX_IDC_ABOUT_MASK_LABEL;
inline constexpr int kMask = VX_IDC_ABOUT_MASK;
inline constexpr int kGatewayLabel = VX_IDC_ABOUT_GATEWAY_LABEL;
inline constexpr int kGateway = VX_IDC_ABOUT_GATEWAY;
inline constexpr int kWebLink = VX_IDC_ABOUT_WEB_LINK;
inline constexpr int kLegal = VX_IDC_ABOUT_LEGAL;
}  // namespace about
}  // namespace vx
#endif
