#include "win32/apps/ap_sheet.h"

namespace vx {
namespace {

constexpr int kApplyButtonId = 0x3021;
constexpr int kBelowOk = 10;  // pixels from OK's bottom edge to the sheet's

RECT ChildRect(HWND parent, HWND child) {
  RECT rc{};
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void MoveTo(HWND hwnd, const RECT& rc) {
  SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

ApSheet::ApSheet(HINSTANCE module, HWND owner, ApHideDlg& dlg, const std::vector<ApPage>& pages,
                 ApSheetExtras extras)
    : owner_(owner), pages_(dlg, pages, extras), sheet_(module), decorations_(sheet_, pages_) {
  for (DialogModel* m : pages_.Models()) sheet_.AddPage(*m);
  sheet_.SetCaption(pages_.Caption());
  sheet_.SetSmallIcon(ApSheetPages::Icon());
  // OK, Cancel or the close box: the shell lets the pages go, and their timers with them.
  sheet_.onClosed = [&dlg](int) { dlg.OnSheetClosed(); };
}

ApSheet::~ApSheet() { sheet_.Destroy(); }

bool ApSheet::WindowExists() const { return created_ && sheet_.Hwnd() && IsWindow(sheet_.Hwnd()); }

void ApSheet::Show() {
  if (!WindowExists()) {
    created_ = sheet_.CreateModeless(owner_);
    if (WindowExists()) FitButtonRow();
  }
  if (WindowExists()) {
    ShowWindow(sheet_.Hwnd(), SW_SHOW);
    SetForegroundWindow(sheet_.Hwnd());
  }
}

void ApSheet::Destroy() { sheet_.Destroy(); }

void ApSheet::SetIcon(uint32_t icon) { sheet_.SetSmallIcon(icon); }

void ApSheet::FitButtonRow() {
  HWND sheet = sheet_.Hwnd();
  HWND ok = GetDlgItem(sheet, IDOK);
  HWND cancel = GetDlgItem(sheet, IDCANCEL);
  HWND apply = GetDlgItem(sheet, kApplyButtonId);
  // No Apply: OK and Cancel move right into the row's end, as a sheet made without it has them.
  if (apply && ok && cancel) {
    RECT a = ChildRect(sheet, apply), c = ChildRect(sheet, cancel);
    ShowWindow(apply, SW_HIDE);
    EnableWindow(apply, FALSE);
    MoveTo(cancel, a);
    MoveTo(ok, c);
  }
  if (!ok) return;
  RECT okRect{}, sheetRect{};
  GetWindowRect(ok, &okRect);
  GetWindowRect(sheet, &sheetRect);
  const int height = okRect.bottom + kBelowOk - sheetRect.top;
  if (height > 0 && height < sheetRect.bottom - sheetRect.top)
    SetWindowPos(sheet, nullptr, 0, 0, sheetRect.right - sheetRect.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vx
