// "QuickSecure 3: Selection Tool" (template 1309): the networks in range from the dialog's own
// copy of the scan buffer, row 0 selected after each refill, Rescan, a status line, and OK or a
// double click to choose the network the site survey page then connects to.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "resources/dialogs/qs3_selection_dialog.h"
#include "station/autosecurity/page_timers.h"
#include "station/survey/scan_list.h"

namespace vx {

struct SurveyContext;

// The one-line connection state the survey views show: "Connected <--> SSID" (with the WEP error
// when there is one), "Disconnected", or "RF OFF" while this utility does not manage the adapter.
std::string SurveyStatusText(const SurveyContext& ctx);

class CNetworkSelectionDialog : public DialogModel {
 public:
  static constexpr int kTimer = 1;
  static constexpr uint32_t kTimerMs = 2000;
  // The width the column factors apply to until the view tells the list's own.
  static constexpr int kDefaultListWidth = 474;

  explicit CNetworkSelectionDialog(SurveyContext& ctx);
  ~CNetworkSelectionDialog() override;
  uint32_t TemplateId() const override { return kIddQs3Selection; }
  void OnInit() override;
  void OnListWidth(int id, int pixels) override;
  void OnTimer(int timerId) override;
  void OnCommand(int controlId, UiEvent event) override;
  bool OnOk() override;
  void OnCancel() override;

  void Refill();
  void Rescan();
  // The BSSID text of the row chosen with OK or a double click.
  const std::string& ChosenBssid() const { return chosen_; }
  const std::vector<SurveyRow>& Rows() const { return rows_; }
  bool RefillPending() const { return refillPending_; }

 private:
  void Tick();
  bool Remember();
  // The joined network's row shows its type's icon, as on the Site Survey page.
  void MarkConnectedRow();

  SurveyContext& ctx_;
  PageTimers timers_;
  std::unique_ptr<ScanBuffer> copy_;
  std::vector<SurveyRow> rows_;
  std::string chosen_;
  bool refillPending_ = false;
  int listWidth_ = kDefaultListWidth;
};

}  // namespace vx
