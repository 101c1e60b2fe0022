// "Select wireless lan card" as a dialog: the devices that answered and four facts of the one
// selected. OK returns the selected line; the dialog has no Cancel.
#pragma once
#include "common/ui/dialog_model.h"
#include "driver/discovery.h"
#include "resources/dialogs/select_card_dialog.h"

namespace vx {

class SelectCardDialogModel : public DialogModel {
 public:
  static constexpr uint32_t kTemplate = kIddSelectCard;
  static constexpr int kCardCombo = kIdcCardList;
  static constexpr int kDescription = kIdcCardDescription;
  static constexpr int kHardwareId = kIdcCardHardwareId;
  static constexpr int kLocation = kIdcCardLocation;
  static constexpr int kManufacturer = kIdcCardManufacturer;

  explicit SelectCardDialogModel(SelectCardDialog& dialog) : dialog_(dialog) {}
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
    Control(kDescription).text = dialog_.DescriptionLine();
    Control(kHardwareId).text = dialog_.HardwareIdLine();
    Control(kLocation).text = dialog_.LocationLine();
    Control(kManufacturer).text = dialog_.ManufacturerLine();
    for (int id : {kDescription, kHardwareId, kLocation, kManufacturer}) Control(id).readOnly = true;
  }
  SelectCardDialog& dialog_;
};

}  // namespace vx
