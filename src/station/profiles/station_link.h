// The station's side of association: builds activation records from the live values in the
// adapter key, queues them with scans and joins, and carries them out on the driver in a fixed
// order, with the supplicant hand-over and the check for a wrong WEP key. The hidden main dialog
// owns one and forwards its timer ticks; everything runs on the user-interface thread (a worker
// thread posts to that thread instead of calling in).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "driver/oid_channel.h"
#include "platform/registry.h"
#include "platform/supplicant.h"
#include "platform/timer.h"
#include "station/dot1x/credentials.h"
#include "station/profiles/action_queue.h"
#include "station/survey/scan_list.h"

namespace vx {

class AdapterDiscovery;

// What the shell knows about the adapter and the supplicant; the owner keeps it current.
struct AdapterFacts {
  bool has5GHz = false;
  uint32_t driverVersion = 0;  // OID_GEN_DRIVER_VERSION
  uint32_t regionWord = 0;     // current region codes, fixed bits cleared
  bool bgRegionChangeable = true;
  bool aRegionChangeable = true;
  bool supplicantAvailable = false;  // library open and bound to this adapter
};

struct OneTimePassword {
  std::string identity;
  std::string password;
};

struct StationLinkHooks {
  // The 802.1X texts in the system's ANSI code page for the library (unchanged when unset).
  AnsiText toAnsi;
  // Ticks of the scan timer (2) and the WEP-check timer (3). When set, the owner runs its own
  // loop and calls ScanTimerTick / EvaluateWepCheck / OnLinkDown itself; when unset the link
  // handles its ticks alone.
  std::function<void(int timer)> onTimer;
  // Shows the one-time-password dialog modally for a PEAP activation; the texts it returns become
  // the tunnelled name and password of that activation. Nullopt (Cancel) keeps the stored ones.
  std::function<std::optional<OneTimePassword>(const std::string& identity)> requestOneTimePassword;
  // True while that dialog's window exists: scan results wait for it.
  std::function<bool()> oneTimePasswordOpen;
  // After a country region was sent: the shell rebuilds its channel list.
  std::function<void()> onRegionApplied;
  // After a scan list was fetched into BssidList().
  std::function<void()> onScanListFetched;
  // A new activation was queued (not the re-connection's copy of the last one).
  std::function<void()> onNewActivation;
};

class StationLink {
 public:
  static constexpr uint32_t kScanTimerMs = 3000;
  static constexpr uint32_t kWepTimerMs = 10000;
  using RootSource = std::function<std::string()>;

  StationLink(RegistryPort& reg, OidChannel& channel, TimerPort& timers, SupplicantPort& supplicant,
              RootSource root, StationLinkHooks hooks = {});
  StationLink(RegistryPort& reg, OidChannel& channel, TimerPort& timers, SupplicantPort& supplicant,
              const AdapterDiscovery& discovery, StationLinkHooks hooks = {});
  StationLink(const StationLink&) = delete;
  StationLink& operator=(const StationLink&) = delete;
  ~StationLink();

  AdapterFacts& Facts() { return facts_; }
  StationLinkHooks& Hooks() { return hooks_; }

  // Reads the live values into a record (nullopt when the adapter key cannot be opened).
  // Queries the driver's station configuration on the way.
  std::optional<ActivationRecord> BuildActivationRecord(bool advanced);
  // Builds, queues and, when it is the only entry, runs the activation.
  void SetOidFromReg(bool advanced);
  // True when the queue holds exactly one entry afterwards; the caller then runs ActionExec.
  bool QueueAction(Action action);
  // Queues a scan and runs the queue when it was empty.
  void QueueScan();
  // Queues a copy of the last activation without advanced settings; same result as QueueAction.
  bool RequeueLastActivation();
  void ActionExec();

  // Timer 2: fetch the scan result and continue the queue, unless the one-time-password dialog
  // is open (then the next tick tries again).
  void ScanTimerTick();
  // The WEP-error evaluation, on a timer-3 tick while connected and armed or flagged.
  void EvaluateWepCheck();
  // A main-loop tick without a link: the error goes, an armed check starts over.
  void OnLinkDown();
  // Empties the queue and forgets the last activation, as when the hidden dialog ends.
  void Reset();

  bool Applied() const { return applied_; }
  void SetApplied(bool applied) { applied_ = applied; }
  const std::optional<ActivationRecord>& LastActivation() const { return lastActivation_; }
  bool RequeueSuppressed() const { return requeueSuppressed_; }
  void SetRequeueSuppressed(bool s) { requeueSuppressed_ = s; }
  const std::string& LastSsid() const { return lastSsid_; }
  uint32_t WirelessMode() const { return wirelessMode_; }
  void SetWirelessMode(uint32_t mode) { wirelessMode_ = mode; }
  const std::optional<ConfigWords>& LastStaConfig() const { return lastStaConfig_; }
  // The advanced pages keep the block they sent for later activations.
  void SetLastStaConfig(const ConfigWords& words) { lastStaConfig_ = words; }
  bool SupplicantInUse() const { return supplicantInUse_; }
  // 802.1X runs for the last activation: the supplicant took its credentials (WPA-PSK and LEAP
  // do not count).
  bool Dot1xActive() const { return dot1xAnswer_.has_value(); }
  // The library asked again: the credentials of that activation once more, certificates and the
  // one-time password included.
  void AnswerCredentialsAgain();
  bool WepError() const { return wepError_; }
  bool WepCheckArmed() const { return wepArmed_; }
  // The adapter went: the check waits (still armed) for the next tick without a link.
  void StopWepCheckTimer() { KillWepTimer(); }
  bool ScanPending() const { return scanPending_; }
  const ActionQueue& Queue() const { return queue_; }
  // The shared list buffer the scan fills; others may read the list into it too.
  ScanBuffer& BssidList() { return *bssidList_; }

 private:
  void Activate(ActivationRecord& r);
  void ConfigureDot1x(ActivationRecord& r);
  void SendRegion(uint32_t region);
  void SendConfigurationFrequency(uint32_t frequency);
  void TakeWepBaseline();
  void StartWepTimer();
  void KillWepTimer();
  void OnTick(TimerId id);

  RegistryPort& reg_;
  OidChannel& channel_;
  TimerPort& timers_;
  SupplicantPort& supplicant_;
  RootSource root_;
  StationLinkHooks hooks_;
  AdapterFacts facts_;

  ActionQueue queue_;
  std::optional<ActivationRecord> lastActivation_;
  std::optional<ConfigWords> lastStaConfig_;
  std::string lastSsid_;
  uint32_t wirelessMode_ = 0;
  bool applied_ = false;
  bool requeueSuppressed_ = false;
  bool supplicantInUse_ = false;
  struct Dot1xAnswer {
    uint32_t method = 0;
    Dot1xCredentials credentials;
  };
  std::optional<Dot1xAnswer> dot1xAnswer_;
  bool executing_ = false;

  bool scanPending_ = false;
  TimerId scanTimer_ = 0;
  std::unique_ptr<ScanBuffer> bssidList_;

  bool wepArmed_ = false;
  bool wepFirstEvaluation_ = false;
  bool wepError_ = false;
  uint64_t wepBaseTx_ = 0;
  uint32_t wepBaseRcv_ = 0;
  TimerId wepTimer_ = 0;
};

}  // namespace vx
