// The 64-bit tick count that stands in for GetTickCount64 where kernel32 lacks it, over a fake
// 32-bit system count: the low 32 bits of the real time.
#include "win32/runtime/tick_count.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx {
namespace {

constexpr uint64_t kDay = 24ull * 3600 * 1000;

TEST(TickCountTest, FollowsTheRealTimeForEveryGapAcrossSeveralWraps) {
  // The first reading is taken as it is, even late in the count (a system up for weeks).
  const struct {
    uint64_t start, gap;
  } cases[] = {
      {1000, 1}, {0xFFFFFF00u, 1}, {1000, 25 * kDay}, {0xF0000000u, 25 * kDay}, {0xFFFFF000u, 49 * kDay}};
  for (const auto& c : cases) {
    TickCount64 ticks;
    for (uint64_t real = c.start; real < c.start + 5 * (1ull << 32);
         real += c.gap == 1 ? 0x3FFFFFFFu : c.gap) {
      ASSERT_EQ(ticks.Now([&] { return static_cast<uint32_t>(real); }), real) << c.start << "+" << c.gap;
      if (c.gap == 1) {
        ASSERT_EQ(ticks.Now([&] { return static_cast<uint32_t>(real + 1); }), real + 1);
      }
    }
  }
}

TEST(TickCountTest, ReadersOnManyThreadsNeverSeeTheCountGoBack) {
  TickCount64 ticks;
  std::atomic<uint64_t> real{0xFFFF0000u};
  auto source = [&] { return static_cast<uint32_t>(real.fetch_add(7)); };
  std::atomic<bool> backwards{false};
  std::vector<std::thread> readers;
  for (int t = 0; t < 4; ++t)
    readers.emplace_back([&] {
      for (uint64_t i = 0, last = 0, now; i < 20000; ++i, last = now)
        if ((now = ticks.Now(source)) < last) backwards = true;
    });
  for (auto& r : readers) r.join();
  EXPECT_FALSE(backwards);
  const uint64_t last = ticks.Now(source);
  EXPECT_EQ(last, real.load() - 7);
}

}  // namespace
}  // namespace vx
