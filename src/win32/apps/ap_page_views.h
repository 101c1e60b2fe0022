// Presentation of the access point pages that their models do not carry: the address lists'
// taller rows, the in-place MAC editor placed over the row it edits, and the hexadecimal-digit
// filter on the key and MAC edits.
#pragma once
#include <windows.h>

#include "softap/monitor/monitor_pages.h"
#include "softap/shell/ap_sheet_pages.h"
#include "win32/ui/model_property_sheet.h"
#include "win32/ui/view_registry.h"

namespace vx {

// Refreshed with the other views; it looks after the sheet's current page. Register it before
// the sheet's pages exist, so each refresh sets the page's models before their controls follow.
class ApPageDecorations : public LiveView {
 public:
  ApPageDecorations(ModelPropertySheet& sheet, ApSheetPages& pages);
  ~ApPageDecorations() override;
  ApPageDecorations(const ApPageDecorations&) = delete;
  ApPageDecorations& operator=(const ApPageDecorations&) = delete;

  void Refresh() override;

 private:
  void FirstSight(HWND page, DialogModel& model);
  void PlaceEditor(HWND page, MacListPage& model, int listId, int editId, int modifyId, int cancelId);

  ModelPropertySheet& sheet_;
  ApSheetPages& pages_;
};

// Refuses typed characters outside the filter in the edits ApSheetPages::IsHexEdit names, in
// every dialog of the thread (the modal security dialog as well), with a beep.
class HexKeyFilter {
 public:
  HexKeyFilter();
  ~HexKeyFilter();
  HexKeyFilter(const HexKeyFilter&) = delete;
  HexKeyFilter& operator=(const HexKeyFilter&) = delete;

  // Whether a typed character for this window is to be refused.
  static bool Refuses(HWND target, WPARAM ch);

 private:
  HHOOK hook_ = nullptr;
};

// UTC FILETIME to local calendar fields, by the system's time zone.
LocalTime LocalFromUtc(uint64_t fileTimeUtc);

}  // namespace vx
