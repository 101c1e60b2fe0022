// Controls of the "Select Certificate" dialog (template 201); band 1671-1679. OK and Cancel are
// IDOK and IDCANCEL.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_SELECT_CERTIFICATE 201

#define VX_IDC_SCERT_LIST 1671

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIddSelectCertificate = VX_IDD_SELECT_CERTIFICATE;
inline constexpr int kIdcCertificateList = VX_IDC_SCERT_LIST;
}  // namespace vx
#endif
