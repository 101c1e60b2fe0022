// The one-button security worker thread: discovery of the cooperating access point at the
// gateway, the key exchange and the hand-over of the profile to save. It owns the connection and
// the kept support reply; it reaches the page only through the UI message queue and never
// touches a window, the registry or the set-up state.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
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

// What the worker works with, copied when it starts: it shares nothing that the UI thread
// changes. The ports are the program's, which live until the process ends.
struct AutoSecurityWorkerConfig {
  TcpPort& tcp;
  IpInfoPort& ipInfo;
  // The adapter's device, queried from the worker thread through a channel of its own.
  DevicePort& device;
  std::string devicePath;
  std::string programFolder;
  FileReader readFile = ReadWholeFile;
  // The adapter's NetCfgInstanceId, for IP sources that report no hardware address.
  std::string adapterName;
  // "SSID = %s\nBSSID = %02X:..." from the string table.
  std::string apTextFormat = "SSID = %s\nBSSID = %02X:%02X:%02X:%02X:%02X:%02X";
  // The SSID as the pages show it (called on the worker thread, so it may only read what lives
  // as long as the process); unset: its bytes.
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
  // Stop.
  ~AutoSecurityWorker();
  AutoSecurityWorker(const AutoSecurityWorker&) = delete;
  AutoSecurityWorker& operator=(const AutoSecurityWorker&) = delete;

  void Start();
  void Post(WorkerMessage m);
  // Posts the quit message, releases a send in progress, and waits up to kQuitWaitMs for the
  // thread. A thread still inside a step then (a connection attempt) is left to end on its own:
  // it keeps what it works on, reaches the UI queue no more, and does nothing after the step
  // but end. The ports of the configuration must outlive it: the program never destroys its
  // ports (it ends without returning from its main function).
  void Stop();
  bool Running() const { return thread_.joinable(); }
  // The last Stop left the thread to end on its own.
  bool LeftRunning() const { return leftRunning_; }

  // Worker-side handlers, public so tests can drive them without the thread.
  void Discover();
  void SendKey(const std::string& passPhrase);
  void Cancel();
  void SaveProfile(uint32_t encryption);

  bool DiscoveryBusy() const;
  bool ProfileSaved() const;
  const std::optional<SupportReply>& Reply() const;
  const MacAddress& ApBssid() const;

 private:
  // What the thread works on, shared with it so that it outlives this object when the thread
  // does not end in time.
  struct Core;
  std::shared_ptr<Core> core_;
  UiMessageQueue& ui_;
  std::thread thread_;
  bool leftRunning_ = false;
};

}  // namespace vx
