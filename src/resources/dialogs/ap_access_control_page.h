// The "Access Control" page: template 3200, controls 3201-3249.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_AP_ACCESS_CONTROL_PAGE 3200
#define VX_IDC_ACL_POLICY 3201
#define VX_IDC_ACL_MAC 3202
#define VX_IDC_ACL_ADD 3203
#define VX_IDC_ACL_DELETE 3204
#define VX_IDC_ACL_REMOVE_ALL 3205
#define VX_IDC_ACL_LIST 3206
#define VX_IDC_ACL_APPLY 3207
#define VX_IDC_ACL_EDIT 3208
#define VX_IDC_ACL_MODIFY 3209
#define VX_IDC_ACL_CANCEL 3210
#define VX_IDC_ACL_LABEL_POLICY 3220
#define VX_IDC_ACL_LABEL_LIST 3221
#define VX_IDC_ACL_LABEL_MAC 3222

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddApAccessControlPage = VX_IDD_AP_ACCESS_CONTROL_PAGE;
inline constexpr int kIdcAclPolicy = VX_IDC_ACL_POLICY;
inline constexpr int kIdcAclMac = VX_IDC_ACL_MAC;
inline constexpr int kIdcAclAdd = VX_IDC_ACL_ADD;
inline constexpr int kIdcAclDelete = VX_IDC_ACL_DELETE;
inline constexpr int kIdcAclRemoveAll = VX_IDC_ACL_REMOVE_ALL;
inline constexpr int kIdcAclList = VX_IDC_ACL_LIST;
inline constexpr int kIdcAclApply = VX_IDC_ACL_APPLY;
inline constexpr int kIdcAclEdit = VX_IDC_ACL_EDIT;
inline constexpr int kIdcAclModify = VX_IDC_ACL_MODIFY;
inline constexpr int kIdcAclCancel = VX_IDC_ACL_CANCEL;
inline constexpr int kIdcAclLabelPolicy = VX_IDC_ACL_LABEL_POLICY;
inline constexpr int kIdcAclLabelList = VX_IDC_ACL_LABEL_LIST;
inline constexpr int kIdcAclLabelMac = VX_IDC_ACL_LABEL_MAC;
}  // namespace vx
#endif
