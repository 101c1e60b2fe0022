// The station utility's main property sheet over the view layer: its pages, the radio button in
// Apply's place and the one-button set-up button beside OK.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "common/ui/dialog_model.h"
#include "station/shell/hide_dlg.h"
#include "win32/apps/station_pages.h"
#include "win32/ui/model_dialog.h"
#include "win32/ui/model_property_sheet.h"

namespace vx {

class StationSheet : public MainSheetView {
 public:
  static constexpr int kRadioButton = 0x3021;  // Apply's place
  static constexpr int kQuickSecureButton = 5000;

  // The page set's profile page (may be null) is the one the shell adds and removes with the
  // zero-configuration state.
  StationSheet(HINSTANCE module, HWND owner, HideDlg& shell, StationPageSet set);
  ~StationSheet() override;

  bool WindowExists() const override;
  void Show() override;
  void Destroy() override;
  void SetIcon(uint32_t icon) override;
  void SetRadioIcon(uint32_t icon) override;
  void SetProfilePagePresent(bool present) override;
  // An open profile editor sheet ends as with Cancel (once no box of its own is open above it).
  void CloseProfileEditor() override;
  void StartShowup(size_t networkCount) override;
  void RefreshSurvey() override;
  void ClearSurveyState() override;
  // The one-button worker woke the UI thread.
  void DrainWorkerMessages();

 private:
  void PlaceWaitWindow();

  HWND owner_;
  HideDlg& shell_;
  StationPageSet set_;
  ModelPropertySheet sheet_;
  std::unique_ptr<ModelDialog> waitWindow_;  // "Please wait" of the one-button set-up, modeless
  bool created_ = false;
};

}  // namespace vx
