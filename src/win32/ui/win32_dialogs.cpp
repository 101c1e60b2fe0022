#include "win32/ui/win32_dialogs.h"

#include <vector>

#include "common/ui/sheet_model.h"
#include "resources/strings/string_tables.h"
#include "win32/ports/wide.h"
#include "win32/ui/model_dialog.h"
#include "win32/ui/model_property_sheet.h"
#include "win32/ui/view_registry.h"

namespace vx {

HWND Win32Dialogs::Owner() const {
  HWND active = GetActiveWindow();
  return active ? active : owner_;
}

int Win32Dialogs::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  return ::MessageBoxW(Owner(), Widen(text).c_str(), Widen(caption).c_str(), flags);
}

namespace {

// Carries out what a modal model sheet asks of its view: the page a failed OK names brought to
// the front, and a close asked for from outside the sheet.
struct SheetRequestsView : LiveView {
  SheetRequestsView(ModelPropertySheet& v, SheetModel& s) : view(v), sheet(s) {}
  void Refresh() override {
    if (DialogModel* page = sheet.TakeFrontPageRequest()) view.SetActivePage(*page);
    // A box or sheet of its own above it (the sheet is disabled then) has a page's handler
    // waiting; the close waits for that to return, and the refresh after it comes here again.
    HWND hwnd = view.Hwnd();
    if (sheet.CloseRequested() && hwnd && IsWindowEnabled(hwnd)) {
      int result = sheet.CloseResult();
      sheet.ClearCloseRequest();
      PostMessageW(hwnd, PSM_PRESSBUTTON, result == kIdOk ? PSBTN_OK : PSBTN_CANCEL, 0);
    }
  }
  ModelPropertySheet& view;
  SheetModel& sheet;
};

}  // namespace

int Win32Dialogs::RunSheet(SheetModel& sheet) {
  sheet.ClearCloseRequest();
  sheet.OnInit();
  ModelPropertySheet view(module_);
  for (DialogModel* page : sheet.Pages()) view.AddPage(*page);
  view.SetCaption(sheet.title);
  view.SetStartPage(sheet.startPage);
  // Without a help button the sheet keeps its other buttons to the right; nothing to move.
  SheetRequestsView front(view, sheet);
  RegisterView(&front);
  int result = view.RunModal(Owner());
  UnregisterView(&front);
  return result == kIdOk ? kIdOk : kIdCancel;
}

int Win32Dialogs::RunModal(DialogModel& model) {
  if (auto* sheet = dynamic_cast<SheetModel*>(&model)) return RunSheet(*sheet);
  ModelDialog dialog(module_, model);
  return dialog.RunModal(Owner());
}

Win32Strings::Win32Strings(HINSTANCE module)
    : module_(module), codePage_(AnsiCodePageForLanguage(GetUserDefaultUILanguage())) {}

std::optional<std::string> Win32Strings::FromAnsi(std::span<const uint8_t> bytes) const {
  if (bytes.empty()) return std::string();
  const char* text = reinterpret_cast<const char*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  // Strict: a byte the code page does not define fails instead of becoming a default character.
  int n = MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, text, size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  if (MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, text, size, wide.data(), n) != n)
    return std::nullopt;
  return Narrow(wide);
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
