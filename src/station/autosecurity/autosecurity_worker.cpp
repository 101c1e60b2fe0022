#include "station/autosecurity/autosecurity_worker.h"

#include <algorithm>
#include <cstdio>

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

AutoSecurityWorker::AutoSecurityWorker(AutoSecurityWorkerConfig config, UiMessageQueue& ui)
    : config_(std::move(config)), ui_(ui), session_(config_.replyTimeLimitMs) {
  session_.SetAbortFlag(&abort_);
}

AutoSecurityWorker::~AutoSecurityWorker() { Stop(); }

void AutoSecurityWorker::Start() {
  if (thread_.joinable()) return;
  abort_ = false;
  thread_ = std::thread([this] { Run(); });
}

void AutoSecurityWorker::Stop() {
  if (!thread_.joinable()) return;
  abort_ = true;
  queue_.Post({kMsgQuit});
  ui_.Close();
  // Every wait of the worker is bounded and ends early on abort, so this join is short.
  thread_.join();
}

void AutoSecurityWorker::Run() {
  for (;;) {
    WorkerMessage m = queue_.Get();
    switch (m.id) {
      case kMsgDiscover: Discover(); break;
      case kMsgSendKey: SendKey(m.passPhrase); break;
      case kMsgCancel: Cancel(); break;
      case kMsgSaveProfile: SaveProfile(m.value); break;
      case kMsgQuit: Cancel(); return;
      default: break;
    }
  }
}

std::string AutoSecurityWorker::AddressCheck() {
  std::vector<AdapterIpInfo> adapters;
  if (!config_.ipInfo.GetAdapters(adapters)) return {};
  std::array<uint8_t, 6> mac{};
  uint32_t returned = 0;
  bool macKnown = config_.channel.OidQueryInformation(OID_802_3_CURRENT_ADDRESS, mac, returned);
  std::string name = config_.adapterName ? config_.adapterName() : std::string();
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

void AutoSecurityWorker::Discover() {
  if (discoveryBusy_) return;
  discoveryBusy_ = true;
  profileSaved_ = false;
  apBssid_ = {};
  apSsid_ = {};
  std::string gateway;
  for (int i = 0; i < kAddressChecks && gateway.empty() && !abort_; ++i) gateway = AddressCheck();
  if (gateway.empty()) {
    discoveryBusy_ = false;
    return;
  }
  ServerEndpoint server = ResolveServer(config_.readFile(SecurityIniPath(config_.programFolder)), gateway);
  config_.channel.Query(OID_802_11_BSSID, apBssid_);
  reply_.reset();
  if (!abort_ && session_.Connect(config_.tcp, server.host, server.port, config_.connectTimeoutMs))
    reply_ = session_.QuerySecuritySupport();
  if (!reply_) {
    session_.Close();
    discoveryBusy_ = false;
    return;
  }
  std::vector<uint8_t> ssid(kSsidRecordSize, 0);
  config_.channel.Query(OID_802_11_SSID, ssid);
  apSsid_ = DecodeSsid(ssid);
  UiMessage found;
  found.id = kMsgApFound;
  found.apText = FormatApText(config_.apTextFormat, apSsid_, apBssid_, config_.showSsid);
  found.bssid = apBssid_;
  ui_.Send(std::move(found));
  // The connection stays open while the user types the pass phrase.
}

void AutoSecurityWorker::SendKey(const std::string& passPhrase) {
  passPhrase_ = passPhrase;
  bool ok = reply_ && session_.IsOpen() && session_.SendKeyAndApply(apBssid_, reply_->flags, passPhrase);
  session_.Close();
  UiMessage done;
  done.id = kMsgKeyDone;
  done.keyResult = ok;
  ui_.Send(std::move(done));
}

void AutoSecurityWorker::Cancel() {
  session_.Close();
  discoveryBusy_ = false;
}

void AutoSecurityWorker::SaveProfile(uint32_t encryption) {
  if (profileSaved_) return;
  profileSaved_ = true;
  UiMessage saved;
  saved.id = kMsgProfileSaved;
  saved.ssid = apSsid_.Text();
  saved.passPhrase = passPhrase_;
  saved.encryption = encryption;
  ui_.Send(std::move(saved));
  queue_.WaitForQuit(config_.afterSaveMs);
  discoveryBusy_ = false;
}

}  // namespace vx
