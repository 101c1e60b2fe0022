// A dialog from a template resource, bound to a DialogModel: the view copies the model's control
// states to the controls and forwards the user's actions; the model decides everything.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "common/ui/dialog_model.h"
#include "win32/ui/bitmap_button.h"
#include "win32/ui/control_binder.h"
#include "win32/ui/view_registry.h"

namespace vx {

class ModelDialog : public LiveView {
 public:
  // `module` holds the template (the model's TemplateId) and the images the model names.
  ModelDialog(HINSTANCE module, DialogModel& model);
  ~ModelDialog() override;
  ModelDialog(const ModelDialog&) = delete;
  ModelDialog& operator=(const ModelDialog&) = delete;

  // Runs the dialog modally; returns the close result (kIdOk, kIdCancel, or the model's own), or
  // -1 when the template cannot be loaded.
  int RunModal(HWND owner);
  // Creates the dialog modelessly and shows it. False when it cannot be created or already exists.
  bool CreateModeless(HWND owner);
  // Ends the dialog as if the model had asked to close with `result`.
  void Close(int result);

  HWND Hwnd() const { return hwnd_; }
  DialogModel& Model() { return model_; }

  // Copies the model to the controls now (after the model changed outside any event).
  void Refresh() override;
  bool PreTranslate(MSG& msg) override;

  // Turns control `id` of the template into a bitmap button (its image comes from the model).
  void UseBitmapButton(int id, BitmapButtonLook look = BitmapButtonLook::Flat);
  // Window timers whose WM_TIMER reaches the model's OnTimer.
  bool StartTimer(int id, UINT periodMs);
  void StopTimer(int id);

  // Called once a modeless dialog has gone, with its close result (the window no longer exists).
  std::function<void(int result)> onClosed;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
  void OnInitDialog(HWND hwnd);
  void Forward(const ControlEvent& ev);
  void AfterEvent();
  void End(int result);

  HINSTANCE module_;
  DialogModel& model_;
  ControlBinder binder_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  bool ending_ = false;
  int result_ = 0;
  bool focusSet_ = false;
  std::vector<std::pair<int, BitmapButtonLook>> bitmapButtons_;
};

}  // namespace vx
