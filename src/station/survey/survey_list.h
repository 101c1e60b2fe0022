// The seven-column network list that the Site Survey page and the QuickSecure 3 selection tool
// both show: its columns, its look, the decoder's words in the table's language, and the row
// the station is connected to, marked with the network type's icon.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/ui/control_state.h"
#include "platform/ui.h"
#include "station/survey/scan_list.h"

namespace vx {

// Images of the list's image list: the connected row shows the network type.
inline constexpr int kSurveyImageInfrastructure = 0;
inline constexpr int kSurveyImageAdhoc = 1;

// Columns with their titles, the image list and the extended styles (grid lines, full-row
// select, info tips); widths follow the list's width in pixels.
void PrepareSurveyList(ControlState& list, const StringTable& strings, int listWidth);
// trunc(width / 10 x f) with f = 2.3, 2.2, 0.8, 0.7, 1.3, 1.3, 1.6 for the seven columns.
void SetSurveyColumnWidths(ControlState& list, int listWidth);

// A decoded cell as the list shows it: the decoder's English words ("None", "WEP", "Unknown",
// "Ad hoc", "Infrastructure", "Auto") in the table's language, everything else as it is.
std::string SurveyCellText(const StringTable& strings, size_t column, const std::string& decoded);
ListRow SurveyListRow(const StringTable& strings, const SurveyRow& row);

// The row of the network the station is joined to: its BSSID and its channel, or -1.
int ConnectedSurveyRow(const std::vector<SurveyRow>& rows, const MacAddress& bssid,
                       std::optional<uint32_t> channel);

}  // namespace vx
