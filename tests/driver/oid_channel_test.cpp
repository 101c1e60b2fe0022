#include "driver/oid_channel.h"

#include <gtest/gtest.h>

#include "driver/oid_codes.h"
#include "fakes/fake_device.h"
#include "fakes/virtual_clock.h"

namespace vx {
namespace {

const std::string kPath = "\\\\.\\{AAAA}";

struct ChannelTest : ::testing::Test {
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::Station};
  std::vector<uint64_t> attemptTimes;
  int failuresLeft = 1000;

  void SetUp() override {
    device.openable[kPath] = true;
    channel.SetDevicePath(kPath);
    device.handler = [this](const FakeDevice::Request&, std::span<uint8_t>, uint32_t&) {
      attemptTimes.push_back(clock.Now());
      return failuresLeft-- <= 0;
    };
  }
};

TEST_F(ChannelTest, FailingSetIsTriedAtZeroFiveHundredAndThousandMsThenDropped) {
  uint8_t data[4] = {1, 0, 0, 0};
  uint32_t returned = 99;
  EXPECT_FALSE(channel.OidSetInformation(VX_OID_802_11_QUERY_RADIO, data, returned, 3));
  EXPECT_EQ(returned, 0u);
  ASSERT_EQ(channel.Pending().size(), 1u);
  EXPECT_EQ(channel.Pending()[0].oid, VX_OID_802_11_SET_RADIO);  // set bit added
  clock.Advance(5000);
  EXPECT_EQ(attemptTimes, (std::vector<uint64_t>{0, 500, 1000}));
  EXPECT_TRUE(channel.Pending().empty());
  EXPECT_EQ(clock.ActiveTimers(), 0u);
  // Every request opened and closed the device.
  EXPECT_EQ(device.opens, 3);
  EXPECT_EQ(device.closes, 3);
}

TEST_F(ChannelTest, RetryThatSucceedsIsNotReportedToTheCaller) {
  failuresLeft = 1;
  uint8_t data[4] = {};
  EXPECT_FALSE(channel.Set(OID_802_11_RTS_THRESHOLD, data));
  clock.Advance(500);
  EXPECT_EQ(attemptTimes.size(), 2u);
  EXPECT_TRUE(channel.Pending().empty());
  clock.Advance(2000);
  EXPECT_EQ(attemptTimes.size(), 2u);  // nothing further once delivered
}

TEST_F(ChannelTest, SingleAttemptStartsNoTimer) {
  uint8_t data[4] = {};
  EXPECT_FALSE(channel.Set(OID_802_11_ADD_KEY_SET, data, 1));
  EXPECT_TRUE(channel.Pending().empty());
  EXPECT_EQ(clock.ActiveTimers(), 0u);
}

TEST_F(ChannelTest, UnopenableDeviceOnTickAbandonsEveryPendingSet) {
  uint8_t a[4] = {}, b[8] = {};
  channel.Set(OID_802_11_RTS_THRESHOLD, a);
  channel.Set(OID_802_11_FRAGMENTATION_THRESHOLD, b);
  ASSERT_EQ(channel.Pending().size(), 2u);
  device.openable[kPath] = false;
  clock.Advance(500);
  EXPECT_TRUE(channel.Pending().empty());
  EXPECT_EQ(clock.ActiveTimers(), 0u);
  EXPECT_EQ(attemptTimes.size(), 2u);  // only the two first attempts reached the driver
}

TEST_F(ChannelTest, ZeroLengthSetIsQueuedWithoutBlockInStationAndRetried) {
  uint32_t returned = 0;
  EXPECT_FALSE(channel.OidSetInformation(OID_802_11_BSSID_LIST_SCAN, {}, returned, 3));
  ASSERT_EQ(channel.Pending().size(), 1u);
  EXPECT_FALSE(channel.Pending()[0].hasBlock);
  clock.Advance(500);
  ASSERT_EQ(device.requests.size(), 2u);
  EXPECT_TRUE(device.requests[1].nullBuffer);
  EXPECT_EQ(device.requests[1].oid, OID_802_11_BSSID_LIST_SCAN | kOidSetBit);
}

TEST_F(ChannelTest, AccessPointVariantKeepsABlockForZeroLength) {
  OidChannel ap(device, clock, Program::AccessPoint);
  ap.SetDevicePath(kPath);
  uint32_t returned = 0;
  ap.OidSetInformation(VX_OID_802_11_SET_RESET_COUNTERS, {}, returned, 3);
  ASSERT_EQ(ap.Pending().size(), 1u);
  EXPECT_TRUE(ap.Pending()[0].hasBlock);
}

TEST_F(ChannelTest, RetriedDataIsTheChannelsOwnCopy) {
  std::vector<uint8_t> data = {7, 0, 0, 0};
  channel.Set(OID_802_11_RTS_THRESHOLD, std::span<uint8_t>(data));
  data[0] = 9;  // the caller reuses its buffer
  clock.Advance(500);
  ASSERT_EQ(device.requests.size(), 2u);
  EXPECT_EQ(device.requests[1].data[0], 7);
}

// Keeps the callbacks so a test can deliver a tick the system would still have queued.
struct CapturingTimers : TimerPort {
  std::vector<Callback> callbacks;
  std::vector<TimerId> killed;
  TimerId Start(uint32_t, Callback cb) override {
    callbacks.push_back(std::move(cb));
    return static_cast<TimerId>(callbacks.size());
  }
  void Kill(TimerId id) override { killed.push_back(id); }
};

TEST(ChannelTicks, TickOfTimerWhoseRecordIsGoneOnlyKillsIt) {
  FakeDevice device;
  device.openable[kPath] = true;
  int calls = 0;
  device.handler = [&](const FakeDevice::Request&, std::span<uint8_t>, uint32_t&) { return calls++ > 0; };
  CapturingTimers timers;
  OidChannel channel(device, timers, Program::Station);
  channel.SetDevicePath(kPath);
  uint8_t data[4] = {};
  channel.Set(OID_802_11_RTS_THRESHOLD, data);
  ASSERT_EQ(timers.callbacks.size(), 1u);
  timers.callbacks[0](1);  // delivered
  EXPECT_TRUE(channel.Pending().empty());
  EXPECT_EQ(timers.killed, std::vector<TimerId>{1});
  timers.callbacks[0](1);  // a late tick of the same timer
  EXPECT_EQ(calls, 2);     // no further request
  EXPECT_EQ(timers.killed, (std::vector<TimerId>{1, 1}));
}

TEST_F(ChannelTest, TwoFailingSetsRetryIndependently) {
  failuresLeft = 2;  // both first attempts fail, both retries succeed
  uint8_t a[4] = {1}, b[4] = {2};
  channel.Set(OID_802_11_RTS_THRESHOLD, a);
  channel.Set(OID_802_11_FRAGMENTATION_THRESHOLD, b);
  EXPECT_NE(channel.Pending()[0].timerId, channel.Pending()[1].timerId);
  clock.Advance(500);
  EXPECT_TRUE(channel.Pending().empty());
  EXPECT_EQ(device.requests.size(), 4u);
}

TEST_F(ChannelTest, EmptyPathFailsEverything) {
  channel.SetDevicePath("");
  uint8_t data[4] = {};
  uint32_t returned = 5;
  EXPECT_FALSE(channel.OidQueryInformation(OID_GEN_RCV_OK, data, returned));
  EXPECT_EQ(returned, 5u);  // left as it was when the open fails
  EXPECT_FALSE(channel.Set(OID_802_11_RTS_THRESHOLD, data));
  EXPECT_TRUE(channel.Pending().empty());
  EXPECT_FALSE(channel.IsReachable());
}

TEST_F(ChannelTest, QueryNeverRetriesAndSendsTheCodeUnchanged) {
  uint8_t data[4] = {};
  EXPECT_FALSE(channel.Query(OID_GEN_RCV_OK, data));
  clock.Advance(2000);
  ASSERT_EQ(device.requests.size(), 1u);
  EXPECT_EQ(device.requests[0].oid, OID_GEN_RCV_OK);
  EXPECT_EQ(device.requests[0].ioctl, kIoctlNdisQueryGlobalStats);
}

TEST_F(ChannelTest, Kind10SetLeavesCallersBufferUntouched) {
  failuresLeft = 0;
  device.handler = [](const FakeDevice::Request&, std::span<uint8_t> out, uint32_t& returned) {
    if (!out.empty()) out[0] = 0xEE;  // a driver that writes into a set's buffer
    returned = 4;
    return true;
  };
  uint8_t data[4] = {1, 2, 3, 4};
  channel.SetOsKind(10);
  EXPECT_TRUE(channel.Set(OID_802_11_RTS_THRESHOLD, data));
  EXPECT_EQ(data[0], 1);
  channel.SetOsKind(8);
  EXPECT_TRUE(channel.Set(OID_802_11_RTS_THRESHOLD, data));
  EXPECT_EQ(data[0], 0xEE);  // other kinds pass the caller's buffer straight through
}

TEST_F(ChannelTest, StartFailureOfRetryTimerQueuesNothing) {
  clock.FailNextStart();
  uint8_t data[4] = {};
  EXPECT_FALSE(channel.Set(OID_802_11_RTS_THRESHOLD, data));
  EXPECT_TRUE(channel.Pending().empty());
}

}  // namespace
}  // namespace vx
