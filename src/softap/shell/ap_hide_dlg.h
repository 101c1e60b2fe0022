// The access point utility's hidden main dialog: the tray icon and its menu, the start sequence
// (bridging, the settings copied and pushed), the two-second timer with its own signal rule and
// the event collection, rediscovery of a lost adapter, the modeless sheet, and the way back to
// station mode.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/shell/modal_guard.h"
#include "driver/discovery.h"
#include "driver/oid_channel.h"
#include "platform/device.h"
#include "platform/device_setup.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/service.h"
#include "platform/system.h"
#include "platform/timer.h"
#include "platform/ui.h"
#include "softap/config/ap_activation.h"
#include "softap/config/ap_page_context.h"
#include "softap/monitor/ap_event_store.h"

namespace vx {

struct ApPorts {
  RegistryPort& registry;
  DevicePort& device;
  DevicePort& bridge;  // the bridge driver's control device
  DeviceSetupPort& setup;
  TimerPort& timers;
  SystemPort& system;
  ServicePort& services;
  ProcessPort& process;
  TrayPort& tray;
  DialogPort& dialogs;
  const StringTable& strings;
};

// The pages of the sheet, in their order.
enum class ApPage { Config, AccessControl, Wds, MacTable, EventLog, Statistics, About };

// What the shell asks of its modeless sheet; the view layer implements it. The view gives the
// sheet the caption "Arventa SoftAP Utility", no Apply button and the lost icon, shrinks it to
// 10 pixels below its OK button, closes it when the left button is released on OK, and creates
// the page models from the dialog's page context and event store.
class ApSheetView {
 public:
  virtual ~ApSheetView() = default;
  virtual bool WindowExists() const = 0;
  virtual void Show() = 0;  // brought to the foreground
  virtual void Destroy() = 0;
  virtual void SetIcon(uint32_t icon) = 0;  // the small window icon
};

enum class ApTrayState { StartUp, Good, Normal, Weak, NotPresent };

// Signal percent by this utility's rule.
int ApSignalPercent(int32_t dbm);

class ApHideDlg {
 public:
  static constexpr uint32_t kTrayCallback = 1124;  // WM_USER + 100
  static constexpr uint32_t kTrayIconId = 161;
  static constexpr int kMainTimer = 0;
  static constexpr uint32_t kMainTimerMs = 2000;
  static constexpr uint32_t kMouseLeftDoubleClick = 0x0203;
  static constexpr uint32_t kMouseRightDown = 0x0204;
  static constexpr int kShowMinimized = 6;
  static constexpr const char* kModeSwitchCommand =
      "\"ModeSwitch.exe\" OFF ClientCfg HotspotCfg \"Veltrix Wireless\" PCI";
  static constexpr const char* kZeroConfigService = "WZCSVC";

  using SheetFactory = std::function<std::unique_ptr<ApSheetView>(ApHideDlg&, const std::vector<ApPage>&)>;

  ApHideDlg(ApPorts ports, SheetFactory sheetFactory, bool openSheetAtStart);
  ApHideDlg(const ApHideDlg&) = delete;
  ApHideDlg& operator=(const ApHideDlg&) = delete;
  ~ApHideDlg();

  void OnInitDialog();
  void OnTimer(int timer);
  void OnTrayNotify(uint32_t mouseMessage);
  void OnCommand(uint32_t command);
  // Re-adds the tray icon when the shell restarts.
  void OnTaskbarCreated();

  void RunStartSequence(bool openSheet);
  void ShowSheet();
  void ExitUtility();
  void SwitchToStation();
  std::vector<ApPage> PageList() const;

  // The dialog asked to end with this code (1 Exit and hand-over, 2 no administrator); the view
  // ends the modal run in onEnd.
  bool EndRequested() const { return endRequested_; }
  int EndResult() const { return endResult_; }
  std::function<void()> onEnd;

  // Set while a box, dialog or the adapter choice runs (every one goes through Ports().dialogs),
  // and during the start sequence.
  bool Busy() const { return guard_.Busy(); }
  // Exit, the hand-over or the sheet's closing asked for while busy, carried out once the last
  // modal loop has returned to the message loop.
  bool ActionDeferred() const { return guard_.Deferred(); }
  // The user closed the sheet (OK, Cancel, the close box): its pages and their timers go.
  void OnSheetClosed() { CloseSheet(); }
  bool AdapterFound() const { return adapterFound_; }
  bool UsbAdapter() const { return usb_; }
  int OsKind() const { return osKind_; }
  uint16_t DriverVersion() const { return driverVersion_; }
  ApTrayState TrayState() const { return trayState_; }
  uint32_t TrayIcon() const;

  OidChannel& Channel() { return channel_; }
  AdapterDiscovery& Discovery() { return discovery_; }
  ApActivation& Activation() { return activation_; }
  ApEventStore& Events() { return events_; }
  ApPageContext PageContext();
  ApSheetView* Sheet() { return sheet_.get(); }
  // The ports the pages use; their dialog port holds the busy flag around every modal loop.
  ApPorts& Ports() { return ports_; }

 private:
  bool Discover();
  void Tick();
  void UpdateTray(ApTrayState state);
  void StopZeroConfig();
  void CloseSheet();
  void StartTimer();
  void StopTimer();
  void RequestEnd(int code);
  void RunDeferred(ModalGuard::Action action);
  static ApPorts WithDialogs(const ApPorts& p, DialogPort& dialogs);
  bool SheetOpen() const { return sheet_ && sheet_->WindowExists(); }
  std::string SettingsRoot() const { return discovery_.Selected().settingsRoot; }

  ModalGuard guard_;
  ApPorts ports_;
  SheetFactory sheetFactory_;
  OidChannel channel_;
  AdapterDiscovery discovery_;
  ApActivation activation_;
  ApEventStore events_;
  std::unique_ptr<ApSheetView> sheet_;

  int osKind_ = 0;
  bool adapterFound_ = false;
  bool usb_ = false;
  bool openSheetAtStart_ = true;
  bool trayAdded_ = false;
  bool endRequested_ = false;
  int endResult_ = 0;
  uint16_t driverVersion_ = 0;
  ApTrayState trayState_ = ApTrayState::StartUp;
  TimerId timer_ = 0;
};

}  // namespace vx
