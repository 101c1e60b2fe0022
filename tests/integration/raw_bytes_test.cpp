// Bytes that are not text, from the world to the driver and the supplicant, with the station's
// own link and store over the simulator host's wire: a certificate whose SHA-1 hash holds zero
// bytes, and a network name that is no UTF-8 with a key of 64 hex digits.
#include <gtest/gtest.h>

#include "base/hex.h"
#include "common/passphrase/passphrase.h"
#include "driver/oid_codes.h"
#include "fakes/fake_registry.h"
#include "fakes/virtual_clock.h"
#include "sim/client/sim_client.h"
#include "sim/host/sim_host.h"
#include "station/profiles/profile_store.h"
#include "station/profiles/station_link.h"

namespace vx {
namespace {

constexpr const char* kRoot =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";
const std::string kZeroHash = "00A1B2C300D4E5F60718293A4B5C6D7E8F900000";
const std::string kOddSsid = "\xB5\x4C\xBD\x75\xFF";

sim::World OddWorld() {
  sim::World w;
  sim::Network corp;
  corp.ssid = "CorpSecure";
  corp.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x06};
  corp.security = sim::Security::Wpa2Enterprise;
  corp.cipher = sim::Cipher::Aes;
  corp.accounts = {{sim::EapMethod::Tls, "dora", ""}};
  sim::Network odd;
  odd.ssid = kOddSsid;
  odd.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x07};
  odd.security = sim::Security::Wpa2Psk;
  odd.cipher = sim::Cipher::Aes;
  odd.passphrase = "odd network key";
  w.networks = {corp, odd};
  sim::Certificate dora{"dora", "Arventa Corp Root CA", "Dora (zero bytes)", 2030, 1, 1, {}};
  auto hash = DecodeHex(kZeroHash);
  std::copy(hash->begin(), hash->end(), dora.sha1.begin());
  w.personalCertificates.certificates = {dora};
  return w;
}

sim::HostOptions Options() {
  sim::HostOptions o;
  o.port = 0;
  o.autoSecurityPort = 0;
  o.autoSecurity = false;
  o.tickThread = false;
  o.adapters = {sim::PciAdapterHardware()};
  return o;
}

class RawBytes : public ::testing::Test {
 protected:
  sim::SimHost host{OddWorld(), Options()};
  std::unique_ptr<sim::SimConnection> connection;
  std::unique_ptr<sim::RemoteDevicePort> device;
  std::unique_ptr<sim::RemoteSupplicant> supplicant;
  FakeRegistry reg;
  VirtualClock clock;
  std::unique_ptr<OidChannel> channel;
  std::unique_ptr<StationLink> link;
  std::unique_ptr<ProfileStore> store;

  void SetUp() override {
    ASSERT_TRUE(host.Start()) << host.Error();
    sim::SimEndpoint endpoint;
    endpoint.port = host.Port();
    connection = std::make_unique<sim::SimConnection>(endpoint);
    device = std::make_unique<sim::RemoteDevicePort>(*connection);
    supplicant = std::make_unique<sim::RemoteSupplicant>(*connection);
    channel = std::make_unique<OidChannel>(*device, clock, Program::Station);
    channel->SetDevicePath(host.Adapter(0).DevicePath());
    link =
        std::make_unique<StationLink>(reg, *channel, clock, *supplicant, [] { return std::string(kRoot); });
    store = std::make_unique<ProfileStore>(
        reg, [] { return std::string(kRoot); }, [this](bool advanced) { link->SetOidFromReg(advanced); });
    reg.CreateKey(Hklm(kRoot));
    ASSERT_TRUE(supplicant->OpenGlobal("KC30"));
    ASSERT_TRUE(supplicant->BindAdapter(host.Adapter(0).Hardware().mac));
    link->Facts().supplicantAvailable = true;
  }
  void TearDown() override { host.Stop(); }
  std::string Calls() { return connection->Control(R"({"cmd":"supplicant"})"); }
};

TEST_F(RawBytes, ACertificateHashWithZeroBytesReachesTheSupplicantWhole) {
  sim::RemoteCertStore certs(*connection);
  auto mine = certs.List(CertStoreName::My);
  ASSERT_TRUE(mine && mine->size() == 1u);
  ASSERT_EQ(EncodeHex((*mine)[0].hash), kZeroHash);  // as the 802.1X sheet would take it

  StationProfile p;
  p.name = "Corp";
  p.ssid = "CorpSecure";
  p.authenType = kAuthWpa2;
  p.encryption = kEncAesEnabled;
  p.authenProtocol = 1;  // TLS
  p.id = "dora";
  p.useClientCert = 1;
  p.clientCert = (*mine)[0].hash;
  p.useServerCert = 1;
  p.serverCert = (*mine)[0].hash;
  p.serverName = "radius.corp.example";
  ASSERT_TRUE(store->WriteProfile(p));
  ASSERT_TRUE(store->SelectProfile("Corp", false));
  host.Adapter(0).Tick();
  EXPECT_TRUE(host.Adapter(0).State().associated);
  std::string calls = Calls();
  EXPECT_NE(calls.find(R"("caCertificate":")" + kZeroHash + R"(")"), std::string::npos) << calls;
  EXPECT_NE(calls.find(R"("clientCertificate":")" + kZeroHash + R"(")"), std::string::npos) << calls;
}

TEST_F(RawBytes, AKeyOf64DigitsGoesWithTheNetworksExactName) {
  Psk key = PassphraseToPsk("odd network key", kOddSsid);
  StationProfile p;
  p.name = "Odd";
  p.ssid = kOddSsid;
  p.authenType = kAuthWpa2Psk;
  p.encryption = kEncAesEnabled;
  p.wpaPsk = EncodeHex(key);
  ASSERT_TRUE(store->WriteProfile(p));
  ASSERT_TRUE(store->SelectProfile("Odd", false));
  host.Adapter(0).Tick();
  EXPECT_TRUE(host.Adapter(0).State().associated);
  EXPECT_EQ(host.Adapter(0).State().ssid, kOddSsid);
  EXPECT_NE(Calls().find(R"({"call":"ConfigWpaKey","ssid":"B54CBD75FF"})"), std::string::npos) << Calls();
}

}  // namespace
}  // namespace vx
