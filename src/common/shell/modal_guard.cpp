#include "common/shell/modal_guard.h"

#include <algorithm>

namespace vx {

ModalGuard::ModalGuard(DialogPort& inner, TimerPort& timers, std::function<void(Action)> run)
    : dialogs_(*this, inner), timers_(timers), run_(std::move(run)) {}

ModalGuard::~ModalGuard() { KillTimer(); }

int ModalGuard::BusyDialogs::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  Scope busy(guard_);
  return inner_.MessageBox(text, caption, flags);
}

int ModalGuard::BusyDialogs::RunModal(DialogModel& model) {
  Scope busy(guard_);
  return inner_.RunModal(model);
}

void ModalGuard::Defer(Action action) {
  pending_ = std::max(pending_, static_cast<int>(action));
  if (!Busy() && timer_ == 0) timer_ = timers_.Start(kDeferredMs, [this](TimerId) { RunDeferred(); });
}

void ModalGuard::Stop() {
  KillTimer();
  pending_ = kNone;
}

void ModalGuard::Leave() {
  if (--depth_ > 0 || !Deferred() || timer_ != 0) return;
  // Not here: the page that opened the dialog is still inside its handler. The timer runs the
  // action from the message loop once that handler has returned.
  timer_ = timers_.Start(kDeferredMs, [this](TimerId) { RunDeferred(); });
}

void ModalGuard::KillTimer() {
  timers_.Kill(timer_);
  timer_ = 0;
}

void ModalGuard::RunDeferred() {
  KillTimer();
  if (Busy() || !Deferred()) return;  // another loop opened first; its end arms the timer again
  const Action action = static_cast<Action>(pending_);
  pending_ = kNone;
  run_(action);
}

}  // namespace vx
