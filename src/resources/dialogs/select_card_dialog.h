// Controls of the adapter choice dialog; band 2011-2019. OK is IDOK; there is no Cancel.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDC_CARD_LIST 2011
#define VX_IDC_CARD_DESCRIPTION 2012
#define VX_IDC_CARD_HARDWARE_ID 2013
#define VX_IDC_CARD_LOCATION 2014
#define VX_IDC_CARD_MANUFACTURER 2015

#ifndef RC_INVOKED
namespace vx {
inline constexpr int kIdcCardList = VX_IDC_CARD_LIST;
inline constexpr int kIdcCardDescription = VX_IDC_CARD_DESCRIPTION;
inline constexpr int kIdcCardHardwareId = VX_IDC_CARD_HARDWARE_ID;
inline constexpr int kIdcCardLocation = VX_IDC_CARD_LOCATION;
inline constexpr int kIdcCardManufacturer = VX_IDC_CARD_MANUFACTURER;
}  // namespace vx
#endif
