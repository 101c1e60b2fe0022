// The event store's cap and shown count, and the two monitoring pages on their page timer.
#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "driver/oid_codes.h"
#include "resources/dialogs/ap_event_log_page.h"
#include "resources/dialogs/ap_mac_table_page.h"
#include "resources/strings/string_tables.h"
#include "softap/ap_fake_driver.h"
#include "softap/monitor/monitor_pages.h"

namespace vx {
namespace {

EventEntry Event(uint64_t second, uint16_t type, uint8_t last = 1) {
  return EventEntry{134411653230000000ULL + second * 10000000ULL, {0x00, 0x11, 0x22, 0x33, 0x44, last}, type};
}

TEST(ApEventStore, KeepsTheNewestHundredAndLowersTheShownCount) {
  ApEventStore store;
  std::vector<EventEntry> batch;
  for (uint64_t i = 0; i < 95; ++i) batch.push_back(Event(i, 1));
  store.Append(batch);
  store.SetShownCount(95);
  std::vector<EventEntry> more;
  for (uint64_t i = 95; i < 105; ++i) more.push_back(Event(i, 2));
  store.Append(more);
  ASSERT_EQ(store.Events().size(), 100u);
  EXPECT_EQ(store.Events().front().time, Event(5, 0).time);
  EXPECT_EQ(store.Events().back().time, Event(104, 0).time);
  EXPECT_EQ(store.ShownCount(), 90u);
}

TEST(ApEventStore, CollectReadsAtMostTenOfAClaimedCountAndStopsOnFailure) {
  test::ApFakeDriver drv;
  ByteWriter w;
  w.U32(40).U32(0);
  for (int i = 0; i < 10; ++i) w.U64(1000 + i).Bytes(std::vector<uint8_t>(6, 0x0A)).U16(1);
  drv.answers[VX_OID_802_11_QUERY_EVENT_TABLE] = w.Take();
  ApEventStore store;
  EXPECT_TRUE(store.Collect(drv.channel));
  EXPECT_EQ(store.Events().size(), 10u);
  drv.failing.push_back(VX_OID_802_11_QUERY_EVENT_TABLE);
  EXPECT_FALSE(store.Collect(drv.channel));
  EXPECT_EQ(store.Events().size(), 10u);
}

struct EventLogPageTest : ::testing::Test {
  VirtualClock clock;
  ApEventStore store;
  CEventLogPage page{store, clock, EnglishStrings(), FileTimeToUtcFields};
  std::vector<ListRow>& Rows() { return page.Control(kIdcElList).rows; }
};

TEST_F(EventLogPageTest, FillsAtTheFirstTickWithTimeAndMessage) {
  store.Append({Event(0, 1), Event(1, 0), Event(2, 9), Event(3, 5)});
  page.OnListWidth(kIdcElList, 437);  // told before the page fills its controls
  page.OnInit();
  EXPECT_EQ(page.Control(kIdcElList).listStyle, 0x421u);
  EXPECT_EQ(page.Control(kIdcElList).columns[0].width, 172);  // 43 x 4.0
  EXPECT_EQ(page.Control(kIdcElList).columns[1].width, 253);  // 43 x 5.9
  page.OnSetActive();
  EXPECT_TRUE(Rows().empty());
  clock.Advance(1999);
  EXPECT_TRUE(Rows().empty());
  clock.Advance(1);
  ASSERT_EQ(Rows().size(), 4u);
  EXPECT_EQ(Rows()[0].cells[0], "2026 / 12 / 08 - 01 : 02 : 03");
  EXPECT_EQ(Rows()[0].cells[1], " 00-11-22-33-44-01 associated");
  EXPECT_EQ(Rows()[1].cells[1], "Restart Access Point");
  EXPECT_EQ(Rows()[2].cells[1], "");
  EXPECT_EQ(Rows()[3].cells[1], " 00-11-22-33-44-01 associated with invalid PSK password");
  EXPECT_EQ(store.ShownCount(), 4u);
  clock.Advance(2000);
  EXPECT_EQ(Rows().size(), 4u);  // nothing new, nothing repeated
  EXPECT_TRUE(page.OnKillActive());
  EXPECT_EQ(clock.ActiveTimers(), 0u);
}

TEST_F(EventLogPageTest, NeverMoreThanAHundredRowsAndClearEmptiesBoth) {
  page.OnInit();
  page.OnSetActive();
  for (int batch = 0; batch < 11; ++batch) {
    std::vector<EventEntry> events;
    for (int i = 0; i < (batch == 10 ? 5 : 10); ++i) events.push_back(Event(static_cast<uint64_t>(batch * 10 + i), 2));
    store.Append(events);
    if (batch % 3 == 0) clock.Advance(2000);
  }
  clock.Advance(2000);
  EXPECT_EQ(Rows().size(), 100u);
  EXPECT_EQ(Rows().back().cells[0], "2026 / 12 / 08 - 01 : 03 : 47");  // event 104
  page.OnCommand(kIdcElClear, UiEvent::Clicked);
  EXPECT_TRUE(Rows().empty());
  EXPECT_TRUE(store.Events().empty());
  clock.Advance(4000);
  EXPECT_TRUE(Rows().empty());
}

TEST(MacTablePage, RowsFromTheDriverCappedAt32AndKeptWhenTheQueryFails) {
  test::ApFakeDriver drv;
  CMacTablePage page(drv.channel, drv.clock, EnglishStrings());
  page.OnInit();
  EXPECT_EQ(page.Control(kIdcMtList).listStyle, 0x421u);  // grid lines, full-row select, info tips
  page.OnListWidth(kIdcMtList, 405);
  EXPECT_EQ(page.Control(kIdcMtList).columns[0].width, 200);
  EXPECT_EQ(page.Control(kIdcMtList).columns[1].width, 60);
  EXPECT_EQ(page.Control(kIdcMtList).columns[2].width, 136);
  drv.answers[VX_OID_802_11_QUERY_MAC_TABLE] =
      EncodeMacTable({{{0x00, 0x0C, 0x43, 0x00, 0x00, 0x0A}, 1, 0}, {{0x00, 0x0C, 0x43, 0x00, 0x00, 0x0B}, 2, 1}});
  page.OnSetActive();
  drv.clock.Advance(2000);
  auto& rows = page.Control(kIdcMtList).rows;
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].cells, (std::vector<std::string>{"00-0C-43-00-00-0B", "2", "Yes"}));
  EXPECT_EQ(rows[0].cells[2], "No");

  drv.failing.push_back(VX_OID_802_11_QUERY_MAC_TABLE);
  drv.clock.Advance(2000);
  EXPECT_EQ(rows.size(), 2u);

  drv.failing.clear();
  ByteWriter w;
  w.U32(40);
  for (int i = 0; i < 32; ++i) w.Bytes(std::vector<uint8_t>{0, 1, 2, 3, 4, static_cast<uint8_t>(i)}).U8(static_cast<uint8_t>(i)).U8(0);
  drv.answers[VX_OID_802_11_QUERY_MAC_TABLE] = w.Take();
  drv.clock.Advance(2000);
  EXPECT_EQ(rows.size(), 32u);

  drv.answers[VX_OID_802_11_QUERY_MAC_TABLE] = EncodeMacTable({});
  drv.clock.Advance(2000);
  EXPECT_TRUE(rows.empty());
}

}  // namespace
}  // namespace vx
