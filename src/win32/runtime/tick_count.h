// A 64-bit millisecond count built from the 32-bit one that wraps every 49.7 days, for systems
// whose kernel32 has no GetTickCount64 (Windows 2000 and XP).
#pragma once
#include <atomic>
#include <cstdint>

namespace vx {

// last holds the value returned before (0 at first). Readings that arrive out of order from
// racing threads never move the count back, nor forward by a whole wrap: a step counts only when
// it is under 2^31 ms (24.8 days), so the count stays right as long as something asks at least
// that often. A count first asked for after a wrap starts from the wrapped value; it still only
// grows, which is all its users (timed waits) need.
inline uint64_t ExtendTickCount(std::atomic<uint64_t>& last, uint32_t now) {
  uint64_t seen = last.load(std::memory_order_relaxed);
  for (;;) {
    uint64_t next = seen;
    if (seen == 0) {
      next = now;
    } else {
      const uint32_t step = now - static_cast<uint32_t>(seen);
      if (step < 0x80000000u) next = seen + step;
    }
    if (next == seen || last.compare_exchange_weak(seen, next, std::memory_order_relaxed)) return next;
  }
}

}  // namespace vx
