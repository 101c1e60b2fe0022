#include "station/profiles/station_link.h"

#include <gtest/gtest.h>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "common/passphrase/passphrase.h"
#include "driver/oid_codes.h"
#include "fakes/fake_device.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_supplicant.h"
#include "fakes/virtual_clock.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SYSTEM\\Adapter\\0001";
constexpr const char* kPath = "\\\\.\\{GUID}";
constexpr uint32_t S(uint32_t oid) { return oid | kOidSetBit; }

// A driver with the few answers activation asks for, and counters the WEP check reads.
struct Driver {
  uint64_t txFragments = 100;
  uint32_t rcvOk = 50;
  uint32_t media = kMediaConnected;
  ConfigurationRecord config{32, 100, 0, 2412000, 16, 0, 0, 0};
  ConfigWords sta = {0, 0, 0, 0, 0, 1, 0xAA, 0xBB};
  std::vector<uint32_t> failing;  // set OIDs that fail
  Bytes list = {1, 0, 0, 0, 9, 9};
  bool listFails = false;  // the list query writes two bytes and fails

  bool Answer(const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& returned) {
    Bytes answer;
    switch (r.oid) {
      case OID_802_11_STATISTICS: {
        StatisticsRecord s;
        s.transmittedFragmentCount = txFragments;
        answer = EncodeStatistics(s);
        break;
      }
      case OID_GEN_RCV_OK: answer = ByteWriter().U32(rcvOk).Take(); break;
      case OID_GEN_MEDIA_CONNECT_STATUS: answer = ByteWriter().U32(media).Take(); break;
      case OID_802_11_BSSID: answer = {0, 0x11, 0x22, 0x33, 0x44, 0x55}; break;
      case OID_802_11_CONFIGURATION: answer = EncodeConfiguration(config); break;
      case VX_OID_802_11_QUERY_STA_CONFIG: answer = EncodeConfigWords(sta); break;
      case OID_802_11_BSSID_LIST:
        if (listFails) {
          out[0] = out[1] = 7;
          return false;
        }
        answer = list;
        break;
      default:
        for (uint32_t f : failing)
          if (r.oid == S(f)) return false;
    }
    for (size_t i = 0; i < answer.size() && i < out.size(); ++i) out[i] = answer[i];
    returned = static_cast<uint32_t>(std::min(answer.size(), out.size()));
    return true;
  }
};

class StationLinkTest : public ::testing::Test {
 protected:
  FakeRegistry reg;
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::Station};
  FakeSupplicant supplicant;
  Driver driver;
  StationLink link{reg, channel, clock, supplicant, [] { return std::string(kRoot); }};

  void SetUp() override {
    device.openable[kPath] = true;
    channel.SetDevicePath(kPath);
    device.handler = [this](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& n) {
      return driver.Answer(r, out, n);
    };
    reg.CreateKey(Hklm(kRoot));
  }
  void Live(const char* name, const std::string& value) { reg.SetSz(kRoot, name, value); }
  void Activate(bool advanced) {
    device.requests.clear();
    supplicant.calls.clear();
    link.SetOidFromReg(advanced);
  }
  std::vector<uint32_t> Oids() const {
    std::vector<uint32_t> oids;
    for (const auto& r : device.requests) oids.push_back(r.oid);
    return oids;
  }
  Bytes Sent(uint32_t oid, int nth = 0) const {
    for (const auto& r : device.requests)
      if (r.oid == oid && nth-- == 0) return r.data;
    ADD_FAILURE() << "no request " << std::hex << oid;
    return {};
  }
  // The fixed order: the common head, what the case adds, and the association.
  static std::vector<uint32_t> Sequence(std::vector<uint32_t> before, std::vector<uint32_t> middle,
                                        std::vector<uint32_t> after) {
    std::vector<uint32_t> oids = before;
    for (uint32_t o : std::initializer_list<uint32_t>{S(OID_802_11_RELOAD_DEFAULTS), S(OID_802_11_INFRASTRUCTURE_MODE), VX_OID_802_11_SET_PREAMBLE,
                       S(OID_802_11_RTS_THRESHOLD), S(OID_802_11_FRAGMENTATION_THRESHOLD),
                       S(OID_802_11_AUTHENTICATION_MODE), S(OID_802_11_WEP_STATUS), VX_OID_802_11_SET_TX_POWER,
                       VX_OID_802_11_SET_PROFILE_EXTENSION})
      oids.push_back(o);
    oids.insert(oids.end(), middle.begin(), middle.end());
    oids.insert(oids.end(), after.begin(), after.end());
    return oids;
  }
  static std::vector<uint32_t> InfraTail() {
    return {S(OID_802_11_POWER_MODE), VX_OID_802_11_SET_COUNTRY_REGION, VX_OID_802_11_SET_RATE_SET,
            S(OID_802_11_SSID)};
  }
  uint32_t SentU32(uint32_t oid) const {
    Bytes b = Sent(oid);
    ByteReader r(b);
    return r.U32();
  }
};

TEST_F(StationLinkTest, OpenInfrastructureSendsTheFixedOrder) {
  Live("SSID", "Home");
  Live("NetworkType", "1");
  Live("AuthenType", "0");
  Live("Encryption", "1");
  Live("PreambleType", "0");
  Live("TXPower", "5");
  Activate(false);
  EXPECT_EQ(Oids(), Sequence({}, {}, InfraTail()));
  EXPECT_EQ(SentU32(VX_OID_802_11_SET_PREAMBLE), 2u);  // infrastructure always automatic
  EXPECT_EQ(SentU32(S(OID_802_11_RTS_THRESHOLD)), 2347u);
  EXPECT_EQ(SentU32(S(OID_802_11_FRAGMENTATION_THRESHOLD)), 0u);
  EXPECT_EQ(SentU32(VX_OID_802_11_SET_TX_POWER), 10u);
  EXPECT_EQ(DecodeSsid(Sent(S(OID_802_11_SSID))).Text(), "Home");
  EXPECT_EQ(Sent(VX_OID_802_11_SET_PROFILE_EXTENSION).size(), 524u);
  EXPECT_EQ(supplicant.calls, (std::vector<std::string>{"ConfigResumption(1)", "AuthenticateStop()",
                                                        "ConfigWpa(false)", "Set8021xValues(5,10,5,7)"}));
  EXPECT_FALSE(link.WepCheckArmed());
  EXPECT_TRUE(link.Applied());
  ASSERT_TRUE(link.LastActivation());
  EXPECT_EQ(link.LastActivation()->ssid.Text(), "Home");
  EXPECT_EQ(link.LastSsid(), "Home");
  EXPECT_TRUE(link.Queue().empty());
}

TEST_F(StationLinkTest, WepSendsEveryKeySlotAndArmsTheCheck) {
  Live("SSID", "Wep");
  Live("NetworkType", "1");
  Live("AuthenType", "1");
  Live("Encryption", "0");
  Live("WEPKeyUse", "3");
  Live("WEPKey1", "0102030405");
  Live("WEPKey2", "0102030405060");  // 13 characters: no key has that length
  Live("WEPKey3", "0102030405060708090a0b0c0d");
  Live("WEPKey4", "");
  Activate(false);
  auto tail = InfraTail();
  tail.insert(tail.end(), {OID_802_11_STATISTICS, OID_GEN_RCV_OK});  // the WEP check's baseline
  EXPECT_EQ(Oids(), Sequence({}, {S(OID_802_11_ADD_KEY), S(OID_802_11_REMOVE_KEY), S(OID_802_11_ADD_KEY),
                                  S(OID_802_11_REMOVE_KEY)},
                             tail));
  auto k1 = DecodeAddKey(Sent(S(OID_802_11_ADD_KEY), 0));
  auto k3 = DecodeAddKey(Sent(S(OID_802_11_ADD_KEY), 1));
  ASSERT_TRUE(k1 && k3);
  EXPECT_EQ(k1->keyIndex, 0u);
  EXPECT_EQ(k1->length, 44u);
  EXPECT_EQ(k1->material, (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(k3->keyIndex, 2u | kTransmitKeyBit);
  EXPECT_EQ(k3->length, 52u);
  EXPECT_EQ(DecodeRemoveKeyIndex(Sent(S(OID_802_11_REMOVE_KEY), 0)), 1u);
  EXPECT_EQ(DecodeRemoveKeyIndex(Sent(S(OID_802_11_REMOVE_KEY), 1)), 3u);
  EXPECT_TRUE(link.WepCheckArmed());
}

TEST_F(StationLinkTest, AnElevenCharacterKeyIsAFiveByteKey) {
  Live("Encryption", "0");
  Live("NetworkType", "1");
  Live("WEPKeyUse", "1");
  Live("WEPKey1", "0a0b0c0d0eZ");
  Activate(false);
  auto k = DecodeAddKey(Sent(S(OID_802_11_ADD_KEY)));
  ASSERT_TRUE(k);
  EXPECT_EQ(k->material, (Bytes{10, 11, 12, 13, 14}));
  EXPECT_EQ(k->keyIndex, kTransmitKeyBit);
}

TEST_F(StationLinkTest, Wpa2PskHandsThePassphraseToTheSupplicant) {
  Live("SSID", "Secure");
  Live("NetworkType", "1");
  Live("AuthenType", "7");
  Live("Encryption", "6");
  Live("WPAPSK", "correct horse");
  Live("WEPKey1", "0102030405");  // not used with WPA
  Activate(false);
  EXPECT_EQ(Oids(), Sequence({}, {}, InfraTail()));  // no key OIDs: the supplicant has the key
  EXPECT_EQ(SentU32(S(OID_802_11_AUTHENTICATION_MODE)), 7u);
  EXPECT_EQ(SentU32(S(OID_802_11_WEP_STATUS)), 6u);
  EXPECT_EQ(supplicant.calls,
            (std::vector<std::string>{"ConfigResumption(1)", "AuthenticateStop()", "ConfigWpa(false)",
                                      "Set8021xValues(5,10,5,7)", "ConfigWpaPassphrase(correct horse)",
                                      "Authenticate()"}));
  EXPECT_TRUE(link.SupplicantInUse());
  EXPECT_EQ(supplicant.lastSsid, "Secure");  // the key is derived with the network name

  // A key of 64 digits goes with the network's name too, its raw bytes as stored.
  supplicant.lastSsid.clear();
  Live("SSID", "\xB5L\xFF net");
  Live("WPAPSK", std::string(64, 'f'));
  Activate(false);
  EXPECT_EQ(supplicant.calls[4], "ConfigWpaKey(" + std::string(64, 'F') + ")");
  EXPECT_EQ(supplicant.lastSsid, "\xB5L\xFF net");
  EXPECT_FALSE(link.Dot1xActive());  // WPA-PSK is no 802.1X: nothing to answer again
}

TEST_F(StationLinkTest, AdhocSetsTheChannelFrequencyAndItsOwnRates) {
  Live("SSID", "Peer");
  Live("NetworkType", "0");
  Live("Channel", "6");
  Live("AdhocOfdm", "1");
  Live("PreambleType", "0");
  Live("Encryption", "1");
  Activate(false);
  EXPECT_EQ(Oids(), Sequence({VX_OID_802_11_QUERY_STA_CONFIG},
                             {OID_802_11_CONFIGURATION, S(OID_802_11_CONFIGURATION), VX_OID_802_11_SET_STA_CONFIG,
                              VX_OID_802_11_SET_COUNTRY_REGION, S(OID_802_11_DESIRED_RATES),
                              VX_OID_802_11_SET_RATE_SET},
                             {S(OID_802_11_SSID)}));
  EXPECT_EQ(SentU32(VX_OID_802_11_SET_PREAMBLE), 0u);
  ConfigurationRecord sent = DecodeConfiguration(Sent(S(OID_802_11_CONFIGURATION)));
  EXPECT_EQ(sent.dsConfig, 2437000u);
  EXPECT_EQ(sent.beaconPeriod, 100u);  // the rest goes back as queried
  ConfigWords sta = DecodeConfigWords(Sent(VX_OID_802_11_SET_STA_CONFIG));
  EXPECT_EQ(sta[kStaAdhocOfdm], 1u);
  EXPECT_EQ(sta[6], 0xAAu);
  EXPECT_EQ(Sent(S(OID_802_11_DESIRED_RATES)), (Bytes{108, 96, 72, 48, 22, 11, 4, 2}));
  RateSetRecord rs = DecodeRateSet(Sent(VX_OID_802_11_SET_RATE_SET));
  EXPECT_EQ(rs.extended, (std::vector<uint8_t>{0x8C, 0x98, 0xB0, 0x60}));
  EXPECT_FALSE(link.WepCheckArmed());

  Live("Channel", "36");
  Activate(false);
  EXPECT_EQ(DecodeConfiguration(Sent(S(OID_802_11_CONFIGURATION))).dsConfig, 5180000u);
  Live("Channel", "15");
  Activate(false);
  EXPECT_EQ(DecodeConfiguration(Sent(S(OID_802_11_CONFIGURATION))).dsConfig, 0u);
}

TEST_F(StationLinkTest, AdvancedActivationSendsRadioSettings) {
  Live("SSID", "Adv");
  Live("NetworkType", "1");
  Live("Encryption", "1");
  Live("WirelessMode", "1");
  Live("TransRate", "7");  // beyond B-only rates: automatic
  Live("TXBurst", "1");
  Live("BGProtection", "2");  // only meaningful in mixed modes
  Live("CountryRegion", "5");
  Live("CountryRegionABand", "2");
  Live("TXPower", "6");
  reg.SetValue(Hklm(kRoot), "CCX2Control", RegValue::Dword(0x00FA4601));
  link.Facts().driverVersion = 0x0501;
  Live("ACPowerCam", "1");
  Activate(true);
  EXPECT_EQ(Oids(), Sequence({VX_OID_802_11_QUERY_STA_CONFIG},
                             {S(OID_802_11_POWER_MODE), VX_OID_802_11_SET_POWER_SAVE_LEVEL, VX_OID_802_11_SET_PHY_MODE,
                              VX_OID_802_11_SET_STA_CONFIG, VX_OID_802_11_SET_COUNTRY_REGION,
                              S(OID_802_11_DESIRED_RATES), VX_OID_802_11_SET_RATE_SET,
                              VX_OID_802_11_SET_CCX2_CONTROL},
                             {S(OID_802_11_SSID)}));
  EXPECT_EQ(SentU32(VX_OID_802_11_SET_TX_POWER), 6u);
  EXPECT_EQ(SentU32(VX_OID_802_11_SET_PHY_MODE), 1u);
  EXPECT_EQ(SentU32(VX_OID_802_11_SET_POWER_SAVE_LEVEL), 1u);
  EXPECT_EQ(SentU32(VX_OID_802_11_SET_COUNTRY_REGION), 5u + 256u * 2u);
  EXPECT_EQ(SentU32(VX_OID_802_11_SET_CCX2_CONTROL), 0x00FA4601u);
  EXPECT_EQ(Sent(S(OID_802_11_DESIRED_RATES)), (Bytes{22, 11, 4, 2, 0, 0, 0, 0}));
  EXPECT_EQ(DecodeRateSet(Sent(VX_OID_802_11_SET_RATE_SET)), RateSetForWirelessMode(1));
  ConfigWords sta = DecodeConfigWords(Sent(VX_OID_802_11_SET_STA_CONFIG));
  EXPECT_EQ(sta[kStaTxBurst], 1u);
  EXPECT_EQ(sta[kStaBgProtection], 0u);
  EXPECT_EQ(sta[kStaHwRadio], 1u);  // driver-owned words go back as queried
  ASSERT_TRUE(link.LastStaConfig());

  // A later activation without advanced settings sends the kept block and the mode's rate set.
  Activate(false);
  EXPECT_EQ(DecodeConfigWords(Sent(VX_OID_802_11_SET_STA_CONFIG)), sta);
  EXPECT_EQ(DecodeRateSet(Sent(VX_OID_802_11_SET_RATE_SET)), RateSetForWirelessMode(1));
}

TEST_F(StationLinkTest, WirelessModeFallsBackWithout5GHzOrOutOfRange) {
  Live("WirelessMode", "2");
  Activate(true);
  EXPECT_EQ(link.WirelessMode(), 0u);
  link.Facts().has5GHz = true;
  Activate(true);
  EXPECT_EQ(link.WirelessMode(), 2u);
  EXPECT_EQ(Sent(S(OID_802_11_DESIRED_RATES)), (Bytes{22, 11, 4, 2, 0, 0, 0, 0}));
  EXPECT_EQ(DecodeRateSet(Sent(VX_OID_802_11_SET_RATE_SET)), RateSetForWirelessMode(4));  // OFDM only
  Live("WirelessMode", "9");
  Activate(true);
  EXPECT_EQ(link.WirelessMode(), 0u);
}

TEST_F(StationLinkTest, FixedRegionIsNotSent) {
  link.Facts().bgRegionChangeable = false;
  link.Facts().aRegionChangeable = false;
  Activate(true);
  for (uint32_t oid : Oids()) EXPECT_NE(oid, VX_OID_802_11_SET_COUNTRY_REGION);
}

TEST_F(StationLinkTest, WpaNoneSendsItsKeyOnceEitherDecodedOrDerived) {
  Live("SSID", "IEEE");
  Live("NetworkType", "0");
  Live("AuthenType", "5");
  Live("Encryption", "4");
  std::string hex;
  for (int i = 0; i < 32; ++i) hex += "a5";
  Live("WPAPSK", hex);
  driver.failing = {OID_802_11_ADD_KEY};
  Activate(false);
  auto k = DecodeAddKey(Sent(S(OID_802_11_ADD_KEY)));
  ASSERT_TRUE(k);
  EXPECT_EQ(k->material, Bytes(32, 0xa5));
  EXPECT_EQ(k->length, 71u);
  EXPECT_EQ(k->keyIndex, kTransmitKeyBit);
  EXPECT_TRUE(channel.Pending().empty());  // one attempt only: no retry queued

  Live("WPAPSK", "password");
  Activate(false);
  Psk expected = PassphraseToPsk("password", "IEEE");
  EXPECT_EQ(DecodeAddKey(Sent(S(OID_802_11_ADD_KEY)))->material, Bytes(expected.begin(), expected.end()));

  Live("WPAPSK", std::string(70, 'x'));  // no key from an over-long passphrase
  Activate(false);
  for (uint32_t oid : Oids()) EXPECT_NE(oid, S(OID_802_11_ADD_KEY));
}

TEST_F(StationLinkTest, Wpa2EnterpriseHandsPeapCredentialsWithAOneTimePassword) {
  link.Facts().supplicantAvailable = true;
  std::string askedFor;
  link.Hooks().requestOneTimePassword = [&](const std::string& identity) {
    askedFor = identity;
    return OneTimePassword{"token-user", "123456"};
  };
  Live("NetworkType", "1");
  Live("AuthenType", "6");
  Live("Encryption", "6");
  Live("AuthenProtocol", "0");
  Live("TunnelProtocol", "6");
  Live("PasswordMode", "0");
  Live("SessionResumption", "2");
  Live("ID", "outer");
  Live("TunnelID", "inner");
  Live("TunnelPassword", "stored");
  Live("UseServerCert", "1");
  Live("ServerCertData", "414243");
  Live("ServerCertLen", "3");
  Live("ServerName", "radius");
  Activate(false);
  EXPECT_EQ(askedFor, "inner");
  EXPECT_EQ(supplicant.calls, (std::vector<std::string>{
                                  "ConfigResumption(1)", "AuthenticateStop()", "ConfigWpa(false)",
                                  "Set8021xValues(5,10,5,7)", "ConfigResumption(3)", "ConfigWpa(true)",
                                  "ConfigPeap(outer,414243,,6,token-user,123456,radius)", "Authenticate()"}));
  EXPECT_TRUE(link.SupplicantInUse());
  ASSERT_TRUE(link.Dot1xActive());

  // A later request of the library gets the same answer: the certificate and the one-time
  // password, not the stored tunnel password; the dialog is not shown again.
  askedFor.clear();
  supplicant.calls.clear();
  link.AnswerCredentialsAgain();
  EXPECT_EQ(supplicant.calls,
            std::vector<std::string>{"ConfigPeap(outer,414243,,6,token-user,123456,radius)"});
  EXPECT_TRUE(askedFor.empty());

  // Cancel in the dialog: the stored tunnel name and password go instead.
  link.Hooks().requestOneTimePassword = [&](const std::string&) { return std::optional<OneTimePassword>(); };
  Activate(false);
  EXPECT_EQ(supplicant.calls[6], "ConfigPeap(outer,414243,,6,inner,stored,radius)");

  // Without the library the same profile still gets its OIDs, and no credentials.
  link.Facts().supplicantAvailable = false;
  Activate(false);
  EXPECT_EQ(supplicant.calls.size(), 4u);
  EXPECT_EQ(SentU32(S(OID_802_11_AUTHENTICATION_MODE)), 6u);
  EXPECT_FALSE(link.Dot1xActive());
  supplicant.calls.clear();
  link.AnswerCredentialsAgain();
  EXPECT_TRUE(supplicant.calls.empty());
}

TEST_F(StationLinkTest, LeapFillsTheProfileExtension) {
  Live("LeapEnabled", "1");
  Live("LeapUserName", "leapy");
  Live("LeapPassword", std::string(256, 'p'));
  Live("Encryption", "4");
  Live("Use8021X", "1");
  reg.SetValue(Hklm(kRoot), "CCX2Control", RegValue::Dword(3));
  Activate(false);
  Bytes ext = Sent(VX_OID_802_11_SET_PROFILE_EXTENSION);
  ASSERT_EQ(ext.size(), 524u);
  EXPECT_EQ(ext[0], 1);
  EXPECT_EQ(ext[1], 1);  // CCKM from bit 1
  EXPECT_EQ(std::string(ext.begin() + 4, ext.begin() + 9), "leapy");
  EXPECT_EQ(ext[260], 5);
  EXPECT_EQ(ext[264], 'p');
  EXPECT_EQ(ext[519], 'p');
  EXPECT_EQ(ext[520] | (ext[521] << 8), 256);
  EXPECT_EQ(SentU32(S(OID_802_11_WEP_STATUS)), 4u);  // CCX on and TKIP: kept
  EXPECT_FALSE(link.LastActivation()->use8021X);

  reg.SetValue(Hklm(kRoot), "CCX2Control", RegValue::Dword(0));
  Activate(false);
  EXPECT_EQ(SentU32(S(OID_802_11_WEP_STATUS)), 0u);
}

TEST_F(StationLinkTest, ScanRunsInTwoPhasesAndTheQueueContinuesAfterIt) {
  link.QueueScan();
  EXPECT_EQ(Oids(), std::vector<uint32_t>{S(OID_802_11_BSSID_LIST_SCAN)});
  EXPECT_TRUE(link.ScanPending());
  Live("SSID", "After");
  Live("NetworkType", "1");
  Live("Encryption", "1");
  link.SetOidFromReg(false);
  link.SetOidFromReg(false);  // coalesced with the first
  EXPECT_EQ(link.Queue().size(), 2u);
  clock.Advance(2999);
  EXPECT_EQ(device.requests.size(), 1u);
  clock.Advance(1);
  ASSERT_GE(device.requests.size(), 3u);
  EXPECT_EQ(device.requests[1].oid, OID_802_11_BSSID_LIST);
  EXPECT_EQ(device.requests[2].oid, S(OID_802_11_RELOAD_DEFAULTS));
  auto oids = Oids();
  EXPECT_EQ(std::count(oids.begin(), oids.end(), S(OID_802_11_SSID)), 1);
  EXPECT_EQ(link.BssidList()[4], 9);
  EXPECT_FALSE(link.ScanPending());
  EXPECT_TRUE(link.Queue().empty());
  size_t before = device.requests.size();
  clock.Advance(10000);  // the scan timer is gone
  EXPECT_EQ(device.requests.size(), before);
}

// A list query that fails leaves the buffer as the driver left it: the last list stays behind
// whatever the driver wrote, rather than being wiped to an empty list.
TEST_F(StationLinkTest, AFailedListQueryLeavesTheBufferAsTheDriverLeftIt) {
  driver.list = {2, 0, 0, 0, 5, 6, 7, 8};
  link.QueueScan();
  clock.Advance(3000);
  EXPECT_EQ(link.BssidList()[0], 2);
  driver.listFails = true;
  link.QueueScan();
  clock.Advance(3000);
  EXPECT_FALSE(link.ScanPending());
  EXPECT_EQ(link.BssidList()[0], 7);  // what the failing driver wrote
  EXPECT_EQ(link.BssidList()[1], 7);
  EXPECT_EQ(link.BssidList()[4], 5);  // the rest as it was
  EXPECT_EQ(link.BssidList()[7], 8);
}

TEST_F(StationLinkTest, ScanResultWaitsForTheOneTimePasswordDialog) {
  bool open = true;
  link.Hooks().oneTimePasswordOpen = [&] { return open; };
  link.QueueScan();
  clock.Advance(9000);
  EXPECT_TRUE(link.ScanPending());
  open = false;
  clock.Advance(3000);
  EXPECT_FALSE(link.ScanPending());
}

TEST_F(StationLinkTest, ActivationByBssidSetsTheFrequencyFirst) {
  ActivationRecord r;
  r.networkType = 1;
  r.useBssid = true;
  r.bssid = {1, 2, 3, 4, 5, 6};
  r.adhocFrequency = 2462000;
  r.disassociateFirst = true;
  r.encryption = 1;
  link.QueueAction(Action::Activate(r));
  link.ActionExec();
  auto oids = Oids();
  EXPECT_EQ(oids.front(), S(OID_802_11_DISASSOCIATE));
  ASSERT_GE(oids.size(), 3u);
  EXPECT_EQ(oids[oids.size() - 3], OID_802_11_CONFIGURATION);
  EXPECT_EQ(oids[oids.size() - 2], S(OID_802_11_CONFIGURATION));
  EXPECT_EQ(oids.back(), S(OID_802_11_BSSID));
  EXPECT_EQ(DecodeConfiguration(Sent(S(OID_802_11_CONFIGURATION))).dsConfig, 2462000u);
}

TEST_F(StationLinkTest, RequeueCopiesTheLastActivationWithoutAdvancedSettings) {
  int newActivations = 0;
  link.Hooks().onNewActivation = [&] { ++newActivations; };
  EXPECT_FALSE(link.RequeueLastActivation());
  Activate(true);
  EXPECT_EQ(newActivations, 1);
  EXPECT_TRUE(link.LastActivation()->bSetAdvance);
  link.SetRequeueSuppressed(true);
  EXPECT_TRUE(link.RequeueLastActivation());
  EXPECT_FALSE(link.RequeueSuppressed());
  EXPECT_FALSE(link.Queue().front().record.bSetAdvance);
  EXPECT_FALSE(link.LastActivation()->bSetAdvance);
  EXPECT_EQ(newActivations, 1);  // the re-connection's copy is not a new activation
}

class WepCheckTest : public StationLinkTest {
 protected:
  void SetUp() override {
    StationLinkTest::SetUp();
    Live("NetworkType", "1");
    Live("AuthenType", "0");
    Live("Encryption", "0");
    Live("WEPKeyUse", "1");
    Live("WEPKey1", "0102030405");
    Activate(false);
    ASSERT_TRUE(link.WepCheckArmed());
  }
};

TEST_F(WepCheckTest, AWrongKeyRaisesTheErrorAndTheFirstReceivedFrameClearsIt) {
  driver.txFragments += 10;  // sent, but nothing came back
  clock.Advance(10000);
  EXPECT_TRUE(link.WepError());
  EXPECT_TRUE(link.WepCheckArmed());
  driver.txFragments += 30;
  clock.Advance(10000);
  EXPECT_TRUE(link.WepError());
  driver.rcvOk += 1;
  clock.Advance(10000);
  EXPECT_FALSE(link.WepError());
  EXPECT_FALSE(link.WepCheckArmed());
  size_t before = device.requests.size();
  clock.Advance(30000);  // nothing more to check
  EXPECT_EQ(device.requests.size(), before);
}

TEST_F(WepCheckTest, TrafficBothWaysMeansTheKeyIsRight) {
  driver.txFragments += 50;
  driver.rcvOk += 20;
  clock.Advance(10000);
  EXPECT_FALSE(link.WepError());
  EXPECT_FALSE(link.WepCheckArmed());
}

TEST_F(WepCheckTest, FewFramesOrACounterResetRaiseNothing) {
  driver.txFragments += 9;
  clock.Advance(10000);
  EXPECT_FALSE(link.WepError());

  Activate(false);
  driver.txFragments = 0;  // the driver restarted its counters
  clock.Advance(10000);
  EXPECT_FALSE(link.WepError());
}

TEST_F(WepCheckTest, WithoutALinkTheCheckStartsOver) {
  driver.media = kMediaDisconnected;
  driver.txFragments += 100;
  clock.Advance(10000);
  EXPECT_FALSE(link.WepError());
  EXPECT_TRUE(link.WepCheckArmed());
  driver.media = kMediaConnected;
  driver.txFragments += 10;
  clock.Advance(10000);
  EXPECT_TRUE(link.WepError());  // measured from the new baseline
}

TEST_F(WepCheckTest, TheOwnerCanTakeTheTicks) {
  std::vector<int> ticks;
  link.Hooks().onTimer = [&](int timer) { ticks.push_back(timer); };
  link.QueueScan();
  clock.Advance(10000);
  EXPECT_EQ(ticks, (std::vector<int>{2, 2, 2, 3}));
  link.ScanTimerTick();
  EXPECT_FALSE(link.ScanPending());
}

}  // namespace
}  // namespace vx
