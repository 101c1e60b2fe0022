// The 64-bit tick count that stands in for GetTickCount64 where kernel32 lacks it, over a fake
// 32-bit system count.
#include "win32/runtime/tick_count.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace vx {
namespace {

constexpr uint64_t kDay = 24ull * 3600 * 1000;

// The system's count: the low 32 bits of the real time since start.
struct FakeSystemCount {
  uint64_t real = 0;
  uint32_t operator()() const { return static_cast<uint32_t>(real); }
};

TEST(TickCountTest, FollowsTheRealTimeForEveryGapAcrossSeveralWraps) {
  struct Case {
    const char* name;
    uint64_t start;
    uint64_t gap;
  } cases[] = {
      {"1 ms", 1000, 1},
      {"1 ms across the wrap", 0xFFFFFF00u, 1},
      {"25 days", 1000, 25 * kDay},
      {"25 days from late in the count", 0xF0000000u, 25 * kDay},
      {"49 days", 1000, 49 * kDay},
      {"49 days from late in the count", 0xFFFFF000u, 49 * kDay},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TickCount64 ticks;
    FakeSystemCount count{c.start};
    // The first reading is taken as it is, even late in the count.
    ASSERT_EQ(ticks.Now(count), c.start);
    while (count.real < c.start + 5 * (1ull << 32)) {  // five wraps at least
      count.real += c.gap;
      ASSERT_EQ(ticks.Now(count), count.real) << "after " << count.real / kDay << " days";
      if (c.gap == 1) count.real += 0x3FFFFFFFu;  // 1 ms steps, in the four quarters of each wrap
    }
  }
}

TEST(TickCountTest, ReadersOnManyThreadsNeverSeeTheCountGoBack) {
  TickCount64 ticks;
  std::atomic<uint64_t> real{0xFFFF0000u};
  auto source = [&] { return static_cast<uint32_t>(real.fetch_add(7)); };
  std::vector<std::thread> readers;
  std::atomic<bool> backwards{false};
  for (int t = 0; t < 4; ++t)
    readers.emplace_back([&] {
      uint64_t last = 0;
      for (int i = 0; i < 20000; ++i) {
        uint64_t now = ticks.Now(source);
        if (now < last) backwards = true;
        last = now;
      }
    });
  for (auto& r : readers) r.join();
  EXPECT_FALSE(backwards);
  const uint64_t last = ticks.Now(source);
  EXPECT_EQ(last, real.load() - 7);
}

}  // namespace
}  // namespace vx
