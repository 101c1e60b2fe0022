// The "WDS" page: template 3250, controls 3251-3299.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_AP_WDS_PAGE 3250
#define VX_IDC_WDS_ENABLE 3251
#define VX_IDC_WDS_DISABLE 3252
#define VX_IDC_WDS_MAC 3253
#define VX_IDC_WDS_ADD 3254
#define VX_IDC_WDS_DELETE 3255
#define VX_IDC_WDS_REMOVE_ALL 3256
#define VX_IDC_WDS_LIST 3257
#define VX_IDC_WDS_APPLY 3258
#define VX_IDC_WDS_EDIT 3259
#define VX_IDC_WDS_MODIFY 3260
#define VX_IDC_WDS_CANCEL 3261
#define VX_IDC_WDS_LABEL_POLICY 3270
#define VX_IDC_WDS_LABEL_MAC 3271
#define VX_IDC_WDS_LABEL_LIST 3272
#define VX_IDC_WDS_LABEL_NOTE1 3273
#define VX_IDC_WDS_LABEL_NOTE2 3274

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddApWdsPage = VX_IDD_AP_WDS_PAGE;
inline constexpr int kIdcWdsEnable = VX_IDC_WDS_ENABLE;
inline constexpr int kIdcWdsDisable = VX_IDC_WDS_DISABLE;
inline constexpr int kIdcWdsMac = VX_IDC_WDS_MAC;
inline constexpr int kIdcWdsAdd = VX_IDC_WDS_ADD;
inline constexpr int kIdcWdsDelete = VX_IDC_WDS_DELETE;
inline constexpr int kIdcWdsRemoveAll = VX_IDC_WDS_REMOVE_ALL;
inline constexpr int kIdcWdsList = VX_IDC_WDS_LIST;
inline constexpr int kIdcWdsApply = VX_IDC_WDS_APPLY;
inline constexpr int kIdcWdsEdit = VX_IDC_WDS_EDIT;
inline constexpr int kIdcWdsModify = VX_IDC_WDS_MODIFY;
inline constexpr int kIdcWdsCancel = VX_IDC_WDS_CANCEL;
inline constexpr int kIdcWdsLabelPolicy = VX_IDC_WDS_LABEL_POLICY;
inline constexpr int kIdcWdsLabelMac = VX_IDC_WDS_LABEL_MAC;
inline constexpr int kIdcWdsLabelList = VX_IDC_WDS_LABEL_LIST;
inline constexpr int kIdcWdsLabelNote1 = VX_IDC_WDS_LABEL_NOTE1;
inline constexpr int kIdcWdsLabelNote2 = VX_IDC_WDS_LABEL_NOTE2;
}  // namespace vx
#endif
