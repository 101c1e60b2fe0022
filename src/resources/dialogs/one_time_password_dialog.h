// Controls of the one-time password dialog (template 236); band 2361-2369. OK and Cancel are
// IDOK and IDCANCEL.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDC_OTP_IDENTITY_LABEL 2361
#define VX_IDC_OTP_IDENTITY 2362
#define VX_IDC_OTP_PASSWORD_LABEL 2363
#define VX_IDC_OTP_PASSWORD 2364

#ifndef RC_INVOKED
namespace vx {
inline constexpr int kIdcOtpIdentity = VX_IDC_OTP_IDENTITY;
inline constexpr int kIdcOtpPassword = VX_IDC_OTP_PASSWORD;
}  // namespace vx
#endif
