#include "station/shell/hide_dlg.h"

#include "common/pages/select_card_model.h"
#include "common/settings/ap_defaults.h"
#include "common/settings/registry_values.h"
#include "common/text/shown_text.h"
#include "driver/oid_codes.h"
#include "driver/os_version.h"
#include "resources/string_ids.h"
#include "station/shell/otp_dialog.h"
#include "station/survey/scan_list.h"

namespace vx {
namespace {

// Tray icons and tooltip entries by state.
struct TrayLook {
  uint32_t icon;
  uint32_t tip;
  const char* fallback;
};
TrayLook LookOf(TrayState s) {
  switch (s) {
    case TrayState::Good:
      return {161, 199, "ARVENTA Wireless LAN Card\nStatus : Good (%s)"};
    case TrayState::Normal:
      return {156, 201, "ARVENTA Wireless LAN Card\nstatus : Normal (%s)"};
    case TrayState::Weak:
      return {159, 203, "ARVENTA Wireless LAN Card\nStatus : Weak (%s)"};
    case TrayState::NotPresent:
      return {179, 202, "ARVENTA Wireless LAN Card\nNot exist"};
    case TrayState::WepError:
      return {204, 313, "ARVENTA Wireless LAN Card\nStatus : WEP Error"};
    case TrayState::Disconnected:
    default:
      return {163, 200, "ARVENTA Wireless LAN Card\nDisconnected"};
  }
}

std::string WithSsid(std::string text, const std::string& ssid) {
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, ssid);
  return text;
}

bool IsZero(const MacAddress& m) { return m == MacAddress{}; }

// A record value of TKIP or AES "enabled" matches the driver's "key absent" of the same cipher.
bool SameEncryption(uint32_t record, uint32_t driver) {
  return record == driver || (record == kEncTkipEnabled && driver == kEncTkipKeyAbsent) ||
         (record == kEncAesEnabled && driver == kEncAesKeyAbsent);
}

constexpr uint32_t kSheetCaption = 102;

}  // namespace

StationPorts HideDlg::WithDialogs(const StationPorts& p, DialogPort& dialogs) {
  return StationPorts{p.registry, p.device,     p.setup, p.timers, p.system, p.services,
                      p.process,  p.supplicant, p.tray,  dialogs,  p.strings};
}

HideDlg::HideDlg(StationPorts ports, SheetFactory sheetFactory, bool openSheetOnTick)
    : guard_(ports.dialogs, ports.timers, [this](ModalGuard::Action a) { RunDeferred(a); }),
      ports_(WithDialogs(ports, guard_.Dialogs())),
      sheetFactory_(std::move(sheetFactory)),
      channel_(ports.device, ports.timers, Program::Station),
      discovery_(ports.setup, ports.device, channel_, Program::Station),
      zeroConfig_(ports.services, ports.registry),
      supplicant_(ports.supplicant, channel_),
      link_(ports.registry, channel_, ports.timers, ports.supplicant, discovery_),
      profiles_(ports.registry, discovery_),
      control_(ports.registry, channel_, ports.process, zeroConfig_),
      openSheetOnTick_(openSheetOnTick) {
  link_.Hooks().onTimer = [this](int timer) { OnTimer(timer); };
  link_.Hooks().toAnsi = [this](std::string_view utf8) { return ports_.system.ToAnsi(utf8); };
  link_.Hooks().oneTimePasswordOpen = [this] { return otpOpen_; };
  link_.Hooks().requestOneTimePassword = [this](const std::string& id) { return RequestOneTimePassword(id); };
  // A region sent by an activation is the one later activations keep sending.
  link_.Hooks().onRegionApplied = [this] {
    control_.BuildChannelList();
    TakeRegionFacts();
  };
  // Re-connection after a change of adapter waits for an activation on the new one.
  link_.Hooks().onNewActivation = [this] { discovery_.ClearAdapterChanged(); };
  profiles_.SetActivationHook([this](bool advanced) { link_.SetOidFromReg(advanced); });

  AdapterControlHooks& h = control_.Hooks();
  h.exitUtility = [this] { ExitUtility(); };
  h.reapplyLiveSettings = [this] { link_.SetOidFromReg(true); };
  h.clearSurveyState = [this] {
    if (SheetOpen()) sheet_->ClearSurveyState();
  };
  h.queueScan = [this] { link_.QueueScan(); };
  h.refreshSurvey = [this] {
    if (SheetOpen()) sheet_->RefreshSurvey();
  };
  h.showRadioIcon = [this](uint32_t icon) {
    if (SheetOpen()) sheet_->SetRadioIcon(icon);
  };
  h.takeFromZeroConfig = [this] { TakeFromZeroConfig(); };
}

HideDlg::~HideDlg() { StopMainTimer(); }

std::string HideDlg::Text(uint32_t id, const char* fallback) const {
  std::string text = ports_.strings.Get(id);
  return text.empty() ? std::string(fallback) : text;
}

uint32_t HideDlg::CurrentTrayIcon() const { return LookOf(trayState_).icon; }

void HideDlg::StartMainTimer() {
  StopMainTimer();
  mainTimer_ = ports_.timers.Start(kMainLoopMs, [this](TimerId) { OnTimer(1); });
}

void HideDlg::StopMainTimer() {
  ports_.timers.Kill(mainTimer_);
  mainTimer_ = 0;
}

void HideDlg::OnInitDialog() {
  currentSsid_ = {};
  currentBssid_ = {};
  osKind_ = DetectOsVersion(ports_.system, Program::Station);
  channel_.SetOsKind(osKind_);
  wow64_ = IsWow64(ports_.system, osKind_);
  admin_ = osKind_ <= 6 || ports_.system.TokenHasAdministrators();
  control_.SetOsKind(osKind_);
  control_.SetAdministrator(admin_);

  {
    ModalGuard::Scope busy(guard_);  // the adapter-selection dialog may come up
    adapterPresent_ =
        discovery_.DiscoverAdapter(osKind_, [this](SelectCardDialog& d) { return RunCardDialog(d); });
  }
  supplicant_.Open();
  if (adapterPresent_) AdapterInit();
  if (endRequested_) return;  // the driver was an access point: handed over already
  StartMainTimer();
  trayState_ = TrayState::Disconnected;
  trayIconAdded_ = ports_.tray.Add(163, Text(200, "ARVENTA Wireless LAN Card\nDisconnected"));
}

int HideDlg::RunCardDialog(SelectCardDialog& dialog) {
  SelectCardDialogModel model(dialog, ports_.strings);
  ports_.dialogs.RunModal(model);
  return dialog.Selection();
}

void HideDlg::TakeFromZeroConfig() {
  if (!supplicant_.IsOpen()) supplicant_.Open();
  zeroConfig_.StopZeroConfig(true);
  zeroConfigState_ = kZeroConfigOff;
  control_.SetZeroConfigState(zeroConfigState_);
  link_.SetOidFromReg(true);
}

void HideDlg::AdapterInit() {
  const AdapterSelection& sel = discovery_.Selected();
  control_.SetAdapter(sel.settingsRoot, sel.familyIndex);

  uint32_t opMode = kOpModeAccessPoint;  // a driver that does not answer is taken to be an access point
  channel_.QueryU32(VX_OID_802_11_QUERY_OP_MODE, opMode);
  if (opMode == kOpModeAccessPoint) {
    control_.SwitchToAccessPoint();
    return;
  }
  control_.ReadIeee80211h();
  EnsureApDefaults();

  uint8_t version[2] = {};
  {
    ModalGuard::Scope busy(guard_);
    control_.ReadHas5GHz();
    control_.BuildChannelList();
    channel_.Query(OID_GEN_DRIVER_VERSION, version);
  }
  AdapterFacts& facts = link_.Facts();
  facts.has5GHz = control_.Plan().has5GHz;
  facts.driverVersion = static_cast<uint32_t>(version[0] | (version[1] << 8));
  TakeRegionFacts();
  link_.SetWirelessMode(control_.Plan().wirelessMode);
  // The first run's activation comes once the adapter's facts are known: before, it would send
  // region 0 and have the channel checked against that.
  control_.FirstRunInit();

  control_.QueryRadio();
  zeroConfigState_ = zeroConfig_.ZeroConfigState(osKind_, sel.netCfgInstanceId);
  control_.SetZeroConfigState(zeroConfigState_);
  if (!supplicant_.IsOpen()) supplicant_.Open();

  if (zeroConfigState_ == kZeroConfigControls) {
    ReadBssidList();
    return;
  }
  if (supplicant_.IsOpen()) supplicant_.Bind();
  facts.supplicantAvailable = supplicant_.Usable();
  link_.QueueScan();
  link_.SetOidFromReg(true);
}

// The activations send the region of the channel plan as it now stands.
void HideDlg::TakeRegionFacts() {
  AdapterFacts& facts = link_.Facts();
  facts.regionWord = control_.Plan().regionWord;
  facts.bgRegionChangeable = control_.Plan().bgRegionChangeable;
  facts.aRegionChangeable = control_.Plan().aRegionChangeable;
}

void HideDlg::EnsureApDefaults() {
  ApSettingsStore store(ports_.registry, [this] { return discovery_.Selected().settingsRoot; });
  store.EnsureMaster(ApDefaultsCreator::Station, channel_);
}

void HideDlg::ReadBssidList() {
  // A failed query leaves the list as the driver left it.
  channel_.Query(OID_802_11_BSSID_LIST, link_.BssidList());
}

void HideDlg::OnTimer(int timer) {
  if (endRequested_) return;
  // The scan's completion runs under a dialog too: a dialog that rescans (the selection tool)
  // waits for it, and it only reads the list and goes on with the queue; it closes no window.
  if (timer == 2) {
    if (otpOpen_) return;
    link_.ScanTimerTick();
  }
  if (Busy()) return;
  MainLoop(timer);
}

void HideDlg::MainLoop(int timer) {
  // Presence.
  if (!adapterPresent_ || !discovery_.IsAdapterReachable()) {
    StopMainTimer();
    link_.StopWepCheckTimer();  // its ticks would run this search too
    CloseSheet();
    discovery_.ClearSettingsRoot();
    {
      ModalGuard::Scope busy(guard_);
      adapterPresent_ =
          discovery_.DiscoverAdapter(osKind_, [this](SelectCardDialog& d) { return RunCardDialog(d); });
    }
    StartMainTimer();
    if (!adapterPresent_) {
      UpdateTray(TrayState::NotPresent);
      discovery_.ClearUsb();
      return;
    }
    UpdateTray(TrayState::Disconnected);
    AdapterInit();
    if (endRequested_) return;
  }

  // Supplicant upkeep.
  if (!supplicant_.IsOpen()) supplicant_.Open();
  if (supplicant_.IsOpen() && !supplicant_.Usable() && zeroConfigState_ != kZeroConfigControls) {
    supplicant_.Bind();
    link_.Facts().supplicantAvailable = supplicant_.Usable();
  }
  // The library is asked only while 802.1X runs; a request is answered as the activation did.
  if (link_.Dot1xActive() && supplicant_.PollNeedsCredentials()) link_.AnswerCredentialsAgain();

  // Link.
  uint32_t media = kMediaConnected;
  channel_.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS, media);
  currentBssid_ = {};
  channel_.Query(OID_802_11_BSSID, currentBssid_);
  std::vector<uint8_t> ssid(kSsidRecordSize, 0);
  channel_.Query(OID_802_11_SSID, ssid);
  currentSsid_ = DecodeSsid(ssid);

  if (media != kMediaConnected || IsZero(currentBssid_)) {
    link_.OnLinkDown();
    UpdateTray(TrayState::Disconnected);
    if (zeroConfigState_ != kZeroConfigControls && control_.RadioOn() && !SheetOpen() &&
        disconnectedTicks_ != 0 && disconnectedTicks_ % 30 == 0)
      link_.QueueScan();
    ++disconnectedTicks_;
  } else {
    // Without an answer the buffer keeps a low value, so a silent driver shows as Weak.
    uint32_t rssi = static_cast<uint32_t>(-90);
    uint32_t second = 0;
    channel_.QueryU32(OID_802_11_RSSI, rssi);
    int32_t dbm = static_cast<int32_t>(rssi);
    if (channel_.QueryU32(VX_OID_802_11_QUERY_SECOND_RSSI, second) && static_cast<int32_t>(second) >= dbm)
      dbm = static_cast<int32_t>(second);
    int percent = DbmToPercent(dbm);
    disconnectedTicks_ = 0;
    TrayState state = link_.WepError() ? TrayState::WepError
                      : percent >= 71  ? TrayState::Good
                      : percent >= 41  ? TrayState::Normal
                                       : TrayState::Weak;
    UpdateTray(state);
    if (timer == 3 && (link_.WepError() || link_.WepCheckArmed())) link_.EvaluateWepCheck();
  }

  zeroConfigState_ = zeroConfig_.ZeroConfigState(osKind_, discovery_.Selected().netCfgInstanceId);
  control_.SetZeroConfigState(zeroConfigState_);
  uint32_t infrastructure = kInfraInfrastructure;
  channel_.QueryU32(OID_802_11_INFRASTRUCTURE_MODE, infrastructure);

  ReconnectCheck(media, infrastructure);

  if (SheetOpen()) sheet_->SetProfilePagePresent(zeroConfigState_ != kZeroConfigControls && admin_);

  if (adapterPresent_ && openSheetOnTick_) {
    ShowMainSheet();
    ReadBssidList();
    std::vector<SurveyRow> rows;
    DecodeScanList(std::span<const uint8_t>(link_.BssidList()), rows);
    if (sheet_) sheet_->StartShowup(rows.size());
  }
}

void HideDlg::ReconnectCheck(uint32_t media, uint32_t infrastructure) {
  if (control_.Plan().ieee80211h && infrastructure == kInfraAdhoc) return;
  if (disconnectedTicks_ == 0 || disconnectedTicks_ % 5 != 0) return;
  if (zeroConfigState_ == kZeroConfigControls || !admin_ || !link_.LastActivation()) return;
  if (discovery_.Selected().adapterChanged || !control_.RadioOn()) return;

  uint32_t auth = kAuthOpen;
  uint32_t encryption = kEncDisabled;
  channel_.QueryU32(OID_802_11_AUTHENTICATION_MODE, auth);
  channel_.QueryU32(OID_802_11_WEP_STATUS, encryption);
  const ActivationRecord& r = *link_.LastActivation();
  std::string recordSsid = r.ssid.Text();
  bool needed = media != kMediaConnected || IsZero(currentBssid_) ||
                (r.ssid.length != 0 && !recordSsid.empty() && recordSsid != currentSsid_.Text()) ||
                auth != r.authMode || !SameEncryption(r.encryption, encryption);
  if (!needed) return;
  if (link_.RequeueLastActivation() && !otpOpen_) link_.ActionExec();
}

void HideDlg::UpdateTray(TrayState state) {
  trayState_ = state;
  TrayLook look = LookOf(state);
  std::string tip = WithSsid(Text(look.tip, look.fallback), ShownSsid(currentSsid_.Text(), ports_.strings));
  ports_.tray.Modify(look.icon, tip);
  if (SheetOpen()) sheet_->SetIcon(look.icon);
}

void HideDlg::OnTrayNotify(uint32_t mouseMessage) {
  if (Busy() || endRequested_) return;
  if (mouseMessage == kMouseLeftDoubleClick) {
    if (adapterPresent_ && discovery_.IsAdapterReachable()) ShowMainSheet();
  } else if (mouseMessage == kMouseRightDown) {
    ShowTrayMenu();
  }
}

void HideDlg::OnCommand(uint32_t command) {
  if (endRequested_) return;
  switch (command) {
    case kCmdLaunch:
      if (!Busy() && adapterPresent_ && discovery_.IsAdapterReachable()) ShowMainSheet();
      break;
    case kCmdExit:
      ExitUtility();
      break;
    case kCmdZeroConfigOn:
      zeroConfig_.EnableZeroConfig(osKind_, wow64_, discovery_.Selected().netCfgInstanceId);
      zeroConfigState_ = kZeroConfigControls;
      control_.SetZeroConfigState(zeroConfigState_);
      supplicant_.Release();
      break;
    case kCmdZeroConfigOff:
      TakeFromZeroConfig();
      break;
    case kCmdSwitchToAp:
      // The hand-over ends the utility: under an open dialog it waits for the dialog.
      if (Busy())
        Defer(ModalGuard::Action::HandOver);
      else
        control_.SwitchToAccessPoint();
      break;
    default:
      break;
  }
}

bool HideDlg::SwitchOffered() {
  if (discovery_.Selected().familyIndex != kFamilyKC30 || !adapterPresent_) return false;
  std::string folder = ports_.process.ProgramFolder();
  return ports_.process.FileReadable(folder + "\\HotspotCfg.exe") &&
         ports_.process.FileReadable(folder + "\\ModeSwitch.exe");
}

void HideDlg::ShowTrayMenu() {
  bool sw = SwitchOffered();
  uint32_t menu;
  if (admin_ && zeroConfigState_ == kZeroConfigControls)
    menu = sw ? 230 : 224;
  else if (admin_ && (osKind_ == 8 || osKind_ == 10 || osKind_ == 11))
    menu = sw ? 232 : 223;
  else
    menu = sw ? 231 : 228;
  uint32_t command = ports_.tray.TrackMenu(menu);
  if (command != 0) OnCommand(command);
}

void HideDlg::ShowMainSheet() {
  if (Busy() || endRequested_) return;
  if (!adapterPresent_) {
    ports_.dialogs.MessageBox(Text(IDS_NIC_NOT_READY, "NIC or driver not ready"),
                              Text(kSheetCaption, "Arventa Client Utility"), kMbOk | kMbIconError);
    return;
  }
  if (sheet_ && !sheet_->WindowExists()) sheet_.reset();
  if (!sheet_ && sheetFactory_) sheet_ = sheetFactory_(*this);
  if (!sheet_) return;
  sheet_->Show();
  sheet_->SetIcon(LookOf(trayState_).icon);
  openSheetOnTick_ = false;
}

void HideDlg::CloseSheet() {
  if (!sheet_) return;
  sheet_->CloseProfileEditor();
  // A page waiting in a modal loop still uses itself and its sheet when the loop returns.
  if (Busy()) {
    Defer(ModalGuard::Action::CloseSheet);
    return;
  }
  // Taken out first: the view reports its own destruction as a closing.
  std::unique_ptr<MainSheetView> sheet = std::move(sheet_);
  sheet->Destroy();
}

void HideDlg::ExitUtility() {
  if (endRequested_) return;
  if (Busy()) {
    Defer(ModalGuard::Action::Exit);
    return;
  }
  CloseSheet();
  ports_.tray.Remove();
  trayIconAdded_ = false;
  StopMainTimer();
  endRequested_ = true;
  if (onEnd) onEnd();
}

void HideDlg::OnTaskbarCreated() {
  if (trayIconAdded_) {
    TrayLook look = LookOf(trayState_);
    ports_.tray.Add(look.icon,
                    WithSsid(Text(look.tip, look.fallback), ShownSsid(currentSsid_.Text(), ports_.strings)));
  }
}

void HideDlg::OnDestroy() {
  const std::string root = discovery_.Selected().settingsRoot;
  if (!control_.SwitchingToAp() && !root.empty()) {
    ports_.registry.CreateKey(SubKey(Hklm(root), "Default"));
    CopyKeyValues(ports_.registry, Hklm(root), SubKey(Hklm(root), "Default"));
  }
  supplicant_.Release();
  link_.Reset();
  StopMainTimer();
  guard_.Stop();
  discovery_.ClearSettingsRoot();
  discovery_.ClearInstanceId();
}

std::optional<OneTimePassword> HideDlg::RequestOneTimePassword(const std::string& identity) {
  OneTimePasswordDialog dialog(identity, ports_.dialogs, ports_.strings);
  otpOpen_ = true;
  int result = ports_.dialogs.RunModal(dialog);
  otpOpen_ = false;
  if (result != kIdOk) return std::nullopt;  // Cancel: the stored tunnel credentials stay
  return OneTimePassword{dialog.Identity(), dialog.Password()};
}

void HideDlg::Defer(ModalGuard::Action action) {
  guard_.Defer(action);
  // An open profile editor is closed (as Cancel) so the action need not wait for the user.
  if (sheet_) sheet_->CloseProfileEditor();
}

void HideDlg::RunDeferred(ModalGuard::Action action) {
  switch (action) {
    case ModalGuard::Action::HandOver:
      control_.SwitchToAccessPoint();
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
