// Controls of "QuickSecure 3: Selection Tool" (template 1309); band 1391-1399 of the template's
// own numbers. OK and Cancel are IDOK and IDCANCEL.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_QS3_SELECTION 1309

#define VX_IDC_QS3_SEL_LIST 1391
#define VX_IDC_QS3_SEL_PROMPT 1392
#define VX_IDC_QS3_SEL_RESCAN 1393
#define VX_IDC_QS3_SEL_STATUS 1394

#ifndef RC_INVOKED
namespace vx {
inline constexpr uint32_t kIddQs3Selection = VX_IDD_QS3_SELECTION;
namespace qs3sel {
inline constexpr int kList = VX_IDC_QS3_SEL_LIST;
inline constexpr int kPrompt = VX_IDC_QS3_SEL_PROMPT;
inline constexpr int kRescan = VX_IDC_QS3_SEL_RESCAN;
inline constexpr int kStatus = VX_IDC_QS3_SEL_STATUS;
}  // namespace qs3sel
}  // namespace vx
#endif
