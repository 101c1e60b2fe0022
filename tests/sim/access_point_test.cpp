// Access point mode: stations of the world join or are refused, and the station and event tables
// follow.
#include <gtest/gtest.h>

#include "adapter_test_util.h"
#include "common/passphrase/passphrase.h"
#include "sim/adapter/virtual_adapter.h"

namespace vx::sim {
namespace {

const MacAddress kPhone = {0x00, 0x16, 0xCB, 0x01, 0x02, 0x03};
const MacAddress kLaptop = {0x00, 0x1B, 0x63, 0x04, 0x05, 0x06};
const MacAddress kIntruder = {0x00, 0x1F, 0x3A, 0x07, 0x08, 0x09};

class AccessPointTest : public ::testing::Test {
 protected:
  AccessPointTest() : io_(adapter_, adapter_.DevicePath()) {}

  void StartWpaPsk(const std::string& ssid, const std::string& passphrase) {
    ASSERT_TRUE(io_.SetU32(VX_OID_802_11_SET_OP_MODE, kOpModeAccessPoint));
    ASSERT_TRUE(io_.SetU32(OID_802_11_AUTHENTICATION_MODE, kAuthWpaPsk));
    ASSERT_TRUE(io_.SetU32(OID_802_11_WEP_STATUS, kEncTkipEnabled));
    ASSERT_TRUE(io_.Set(OID_802_11_ADD_KEY, EncodeAddKey(kTransmitKeyBit, PassphraseToPsk(passphrase, ssid))));
    ASSERT_TRUE(io_.SetSsid(ssid));
  }
  std::vector<EventEntry> Events() { return DecodeEventTable(*io_.Query(VX_OID_802_11_QUERY_EVENT_TABLE, 168)); }
  std::vector<MacTableEntry> Table() { return DecodeMacTable(*io_.Query(VX_OID_802_11_QUERY_MAC_TABLE, 260)); }

  VirtualAdapter adapter_;
  test::Requests io_;
};

TEST_F(AccessPointTest, StationsWithTheRightPskAssociate) {
  adapter_.SetClockBase(1000);
  adapter_.Tick(2);
  StartWpaPsk("SoftAP-01", "softap passphrase");
  auto events = Events();
  std::vector<std::pair<MacAddress, uint16_t>> got;
  for (const auto& e : events) got.push_back({e.mac, e.type});
  std::vector<std::pair<MacAddress, uint16_t>> want = {
      {{}, 0}, {{}, 0}, {kPhone, 1}, {kLaptop, 1}, {kIntruder, 5}};  // op mode, then the SSID restart
  EXPECT_EQ(got, want);
  EXPECT_EQ(events[0].time, 1000u + 2 * 10000000u);
  EXPECT_TRUE(Events().empty());  // the table reports new events only

  auto table = Table();
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0], (MacTableEntry{kPhone, 1, 0}));
  EXPECT_EQ(table[1], (MacTableEntry{kLaptop, 2, 1}));
  EXPECT_TRUE(io_.Connected());
  EXPECT_EQ(DecodeSsid(*io_.Query(OID_802_11_SSID, 36)).Text(), "SoftAP-01");

  // The intruder is not retried on every tick.
  adapter_.Tick(5);
  EXPECT_TRUE(Events().empty());
}

TEST_F(AccessPointTest, LeaveAgeOutPowerSaveAndAcl) {
  StartWpaPsk("SoftAP-01", "softap passphrase");
  Events();
  adapter_.ModifyStation(kPhone, [](Station& s) { s.present = false; });
  adapter_.ModifyStation(kLaptop, [](Station& s) { s.idle = true; s.powerSaving = false; });
  EXPECT_EQ(Table(), (std::vector<MacTableEntry>{{kLaptop, 2, 0}}));
  adapter_.Tick(VirtualAdapter::kAgeOutTicks);
  auto events = Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].type, 2);
  EXPECT_EQ(events[0].mac, kPhone);
  EXPECT_EQ(events[1].type, 3);
  EXPECT_EQ(events[1].mac, kLaptop);
  EXPECT_TRUE(Table().empty());

  // The phone comes back, but the access list now rejects it.
  ASSERT_TRUE(io_.Set(VX_OID_802_11_SET_ACL, EncodeAccessControl(2, {kPhone})));
  adapter_.ModifyStation(kPhone, [](Station& s) { s.present = true; });
  EXPECT_TRUE(Table().empty());
  ASSERT_TRUE(io_.Set(VX_OID_802_11_SET_ACL, EncodeAccessControl(0, {})));
  adapter_.ModifyStation(kPhone, [](Station&) {});
  EXPECT_EQ(Table().size(), 1u);
}

TEST_F(AccessPointTest, OpenAccessPointAndBackToStation) {
  ASSERT_TRUE(io_.SetU32(VX_OID_802_11_SET_OP_MODE, kOpModeAccessPoint));
  ASSERT_TRUE(io_.SetU32(OID_802_11_AUTHENTICATION_MODE, kAuthOpen));
  ASSERT_TRUE(io_.SetU32(OID_802_11_WEP_STATUS, kEncDisabled));
  ASSERT_TRUE(io_.SetSsid("Open-AP"));
  EXPECT_EQ(Table().size(), 3u);  // anyone may join an open access point
  adapter_.Tick(1);
  EXPECT_GT(adapter_.State().txFrames, 0u);
  ASSERT_TRUE(io_.SetU32(VX_OID_802_11_SET_OP_MODE, kOpModeStation));
  EXPECT_TRUE(Table().empty());
  EXPECT_EQ(*io_.QueryU32(VX_OID_802_11_QUERY_OP_MODE), kOpModeStation);
}

}  // namespace
}  // namespace vx::sim
