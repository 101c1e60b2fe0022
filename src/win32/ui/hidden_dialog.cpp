#include "win32/ui/hidden_dialog.h"

#include <shellapi.h>

#include "win32/ui/ui_init.h"
#include "win32/ui/view_registry.h"
#include "win32/ui/win32_tray.h"

namespace vx {
namespace {

// An empty popup dialog: no controls, no menu, default class, no title.
struct EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu, windowClass, title;
};

}  // namespace

int HiddenMainDialog::Run() {
  InitUi();
  ModelessKeyboardScope keyboard;
  LPARAM self = reinterpret_cast<LPARAM>(this);
  INT_PTR r;
  if (templateId_ != 0) {
    r = DialogBoxParamW(module_, MAKEINTRESOURCEW(templateId_), nullptr, DialogProc, self);
  } else {
    alignas(4) static const EmptyTemplate empty{{WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, 0}, 0, 0, 0};
    r = DialogBoxIndirectParamW(module_, &empty.header, nullptr, DialogProc, self);
  }
  hwnd_ = nullptr;
  return static_cast<int>(r);
}

void HiddenMainDialog::End(int result) {
  if (hwnd_) EndDialog(hwnd_, result);
}

void HiddenMainDialog::AttachTray(Win32Tray& tray) {
  tray_ = &tray;
  if (hwnd_) tray.SetOwner(hwnd_);
}

bool HiddenMainDialog::StartTimer(UINT_PTR id, UINT periodMs) {
  return hwnd_ && SetTimer(hwnd_, id, periodMs, nullptr) != 0;
}

void HiddenMainDialog::StopTimer(UINT_PTR id) {
  if (hwnd_) KillTimer(hwnd_, id);
}

INT_PTR CALLBACK HiddenMainDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  HiddenMainDialog* self;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<HiddenMainDialog*>(lp);
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<HiddenMainDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  return self->Handle(msg, wp, lp);
}

// A shell that knows the icon's version answers the keyboard: Enter on the icon (NIN_KEYSELECT)
// opens it as a double click does, and the menu key (WM_CONTEXTMENU) opens its menu as the right
// button does. After the right button's release the same message comes from the mouse: dropped.
UINT HiddenMainDialog::TrayEvent(UINT note) {
  const UINT previous = lastTrayNote_;
  lastTrayNote_ = note;
  if (note == NIN_KEYSELECT) return WM_LBUTTONDBLCLK;
  if (note == WM_CONTEXTMENU) return previous == WM_RBUTTONUP ? 0 : WM_RBUTTONDOWN;
  return note;
}

INT_PTR HiddenMainDialog::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (onMessage && msg != WM_INITDIALOG) {
    INT_PTR result = 0;
    if (onMessage(msg, wp, lp, result)) return result;
  }
  switch (msg) {
    case WM_INITDIALOG:
      // Kept off the task bar whatever the template says.
      SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
      if (tray_) tray_->SetOwner(hwnd_);
      if (onInit) onInit(hwnd_);
      RefreshViews();
      return FALSE;
    case WM_WINDOWPOSCHANGING: {
      // The dialog box functions show and activate their dialog once their loop first goes
      // idle; this one never appears, and never takes the foreground from a sheet opened from
      // the tray before that moment.
      auto& pos = *reinterpret_cast<WINDOWPOS*>(lp);
      pos.flags = (pos.flags & ~SWP_SHOWWINDOW) | SWP_NOACTIVATE;
      return FALSE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      EndPaint(hwnd_, &ps);
      ShowWindow(hwnd_, SW_HIDE);
      return TRUE;
    }
    case WM_TIMER:
      if (onTimer) onTimer(wp);
      RefreshViews();
      return TRUE;
    case WM_COMMAND:
      if (onCommand) onCommand(LOWORD(wp));
      RefreshViews();
      return TRUE;
    case WM_DESTROY:
      if (onDestroy) onDestroy();
      return FALSE;
    case WM_NCDESTROY:
      if (tray_ && tray_->Owner() == hwnd_) tray_->Remove();
      return FALSE;
    default:
      break;
  }
  if (msg == kTrayCallbackMessage && wp == kTrayIconId) {
    UINT event = TrayEvent(static_cast<UINT>(LOWORD(lp)));
    if (onTray && event) onTray(event);
    RefreshViews();
    return TRUE;
  }
  if (tray_ && tray_->HandleMessage(msg, wp, lp)) return TRUE;
  return FALSE;
}

}  // namespace vx
