// The programs' never-shown main dialog, run modally for the life of the process. It owns the
// tray icon's messages, the main loop's timers and the tray menu's commands, and hands each to a
// callback, so the shell code keeps to its decisions.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace vx {

class Win32Tray;

class HiddenMainDialog {
 public:
  // `templateId` 0 uses a built-in empty template.
  explicit HiddenMainDialog(HINSTANCE module, uint32_t templateId = 0) : module_(module), templateId_(templateId) {}
  HiddenMainDialog(const HiddenMainDialog&) = delete;
  HiddenMainDialog& operator=(const HiddenMainDialog&) = delete;

  // Runs until End; returns End's result, or -1 when the dialog cannot be created. While it runs,
  // modeless views get their keyboard messages.
  int Run();
  void End(int result);
  HWND Hwnd() const { return hwnd_; }

  // The tray's icon messages come to this dialog (the tray's owner becomes this window).
  void AttachTray(Win32Tray& tray);
  bool StartTimer(UINT_PTR id, UINT periodMs);
  void StopTimer(UINT_PTR id);

  std::function<void(HWND)> onInit;
  std::function<void(UINT mouseMessage)> onTray;  // WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, ...
  std::function<void(UINT_PTR timerId)> onTimer;
  std::function<void(int commandId)> onCommand;
  std::function<void()> onDestroy;
  // Any other message; true when handled, with the dialog procedure's result in `result`.
  std::function<bool(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result)> onMessage;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
  UINT TrayEvent(UINT note);

  HINSTANCE module_;
  uint32_t templateId_;
  HWND hwnd_ = nullptr;
  Win32Tray* tray_ = nullptr;
  UINT lastTrayNote_ = 0;
};

}  // namespace vx
