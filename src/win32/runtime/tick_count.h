// A 64-bit millisecond count built from the 32-bit one that wraps every 49.7 days, for systems
// whose kernel32 has no GetTickCount64 (Windows 2000 and XP).
#pragma once
#include <atomic>
#include <cstdint>
#include <thread>

namespace vx {

// Each reading is taken under the lock, so it is never earlier than the one before it: a smaller
// value can only mean the 32-bit count wrapped. The count is then right for any gap between two
// readings shorter than a whole wrap (49.7 days); a longer silence loses whole wraps, which
// shifts the count but never stops it nor moves it back.
class TickCount64 {
 public:
  // `read32` returns the system's 32-bit count.
  template <typename Read>
  uint64_t Now(Read read32) {
    // A spin lock: the section is a few instructions, and a mutex of the thread runtime could
    // itself ask for this count.
    while (busy_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    const uint32_t now = read32();
    if (now < low_) high_ += uint64_t{1} << 32;
    low_ = now;
    const uint64_t count = high_ | now;
    busy_.clear(std::memory_order_release);
    return count;
  }

 private:
  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  uint32_t low_ = 0;
  uint64_t high_ = 0;
};

}  // namespace vx
