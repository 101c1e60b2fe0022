// The worker's discovery, key exchange, cancel and save against a loopback peer, run on the
// test thread (the UI queue drains inline as it is woken) and once on its own thread.
#include "station/autosecurity/autosecurity_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "base/byte_writer.h"
#include "driver/oid_codes.h"
#include "fakes/fake_device.h"
#include "fakes/virtual_clock.h"
#include "net/socket.h"

namespace vx {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr const char* kPath = "\\\\.\\{ADAPTER}";
const MacAddress kApBssid = {0x00, 0x0C, 0xE7, 0x10, 0x20, 0x30};
const MacAddress kOwnMac = {0x00, 0x0C, 0xE7, 0x30, 0x00, 0x01};

class FixedIpInfo : public IpInfoPort {
 public:
  bool GetAdapters(std::vector<AdapterIpInfo>& out) override {
    ++calls;
    out = adapters;
    return available;
  }
  std::vector<AdapterIpInfo> adapters;
  bool available = true;
  int calls = 0;
};

// The maker's service as the access point runs it: support flags, acknowledgements, and what it
// received.
class ApService {
 public:
  explicit ApService(uint16_t flags)
      : server_([this, flags](Socket& s) {
          ++connections;
          uint8_t buf[512];
          while (s.WaitReadable(2000)) {
            int n = s.Receive(buf, 0);
            if (n <= 0) break;
            Bytes request(buf, buf + n);
            {
              std::lock_guard lock(mutex_);
              received_.push_back(request);
            }
            if (request[1] == 0x01)
              s.SendAll(Bytes{0x5B, 0x81, uint8_t(flags >> 8), uint8_t(flags), 0, 2, 'A', 'P'});
            else
              s.SendAll(Bytes{0x5B, uint8_t(0x80 | request[1]), 0});
          }
          ++closed;
        }) {
    EXPECT_TRUE(server_.Start(0));
  }
  uint16_t Port() const { return server_.Port(); }
  std::vector<Bytes> Received() {
    std::lock_guard lock(mutex_);
    return received_;
  }
  std::atomic<int> connections{0};
  std::atomic<int> closed{0};

 private:
  std::mutex mutex_;
  std::vector<Bytes> received_;
  TcpServer server_;
};

class WorkerTest : public ::testing::Test {
 protected:
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::Station};
  FixedIpInfo ip;
  TcpClient tcp;
  UiMessageQueue ui;
  std::vector<UiMessage> got;
  std::string ini;
  std::vector<std::string> iniPaths;

  void SetUp() override {
    device.openable[kPath] = true;
    channel.SetDevicePath(kPath);
    device.handler = [](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& n) {
      Bytes answer;
      if (r.oid == OID_802_3_CURRENT_ADDRESS) answer.assign(kOwnMac.begin(), kOwnMac.end());
      if (r.oid == OID_802_11_BSSID) answer.assign(kApBssid.begin(), kApBssid.end());
      if (r.oid == OID_802_11_SSID) answer = EncodeSsid(SsidRecord::From("Arventa-AP"));
      std::copy_n(answer.begin(), std::min(answer.size(), out.size()), out.begin());
      n = static_cast<uint32_t>(std::min(answer.size(), out.size()));
      return true;
    };
    AdapterIpInfo a;
    a.adapterName = "{ADAPTER}";
    a.hardwareAddress.assign(kOwnMac.begin(), kOwnMac.end());
    a.address = "192.168.1.100";
    a.gateway = "127.0.0.1";
    a.dhcpServer = "127.0.0.1";
    ip.adapters = {a};
    ui.SetWake([this] { ui.Drain([this](const UiMessage& m) { got.push_back(m); }); });
  }

  AutoSecurityWorkerConfig Config() {
    AutoSecurityWorkerConfig c{tcp, ip, device, kPath, "C:\\Utility"};
    c.readFile = [this](const std::string& path) -> std::optional<std::string> {
      iniPaths.push_back(path);
      if (ini.empty()) return std::nullopt;
      return ini;
    };
    c.replyTimeLimitMs = 1000;
    c.afterSaveMs = 0;
    return c;
  }
  void PointAt(uint16_t port) { ini = "[Option]\nSERVER_IP=127.0.0.1\nSERVER_PORT=" + std::to_string(port) + "\n"; }
};

TEST_F(WorkerTest, DiscoveryThroughTheGatewayFindsTheAccessPoint) {
  ApService ap(0x0003);
  PointAt(ap.Port());
  AutoSecurityWorker worker(Config(), ui);
  worker.Discover();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].id, kMsgApFound);
  EXPECT_EQ(got[0].apText, "SSID = Arventa-AP\nBSSID = 00:0C:E7:10:20:30");
  EXPECT_EQ(got[0].bssid, kApBssid);
  EXPECT_EQ(iniPaths, std::vector<std::string>{"C:\\Utility\\security.ini"});
  ASSERT_TRUE(worker.Reply());
  EXPECT_EQ(worker.Reply()->flags, 3);
  EXPECT_TRUE(worker.DiscoveryBusy());

  worker.Discover();  // busy: nothing more
  EXPECT_EQ(got.size(), 1u);
  EXPECT_EQ(ap.connections, 1);

  worker.SendKey("0123456789");
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].id, kMsgKeyDone);
  EXPECT_TRUE(got[1].keyResult);
  auto received = ap.Received();
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[1], BuildSetWpaPsk(kApBssid, "0123456789"));
  EXPECT_EQ(received[2], BuildApplySecurity(kApBssid, 3));

  worker.SaveProfile(kEncTkipEnabled);
  worker.SaveProfile(kEncTkipEnabled);  // once per set-up
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[2].id, kMsgProfileSaved);
  EXPECT_EQ(got[2].ssid, "Arventa-AP");
  EXPECT_EQ(got[2].passPhrase, "0123456789");
  EXPECT_EQ(got[2].encryption, kEncTkipEnabled);
  EXPECT_FALSE(worker.DiscoveryBusy());
}

TEST_F(WorkerTest, AddressCheckFailuresConnectNowhere) {
  ApService ap(0x0003);
  PointAt(ap.Port());
  struct Case {
    const char* what;
    std::function<void(AdapterIpInfo&)> change;
  } cases[] = {
      {"no DHCP server", [](AdapterIpInfo& a) { a.dhcpServer = ""; }},
      {"DHCP server not dotted", [](AdapterIpInfo& a) { a.dhcpServer = "dhcp.local"; }},
      {"no address yet", [](AdapterIpInfo& a) { a.address = "0.0.0.0"; }},
      {"another adapter", [](AdapterIpInfo& a) { a.hardwareAddress[5] ^= 1; }},
      {"hardware address of another length", [](AdapterIpInfo& a) { a.hardwareAddress.push_back(0); }},
  };
  for (const auto& c : cases) {
    AdapterIpInfo base = ip.adapters[0];
    c.change(ip.adapters[0]);
    ip.calls = 0;
    AutoSecurityWorker worker(Config(), ui);
    worker.Discover();
    EXPECT_TRUE(got.empty()) << c.what;
    EXPECT_FALSE(worker.DiscoveryBusy()) << c.what;
    EXPECT_EQ(ip.calls, 3) << c.what;  // three checks, then it gives up
    ip.adapters[0] = base;
  }
  EXPECT_EQ(ap.connections, 0);

  // A source without hardware addresses is matched by the adapter's name.
  ip.adapters[0].hardwareAddress.clear();
  auto config = Config();
  config.adapterName = "{adapter}";
  AutoSecurityWorker worker(config, ui);
  worker.Discover();
  EXPECT_EQ(got.size(), 1u);
}

TEST_F(WorkerTest, NoServiceAtTheAddressEndsDiscoveryQuietly) {
  uint16_t freePort;
  {
    Socket probe = ListenTcp(0, &freePort);
  }
  PointAt(freePort);
  AutoSecurityWorker worker(Config(), ui);
  worker.Discover();
  EXPECT_TRUE(got.empty());
  EXPECT_FALSE(worker.DiscoveryBusy());
  worker.SendKey("0123456789");  // no connection: the exchange fails
  ASSERT_EQ(got.size(), 1u);
  EXPECT_FALSE(got[0].keyResult);
}

TEST_F(WorkerTest, CancelClosesTheConnection) {
  ApService ap(0x0002);
  PointAt(ap.Port());
  AutoSecurityWorker worker(Config(), ui);
  worker.Discover();
  ASSERT_EQ(got.size(), 1u);
  worker.Cancel();
  EXPECT_FALSE(worker.DiscoveryBusy());
  for (int i = 0; i < 200 && ap.closed == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ap.closed, 1);
  worker.SendKey("0123456789");
  EXPECT_FALSE(got.back().keyResult);
}

TEST_F(WorkerTest, ThreadAnswersThroughTheQueueAndEndsOnQuit) {
  ApService ap(0x0003);
  PointAt(ap.Port());
  UiMessageQueue threaded;  // drained by this thread, as the UI thread would
  std::atomic<int> wakes{0};
  threaded.SetWake([&] { ++wakes; });
  AutoSecurityWorker worker(Config(), threaded);
  worker.Start();
  worker.Post({kMsgDiscover});
  std::vector<UiMessage> seen;
  for (int i = 0; i < 500 && seen.empty(); ++i) {
    threaded.Drain([&](const UiMessage& m) { seen.push_back(m); });
    if (seen.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].id, kMsgApFound);
  EXPECT_GE(wakes, 1);
  worker.Stop();  // the open connection is closed on the way out
  EXPECT_FALSE(worker.Running());
  for (int i = 0; i < 200 && ap.closed == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ap.closed, 1);
}

// A connection attempt that ends only when the test lets it (or after a minute), then connects
// through `next` if set.
class HeldConnect : public TcpPort {
 public:
  TcpPort* next = nullptr;
  std::unique_ptr<TcpConnection> Connect(const std::string& host, uint16_t port, uint32_t ms) override {
    std::unique_lock lock(mutex_);
    entered_ = true;
    cv_.notify_all();
    cv_.wait_for(lock, std::chrono::seconds(60), [this] { return released_; });
    returned_ = true;
    cv_.notify_all();
    return next ? next->Connect(host, port, ms) : nullptr;
  }
  bool WaitEntered() {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::seconds(30), [this] { return entered_; });
  }
  bool Released() {
    std::lock_guard lock(mutex_);
    return released_;
  }
  bool ReleaseAndWait() {
    std::unique_lock lock(mutex_);
    released_ = true;
    cv_.notify_all();
    return cv_.wait_for(lock, std::chrono::seconds(30), [this] { return returned_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool entered_ = false, released_ = false, returned_ = false;
};

// The page's destruction waits for the worker a bounded time: a worker stuck in a connection
// attempt is left to end on its own, and reaches neither the page's queue nor anything else of
// the page afterwards.
TEST_F(WorkerTest, StopWaitsOnlyBrieflyForAWorkerInsideAConnectionAttempt) {
  // Outlives the test: the worker thread may still be inside it when the fixture goes.
  static HeldConnect* held = new HeldConnect;
  PointAt(1500);
  AutoSecurityWorkerConfig config = Config();
  AutoSecurityWorkerConfig heldConfig{*held, ip, device, kPath, config.programFolder};
  heldConfig.readFile = config.readFile;
  UiMessageQueue pageQueue;
  std::atomic<int> wakes{0};
  pageQueue.SetWake([&] { ++wakes; });
  auto worker = std::make_unique<AutoSecurityWorker>(heldConfig, pageQueue);
  worker->Start();
  worker->Post({kMsgDiscover});
  ASSERT_TRUE(held->WaitEntered());
  worker->Stop();
  EXPECT_FALSE(held->Released());  // Stop came back while the attempt still ran
  EXPECT_TRUE(worker->LeftRunning());
  EXPECT_FALSE(worker->Running());
  worker.reset();
  EXPECT_TRUE(held->ReleaseAndWait());
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(wakes, 0);
  EXPECT_FALSE(pageQueue.Pending());
}

// The worker works on copies taken at its start: inside a connection attempt, the adapter is
// found again elsewhere and the shell's channel goes; the worker still reaches the access point
// through the adapter it started with, touching nothing of the shell's.
TEST_F(WorkerTest, WorksOnWhatItCopiedAtItsStartThroughARediscovery) {
  static HeldConnect* held = new HeldConnect;  // outlives the test, as above
  held->next = &tcp;
  ApService ap(0x0002);
  PointAt(ap.Port());
  auto shellChannel = std::make_unique<OidChannel>(device, clock, Program::Station);
  shellChannel->SetDevicePath(kPath);
  AutoSecurityWorkerConfig config{*held, ip, shellChannel->Device(), shellChannel->DevicePath(), "C:\\Utility"};
  config.readFile = Config().readFile;
  UiMessageQueue threaded;
  AutoSecurityWorker worker(config, threaded);
  worker.Start();
  worker.Post({kMsgDiscover});
  ASSERT_TRUE(held->WaitEntered());
  shellChannel->SetDevicePath("\\\\.\\{OTHER}");
  shellChannel.reset();
  EXPECT_TRUE(held->ReleaseAndWait());
  std::vector<UiMessage> seen;
  for (int i = 0; i < 300 && seen.empty(); ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
    threaded.Drain([&](const UiMessage& m) { seen.push_back(m); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].apText.find("Arventa-AP"), std::string::npos);
}

TEST(UiMessageQueue, CloseReleasesAWaitingSender) {
  UiMessageQueue q;
  std::atomic<bool> result{true};
  std::thread sender([&] { result = q.Send({kMsgApFound}); });
  while (!q.Pending()) std::this_thread::yield();
  q.Close();
  sender.join();
  EXPECT_FALSE(result);
  EXPECT_FALSE(q.Send({kMsgKeyDone}));  // later sends fail at once
}

TEST(ApText, FormatIsFilledWithoutAFormatter) {
  SsidRecord ssid = SsidRecord::From(std::string(40, 'S'));
  EXPECT_EQ(FormatApText("SSID = %s\nBSSID = %02X:%02X:%02X:%02X:%02X:%02X", ssid, kApBssid),
            "SSID = " + std::string(32, 'S') + "\nBSSID = 00:0C:E7:10:20:30");
  // A translation with fewer or stray conversions cannot read missing arguments.
  EXPECT_EQ(FormatApText("%s %s %d %02X", SsidRecord::From("x"), kApBssid), "x %s %d 00");
}

}  // namespace
}  // namespace vx
