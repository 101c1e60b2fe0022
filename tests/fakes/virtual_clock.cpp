#include "fakes/virtual_clock.h"

namespace vx {

TimerId VirtualClock::Start(uint32_t periodMs, Callback onTick) {
  if (failNext_) {
    failNext_ = false;
    return 0;
  }
  TimerId id = nextId_++;
  timers_[id] = Timer{periodMs == 0 ? 1 : periodMs, now_ + (periodMs == 0 ? 1 : periodMs), std::move(onTick)};
  return id;
}

void VirtualClock::Kill(TimerId id) { timers_.erase(id); }

void VirtualClock::Advance(uint64_t ms) {
  uint64_t end = now_ + ms;
  for (;;) {
    TimerId next = 0;
    uint64_t due = end + 1;
    for (const auto& [id, t] : timers_) {
      if (t.due < due) {
        due = t.due;
        next = id;
      }
    }
    if (next == 0) break;
    now_ = due;
    Timer& t = timers_[next];
    t.due += t.period;
    Callback cb = t.callback;  // the callback may kill its own timer
    cb(next);
  }
  now_ = end;
}

}  // namespace vx
