// The access point's "Config" page: the radio settings, the security values edited in the
// "Authentication & Security" dialog, and APPLY, which stores them in "ApDefault", copies that
// into the adapter key and pushes them to the driver. Nothing is stored or sent before APPLY.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/hex.h"
#include "common/ui/dialog_model.h"
#include "softap/config/ap_page_context.h"
#include "softap/config/security_dialog.h"

namespace vx {

class CConfigPage : public DialogModel {
 public:
  explicit CConfigPage(ApPageContext context);
  uint32_t TemplateId() const override;
  void OnInit() override;
  // Opens the security settings once when the start refused the stored pre-shared key.
  void OnSetActive() override;
  void OnCommand(int id, UiEvent event) override;

  const ApSecurityValues& Security() const { return security_; }
  // The wireless mode of each item of the mode list.
  const std::vector<uint32_t>& ModeOfItem() const { return modeOfItem_; }

  void Apply();
  void Default();
  void UseMacAddress();
  void RunSecurityDialog();

 private:
  uint32_t SelectedMode() const;
  void SelectMode(uint32_t mode);
  void ModeChange();
  void RebuildChannels();
  void AutoChannelRule();
  void FillRates(uint32_t mode);
  void Load();
  std::string ChannelText() const;
  void Message(uint32_t textId);

  ApPageContext ctx_;
  ApSecurityValues security_;
  MacAddress mac_{};
  std::vector<uint32_t> modeOfItem_;
};

}  // namespace vx
