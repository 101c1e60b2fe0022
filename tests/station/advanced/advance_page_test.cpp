// The main sheet's advanced page: loading the live values, the mode and CCX rules, and Apply
// against the virtual adapter (compare-before-set, region, rates, CCX word).
#include "station/advanced/advance_page.h"

#include <gtest/gtest.h>

#include "common/pages/oid_script.h"
#include "common/settings/registry_values.h"
#include "fakes/fake_registry.h"
#include "fakes/scripted_ui.h"
#include "resources/strings/string_tables.h"
#include "sim/adapter/virtual_adapter.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";

class Advance : public ::testing::Test {
 protected:
  sim::VirtualAdapter adapter{sim::PciAdapterHardware()};
  VirtualClock clock;
  OidChannel channel{adapter, clock, Program::Station};
  FakeRegistry reg;
  ScriptedUi ui;
  AdvanceFacts facts;
  uint32_t wirelessMode = 99;
  std::optional<ConfigWords> lastSta;
  int regionsApplied = 0;
  bool radio = true;
  std::unique_ptr<CAdvancePage> page;

  void SetUp() override {
    channel.SetDevicePath(adapter.DevicePath());
    reg.CreateKey(Hklm(kRoot));
    facts.settingsRoot = kRoot;
  }
  CAdvancePage& Open() {
    AdvanceHooks h;
    h.facts = [this] { return facts; };
    h.setWirelessMode = [this](uint32_t m) { wirelessMode = m; };
    h.storeStaConfig = [this](const ConfigWords& w) { lastSta = w; };
    h.regionApplied = [this] { ++regionsApplied; };
    h.toggleRadio = [this] { radio = !radio; };
    h.radioOn = [this] { return radio; };
    page = std::make_unique<CAdvancePage>(reg, channel, ui, EnglishStrings(), h);
    page->OnInit();
    adapter.ClearOidLog();
    return *page;
  }
  void Select(int id, int position) {
    page->Control(id).selection = position;
    page->OnCommand(id, UiEvent::SelectionChanged);
  }
  void Click(int id, bool checked) {
    page->Control(id).checked = checked;
    page->OnCommand(id, UiEvent::Clicked);
  }
  std::string Live(const char* name) { return reg.GetSz(kRoot, name); }
  std::optional<uint32_t> Ccx() { return ReadWord(reg, Hklm(kRoot), "CCX2Control"); }
  std::vector<sim::OidLogEntry> SetsOf(uint32_t oid) {
    std::vector<sim::OidLogEntry> out;
    for (const auto& e : adapter.OidLog())
      if (e.set && e.oid == oid) out.push_back(e);
    return out;
  }
  size_t SetCount() {
    size_t n = 0;
    for (const auto& e : adapter.OidLog()) n += e.set ? 1 : 0;
    return n;
  }
};

TEST_F(Advance, WithoutFiveGhzGOnlyIsPositionTwoAndStoredAsFour) {
  CAdvancePage& p = Open();
  EXPECT_EQ(p.Control(adv::kWirelessMode).items,
            (std::vector<std::string>{"802.11 B/G mix", "802.11 B only", "802.11 G only"}));
  EXPECT_FALSE(p.Control(adv::kRegionA).visible);
  EXPECT_FALSE(p.Control(adv::kRegionALabel).visible);
  Select(adv::kWirelessMode, 2);
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Automatically set channel according to wireless mode.");
  ASSERT_TRUE(p.Apply());
  EXPECT_EQ(Live("WirelessMode"), "4");
  EXPECT_EQ(wirelessMode, 4u);
  EXPECT_EQ(adapter.State().phyMode, 4u);
  // G only's single ad hoc entry is stored as the G-only choice.
  EXPECT_EQ(Live("AdhocOfdm"), "2");

  Open();
  EXPECT_EQ(page->Control(adv::kWirelessMode).selection, 2);
  EXPECT_EQ(ui.boxes.size(), 1u);  // initialisation shows no message
}

TEST_F(Advance, DriverModeWinsOverTheStoredOne) {
  reg.SetSz(kRoot, "WirelessMode", "0");
  channel.SetU32(VX_OID_802_11_SET_PHY_MODE, 1);
  CAdvancePage& p = Open();
  EXPECT_EQ(p.Control(adv::kWirelessMode).selection, 1);
  EXPECT_EQ(wirelessMode, 1u);
}

TEST_F(Advance, ModeRulesShapeTheLists) {
  facts.has5GHz = true;
  CAdvancePage& p = Open();
  EXPECT_EQ(p.Control(adv::kWirelessMode).items.size(), 5u);
  EXPECT_EQ(p.Control(adv::kAdhocMode).items.size(), 3u);
  EXPECT_TRUE(p.Control(adv::kBgProtection).enabled);
  EXPECT_EQ(p.Control(adv::kTxRate).items.size(), 13u);

  Select(adv::kWirelessMode, 3);  // A/B/G
  EXPECT_EQ(p.Control(adv::kAdhocMode).items.size(), 5u);
  EXPECT_TRUE(p.Control(adv::kRegionA).visible);
  EXPECT_TRUE(p.Control(adv::kRegionBg).visible);
  p.Control(adv::kAdhocMode).selection = 4;
  p.Control(adv::kBgProtection).selection = 1;
  p.Control(adv::kTxRate).selection = 10;

  Select(adv::kWirelessMode, 0);  // B/G: a choice above 2 goes back to B only
  EXPECT_EQ(p.Control(adv::kAdhocMode).selection, 0);
  EXPECT_EQ(p.Control(adv::kTxRate).selection, 10);

  Select(adv::kWirelessMode, 2);  // A only
  EXPECT_EQ(p.Control(adv::kAdhocMode).items, std::vector<std::string>{"802.11 A only"});
  EXPECT_FALSE(p.Control(adv::kBgProtection).enabled);
  EXPECT_EQ(p.Control(adv::kBgProtection).selection, 0);
  EXPECT_EQ(p.Control(adv::kTxRate).items.size(), 9u);
  EXPECT_EQ(p.Control(adv::kTxRate).selection, 0);
  EXPECT_FALSE(p.Control(adv::kRegionBg).visible);
  EXPECT_TRUE(p.Control(adv::kRegionA).visible);
  ASSERT_TRUE(p.Apply());
  EXPECT_EQ(Live("AdhocOfdm"), "3");
  EXPECT_EQ(Live("BGProtection"), "0");
}

TEST_F(Advance, BOnlyWithAnOfdmRateAppliesAutomatic) {
  reg.SetSz(kRoot, "TransRate", "7");
  CAdvancePage& p = Open();
  EXPECT_EQ(p.Control(adv::kTxRate).selection, 7);
  Select(adv::kWirelessMode, 1);
  EXPECT_EQ(p.Control(adv::kTxRate).items.size(), 5u);
  p.Control(adv::kTxRate).selection = 7;  // as a view might leave it
  ASSERT_TRUE(p.Apply());
  EXPECT_EQ(Live("TransRate"), "0");
  EXPECT_EQ(adapter.State().desiredRates, (std::array<uint8_t, 8>{22, 11, 4, 2, 0, 0, 0, 0}));
  auto rateSet = SetsOf(VX_OID_802_11_SET_RATE_SET);
  ASSERT_EQ(rateSet.size(), 1u);
  EXPECT_EQ(DecodeRateSet(rateSet[0].data), RateSetForWirelessMode(1));
}

TEST_F(Advance, ApplySendsPhyModeAndStationConfigurationOnlyWhenChanged) {
  CAdvancePage& p = Open();
  Click(adv::kTxBurst, true);
  ASSERT_TRUE(p.Apply());
  EXPECT_TRUE(SetsOf(VX_OID_802_11_SET_PHY_MODE).empty());  // the driver already runs mode 0
  auto sta = SetsOf(VX_OID_802_11_SET_STA_CONFIG);
  ASSERT_EQ(sta.size(), 1u);
  ConfigWords sent = DecodeConfigWords(sta[0].data);
  EXPECT_EQ(sent[kStaTxBurst], 1u);
  EXPECT_EQ(sent[kStaHwRadio], 1u);  // the driver's own word goes back as read
  ASSERT_TRUE(lastSta);
  EXPECT_EQ(*lastSta, sent);

  adapter.ClearOidLog();
  lastSta.reset();
  ASSERT_TRUE(p.Apply());
  EXPECT_TRUE(SetsOf(VX_OID_802_11_SET_STA_CONFIG).empty());
  EXPECT_TRUE(SetsOf(VX_OID_802_11_SET_PHY_MODE).empty());
  EXPECT_FALSE(lastSta);
  EXPECT_EQ(Live("TXBurst"), "1");
}

TEST_F(Advance, RegionOfEachBandOnlyWhereItMayChange) {
  facts.has5GHz = true;
  facts.region = DecodeCountryRegion(0x0085);  // 2.4 GHz code 5, fixed; 5 GHz code 0
  reg.SetSz(kRoot, "CountryRegion", "1");
  reg.SetSz(kRoot, "CountryRegionABand", "9");  // outside the table
  CAdvancePage& p = Open();
  EXPECT_FALSE(p.Control(adv::kRegionBg).enabled);
  EXPECT_EQ(p.Control(adv::kRegionBg).selection, 5);  // the driver's code, not the stored one
  EXPECT_TRUE(p.Control(adv::kRegionA).enabled);
  EXPECT_EQ(p.Control(adv::kRegionA).selection, 0);
  p.Control(adv::kRegionA).selection = 4;
  ASSERT_TRUE(p.Apply());
  auto region = SetsOf(VX_OID_802_11_SET_COUNTRY_REGION);
  ASSERT_EQ(region.size(), 1u);
  EXPECT_EQ(region[0].data, (std::vector<uint8_t>{5, 4, 0, 0}));
  EXPECT_EQ(regionsApplied, 1);
  EXPECT_EQ(Live("CountryRegion"), "1");  // left alone
  EXPECT_EQ(Live("CountryRegionABand"), "4");

  facts.region = DecodeCountryRegion(0x8085);
  Open();
  ASSERT_TRUE(page->Apply());
  EXPECT_TRUE(SetsOf(VX_OID_802_11_SET_COUNTRY_REGION).empty());
  EXPECT_EQ(regionsApplied, 1);
}

TEST_F(Advance, CcxWordDefaultsAndBits) {
  CAdvancePage& p = Open();
  EXPECT_EQ(p.Control(adv::kLimit).text, "250");
  EXPECT_EQ(p.Control(adv::kThreshold).text, "-70");
  EXPECT_FALSE(p.Control(adv::kCckm).enabled);
  EXPECT_FALSE(p.Control(adv::kThreshold).enabled);
  ASSERT_TRUE(p.Apply());
  EXPECT_EQ(Ccx(), 0x00FA4600u);
  auto word = SetsOf(VX_OID_802_11_SET_CCX2_CONTROL);
  ASSERT_EQ(word.size(), 1u);
  EXPECT_EQ(word[0].data, (std::vector<uint8_t>{0x00, 0x46, 0xFA, 0x00}));

  Click(adv::kCcx2, true);
  EXPECT_TRUE(p.Control(adv::kNonServing).checked);
  EXPECT_TRUE(p.Control(adv::kLimit).enabled);
  p.Control(adv::kLimit).text = "1500";
  Click(adv::kFastRoaming, true);
  EXPECT_TRUE(p.Control(adv::kThreshold).enabled);
  p.Control(adv::kThreshold).text = "-80";
  ASSERT_TRUE(p.Apply());
  EXPECT_EQ(Ccx(), (1500u << 16) | (80u << 8) | 0x3Fu);

  Click(adv::kRadioMeasurements, false);
  EXPECT_FALSE(p.Control(adv::kNonServing).checked);
  EXPECT_FALSE(p.Control(adv::kNonServing).enabled);
  EXPECT_EQ(p.Control(adv::kLimit).text, "250");
  EXPECT_FALSE(p.Control(adv::kLimit).enabled);

  Click(adv::kCcx2, false);
  Click(adv::kFastRoaming, false);
  EXPECT_EQ(p.Control(adv::kThreshold).text, "-70");
  ASSERT_TRUE(p.Apply());
  EXPECT_EQ(Ccx(), 0x00FA4600u);
}

TEST_F(Advance, StoredCcxWordIsSplitAndBadThresholdReadsAsDefault) {
  reg.SetValue(Hklm(kRoot), "CCX2Control", RegValue::Dword((400u << 16) | (95u << 8) | 0x27u));
  CAdvancePage& p = Open();
  EXPECT_EQ(p.Control(adv::kThreshold).text, "-70");
  EXPECT_EQ(p.Control(adv::kLimit).text, "400");
  EXPECT_TRUE(p.Control(adv::kCcx2).checked);
  EXPECT_TRUE(p.Control(adv::kCckm).checked);
  EXPECT_TRUE(p.Control(adv::kRadioMeasurements).checked);
  EXPECT_FALSE(p.Control(adv::kNonServing).checked);
  EXPECT_TRUE(p.Control(adv::kFastRoaming).checked);
  EXPECT_FALSE(p.Control(adv::kLimit).enabled);
}

TEST_F(Advance, OutOfRangeLimitOrThresholdAppliesNothing) {
  CAdvancePage& p = Open();
  for (auto [limit, threshold] : {std::pair{"2001", "-70"}, {"-1", "-70"}, {"250", "-59"}, {"250", "-91"},
                                  {"250", "70"}}) {
    p.Control(adv::kLimit).text = limit;
    p.Control(adv::kThreshold).text = threshold;
    EXPECT_FALSE(p.Apply()) << limit << " " << threshold;
  }
  EXPECT_EQ(SetCount(), 0u);
  EXPECT_EQ(Live("WirelessMode"), "");
  p.Control(adv::kLimit).text = "2000";
  p.Control(adv::kThreshold).text = "-90";
  EXPECT_TRUE(p.Apply());
}

TEST_F(Advance, RadioButtonFollowsTheToggle) {
  CAdvancePage& p = Open();
  EXPECT_EQ(p.Control(adv::kRadio).text, "Turn &off RF ");
  EXPECT_EQ(p.Control(adv::kRadioImage).image, 188);
  p.OnCommand(adv::kRadio, UiEvent::Clicked);
  EXPECT_FALSE(radio);
  EXPECT_EQ(p.Control(adv::kRadio).text, "&Turn on RF");
  EXPECT_EQ(p.Control(adv::kRadioImage).image, 189);
  // The sheet's own radio button switches it back: caption and bitmap follow.
  radio = true;
  p.RadioChanged();
  EXPECT_EQ(p.Control(adv::kRadio).text, "Turn &off RF ");
  EXPECT_EQ(p.Control(adv::kRadioImage).image, 188);
  // Switched while another page was shown: the page shows it when it comes to the front.
  radio = false;
  p.OnSetActive();
  EXPECT_EQ(p.Control(adv::kRadioImage).image, 189);
}

// "Tx turbo rate" is shown on this page, loaded from the live "TurboRate" and applied as the
// live value and the station configuration's word 1, which every activation sends from it.
TEST_F(Advance, TurboRateIsShownLoadedAndApplied) {
  reg.SetSz(kRoot, "TurboRate", "1");
  CAdvancePage& p = Open();
  EXPECT_TRUE(p.Control(adv::kTurboRate).visible);
  EXPECT_EQ(p.Control(adv::kTurboRate).text, "Tx turbo &rate");
  EXPECT_TRUE(p.Control(adv::kTurboRate).checked);
  ASSERT_TRUE(p.Apply());
  auto sta = SetsOf(VX_OID_802_11_SET_STA_CONFIG);
  ASSERT_EQ(sta.size(), 1u);
  EXPECT_EQ(DecodeConfigWords(sta[0].data)[kStaTurboRate], 1u);
  Click(adv::kTurboRate, false);
  adapter.ClearOidLog();
  ASSERT_TRUE(p.Apply());
  EXPECT_EQ(Live("TurboRate"), "0");
  sta = SetsOf(VX_OID_802_11_SET_STA_CONFIG);
  ASSERT_EQ(sta.size(), 1u);
  EXPECT_EQ(DecodeConfigWords(sta[0].data)[kStaTurboRate], 0u);
}

}  // namespace
}  // namespace vx
