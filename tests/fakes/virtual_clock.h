// Timers driven by a clock that only moves when a test advances it.
#pragma once
#include <cstdint>
#include <map>

#include "platform/timer.h"

namespace vx {

class VirtualClock : public TimerPort {
 public:
  TimerId Start(uint32_t periodMs, Callback onTick) override;
  void Kill(TimerId id) override;

  // Moves time forward, firing every due tick in time order (ties in order of creation).
  void Advance(uint64_t ms);
  uint64_t Now() const { return now_; }
  size_t ActiveTimers() const { return timers_.size(); }
  bool IsActive(TimerId id) const { return timers_.count(id) != 0; }
  // Make the next Start fail, as SetTimer can.
  void FailNextStart() { failNext_ = true; }

 private:
  struct Timer {
    uint32_t period;
    uint64_t due;
    Callback callback;
  };
  std::map<TimerId, Timer> timers_;
  uint64_t now_ = 0;
  TimerId nextId_ = 1;
  bool failNext_ = false;
};

}  // namespace vx
