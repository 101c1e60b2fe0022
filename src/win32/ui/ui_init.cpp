#include "win32/ui/ui_init.h"

#include <commctrl.h>

#include "win32/ui/bitmap_button.h"

namespace vx {

void InitUi() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
  if (!InitCommonControlsEx(&icc)) InitCommonControls();
  RegisterBitmapButtonClass();
}

}  // namespace vx
