// "Select wireless lan card" as a dialog: the devices that answered and four facts of the one
// selected. OK returns the selected line; the dialog has no Cancel.
#pragma once
#include "common/ui/dialog_model.h"
#include "driver/discovery.h"
#include "platform/ui.h"
#include "resources/dialogs/select_card_dialog.h"
#include "resources/string_ids.h"

namespace vx {

class SelectCardDialogModel : public DialogModel {
 public:
  static constexpr uint32_t kTemplate = kIddSelectCard;
  static constexpr int kCardCombo = kIdcCardList;
  static constexpr int kDescription = kIdcCardDescription;
  static constexpr int kHardwareId = kIdcCardHardwareId;
  static constexpr int kLocation = kIdcCardLocation;
  static constexpr int kManufacturer = kIdcCardManufacturer;

  SelectCardDialogModel(SelectCardDialog& dialog, const StringTable& strings) : dialog_(dialog), strings_(strings) {}
  uint32_t TemplateId() const override { return kTemplate; }
  void OnInit() override {
    Control(kCardCombo).items = dialog_.Items();
    Refresh();
  }
  void OnCommand(int id, UiEvent event) override {
    if (id == kCardCombo && event == UiEvent::SelectionChanged) {
      dialog_.OnSelChange(Control(kCardCombo).selection);
      Refresh();
    }
  }
  // Closing the box any other way also takes the selected line.
  void OnCancel() override {}

 private:
  void Refresh() {
    Control(kCardCombo).selection = dialog_.Selection();
    // Each field carries its label ("Device Description : " and so on) before the fact.
    const NetDevice& d = dialog_.Current();
    Control(kDescription).text = strings_.Get(IDS_DEVICE_DESCRIPTION) + d.description;
    Control(kHardwareId).text = strings_.Get(IDS_HARDWARE_ID) + d.hardwareId;
    Control(kLocation).text = strings_.Get(IDS_LOCATION_INFORMATION) + d.location;
    Control(kManufacturer).text = strings_.Get(IDS_MANUFACTURER) + d.manufacturer;
    for (int id : {kDescription, kHardwareId, kLocation, kManufacturer}) Control(id).readOnly = true;
  }
  SelectCardDialog& dialog_;
  const StringTable& strings_;
};

}  // namespace vx
