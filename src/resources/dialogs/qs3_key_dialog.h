// Controls of "QuickSecure 3: Define Security Key" (template 1303); its control numbers are
// fixed: 1304, 1308, 1312, 1313. OK and Cancel are IDOK and IDCANCEL.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_QS3_KEY 1303

#define VX_IDC_QS3_KEY_INSTRUCTION 1304
#define VX_IDC_QS3_KEY_NOTE 1308
#define VX_IDC_QS3_KEY_AP_TEXT 1312
#define VX_IDC_QS3_KEY_EDIT 1313

#ifndef RC_INVOKED
namespace vx {
inline constexpr uint32_t kIddQs3Key = VX_IDD_QS3_KEY;
namespace qs3key {
inline constexpr int kInstruction = VX_IDC_QS3_KEY_INSTRUCTION;
inline constexpr int kNote = VX_IDC_QS3_KEY_NOTE;
inline constexpr int kApText = VX_IDC_QS3_KEY_AP_TEXT;
inline constexpr int kEdit = VX_IDC_QS3_KEY_EDIT;
inline constexpr uint32_t kNoteColour = 255;  // red, as a COLORREF
}  // namespace qs3key
}  // namespace vx
#endif
