#include "station/survey/survey_list.h"

#include "common/ui/list_columns.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"

namespace vx {
namespace {

constexpr int kColumnTenths[kSurveyColumnCount] = {23, 22, 8, 7, 13, 13, 16};
constexpr uint32_t kColumnTitles[kSurveyColumnCount] = {
    IDS_COL_SSID,       IDS_COL_BSSID,          IDS_COL_SIGNAL,      IDS_COL_CHANNEL,
    IDS_COL_ENCRYPTION, IDS_COL_AUTHENTICATION, IDS_COL_NETWORK_TYPE};

}  // namespace

void PrepareSurveyList(ControlState& list, const StringTable& strings, int listWidth) {
  list.columns.clear();
  for (uint32_t title : kColumnTitles) list.columns.push_back({strings.Get(title), 0});
  SetSurveyColumnWidths(list, listWidth);
  list.listImages = {kIconSurveyInfrastructure, kIconSurveyAdhoc};
  list.listStyle = kListGridLines | kListFullRowSelect | kListInfoTips;
}

void SetSurveyColumnWidths(ControlState& list, int listWidth) {
  for (size_t i = 0; i < list.columns.size() && i < kSurveyColumnCount; ++i)
    list.columns[i].width = ShareOfWidth(listWidth, kColumnTenths[i]);
}

std::string SurveyCellText(const StringTable& strings, size_t column, const std::string& decoded) {
  static const struct {
    size_t column;
    const char* word;
    uint32_t id;
  } kWords[] = {{kColumnEncryption, "None", IDS_CIPHER_NONE},
                {kColumnEncryption, "WEP", IDS_CIPHER_WEP},
                {kColumnAuthentication, "Unknown", IDS_UNKNOWN},
                {kColumnNetworkType, "Ad hoc", IDS_NET_ADHOC},
                {kColumnNetworkType, "Infrastructure", IDS_NET_INFRASTRUCTURE},
                {kColumnNetworkType, "Auto", IDS_AUTO}};
  for (const auto& w : kWords)
    if (w.column == column && decoded == w.word) {
      std::string t = strings.Get(w.id);
      return t.empty() ? decoded : t;
    }
  return decoded;
}

ListRow SurveyListRow(const StringTable& strings, const SurveyRow& row) {
  ListRow r;
  for (size_t c = 0; c < kSurveyColumnCount; ++c) r.cells.push_back(SurveyCellText(strings, c, row.texts[c]));
  return r;
}

int ConnectedSurveyRow(const std::vector<SurveyRow>& rows, const MacAddress& bssid,
                       std::optional<uint32_t> channel) {
  if (!channel) return -1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].bssid == bssid && rows[i].channel == channel) return static_cast<int>(i);
  return -1;
}

}  // namespace vx
