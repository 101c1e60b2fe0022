// Timer port: periodic timers on the UI thread, with identifiers chosen by the system.
#pragma once
#include <cstdint>
#include <functional>

namespace vx {

using TimerId = uint32_t;  // 0 is never a valid identifier

class TimerPort {
 public:
  using Callback = std::function<void(TimerId)>;
  virtual ~TimerPort() = default;
  // Fires `onTick` every `periodMs` until killed; returns 0 on failure.
  virtual TimerId Start(uint32_t periodMs, Callback onTick) = 0;
  // Killing an unknown or already killed timer is harmless.
  virtual void Kill(TimerId id) = 0;
};

}  // namespace vx
