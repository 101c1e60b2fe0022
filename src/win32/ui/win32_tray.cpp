#include "win32/ui/win32_tray.h"

#include <shellapi.h>

#include "win32/ports/wide.h"

namespace vx {
namespace {

constexpr wchar_t kOwnerClass[] = L"VxTrayOwner";

// Cuts to the limit without splitting a surrogate pair.
std::wstring CutTip(std::wstring tip, size_t limit) {
  if (tip.size() <= limit) return tip;
  size_t n = limit;
  if (n > 0 && tip[n - 1] >= 0xD800 && tip[n - 1] <= 0xDBFF) --n;
  tip.resize(n);
  return tip;
}

}  // namespace

Win32Tray::Win32Tray(HINSTANCE module, HWND owner) : module_(module), owner_(owner) {
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

Win32Tray::~Win32Tray() {
  Remove();
  if (ownWindow_) DestroyWindow(ownWindow_);
  if (icon_) DestroyIcon(icon_);
}

void Win32Tray::SetOwner(HWND owner) {
  if (owner == owner_) return;
  bool was = shown_;
  if (was) Notify(NIM_DELETE);
  shown_ = false;
  owner_ = owner;
  if (was) shown_ = Notify(NIM_ADD);
}

LRESULT CALLBACK Win32Tray::OwnWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  auto* self = reinterpret_cast<Win32Tray*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    if (msg == kTrayCallbackMessage && wp == kTrayIconId) {
      if (self->onNotify) self->onNotify(static_cast<UINT>(LOWORD(lp)));
      return 0;
    }
    if (self->HandleMessage(msg, wp, lp)) return 0;
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Win32Tray::EnsureOwner() {
  if (owner_) return true;
  if (!ownWindow_) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnerClass;
    RegisterClassW(&wc);
    // A hidden top-level window rather than a message-only one: "TaskbarCreated" is broadcast to
    // top-level windows only.
    ownWindow_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), this);
  }
  return ownWindow_ != nullptr;
}

bool Win32Tray::LoadIcon(uint32_t iconId) {
  HICON icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (!icon) return false;
  if (icon_) DestroyIcon(icon_);
  icon_ = icon;
  return true;
}

bool Win32Tray::Notify(DWORD action) {
  HWND window = owner_ ? owner_ : ownWindow_;
  if (!window) return false;
  bool flipped = false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = oldShell_ ? NOTIFYICONDATAW_V1_SIZE : NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = window;
    nid.uID = kTrayIconId;
    if (action != NIM_DELETE) {
      nid.uFlags = NIF_MESSAGE | NIF_TIP | (icon_ ? NIF_ICON : 0);
      nid.uCallbackMessage = kTrayCallbackMessage;
      nid.hIcon = icon_;
      std::wstring tip = CutTip(tip_, TipLimit(oldShell_));
      tip.copy(nid.szTip, tip.size());
      nid.szTip[tip.size()] = L'\0';
    }
    if (Shell_NotifyIconW(action, &nid)) {
      // Version 3 (Windows 2000 and later) also tells the icon's keyboard use: NIN_KEYSELECT and
      // WM_CONTEXTMENU.
      if (action == NIM_ADD && !oldShell_) {
        nid.uVersion = NOTIFYICON_VERSION;
        Shell_NotifyIconW(NIM_SETVERSION, &nid);
      }
      return true;
    }
    // Shells before version 5 refuse the longer record; they take the short one with 64 units.
    if (oldShell_) break;
    oldShell_ = flipped = true;
  }
  if (flipped) oldShell_ = false;  // no shell took either form: nothing learnt about it
  return false;
}

bool Win32Tray::Add(uint32_t iconId, const std::string& tip) {
  if (!EnsureOwner()) return false;
  LoadIcon(iconId);
  tip_ = Widen(tip);
  wanted_ = true;
  if (shown_) return Notify(NIM_MODIFY);
  shown_ = Notify(NIM_ADD);
  return shown_;
}

bool Win32Tray::Modify(uint32_t iconId, const std::string& tip) {
  if (!wanted_) return false;
  LoadIcon(iconId);
  tip_ = Widen(tip);
  if (!shown_) {
    // The shell may have come up since: try to show the icon now.
    shown_ = Notify(NIM_ADD);
    return shown_;
  }
  return Notify(NIM_MODIFY);
}

void Win32Tray::Remove() {
  if (shown_) Notify(NIM_DELETE);
  shown_ = false;
  wanted_ = false;
}

bool Win32Tray::HandleMessage(UINT msg, WPARAM, LPARAM) {
  if (taskbarCreated_ == 0 || msg != taskbarCreated_) return false;
  // A new shell knows nothing of the old icon.
  shown_ = false;
  if (wanted_) shown_ = Notify(NIM_ADD);
  return true;
}

uint32_t Win32Tray::TrackMenu(uint32_t menuId) {
  if (!EnsureOwner()) return 0;
  HWND window = owner_ ? owner_ : ownWindow_;
  HMENU menu = LoadMenuW(module_, MAKEINTRESOURCEW(menuId));
  if (!menu) return 0;
  uint32_t command = 0;
  if (HMENU popup = GetSubMenu(menu, 0)) {
    POINT pt{};
    GetCursorPos(&pt);
    // Without this the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    command = static_cast<uint32_t>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, pt.x,
                                                   pt.y, 0, window, nullptr));
    // Makes the shell's task switch that the menu started come to its end.
    PostMessageW(window, WM_NULL, 0, 0);
  }
  DestroyMenu(menu);
  return command;
}

}  // namespace vx
