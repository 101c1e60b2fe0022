// Message boxes, modal model dialogs and the string table over the Windows API.
#pragma once
#include <windows.h>
// The port's MessageBox must not turn into MessageBoxW here and stay MessageBox in the core.
#undef MessageBox

#include "platform/ui.h"

namespace vx {

class SheetModel;

class Win32Dialogs : public DialogPort {
 public:
  // Boxes and dialogs are owned by the active window of the thread, else by `fallbackOwner`.
  explicit Win32Dialogs(HINSTANCE module, HWND fallbackOwner = nullptr) : module_(module), owner_(fallbackOwner) {}
  void SetFallbackOwner(HWND owner) { owner_ = owner; }

  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  int RunModal(DialogModel& model) override;

 private:
  HWND Owner() const;
  // A SheetModel runs as a property sheet of its pages.
  int RunSheet(SheetModel& sheet);
  HINSTANCE module_;
  HWND owner_;
};

// Texts of the module's string table in the language the system picks, as UTF-8, and that
// language's ANSI code page.
class Win32Strings : public StringTable {
 public:
  explicit Win32Strings(HINSTANCE module);
  std::string Get(uint32_t id) const override;
  std::optional<std::string> FromAnsi(std::span<const uint8_t> bytes) const override;

 private:
  HINSTANCE module_;
  UINT codePage_;
};

}  // namespace vx
