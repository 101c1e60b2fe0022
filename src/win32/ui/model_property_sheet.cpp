#include "win32/ui/model_property_sheet.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/ui.h"
#include "win32/ports/wide.h"
#include "win32/ui/bitmap_button.h"
#include "win32/ui/ui_init.h"

namespace vx {
namespace {

constexpr int kApplyButtonId = 0x3021;       // the sheet's Apply Now button
constexpr UINT kCheckEndedMessage = WM_APP + 0x51;  // posted to a page after OK or Cancel

RECT ChildRect(HWND parent, HWND child) {
  RECT rc{};
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void MoveTo(HWND hwnd, const RECT& rc) {
  SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOnWorkArea(HWND hwnd) {
  RECT work, rc;
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return;
  GetWindowRect(hwnd, &rc);
  int x = work.left + ((work.right - work.left) - (rc.right - rc.left)) / 2;
  int y = work.top + ((work.bottom - work.top) - (rc.bottom - rc.top)) / 2;
  SetWindowPos(hwnd, nullptr, x < work.left ? work.left : x, y < work.top ? work.top : y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

struct ModelPropertySheet::Page : LiveView {
  Page(ModelPropertySheet& s, HINSTANCE module, DialogModel& m) : sheet(s), model(m), binder(module, m) {}
  void Refresh() override {
    if (!hwnd) return;
    binder.Apply();
    if (int focus = model.TakeFocusRequest())
      if (HWND ctl = GetDlgItem(hwnd, focus)) SetFocus(ctl);
    if (model.CloseRequested() && sheet.hwnd_) {
      int result = model.CloseResult();
      model.ClearCloseRequest();
      PostMessageW(sheet.hwnd_, PSM_PRESSBUTTON, result == kIdOk ? PSBTN_OK : PSBTN_CANCEL, 0);
    }
  }

  ModelPropertySheet& sheet;
  DialogModel& model;
  ControlBinder binder;
  std::wstring title;
  HPROPSHEETPAGE hpage = nullptr;  // owned by the sheet once it is in one
  HWND hwnd = nullptr;
  bool removing = false;
};

// Gives a modeless sheet its keyboard handling inside the program's modal loops.
struct ModelPropertySheet::SheetView : LiveView {
  explicit SheetView(ModelPropertySheet& s) : sheet(s) {}
  void Refresh() override {}
  bool PreTranslate(MSG& msg) override {
    HWND h = sheet.hwnd_;
    if (!h || !sheet.modeless_ || (msg.hwnd != h && !IsChild(h, msg.hwnd))) return false;
    if (!SendMessageW(h, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg))) return false;
    sheet.CheckEnded();  // Enter or Escape may have ended the sheet
    return true;
  }
  ModelPropertySheet& sheet;
};

ModelPropertySheet::ModelPropertySheet(HINSTANCE module) : module_(module), view_(std::make_unique<SheetView>(*this)) {
  InitUi();
}

ModelPropertySheet::~ModelPropertySheet() {
  onClosed = nullptr;
  Destroy();
  UnregisterView(view_.get());
  for (auto& p : pages_) UnregisterView(p.get());
}

ModelPropertySheet::Page* ModelPropertySheet::FindPage(const DialogModel& model) const {
  for (const auto& p : pages_)
    if (&p->model == &model) return p.get();
  return nullptr;
}

bool ModelPropertySheet::HasPage(const DialogModel& model) const { return FindPage(model) != nullptr; }

HPROPSHEETPAGE ModelPropertySheet::CreatePageHandle(Page& page) {
  page.title = Widen(page.model.caption);
  PROPSHEETPAGEW psp{};
  psp.dwSize = sizeof(psp);
  psp.dwFlags = page.title.empty() ? PSP_DEFAULT : PSP_USETITLE;
  psp.hInstance = module_;
  psp.pszTemplate = MAKEINTRESOURCEW(page.model.TemplateId());
  psp.pszTitle = page.title.c_str();
  psp.pfnDlgProc = PageProc;
  psp.lParam = reinterpret_cast<LPARAM>(&page);
  page.hpage = CreatePropertySheetPageW(&psp);
  return page.hpage;
}

bool ModelPropertySheet::AddPage(DialogModel& model, int index) {
  if (FindPage(model)) return false;
  int count = static_cast<int>(pages_.size());
  if (index < 0 || index > count) index = count;
  auto page = std::make_unique<Page>(*this, module_, model);
  if (hwnd_) {
    HPROPSHEETPAGE h = CreatePageHandle(*page);
    if (!h) return false;
    LRESULT ok = index == count
                     ? SendMessageW(hwnd_, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(h))
                     : SendMessageW(hwnd_, PSM_INSERTPAGE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(h));
    if (!ok) {
      DestroyPropertySheetPage(h);
      return false;
    }
  }
  pages_.insert(pages_.begin() + index, std::move(page));
  return true;
}

bool ModelPropertySheet::RemovePage(DialogModel& model) {
  for (size_t i = 0; i < pages_.size(); ++i) {
    Page& page = *pages_[i];
    if (&page.model != &model) continue;
    if (hwnd_) {
      page.removing = true;
      // The sheet destroys the page window and its handle.
      SendMessageW(hwnd_, PSM_REMOVEPAGE, i, reinterpret_cast<LPARAM>(page.hpage));
    }
    UnregisterView(&page);
    pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

void ModelPropertySheet::SetCaption(const std::string& caption) {
  caption_ = Widen(caption);
  if (hwnd_) SetWindowTextW(hwnd_, caption_.c_str());
}

void ModelPropertySheet::SetSmallIcon(uint32_t iconId) {
  smallIcon_ = iconId;
  if (!hwnd_ || iconId == 0) return;
  HANDLE icon = LoadImageW(module_, MAKEINTRESOURCEW(iconId), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                           GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  if (icon) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void ModelPropertySheet::ReplaceApplyWithIconButton(int id, uint32_t iconId, std::function<void()> onClick) {
  iconButton_ = {id, iconId, std::move(onClick)};
}

void ModelPropertySheet::AddBitmapButton(int id, uint32_t bitmapId, std::function<void()> onClick) {
  bitmapButton_ = {id, bitmapId, std::move(onClick)};
}

void ModelPropertySheet::SetButtonImage(int id, uint32_t imageId) {
  if (id == iconButton_.id) iconButton_.image = imageId;
  if (id == bitmapButton_.id) bitmapButton_.image = imageId;
  if (hwnd_)
    if (HWND b = GetDlgItem(hwnd_, id)) SetBitmapButtonImage(b, module_, imageId);
}

int ModelPropertySheet::RunModal(HWND owner) { return Run(owner, false); }

bool ModelPropertySheet::CreateModeless(HWND owner) { return Run(owner, true) == kIdOk; }

int ModelPropertySheet::Run(HWND owner, bool modeless) {
  if (hwnd_ || pages_.empty()) return -1;
  std::vector<HPROPSHEETPAGE> handles;
  for (auto& p : pages_) {
    HPROPSHEETPAGE h = CreatePageHandle(*p);
    if (!h) {
      for (HPROPSHEETPAGE made : handles) DestroyPropertySheetPage(made);
      return -1;
    }
    handles.push_back(h);
  }
  PROPSHEETHEADERW h{};
  h.dwSize = sizeof(h);
  h.dwFlags = PSH_NOCONTEXTHELP | (hideHelp_ ? PSH_HASHELP : 0) | (modeless ? PSH_MODELESS : 0);
  h.hwndParent = owner;
  h.hInstance = module_;
  h.pszCaption = caption_.c_str();
  h.nPages = static_cast<UINT>(handles.size());
  h.nStartPage = startPage_ >= 0 && startPage_ < static_cast<int>(handles.size()) ? static_cast<UINT>(startPage_) : 0;
  h.phpage = handles.data();
  modeless_ = modeless;
  customised_ = false;
  destroying_ = false;
  result_ = kIdCancel;
  RegisterView(view_.get());
  INT_PTR r = PropertySheetW(&h);
  if (modeless) {
    if (r == 0 || r == -1) {
      hwnd_ = nullptr;
      UnregisterView(view_.get());
      return -1;
    }
    hwnd_ = reinterpret_cast<HWND>(r);
    CustomiseButtons();
    if (!owner || !IsWindowVisible(owner)) CentreOnWorkArea(hwnd_);
    return kIdOk;
  }
  UnregisterView(view_.get());
  hwnd_ = nullptr;
  customised_ = false;
  for (auto& p : pages_) {
    p->hpage = nullptr;
    p->hwnd = nullptr;
  }
  if (r == -1) return -1;
  return result_;
}

void ModelPropertySheet::CustomiseButtons() {
  if (customised_ || !hwnd_) return;
  customised_ = true;
  if (!caption_.empty()) SetWindowTextW(hwnd_, caption_.c_str());
  if (smallIcon_) SetSmallIcon(smallIcon_);
  HWND ok = GetDlgItem(hwnd_, IDOK);
  HWND cancel = GetDlgItem(hwnd_, IDCANCEL);
  HWND apply = GetDlgItem(hwnd_, kApplyButtonId);
  RECT okRect = ok ? ChildRect(hwnd_, ok) : RECT{};
  // The free place left of the row, where the bitmap button goes.
  RECT freeSlot{};
  if (cancel) {
    RECT c = ChildRect(hwnd_, cancel);
    int gap = apply ? ChildRect(hwnd_, apply).left - c.right : 6;
    freeSlot = {c.left - gap - (c.right - c.left), c.top, c.left - gap, c.bottom};
  }
  if (hideHelp_) {
    if (HWND help = GetDlgItem(hwnd_, IDHELP)) {
      RECT helpRect = ChildRect(hwnd_, help);
      ShowWindow(help, SW_HIDE);
      EnableWindow(help, FALSE);
      if (ok) {
        MoveTo(ok, helpRect);
        freeSlot = okRect;
      }
    }
  }
  if (iconButton_.id && apply) {
    RECT rc = ChildRect(hwnd_, apply);
    ShowWindow(apply, SW_HIDE);
    EnableWindow(apply, FALSE);
    if (HWND b = CreateBitmapButton(hwnd_, iconButton_.id, rc, BitmapButtonLook::Framed)) {
      SetBitmapButtonImage(b, module_, iconButton_.image);
      SetBitmapButtonClick(b, iconButton_.onClick);
    }
  }
  if (bitmapButton_.id && freeSlot.right > freeSlot.left) {
    RECT rc = freeSlot;
    if (HWND b = CreateBitmapButton(hwnd_, bitmapButton_.id, rc, BitmapButtonLook::Flat)) {
      SetBitmapButtonImage(b, module_, bitmapButton_.image);
      SetBitmapButtonClick(b, bitmapButton_.onClick);
      // A picture larger than a button keeps its right edge beside the row and grows left, and
      // up and down about the row's middle, between the page frame's bottom edge and the sheet's.
      SIZE pic = BitmapButtonImageSize(b);
      int w = std::max<int>(rc.right - rc.left, pic.cx + 8);
      int hgt = std::max<int>(rc.bottom - rc.top, pic.cy + 6);
      RECT client{};
      GetClientRect(hwnd_, &client);
      HWND tabs = PropSheet_GetTabControl(hwnd_);
      const int top = tabs ? ChildRect(hwnd_, tabs).bottom + 1 : client.top;
      hgt = std::min<int>(hgt, client.bottom - top);
      int y = std::clamp<int>((rc.top + rc.bottom) / 2 - hgt / 2, top, client.bottom - hgt);
      MoveTo(b, RECT{rc.right - w, y, rc.right, y + hgt});
    }
  }
}

DialogModel* ModelPropertySheet::ActivePage() const {
  if (!hwnd_) return nullptr;
  HWND current = reinterpret_cast<HWND>(SendMessageW(hwnd_, PSM_GETCURRENTPAGEHWND, 0, 0));
  for (const auto& p : pages_)
    if (p->hwnd && p->hwnd == current) return &p->model;
  return nullptr;
}

bool ModelPropertySheet::SetActivePage(const DialogModel& model) {
  if (!hwnd_) return false;
  for (size_t i = 0; i < pages_.size(); ++i)
    if (&pages_[i]->model == &model) return SendMessageW(hwnd_, PSM_SETCURSEL, i, 0) != 0;
  return false;
}

void ModelPropertySheet::Destroy() {
  if (!hwnd_) return;
  if (!modeless_) {
    PostMessageW(hwnd_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return;
  }
  destroying_ = true;
  DestroyWindow(hwnd_);
  OnSheetGone(kIdCancel);
}

void ModelPropertySheet::CheckEnded() {
  if (!hwnd_ || !modeless_ || destroying_) return;
  // A modeless sheet that OK or Cancel ended has no current page any more; it is ours to destroy.
  if (SendMessageW(hwnd_, PSM_GETCURRENTPAGEHWND, 0, 0)) return;
  destroying_ = true;
  DestroyWindow(hwnd_);
  OnSheetGone(result_);
}

void ModelPropertySheet::OnSheetGone(int result) {
  hwnd_ = nullptr;
  customised_ = false;
  destroying_ = false;
  UnregisterView(view_.get());
  for (auto& p : pages_) {
    UnregisterView(p.get());
    p->hpage = nullptr;
    p->hwnd = nullptr;
  }
  if (onClosed) {
    auto cb = onClosed;  // last: it may delete this sheet
    cb(result);
  }
}

void ModelPropertySheet::OnPageCreated(Page& page, HWND pageHwnd) {
  page.hwnd = pageHwnd;
  if (!hwnd_) hwnd_ = GetParent(pageHwnd);
  page.binder.Attach(pageHwnd);
  RegisterView(&page);
  page.model.ClearCloseRequest();
  page.model.OnInit();
  page.Refresh();
}

INT_PTR CALLBACK ModelPropertySheet::PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* psp = reinterpret_cast<PROPSHEETPAGEW*>(lp);
    auto* page = reinterpret_cast<Page*>(psp->lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, psp->lParam);
    page->sheet.OnPageCreated(*page, hwnd);
    return TRUE;
  }
  auto* page = reinterpret_cast<Page*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!page) return FALSE;
  ModelPropertySheet& sheet = page->sheet;
  DialogModel& model = page->model;
  auto forward = [&](const ControlEvent& ev) {
    model.OnCommand(ev.id, ev.event);
    RefreshViews();
  };
  auto reply = [&](LONG_PTR value) {
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, value);
    return TRUE;
  };
  switch (msg) {
    case WM_NOTIFY: {
      const NMHDR& hdr = *reinterpret_cast<NMHDR*>(lp);
      if (hdr.hwndFrom == GetParent(hwnd)) {
        switch (hdr.code) {
          case PSN_SETACTIVE:
            sheet.CustomiseButtons();
            model.OnSetActive();
            RefreshViews();
            return reply(0);
          case PSN_KILLACTIVE: {
            bool leave = model.OnKillActive();
            RefreshViews();
            return reply(leave ? FALSE : TRUE);
          }
          case PSN_APPLY: {
            bool ok = model.OnOk();
            RefreshViews();
            if (ok && reinterpret_cast<PSHNOTIFY*>(lp)->lParam) {
              sheet.result_ = kIdOk;
              PostMessageW(hwnd, kCheckEndedMessage, 0, 0);
            }
            return reply(ok ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
          }
          case PSN_RESET:
            model.OnCancel();
            RefreshViews();
            PostMessageW(hwnd, kCheckEndedMessage, 0, 0);
            return reply(0);
          default:
            return FALSE;
        }
      }
      if (auto ev = page->binder.OnNotify(hdr)) forward(*ev);
      return FALSE;
    }
    case WM_COMMAND: {
      // The sheet passes its own buttons' commands on to the page; only the page's controls count.
      HWND from = reinterpret_cast<HWND>(lp);
      if (from && GetParent(from) != hwnd) return FALSE;
      if (auto ev = page->binder.OnCommand(wp, lp)) {
        forward(*ev);
        return TRUE;
      }
      return FALSE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (auto ev = page->binder.OnScroll(reinterpret_cast<HWND>(lp))) forward(*ev);
      return FALSE;
    case ControlBinder::kDeferredSelectionMessage:
      if (auto ev = page->binder.OnDeferredSelection(wp)) forward(*ev);
      return TRUE;
    case WM_TIMER:
      model.OnTimer(static_cast<int>(wp));
      RefreshViews();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = page->binder.OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<INT_PTR>(brush);
      return FALSE;
    case kCheckEndedMessage:
      sheet.CheckEnded();
      return TRUE;
    case WM_NCDESTROY:
      page->binder.Detach();
      UnregisterView(page);
      page->hwnd = nullptr;
      SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      // A page going without being removed means the sheet is going (its owner was destroyed, or
      // a modal sheet ended): forget the window; the pages stay listed for the next opening.
      if (!page->removing && sheet.hwnd_ && !sheet.destroying_ && sheet.modeless_) {
        sheet.hwnd_ = nullptr;
        sheet.customised_ = false;
        UnregisterView(sheet.view_.get());
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace vx
