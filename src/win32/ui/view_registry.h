// The live views of the UI thread: after any event (or any timer tick that may have changed a
// model) every view copies its model again, so a change one model makes to another shows at once.
// Also lets modeless dialogs and sheets see their keyboard messages inside modal loops.
#pragma once
#include <windows.h>

#include "platform/timer.h"

namespace vx {

class LiveView {
 public:
  virtual ~LiveView() = default;
  // Copies model state to the controls and honours the model's close and focus requests.
  virtual void Refresh() = 0;
  // Dialog keyboard handling (tab, arrows, default button) for a modeless window.
  virtual bool PreTranslate(MSG& /*msg*/) { return false; }
};

void RegisterView(LiveView* view);
void UnregisterView(LiveView* view);
void RefreshViews();
bool PreTranslateViews(MSG& msg);

// While it exists, modal loops of this thread (dialog boxes, message boxes, menus) pass their
// messages to the modeless views first.
class ModelessKeyboardScope {
 public:
  ModelessKeyboardScope();
  ~ModelessKeyboardScope();
  ModelessKeyboardScope(const ModelessKeyboardScope&) = delete;
  ModelessKeyboardScope& operator=(const ModelessKeyboardScope&) = delete;

 private:
  HHOOK hook_ = nullptr;
};

// A timer port that refreshes the views after each tick, for models whose timers change state.
class RefreshingTimers : public TimerPort {
 public:
  explicit RefreshingTimers(TimerPort& inner) : inner_(inner) {}
  TimerId Start(uint32_t periodMs, Callback onTick) override;
  void Kill(TimerId id) override { inner_.Kill(id); }

 private:
  TimerPort& inner_;
};

}  // namespace vx
