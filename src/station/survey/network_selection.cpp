#include "station/survey/network_selection.h"

#include <array>

#include "common/text/shown_text.h"
#include "driver/oid_codes.h"
#include "resources/string_ids.h"
#include "station/survey/survey_list.h"
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
  PrepareSurveyList(Control(qs3sel::kList), ctx_.strings, listWidth_);
  Control(qs3sel::kPrompt).text = ctx_.strings.Get(IDS_QS3_SELECTION_PROMPT);
  Control(qs3sel::kRescan).text = ctx_.strings.Get(IDS_BTN_RESCAN);
  Control(qs3sel::kStatus).readOnly = true;
  chosen_.clear();
  if (!copy_) copy_ = MakeScanBuffer();
  Refill();
  Control(qs3sel::kStatus).text = SurveyStatusText(ctx_);
  timers_.Start(kTimer, kTimerMs);
}

void CNetworkSelectionDialog::OnListWidth(int id, int pixels) {
  if (id != qs3sel::kList || pixels <= 0) return;
  listWidth_ = pixels;
  SetSurveyColumnWidths(Control(qs3sel::kList), listWidth_);
}

void CNetworkSelectionDialog::MarkConnectedRow() {
  auto& list = Control(qs3sel::kList);
  for (auto& r : list.rows) r.image = -1;
  uint32_t media = kMediaConnected;
  ctx_.channel.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS, media);
  bool manages = ctx_.managesAdapter ? ctx_.managesAdapter() : true;
  MacAddress bssid = ctx_.currentBssid ? ctx_.currentBssid() : MacAddress{};
  if (media != kMediaConnected || !manages || bssid == MacAddress{}) return;
  std::array<uint8_t, 32> config{};
  ctx_.channel.Query(OID_802_11_CONFIGURATION, config);
  int row = ConnectedSurveyRow(rows_, bssid, ChannelFromFrequency(DecodeConfiguration(config).dsConfig));
  if (row < 0 || static_cast<size_t>(row) >= list.rows.size()) return;
  uint32_t infrastructure = kInfraInfrastructure;
  ctx_.channel.QueryU32(OID_802_11_INFRASTRUCTURE_MODE, infrastructure);
  list.rows[static_cast<size_t>(row)].image =
      infrastructure == kInfraAdhoc ? kSurveyImageAdhoc : kSurveyImageInfrastructure;
}

void CNetworkSelectionDialog::Refill() {
  CopyScanBuffer(&ctx_.link.BssidList(), *copy_);
  DecodeScanList(*copy_, rows_);
  auto& list = Control(qs3sel::kList);
  list.rows.clear();
  for (const auto& r : rows_) {
    ListRow row = SurveyListRow(ctx_.strings, r);
    row.cells[kColumnSsid] = ShownSsid(r.texts[kColumnSsid], ctx_.strings);
    list.rows.push_back(std::move(row));
  }
  list.selection = rows_.empty() ? -1 : 0;
  MarkConnectedRow();
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
  } else {
    MarkConnectedRow();
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
