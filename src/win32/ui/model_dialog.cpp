#include "win32/ui/model_dialog.h"

#include "platform/ui.h"
#include "win32/ui/ui_init.h"

namespace vx {

ModelDialog::ModelDialog(HINSTANCE module, DialogModel& model)
    : module_(module), model_(model), binder_(module, model) {
  InitUi();
}

ModelDialog::~ModelDialog() {
  onClosed = nullptr;
  if (hwnd_ && !modal_) DestroyWindow(hwnd_);
  UnregisterView(this);
}

int ModelDialog::RunModal(HWND owner) {
  if (hwnd_) return -1;
  modal_ = true;
  ending_ = false;
  INT_PTR r = DialogBoxParamW(module_, MAKEINTRESOURCEW(model_.TemplateId()), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return r == -1 ? -1 : static_cast<int>(r);
}

bool ModelDialog::CreateModeless(HWND owner) {
  if (hwnd_) return false;
  modal_ = false;
  ending_ = false;
  HWND hwnd = CreateDialogParamW(module_, MAKEINTRESOURCEW(model_.TemplateId()), owner, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
  if (!hwnd) return false;
  ShowWindow(hwnd, SW_SHOW);
  return true;
}

void ModelDialog::Close(int result) { End(result); }

void ModelDialog::Refresh() {
  if (!hwnd_ || ending_) return;
  binder_.Apply();
  if (int focus = model_.TakeFocusRequest())
    if (HWND ctl = GetDlgItem(hwnd_, focus)) SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctl), TRUE);
  if (model_.CloseRequested()) {
    int result = model_.CloseResult();
    model_.ClearCloseRequest();
    End(result);
  }
}

bool ModelDialog::PreTranslate(MSG& msg) {
  if (!hwnd_ || modal_) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void ModelDialog::UseBitmapButton(int id, BitmapButtonLook look) {
  bitmapButtons_.emplace_back(id, look);
  if (hwnd_) ReplaceWithBitmapButton(hwnd_, id, look);
}

bool ModelDialog::StartTimer(int id, UINT periodMs) {
  return hwnd_ && SetTimer(hwnd_, static_cast<UINT_PTR>(id), periodMs, nullptr) != 0;
}

void ModelDialog::StopTimer(int id) {
  if (hwnd_) KillTimer(hwnd_, static_cast<UINT_PTR>(id));
}

void ModelDialog::End(int result) {
  if (!hwnd_ || ending_) return;
  ending_ = true;
  result_ = result;
  if (modal_) {
    EndDialog(hwnd_, result);
  } else {
    // Destroyed from the message loop, not from inside the handler that asked for it.
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  }
}

void ModelDialog::OnInitDialog(HWND hwnd) {
  hwnd_ = hwnd;
  for (const auto& [id, look] : bitmapButtons_) ReplaceWithBitmapButton(hwnd, id, look);
  binder_.Attach(hwnd);
  RegisterView(this);
  model_.ClearCloseRequest();
  model_.OnInit();
  binder_.Apply();
  focusSet_ = false;
  if (int focus = model_.TakeFocusRequest()) {
    if (HWND ctl = GetDlgItem(hwnd, focus)) {
      SetFocus(ctl);
      focusSet_ = true;
    }
  }
  if (model_.CloseRequested()) Refresh();
}

void ModelDialog::Forward(const ControlEvent& ev) {
  model_.OnCommand(ev.id, ev.event);
  AfterEvent();
}

void ModelDialog::AfterEvent() {
  // Other views may show state this event changed; this one refreshes with them.
  RefreshViews();
}

INT_PTR CALLBACK ModelDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ModelDialog* self;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<ModelDialog*>(lp);
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    self->OnInitDialog(hwnd);
    return self->focusSet_ ? FALSE : TRUE;
  }
  self = reinterpret_cast<ModelDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  return self->Handle(msg, wp, lp);
}

INT_PTR ModelDialog::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      int id = LOWORD(wp);
      if (ending_) return TRUE;
      if ((id == IDOK || id == IDCANCEL) && HIWORD(wp) == BN_CLICKED) {
        if (id == IDOK) {
          if (model_.OnOk()) {
            End(kIdOk);
          }
        } else {
          model_.OnCancel();
          End(kIdCancel);
        }
        AfterEvent();
        return TRUE;
      }
      if (auto ev = binder_.OnCommand(wp, lp)) {
        Forward(*ev);
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY:
      if (auto ev = binder_.OnNotify(*reinterpret_cast<NMHDR*>(lp))) Forward(*ev);
      return FALSE;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (auto ev = binder_.OnScroll(reinterpret_cast<HWND>(lp))) Forward(*ev);
      return FALSE;
    case ControlBinder::kDeferredSelectionMessage:
      if (auto ev = binder_.OnDeferredSelection(wp)) Forward(*ev);
      return TRUE;
    case WM_TIMER:
      model_.OnTimer(static_cast<int>(wp));
      AfterEvent();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = binder_.OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<INT_PTR>(brush);
      return FALSE;
    case WM_CLOSE:
      if (modal_) return FALSE;  // the dialog manager turns it into IDCANCEL
      if (!ending_) {
        // The close box of a modeless dialog is its Cancel.
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, IDCANCEL)));
        return TRUE;
      }
      DestroyWindow(hwnd_);
      return TRUE;
    case WM_NCDESTROY: {
      HWND gone = hwnd_;
      (void)gone;
      binder_.Detach();
      UnregisterView(this);
      hwnd_ = nullptr;
      bool wasModeless = !modal_;
      int result = ending_ ? result_ : kIdCancel;
      ending_ = false;
      SetWindowLongPtrW(gone, DWLP_USER, 0);
      // Last: the callback may delete this object.
      if (wasModeless && onClosed) {
        auto cb = onClosed;
        cb(result);
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace vx
