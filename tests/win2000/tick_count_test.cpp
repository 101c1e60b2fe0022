// The 64-bit tick count that stands in for GetTickCount64 where kernel32 lacks it.
#include "win32/runtime/tick_count.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(TickCountTest, FollowsTheSystemCountAndCarriesOverItsWrap) {
  // Asked at least every 24.8 days, as the runtime's timed waits do.
  std::atomic<uint64_t> last{0};
  EXPECT_EQ(ExtendTickCount(last, 1000), 1000u);
  EXPECT_EQ(ExtendTickCount(last, 1000), 1000u);
  EXPECT_EQ(ExtendTickCount(last, 0x7FFFFF00u), 0x7FFFFF00u);
  EXPECT_EQ(ExtendTickCount(last, 0xF0000000u), 0xF0000000u);
  EXPECT_EQ(ExtendTickCount(last, 0xFFFFFF00u), 0xFFFFFF00u);
  // The 32-bit count wraps after 49.7 days; the 64-bit one goes on.
  EXPECT_EQ(ExtendTickCount(last, 0x10), 0x100000010u);
  EXPECT_EQ(ExtendTickCount(last, 0x70000000u), 0x170000000u);
  EXPECT_EQ(ExtendTickCount(last, 0xE0000000u), 0x1E0000000u);
  EXPECT_EQ(ExtendTickCount(last, 5), 0x200000005u);
}

TEST(TickCountTest, AReadingOlderThanTheLastNeverMovesItBackNorAWholeWrapForward) {
  // Another thread stored a later reading before this one got through.
  std::atomic<uint64_t> last{0};
  ExtendTickCount(last, 5000);
  EXPECT_EQ(ExtendTickCount(last, 4990), 5000u);
  EXPECT_EQ(ExtendTickCount(last, 5010), 5010u);
  // Just across the wrap, the same holds.
  std::atomic<uint64_t> wrapped{0x100000004u};
  EXPECT_EQ(ExtendTickCount(wrapped, 0xFFFFFFFEu), 0x100000004u);
}

TEST(TickCountTest, TheFirstReadingIsTakenAsItIsEvenLateInTheCount) {
  // A system up for more than 24.8 days before the first call.
  std::atomic<uint64_t> last{0};
  EXPECT_EQ(ExtendTickCount(last, 0xF0000000u), 0xF0000000u);
  EXPECT_EQ(ExtendTickCount(last, 0xF0000400u), 0xF0000400u);
}

}  // namespace
}  // namespace vx
