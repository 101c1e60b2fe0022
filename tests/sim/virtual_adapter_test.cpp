// Association outcomes per security type, request sizes and fault injection of the virtual adapter.
#include "sim/adapter/virtual_adapter.h"

#include <gtest/gtest.h>

#include "common/passphrase/passphrase.h"
#include "adapter_test_util.h"

namespace vx::sim {
namespace {

using test::Requests;

class AdapterTest : public ::testing::Test {
 protected:
  AdapterTest() : adapter_(AdapterHardware{}, DefaultWorld()), io_(adapter_, adapter_.DevicePath()) {}

  // The order the station sends an activation in, reduced to what association depends on.
  void Configure(uint32_t infra, uint32_t auth, uint32_t enc) {
    ASSERT_TRUE(io_.SetU32(OID_802_11_INFRASTRUCTURE_MODE, infra));
    ASSERT_TRUE(io_.SetU32(OID_802_11_AUTHENTICATION_MODE, auth));
    ASSERT_TRUE(io_.SetU32(OID_802_11_WEP_STATUS, enc));
  }
  void AddWepKey(std::vector<uint8_t> key, uint32_t index = 0) {
    ASSERT_TRUE(io_.Set(OID_802_11_ADD_KEY, EncodeAddKey(index | kTransmitKeyBit, key)));
  }
  uint32_t LinkEvent() { return io_.QueryU32(VX_OID_802_11_QUERY_LINK_EVENT).value_or(99); }
  uint32_t RcvOk() { return io_.QueryU32(OID_GEN_RCV_OK).value_or(0); }
  uint64_t TxFrames() { return DecodeStatistics(*io_.Query(OID_802_11_STATISTICS, 176)).transmittedFragmentCount; }
  // The supplicant's pass phrase, given for the network `ssid`.
  void Passphrase(const std::string& p, const std::string& ssid) {
    SupplicantCredentials c;
    c.passphrase = p;
    c.pskSsid = ssid;
    adapter_.SetSupplicantCredentials(c);
  }

  VirtualAdapter adapter_;
  Requests io_;
};

TEST_F(AdapterTest, OpenNetworkBySsidAndByBssid) {
  Configure(kInfraInfrastructure, kAuthOpen, kEncDisabled);
  EXPECT_FALSE(io_.Connected());
  EXPECT_FALSE(io_.Query(OID_802_11_BSSID, 6));  // not associated
  ASSERT_TRUE(io_.SetSsid("Arventa-AP"));
  EXPECT_TRUE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 0u);
  EXPECT_EQ(*io_.Query(OID_802_11_BSSID, 6), (std::vector<uint8_t>{0x00, 0x0C, 0xE7, 0x10, 0x20, 0x30}));
  EXPECT_EQ(DecodeSsid(*io_.Query(OID_802_11_SSID, 36)).Text(), "Arventa-AP");
  EXPECT_EQ(DecodeConfiguration(*io_.Query(OID_802_11_CONFIGURATION, 32)).dsConfig, 2437000u);
  EXPECT_EQ(*io_.Query(VX_OID_802_11_QUERY_AP_IP_ADDRESS, 4), (std::vector<uint8_t>{192, 168, 1, 1}));

  ASSERT_TRUE(io_.Set(OID_802_11_DISASSOCIATE, {}));
  EXPECT_FALSE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 1u);

  ASSERT_TRUE(io_.Set(OID_802_11_BSSID, {0x00, 0x0C, 0xE7, 0x10, 0x20, 0x30}));
  EXPECT_TRUE(io_.Connected());
}

TEST_F(AdapterTest, EmptySsidJoinsTheStrongestOpenInfrastructureNetwork) {
  Configure(kInfraInfrastructure, kAuthOpen, kEncDisabled);
  ASSERT_TRUE(io_.SetSsid(""));
  EXPECT_TRUE(io_.Connected());
  EXPECT_EQ(DecodeSsid(*io_.Query(OID_802_11_SSID, 36)).Text(), "Arventa-AP");
  // Ad hoc with an empty SSID starts nothing of its own and joins nobody.
  Configure(kInfraAdhoc, kAuthOpen, kEncDisabled);
  ASSERT_TRUE(io_.SetSsid(""));
  EXPECT_FALSE(io_.Connected());
}

TEST_F(AdapterTest, WepRightKeyReceivesWrongKeyOnlyTransmits) {
  Configure(kInfraInfrastructure, kAuthOpen, kEncWepEnabled);
  AddWepKey({0x12, 0x34, 0x56, 0x78, 0x9A});
  ASSERT_TRUE(io_.SetSsid("OldWep"));
  ASSERT_TRUE(io_.Connected());
  uint32_t rx = RcvOk();
  adapter_.Tick(10);
  EXPECT_GT(RcvOk(), rx);

  // A wrong key still associates with open authentication, but nothing can be decrypted.
  AddWepKey({0x12, 0x34, 0x56, 0x78, 0x00});
  ASSERT_TRUE(io_.Connected());
  rx = RcvOk();
  uint64_t tx = TxFrames();
  adapter_.Tick(10);
  EXPECT_EQ(RcvOk(), rx);
  EXPECT_GE(TxFrames(), tx + 10);

  // Shared-key authentication proves the key first and fails.
  ASSERT_TRUE(io_.SetU32(OID_802_11_AUTHENTICATION_MODE, kAuthShared));
  EXPECT_FALSE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 5u);

  // WEP off towards a WEP network: refused.
  Configure(kInfraInfrastructure, kAuthOpen, kEncDisabled);
  EXPECT_FALSE(io_.Connected());
}

TEST_F(AdapterTest, WpaPskNeedsTheMatchingPassphrase) {
  Configure(kInfraInfrastructure, kAuthWpa2Psk, kEncAesEnabled);
  ASSERT_TRUE(io_.SetSsid("HomeNet"));
  EXPECT_FALSE(io_.Connected());  // the supplicant holds nothing yet
  EXPECT_EQ(LinkEvent(), 8u);

  Passphrase("not the passphrase", "HomeNet");
  EXPECT_FALSE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 8u);

  Passphrase("correct horse battery", "Office-Mixed");  // the right phrase, for another network
  EXPECT_FALSE(io_.Connected());
  Passphrase("correct horse battery", "HomeNet");
  EXPECT_TRUE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 0u);

  // The 32-byte key works as well as the passphrase.
  SupplicantCredentials key;
  key.psk = PassphraseToPsk("correct horse battery", "HomeNet");
  key.pskSsid = "HomeNet";
  adapter_.SetSupplicantCredentials(key);
  EXPECT_TRUE(io_.Connected());

  // WPA (not WPA2) towards a WPA2-only network fails to associate.
  ASSERT_TRUE(io_.SetU32(OID_802_11_AUTHENTICATION_MODE, kAuthWpaPsk));
  EXPECT_FALSE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 6u);
}

TEST_F(AdapterTest, MixedNetworkTakesWpaAndWpa2WithEitherCipher) {
  Passphrase("office passphrase 2006", "Office-Mixed");
  for (uint32_t auth : {kAuthWpaPsk, kAuthWpa2Psk})
    for (uint32_t enc : {kEncTkipEnabled, kEncAesEnabled}) {
      Configure(kInfraInfrastructure, auth, enc);
      ASSERT_TRUE(io_.SetSsid("Office-Mixed"));
      EXPECT_TRUE(io_.Connected()) << auth << " " << enc;
    }
  // An AES-only network refuses TKIP.
  Passphrase("correct horse battery", "HomeNet");
  Configure(kInfraInfrastructure, kAuthWpa2Psk, kEncTkipEnabled);
  ASSERT_TRUE(io_.SetSsid("HomeNet"));
  EXPECT_FALSE(io_.Connected());
}

TEST_F(AdapterTest, EnterpriseNeedsAnAccount) {
  Configure(kInfraInfrastructure, kAuthWpa2, kEncAesEnabled);
  SupplicantCredentials c;
  c.method = EapMethod::Peap;
  c.identity = "alice";
  c.password = "wrong";
  adapter_.SetSupplicantCredentials(c);
  ASSERT_TRUE(io_.SetSsid("CorpSecure"));
  EXPECT_FALSE(io_.Connected());
  EXPECT_EQ(adapter_.LastEapStatus(), 62u);

  c.password = "wonderland";
  adapter_.SetSupplicantCredentials(c);
  EXPECT_TRUE(io_.Connected());
  EXPECT_EQ(adapter_.LastEapStatus(), 30u);

  c.method = EapMethod::Md5;  // right password, wrong method
  adapter_.SetSupplicantCredentials(c);
  EXPECT_FALSE(io_.Connected());
}

TEST_F(AdapterTest, DynamicWepTakesLeapFromTheProfileExtension) {
  Configure(kInfraInfrastructure, kAuthOpen, kEncWepEnabled);
  std::vector<uint8_t> ext(kProfileExtensionSize, 0);
  auto put = [&](size_t at, const std::string& text, size_t lengthAt) {
    std::copy(text.begin(), text.end(), ext.begin() + static_cast<long>(at));
    ext[lengthAt] = static_cast<uint8_t>(text.size());
  };
  ext[0] = 1;
  put(4, "erin", 260);
  put(264, "wrong", 520);
  ASSERT_TRUE(io_.Set(VX_OID_802_11_SET_PROFILE_EXTENSION, ext));
  ASSERT_TRUE(io_.SetSsid("Campus-LEAP"));
  EXPECT_FALSE(io_.Connected());
  std::fill(ext.begin() + 264, ext.begin() + 520, 0);
  put(264, "leappass", 520);
  ASSERT_TRUE(io_.Set(VX_OID_802_11_SET_PROFILE_EXTENSION, ext));
  EXPECT_TRUE(io_.Connected());

  // The same network through the supplicant's MD5 credentials.
  ext[0] = 0;
  ASSERT_TRUE(io_.Set(VX_OID_802_11_SET_PROFILE_EXTENSION, ext));
  EXPECT_FALSE(io_.Connected());
  SupplicantCredentials c;
  c.method = EapMethod::Md5;
  c.identity = "frank";
  c.password = "md5frank";
  adapter_.SetSupplicantCredentials(c);
  EXPECT_TRUE(io_.Connected());
}

TEST_F(AdapterTest, AdhocJoinsOrCreates) {
  Configure(kInfraAdhoc, kAuthOpen, kEncDisabled);
  ASSERT_TRUE(io_.SetSsid("GameRoom"));
  EXPECT_TRUE(io_.Connected());
  EXPECT_EQ(adapter_.State().bssid, (MacAddress{0x02, 0x11, 0x22, 0x33, 0x44, 0x55}));

  // An infrastructure SSID is not joined in ad hoc mode: the adapter starts its own IBSS.
  ConfigurationRecord config = DecodeConfiguration(*io_.Query(OID_802_11_CONFIGURATION, 32));
  config.dsConfig = 2462000;
  ASSERT_TRUE(io_.Set(OID_802_11_CONFIGURATION, EncodeConfiguration(config)));
  Configure(kInfraAdhoc, kAuthWpaNone, kEncTkipEnabled);
  Psk key = PassphraseToPsk("lan party key", "MyIbss");
  ASSERT_TRUE(io_.Set(OID_802_11_ADD_KEY_SET & ~kOidSetBit, EncodeAddKey(kTransmitKeyBit, key)));
  ASSERT_TRUE(io_.SetSsid("MyIbss"));
  EXPECT_TRUE(io_.Connected());
  AdapterState s = adapter_.State();
  EXPECT_EQ(s.channel, 11u);
  EXPECT_EQ(s.pairwiseKey, key);
  EXPECT_NE(s.bssid, adapter_.Hardware().mac);
}

TEST_F(AdapterTest, HiddenNetworkJoinsBySsid) {
  Passphrase("hidden lab key", "HiddenLab");
  Configure(kInfraInfrastructure, kAuthWpa2Psk, kEncAesEnabled);
  ASSERT_TRUE(io_.SetSsid("HiddenLab"));
  EXPECT_TRUE(io_.Connected());
}

TEST_F(AdapterTest, LinkDropsOutOfRangeAndWithTheRadio) {
  Configure(kInfraInfrastructure, kAuthOpen, kEncDisabled);
  ASSERT_TRUE(io_.SetSsid("Arventa-AP"));
  ASSERT_TRUE(io_.Connected());

  adapter_.SetNetworkRssi("Arventa-AP", -77);
  EXPECT_EQ(static_cast<int32_t>(*io_.QueryU32(OID_802_11_RSSI)), -77);

  adapter_.SetNetworkInRange("Arventa-AP", false);
  EXPECT_FALSE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 1u);
  adapter_.SetNetworkInRange("00-0C-E7-10-20-30", true);  // by BSSID text
  EXPECT_TRUE(io_.Connected());  // the driver keeps trying its SSID

  ASSERT_TRUE(io_.SetU32(VX_OID_802_11_SET_RADIO, 0));
  EXPECT_FALSE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 3u);
  ASSERT_TRUE(io_.SetU32(VX_OID_802_11_SET_RADIO, 1));
  EXPECT_TRUE(io_.Connected());

  adapter_.SetHardwareRadio(false);
  EXPECT_FALSE(io_.Connected());
  EXPECT_EQ(LinkEvent(), 2u);
  EXPECT_EQ(DecodeConfigWords(*io_.Query(VX_OID_802_11_QUERY_STA_CONFIG, 32))[kStaHwRadio], 0u);
}

TEST_F(AdapterTest, MalformedRequestsFailAndLeaveTheBuffer) {
  auto h = adapter_.Open(adapter_.DevicePath());
  ASSERT_TRUE(h);
  std::vector<uint8_t> in = {0x14, 0x01, 0x01, 0x00};  // OID_GEN_MEDIA_CONNECT_STATUS
  std::vector<uint8_t> out(4, 0xAA);
  uint32_t n = 7;
  EXPECT_FALSE(h->Control(0x00170006, in, out, n));  // another I/O control
  EXPECT_FALSE(h->Control(kIoctlNdisQueryGlobalStats, std::vector<uint8_t>{0x14, 0x01}, out, n));
  std::vector<uint8_t> small(3, 0xAA);
  EXPECT_FALSE(h->Control(kIoctlNdisQueryGlobalStats, in, small, n));
  EXPECT_EQ(small, std::vector<uint8_t>(3, 0xAA));
  EXPECT_EQ(n, 0u);
  EXPECT_TRUE(h->Control(kIoctlNdisQueryGlobalStats, in, out, n));
  EXPECT_EQ(n, 4u);

  EXPECT_FALSE(io_.Query(0x0D7101FF, 4));              // unknown vendor object
  EXPECT_FALSE(io_.Query(OID_802_11_STATISTICS, 100));  // shorter than the record
  EXPECT_FALSE(io_.Set(OID_802_11_SSID, std::vector<uint8_t>(10)));
  auto ssid = ByteWriter().U32(33).Zeros(32).Take();
  EXPECT_FALSE(io_.Set(OID_802_11_SSID, ssid));  // length beyond the 32 bytes
  EXPECT_FALSE(io_.Set(OID_802_11_ADD_KEY, {1, 2, 3}));
  EXPECT_FALSE(io_.Set(OID_802_11_ADD_KEY, EncodeAddKey(0, std::vector<uint8_t>(7))));
  auto truncated = EncodeAddKey(0, std::vector<uint8_t>(13));
  truncated.resize(40);
  EXPECT_FALSE(io_.Set(OID_802_11_ADD_KEY, truncated));
  EXPECT_FALSE(io_.SetU32(VX_OID_802_11_SET_PHY_MODE, 2));  // no 5 GHz band on this adapter
  // Every catalogue query answers with the record sizes the callers pass.
  for (auto [oid, size] : std::initializer_list<std::pair<uint32_t, size_t>>{
           {OID_GEN_DRIVER_VERSION, 2}, {OID_802_3_CURRENT_ADDRESS, 6}, {VX_OID_802_11_QUERY_EVENT_TABLE, 168},
           {VX_OID_802_11_QUERY_MAC_TABLE, 260}, {VX_OID_802_11_QUERY_AP_CONFIG, 32},
           {VX_OID_802_11_QUERY_RADIUS_DATA, 72}, {VX_OID_802_11_QUERY_REKEY_INFO, 8},
           {VX_OID_802_11_QUERY_LINK_STATUS, 16}, {VX_OID_802_11_QUERY_HARDWARE_REGISTER, 12},
           {OID_802_11_NETWORK_TYPES_SUPPORTED, 20}, {VX_OID_802_11_QUERY_EEPROM_VERSION, 4},
           {VX_OID_802_11_QUERY_FIRMWARE_VERSION, 4}, {VX_OID_802_11_QUERY_NOISE_LEVEL, 4},
           {VX_OID_802_11_QUERY_SECOND_RSSI, 4}, {VX_OID_802_11_QUERY_TX_RATE, 4}})
    EXPECT_TRUE(io_.Query(oid, size)) << std::hex << oid;
  EXPECT_EQ(*io_.Query(OID_GEN_DRIVER_VERSION, 2), (std::vector<uint8_t>{0x01, 0x05}));
}

TEST_F(AdapterTest, DriverOwnedWordsSurviveWrites) {
  ConfigWords before = DecodeConfigWords(*io_.Query(VX_OID_802_11_QUERY_STA_CONFIG, 32));
  ConfigWords w{1, 1, 1, 1, 1, 0, 0, 0};
  ASSERT_TRUE(io_.Set(VX_OID_802_11_SET_STA_CONFIG, EncodeConfigWords(w)));
  ConfigWords after = DecodeConfigWords(*io_.Query(VX_OID_802_11_QUERY_STA_CONFIG, 32));
  EXPECT_EQ(after[0], 1u);
  EXPECT_EQ(after[5], before[5]);
  EXPECT_EQ(after[6], before[6]);

  // A fixed 2.4 GHz region keeps its code; the 5 GHz code changes.
  AdapterHardware hw;
  hw.countryRegion = 0x0085;
  VirtualAdapter fixed(hw, World{});
  Requests io(fixed, fixed.DevicePath());
  ASSERT_TRUE(io.SetU32(VX_OID_802_11_SET_COUNTRY_REGION, EncodeCountryRegionSet(1, 2)));
  EXPECT_EQ(*io.QueryU32(VX_OID_802_11_QUERY_COUNTRY_REGION), 0x0285u);
}

TEST_F(AdapterTest, UnplugReplugAndFailingRequests) {
  Configure(kInfraInfrastructure, kAuthOpen, kEncDisabled);
  ASSERT_TRUE(io_.SetSsid("Arventa-AP"));
  auto held = adapter_.Open(adapter_.DevicePath());
  ASSERT_TRUE(held);
  EXPECT_FALSE(adapter_.Open("\\\\.\\{00000000-0000-0000-0000-000000000000}"));
  EXPECT_TRUE(adapter_.Open(ToUpperAscii(adapter_.DevicePath())));

  adapter_.Unplug();
  EXPECT_FALSE(adapter_.Open(adapter_.DevicePath()));
  std::vector<uint8_t> in = {0x14, 0x01, 0x01, 0x00}, out(4);
  uint32_t n = 0;
  EXPECT_FALSE(held->Control(kIoctlNdisQueryGlobalStats, in, out, n));
  adapter_.Replug();
  EXPECT_FALSE(held->Control(kIoctlNdisQueryGlobalStats, in, out, n));  // a handle of the old driver
  EXPECT_FALSE(io_.Connected());  // the reloaded driver has forgotten its settings
  EXPECT_EQ(io_.QueryU32(OID_802_11_WEP_STATUS), kEncDisabled);

  adapter_.FailOid(OID_802_11_SSID | kOidSetBit, 2);
  EXPECT_FALSE(io_.SetSsid("Arventa-AP"));
  EXPECT_FALSE(io_.SetSsid("Arventa-AP"));
  EXPECT_TRUE(io_.SetSsid("Arventa-AP"));
  adapter_.FailOid(OID_GEN_RCV_OK);
  EXPECT_FALSE(io_.QueryU32(OID_GEN_RCV_OK));
  EXPECT_FALSE(io_.QueryU32(OID_GEN_RCV_OK));
  adapter_.ClearFailures();
  EXPECT_TRUE(io_.QueryU32(OID_GEN_RCV_OK));

  auto log = adapter_.OidLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log.back().oid, OID_GEN_RCV_OK);
  EXPECT_TRUE(log.back().ok);
  auto failedSet = std::find_if(log.begin(), log.end(), [](const OidLogEntry& e) { return e.set && !e.ok; });
  ASSERT_NE(failedSet, log.end());
  EXPECT_EQ(SsidRecord::From("Arventa-AP").Text(), DecodeSsid(failedSet->data).Text());
}

}  // namespace
}  // namespace vx::sim
