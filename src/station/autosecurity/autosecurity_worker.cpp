#include "station/autosecurity/autosecurity_worker.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "driver/oid_codes.h"

namespace vx {
namespace {

// Four decimal parts of 0 to 255, as inet_addr accepts a dotted address.
bool ParseDotted(const std::string& text, std::array<uint8_t, 4>& out) {
  size_t part = 0, digits = 0;
  unsigned value = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      value = value * 10 + static_cast<unsigned>(c - '0');
      if (++digits > 3 || value > 255) return false;
    } else if (c == '.' && digits > 0 && part < 3) {
      out[part++] = static_cast<uint8_t>(value);
      value = 0;
      digits = 0;
    } else {
      return false;
    }
  }
  if (part != 3 || digits == 0) return false;
  out[3] = static_cast<uint8_t>(value);
  return true;
}

}  // namespace

std::string FormatApText(const std::string& format, const SsidRecord& ssid, const MacAddress& bssid,
                         const std::function<std::string(const std::string&)>& show) {
  // Filled by hand, so a translated format can never make a formatter read a missing argument.
  std::string out;
  size_t next = 0;
  bool ssidDone = false;
  for (size_t i = 0; i < format.size();) {
    if (format.compare(i, 2, "%s") == 0 && !ssidDone) {
      out += show ? show(ssid.Text()) : ssid.Text();
      ssidDone = true;
      i += 2;
    } else if (format.compare(i, 4, "%02X") == 0 && next < bssid.size()) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", bssid[next++]);
      out += hex;
      i += 4;
    } else {
      out += format[i++];
    }
  }
  return out;
}

// The worker's channel only queries, so it never starts a retry timer.
class NoTimers : public TimerPort {
 public:
  TimerId Start(uint32_t, Callback) override { return 0; }
  void Kill(TimerId) override {}
};

struct AutoSecurityWorker::Core {
  Core(AutoSecurityWorkerConfig c, UiMessageQueue& uiQueue)
      : config(std::move(c)),
        channel(config.device, noTimers, Program::Station),
        ui(&uiQueue),
        session(config.replyTimeLimitMs) {
    channel.SetDevicePath(config.devicePath);
    session.SetAbortFlag(&abort);
  }

  void Run();
  std::string AddressCheck();
  void Discover();
  void SendKey(const std::string& passPhrase);
  void Cancel();
  void SaveProfile(uint32_t encryption);
  // False when the UI queue was closed or let go of.
  bool Send(UiMessage m) {
    std::lock_guard gate(uiGate);
    return ui && ui->Send(std::move(m));
  }
  void Finished() {
    {
      std::lock_guard lock(doneMutex);
      done = true;
    }
    doneCv.notify_all();
  }

  AutoSecurityWorkerConfig config;
  NoTimers noTimers;
  OidChannel channel;
  std::mutex uiGate;
  UiMessageQueue* ui;  // null once the worker object let go of a thread that did not end
  WorkerQueue queue;
  std::atomic<bool> abort{false};
  AutoSecuritySession session;
  std::optional<SupportReply> reply;
  MacAddress apBssid{};
  SsidRecord apSsid;
  std::string passPhrase;
  bool discoveryBusy = false;
  bool profileSaved = false;
  std::mutex doneMutex;
  std::condition_variable doneCv;
  bool done = false;
};

AutoSecurityWorker::AutoSecurityWorker(AutoSecurityWorkerConfig config, UiMessageQueue& ui)
    : core_(std::make_shared<Core>(std::move(config), ui)), ui_(ui) {}

AutoSecurityWorker::~AutoSecurityWorker() { Stop(); }

void AutoSecurityWorker::Start() {
  if (thread_.joinable()) return;
  core_->abort = false;
  {
    std::lock_guard lock(core_->doneMutex);
    core_->done = false;
  }
  thread_ = std::thread([core = core_] {
    core->Run();
    core->Finished();
  });
}

void AutoSecurityWorker::Post(WorkerMessage m) { core_->queue.Post(std::move(m)); }

void AutoSecurityWorker::Stop() {
  if (!thread_.joinable()) return;
  core_->abort = true;
  core_->queue.Post({kMsgQuit});
  ui_.Close();
  bool ended;
  {
    std::unique_lock lock(core_->doneMutex);
    ended =
        core_->doneCv.wait_for(lock, std::chrono::milliseconds(kQuitWaitMs), [this] { return core_->done; });
  }
  if (ended) {
    thread_.join();
    return;
  }
  // Still inside a step that does not watch the abort flag (a connection attempt): it keeps
  // the core, and the queue that belongs to the page is taken from it.
  {
    std::lock_guard gate(core_->uiGate);
    core_->ui = nullptr;
  }
  thread_.detach();
  leftRunning_ = true;
}

void AutoSecurityWorker::Discover() { core_->Discover(); }
void AutoSecurityWorker::SendKey(const std::string& passPhrase) { core_->SendKey(passPhrase); }
void AutoSecurityWorker::Cancel() { core_->Cancel(); }
void AutoSecurityWorker::SaveProfile(uint32_t encryption) { core_->SaveProfile(encryption); }
bool AutoSecurityWorker::DiscoveryBusy() const { return core_->discoveryBusy; }
bool AutoSecurityWorker::ProfileSaved() const { return core_->profileSaved; }
const std::optional<SupportReply>& AutoSecurityWorker::Reply() const { return core_->reply; }
const MacAddress& AutoSecurityWorker::ApBssid() const { return core_->apBssid; }

void AutoSecurityWorker::Core::Run() {
  for (;;) {
    WorkerMessage m = queue.Get();
    // Once told to stop, nothing but the clean-up: the page may be gone.
    if (abort || m.id == kMsgQuit) {
      Cancel();
      return;
    }
    switch (m.id) {
      case kMsgDiscover:
        Discover();
        break;
      case kMsgSendKey:
        SendKey(m.passPhrase);
        break;
      case kMsgCancel:
        Cancel();
        break;
      case kMsgSaveProfile:
        SaveProfile(m.value);
        break;
      default:
        break;
    }
  }
}

std::string AutoSecurityWorker::Core::AddressCheck() {
  std::vector<AdapterIpInfo> adapters;
  if (!config.ipInfo.GetAdapters(adapters)) return {};
  std::array<uint8_t, 6> mac{};
  uint32_t returned = 0;
  bool macKnown = channel.OidQueryInformation(OID_802_3_CURRENT_ADDRESS, mac, returned);
  const std::string& name = config.adapterName;
  for (const AdapterIpInfo& a : adapters) {
    bool match = a.hardwareAddress.empty()
                     ? !name.empty() && EqualsIgnoreCase(a.adapterName, name)
                     : macKnown && a.hardwareAddress.size() == mac.size() &&
                           std::equal(a.hardwareAddress.begin(), a.hardwareAddress.end(), mac.begin());
    if (!match) continue;
    std::array<uint8_t, 4> dhcp{}, ip{};
    if (!ParseDotted(a.dhcpServer, dhcp)) return {};
    if (!ParseDotted(a.address, ip) || ip == std::array<uint8_t, 4>{}) return {};
    return a.gateway;
  }
  return {};
}

void AutoSecurityWorker::Core::Discover() {
  if (discoveryBusy) return;
  discoveryBusy = true;
  profileSaved = false;
  apBssid = {};
  apSsid = {};
  std::string gateway;
  for (int i = 0; i < kAddressChecks && gateway.empty() && !abort; ++i) gateway = AddressCheck();
  if (gateway.empty() || abort) {
    discoveryBusy = false;
    return;
  }
  ServerEndpoint server = ResolveServer(config.readFile(SecurityIniPath(config.programFolder)), gateway);
  channel.Query(OID_802_11_BSSID, apBssid);
  reply.reset();
  if (!abort && session.Connect(config.tcp, server.host, server.port, config.connectTimeoutMs) && !abort)
    reply = session.QuerySecuritySupport();
  if (!reply || abort) {
    session.Close();
    reply.reset();
    discoveryBusy = false;
    return;
  }
  std::vector<uint8_t> ssid(kSsidRecordSize, 0);
  channel.Query(OID_802_11_SSID, ssid);
  apSsid = DecodeSsid(ssid);
  UiMessage found;
  found.id = kMsgApFound;
  found.apText = FormatApText(config.apTextFormat, apSsid, apBssid, config.showSsid);
  found.bssid = apBssid;
  Send(std::move(found));
  // The connection stays open while the user types the pass phrase.
}

void AutoSecurityWorker::Core::SendKey(const std::string& key) {
  passPhrase = key;
  bool ok = reply && session.IsOpen() && session.SendKeyAndApply(apBssid, reply->flags, key);
  session.Close();
  UiMessage done;
  done.id = kMsgKeyDone;
  done.keyResult = ok;
  Send(std::move(done));
}

void AutoSecurityWorker::Core::Cancel() {
  session.Close();
  discoveryBusy = false;
}

void AutoSecurityWorker::Core::SaveProfile(uint32_t encryption) {
  if (profileSaved) return;
  profileSaved = true;
  UiMessage saved;
  saved.id = kMsgProfileSaved;
  saved.ssid = apSsid.Text();
  saved.passPhrase = passPhrase;
  saved.encryption = encryption;
  Send(std::move(saved));
  queue.WaitForQuit(config.afterSaveMs);
  discoveryBusy = false;
}

}  // namespace vx
