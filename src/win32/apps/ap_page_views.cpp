#include "win32/apps/ap_page_views.h"

#include <commctrl.h>
#include <prsht.h>

#include "resources/dialogs/ap_access_control_page.h"
#include "resources/dialogs/ap_security_dialog.h"
#include "resources/dialogs/ap_wds_page.h"
#include "softap/config/hex_input_filter.h"

namespace vx {
namespace {

constexpr wchar_t kDecoratedProp[] = L"VxApPageDecorated";
constexpr int kEditorWidth = 90;  // the in-place editor's width in pixels

RECT ChildRect(HWND parent, HWND child) {
  RECT rc{};
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

}  // namespace

ApPageDecorations::ApPageDecorations(ModelPropertySheet& sheet, ApSheetPages& pages)
    : sheet_(sheet), pages_(pages) {
  RegisterView(this);
}

ApPageDecorations::~ApPageDecorations() { UnregisterView(this); }

void ApPageDecorations::Refresh() {
  HWND sheet = sheet_.Hwnd();
  if (!sheet) return;
  HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  DialogModel* model = sheet_.ActivePage();
  if (!page || !model) return;
  if (!GetPropW(page, kDecoratedProp)) {
    SetPropW(page, kDecoratedProp, reinterpret_cast<HANDLE>(1));
    FirstSight(page, *model);
  }
  if (model == pages_.AccessControl())
    PlaceEditor(page, *pages_.AccessControl(), kIdcAclList, kIdcAclEdit, kIdcAclModify, kIdcAclCancel);
  else if (model == pages_.Wds())
    PlaceEditor(page, *pages_.Wds(), kIdcWdsList, kIdcWdsEdit, kIdcWdsModify, kIdcWdsCancel);
}

void ApPageDecorations::FirstSight(HWND page, DialogModel& model) {
  int listId = 0;
  if (&model == pages_.AccessControl()) {
    listId = kIdcAclList;
  } else if (&model == pages_.Wds()) {
    listId = kIdcWdsList;
  } else {
    return;
  }
  if (HWND list = GetDlgItem(page, listId)) {
    // The in-place editor lies over the list; the list must not paint over it.
    SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) | WS_CLIPSIBLINGS);
    LRESULT h = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    if (h > 0 && h != LB_ERR) SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(h * 3 / 2, 0));
  }
}

void ApPageDecorations::PlaceEditor(HWND page, MacListPage& model, int listId, int editId, int modifyId,
                                    int cancelId) {
  if (!model.Editing() || model.EditedRow() < 0) return;
  HWND list = GetDlgItem(page, listId);
  HWND edit = GetDlgItem(page, editId);
  if (!list || !edit) return;
  RECT item{};
  if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(model.EditedRow()),
                   reinterpret_cast<LPARAM>(&item)) == LB_ERR)
    return;
  MapWindowPoints(list, page, reinterpret_cast<POINT*>(&item), 2);
  // Over the row from its left edge, one pixel lower than the item; MODIFY and CANCEL share the
  // rest of the row, so nothing covers the buttons beside the list.
  const int top = item.top + 1;
  const int height = item.bottom - item.top;
  SetWindowPos(edit, HWND_TOP, item.left, top, kEditorWidth, height, SWP_NOACTIVATE);
  const int gap = 2;
  int x = item.left + kEditorWidth + gap;
  const int width = (item.right - x - gap) / 2;
  for (int id : {modifyId, cancelId}) {
    HWND button = GetDlgItem(page, id);
    if (!button) continue;
    RECT rc = ChildRect(page, button);
    const int w = width >= 30 ? width : rc.right - rc.left;
    SetWindowPos(button, HWND_TOP, x, top, w, height, SWP_NOACTIVATE);
    x += w + gap;
  }
}

// --- Hexadecimal-digit filter

namespace {

LRESULT CALLBACK HexKeyHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE && lp) {
    MSG& msg = *reinterpret_cast<MSG*>(lp);
    if (msg.message == WM_CHAR && HexKeyFilter::Refuses(msg.hwnd, msg.wParam)) {
      MessageBeep(MB_OK);
      msg.message = WM_NULL;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

HexKeyFilter::HexKeyFilter() {
  // Typed characters are posted, so every message loop of the thread passes them here first.
  hook_ = SetWindowsHookExW(WH_GETMESSAGE, HexKeyHook, nullptr, GetCurrentThreadId());
}

HexKeyFilter::~HexKeyFilter() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

bool HexKeyFilter::Refuses(HWND target, WPARAM ch) {
  if (!target || AcceptHexDigitKey(static_cast<uint32_t>(ch))) return false;
  HWND parent = GetParent(target);
  if (!parent) return false;
  const int id = GetDlgCtrlID(target);
  // The dialog is told by a control only its template has.
  struct Kind {
    uint32_t templateId;
    int marker;
  };
  static constexpr Kind kKinds[] = {{kIddApSecurityDialog, kIdcApsAuth},
                                    {kIddApAccessControlPage, kIdcAclPolicy},
                                    {kIddApWdsPage, kIdcWdsEnable}};
  for (const Kind& k : kKinds)
    if (ApSheetPages::IsHexEdit(k.templateId, id) && GetDlgItem(parent, k.marker)) return true;
  return false;
}

LocalTime LocalFromUtc(uint64_t fileTimeUtc) {
  FILETIME ft{static_cast<DWORD>(fileTimeUtc & 0xFFFFFFFFu), static_cast<DWORD>(fileTimeUtc >> 32)};
  SYSTEMTIME utc{}, local{};
  if (!FileTimeToSystemTime(&ft, &utc)) return FileTimeToUtcFields(fileTimeUtc);
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
  return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

}  // namespace vx
