// What the hidden main dialogs of both utilities share about modal loops. Every box, dialog and
// sheet of a utility runs through Dialogs(), which holds the shell busy meanwhile (ticks, tray
// clicks and Launch wait). A page waiting in a modal loop still uses itself and its sheet when
// the loop returns; so Exit, the hand-over to the other mode and the sheet's closing asked for
// while busy are only remembered, and a short timer carries out the weightiest of them from the
// message loop once the last loop has returned and the handler that opened it has finished.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/timer.h"
#include "platform/ui.h"

namespace vx {

class ModalGuard {
 public:
  // In rising weight: the hand-over and Exit close the sheet too.
  enum class Action { CloseSheet, Exit, HandOver };
  static constexpr uint32_t kDeferredMs = 10;

  ModalGuard(DialogPort& inner, TimerPort& timers, std::function<void(Action)> run);
  ~ModalGuard();
  ModalGuard(const ModalGuard&) = delete;
  ModalGuard& operator=(const ModalGuard&) = delete;

  // The dialog port to hand to the pages and the shell's own dialogs.
  DialogPort& Dialogs() { return dialogs_; }
  bool Busy() const { return depth_ > 0; }
  bool Deferred() const { return pending_ != kNone; }
  // Remembers `action` to be carried out once no loop runs.
  void Defer(Action action);
  // Forgets what was remembered (the utility ends).
  void Stop();

  // Busy for a scope outside a dialog (an adapter choice, parts of the adapter's start).
  class Scope {
   public:
    explicit Scope(ModalGuard& guard) : guard_(guard) { ++guard_.depth_; }
    ~Scope() { guard_.Leave(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    ModalGuard& guard_;
  };

 private:
  class BusyDialogs : public DialogPort {
   public:
    BusyDialogs(ModalGuard& guard, DialogPort& inner) : guard_(guard), inner_(inner) {}
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
    int RunModal(DialogModel& model) override;

   private:
    ModalGuard& guard_;
    DialogPort& inner_;
  };
  static constexpr int kNone = -1;

  void Leave();
  void RunDeferred();
  void KillTimer();

  BusyDialogs dialogs_;
  TimerPort& timers_;
  std::function<void(Action)> run_;
  int depth_ = 0;
  int pending_ = kNone;  // the weightiest action remembered
  TimerId timer_ = 0;
};

}  // namespace vx
