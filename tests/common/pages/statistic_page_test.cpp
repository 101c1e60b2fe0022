// The statistics page: its ten rows from the driver's counters, and "Reset Counter".
#include "common/pages/statistic_page.h"

#include <gtest/gtest.h>

#include "common/pages/oid_script.h"
#include "driver/records.h"
#include "resources/strings/string_tables.h"
#include "sim/adapter/virtual_adapter.h"

namespace vx {
namespace {

std::vector<std::string> Values(CStatisticPage& page) {
  std::vector<std::string> v;
  for (int row = 0; row < st::kRowCount; ++row) v.push_back(page.Control(st::Value(row)).text);
  return v;
}

class Statistics : public ::testing::Test {
 protected:
  OidScript s;
  CStatisticPage page{s.channel, s.clock, EnglishStrings()};
  void SetUp() override { page.OnInit(); }
};

TEST_F(Statistics, RowsInDialogOrderWithSixtyFourBitCounters) {
  StatisticsRecord r;
  r.transmittedFragmentCount = 10;
  r.retryCount = 3;
  r.failedCount = (1ull << 32) + 5;
  r.rtsSuccessCount = 0x0123456789ABCDEFull;
  r.rtsFailureCount = 6;
  r.fcsErrorCount = 7;
  r.frameDuplicateCount = 8;
  r.receivedFragmentCount = 99;  // not shown: the receive row comes from OID_GEN_RCV_OK
  s.answers[OID_802_11_STATISTICS] = EncodeStatistics(r);
  s.U32(OID_GEN_RCV_OK, 4000000000u);
  s.U32(OID_GEN_RCV_NO_BUFFER, 9);
  page.Refresh();
  EXPECT_EQ(Values(page), (std::vector<std::string>{"10", "7", "3", "4294967301", "81985529216486895", "6",
                                                    "4000000000", "7", "9", "8"}));
  EXPECT_EQ(page.Control(st::Label(1)).text, "Frames Transmitted Successfully  Without Retry");
  EXPECT_EQ(page.Control(st::Label(0)).text, "Frames Transmitted Successfully ");
  EXPECT_EQ(page.Control(st::kReset).text, "&Reset Counter");
  EXPECT_EQ(page.Control(st::kReceiveGroup).text, "Receive Statistics");
}

TEST_F(Statistics, FailedQueriesShowZeroes) {
  page.Refresh();
  EXPECT_EQ(Values(page), std::vector<std::string>(10, "0"));
}

TEST_F(Statistics, ResetShowsZeroesThenWhatTheDriverReports) {
  StatisticsRecord r;
  r.transmittedFragmentCount = 50;
  s.answers[OID_802_11_STATISTICS] = EncodeStatistics(r);
  page.OnSetActive();
  s.clock.Advance(2000);
  EXPECT_EQ(page.Control(st::Value(0)).text, "50");

  page.OnCommand(st::kReset, UiEvent::Clicked);
  EXPECT_EQ(Values(page), std::vector<std::string>(10, "0"));
  auto sets = s.Sets(VX_OID_802_11_SET_RESET_COUNTERS);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_TRUE(sets[0].data.empty());

  s.clock.Advance(2000);
  EXPECT_EQ(page.Control(st::Value(0)).text, "50");
  page.OnKillActive();
  EXPECT_EQ(s.clock.ActiveTimers(), 0u);
}

TEST(StatisticsSim, ResetReachesTheAdapter) {
  sim::VirtualAdapter adapter{sim::PciAdapterHardware()};
  VirtualClock clock;
  OidChannel channel{adapter, clock, Program::Station};
  channel.SetDevicePath(adapter.DevicePath());
  channel.SetU32(OID_802_11_INFRASTRUCTURE_MODE, kInfraInfrastructure);
  channel.Set(OID_802_11_SSID, EncodeSsid(SsidRecord::From("Arventa-AP")));
  adapter.Tick(5);

  CStatisticPage page{channel, clock, EnglishStrings()};
  page.OnInit();
  page.Refresh();
  EXPECT_NE(page.Control(st::Value(0)).text, "0");
  page.ResetCounters();
  page.Refresh();
  EXPECT_EQ(page.Control(st::Value(0)).text, "0");
  bool sawReset = false;
  for (const auto& e : adapter.OidLog()) sawReset |= e.oid == VX_OID_802_11_SET_RESET_COUNTERS && e.ok;
  EXPECT_TRUE(sawReset);
}

}  // namespace
}  // namespace vx
