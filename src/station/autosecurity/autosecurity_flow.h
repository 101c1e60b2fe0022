// The user-interface side of the one-button set-up, run by the site survey page: the trigger at
// each status update, the key dialog, the wait window, timers 101, 104 and 105, the completion
// check over the scan rows, storing the SSID + "_AutoSecu" profile and the browser after success.
// Everything here runs on the UI thread; the worker is reached by posts and answers through the
// UI message queue.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "station/autosecurity/autosecurity_worker.h"
#include "station/autosecurity/messages.h"
#include "station/autosecurity/page_timers.h"
#include "station/autosecurity/qs3_dialogs.h"
#include "station/autosecurity/setup_state.h"
#include "station/profiles/profile_store.h"
#include "station/survey/scan_list.h"

namespace vx {

// The page's timers that belong to the set-up.
inline constexpr int kTimerRescanAfterKey = 101;
inline constexpr int kTimerSetupTimeout = 104;
inline constexpr int kTimerAfterSuccess = 105;
inline constexpr uint32_t kRescanAfterKeyMs = 5000;
inline constexpr uint32_t kSetupTimeoutMs = 120000;
inline constexpr uint32_t kAfterSuccessMs = 20000;

struct AutoSecurityFlowHooks {
  // Timer 101: the page rescans.
  std::function<void()> rescan;
  // Makes a stored profile the main sheet's current one and has the profile list page select
  // and apply it. Unset: the profile store selects it.
  std::function<void(const std::string& name)> makeProfileCurrent;
  // Off while a modal step of the set-up runs, so the page's status update waits.
  std::function<void(bool enabled)> setStatusRefresh;
  // Sees every message posted to the worker (diagnostics and tests).
  std::function<void(const WorkerMessage&)> observePost;
};

// Writes the profile SSID + "_AutoSecu" (SSID cut to 32; for an SSID that cannot be a key name,
// the name derived from it as shown by `shown`) with the values of a one-button set-up and sets
// "CurProfile" to it. Returns the profile name, or nullopt when neither the profile key nor the
// adapter key could be had.
std::optional<std::string> StoreAutoSecuProfile(RegistryPort& reg, ProfileStore& profiles,
                                                const StringTable& shown, const std::string& ssid,
                                                const std::string& passPhrase, uint32_t encryption);

class AutoSecurityFlow {
 public:
  // The browser shows this after success; the system opens its default browser for it.
  static constexpr const char* kBrowserUrl = "about:blank";

  AutoSecurityFlow(AutoSecuritySetup& setup, PageTimers& timers, DialogPort& dialogs, const StringTable& strings,
                   RegistryPort& reg, ProfileStore& profiles, ProcessPort& process, AutoSecurityFlowHooks hooks = {});
  ~AutoSecurityFlow();
  AutoSecurityFlow(const AutoSecurityFlow&) = delete;
  AutoSecurityFlow& operator=(const AutoSecurityFlow&) = delete;

  // Starts the worker thread (the page's initialisation); without it posts go nowhere.
  void StartWorker(AutoSecurityWorkerConfig config);
  // Posts the quit message and waits for the worker.
  void StopWorker();
  // A worker that tests drive by hand, or that the page owns; may be null.
  AutoSecurityWorker* Worker() { return worker_.get(); }
  // Where the worker's messages arrive; the UI side drains it when woken (or on the page timer).
  UiMessageQueue& Messages() { return messages_; }
  // Handles every message the worker has sent.
  void DrainMessages();

  // Runs at each status update that found the connected row.
  void Trigger(const MacAddress& bssid, uint32_t infrastructureMode, uint32_t authMode, uint32_t encryption);
  // Runs at each refill of the page's list.
  void CompletionCheck(const std::vector<SurveyRow>& rows);
  // Connect resets the set-up before joining.
  void ResetForConnect() { setup_.ResetForConnect(); }
  // Connect to a network without a profile tells the worker to let go of its connection.
  void CancelWorker() { Post({kMsgCancel}); }
  // 101, 104, 105; false for other timers.
  bool OnTimer(int id);

  // The key dialog with an AP text; the typed pass phrase, or nullopt when canceled.
  std::optional<std::string> AskPassPhrase(const std::string& apText);
  // Stores the SSID + "_AutoSecu" profile and makes it current; false when it could not be stored.
  bool SaveAndApply(const std::string& ssid, const std::string& passPhrase, uint32_t encryption);

  AutoSecuritySetup& Setup() { return setup_; }
  CQs3WaitWindow& WaitWindow() { return waitWindow_; }
  AutoSecurityFlowHooks& Hooks() { return hooks_; }
  const MacAddress& ApBssid() const { return apBssid_; }

  // The page's handlers of the worker's messages.
  void OnApFound(const UiMessage& m);
  void OnKeyDone(bool result);
  void OnProfileSaved(const UiMessage& m);

 private:
  void Post(WorkerMessage m);
  void ShowFailure();
  void SetStatusRefresh(bool on) {
    if (hooks_.setStatusRefresh) hooks_.setStatusRefresh(on);
  }

  AutoSecuritySetup& setup_;
  PageTimers& timers_;
  DialogPort& dialogs_;
  const StringTable& strings_;
  RegistryPort& reg_;
  ProfileStore& profiles_;
  ProcessPort& process_;
  AutoSecurityFlowHooks hooks_;
  CQs3WaitWindow waitWindow_;
  UiMessageQueue messages_;
  std::unique_ptr<AutoSecurityWorker> worker_;
  MacAddress apBssid_{};  // the UI's copy, from the AP-found message
};

}  // namespace vx
