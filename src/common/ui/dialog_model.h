// Base of every page and dialog model: the controls' state by control ID, the events a view
// forwards, and the requests a model makes of its view (close, focus).
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "common/ui/control_state.h"

namespace vx {

// Notification kinds a view forwards with OnCommand.
enum class UiEvent {
  Clicked,          // button, check box, radio button
  SelectionChanged, // combo box, list box, list view, track bar
  TextChanged,      // edit control, after the view copied the new text into the model
  DoubleClicked,    // list view row
  KillFocus,        // edit control lost focus
};

class DialogModel {
 public:
  virtual ~DialogModel() = default;

  // The dialog template the view creates.
  virtual uint32_t TemplateId() const = 0;
  // Called once the view exists; the model fills its controls here.
  virtual void OnInit() {}
  virtual void OnCommand(int /*controlId*/, UiEvent /*event*/) {}
  virtual void OnTimer(int /*timerId*/) {}
  // Property pages: shown and hidden. Returning false from OnKillActive keeps the page.
  virtual void OnSetActive() {}
  virtual bool OnKillActive() { return true; }
  // The client width in pixels of the report-view list `id`, told once its window exists and
  // before its columns are first shown; column widths that follow the list's width are set here.
  virtual void OnListWidth(int /*id*/, int /*pixels*/) {}
  // OK and Cancel. Returning false from OnOk keeps the dialog open.
  virtual bool OnOk() { return true; }
  virtual void OnCancel() {}

  ControlState& Control(int id) { return controls_[id]; }
  const std::map<int, ControlState>& Controls() const { return controls_; }
  std::map<int, ControlState>& MutableControls() { return controls_; }

  // Requests to the view, read and cleared by it after each event.
  void RequestClose(int result) {
    closeRequested_ = true;
    closeResult_ = result;
  }
  bool CloseRequested() const { return closeRequested_; }
  int CloseResult() const { return closeResult_; }
  // The view clears the request once it has closed, so the model can be shown again.
  void ClearCloseRequest() {
    closeRequested_ = false;
    closeResult_ = 0;
  }
  void RequestFocus(int id) { focusRequest_ = id; }
  int TakeFocusRequest() {
    int id = focusRequest_;
    focusRequest_ = 0;
    return id;
  }
  // A page's caption (its tab text), empty to keep the template's.
  std::string caption;
  // Pixels the view adds to the dialog's height; its controls follow their Anchor.
  int growHeight = 0;

 private:
  std::map<int, ControlState> controls_;
  bool closeRequested_ = false;
  int closeResult_ = 0;
  int focusRequest_ = 0;
};

}  // namespace vx
