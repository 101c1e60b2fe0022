#include "softap/shell/ap_hide_dlg.h"

#include "common/pages/select_card_model.h"
#include "common/settings/ap_defaults.h"
#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "driver/os_version.h"
#include "resources/menus/menu_ids.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "softap/bridge/bridge_client.h"

namespace vx {
namespace {

struct TrayLook {
  uint32_t icon;
  uint32_t tip;
};
TrayLook LookOf(ApTrayState s) {
  switch (s) {
    case ApTrayState::Good:
      return {kIconApGood, IDS_AP_TRAY_GOOD};
    case ApTrayState::Normal:
      return {kIconApNormal, IDS_AP_TRAY_NORMAL};
    case ApTrayState::Weak:
      return {kIconApWeak, IDS_AP_TRAY_WEAK};
    case ApTrayState::NotPresent:
      return {kIconApNotPresent, IDS_AP_TRAY_NOT_EXIST};
    case ApTrayState::StartUp:
    default:
      return {kIconApLost, IDS_AP_TRAY_LOST};
  }
}

}  // namespace

int ApSignalPercent(int32_t dbm) {
  if (dbm >= -40) return 100;
  if (dbm >= -80) return 2 * dbm + 180;
  if (dbm >= -84) return 5 * dbm + 420;
  return 0;
}

ApPorts ApHideDlg::WithDialogs(const ApPorts& p, DialogPort& dialogs) {
  return ApPorts{p.registry, p.device,  p.bridge, p.setup, p.timers, p.system,
                 p.services, p.process, p.tray,   dialogs, p.strings};
}

ApHideDlg::ApHideDlg(ApPorts ports, SheetFactory sheetFactory, bool openSheetAtStart)
    : guard_(ports.dialogs, ports.timers, [this](ModalGuard::Action a) { RunDeferred(a); }),
      ports_(WithDialogs(ports, guard_.Dialogs())),
      sheetFactory_(std::move(sheetFactory)),
      channel_(ports.device, ports.timers, Program::AccessPoint),
      discovery_(ports.setup, ports.device, channel_, Program::AccessPoint),
      activation_(ports.registry, channel_, [this] { return SettingsRoot(); }),
      openSheetAtStart_(openSheetAtStart) {}

ApHideDlg::~ApHideDlg() { StopTimer(); }

uint32_t ApHideDlg::TrayIcon() const { return LookOf(trayState_).icon; }

ApPageContext ApHideDlg::PageContext() {
  return ApPageContext{ports_.registry,
                       channel_,
                       activation_,
                       ports_.dialogs,
                       ports_.strings,
                       [this] { return SettingsRoot(); },
                       usb_};
}

void ApHideDlg::StartTimer() {
  StopTimer();
  timer_ = ports_.timers.Start(kMainTimerMs, [this](TimerId) { OnTimer(kMainTimer); });
}

void ApHideDlg::StopTimer() {
  ports_.timers.Kill(timer_);
  timer_ = 0;
}

void ApHideDlg::RequestEnd(int code) {
  endRequested_ = true;
  endResult_ = code;
  guard_.Stop();
  if (onEnd) onEnd();
}

bool ApHideDlg::Discover() {
  bool found = discovery_.DiscoverAdapter(osKind_, [this](SelectCardDialog& d) {
    SelectCardDialogModel model(d, ports_.strings);
    ports_.dialogs.RunModal(model);  // busy meanwhile: the choice runs its own message loop
    return d.Selection();
  });
  usb_ = found && discovery_.Selected().isUsb;
  return found;
}

void ApHideDlg::OnInitDialog() {
  osKind_ = DetectOsVersion(ports_.system, Program::AccessPoint);
  channel_.SetOsKind(osKind_);
  if (IsNt5OrLater(osKind_) && !ports_.system.TokenHasAdministrators()) {
    ports_.dialogs.MessageBox(ports_.strings.Get(IDS_AP_NEED_ADMIN), ports_.strings.Get(IDS_AP_TITLE),
                              kMbOk | kMbIconError);
    // The program ends when the dialog returns: no settings pushed, no tray icon left behind.
    RequestEnd(2);
    return;
  }
  adapterFound_ = Discover();
  if (adapterFound_) RunStartSequence(openSheetAtStart_);
  trayState_ = ApTrayState::StartUp;
  TrayLook look = LookOf(trayState_);
  trayAdded_ = ports_.tray.Add(look.icon, ports_.strings.Get(look.tip));
  StartTimer();
}

void ApHideDlg::StopZeroConfig() {
  auto state = ports_.services.QueryState(kZeroConfigService);
  if (state && *state != kServiceStopped) ports_.services.Stop(kZeroConfigService);
}

void ApHideDlg::RunStartSequence(bool openSheet) {
  BridgeDevice held(ports_.bridge);
  EnsureBridging(held, ports_.bridge);
  {
    ModalGuard::Scope busy(guard_);
    ApSettingsStore(ports_.registry, [this] { return SettingsRoot(); }).EnsureAndApply(channel_);
    activation_.ReadBands();
    activation_.CheckChannel();
    uint8_t version[2] = {};
    channel_.Query(OID_GEN_DRIVER_VERSION, version);
    driverVersion_ = static_cast<uint16_t>(version[0] | (version[1] << 8));
  }
  StopZeroConfig();
  if (!activation_.ActivateFromRegistry()) {
    // Not started with that key: the user enters one on the Config page's security settings.
    ports_.dialogs.MessageBox(ports_.strings.Get(IDS_AP_PSK_INVALID), ports_.strings.Get(IDS_AP_TITLE),
                              kMbOk | kMbIconError);
    openSheet = true;
  }
  if (openSheet) ShowSheet();
  held.Close();
}

void ApHideDlg::OnTimer(int timer) {
  if (timer != kMainTimer || Busy() || endRequested_) return;
  Tick();
}

void ApHideDlg::Tick() {
  if (adapterFound_ && discovery_.IsAdapterReachable()) {
    uint32_t rssi = 0;
    if (channel_.QueryU32(OID_802_11_RSSI, rssi)) {
      int percent = ApSignalPercent(static_cast<int32_t>(rssi));
      UpdateTray(percent > 70 ? ApTrayState::Good : percent <= 40 ? ApTrayState::Weak : ApTrayState::Normal);
    } else {
      UpdateTray(ApTrayState::StartUp);  // no signal known: the "Lost" look, never 0 dBm's "Good"
    }
    StopZeroConfig();
    events_.Collect(channel_);
    return;
  }
  StopTimer();
  CloseSheet();
  discovery_.ClearSettingsRoot();
  adapterFound_ = Discover();
  StartTimer();
  UpdateTray(ApTrayState::NotPresent);
  if (adapterFound_)
    RunStartSequence(false);
  else
    usb_ = false;
}

void ApHideDlg::UpdateTray(ApTrayState state) {
  trayState_ = state;
  TrayLook look = LookOf(state);
  ports_.tray.Modify(look.icon, ports_.strings.Get(look.tip));
  if (SheetOpen()) sheet_->SetIcon(look.icon);
}

void ApHideDlg::OnTrayNotify(uint32_t mouseMessage) {
  if (Busy() || endRequested_) return;
  if (mouseMessage == kMouseLeftDoubleClick) {
    if (adapterFound_ && discovery_.IsAdapterReachable()) ShowSheet();
  } else if (mouseMessage == kMouseRightDown) {
    uint32_t command = ports_.tray.TrackMenu(kMenuAp);
    if (command != 0) OnCommand(command);
  }
}

void ApHideDlg::OnCommand(uint32_t command) {
  if (endRequested_) return;
  if (command == kCmdLaunch) {
    if (!Busy() && adapterFound_ && discovery_.IsAdapterReachable()) ShowSheet();
  } else if (command == kCmdExit) {
    ExitUtility();
  } else if (command == kCmdSwitchToStation) {
    SwitchToStation();
  }
}

void ApHideDlg::OnTaskbarCreated() {
  if (!trayAdded_) return;
  TrayLook look = LookOf(trayState_);
  ports_.tray.Add(look.icon, ports_.strings.Get(look.tip));
}

std::vector<ApPage> ApHideDlg::PageList() const {
  std::vector<ApPage> pages = {ApPage::Config, ApPage::AccessControl, ApPage::Wds};
  if (!usb_ && activation_.State().wepOrOpen) pages.push_back(ApPage::MacTable);
  pages.insert(pages.end(), {ApPage::EventLog, ApPage::Statistics, ApPage::About});
  return pages;
}

void ApHideDlg::ShowSheet() {
  if (sheet_ && !sheet_->WindowExists()) sheet_.reset();
  if (!sheet_) {
    events_.ResetShownCount();
    if (sheetFactory_) sheet_ = sheetFactory_(*this, PageList());
    if (!sheet_) return;
    sheet_->SetIcon(TrayIcon());
  }
  sheet_->Show();
}

void ApHideDlg::CloseSheet() {
  if (!sheet_) return;
  // A page waiting in a modal loop still uses itself and its sheet when the loop returns.
  if (Busy()) {
    guard_.Defer(ModalGuard::Action::CloseSheet);
    return;
  }
  // Taken out first: the view reports its own destruction as a closing.
  std::unique_ptr<ApSheetView> sheet = std::move(sheet_);
  if (sheet->WindowExists()) sheet->Destroy();
}

void ApHideDlg::ExitUtility() {
  if (endRequested_) return;
  if (Busy()) {
    guard_.Defer(ModalGuard::Action::Exit);
    return;
  }
  CloseSheet();
  ports_.tray.Remove();
  trayAdded_ = false;
  StopTimer();
  RequestEnd(1);
}

void ApHideDlg::SwitchToStation() {
  if (endRequested_) return;
  // The hand-over ends the utility: under an open dialog it waits for the dialog.
  if (Busy()) {
    guard_.Defer(ModalGuard::Action::HandOver);
    return;
  }
  RegKey adapter = Hklm(SettingsRoot());
  if (!SettingsRoot().empty()) {
    CopyKeyValues(ports_.registry, SubKey(adapter, "Default"), adapter);
    WriteText(ports_.registry, adapter, "OpMode", "0");
  }
  channel_.SetU32(VX_OID_802_11_SET_OP_MODE, kOpModeStation);
  ExitUtility();
  ports_.process.Exec(kModeSwitchCommand, kShowMinimized);
}

void ApHideDlg::RunDeferred(ModalGuard::Action action) {
  switch (action) {
    case ModalGuard::Action::HandOver:
      SwitchToStation();
      break;
    case ModalGuard::Action::Exit:
      ExitUtility();
      break;
    case ModalGuard::Action::CloseSheet:
      CloseSheet();
      break;
  }
}

}  // namespace vx
