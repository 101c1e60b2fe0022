// Copies a model's control states to the controls of one dialog window, only where they changed
// since the last copy, and copies the user's changes back before the event is forwarded.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "common/ui/dialog_model.h"

namespace vx {

// A control event the view forwards to the model's OnCommand.
struct ControlEvent {
  int id = 0;
  UiEvent event = UiEvent::Clicked;
};

class ControlBinder {
 public:
  ControlBinder(HINSTANCE module, DialogModel& model) : module_(module), model_(model) {}
  ~ControlBinder() {
    for (HANDLE b : ownedBitmaps_) DeleteObject(b);
  }
  ControlBinder(const ControlBinder&) = delete;
  ControlBinder& operator=(const ControlBinder&) = delete;

  void Attach(HWND dialog);
  void Detach() { dialog_ = nullptr; }
  HWND Dialog() const { return dialog_; }

  // Model -> controls. On the first copy, empty text, no items, rows or columns, image 0 and
  // read-only off leave what the dialog template gave the control.
  void Apply();

  // Controls -> model, for the notifications the models hear. Returns the event to forward, or
  // nothing when the message is not one (or arrived while the binder itself changed a control).
  std::optional<ControlEvent> OnCommand(WPARAM wp, LPARAM lp);
  std::optional<ControlEvent> OnNotify(const NMHDR& hdr);
  std::optional<ControlEvent> OnScroll(HWND control);
  // The host passes kDeferredSelectionMessage (posted to the dialog by the binder) here.
  std::optional<ControlEvent> OnDeferredSelection(WPARAM controlId);
  static constexpr UINT kDeferredSelectionMessage = WM_APP + 0x52;

  // For WM_CTLCOLORSTATIC: a brush when the model gives the label a text colour, else null.
  HBRUSH OnCtlColorStatic(HDC dc, HWND control);

  // Whether a static's text is wider than the static (it then ends in an ellipsis).
  static bool TextCut(HWND label);

 private:
  void ApplyControl(int id, HWND hwnd, const ControlState& s, const ControlState* prev);
  void ApplyList(HWND hwnd, const ControlState& s, const ControlState* prev);
  void ApplyImage(HWND hwnd, uint32_t imageId);
  HANDLE BitmapOnBackground(HWND hwnd, uint32_t imageId);
  void ApplyImageList(HWND list, const std::vector<uint32_t>& icons);
  void TellListWidths();
  void ApplyGrowth();
  void AddEllipsisTips();
  bool AnswerTip(const NMHDR& hdr);
  void SyncRadios();
  ControlState* ModelState(int id);
  ControlState& AppliedState(int id) { return applied_[id]; }

  HINSTANCE module_;
  DialogModel& model_;
  HWND dialog_ = nullptr;
  bool applying_ = false;
  std::map<int, ControlState> applied_;  // what the controls were last given
  std::set<int> measuredLists_;  // lists whose width the model has been told
  int appliedGrowth_ = 0;         // pixels the dialog has grown by
  std::set<HANDLE> ownedBitmaps_;  // bitmaps made for picture statics
  HWND tips_ = nullptr;            // the tips of the labels that end in an ellipsis
  std::wstring tipText_;           // the text the last tip shows
};

}  // namespace vx
