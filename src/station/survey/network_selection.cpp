#include "station/survey/network_selection.h"

#include "common/text/shown_text.h"
#include "driver/oid_codes.h"
#include "resources/string_ids.h"
#include "station/survey/survey_page.h"

namespace vx {

std::string SurveyStatusText(const SurveyContext& ctx) {
  uint32_t media = kMediaConnected;
  ctx.channel.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS, media);
  bool manages = ctx.managesAdapter ? ctx.managesAdapter() : true;
  MacAddress bssid = ctx.currentBssid ? ctx.currentBssid() : MacAddress{};
  if (media == kMediaConnected && manages && bssid != MacAddress{}) {
    std::string ssid = ctx.currentSsid ? ctx.currentSsid().Text() : "";
    std::string text = ctx.strings.Get(IDS_CONNECTED) + " <--> " + ShownSsid(ssid, ctx.strings);
    if (ctx.wepError && ctx.wepError()) text += " -- " + ctx.strings.Get(IDS_WEP_ERROR);
    return text;
  }
  return ctx.strings.Get(manages ? IDS_DISCONNECTED : IDS_RF_OFF);
}

CNetworkSelectionDialog::CNetworkSelectionDialog(SurveyContext& ctx)
    : ctx_(ctx), timers_(ctx.timers, [this](int) { Tick(); }) {}

CNetworkSelectionDialog::~CNetworkSelectionDialog() { timers_.StopAll(); }

void CNetworkSelectionDialog::OnInit() {
  caption = ctx_.strings.Get(IDS_QS3_SELECTION_TITLE);
  auto& list = Control(qs3sel::kList);
  list.columns.clear();
  static constexpr uint32_t kTitles[kSurveyColumnCount] = {IDS_COL_SSID,       IDS_COL_BSSID,          IDS_COL_SIGNAL,
                                                            IDS_COL_CHANNEL,    IDS_COL_ENCRYPTION,     IDS_COL_AUTHENTICATION,
                                                            IDS_COL_NETWORK_TYPE};
  static constexpr double kFactors[kSurveyColumnCount] = {2.3, 2.2, 0.8, 0.7, 1.3, 1.3, 1.6};
  for (size_t i = 0; i < kSurveyColumnCount; ++i)
    list.columns.push_back({ctx_.strings.Get(kTitles[i]), static_cast<int>(474 / 10.0 * kFactors[i])});
  Control(qs3sel::kPrompt).text = ctx_.strings.Get(IDS_QS3_SELECTION_PROMPT);
  Control(qs3sel::kRescan).text = ctx_.strings.Get(IDS_BTN_RESCAN);
  Control(qs3sel::kStatus).readOnly = true;
  chosen_.clear();
  if (!copy_) copy_ = MakeScanBuffer();
  Refill();
  Control(qs3sel::kStatus).text = SurveyStatusText(ctx_);
  timers_.Start(kTimer, kTimerMs);
}

void CNetworkSelectionDialog::Refill() {
  CopyScanBuffer(&ctx_.link.BssidList(), *copy_);
  DecodeScanList(*copy_, rows_);
  auto& list = Control(qs3sel::kList);
  list.rows.clear();
  for (const auto& r : rows_) {
    ListRow row{std::vector<std::string>(r.texts.begin(), r.texts.end()), -1};
    row.cells[kColumnSsid] = ShownSsid(r.texts[kColumnSsid], ctx_.strings);
    list.rows.push_back(std::move(row));
  }
  list.selection = rows_.empty() ? -1 : 0;
  Control(qs3sel::kRescan).enabled = true;
  Control(kIdOk).enabled = true;
}

void CNetworkSelectionDialog::Rescan() {
  Control(qs3sel::kRescan).enabled = false;
  Control(kIdOk).enabled = false;
  Control(kIdCancel).enabled = true;
  Control(qs3sel::kStatus).text = ctx_.strings.Get(IDS_RESCANNING);
  refillPending_ = true;
  ctx_.link.QueueScan();
}

void CNetworkSelectionDialog::Tick() {
  if (refillPending_) {
    if (ctx_.link.ScanPending()) return;
    Refill();
    refillPending_ = false;
  }
  Control(qs3sel::kStatus).text = SurveyStatusText(ctx_);
}

void CNetworkSelectionDialog::OnTimer(int) { Tick(); }

bool CNetworkSelectionDialog::Remember() {
  int sel = Control(qs3sel::kList).selection;
  if (sel < 0 || static_cast<size_t>(sel) >= rows_.size()) return false;
  chosen_ = rows_[static_cast<size_t>(sel)].texts[kColumnBssid];
  return true;
}

void CNetworkSelectionDialog::OnCommand(int controlId, UiEvent event) {
  if (controlId == qs3sel::kRescan && event == UiEvent::Clicked) {
    Rescan();
  } else if (controlId == qs3sel::kList && event == UiEvent::DoubleClicked) {
    if (Remember()) {
      timers_.StopAll();
      RequestClose(kIdOk);
    }
  }
}

bool CNetworkSelectionDialog::OnOk() {
  Remember();
  timers_.StopAll();
  return true;
}

void CNetworkSelectionDialog::OnCancel() { timers_.StopAll(); }

}  // namespace vx
