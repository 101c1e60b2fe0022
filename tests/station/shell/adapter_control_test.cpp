#include "station/shell/adapter_control.h"

#include <gtest/gtest.h>

#include "driver/oid_codes.h"
#include "driver/records.h"
#include "fakes/fake_device.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_services.h"
#include "fakes/virtual_clock.h"

namespace vx {
namespace {

const std::string kRoot = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";
const std::string kPath = "\\\\.\\{K}";

struct FakeProcess : ProcessPort {
  std::vector<std::pair<std::string, int>> started;
  bool Exec(const std::string& cmd, int show) override {
    started.emplace_back(cmd, show);
    return true;
  }
  std::string ProgramFolder() override { return "C:\\Program Files\\Arventa"; }
  bool FileReadable(const std::string&) override { return true; }
  bool RemoveFile(const std::string&) override { return true; }
  bool RemoveFolder(const std::string&) override { return true; }
  bool OpenUrl(const std::string&) override { return true; }
};

struct AdapterControlTest : ::testing::Test {
  FakeRegistry reg;
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::Station};
  FakeServices services;
  ZeroConfig zc{services, reg};
  FakeProcess process;
  AdapterControl control{reg, channel, process, zc};
  uint32_t regionWord = 0;
  std::vector<uint32_t> networkTypes = {kNetTypeDS, kNetTypeOFDM24};
  uint32_t radio = 1;

  void SetUp() override {
    reg.CreateKey(Hklm(kRoot));
    device.openable[kPath] = true;
    channel.SetDevicePath(kPath);
    control.SetAdapter(kRoot, 4);
    control.SetOsKind(8);
    device.handler = [this](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& returned) {
      auto put = [&](const Bytes& b) {
        if (b.size() > out.size()) return false;
        std::copy(b.begin(), b.end(), out.begin());
        returned = static_cast<uint32_t>(b.size());
        return true;
      };
      auto word = [](uint32_t v) { return Bytes{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; };
      switch (r.oid) {
        case VX_OID_802_11_QUERY_COUNTRY_REGION:
          return put(word(regionWord));
        case OID_802_11_NETWORK_TYPES_SUPPORTED:
          return put(EncodeNetworkTypeList(networkTypes));
        case VX_OID_802_11_QUERY_RADIO:
          return put(word(radio));
        default:
          return true;
      }
    };
  }
  std::vector<uint32_t> SetsOf(uint32_t oid) {
    std::vector<uint32_t> values;
    for (const auto& r : device.requests)
      if (r.oid == oid && r.data.size() == 4) values.push_back(r.data[0] | (r.data[1] << 8));
    return values;
  }
};

TEST_F(AdapterControlTest, FixedTwoPointFourRegionOnFamilyFour) {
  regionWord = 0x0085;
  control.ReadHas5GHz();
  ASSERT_TRUE(control.BuildChannelList());
  const ChannelPlan& p = control.Plan();
  EXPECT_EQ(p.channels.size(), 14u);
  EXPECT_EQ(p.channels.back(), 14u);
  EXPECT_FALSE(p.bgRegionChangeable);
  EXPECT_TRUE(p.aRegionChangeable);
  EXPECT_EQ(p.regionWord, 0x05u);
}

TEST_F(AdapterControlTest, ModeThreeAppendsTheFiveGigahertzRow) {
  networkTypes.push_back(kNetTypeOFDM5);
  regionWord = 0x0400;  // 5 GHz code 4, 2.4 GHz code 0
  reg.SetSz(kRoot, "WirelessMode", "3");
  control.ReadHas5GHz();
  ASSERT_TRUE(control.Plan().has5GHz);
  ASSERT_TRUE(control.BuildChannelList());
  std::vector<uint32_t> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 149, 153, 157, 161, 165};
  EXPECT_EQ(control.Plan().channels, expected);
}

TEST_F(AdapterControlTest, AOnlyWithoutFiveGigahertzFallsBackToMixed) {
  reg.SetSz(kRoot, "WirelessMode", "2");
  control.ReadHas5GHz();
  ASSERT_TRUE(control.BuildChannelList());
  EXPECT_EQ(control.Plan().wirelessMode, 0u);
  EXPECT_EQ(control.Plan().channels.size(), 11u);
}

TEST_F(AdapterControlTest, StoredChannelOutsideTheListIsReplacedHereAndInDefault) {
  reg.SetSz(kRoot, "Channel", "13");
  reg.CreateKey(Hklm(kRoot + "\\Default"));
  ASSERT_TRUE(control.BuildChannelList());
  EXPECT_EQ(reg.GetSz(kRoot, "Channel"), "1");
  EXPECT_EQ(reg.GetSz(kRoot + "\\Default", "Channel"), "1");
  // A listed channel stays and is copied to Default only.
  reg.SetSz(kRoot, "Channel", "6");
  reg.SetSz(kRoot + "\\Default", "Channel", "9");
  ASSERT_TRUE(control.BuildChannelList());
  EXPECT_EQ(control.Plan().checkedChannel, 6u);
  EXPECT_EQ(reg.GetSz(kRoot + "\\Default", "Channel"), "6");
}

TEST_F(AdapterControlTest, MissingSettingsRootFails) {
  control.SetAdapter(kRoot + "\\gone", 4);
  EXPECT_FALSE(control.BuildChannelList());
}

TEST(ChannelTables, FamiliesAndCodes) {
  EXPECT_EQ(ChannelsFor(0, 0, 1, 0).size(), 11u);
  EXPECT_EQ(ChannelsFor(4, 0, 1, 0).size(), 13u);
  EXPECT_EQ(ChannelsFor(4, 0, 7, 0).size(), 11u);  // not listed for the newer families: code 0
  EXPECT_EQ(ChannelsFor(1, 0, 7, 0), (std::vector<uint32_t>{3, 4, 5, 6, 7, 8, 9}));
  EXPECT_TRUE(ChannelsFor(2, 0, 0, 0).empty());
  EXPECT_EQ(ChannelsFor(5, 2, 0, 7).size(), 24u);
  EXPECT_EQ(ChannelsFor(5, 2, 0, 99).size(), 13u);
  EXPECT_LE(ChannelsFor(1, 3, 6, 7).size(), 38u);
}

TEST_F(AdapterControlTest, RadioToggleOnlyWithHardwareRadioAndRecordsTheOffState) {
  int reapplied = 0, scans = 0;
  std::vector<uint32_t> icons;
  control.Hooks().reapplyLiveSettings = [&] { ++reapplied; };
  control.Hooks().queueScan = [&] { ++scans; };
  control.Hooks().showRadioIcon = [&](uint32_t icon) { icons.push_back(icon); };
  control.QueryRadio();
  ASSERT_TRUE(control.RadioOn());
  control.SetHardwareRadioOn(false);
  control.ToggleRadio();
  EXPECT_TRUE(control.RadioOn());
  EXPECT_TRUE(SetsOf(VX_OID_802_11_SET_RADIO).empty());

  control.SetHardwareRadioOn(true);
  control.ToggleRadio();
  EXPECT_FALSE(control.RadioOn());
  EXPECT_EQ(SetsOf(VX_OID_802_11_SET_RADIO), std::vector<uint32_t>{0});
  EXPECT_EQ(reg.GetSz(kRoot, "Radio"), "1");
  EXPECT_EQ(reapplied, 0);
  control.ToggleRadio();
  EXPECT_EQ(reg.GetSz(kRoot, "Radio"), "0");
  EXPECT_EQ(reapplied, 1);
  EXPECT_EQ(scans, 2);
  EXPECT_EQ(icons, (std::vector<uint32_t>{245, 244}));
}

TEST_F(AdapterControlTest, FirstRunTakesTheAdapterOnce) {
  int taken = 0;
  control.Hooks().takeFromZeroConfig = [&] { ++taken; };
  control.FirstRunInit();
  control.FirstRunInit();
  EXPECT_EQ(taken, 1);
  EXPECT_EQ(reg.GetSz(kRoot, "RunOnceInitConfigTool"), "0");
}

TEST_F(AdapterControlTest, SwitchToAccessPointSavesLoadsMarksAndStartsModeSwitch) {
  services.services["WZCSVC"] = {kServiceRunning, kServiceAutoStart};
  reg.SetSz(kRoot, "SSID", "home");
  reg.SetSz(kRoot + "\\ApDefault", "SSID", "SoftAP-3C");
  reg.SetSz(kRoot + "\\ApDefault", "Channel", "6");
  bool exited = false;
  control.Hooks().exitUtility = [&] { exited = true; };
  EXPECT_TRUE(control.SwitchToAccessPoint());
  EXPECT_TRUE(exited);
  EXPECT_TRUE(control.SwitchingToAp());
  EXPECT_EQ(reg.GetSz(kRoot + "\\Default", "SSID"), "home");
  EXPECT_EQ(reg.GetSz(kRoot, "SSID"), "SoftAP-3C");
  EXPECT_EQ(reg.GetSz(kRoot, "OpMode"), "1");
  EXPECT_EQ(SetsOf(VX_OID_802_11_SET_OP_MODE), std::vector<uint32_t>{1});
  ASSERT_EQ(process.started.size(), 1u);
  EXPECT_EQ(process.started[0].first, "\"ModeSwitch.exe\" ON ClientCfg HotspotCfg \"Veltrix Wireless\" PCI");
  EXPECT_EQ(process.started[0].second, 6);
  EXPECT_EQ(services.services["WZCSVC"].state, kServiceStopped);
  EXPECT_EQ(services.services["WZCSVC"].startType, kServiceDemandStart);

  control.SetOsKind(7);  // before XP nothing is started
  EXPECT_FALSE(control.SwitchToAccessPoint());
  EXPECT_EQ(process.started.size(), 1u);
}

}  // namespace
}  // namespace vx
