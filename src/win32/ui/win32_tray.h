// The notification-area icon and its pop-up menus over Shell_NotifyIconW.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui.h"

namespace vx {

inline constexpr UINT kTrayCallbackMessage = WM_USER + 100;  // 1124
inline constexpr UINT kTrayIconId = 161;

class Win32Tray : public TrayPort {
 public:
  // With `owner` null the tray makes a hidden window of its own and reports the icon's mouse
  // messages through onNotify; with an owner (the hidden main dialog) the owner receives
  // kTrayCallbackMessage and passes "TaskbarCreated" to HandleMessage.
  explicit Win32Tray(HINSTANCE module, HWND owner = nullptr);
  ~Win32Tray() override;
  Win32Tray(const Win32Tray&) = delete;
  Win32Tray& operator=(const Win32Tray&) = delete;

  void SetOwner(HWND owner);
  HWND Owner() const { return owner_; }

  // False when the shell has no notification area (the icon is added again when one appears).
  bool Add(uint32_t iconId, const std::string& tip) override;
  bool Modify(uint32_t iconId, const std::string& tip) override;
  void Remove() override;
  uint32_t TrackMenu(uint32_t menuId) override;

  // True when `msg` was the shell's "TaskbarCreated" (the icon is then added again).
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool Shown() const { return shown_; }

  // The icon's mouse messages (WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, ...) when the tray owns its window.
  std::function<void(UINT mouseMessage)> onNotify;

  // The longest tip the shell takes, in UTF-16 units (without the terminator).
  static size_t TipLimit(bool oldShell) { return oldShell ? 63 : 127; }

 private:
  static LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool EnsureOwner();
  bool Notify(DWORD action);
  bool LoadIcon(uint32_t iconId);

  HINSTANCE module_;
  HWND owner_ = nullptr;
  HWND ownWindow_ = nullptr;
  HICON icon_ = nullptr;
  std::wstring tip_;
  bool wanted_ = false;  // Add succeeded or was asked for: re-added after an Explorer restart
  bool shown_ = false;
  bool oldShell_ = false;  // a shell that takes only the first, short form of the record
  UINT taskbarCreated_ = 0;
};

}  // namespace vx
