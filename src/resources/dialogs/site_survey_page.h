// Controls of the "Site Survey" page (template 134); its control numbers are fixed: 1002-1005 and
// 1086.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_SITE_SURVEY 134

#define VX_IDC_SURVEY_LIST 1002
#define VX_IDC_SURVEY_RESCAN 1003
#define VX_IDC_SURVEY_CONNECT 1004
#define VX_IDC_SURVEY_ADD_PROFILE 1005
#define VX_IDC_SURVEY_STATUS 1086

#ifndef RC_INVOKED
namespace vx {
inline constexpr uint32_t kIddSiteSurvey = VX_IDD_SITE_SURVEY;
namespace survey {
inline constexpr int kList = VX_IDC_SURVEY_LIST;
inline constexpr int kRescan = VX_IDC_SURVEY_RESCAN;
inline constexpr int kConnect = VX_IDC_SURVEY_CONNECT;
inline constexpr int kAddProfile = VX_IDC_SURVEY_ADD_PROFILE;
inline constexpr int kStatus = VX_IDC_SURVEY_STATUS;
}  // namespace survey
}  // namespace vx
#endif
