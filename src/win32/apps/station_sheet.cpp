#include "win32/apps/station_sheet.h"

#include "resources/resource_ids.h"
#include "win32/ui/view_registry.h"

namespace vx {

StationSheet::StationSheet(HINSTANCE module, HWND owner, HideDlg& shell, StationPageSet set)
    : owner_(owner), shell_(shell), set_(std::move(set)), sheet_(module) {
  for (auto& p : set_.pages)
    if (p.get() != set_.profilePage || shell_.Administrator()) sheet_.AddPage(*p);
  sheet_.SetCaption(shell_.Text(102, "Arventa Client Utility"));
  if (set_.survey) {
    CQs3WaitWindow& wait = set_.survey->Flow().WaitWindow();
    waitWindow_ = std::make_unique<ModelDialog>(module, wait);
    wait.onShownChanged = [this](bool shown) {
      if (shown) {
        if (waitWindow_->CreateModeless(sheet_.Hwnd() ? sheet_.Hwnd() : owner_)) PlaceWaitWindow();
      } else {
        waitWindow_->Close(kIdCancel);
      }
    };
    // A confirmed Add to Profile shows the profile list with its new row.
    set_.survey->Hooks().showProfilePage = [this] {
      if (set_.profilePage && sheet_.HasPage(*set_.profilePage)) sheet_.SetActivePage(*set_.profilePage);
    };
  }
  int start = 0;
  for (auto& p : set_.pages) {
    if (p.get() == set_.survey) break;
    if (p.get() != set_.profilePage || shell_.Administrator()) ++start;
  }
  sheet_.SetStartPage(start);
  sheet_.HideHelpMoveOk();
  sheet_.SetSmallIcon(shell_.CurrentTrayIcon());
  sheet_.ReplaceApplyWithIconButton(kRadioButton,
                                    shell_.Control().RadioOn() ? VX_IDI_RADIO_ON : VX_IDI_RADIO_OFF,
                                    [this] { shell_.Control().ToggleRadio(); });
  sheet_.AddBitmapButton(kQuickSecureButton, VX_IDB_QUICKSECURE, [this] {
    if (set_.survey) set_.survey->RunNetworkSelection();
  });
  // OK, Cancel or the close box: the shell lets the pages go, their timers and the one-button
  // worker with them.
  sheet_.onClosed = [this](int) { shell_.OnSheetClosed(); };
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

void StationSheet::CloseProfileEditor() {
  if (!set_.editor || !set_.editor->openEditor) return;
  vx::CloseProfileEditor(*set_.editor);
  RefreshViews();
}

void StationSheet::SetIcon(uint32_t icon) { sheet_.SetSmallIcon(icon); }

void StationSheet::SetRadioIcon(uint32_t icon) {
  sheet_.SetButtonImage(kRadioButton, icon);
  if (set_.advance) {
    set_.advance->RadioChanged();
    RefreshViews();
  }
}

// Beside the sheet's left edge, its top at the sheet's vertical middle, in its own size.
void StationSheet::PlaceWaitWindow() {
  HWND sheet = sheet_.Hwnd();
  HWND wait = waitWindow_ ? waitWindow_->Hwnd() : nullptr;
  if (!sheet || !wait) return;
  RECT rc{};
  GetWindowRect(sheet, &rc);
  SetWindowPos(wait, nullptr, rc.left + 50, (rc.top + rc.bottom) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StationSheet::SetProfilePagePresent(bool present) {
  DialogModel* profile = set_.profilePage;
  if (!profile) return;
  if (present && !sheet_.HasPage(*profile))
    sheet_.AddPage(*profile, 0);
  else if (!present && sheet_.HasPage(*profile))
    sheet_.RemovePage(*profile);
}

void StationSheet::StartShowup(size_t networkCount) {
  if (set_.survey) set_.survey->StartShowup(networkCount);
}

void StationSheet::RefreshSurvey() {
  if (set_.survey) set_.survey->Refill();
}

void StationSheet::ClearSurveyState() {
  if (set_.survey) set_.survey->ClearState();
}

void StationSheet::DrainWorkerMessages() {
  if (set_.survey) set_.survey->DrainWorkerMessages();
}

}  // namespace vx
