// "Site Survey" (CSiteSurvPage): the networks in range from the page's own copy of the scan
// buffer, Rescan, Connect (or a double click), Add to Profile, the one-line connection state with
// the connected row marked, and the watch that keeps a joined network joined. It also hosts the
// user-interface side of the one-button security set-up.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "driver/oid_channel.h"
#include "platform/ip_info.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/tcp.h"
#include "platform/timer.h"
#include "platform/ui.h"
#include "resources/dialogs/site_survey_page.h"
#include "station/autosecurity/autosecurity_flow.h"
#include "station/autosecurity/page_timers.h"
#include "station/autosecurity/setup_state.h"
#include "station/profiles/profile_store.h"
#include "station/profiles/station_link.h"
#include "station/survey/hidden_ssid.h"
#include "station/survey/scan_list.h"

namespace vx {

class HideDlg;

// Security class of a row from its "Authentication" text: 5 WPA2-PSK, 4 WPA2, 2 WPA-PSK,
// 3 WPA-NONE, 1 WPA, 0 none.
int SecurityClass(const std::string& authenticationText);

struct SecurityChoice {
  uint32_t authMode = 0;
  uint32_t encryption = 1;
};
enum class MappingUse { Connect, AddProfile };
// The authentication mode and encryption that Connect and Add Profile take from a row.
SecurityChoice MapSecurity(const SurveyRow& row, MappingUse use, int osKind);

// State shared with the rest of the program for the life of the process.
struct SurveyShared {
  HiddenNetworkRecord hidden;
  uint8_t missCount = 0;
  bool bindingMessageShown = false;  // the 802.1X binding message, once per run
  bool statusRefreshEnabled = true;
  // The profile list page made the adapter's settings (or cleared them): the network of the last
  // Connect is no longer the one to keep.
  bool liveProfileChanged = false;
  AutoSecuritySetup setup;
  // Profiles that Connect created in this run; the join watchdog deletes no other.
  std::vector<std::string> madeByConnect;
};

// What the page reads and calls elsewhere. The facts are functions so the page always sees the
// owners' current values.
struct SurveyContext {
  OidChannel& channel;
  StationLink& link;
  ProfileStore& profiles;
  RegistryPort& registry;
  TimerPort& timers;
  DialogPort& dialogs;
  const StringTable& strings;
  ProcessPort& process;
  TcpPort& tcp;
  IpInfoPort& ipInfo;
  SurveyShared& shared;

  std::function<bool()> accessPointMode;
  std::function<bool()> managesAdapter;  // this utility, not the zero-configuration service
  std::function<bool()> administrator;
  std::function<bool()> supplicantOpen;
  std::function<MacAddress()> currentBssid;
  std::function<SsidRecord()> currentSsid;
  std::function<bool()> wepError;
  std::function<int()> osKind;
  std::function<std::string()> adapterName;  // NetCfgInstanceId, for the worker's address check
  std::function<bool()> screenReader;        // the list then names the connected row in words
};

// The facts and ports of the hidden main dialog. `timers` replaces the shell's timer port (a view
// layer passes one that refreshes its views after each tick).
SurveyContext MakeSurveyContext(HideDlg& shell, TcpPort& tcp, IpInfoPort& ipInfo, SurveyShared& shared,
                                TimerPort* timers = nullptr);

// What the page asks of the main sheet, the profile list page and the profile sheets.
struct SurveyHooks {
  // The main sheet's current profile becomes `name` and the profile list page selects it, which
  // writes "CurProfile", copies it into the adapter key and activates it. Unset: the store does it.
  std::function<void(const std::string& name)> makeProfileCurrent;
  std::function<void(const std::string& name)> addProfileRow;
  std::function<void(const std::string& name)> deleteProfileRow;
  // The profile of the profile list page's active row. Unset: "CurProfile".
  std::function<std::string()> activeProfileName;
  // Whether the main sheet and its profile list page exist and have a current profile name.
  std::function<bool()> sheetHasCurrentProfile;
  // The "Security Profile" sheet, prefilled; shown modally, it stores the profile on OK and
  // returns what it stored, or nullopt on Cancel.
  std::function<std::optional<StationProfile>(const StationProfile& prefill)> runSecurityProfileSheet;
  // The profile list page's add-profile sheet, prefilled; true when confirmed.
  std::function<bool(const StationProfile& prefill)> runAddProfileSheet;
  // After a confirmed Add to Profile the main sheet shows the profile list page.
  std::function<void()> showProfilePage;
};

class CSiteSurvPage : public DialogModel {
 public:
  static constexpr int kStatusTimer = 1;
  static constexpr uint32_t kStatusTimerMs = 2000;
  static constexpr int kTimerJoinCheck = 106;
  static constexpr int kTimerRejoin = 107;
  static constexpr uint32_t kJoinCheckMs = 5000;
  static constexpr uint32_t kRejoinMs = 2000;
  static constexpr int kMaxMisses = 5;
  // The width the column factors apply to when the view does not tell its own.
  static constexpr int kDefaultListWidth = 399;
  static constexpr int kStatusTenths = 13;  // the status column's share, as wide as Encryption

  CSiteSurvPage(SurveyContext context, SurveyHooks hooks = {});
  ~CSiteSurvPage() override;
  CSiteSurvPage(const CSiteSurvPage&) = delete;
  CSiteSurvPage& operator=(const CSiteSurvPage&) = delete;

  uint32_t TemplateId() const override { return kIddSiteSurvey; }
  void OnInit() override;
  void OnSetActive() override;
  void OnTimer(int timerId) override;
  void OnCommand(int controlId, UiEvent event) override;

  // Column widths from the list's real width in pixels.
  void SetListWidth(int pixels);
  void OnListWidth(int id, int pixels) override;

  void Rescan();
  void Connect();
  void AddProfile();
  void StatusUpdate();
  void FollowLiveProfile();
  void UpdateButtons();
  void Refill();
  // The network selection dialog, then Connect on the chosen row.
  void RunNetworkSelection();
  // "showup": with fewer than two networks Connect on row 0, else the network selection dialog.
  void StartShowup(size_t networkCount);
  // Forgets the list and the join state (the shell's clean-up after a mode change).
  void ClearState();
  // The worker's messages; the Win32 side calls this when woken, the status timer as well.
  void DrainWorkerMessages() { flow_.DrainMessages(); }

  AutoSecurityFlow& Flow() { return flow_; }
  SurveyHooks& Hooks() { return hooks_; }
  const std::vector<SurveyRow>& Rows() const { return rows_; }
  bool RefillPending() const { return refillPending_; }
  bool JoinBySsid() const { return joinBySsid_; }
  bool JoinByBssid() const { return joinByBssid_; }
  const SsidRecord& RequestedSsid() const { return requestedSsid_; }
  const MacAddress& RequestedBssid() const { return requestedBssid_; }
  int DisconnectedTicks() const { return disconnectedTicks_; }
  bool TimerRunning(int id) const { return timers_.Running(id); }
  // The worker's settings the page starts it with; tests may shorten the time limits.
  AutoSecurityWorkerConfig& WorkerConfig() { return workerConfig_; }

 private:
  std::string Text(uint32_t id) const { return ctx_.strings.Get(id); }
  void Tick(int id);
  void Queue(Action action);
  void ShowRows();
  void MarkConnectedRow(int row, bool connected);
  std::string DisplayText(size_t column, const std::string& text) const;
  int SelectedRow() const;
  void SelectRow(int row);
  void MakeCurrent(const std::string& name);
  void MakeStoredCurrent(const std::string& name);
  void SetStatusRefresh(bool on) { ctx_.shared.statusRefreshEnabled = on; }
  StationProfile Prefill(const SurveyRow& row, const std::string& ssid, const SecurityChoice& security) const;
  void OnJoinCheck();
  void OnRejoin();

  SurveyContext ctx_;
  SurveyHooks hooks_;
  PageTimers timers_;
  AutoSecurityFlow flow_;
  AutoSecurityWorkerConfig workerConfig_;
  std::unique_ptr<ScanBuffer> scanCopy_;
  std::vector<SurveyRow> rows_;
  std::vector<std::string> shownSsid_;  // the bytes column 0 shows (a hidden network's typed name)
  bool statusColumn_ = false;           // the list's last column names the connected row
  bool refillPending_ = true;
  bool joinBySsid_ = false;
  bool joinByBssid_ = false;
  SsidRecord requestedSsid_;
  MacAddress requestedBssid_{};
  int disconnectedTicks_ = 0;
  std::string rejoinSsid_;  // the SSID of the profile the join watchdog deleted
  int listWidth_ = kDefaultListWidth;
};

}  // namespace vx
