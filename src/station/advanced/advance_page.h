// The main sheet's "Advanced" page: wireless mode, ad hoc rate choice, B/G protection, transmit
// rate, TX burst, the country region of each band, the CCX options with fast roaming and the
// radio button. It works on the adapter key's live values and applies them to the driver at
// once with its Apply button.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "driver/oid_channel.h"
#include "driver/records.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "resources/dialogs/advance_page.h"
#include "station/advanced/advanced_rules.h"

namespace vx {

// What the shell knows when the page loads or applies.
struct AdvanceFacts {
  std::string settingsRoot;  // the adapter key under HKEY_LOCAL_MACHINE
  bool has5GHz = false;
  CountryRegion region;  // the driver's current codes and which of them may change
};

struct AdvanceHooks {
  std::function<AdvanceFacts()> facts;
  // The process-wide wireless mode (the shell's channel plan and the station link).
  std::function<void(uint32_t mode)> setWirelessMode;
  // The station configuration block sent last, kept for later activations.
  std::function<void(const ConfigWords&)> storeStaConfig;
  // After a region was sent: the shell rebuilds its channel list (BuildChannelList).
  std::function<void()> regionApplied;
  // The main sheet's radio toggle (AdapterControl::ToggleRadio) and the radio state after it.
  std::function<void()> toggleRadio;
  std::function<bool()> radioOn;
};

class CAdvancePage : public DialogModel {
 public:
  CAdvancePage(RegistryPort& reg, OidChannel& channel, DialogPort& dialogs, const StringTable& strings,
               AdvanceHooks hooks);

  uint32_t TemplateId() const override { return kIddAdvance; }
  void OnInit() override;
  void OnSetActive() override;
  void OnCommand(int controlId, UiEvent event) override;
  // The radio was switched elsewhere (the sheet's own radio button, the hardware switch): the
  // RF caption and bitmap follow it.
  void RadioChanged();

  // True when the values passed the limit and threshold checks and were applied.
  bool Apply();
  AdvanceHooks& Hooks() { return hooks_; }

  // The wireless mode the controls select.
  uint32_t SelectedMode() const;
  uint32_t SelectedAdhocChoice() const;

 private:
  std::string Text(uint32_t id) const { return strings_.Get(id); }
  void LoadLiveValues();
  void ApplyModeUi();
  void UpdateCcxEnabling();
  void ShowRadio(bool on);
  uint32_t BuildCcx2Word() const;
  int SelectionOf(int id) const;

  RegistryPort& reg_;
  OidChannel& channel_;
  DialogPort& dialogs_;
  const StringTable& strings_;
  AdvanceHooks hooks_;
  AdvanceFacts facts_;
  advanced::ModeList modes_;
  std::vector<uint32_t> adhocCodes_;  // ad hoc choice of each entry of the ad hoc list
  bool initialising_ = false;
};

}  // namespace vx
