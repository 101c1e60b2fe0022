// The one-button security worker thread: discovery of the cooperating access point at the
// gateway, the key exchange and the hand-over of the profile to save. It owns the connection and
// the kept support reply; it reaches the page only through the UI message queue and never
// touches a window, the registry or the set-up state.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "driver/oid_channel.h"
#include "driver/records.h"
#include "platform/ip_info.h"
#include "platform/tcp.h"
#include "station/autosecurity/messages.h"
#include "station/autosecurity/security_ini.h"
#include "station/autosecurity/wire_protocol.h"

namespace vx {

struct AutoSecurityWorkerConfig {
  TcpPort& tcp;
  IpInfoPort& ipInfo;
  // Driver queries made from the worker thread; the channel opens the device per request.
  OidChannel& channel;
  std::string programFolder;
  FileReader readFile = ReadWholeFile;
  // The adapter's NetCfgInstanceId, for IP sources that report no hardware address.
  std::function<std::string()> adapterName;
  // "SSID = %s\nBSSID = %02X:..." from the string table.
  std::string apTextFormat = "SSID = %s\nBSSID = %02X:%02X:%02X:%02X:%02X:%02X";
  // The SSID as the pages show it (called on the worker thread); unset: its bytes.
  std::function<std::string(const std::string&)> showSsid;
  uint32_t connectTimeoutMs = 3000;  // also bounds how long the page waits for the worker to end
  uint32_t replyTimeLimitMs = kReplyTimeLimitMs;
  uint32_t afterSaveMs = 5000;  // discovery stays off this long after a save
};

// "SSID = %s\nBSSID = %02X:%02X:%02X:%02X:%02X:%02X" filled in (the SSID cut to 32 bytes, shown
// by `show` when given).
std::string FormatApText(const std::string& format, const SsidRecord& ssid, const MacAddress& bssid,
                         const std::function<std::string(const std::string&)>& show = nullptr);

class AutoSecurityWorker {
 public:
  static constexpr int kAddressChecks = 3;
  static constexpr uint32_t kQuitWaitMs = 1000;

  AutoSecurityWorker(AutoSecurityWorkerConfig config, UiMessageQueue& ui);
  // Posts the quit message and waits for the thread.
  ~AutoSecurityWorker();
  AutoSecurityWorker(const AutoSecurityWorker&) = delete;
  AutoSecurityWorker& operator=(const AutoSecurityWorker&) = delete;

  void Start();
  void Post(WorkerMessage m) { queue_.Post(std::move(m)); }
  // Posts the quit message, releases a send in progress, and waits up to kQuitWaitMs; a thread
  // still busy then (a connection attempt) is left to end on its own.
  void Stop();
  bool Running() const { return thread_.joinable(); }

  // Worker-side handlers, public so tests can drive them without the thread.
  void Discover();
  void SendKey(const std::string& passPhrase);
  void Cancel();
  void SaveProfile(uint32_t encryption);

  bool DiscoveryBusy() const { return discoveryBusy_; }
  bool ProfileSaved() const { return profileSaved_; }
  const std::optional<SupportReply>& Reply() const { return reply_; }
  const MacAddress& ApBssid() const { return apBssid_; }

 private:
  void Run();
  // The server address from the adapter's IP information; empty when the check fails.
  std::string AddressCheck();

  AutoSecurityWorkerConfig config_;
  UiMessageQueue& ui_;
  WorkerQueue queue_;
  std::thread thread_;
  std::atomic<bool> abort_{false};
  AutoSecuritySession session_;
  std::optional<SupportReply> reply_;
  MacAddress apBssid_{};
  SsidRecord apSsid_;
  std::string passPhrase_;
  bool discoveryBusy_ = false;
  bool profileSaved_ = false;
};

}  // namespace vx
