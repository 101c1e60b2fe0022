// A page's numbered timers (1, 101, 104, ...) over the timer port, whose identifiers the system
// chooses. Every tick reaches one handler with the page's own number.
#pragma once
#include <cstdint>
#include <functional>
#include <map>

#include "platform/timer.h"

namespace vx {

class PageTimers {
 public:
  using Handler = std::function<void(int id)>;
  PageTimers(TimerPort& timers, Handler onTick) : timers_(timers), onTick_(std::move(onTick)) {}
  ~PageTimers() { StopAll(); }
  PageTimers(const PageTimers&) = delete;
  PageTimers& operator=(const PageTimers&) = delete;

  // Starting a running timer starts it over with the new period.
  void Start(int id, uint32_t periodMs) {
    Stop(id);
    TimerId t = timers_.Start(periodMs, [this, id](TimerId) { onTick_(id); });
    if (t != 0) running_[id] = t;
  }
  void Stop(int id) {
    auto it = running_.find(id);
    if (it == running_.end()) return;
    timers_.Kill(it->second);
    running_.erase(it);
  }
  void StopAll() {
    for (auto& [id, t] : running_) timers_.Kill(t);
    running_.clear();
  }
  bool Running(int id) const { return running_.count(id) != 0; }

 private:
  TimerPort& timers_;
  Handler onTick_;
  std::map<int, TimerId> running_;
};

}  // namespace vx
