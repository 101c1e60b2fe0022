// Controls of the main sheet's "Profile" page (template 2200); band 1681-1699.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_PROFILE_PAGE 2200

#define VX_IDC_PROF_GROUP 1681
#define VX_IDC_PROF_LIST 1682
#define VX_IDC_PROF_ADD 1683
#define VX_IDC_PROF_DELETE 1684
#define VX_IDC_PROF_EDIT 1685
#define VX_IDC_PROF_ACTIVATE 1686

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddProfilePage = VX_IDD_PROFILE_PAGE;
namespace prof {
inline constexpr int kGroup = VX_IDC_PROF_GROUP;
inline constexpr int kList = VX_IDC_PROF_LIST;
inline constexpr int kAdd = VX_IDC_PROF_ADD;
inline constexpr int kDelete = VX_IDC_PROF_DELETE;
inline constexpr int kEdit = VX_IDC_PROF_EDIT;
inline constexpr int kActivate = VX_IDC_PROF_ACTIVATE;
}  // namespace prof
}  // namespace vx
#endif
