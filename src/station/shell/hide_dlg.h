// The station utility's hidden main dialog: the tray icon and its menu, the two-second main
// loop (link polling, rediscovery, re-connection), and the main sheet opened from the tray.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/shell/modal_guard.h"
#include "driver/discovery.h"
#include "driver/oid_channel.h"
#include "platform/device.h"
#include "platform/device_setup.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/service.h"
#include "platform/supplicant.h"
#include "platform/system.h"
#include "platform/timer.h"
#include "platform/ui.h"
#include "station/dot1x/supplicant_context.h"
#include "station/profiles/profile_store.h"
#include "station/profiles/station_link.h"
#include "station/shell/adapter_control.h"
#include "station/shell/zero_config.h"

namespace vx {

struct StationPorts {
  RegistryPort& registry;
  DevicePort& device;
  DeviceSetupPort& setup;
  TimerPort& timers;
  SystemPort& system;
  ServicePort& services;
  ProcessPort& process;
  SupplicantPort& supplicant;
  TrayPort& tray;
  DialogPort& dialogs;
  const StringTable& strings;
};

// What the shell asks of the main property sheet; the view layer implements it.
class MainSheetView {
 public:
  virtual ~MainSheetView() = default;
  virtual bool WindowExists() const = 0;
  virtual void Show() = 0;  // placed on screen, shown and brought to the foreground
  virtual void Destroy() = 0;
  virtual void SetIcon(uint32_t icon) = 0;
  virtual void SetRadioIcon(uint32_t icon) = 0;
  virtual void SetProfilePagePresent(bool present) = 0;
  virtual void CloseProfileEditor() = 0;
  // "showup": with fewer than two networks the survey connects to row 0, otherwise the network
  // selection dialog opens.
  virtual void StartShowup(size_t networkCount) = 0;
  // The site survey's list and state words.
  virtual void RefreshSurvey() {}
  virtual void ClearSurveyState() {}
};

enum class TrayState { Good, Normal, Weak, Disconnected, NotPresent, WepError };

class HideDlg {
 public:
  // Tray and command identifiers.
  static constexpr uint32_t kTrayCallback = 1124;  // WM_USER + 100
  static constexpr uint32_t kTrayIconId = 161;
  static constexpr uint32_t kCmdLaunch = 32774;
  static constexpr uint32_t kCmdExit = 32776;
  static constexpr uint32_t kCmdZeroConfigOn = 32777;
  static constexpr uint32_t kCmdZeroConfigOff = 32780;
  static constexpr uint32_t kCmdSwitchToAp = 32781;
  static constexpr uint32_t kMainLoopMs = 2000;
  static constexpr uint32_t kMouseLeftDoubleClick = 0x0203;
  static constexpr uint32_t kMouseRightDown = 0x0204;

  using SheetFactory = std::function<std::unique_ptr<MainSheetView>(HideDlg&)>;

  HideDlg(StationPorts ports, SheetFactory sheetFactory, bool openSheetOnTick);
  HideDlg(const HideDlg&) = delete;
  HideDlg& operator=(const HideDlg&) = delete;
  ~HideDlg();

  void OnInitDialog();
  void OnTimer(int timer);
  void OnTrayNotify(uint32_t mouseMessage);
  void OnCommand(uint32_t command);
  void OnDestroy();
  // Re-adds the tray icon when the shell restarts.
  void OnTaskbarCreated();

  void ShowMainSheet();
  void ShowTrayMenu();
  void ExitUtility();
  void UpdateTray(TrayState state);
  void QueueScan() { link_.QueueScan(); }

  // The dialog asked to end (Exit, hand-over); the view ends the modal run in onEnd.
  bool EndRequested() const { return endRequested_; }
  std::function<void()> onEnd;
  // Set while a modal dialog, sheet or message box of the utility runs (every one goes through
  // Ports().dialogs), and during parts of the adapter initialisation.
  bool Busy() const { return guard_.Busy(); }
  // Exit, the hand-over or the sheet's closing asked for while busy, carried out once the last
  // modal loop has returned to the message loop.
  bool ActionDeferred() const { return guard_.Deferred(); }
  // The user closed the sheet (OK, Cancel, the close box): its pages and their timers go.
  void OnSheetClosed() { CloseSheet(); }

  // Shared state the pages read.
  bool AdapterPresent() const { return adapterPresent_; }
  bool Administrator() const { return admin_; }
  int OsKind() const { return osKind_; }
  bool Wow64() const { return wow64_; }
  int ZeroConfigStateValue() const { return zeroConfigState_; }
  const SsidRecord& CurrentSsid() const { return currentSsid_; }
  const MacAddress& CurrentBssid() const { return currentBssid_; }
  TrayState CurrentTrayState() const { return trayState_; }
  uint32_t CurrentTrayIcon() const;
  int DisconnectedTicks() const { return disconnectedTicks_; }
  bool OneTimePasswordOpen() const { return otpOpen_; }

  OidChannel& Channel() { return channel_; }
  AdapterDiscovery& Discovery() { return discovery_; }
  StationLink& Link() { return link_; }
  ProfileStore& Profiles() { return profiles_; }
  AdapterControl& Control() { return control_; }
  SupplicantContext& Supplicant() { return supplicant_; }
  ZeroConfig& ZeroConfiguration() { return zeroConfig_; }
  MainSheetView* Sheet() { return sheet_.get(); }
  // The ports the pages use; their dialog port holds the busy flag around every modal loop.
  StationPorts& Ports() { return ports_; }

  // The English text of a string entry when the table lacks it.
  std::string Text(uint32_t id, const char* fallback) const;

 private:
  static StationPorts WithDialogs(const StationPorts& p, DialogPort& dialogs);
  // Remembers an action that would take the sheet away under an open dialog.
  void Defer(ModalGuard::Action action);
  void RunDeferred(ModalGuard::Action action);

  void AdapterInit();
  int RunCardDialog(SelectCardDialog& dialog);
  void EnsureApDefaults();
  void TakeRegionFacts();
  void TakeFromZeroConfig();
  void CloseSheet();
  void MainLoop(int timer);
  void ReconnectCheck(uint32_t mediaStatus, uint32_t infrastructure);
  bool SheetOpen() const { return sheet_ && sheet_->WindowExists(); }
  bool SwitchOffered();
  std::optional<OneTimePassword> RequestOneTimePassword(const std::string& identity);
  void ReadBssidList();
  void StartMainTimer();
  void StopMainTimer();

  ModalGuard guard_;
  StationPorts ports_;
  SheetFactory sheetFactory_;
  OidChannel channel_;
  AdapterDiscovery discovery_;
  ZeroConfig zeroConfig_;
  SupplicantContext supplicant_;
  StationLink link_;
  ProfileStore profiles_;
  AdapterControl control_;
  std::unique_ptr<MainSheetView> sheet_;

  int osKind_ = 0;
  bool wow64_ = false;
  bool admin_ = true;
  bool adapterPresent_ = false;
  bool trayIconAdded_ = false;
  bool openSheetOnTick_ = false;
  bool endRequested_ = false;
  bool otpOpen_ = false;
  int disconnectedTicks_ = 0;
  int zeroConfigState_ = kZeroConfigOff;
  TrayState trayState_ = TrayState::Disconnected;
  SsidRecord currentSsid_;
  MacAddress currentBssid_{};
  TimerId mainTimer_ = 0;
};

}  // namespace vx
