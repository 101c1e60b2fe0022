// The access point utility's modeless sheet over the view layer: the page models of one opening,
// the caption, the lost icon, no Apply button, and a window that ends 10 pixels below OK.
#pragma once
#include <windows.h>

#include <vector>

#include "softap/shell/ap_hide_dlg.h"
#include "softap/shell/ap_sheet_pages.h"
#include "win32/apps/ap_page_views.h"
#include "win32/ui/model_property_sheet.h"

namespace vx {

class ApSheet : public ApSheetView {
 public:
  ApSheet(HINSTANCE module, HWND owner, ApHideDlg& dlg, const std::vector<ApPage>& pages, ApSheetExtras extras);
  ~ApSheet() override;

  bool WindowExists() const override;
  void Show() override;
  void Destroy() override;
  void SetIcon(uint32_t icon) override;

 private:
  void FitButtonRow();

  HWND owner_;
  ApSheetPages pages_;
  ModelPropertySheet sheet_;
  ApPageDecorations decorations_;  // registered before the pages' views
  bool created_ = false;
};

}  // namespace vx
