// The access point push: the order of the OIDs, the bytes of every record, the corrections and
// the key derivations, and the sets that are left out when the driver already holds the value.
#include "softap/config/ap_activation.h"

#include <gtest/gtest.h>

#include "base/byte_reader.h"
#include "common/passphrase/passphrase.h"
#include "common/settings/ap_defaults.h"
#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "fakes/fake_registry.h"
#include "softap/ap_fake_driver.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972}\\0007";
const MacAddress kMac = {0x00, 0x0C, 0xE7, 0x30, 0x00, 0x5A};

struct ApActivationTest : ::testing::Test {
  FakeRegistry reg;
  test::ApFakeDriver drv;
  ApActivation act{reg, drv.channel, [] { return std::string(kRoot); }};

  void SetUp() override {
    reg.CreateKey(Hklm(kRoot));
    drv.answers[OID_802_3_CURRENT_ADDRESS] = Bytes(kMac.begin(), kMac.end());
    for (const auto& v : ApDefaultValues(ApDefaultsCreator::AccessPoint, kMac)) reg.SetValue(Hklm(kRoot), v.name, v.value);
  }
  void Put(const char* name, const std::string& text) { reg.SetSz(kRoot, name, text); }
  void PutList(const char* name, std::vector<std::string> list) {
    WriteList(reg, Hklm(kRoot), name, std::move(list));
  }
  uint32_t LastU32(uint32_t oid) {
    auto sets = drv.SetsOf(oid);
    EXPECT_FALSE(sets.empty());
    ByteReader r(sets.back());
    return r.U32();
  }
};

TEST_F(ApActivationTest, DefaultsPushEveryStepInOrderWithQueriesBeforeTheirSets) {
  Put("SSID", "");
  act.ActivateFromRegistry();
  // A driver answering zeroes differs from the defaults everywhere a comparison is made.
  std::vector<uint32_t> expected = {
      VX_OID_802_11_QUERY_PHY_MODE,  // mode 0 equals the zero answer: no set
      VX_OID_802_11_SET_TX_POWER,
      OID_802_11_DESIRED_RATES | kOidSetBit,
      OID_802_11_CONFIGURATION,
      OID_802_11_CONFIGURATION | kOidSetBit,
      VX_OID_802_11_QUERY_PREAMBLE,  // long preamble equals zero
      OID_802_11_RTS_THRESHOLD,
      OID_802_11_RTS_THRESHOLD | kOidSetBit,
      OID_802_11_FRAGMENTATION_THRESHOLD,
      OID_802_11_FRAGMENTATION_THRESHOLD | kOidSetBit,
      VX_OID_802_11_QUERY_AP_CONFIG,
      VX_OID_802_11_SET_AP_CONFIG,
      OID_802_11_AUTHENTICATION_MODE | kOidSetBit,
      OID_802_11_WEP_STATUS | kOidSetBit,
      OID_802_3_CURRENT_ADDRESS,  // the default SSID
      OID_802_11_SSID | kOidSetBit,
      VX_OID_802_11_SET_ACL,
      VX_OID_802_11_SET_WDS,
  };
  EXPECT_EQ(drv.AllOids(), expected);
  EXPECT_EQ(LastU32(VX_OID_802_11_SET_TX_POWER), 100u);
  EXPECT_EQ(drv.SetsOf(OID_802_11_DESIRED_RATES)[0], (Bytes{108, 96, 72, 48, 22, 11, 4, 2}));
  SsidRecord ssid = DecodeSsid(drv.SetsOf(OID_802_11_SSID)[0]);
  EXPECT_EQ(ssid.Text(), "SoftAP-5A");
  EXPECT_EQ(drv.SetsOf(VX_OID_802_11_SET_ACL)[0], Bytes(264, 0));
  EXPECT_EQ(drv.SetsOf(VX_OID_802_11_SET_WDS)[0], Bytes(60, 0));
  ConfigWords w = DecodeConfigWords(drv.SetsOf(VX_OID_802_11_SET_AP_CONFIG)[0]);
  EXPECT_EQ(w, (ConfigWords{1, 0, 0, 0, 0, 1, 0, 0}));
  EXPECT_TRUE(act.State().wepOrOpen);
}

TEST_F(ApActivationTest, ValuesTheDriverAlreadyHoldsAreNotSetAgain) {
  ConfigurationRecord config;
  config.beaconPeriod = 100;
  config.dsConfig = 2437000;
  drv.answers[OID_802_11_CONFIGURATION] = EncodeConfiguration(config);
  Put("Channel", "6");
  drv.AnswerU32(VX_OID_802_11_QUERY_PREAMBLE, 0);
  drv.AnswerU32(OID_802_11_RTS_THRESHOLD, 2347);
  drv.AnswerU32(OID_802_11_FRAGMENTATION_THRESHOLD, 2346);
  drv.answers[VX_OID_802_11_QUERY_AP_CONFIG] = EncodeConfigWords({1, 0, 0, 0, 0, 1, 0xAA, 0xBB});
  Put("AuthenType", "3");
  Put("Encryption", "4");
  Put("RadiusIP", "-1062731519");  // 192.168.1.1
  Put("RadiusPort", "1812");
  Put("RadiusKey", "secret");
  drv.answers[VX_OID_802_11_QUERY_RADIUS_DATA] = EncodeRadius({0xC0A80101, 1812, "secret"});
  drv.answers[VX_OID_802_11_QUERY_REKEY_INFO] = EncodeRekey({0, 60});
  act.ActivateFromRegistry();
  auto sets = drv.SetOids();
  for (uint32_t oid : std::vector<uint32_t>{OID_802_11_CONFIGURATION, OID_802_11_RTS_THRESHOLD, OID_802_11_FRAGMENTATION_THRESHOLD,
                       VX_OID_802_11_SET_PREAMBLE & ~kOidSetBit, VX_OID_802_11_SET_AP_CONFIG & ~kOidSetBit,
                       VX_OID_802_11_SET_RADIUS_DATA & ~kOidSetBit, VX_OID_802_11_SET_REKEY_INFO & ~kOidSetBit})
    EXPECT_EQ(std::count(sets.begin(), sets.end(), oid), 0) << std::hex << oid;
  EXPECT_EQ(LastU32(OID_802_11_WEP_STATUS), 4u);
  EXPECT_FALSE(act.State().wepOrOpen);
}

TEST_F(ApActivationTest, ChangedRecordsKeepTheDriversOwnWords) {
  drv.answers[VX_OID_802_11_QUERY_AP_CONFIG] = EncodeConfigWords({0, 0, 0, 0, 2, 0, 0xAA, 0xBB});
  Put("WirelessMode", "4");  // protection is sent as 0 outside the mixed modes
  Put("BGProtection", "1");
  Put("HideSSID", "1");
  ConfigurationRecord config;
  config.beaconPeriod = 200;
  config.atimWindow = 7;
  config.dsConfig = 2412000;
  drv.answers[OID_802_11_CONFIGURATION] = EncodeConfiguration(config);
  Put("Channel", "11");
  Put("BeaconPeriod", "300");
  act.ActivateFromRegistry();
  EXPECT_EQ(DecodeConfigWords(drv.SetsOf(VX_OID_802_11_SET_AP_CONFIG)[0]), (ConfigWords{1, 0, 0, 1, 0, 1, 0xAA, 0xBB}));
  ConfigurationRecord sent = DecodeConfiguration(drv.SetsOf(OID_802_11_CONFIGURATION)[0]);
  EXPECT_EQ(sent.dsConfig, 2462000u);
  EXPECT_EQ(sent.beaconPeriod, 300u);
  EXPECT_EQ(sent.atimWindow, 7u);
  EXPECT_EQ(LastU32(VX_OID_802_11_SET_PHY_MODE), 4u);
}

// A driver that cannot report its record still gets the settings: the record keeps what it held
// before the query (zeros) and the comparison decides, in both activations.
TEST_F(ApActivationTest, AFailedConfigurationQueryStillSendsTheRecordWhenItDiffers) {
  drv.failing.push_back(VX_OID_802_11_QUERY_AP_CONFIG);
  Put("TXBurst", "1");
  Put("HideSSID", "1");
  Put("NoForwarding", "1");
  Put("ShortSlot", "1");
  act.ActivateFromRegistry();
  ASSERT_EQ(drv.SetsOf(VX_OID_802_11_SET_AP_CONFIG).size(), 1u);
  EXPECT_EQ(DecodeConfigWords(drv.SetsOf(VX_OID_802_11_SET_AP_CONFIG)[0]),
            (ConfigWords{1, 0, 1, 1, 0, 1, 0, 0}));

  drv.Clear();
  ApSettings page = ReadApSettings(reg, Hklm(kRoot));
  page.turboRate = 1;
  act.ActivateFromPage(page, [] {});
  ASSERT_EQ(drv.SetsOf(VX_OID_802_11_SET_AP_CONFIG).size(), 1u);
  EXPECT_EQ(DecodeConfigWords(drv.SetsOf(VX_OID_802_11_SET_AP_CONFIG)[0]),
            (ConfigWords{1, 1, 1, 1, 0, 1, 0, 0}));

  // Settings that are all zero equal the unanswered record: nothing to send.
  drv.Clear();
  for (const char* n : {"TXBurst", "TurboRate", "NoForwarding", "HideSSID", "BGProtection", "ShortSlot"})
    Put(n, "0");
  act.ActivateFromRegistry();
  EXPECT_TRUE(drv.SetsOf(VX_OID_802_11_SET_AP_CONFIG).empty());
}

TEST_F(ApActivationTest, AutoChannelSelectLeavesTheDriversFrequency) {
  ConfigurationRecord config;
  config.beaconPeriod = 50;
  config.dsConfig = 2412000;
  drv.answers[OID_802_11_CONFIGURATION] = EncodeConfiguration(config);
  Put("Channel", "6");
  Put("AutoChannelSelect", "1");
  act.ActivateFromRegistry();
  EXPECT_EQ(DecodeConfiguration(drv.SetsOf(OID_802_11_CONFIGURATION)[0]).dsConfig, 2412000u);
}

TEST(ApTables, RateAndChannelCorners) {
  using R = std::array<uint8_t, 8>;
  EXPECT_EQ(ApDesiredRates(4, 1), (R{12}));                // 6 Mbps, not 1 Mbps
  EXPECT_EQ(ApDesiredRates(1, 7), (R{22, 11, 4, 2}));      // beyond B's list: automatic
  EXPECT_EQ(ApDesiredRates(2, 9), (R{108, 96, 72, 48, 36, 24, 18, 12}));
  EXPECT_EQ(ApDesiredRates(3, 12), (R{108}));
  EXPECT_EQ(ApDesiredRates(0, 13), (R{108, 96, 72, 48, 22, 11, 4, 2}));
  EXPECT_EQ(ApTxPowerPercent(5), 100u);
  EXPECT_FALSE(ApChannelFrequency(15));
  EXPECT_EQ(ApAllowedChannels(3, 6, 6), (std::vector<uint32_t>{3, 4, 5, 6, 7, 8, 9, 36, 40, 44, 48}));
  EXPECT_EQ(ApChannels5(7).size(), 24u);
}

TEST(ApTables, EncryptionCorrections) {
  EXPECT_EQ(ApCorrectEncryption(0, 6), 1u);
  EXPECT_EQ(ApCorrectEncryption(1, 0), 0u);
  EXPECT_EQ(ApCorrectEncryption(4, 1), 4u);
  EXPECT_EQ(ApCorrectEncryption(7, 6), 6u);
  EXPECT_EQ(ApCorrectEncryption(8, 5), 4u);
  EXPECT_EQ(ApCorrectEncryption(9, 8), 8u);
  EXPECT_EQ(ApCorrectEncryptionFromPage(4, 1), 4u);
  EXPECT_EQ(ApCorrectEncryptionFromPage(4, 5), 5u);  // the page keeps the key-absent values
  EXPECT_EQ(ApCorrectEncryptionFromPage(8, 0), 0u);
  EXPECT_EQ(ApCorrectEncryptionFromPage(1, 1), 1u);
}

TEST_F(ApActivationTest, WpaPskSendsThePassphraseKeyAndNoWepKeys) {
  Put("AuthenType", "4");
  Put("Encryption", "1");
  Put("SSID", "Hotspot");
  Put("WPAPSK", "correct horse");
  Put("WEPKey1", "0123456789");
  act.ActivateFromRegistry();
  EXPECT_EQ(LastU32(OID_802_11_WEP_STATUS), 4u);
  auto keys = drv.SetsOf(OID_802_11_ADD_KEY);
  ASSERT_EQ(keys.size(), 1u);
  auto k = DecodeAddKey(keys[0]);
  ASSERT_TRUE(k);
  EXPECT_EQ(k->length, 71u);
  EXPECT_EQ(k->keyIndex, 0x80000000u);
  EXPECT_EQ(k->bssid, MacAddress{});
  Psk expected = PassphraseToPsk("correct horse", "Hotspot");
  EXPECT_EQ(k->material, Bytes(expected.begin(), expected.end()));
  EXPECT_TRUE(drv.SetsOf(OID_802_11_REMOVE_KEY).empty());
}

TEST(ApKeys, PskForms) {
  std::string hex(64, 'a');
  auto k = ApDerivePsk(hex, "x");
  EXPECT_EQ(k[0], 0xAA);
  EXPECT_EQ(k[31], 0xAA);
  std::string bad = hex;
  bad[10] = 'G';
  EXPECT_EQ(ApDerivePsk(bad, "x"), Psk{});  // not sent as meaningless bytes
  EXPECT_EQ(ApDerivePsk(std::string(63, 'p'), std::string(33, 's')), Psk{});
  EXPECT_EQ(ApDerivePsk("password", "IEEE"), PassphraseToPsk("password", "IEEE"));
  Psk wds{};
  const uint8_t salt[] = {'T', 'a', 'm', 's', 'e', 'l'};
  const std::string pass = "wds-pass";
  Pbkdf2HmacSha1(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(pass.data()), pass.size()), salt, 4096, wds);
  EXPECT_EQ(ApWdsKey(pass), wds);
}

TEST_F(ApActivationTest, WepKeysOfWrongLengthOrWithNonHexCharactersAreRemoved) {
  Put("AuthenType", "0");
  Put("Encryption", "0");
  Put("WEPKeyUse", "3");
  Put("WEPKey1", "0123456789");
  Put("WEPKey2", "0123456789AB");  // 12 digits
  Put("WEPKey3", "00112233445566778899aabbcc");
  Put("WEPKey4", "01234567xz");  // right length, not hexadecimal
  act.ActivateFromRegistry();
  auto adds = drv.SetsOf(OID_802_11_ADD_KEY);
  auto removes = drv.SetsOf(OID_802_11_REMOVE_KEY);
  ASSERT_EQ(adds.size(), 2u);
  ASSERT_EQ(removes.size(), 2u);
  auto k1 = DecodeAddKey(adds[0]);
  EXPECT_EQ(k1->keyIndex, 0u);
  EXPECT_EQ(k1->length, 44u);
  EXPECT_EQ(k1->bssid, (MacAddress{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(k1->material, (Bytes{0x01, 0x23, 0x45, 0x67, 0x89}));
  auto k3 = DecodeAddKey(adds[1]);
  EXPECT_EQ(k3->keyIndex, 0x80000002u);
  EXPECT_EQ(k3->material.size(), 13u);
  EXPECT_EQ(DecodeRemoveKeyIndex(removes[0]), 1u);
  EXPECT_EQ(DecodeRemoveKeyIndex(removes[1]), 3u);
  EXPECT_EQ(removes[0].size(), 16u);
}

TEST_F(ApActivationTest, SharedKeySendsKeysWhateverTheEncryption) {
  Put("AuthenType", "1");
  Put("Encryption", "1");
  act.ActivateFromRegistry();
  EXPECT_EQ(drv.SetsOf(OID_802_11_REMOVE_KEY).size(), 4u);
}

TEST_F(ApActivationTest, WdsPeersAndKeyAndTheCountForcedToZeroUnderWpa) {
  PutList("WdsList", {"00AABBCCDD01", "00AABBCCDD02", "00AABBCCDD03", "00AABBCCDD04"});
  Put("WdsEnable", "0");
  Put("AuthenType", "0");
  act.ActivateFromRegistry();
  WdsRecord open = DecodeWds(drv.SetsOf(VX_OID_802_11_SET_WDS).back());
  ASSERT_EQ(open.peers.size(), 3u);
  EXPECT_EQ(open.peers[2], (MacAddress{0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0x03}));
  EXPECT_FALSE(open.key);

  drv.Clear();
  Put("AuthenType", "7");
  Put("Encryption", "6");
  Put("WPAPSK", "link-pass");
  act.ActivateFromRegistry();
  Bytes raw = drv.SetsOf(VX_OID_802_11_SET_WDS).back();
  WdsRecord wpa = DecodeWds(raw);
  EXPECT_TRUE(wpa.peers.empty());
  ASSERT_TRUE(wpa.key);
  EXPECT_EQ(*wpa.key, ApWdsKey("link-pass"));
  EXPECT_EQ(raw[24], 32);

  drv.Clear();
  Put("WdsEnable", "1");
  act.ActivateFromRegistry();
  EXPECT_EQ(drv.SetsOf(VX_OID_802_11_SET_WDS).back(), Bytes(60, 0));
}

TEST_F(ApActivationTest, AccessControlListOf32AndPolicyZeroSendsNothingListed) {
  std::vector<std::string> list;
  for (int i = 0; i < 33; ++i) {
    char b[13];
    std::snprintf(b, sizeof b, "0012345678%02X", i);
    list.push_back(b);
  }
  PutList("AccessControlList", list);
  Put("AccessControlPolicy", "2");
  act.ActivateFromRegistry();
  Bytes acl = drv.SetsOf(VX_OID_802_11_SET_ACL).back();
  ASSERT_EQ(acl.size(), 264u);
  AccessControlRecord r = DecodeAccessControl(acl);
  EXPECT_EQ(r.policy, 2u);
  ASSERT_EQ(r.macs.size(), 32u);
  EXPECT_EQ(r.macs[31][5], 31);

  drv.Clear();
  Put("AccessControlPolicy", "0");
  act.ActivateFromRegistry();
  EXPECT_EQ(drv.SetsOf(VX_OID_802_11_SET_ACL).back(), Bytes(264, 0));
}

TEST_F(ApActivationTest, ChannelCheckReplacesADisallowedChannelAlsoInTheStationDefaults) {
  reg.CreateKey(Hklm(std::string(kRoot) + "\\Default"));
  Put("Channel", "14");
  drv.AnswerU32(VX_OID_802_11_QUERY_COUNTRY_REGION, 0x0000);
  EXPECT_TRUE(act.CheckChannel());
  EXPECT_EQ(reg.GetSz(kRoot, "Channel"), "1");
  EXPECT_EQ(reg.GetSz(std::string(kRoot) + "\\Default", "Channel"), "1");
  EXPECT_TRUE(act.State().bgRegionChangeable);

  // A fixed region 5 allows 14; the driver's phy mode wins over the stored one.
  Put("Channel", "14");
  Put("WirelessMode", "1");
  drv.AnswerU32(VX_OID_802_11_QUERY_COUNTRY_REGION, 0x0085);
  drv.AnswerU32(VX_OID_802_11_QUERY_PHY_MODE, 4);
  EXPECT_TRUE(act.CheckChannel());
  EXPECT_EQ(reg.GetSz(kRoot, "Channel"), "14");
  EXPECT_FALSE(act.State().bgRegionChangeable);
  EXPECT_EQ(act.State().bgRegion, 5u);
  EXPECT_EQ(act.State().wirelessMode, 4u);
}

TEST_F(ApActivationTest, ChannelCheckWithoutAdapterKeyDoesNothing) {
  ApActivation none(reg, drv.channel, [] { return std::string("SYSTEM\\Missing"); });
  EXPECT_FALSE(none.CheckChannel());
  EXPECT_TRUE(drv.device.requests.empty());
}

TEST_F(ApActivationTest, PageOrderPutsPowerAfterThresholdsAndWdsBeforeTheEncryption) {
  ApSettings page = ReadApSettings(reg, Hklm(kRoot));
  page.ssid = "Typed";
  page.authenType = 4;
  page.encryption = 1;
  page.wpaPsk = "pagepass1";
  int rebuilt = 0;
  act.ActivateFromPage(page, [&] { ++rebuilt; });
  EXPECT_EQ(rebuilt, 1);
  std::vector<uint32_t> expected = {
      OID_802_11_DESIRED_RATES,
      OID_802_11_CONFIGURATION,
      OID_802_11_RTS_THRESHOLD,
      OID_802_11_FRAGMENTATION_THRESHOLD,
      VX_OID_802_11_SET_TX_POWER & ~kOidSetBit,
      VX_OID_802_11_SET_AP_CONFIG & ~kOidSetBit,
      OID_802_11_AUTHENTICATION_MODE,
      VX_OID_802_11_SET_WDS & ~kOidSetBit,
      OID_802_11_WEP_STATUS,
      OID_802_11_ADD_KEY,
      VX_OID_802_11_SET_REKEY_INFO & ~kOidSetBit,
      OID_802_11_SSID,
  };
  EXPECT_EQ(drv.SetOids(), expected);
  EXPECT_EQ(LastU32(OID_802_11_WEP_STATUS), 4u);
  EXPECT_EQ(DecodeSsid(drv.SetsOf(OID_802_11_SSID)[0]).Text(), "Typed");
  auto k = DecodeAddKey(drv.SetsOf(OID_802_11_ADD_KEY)[0]);
  Psk expectedKey = PassphraseToPsk("pagepass1", "Typed");
  EXPECT_EQ(k->material, Bytes(expectedKey.begin(), expectedKey.end()));
}

TEST_F(ApActivationTest, PageSendsUnknownAuthenticationAsOpenAndRadiusForWpa2) {
  ApSettings page = ReadApSettings(reg, Hklm(kRoot));
  page.authenType = 5;
  act.ActivateFromPage(page, nullptr);
  EXPECT_EQ(LastU32(OID_802_11_AUTHENTICATION_MODE), 0u);
  drv.Clear();
  page.authenType = 6;
  page.encryption = 6;
  page.radiusPort = 1812;
  act.ActivateFromPage(page, nullptr);
  EXPECT_EQ(drv.SetsOf(VX_OID_802_11_SET_RADIUS_DATA).size(), 1u);
}

}  // namespace
}  // namespace vx
