#include "driver/discovery.h"

#include <gtest/gtest.h>

#include "driver/config_record.h"
#include "driver/oid_codes.h"
#include "driver/os_version.h"
#include "fakes/fake_device.h"
#include "fakes/virtual_clock.h"

namespace vx {
namespace {

struct FakeSetup : DeviceSetupPort {
  std::vector<NetDevice> devices;
  bool fail = false;
  bool EnumerateNetDevices(std::vector<NetDevice>& out) override {
    out = devices;
    return !fail;
  }
};

NetDevice Device(const std::string& hwid, const std::string& guid, const std::string& instance) {
  NetDevice d;
  d.hardwareId = hwid;
  d.driverKey = "{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + instance;
  d.friendlyName = "Adapter " + instance;
  d.description = "Wireless LAN " + instance;
  d.netCfgInstanceId = guid;
  return d;
}

struct DiscoveryTest : ::testing::Test {
  FakeSetup setup;
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::Station};
  AdapterDiscovery discovery{setup, device, channel, Program::Station};
};

TEST_F(DiscoveryTest, SingleAdapterIsTakenWithoutAsking) {
  setup.devices = {Device("PCI\\VEN_8086&DEV_1234", "{E1}", "0001"),
                   Device("PCI\\VEN_1A5C&DEV_0C30&SUBSYS_00011A5C", "{K1}", "0007")};
  device.openable["\\\\.\\{K1}"] = true;
  bool asked = false;
  ASSERT_TRUE(discovery.DiscoverAdapter(8, [&](SelectCardDialog&) {
    asked = true;
    return 0;
  }));
  EXPECT_FALSE(asked);
  const auto& s = discovery.Selected();
  EXPECT_EQ(s.devicePath, "\\\\.\\{K1}");
  EXPECT_EQ(channel.DevicePath(), s.devicePath);
  EXPECT_EQ(s.settingsRoot,
            "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007");
  EXPECT_EQ(s.familyIndex, kFamilyKC30);
  EXPECT_EQ(s.table, IdTable::Pci);
  EXPECT_FALSE(s.isUsb);
  EXPECT_FALSE(s.adapterChanged);
}

TEST_F(DiscoveryTest, TwoAdaptersAskAndTheSecondChoiceSelectsItsPathAndRoot) {
  setup.devices = {Device("PCI\\VEN_1A5C&DEV_0C31", "{A}", "0003"), Device("usb\\vid_1a5c&pid_d402", "{B}", "0004")};
  device.openable["\\\\.\\{A}"] = true;
  device.openable["\\\\.\\{B}"] = true;
  std::vector<std::string> offered;
  ASSERT_TRUE(discovery.DiscoverAdapter(8, [&](SelectCardDialog& d) {
    offered = d.Items();
    EXPECT_EQ(d.Selection(), 0);
    d.OnSelChange(1);
    EXPECT_EQ(d.Current().description, "Wireless LAN 0004");
    EXPECT_EQ(d.Current().hardwareId, "usb\\vid_1a5c&pid_d402");
    return d.Selection();
  }));
  EXPECT_EQ(offered, (std::vector<std::string>{"Adapter 0003", "Adapter 0004"}));
  EXPECT_EQ(discovery.Selected().devicePath, "\\\\.\\{B}");
  EXPECT_TRUE(discovery.Selected().isUsb);  // found only after upper-casing
  EXPECT_EQ(discovery.Selected().familyIndex, kFamilyKD40);
  EXPECT_NE(discovery.Selected().settingsRoot.find("\\0004"), std::string::npos);
}

TEST_F(DiscoveryTest, AdapterWhoseDriverDoesNotOpenIsNotOffered) {
  setup.devices = {Device("PCI\\VEN_1A5C&DEV_0C31", "{A}", "0003"), Device("PCI\\VEN_1A5C&DEV_0C30", "{B}", "0004")};
  device.openable["\\\\.\\{B}"] = true;
  bool asked = false;
  ASSERT_TRUE(discovery.DiscoverAdapter(11, [&](SelectCardDialog&) {
    asked = true;
    return 0;
  }));
  EXPECT_FALSE(asked);
  EXPECT_EQ(discovery.Selected().devicePath, "\\\\.\\{B}");
}

TEST_F(DiscoveryTest, NoReachableAdapterOrNoClassFails) {
  setup.devices = {Device("PCI\\VEN_1A5C&DEV_0C31", "{A}", "0003")};
  EXPECT_FALSE(discovery.DiscoverAdapter(8, nullptr));
  EXPECT_TRUE(channel.DevicePath().empty());
  device.openable["\\\\.\\{A}"] = true;
  setup.fail = true;
  EXPECT_FALSE(discovery.DiscoverAdapter(8, nullptr));
  // NT 4 and the early 9x kinds never reach an adapter.
  setup.fail = false;
  EXPECT_FALSE(discovery.DiscoverAdapter(6, nullptr));
  EXPECT_FALSE(discovery.DiscoverAdapter(3, nullptr));
}

TEST_F(DiscoveryTest, MissingInstanceIdSkipsTheDevice) {
  NetDevice d = Device("PCI\\VEN_1A5C&DEV_0C31", "{A}", "0003");
  d.netCfgInstanceId.reset();
  setup.devices = {d};
  device.openable["\\\\.\\{A}"] = true;
  EXPECT_FALSE(discovery.DiscoverAdapter(8, nullptr));
}

TEST_F(DiscoveryTest, NinexKindsUseTheFamilyKeyAndServicesClassRoot) {
  setup.devices = {Device("USB\\VID_1A5C&PID_A101", "", "0002")};
  device.openable["\\\\.\\KA10U98"] = true;
  ASSERT_TRUE(discovery.DiscoverAdapter(4, nullptr));
  EXPECT_EQ(discovery.Selected().devicePath, "\\\\.\\KA10U98");
  EXPECT_EQ(discovery.Selected().settingsRoot.rfind("System\\CurrentControlSet\\Services\\Class\\", 0), 0u);

  FakeSetup apSetup;
  apSetup.devices = {Device("USB\\VID_1A5C&PID_A101", "", "0002")};
  device.openable["\\\\.\\KC30U98"] = true;
  OidChannel apChannel(device, clock, Program::AccessPoint);
  AdapterDiscovery ap(apSetup, device, apChannel, Program::AccessPoint);
  ASSERT_TRUE(ap.DiscoverAdapter(5, nullptr));
  EXPECT_EQ(ap.Selected().devicePath, "\\\\.\\KC30U98");
  EXPECT_EQ(ap.Selected().familyIndex, -1);
}

TEST_F(DiscoveryTest, SecondDiscoveryElsewhereSetsAdapterChanged) {
  setup.devices = {Device("PCI\\VEN_1A5C&DEV_0C31", "{A}", "0003")};
  device.openable["\\\\.\\{A}"] = true;
  ASSERT_TRUE(discovery.DiscoverAdapter(8, nullptr));
  discovery.ClearSettingsRoot();  // as the main loop does after losing the device
  ASSERT_TRUE(discovery.DiscoverAdapter(8, nullptr));
  EXPECT_FALSE(discovery.Selected().adapterChanged);

  setup.devices = {Device("PCI\\VEN_1A5C&DEV_0C30", "{B}", "0009")};
  device.openable["\\\\.\\{B}"] = true;
  discovery.ClearSettingsRoot();
  ASSERT_TRUE(discovery.DiscoverAdapter(8, nullptr));
  EXPECT_TRUE(discovery.Selected().adapterChanged);
  discovery.ClearAdapterChanged();
  EXPECT_FALSE(discovery.Selected().adapterChanged);
}

TEST(HardwareIdTables, SizesPerProgram) {
  EXPECT_EQ(PciIds(Program::Station).size(), 4u);
  EXPECT_EQ(UsbIds(Program::Station).size(), 24u);
  EXPECT_EQ(UsbIds(Program::AccessPoint).size(), 19u);
  int ka10u = 0, kd40 = 0, kc30 = 0;
  for (const auto& e : UsbIds(Program::Station)) {
    EXPECT_EQ(std::string(e.prefix).size(), kHardwareIdLength);
    ka10u += e.family == 1;
    kd40 += e.family == kFamilyKD40;
  }
  for (const auto& e : PciIds(Program::Station)) kc30 += e.family == kFamilyKC30;
  EXPECT_EQ(ka10u, 21);
  EXPECT_EQ(kd40, 3);
  EXPECT_EQ(kc30, 3);
}

struct FakeSystem : SystemPort {
  std::optional<OsVersionInfo> extended, plain;
  std::optional<bool> wow64;
  std::optional<OsVersionInfo> GetVersion(bool ext) override { return ext ? extended : plain; }
  uint16_t DefaultUiLanguage() override { return 1033; }
  std::optional<std::string> GetEnv(const std::string&) override { return std::nullopt; }
  std::optional<bool> IsWow64Process() override { return wow64; }
  bool EnableWow64FsRedirection(bool) override { return false; }
};

OsVersionInfo Nt(uint32_t major, uint32_t minor, uint8_t product) {
  return {major, minor, 0, kPlatformWin32Nt, product};
}

TEST(OsVersion, StationAndAccessPointTables) {
  const OsVersionInfo se = {4, 10, 0x040A08AE, kPlatformWin32Windows, 0};  // build 2222
  const OsVersionInfo first = {4, 10, 1998, kPlatformWin32Windows, 0};
  EXPECT_EQ(OsKindFromVersion({4, 0, 950, kPlatformWin32Windows, 0}, Program::Station), 2);
  EXPECT_EQ(OsKindFromVersion(first, Program::Station), 3);
  EXPECT_EQ(OsKindFromVersion(se, Program::Station), 4);
  EXPECT_EQ(OsKindFromVersion({4, 90, 3000, kPlatformWin32Windows, 0}, Program::Station), 5);
  EXPECT_EQ(OsKindFromVersion({4, 20, 0, kPlatformWin32Windows, 0}, Program::Station), 0);
  EXPECT_EQ(OsKindFromVersion(Nt(4, 0, 1), Program::Station), 6);
  EXPECT_EQ(OsKindFromVersion(Nt(5, 0, 1), Program::Station), 7);
  EXPECT_EQ(OsKindFromVersion(Nt(5, 1, 1), Program::Station), 8);
  EXPECT_EQ(OsKindFromVersion(Nt(5, 2, 3), Program::Station), 9);
  EXPECT_EQ(OsKindFromVersion(Nt(5, 2, 1), Program::Station), 10);
  EXPECT_EQ(OsKindFromVersion(Nt(6, 1, 1), Program::Station), 11);
  EXPECT_EQ(OsKindFromVersion(Nt(6, 0, 3), Program::Station), 12);
  EXPECT_EQ(OsKindFromVersion(Nt(6, 0, 2), Program::Station), 12);

  EXPECT_EQ(OsKindFromVersion(se, Program::AccessPoint), 4);
  EXPECT_EQ(OsKindFromVersion(Nt(5, 2, 1), Program::AccessPoint), 9);
  EXPECT_EQ(OsKindFromVersion(Nt(5, 2, 3), Program::AccessPoint), 9);
  EXPECT_EQ(OsKindFromVersion(Nt(6, 0, 3), Program::AccessPoint), 10);
  EXPECT_EQ(OsKindFromVersion(Nt(10, 0, 1), Program::AccessPoint), 10);
}

TEST(OsVersion, FallsBackToPlainRecordAndWow64NeedsKindTen) {
  FakeSystem sys;
  EXPECT_EQ(DetectOsVersion(sys, Program::Station), 0);
  sys.plain = Nt(5, 2, 0);  // no product type in the plain record
  EXPECT_EQ(DetectOsVersion(sys, Program::Station), 9);
  sys.extended = Nt(6, 1, 1);
  EXPECT_EQ(DetectOsVersion(sys, Program::Station), 11);
  sys.wow64 = true;
  EXPECT_FALSE(IsWow64(sys, 9));
  EXPECT_TRUE(IsWow64(sys, 10));
  sys.wow64.reset();
  EXPECT_FALSE(IsWow64(sys, 11));
}

TEST(ConfigRecord, SendsOnlyWhenAByteDiffersAndKeepsDriverWords) {
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel(device, clock, Program::Station);
  channel.SetDevicePath("\\\\.\\X");
  device.openable["\\\\.\\X"] = true;
  ConfigWords driver{1, 0, 1, 1, 0, 0 /*radio off in hardware*/, 0x1234, 0x5678};
  device.handler = [&](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& returned) {
    if (r.oid == VX_OID_802_11_QUERY_STA_CONFIG) {
      Bytes b = EncodeConfigWords(driver);
      std::copy(b.begin(), b.end(), out.begin());
      returned = 32;
    }
    return true;
  };
  auto same = WriteConfigRecord(channel, VX_OID_802_11_QUERY_STA_CONFIG, VX_OID_802_11_SET_STA_CONFIG,
                                [](ConfigWords& w) { w[kStaTxBurst] = 1; });
  EXPECT_EQ(same, ConfigWriteResult::Unchanged);
  EXPECT_EQ(device.requests.size(), 1u);
  ConfigWords sent{};
  auto changed = WriteConfigRecord(channel, VX_OID_802_11_QUERY_STA_CONFIG, VX_OID_802_11_SET_STA_CONFIG,
                                   [](ConfigWords& w) { w[kStaTxBurst] = 0; }, &sent);
  EXPECT_EQ(changed, ConfigWriteResult::Sent);
  ASSERT_EQ(device.requests.size(), 3u);
  EXPECT_EQ(device.requests[2].oid, VX_OID_802_11_SET_STA_CONFIG);
  ConfigWords onWire = DecodeConfigWords(device.requests[2].data);
  EXPECT_EQ(onWire[kStaTxBurst], 0u);
  EXPECT_EQ(onWire[kStaHwRadio], 0u);
  EXPECT_EQ(onWire[6], 0x1234u);
  EXPECT_EQ(onWire[7], 0x5678u);
  EXPECT_EQ(sent, onWire);
}

}  // namespace
}  // namespace vx
