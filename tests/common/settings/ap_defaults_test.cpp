#include "common/settings/ap_defaults.h"

#include <gtest/gtest.h>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "fakes/fake_device.h"
#include "fakes/fake_registry.h"
#include "fakes/virtual_clock.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SYSTEM\\Adapter\\0002";
const std::string kMaster = std::string(kRoot) + "\\ApDefault";

class ApDefaultsTest : public ::testing::Test {
 protected:
  FakeRegistry reg;
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::AccessPoint};
  ApSettingsStore store{reg, [] { return std::string(kRoot); }};

  void SetUp() override {
    device.openable["dev"] = true;
    channel.SetDevicePath("dev");
    device.handler = [](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& n) {
      if (r.oid == OID_802_3_CURRENT_ADDRESS && out.size() >= 6) {
        const uint8_t mac[6] = {0x00, 0x0c, 0x43, 0x12, 0x34, 0xAB};
        std::copy(mac, mac + 6, out.begin());
        n = 6;
      }
      return true;
    };
    reg.CreateKey(Hklm(kRoot));
  }
  std::vector<RegNamedValue> Values(const std::string& path) {
    std::vector<RegNamedValue> v;
    reg.EnumValues(Hklm(path), v);
    return v;
  }
};

TEST_F(ApDefaultsTest, FirstStartCreatesTheDefaultsInOrderAndApplesThem) {
  reg.SetSz(kRoot, "SSID", "station-live");
  store.EnsureAndApply(channel);
  auto master = Values(kMaster);
  std::vector<std::string> names;
  for (const auto& v : master) names.push_back(v.name);
  // TXPower is written twice but is one value, in the place of its first write.
  std::vector<std::string> expected = {
      "SSID", "WirelessMode", "TXBurst", "TransRate", "TurboRate", "BGProtection", "ShortSlot", "Channel",
      "PreambleType", "TXPower", "RtsThresh", "FragThresh", "AuthenType", "Encryption", "WPAPSK", "WEPKey1Type",
      "WEPKey2Type", "WEPKey3Type", "WEPKey4Type", "WEPKeyUse", "WEPKey1", "WEPKey2", "WEPKey3", "WEPKey4",
      "RekeyInterval", "RekeyMethod", "RadiusIP", "RadiusPort", "RadiusKey", "AccessControlPolicy",
      "AccessControlList", "WdsEnable", "WdsList", "AutoChannelSelect", "NoForwarding", "HideSSID", "BeaconPeriod"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(reg.GetSz(kMaster, "SSID"), "SoftAP-AB");
  EXPECT_EQ(reg.GetSz(kMaster, "FragThresh"), "2346");
  EXPECT_EQ(reg.GetSz(kMaster, "WdsEnable"), "0");
  EXPECT_EQ(reg.GetSz(kMaster, "BeaconPeriod"), "100");
  EXPECT_EQ(reg.GetSz(kMaster, "RekeyInterval"), "60");
  auto acl = reg.QueryValue(Hklm(kMaster), "AccessControlList");
  ASSERT_TRUE(acl);
  EXPECT_EQ(acl->type, kRegMultiSz);
  EXPECT_TRUE(acl->strings.empty());
  for (const auto& v : master) EXPECT_EQ(reg.QueryValue(Hklm(kRoot), v.name), v.value) << v.name;
}

TEST_F(ApDefaultsTest, TheStationCreatesItsVariantAndAppliesNothing) {
  EXPECT_TRUE(store.EnsureMaster(ApDefaultsCreator::Station, channel));
  EXPECT_EQ(reg.GetSz(kMaster, "FragThresh"), "0");
  EXPECT_EQ(reg.GetSz(kMaster, "WdsEnable"), "1");
  EXPECT_FALSE(reg.QueryValue(Hklm(kRoot), "WdsEnable"));
  // Whoever creates the key first decides: the access point start keeps the station's values.
  store.EnsureAndApply(channel);
  EXPECT_EQ(reg.GetSz(kRoot, "WdsEnable"), "1");
}

TEST_F(ApDefaultsTest, ASecondStartKeepsTheMasterAndUndoesLiveChanges) {
  store.EnsureAndApply(channel);
  reg.SetSz(kMaster, "Channel", "6");
  reg.SetSz(kRoot, "Channel", "11");
  auto before = Values(kMaster);
  EXPECT_FALSE(store.EnsureMaster(ApDefaultsCreator::AccessPoint, channel));
  store.EnsureAndApply(channel);
  auto after = Values(kMaster);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].name, before[i].name);
    EXPECT_EQ(after[i].value, before[i].value);
  }
  EXPECT_EQ(reg.GetSz(kRoot, "Channel"), "6");
}

TEST_F(ApDefaultsTest, LongListsAreCopiedWhole) {
  store.EnsureAndApply(channel);
  std::vector<std::string> stations;
  size_t bytes = 1;
  for (int i = 0; i < 32; ++i) {
    char mac[13];
    std::snprintf(mac, sizeof mac, "00112233%04X", i);
    stations.push_back(mac);
    bytes += 13;
  }
  EXPECT_EQ(bytes, 417u);  // 32 strings of 12 digits, each with its NUL, and the final NUL
  WriteList(reg, Hklm(kMaster), "AccessControlList", stations);
  ASSERT_TRUE(store.Apply());
  EXPECT_EQ(ReadList(reg, Hklm(kRoot), "AccessControlList"), stations);
}

TEST_F(ApDefaultsTest, NoAdapterKeyMeansNoCopy) {
  ApSettingsStore missing{reg, [] { return std::string("Gone\\Key"); }};
  missing.EnsureAndApply(channel);  // silent
  EXPECT_FALSE(missing.Apply());
  EXPECT_FALSE(reg.KeyExists(Hklm("Gone\\Key")));
}

}  // namespace
}  // namespace vx
