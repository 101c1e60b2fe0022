#include "win32/apps/station_sheet.h"

#include "resources/resource_ids.h"

namespace vx {

StationSheet::StationSheet(HINSTANCE module, HWND owner, HideDlg& shell, StationPageSet set)
    : owner_(owner), shell_(shell), set_(std::move(set)), sheet_(module) {
  for (auto& p : set_.pages)
    if (p.get() != set_.profilePage || shell_.Administrator()) sheet_.AddPage(*p);
  sheet_.SetCaption(shell_.Text(102, "Arventa Client Utility"));
  sheet_.SetStartPage(set_.startPage);
  sheet_.HideHelpMoveOk();
  sheet_.SetSmallIcon(shell_.CurrentTrayIcon());
  sheet_.ReplaceApplyWithIconButton(
      kRadioButton, shell_.Control().RadioOn() ? VX_IDI_RADIO_ON : VX_IDI_RADIO_OFF,
      [this] { shell_.Control().ToggleRadio(); });
  sheet_.AddBitmapButton(kQuickSecureButton, VX_IDB_QUICKSECURE, set_.onQuickSecure ? set_.onQuickSecure : [] {});
}

StationSheet::~StationSheet() { sheet_.Destroy(); }

bool StationSheet::WindowExists() const { return created_ && sheet_.Hwnd() && IsWindow(sheet_.Hwnd()); }

void StationSheet::Show() {
  if (!WindowExists()) created_ = sheet_.CreateModeless(owner_);
  if (WindowExists()) {
    ShowWindow(sheet_.Hwnd(), SW_SHOW);
    SetForegroundWindow(sheet_.Hwnd());
  }
}

void StationSheet::Destroy() { sheet_.Destroy(); }

void StationSheet::SetIcon(uint32_t icon) { sheet_.SetSmallIcon(icon); }

void StationSheet::SetRadioIcon(uint32_t icon) { sheet_.SetButtonImage(kRadioButton, icon); }

void StationSheet::SetProfilePagePresent(bool present) {
  DialogModel* profile = set_.profilePage;
  if (!profile) return;
  if (present && !sheet_.HasPage(*profile))
    sheet_.AddPage(*profile, 0);
  else if (!present && sheet_.HasPage(*profile))
    sheet_.RemovePage(*profile);
}

void StationSheet::StartShowup(size_t) {}

}  // namespace vx
