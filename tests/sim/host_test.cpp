// The simulator host over real loopback TCP: the client ports, the control interface, bad frames,
// and the cooperating access point's one-button security service.
#include "sim/host/sim_host.h"

#include <gtest/gtest.h>

#include "adapter_test_util.h"
#include "net/socket.h"
#include "sim/client/sim_client.h"
#include "sim/protocol/host_protocol.h"
#include "sim/world/world_json.h"

namespace vx::sim {
namespace {

HostOptions TestOptions() {
  HostOptions o;
  o.port = 0;
  o.autoSecurityPort = 0;
  o.tickThread = false;
  return o;
}

class HostTest : public ::testing::Test {
 protected:
  HostTest() : host_(DefaultWorld(), TestOptions()) {}
  void SetUp() override {
    ASSERT_TRUE(host_.Start()) << host_.Error();
    endpoint_.port = host_.Port();
  }
  SimHost host_;
  SimEndpoint endpoint_;
};

TEST_F(HostTest, TwoClientsShareTheAdapterThroughThePorts) {
  SimConnection a(endpoint_), b(endpoint_);
  RemoteDevicePort devA(a), devB(b);
  RemoteDeviceSetup setup(a);
  std::vector<NetDevice> devices;
  ASSERT_TRUE(setup.EnumerateNetDevices(devices));
  ASSERT_EQ(devices.size(), 3u);  // the wired card and two adapters
  EXPECT_EQ(devices[1].hardwareId.substr(0, 21), "PCI\\VEN_1A5C&DEV_0C30");
  EXPECT_EQ(devices[2].netCfgInstanceId, host_.Adapter(1).Hardware().instanceId);

  std::string path = "\\\\.\\" + *devices[1].netCfgInstanceId;
  test::Requests ioA(devA, path), ioB(devB, path);
  ASSERT_TRUE(ioA.SetU32(OID_802_11_AUTHENTICATION_MODE, kAuthWpa2Psk));
  ASSERT_TRUE(ioA.SetU32(OID_802_11_WEP_STATUS, kEncAesEnabled));
  RemoteSupplicant supplicant(b);
  ASSERT_TRUE(supplicant.OpenGlobal("KC30"));
  ASSERT_TRUE(supplicant.BindAdapter(host_.Adapter(0).Hardware().mac));
  supplicant.ConfigWpaPassphrase("correct horse battery", "HomeNet");
  ASSERT_TRUE(ioA.SetSsid("HomeNet"));
  EXPECT_TRUE(ioB.Connected());  // the other client sees the same adapter
  EXPECT_EQ(DecodeSsid(*ioB.Query(OID_802_11_SSID, 36)).Text(), "HomeNet");

  // A failed query leaves the caller's buffer alone, across the wire too.
  std::vector<uint8_t> small(3, 0x5A);
  EXPECT_FALSE(ioB.Raw(OID_GEN_RCV_OK, small));
  EXPECT_EQ(small, std::vector<uint8_t>(3, 0x5A));

  RemoteIpInfo ip(b);
  std::vector<AdapterIpInfo> info;
  ASSERT_TRUE(ip.GetAdapters(info));
  ASSERT_EQ(info.size(), 2u);
  EXPECT_EQ(info[0].address, "192.168.1.100");
  EXPECT_EQ(info[0].gateway, "127.0.0.1");
  EXPECT_EQ(info[1].address, "0.0.0.0");  // the USB adapter has no link

  // The bridge device is reached by path like the adapter.
  auto h = devA.Open(SimBridge::kPath);
  ASSERT_TRUE(h);
  std::vector<uint8_t> in = ByteWriter().U32(0xFFFFFFFF).Take(), out(4);
  uint32_t n = 0;
  ASSERT_TRUE(h->Control(SimBridge::kQueryVersion, in, out, n));
  EXPECT_EQ(out, (std::vector<uint8_t>{2, 0, 0, 0}));
}

TEST_F(HostTest, ControlInterfaceDrivesTheWorld) {
  SimConnection c(endpoint_);
  RemoteDevicePort dev(c);
  test::Requests io(dev, host_.Adapter(0).DevicePath());
  ASSERT_TRUE(io.SetSsid("Arventa-AP"));
  ASSERT_TRUE(io.Connected());
  EXPECT_NE(c.Control(R"({"cmd":"range","network":"Arventa-AP","inRange":false})").find("\"ok\":true"), std::string::npos);
  EXPECT_FALSE(io.Connected());
  EXPECT_NE(c.Control(R"({"cmd":"unplug","adapter":0})").find("\"ok\":true"), std::string::npos);
  EXPECT_FALSE(dev.Open(host_.Adapter(0).DevicePath()));
  c.Control(R"({"cmd":"replug","adapter":0})");
  EXPECT_TRUE(dev.Open(host_.Adapter(0).DevicePath()));
  c.Control(R"({"cmd":"fail","adapter":0,"oid":65812,"times":1})");  // OID_GEN_MEDIA_CONNECT_STATUS
  EXPECT_FALSE(io.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS));
  EXPECT_TRUE(io.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS));
  std::string log = c.Control(R"({"cmd":"log","adapter":0})");
  EXPECT_NE(log.find("\"oid\":\"0x00010114\""), std::string::npos);

  EXPECT_NE(c.Control(R"({"cmd":"explode"})").find("unknown command"), std::string::npos);
  EXPECT_NE(c.Control(R"({"cmd":"state","adapter":7})").find("must be an index below 2"), std::string::npos);
  EXPECT_NE(c.Control("not json").find("not a JSON object"), std::string::npos);
  std::string bad = c.Control(R"({"cmd":"load","world":{"networks":[{"ssid":"x","channel":15}]}})");
  EXPECT_NE(bad.find("networks[0].channel: not a 2.4 or 5 GHz channel"), std::string::npos) << bad;
}

TEST_F(HostTest, BadFramesAndDroppedClientsLeaveOthersServed) {
  SimConnection good(endpoint_);
  RemoteDevicePort dev(good);
  test::Requests io(dev, host_.Adapter(0).DevicePath());
  ASSERT_TRUE(io.QueryU32(OID_GEN_RCV_OK));

  // A client that vanishes in the middle of a frame.
  {
    Socket s = ConnectTcp("127.0.0.1", host_.Port(), 2000);
    ASSERT_TRUE(s.Valid());
    std::vector<uint8_t> half = {100, 0, 0, 0, kCmdDeviceControl, 1, 2};
    ASSERT_TRUE(s.SendAll(half));
  }
  // Malformed payloads get an error and the connection stays usable.
  Socket s = ConnectTcp("127.0.0.1", host_.Port(), 2000);
  ASSERT_TRUE(s.Valid());
  std::vector<uint8_t> reply;
  uint32_t announced = 0;
  for (std::vector<uint8_t> payload : {std::vector<uint8_t>{kCmdDeviceControl, 0xFF, 0xFF, 0xFF, 0x7F},
                                       std::vector<uint8_t>{99}, std::vector<uint8_t>{},
                                       std::vector<uint8_t>{kCmdSupplicant, kSupConfigWpaKey, 1, 2}}) {
    ASSERT_TRUE(WriteFrame(s, payload));
    ASSERT_EQ(ReadFrame(s, reply, announced, nullptr, 5000), FrameResult::Ok);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply[0], kReplyError);
  }
  // An oversized frame is refused with a reason, then the connection is closed.
  ASSERT_TRUE(s.SendAll(std::vector<uint8_t>{0, 0, 0, 0x40}));
  ASSERT_EQ(ReadFrame(s, reply, announced, nullptr, 5000), FrameResult::Ok);
  ByteReader r(reply);
  EXPECT_EQ(r.U8(), kReplyError);
  EXPECT_NE(ReadString(r).find("exceeds the limit"), std::string::npos);
  EXPECT_EQ(ReadFrame(s, reply, announced, nullptr, 5000), FrameResult::Closed);

  EXPECT_TRUE(io.QueryU32(OID_GEN_RCV_OK));  // the first client is still served
}

TEST_F(HostTest, OneButtonSecuritySwitchesTheMakerNetworkToWpaPsk) {
  TcpClient tcp;
  auto conn = tcp.Connect("127.0.0.1", host_.AutoSecurityPort(), 2000);
  ASSERT_TRUE(conn);
  ASSERT_TRUE(conn->SendAll(std::vector<uint8_t>{0x5C, 0x01}));
  uint8_t buf[256];
  int n = conn->Receive(buf, 2000);
  ASSERT_GE(n, 6);
  EXPECT_EQ(buf[0], 0x5B);
  EXPECT_EQ(buf[1], 0x81);
  EXPECT_EQ((buf[2] << 8) | buf[3], 3);
  EXPECT_EQ(std::string(buf + 6, buf + n), "Arventa AP");

  const MacAddress bssid = {0x00, 0x0C, 0xE7, 0x10, 0x20, 0x30};
  std::string pass = "new secret 123";
  std::vector<uint8_t> set = {0x5C, 0x02};
  set.insert(set.end(), bssid.begin(), bssid.end());
  set.push_back(static_cast<uint8_t>(pass.size()));
  for (size_t i = 0; i < pass.size(); ++i) set.push_back(static_cast<uint8_t>(pass[i] ^ bssid[i % 6]));
  ASSERT_TRUE(conn->SendAll(set));
  EXPECT_GT(conn->Receive(buf, 2000), 0);
  std::vector<uint8_t> apply = {0x5C, 0x04};
  apply.insert(apply.end(), bssid.begin(), bssid.end());
  apply.push_back(2);
  apply.push_back(0);
  ASSERT_TRUE(conn->SendAll(apply));
  EXPECT_GT(conn->Receive(buf, 2000), 0);

  World w = host_.Adapter(0).GetWorld();
  Network* ap = w.FindNetwork(bssid);
  ASSERT_TRUE(ap);
  EXPECT_EQ(ap->security, Security::WpaPsk);
  EXPECT_EQ(ap->passphrase, pass);
}

TEST_F(HostTest, CertificateStoreServesTheCurrentWorld) {
  SimConnection c(endpoint_);
  RemoteCertStore certs(c);
  auto root = certs.List(CertStoreName::Root);
  ASSERT_TRUE(root) << c.LastError();
  ASSERT_EQ(root->size(), 2u);
  EXPECT_EQ((*root)[0].issuedTo, "Arventa Corp Root CA");
  EXPECT_EQ((*root)[0].issuedBy, "Arventa Corp Root CA");
  EXPECT_EQ((*root)[1].issuedTo, "Campus Trust CA");
  auto my = certs.List(CertStoreName::My);
  ASSERT_TRUE(my);
  ASSERT_FALSE(my->empty());
  const CertificateDescription alice = (*my)[0];
  EXPECT_EQ(alice.issuedTo, "alice");
  EXPECT_EQ(alice.issuedBy, "Arventa Corp Root CA");
  EXPECT_EQ(alice.friendlyName, "Alice (CorpSecure)");
  EXPECT_EQ(alice.expiredOn, "2027-03-31");
  ASSERT_EQ(alice.hash.size(), 20u);

  EXPECT_EQ(certs.FindByHash(CertStoreName::My, alice.hash), alice);
  EXPECT_FALSE(certs.FindByHash(CertStoreName::Root, alice.hash));  // the other store
  EXPECT_FALSE(certs.FindByHash(CertStoreName::My, std::vector<uint8_t>(20, 0)));
  EXPECT_FALSE(certs.FindByHash(CertStoreName::My, {}));

  // A world loaded later is the one answered; an unreadable store is not an empty one.
  std::string loaded = c.Control(R"({"cmd":"load","world":{"certificates":{"root":null,"my":[
      {"issuedTo":"zoe","issuedBy":"Lab CA","notAfter":"2028-02-29","sha1":"00112233445566778899AABBCCDDEEFF00112233"}]}}})");
  ASSERT_NE(loaded.find("\"ok\":true"), std::string::npos) << loaded;
  EXPECT_FALSE(certs.List(CertStoreName::Root));
  EXPECT_FALSE(certs.FindByHash(CertStoreName::Root, alice.hash));
  std::vector<int> seen;
  RemoteCertStore shown(c, [&](int y, int m, int d) {
    seen = {y, m, d};
    return std::string("29.02.2028");
  });
  auto zoe = shown.List(CertStoreName::My);
  ASSERT_TRUE(zoe);
  ASSERT_EQ(zoe->size(), 1u);
  EXPECT_EQ((*zoe)[0].expiredOn, "29.02.2028");
  EXPECT_EQ(seen, (std::vector<int>{2028, 2, 29}));
  EXPECT_EQ((*zoe)[0].friendlyName, "");
  c.Control(R"({"cmd":"load","world":{}})");
  auto empty = certs.List(CertStoreName::Root);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());

  // A bad store code is refused, not answered from some store.
  EXPECT_FALSE(c.Call({kCmdCertificates, 2}));
  EXPECT_FALSE(c.Call({kCmdCertificates}));
}

// A host whose certificate replies are damaged: each frame is answered with the next reply given.
TEST(RemoteCertStoreTest, DamagedRepliesGiveNoList) {
  ByteWriter one;
  one.U8(kReplyOk).U8(1).U32(1);
  for (const char* s : {"alice", "Arventa Corp Root CA", ""}) WriteString(one, s);
  one.U16(2027).U8(3).U8(31);
  WriteBlob(one, std::vector<uint8_t>(20, 0xAB));
  const std::vector<uint8_t> whole = one.Take();
  std::vector<uint8_t> cut(whole.begin(), whole.end() - 5), twoAnnounced = whole, longHash = whole, badMonth = whole;
  twoAnnounced[2] = 2;                  // count 2, one certificate sent
  badMonth[badMonth.size() - 26] = 13;  // the month byte
  longHash[longHash.size() - 24] = 21;  // a hash of 21 bytes announced
  std::vector<std::vector<uint8_t>> replies = {whole, cut, twoAnnounced, badMonth, longHash};
  size_t next = 0;
  TcpServer server([&](Socket& s) {
    std::vector<uint8_t> request;
    uint32_t announced = 0;
    while (next < replies.size() && ReadFrame(s, request, announced, nullptr, 5000) == FrameResult::Ok)
      if (!WriteFrame(s, replies[next++])) return;
  });
  ASSERT_TRUE(server.Start(0));
  SimConnection c(SimEndpoint{"127.0.0.1", server.Port()});
  RemoteCertStore certs(c);
  auto list = certs.List(CertStoreName::My);
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 1u);
  EXPECT_EQ((*list)[0].expiredOn, "2027-03-31");
  for (size_t i = 1; i < replies.size(); ++i) EXPECT_FALSE(certs.List(CertStoreName::My)) << "reply " << i;
}

TEST(WorldJsonTest, RoundTripAndErrors) {
  World w = DefaultWorld();
  WorldLoad back = ParseWorldJson(WorldToJson(w));
  ASSERT_TRUE(back.ok) << back.error;
  ASSERT_EQ(back.world.networks.size(), w.networks.size());
  EXPECT_EQ(back.world.networks[3].wepKey, w.networks[3].wepKey);
  EXPECT_EQ(back.world.networks[7].accounts.size(), 4u);
  EXPECT_EQ(back.world.stations[1].powerSaving, true);

  auto error = [](const char* text) { return ParseWorldJson(text).error; };
  EXPECT_EQ(error("{"), "not valid JSON");
  EXPECT_EQ(error(R"({"networks":{}})"), "networks: expected an array");
  EXPECT_EQ(error(R"({"networks":[{"ssid":"a","chanel":6}]})"), "networks[0].chanel: unknown member");
  EXPECT_EQ(error(R"({"networks":[{"ssid":"a","security":"wpa3"}]})").substr(0, 42),
            "networks[0].security: unknown value \"wpa3\"");
  EXPECT_EQ(error(R"({"networks":[{"ssid":"a","security":"wep"}]})"), "networks[0].wepKey: a WEP network needs its key");
  EXPECT_EQ(error(R"({"stations":[{"mac":"zz"}]})"), "stations[0].mac: expected a MAC address such as 00:0C:E7:10:20:30");
  EXPECT_EQ(error(R"({"networks":[{"ssid":"a","rssi":"-5"}]})"), "networks[0].rssi: expected an integer");
  WorldLoad maker = ParseWorldJson(R"({"networks":[{"ssid":"m","maker":true}]})");
  ASSERT_TRUE(maker.ok);
  EXPECT_EQ(maker.world.networks[0].bssid[2], 0xE7);
}

// A network's name may be any bytes: "ssidHex" gives them, the printed world and the adapter's
// state carry them as hex where they are not UTF-8.
TEST(WorldJsonTest, RawSsidsInHex) {
  WorldLoad raw =
      ParseWorldJson(R"({"networks":[{"ssidHex":"B54CBD75"},{"ssidHex":""},{"ssid":"a\u0001b"}]})");
  ASSERT_TRUE(raw.ok) << raw.error;
  EXPECT_EQ(raw.world.networks[0].ssid, "\xB5\x4C\xBD\x75");
  EXPECT_EQ(raw.world.networks[1].ssid, "");
  EXPECT_EQ(raw.world.networks[2].ssid,
            "a\x01"
            "b");
  WorldLoad back = ParseWorldJson(WorldToJson(raw.world));
  ASSERT_TRUE(back.ok) << back.error;
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(back.world.networks[i].ssid, raw.world.networks[i].ssid);
  EXPECT_NE(WorldToJson(raw.world).find("\"ssidHex\": \"B54CBD75\""), std::string::npos);

  auto error = [](const char* text) { return ParseWorldJson(text).error; };
  EXPECT_EQ(error(R"({"networks":[{"ssidHex":"B5X"}]})"), "networks[0].ssidHex: expected hexadecimal digits");
  EXPECT_EQ(error(R"({"networks":[{"ssidHex":"00","ssid":"a"}]})"),
            "networks[0].ssidHex: give \"ssid\" or \"ssidHex\", not both");
  EXPECT_EQ(error(("{\"networks\":[{\"ssidHex\":\"" + std::string(66, 'F') + "\"}]}").c_str()),
            "networks[0].ssidHex: longer than 32 bytes");
}

// What the supplicant is given crosses the wire whole: a certificate hash with zero bytes, the
// network name (raw bytes) that goes with a 64-digit key. The control interface lists them.
TEST_F(HostTest, SupplicantCallsKeepTheirBytesAndAreListed) {
  SimConnection c(endpoint_);
  RemoteSupplicant supplicant(c);
  ASSERT_TRUE(supplicant.OpenGlobal("KC30"));
  ASSERT_TRUE(supplicant.BindAdapter(host_.Adapter(0).Hardware().mac));
  const CertificateHash hash = {0x00, 0xAB, 0x00, 0xCD, 0x00, 0xEF, 0x00, 0x11, 0x22, 0x33,
                                0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0x00, 0xAA, 0xBB, 0x00};
  supplicant.ConfigTls("bob", hash, {0x01, 0x00}, "radius");
  std::array<uint8_t, 32> key{};
  key.fill(0x5A);
  supplicant.ConfigWpaKey(key, std::string("\xB5\x4C\x00\xFF", 4));
  std::string calls = c.Control(R"({"cmd":"supplicant"})");
  EXPECT_NE(calls.find(R"("caCertificate":"00AB00CD00EF0011223344556677889900AABB00")"), std::string::npos)
      << calls;
  EXPECT_NE(calls.find(R"("clientCertificate":"0100")"), std::string::npos) << calls;
  EXPECT_NE(calls.find(R"({"call":"ConfigWpaKey","ssid":"B54C00FF"})"), std::string::npos) << calls;
}

TEST(WorldJsonTest, CertificatesRoundTripAndErrors) {
  World w = DefaultWorld();
  w.personalCertificates.readable = false;
  WorldLoad back = ParseWorldJson(WorldToJson(w));
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_FALSE(back.world.personalCertificates.readable);
  EXPECT_TRUE(back.world.personalCertificates.certificates.empty());
  EXPECT_EQ(back.world.rootCertificates, w.rootCertificates);
  EXPECT_EQ(back.world.rootCertificates.certificates.size(), 2u);

  // Absent stores are readable and empty; null ones cannot be opened.
  WorldLoad some = ParseWorldJson(R"({"certificates":{"my":null}})");
  ASSERT_TRUE(some.ok) << some.error;
  EXPECT_FALSE(some.world.personalCertificates.readable);
  EXPECT_TRUE(some.world.rootCertificates.readable);
  EXPECT_TRUE(ParseWorldJson("{}").world.rootCertificates.readable);

  auto error = [](std::string entry) {
    return ParseWorldJson(R"({"certificates":{"root":[)" + entry + "]}}").error;
  };
  const std::string good = R"("issuedTo":"a","issuedBy":"b","sha1":"00112233445566778899AABBCCDDEEFF00112233")";
  EXPECT_EQ(error("{" + good + R"(,"notAfter":"2031-12-31"})"), "");
  EXPECT_EQ(error("{" + good + R"(,"notAfter":"2030-02-29"})"),
            "certificates.root[0].notAfter: expected a date such as 2030-12-31");
  EXPECT_EQ(error("{" + good + R"(,"notAfter":"2030-+1-31"})"),
            "certificates.root[0].notAfter: expected a date such as 2030-12-31");
  EXPECT_EQ(error(R"({"issuedTo":"a","issuedBy":"b","notAfter":"2031-01-01","sha1":"0011"})"),
            "certificates.root[0].sha1: expected 40 hexadecimal digits");
  EXPECT_EQ(error(R"({"issuedTo":"a","issuedBy":"b","notAfter":"2031-01-01","sha1":"zz112233445566778899AABBCCDDEEFF00112233"})"),
            "certificates.root[0].sha1: expected hexadecimal digits");
  EXPECT_EQ(error(R"({"issuedTo":"a","issuedBy":"b","notAfter":"2031-01-01"})"), "certificates.root[0].sha1: missing");
  EXPECT_EQ(ParseWorldJson(R"({"certificates":{"mine":[]}})").error, "certificates.mine: unknown member");
  EXPECT_EQ(ParseWorldJson(R"({"certificates":{"my":{}}})").error, "certificates.my: expected an array or null");
  EXPECT_EQ(ParseWorldJson(R"({"certificates":[]})").error, "certificates: expected an object");
}

}  // namespace
}  // namespace vx::sim
