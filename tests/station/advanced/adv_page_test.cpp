// The profile sheets' advanced page: load from the profile or the live values, the mode rules,
// and the save with the TCP window switch.
#include "station/advanced/adv_page.h"

#include <gtest/gtest.h>

#include "driver/oid_codes.h"
#include "fakes/fake_registry.h"
#include "fakes/virtual_clock.h"
#include "resources/strings/string_tables.h"
#include "sim/adapter/virtual_adapter.h"
#include "station/profiles/profile_store.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";
const std::string kProfile = std::string(kRoot) + "\\Profile\\Station\\Home";

class AdvPage : public ::testing::Test {
 protected:
  sim::VirtualAdapter adapter{sim::PciAdapterHardware()};
  VirtualClock clock;
  OidChannel channel{adapter, clock, Program::Station};
  FakeRegistry reg;
  AdvPageFacts facts;
  int networkType = 1;
  std::string profileName = "Home";
  uint32_t wirelessMode = 99;
  std::optional<ConfigWords> lastSta;
  std::unique_ptr<CAdvPage> page;

  void SetUp() override {
    channel.SetDevicePath(adapter.DevicePath());
    reg.CreateKey(Hklm(kRoot));
    reg.CreateKey(Hklm(kProfile));
    reg.CreateKey(TcpipKey(8, false));
    reg.CreateKey(TcpipKey(10, true));
    facts.settingsRoot = kRoot;
    facts.osKind = 8;
  }
  CAdvPage& Open() {
    AdvPageHooks h;
    h.facts = [this] { return facts; };
    h.profileName = [this] { return profileName; };
    h.networkType = [this] { return networkType; };
    h.setWirelessMode = [this](uint32_t m) { wirelessMode = m; };
    h.storeStaConfig = [this](const ConfigWords& w) { lastSta = w; };
    page = std::make_unique<CAdvPage>(reg, channel, EnglishStrings(), h);
    page->OnInit();
    adapter.ClearOidLog();
    return *page;
  }
  void Select(int id, int position) {
    page->Control(id).selection = position;
    page->OnCommand(id, UiEvent::SelectionChanged);
  }
  size_t StaSets() {
    size_t n = 0;
    for (const auto& e : adapter.OidLog()) n += e.set && e.oid == VX_OID_802_11_SET_STA_CONFIG;
    return n;
  }
};

TEST_F(AdvPage, LoadsFromTheProfileElseFromTheLiveValues) {
  reg.SetSz(kRoot, "WirelessMode", "1");
  reg.SetSz(kRoot, "TXBurst", "1");
  reg.SetSz(kProfile, "TXBurst", "0");  // a profile without "WirelessMode" is not used
  CAdvPage& p = Open();
  EXPECT_EQ(p.Control(padv::kWirelessMode).selection, 1);
  EXPECT_TRUE(p.Control(padv::kTxBurst).checked);
  EXPECT_EQ(wirelessMode, 1u);

  reg.SetSz(kProfile, "WirelessMode", "3");  // A/B/G without 5 GHz becomes B/G mix
  reg.SetSz(kProfile, "BGProtection", "2");
  reg.SetSz(kProfile, "TransRate", "11");
  Open();
  EXPECT_EQ(page->Control(padv::kWirelessMode).selection, 0);
  EXPECT_FALSE(page->Control(padv::kTxBurst).checked);
  EXPECT_EQ(page->Control(padv::kBgProtection).selection, 2);
  EXPECT_EQ(page->Control(padv::kTxRate).selection, 11);
  EXPECT_EQ(page->Control(padv::kWirelessMode).items,
            (std::vector<std::string>{"802.11 B/G mix", "802.11 B only"}));
  EXPECT_FALSE(page->Control(padv::kTurboRate).visible);
  EXPECT_FALSE(page->Control(padv::kShortSlot).visible);
}

TEST_F(AdvPage, NetworkTypeChoosesTheComboAndItsRules) {
  CAdvPage& p = Open();
  EXPECT_TRUE(p.Control(padv::kWirelessMode).enabled);
  EXPECT_FALSE(p.Control(padv::kAdhocMode).enabled);
  Select(padv::kWirelessMode, 1);
  EXPECT_FALSE(p.Control(padv::kBgProtection).enabled);
  EXPECT_EQ(p.Control(padv::kTxRate).items.size(), 5u);

  networkType = 0;
  p.OnSetActive();
  EXPECT_FALSE(p.Control(padv::kWirelessMode).enabled);
  EXPECT_TRUE(p.Control(padv::kAdhocMode).enabled);
  Select(padv::kAdhocMode, 1);
  EXPECT_TRUE(p.Control(padv::kBgProtection).enabled);
  EXPECT_EQ(p.Control(padv::kTxRate).items.size(), 13u);
  p.Control(padv::kBgProtection).selection = 1;
  Select(padv::kAdhocMode, 2);  // G only: protection off and the wireless mode to B/G mix
  EXPECT_FALSE(p.Control(padv::kBgProtection).enabled);
  EXPECT_EQ(p.Control(padv::kBgProtection).selection, 0);
  EXPECT_EQ(p.Control(padv::kWirelessMode).selection, 0);
}

TEST_F(AdvPage, SaveWritesLiveAndProfileValuesAndSendsOnlyChanges) {
  CAdvPage& p = Open();
  p.Control(padv::kTxBurst).checked = true;
  Select(padv::kWirelessMode, 1);
  p.Control(padv::kTxRate).selection = 3;
  p.Save();
  EXPECT_EQ(reg.GetSz(kRoot, "WirelessMode"), "1");
  EXPECT_EQ(reg.GetSz(kRoot, "TXBurst"), "1");
  EXPECT_EQ(reg.GetSz(kRoot, "TransRate"), "3");
  EXPECT_EQ(reg.GetSz(kRoot, "TurboRate"), "");  // the live values get five of the seven
  for (const char* name : {"WirelessMode", "TXBurst", "TurboRate", "BGProtection", "ShortSlot", "AdhocOfdm", "TransRate"})
    EXPECT_NE(reg.GetSz(kProfile, name), "") << name;
  EXPECT_EQ(reg.GetSz(kProfile, "TransRate"), "3");
  EXPECT_EQ(adapter.State().phyMode, 1u);
  EXPECT_EQ(adapter.State().desiredRates, (std::array<uint8_t, 8>{11, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(StaSets(), 1u);
  ASSERT_TRUE(lastSta);
  EXPECT_EQ((*lastSta)[kStaTxBurst], 1u);

  adapter.ClearOidLog();
  p.Save();
  EXPECT_EQ(StaSets(), 0u);
  for (const auto& e : adapter.OidLog()) EXPECT_FALSE(e.set && e.oid == VX_OID_802_11_SET_PHY_MODE);

  StationProfile profile;
  p.CopyTo(profile);
  EXPECT_EQ(profile.wirelessMode, 1);
  EXPECT_EQ(profile.txBurst, 1);
  EXPECT_EQ(profile.transRate, 3);
}

TEST_F(AdvPage, TcpWindowSwitchInTheSixtyFourBitView) {
  facts.osKind = 10;
  facts.wow64 = true;
  CAdvPage& p = Open();
  EXPECT_TRUE(p.Control(padv::kTcpWindow).enabled);
  EXPECT_FALSE(p.Control(padv::kTcpWindow).checked);
  p.Control(padv::kTcpWindow).checked = true;
  p.Save();
  auto v = reg.QueryValue(TcpipKey(10, true), kTcpWindowSizeValue);
  ASSERT_TRUE(v);
  EXPECT_EQ(*v, RegValue::Dword(32768));
  EXPECT_FALSE(reg.QueryValue(Hklm(kTcpipKey), kTcpWindowSizeValue));  // not in the 32-bit view

  Open();
  EXPECT_TRUE(page->Control(padv::kTcpWindow).checked);
  page->Control(padv::kTcpWindow).checked = false;
  page->Save();
  EXPECT_FALSE(reg.QueryValue(TcpipKey(10, true), kTcpWindowSizeValue));
}

TEST_F(AdvPage, TcpWindowByOperatingSystemKind) {
  EXPECT_FALSE(TcpipKey(9, true).view64);
  EXPECT_FALSE(TcpipKey(11, false).view64);
  EXPECT_TRUE(TcpipKey(11, true).view64);

  CAdvPage& p = Open();  // kind 8: the ordinary view
  p.Control(padv::kTcpWindow).checked = true;
  p.Save();
  EXPECT_TRUE(reg.QueryValue(Hklm(kTcpipKey), kTcpWindowSizeValue));

  facts.osKind = 5;
  reg.DeleteValue(Hklm(kTcpipKey), kTcpWindowSizeValue);
  Open();
  EXPECT_FALSE(page->Control(padv::kTcpWindow).enabled);
  page->Control(padv::kTcpWindow).checked = true;
  page->Save();
  EXPECT_FALSE(reg.QueryValue(Hklm(kTcpipKey), kTcpWindowSizeValue));
}

}  // namespace
}  // namespace vx
