// Profiles selected in the store and carried out by the station link against the in-process
// virtual adapter: the OIDs it sees, and that it ends associated with the profile's network.
#include <gtest/gtest.h>

#include "driver/oid_codes.h"
#include "fakes/fake_registry.h"
#include "fakes/virtual_clock.h"
#include "sim/adapter/virtual_adapter.h"
#include "sim/services/sim_services.h"
#include "station/profiles/profile_store.h"
#include "station/profiles/station_link.h"
#include "station/profiles/wep_key_text.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";
constexpr uint32_t S(uint32_t oid) { return oid | kOidSetBit; }

class StationActivation : public ::testing::Test {
 protected:
  sim::VirtualAdapter adapter{sim::PciAdapterHardware()};
  sim::SimSupplicant supplicant{{&adapter}};
  FakeRegistry reg;
  VirtualClock clock;
  OidChannel channel{adapter, clock, Program::Station};
  StationLink link{reg, channel, clock, supplicant, [] { return std::string(kRoot); }};
  ProfileStore store{reg, [] { return std::string(kRoot); }, [this](bool advanced) { link.SetOidFromReg(advanced); }};

  void SetUp() override {
    reg.CreateKey(Hklm(kRoot));
    channel.SetDevicePath(adapter.DevicePath());
    ASSERT_TRUE(supplicant.OpenGlobal("KC30"));
    ASSERT_TRUE(supplicant.BindAdapter(adapter.Hardware().mac));
    link.Facts().supplicantAvailable = true;
    link.Facts().driverVersion = 0x0501;
  }

  // Stores the profile, selects it, and returns the set OIDs the adapter received.
  std::vector<uint32_t> Select(const StationProfile& p) {
    EXPECT_TRUE(store.WriteProfile(p));
    adapter.ClearOidLog();
    EXPECT_TRUE(store.SelectProfile(p.name, false));
    adapter.Tick();
    std::vector<uint32_t> sets;
    for (const auto& e : adapter.OidLog())
      if (e.set) sets.push_back(e.oid);
    return sets;
  }

  static std::vector<uint32_t> Expected(std::vector<uint32_t> security, std::vector<uint32_t> mode) {
    std::vector<uint32_t> oids = {S(OID_802_11_RELOAD_DEFAULTS), S(OID_802_11_INFRASTRUCTURE_MODE),
                                  VX_OID_802_11_SET_PREAMBLE, S(OID_802_11_RTS_THRESHOLD),
                                  S(OID_802_11_FRAGMENTATION_THRESHOLD), S(OID_802_11_AUTHENTICATION_MODE),
                                  S(OID_802_11_WEP_STATUS), VX_OID_802_11_SET_TX_POWER,
                                  VX_OID_802_11_SET_PROFILE_EXTENSION};
    oids.insert(oids.end(), security.begin(), security.end());
    oids.insert(oids.end(), mode.begin(), mode.end());
    oids.push_back(S(OID_802_11_SSID));
    return oids;
  }
  static std::vector<uint32_t> Infrastructure() {
    return {S(OID_802_11_POWER_MODE), VX_OID_802_11_SET_POWER_SAVE_LEVEL, VX_OID_802_11_SET_COUNTRY_REGION,
            VX_OID_802_11_SET_RATE_SET};
  }
};

TEST_F(StationActivation, OpenProfileAssociates) {
  StationProfile p;
  p.name = "Maker";
  p.ssid = "Arventa-AP";
  EXPECT_EQ(Select(p), Expected({}, Infrastructure()));
  auto s = adapter.State();
  EXPECT_TRUE(s.associated);
  EXPECT_EQ(s.ssid, "Arventa-AP");
  EXPECT_FALSE(link.WepCheckArmed());
}

TEST_F(StationActivation, WepProfileAssociatesWithTheRightKey) {
  StationProfile p;
  p.name = "Old";
  p.ssid = "OldWep";
  p.authenType = kAuthOpen;
  p.encryption = kEncWepEnabled;
  p.wepKey[0] = "123456789a";
  auto sets = Select(p);
  EXPECT_EQ(sets, Expected({S(OID_802_11_ADD_KEY), S(OID_802_11_REMOVE_KEY), S(OID_802_11_REMOVE_KEY),
                            S(OID_802_11_REMOVE_KEY)},
                           Infrastructure()));
  auto s = adapter.State();
  EXPECT_TRUE(s.associated);
  EXPECT_EQ(s.ssid, "OldWep");
  EXPECT_FALSE(s.wepMismatch);
  EXPECT_TRUE(link.WepCheckArmed());
}

TEST_F(StationActivation, Wpa2PskProfileAssociatesThroughTheSupplicant) {
  StationProfile p;
  p.name = "Home";
  p.ssid = "HomeNet";
  p.authenType = kAuthWpa2Psk;
  p.encryption = kEncAesEnabled;
  p.wpaPsk = "correct horse battery";
  EXPECT_EQ(Select(p), Expected({}, Infrastructure()));
  auto s = adapter.State();
  EXPECT_TRUE(s.associated);
  EXPECT_EQ(s.ssid, "HomeNet");
  EXPECT_EQ(s.authMode, kAuthWpa2Psk);
}

TEST_F(StationActivation, AdhocProfileJoinsOnItsChannel) {
  StationProfile p;
  p.name = "Game";
  p.ssid = "GameRoom";
  p.networkType = 0;
  p.channel = 4;
  p.adhocOfdm = 1;
  auto sets = Select(p);
  EXPECT_EQ(sets, Expected({}, {S(OID_802_11_CONFIGURATION), VX_OID_802_11_SET_STA_CONFIG,
                                VX_OID_802_11_SET_COUNTRY_REGION, S(OID_802_11_DESIRED_RATES),
                                VX_OID_802_11_SET_RATE_SET}));
  auto s = adapter.State();
  EXPECT_TRUE(s.associated);
  EXPECT_EQ(s.ssid, "GameRoom");
  EXPECT_EQ(s.infrastructureMode, kInfraAdhoc);
  EXPECT_EQ(s.channel, 4u);
}

TEST_F(StationActivation, AWrongWepKeyRaisesTheErrorUntilAFrameArrives) {
  StationProfile p;
  p.name = "Old";
  p.ssid = "OldWep";
  p.encryption = kEncWepEnabled;
  p.wepKey[0] = "0000000000";
  Select(p);
  ASSERT_TRUE(link.WepCheckArmed());
  for (int i = 0; i < 10; ++i) adapter.Tick();
  clock.Advance(10000);
  EXPECT_TRUE(link.WepError());

  // The right key goes in behind the link's back: frames decrypt again.
  adapter.ModifyNetwork("OldWep", [](sim::Network& n) { n.wepKey = {0, 0, 0, 0, 0}; });
  for (int i = 0; i < 10; ++i) adapter.Tick();
  clock.Advance(10000);
  EXPECT_FALSE(link.WepError());
  EXPECT_FALSE(link.WepCheckArmed());
}

}  // namespace
}  // namespace vx
