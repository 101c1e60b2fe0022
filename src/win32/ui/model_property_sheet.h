// A property sheet whose pages are DialogModels with their own templates, modal or modeless.
// Page activation, deactivation, OK/Apply and Cancel reach the page models; pages can be added
// and removed while the sheet is open. Optional changes to the button row: the help button hidden
// with OK in its place, an icon button where Apply was, a bitmap button beside OK.
#pragma once
#include <windows.h>
#include <prsht.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "win32/ui/control_binder.h"
#include "win32/ui/view_registry.h"

namespace vx {

class ModelPropertySheet {
 public:
  explicit ModelPropertySheet(HINSTANCE module);
  ~ModelPropertySheet();
  ModelPropertySheet(const ModelPropertySheet&) = delete;
  ModelPropertySheet& operator=(const ModelPropertySheet&) = delete;

  // One page per model; the tab text is the model's caption, or the template's when empty.
  // Before the sheet exists pages are only listed; afterwards they join the open sheet.
  // `index` < 0 appends. Returns false when the page cannot be created or is already there.
  bool AddPage(DialogModel& model, int index = -1);
  bool RemovePage(DialogModel& model);
  bool HasPage(const DialogModel& model) const;
  int PageCount() const { return static_cast<int>(pages_.size()); }

  void SetCaption(const std::string& caption);
  void SetStartPage(int index) { startPage_ = index; }
  // The sheet's small window icon (an icon resource), now or when the sheet opens.
  void SetSmallIcon(uint32_t iconId);
  // Hides the help button and moves OK to its place.
  void HideHelpMoveOk() { hideHelp_ = true; }
  // Hides Apply and puts a framed icon button `id` in its place; `iconId` can change later with
  // SetButtonImage. The click goes to `onClick`.
  void ReplaceApplyWithIconButton(int id, uint32_t iconId, std::function<void()> onClick);
  // A flat bitmap button `id` (magenta transparent) placed in the row beside OK.
  void AddBitmapButton(int id, uint32_t bitmapId, std::function<void()> onClick);
  void SetButtonImage(int id, uint32_t imageId);

  // Runs the sheet modally: kIdOk when it ended with OK, kIdCancel otherwise, -1 on failure.
  int RunModal(HWND owner);
  // Creates and shows the sheet modelessly; it destroys itself when OK or Cancel ends it.
  bool CreateModeless(HWND owner);
  // Destroys an open sheet without asking the pages (as when the adapter disappears).
  void Destroy();
  HWND Hwnd() const { return hwnd_; }
  // The model of the page shown, or null.
  DialogModel* ActivePage() const;
  bool SetActivePage(const DialogModel& model);

  // After a modeless sheet has gone: kIdOk or kIdCancel (kIdCancel after Destroy as well).
  std::function<void(int result)> onClosed;

 private:
  struct Page;
  struct SheetView;
  static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HPROPSHEETPAGE CreatePageHandle(Page& page);
  int Run(HWND owner, bool modeless);
  void OnPageCreated(Page& page, HWND pageHwnd);
  void CustomiseButtons();
  void CheckEnded();
  void OnSheetGone(int result);
  Page* FindPage(const DialogModel& model) const;

  HINSTANCE module_;
  std::vector<std::unique_ptr<Page>> pages_;
  std::unique_ptr<SheetView> view_;
  HWND hwnd_ = nullptr;
  bool modeless_ = false;
  bool customised_ = false;
  bool destroying_ = false;
  int startPage_ = 0;
  int result_ = 0;
  std::wstring caption_;
  uint32_t smallIcon_ = 0;
  bool hideHelp_ = false;
  struct ExtraButton {
    int id = 0;
    uint32_t image = 0;
    std::function<void()> onClick;
  };
  ExtraButton iconButton_, bitmapButton_;
};

}  // namespace vx
