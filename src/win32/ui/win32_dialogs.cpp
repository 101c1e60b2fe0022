#include "win32/ui/win32_dialogs.h"

#include <vector>

#include "win32/ports/wide.h"
#include "win32/ui/model_dialog.h"

namespace vx {

HWND Win32Dialogs::Owner() const {
  HWND active = GetActiveWindow();
  return active ? active : owner_;
}

int Win32Dialogs::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  return ::MessageBoxW(Owner(), Widen(text).c_str(), Widen(caption).c_str(), flags);
}

int Win32Dialogs::RunModal(DialogModel& model) {
  ModelDialog dialog(module_, model);
  return dialog.RunModal(Owner());
}

std::string Win32Strings::Get(uint32_t id) const {
  // A string table entry holds at most 65535 UTF-16 units; grow until the text fits.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    int n = LoadStringW(module_, id, buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 0) return {};
    if (static_cast<size_t>(n) < buffer.size() - 1 || buffer.size() > 65536)
      return Narrow(std::wstring_view(buffer.data(), static_cast<size_t>(n)));
    buffer.resize(buffer.size() * 4);
  }
}

}  // namespace vx
