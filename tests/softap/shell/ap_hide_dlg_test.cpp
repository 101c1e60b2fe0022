// The access point shell against the in-process virtual adapter and bridge: the start sequence,
// the tray and its timer, the sheet and its pages, a lost and returning adapter, the hand-over.
#include "softap/shell/ap_hide_dlg.h"

#include <gtest/gtest.h>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_services.h"
#include "fakes/scripted_ui.h"
#include "fakes/virtual_clock.h"
#include "resources/menus/menu_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings/string_tables.h"
#include "sim/adapter/virtual_adapter.h"
#include "sim/services/sim_services.h"
#include "resources/dialogs/ap_access_control_page.h"
#include "resources/dialogs/ap_config_page.h"
#include "resources/dialogs/ap_event_log_page.h"
#include "resources/dialogs/ap_mac_table_page.h"
#include "resources/dialogs/ap_wds_page.h"
#include "resources/dialogs/about_page.h"
#include "resources/dialogs/statistic_page.h"
#include "softap/acl_wds/mac_list_page.h"
#include "softap/monitor/monitor_pages.h"
#include "softap/shell/ap_sheet_pages.h"
#include "softap/shell/ap_startup.h"

namespace vx {
namespace {

struct FakeSystem : SystemPort {
  bool admin = true;
  uint32_t major = 5, minor = 1;
  std::map<std::string, std::string> env;
  std::optional<OsVersionInfo> GetVersion(bool) override { return OsVersionInfo{major, minor, 2600, kPlatformWin32Nt, 1}; }
  uint16_t DefaultUiLanguage() override { return 1033; }
  std::optional<std::string> GetEnv(const std::string& n) override {
    auto it = env.find(n);
    if (it == env.end()) return std::nullopt;
    return it->second;
  }
  std::optional<bool> IsWow64Process() override { return wow64; }
  bool EnableWow64FsRedirection(bool enable) override {
    redirected = enable;
    return wow64;
  }
  bool TokenHasAdministrators() override { return admin; }
  bool wow64 = false;
  bool redirected = true;
};

struct FakeProcess : ProcessPort {
  std::vector<std::string> log;
  bool Exec(const std::string& cmd, int show) override {
    log.push_back("exec " + std::to_string(show) + " " + cmd);
    return true;
  }
  std::string ProgramFolder() override { return "C:\\Arventa"; }
  bool FileReadable(const std::string&) override { return true; }
  bool RemoveFile(const std::string& p) override {
    log.push_back("rm " + p);
    return true;
  }
  bool RemoveFolder(const std::string& p) override {
    log.push_back("rmdir " + p);
    return true;
  }
  bool OpenUrl(const std::string&) override { return true; }
};

struct FakeSheet : ApSheetView {
  bool exists = true;
  int shows = 0;
  uint32_t icon = 0;
  std::vector<ApPage> pages;
  int* destroyed;
  FakeSheet(std::vector<ApPage> p, int* d) : pages(std::move(p)), destroyed(d) {}
  bool WindowExists() const override { return exists; }
  void Show() override { ++shows; }
  void Destroy() override {
    exists = false;
    ++*destroyed;
  }
  void SetIcon(uint32_t i) override { icon = i; }
};

sim::World ApWorld() {
  sim::World w;
  sim::Station phone;
  phone.mac = {0x00, 0x16, 0xCB, 0x01, 0x02, 0x03};
  phone.passphrase = "softap passphrase";
  sim::Station intruder;
  intruder.mac = {0x00, 0x1F, 0x3A, 0x07, 0x08, 0x09};
  intruder.passphrase = "guessed wrong";
  w.stations = {phone, intruder};
  return w;
}

// The station utility leaves the adapter in access point mode before the hand-over.
void SetAdapterOpMode(sim::VirtualAdapter& a, uint32_t mode) {
  auto h = a.Open(a.DevicePath());
  ASSERT_TRUE(h);
  uint32_t code = VX_OID_802_11_SET_OP_MODE;
  std::vector<uint8_t> in = {uint8_t(code), uint8_t(code >> 8), uint8_t(code >> 16), uint8_t(code >> 24)};
  std::vector<uint8_t> data = {uint8_t(mode), 0, 0, 0};
  uint32_t n = 0;
  ASSERT_TRUE(h->Control(kIoctlNdisQueryGlobalStats, in, data, n));
}

struct ApHideDlgTest : ::testing::Test {
  sim::VirtualAdapter adapter{sim::PciAdapterHardware(), ApWorld()};
  sim::SimDeviceSetup setup{{&adapter}};
  sim::SimBridge bridge;
  FakeRegistry reg;
  VirtualClock clock;
  FakeSystem system;
  FakeServices services;
  FakeProcess process;
  FakeTray tray;
  ScriptedUi ui;
  std::vector<FakeSheet*> sheets;
  int destroyed = 0;
  std::unique_ptr<ApHideDlg> dlg;
  std::string root;

  void SetUp() override {
    root = "System\\CurrentControlSet\\Control\\Class\\" + adapter.Hardware().driverKey;
    reg.CreateKey(Hklm(root));
    reg.CreateKey(Hklm(root + "\\Default"));
    reg.SetSz(root + "\\Default", "SSID", "HomeNet");
    reg.SetSz(root + "\\Default", "Channel", "6");
    services.services["WZCSVC"].state = kServiceRunning;
    SetAdapterOpMode(adapter, kOpModeAccessPoint);
  }
  void Make(bool openSheet = true) {
    ApPorts ports{reg, adapter, bridge, setup, clock, system, services, process, tray, ui, EnglishStrings()};
    dlg = std::make_unique<ApHideDlg>(ports, [this](ApHideDlg&, const std::vector<ApPage>& pages) {
      auto s = std::make_unique<FakeSheet>(pages, &destroyed);
      sheets.push_back(s.get());
      return s;
    }, openSheet);
  }
  FakeSheet* Sheet() { return static_cast<FakeSheet*>(dlg->Sheet()); }
};

TEST_F(ApHideDlgTest, StartSequencePushesTheSettingsBridgesAndOpensTheSheet) {
  Make();
  dlg->OnInitDialog();
  EXPECT_TRUE(dlg->AdapterFound());
  EXPECT_TRUE(bridge.Bridging());
  int sets = 0;
  for (const auto& r : bridge.Requests()) sets += r.code == sim::SimBridge::kSetState;
  EXPECT_EQ(sets, 1);
  // "ApDefault" was made and copied into the adapter key; the channel was checked.
  EXPECT_EQ(reg.GetSz(root + "\\ApDefault", "SSID"), "SoftAP-01");
  EXPECT_EQ(reg.GetSz(root, "SSID"), "SoftAP-01");
  EXPECT_EQ(reg.GetSz(root, "Channel"), "1");
  EXPECT_EQ(reg.GetSz(root + "\\Default", "Channel"), "1");
  EXPECT_EQ(adapter.State().ssid, "SoftAP-01");
  EXPECT_EQ(services.services["WZCSVC"].state, kServiceStopped);
  EXPECT_EQ(dlg->DriverVersion(), adapter.Hardware().driverVersion);
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0]->shows, 1);
  EXPECT_EQ(sheets[0]->pages, (std::vector<ApPage>{ApPage::Config, ApPage::AccessControl, ApPage::Wds,
                                                   ApPage::MacTable, ApPage::EventLog, ApPage::Statistics,
                                                   ApPage::About}));
  EXPECT_TRUE(tray.added);
  EXPECT_EQ(tray.icon, kIconApLost);
  EXPECT_EQ(tray.tip, "Veltrix PCI Wireless LAN Card -- Lost");
  EXPECT_EQ(clock.ActiveTimers(), 1u);
}

TEST_F(ApHideDlgTest, TrayOnlyStartOpensTheSheetOnDoubleClickAndTheTimerShowsTheSignal) {
  EXPECT_TRUE(IsTrayOnlyCommand("-s"));
  EXPECT_TRUE(IsTrayOnlyCommand(" \"-S\" "));
  EXPECT_FALSE(IsTrayOnlyCommand("-Sx"));
  Make(false);
  dlg->OnInitDialog();
  EXPECT_TRUE(sheets.empty());
  clock.Advance(2000);
  EXPECT_NE(dlg->TrayState(), ApTrayState::StartUp);
  EXPECT_NE(dlg->TrayState(), ApTrayState::NotPresent);
  dlg->OnTrayNotify(ApHideDlg::kMouseLeftDoubleClick);
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0]->icon, dlg->TrayIcon());
  dlg->OnCommand(kCmdLaunch);  // the same sheet again
  EXPECT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0]->shows, 2);
  sheets[0]->exists = false;  // closed with OK
  dlg->OnTrayNotify(ApHideDlg::kMouseLeftDoubleClick);
  EXPECT_EQ(sheets.size(), 2u);
}

TEST(ApSignal, OwnRuleAtTheCorners) {
  EXPECT_EQ(ApSignalPercent(-40), 100);
  EXPECT_EQ(ApSignalPercent(-41), 98);
  EXPECT_EQ(ApSignalPercent(-55), 70);
  EXPECT_EQ(ApSignalPercent(-80), 20);
  EXPECT_EQ(ApSignalPercent(-81), 15);
  EXPECT_EQ(ApSignalPercent(-84), 0);
  EXPECT_EQ(ApSignalPercent(-85), 0);
}

TEST_F(ApHideDlgTest, EventsAreCollectedEveryTwoSecondsWithTheSheetClosed) {
  reg.CreateKey(Hklm(root + "\\ApDefault"));
  for (const auto& v : ApDefaultValues(ApDefaultsCreator::AccessPoint, adapter.Hardware().mac))
    reg.SetValue(Hklm(root + "\\ApDefault"), v.name, v.value);
  reg.SetSz(root + "\\ApDefault", "AuthenType", "4");
  reg.SetSz(root + "\\ApDefault", "Encryption", "4");
  reg.SetSz(root + "\\ApDefault", "WPAPSK", "softap passphrase");
  Make(false);
  dlg->OnInitDialog();
  EXPECT_TRUE(dlg->Events().Events().empty());
  clock.Advance(2000);
  std::vector<uint16_t> types;
  for (const auto& e : dlg->Events().Events()) types.push_back(e.type);
  // The phone knows the pass phrase, the intruder does not.
  EXPECT_NE(std::find(types.begin(), types.end(), 1), types.end());
  EXPECT_NE(std::find(types.begin(), types.end(), 5), types.end());
  EXPECT_EQ(adapter.State().associatedStations.size(), 1u);
  // Under WPA the station table page is not offered.
  auto pages = dlg->PageList();
  EXPECT_EQ(std::count(pages.begin(), pages.end(), ApPage::MacTable), 0);
}

// The service is stopped whenever it is not stopped, pending states and a pause included; a
// failed signal query shows no signal rather than 0 dBm's "Good".
TEST_F(ApHideDlgTest, ZeroConfigNotStoppedIsStoppedAndAFailedSignalShowsNone) {
  Make(false);
  dlg->OnInitDialog();
  for (uint32_t state : {kServiceStartPending, kServiceStopPending, kServicePaused}) {
    services.services["WZCSVC"].state = state;
    services.log.clear();
    clock.Advance(2000);
    EXPECT_EQ(services.log, std::vector<std::string>{"stop WZCSVC"}) << state;
  }
  adapter.FailOid(OID_802_11_RSSI);
  clock.Advance(2000);
  EXPECT_EQ(dlg->TrayState(), ApTrayState::StartUp);
}

TEST_F(ApHideDlgTest, ARejectListKeepsAStationOutOfTheMacTable) {
  Make(false);
  dlg->OnInitDialog();
  CMacTablePage table(dlg->Channel(), clock, EnglishStrings());
  table.OnInit();
  table.OnSetActive();
  clock.Advance(2000);
  ASSERT_EQ(table.Control(kIdcMtList).rows.size(), 2u);  // an open access point admits both
  EXPECT_EQ(table.Control(kIdcMtList).rows[0].cells[0], "00-16-CB-01-02-03");

  CAccessControlPage acl(dlg->PageContext());
  acl.OnInit();
  acl.Control(kIdcAclPolicy).selection = 2;
  acl.OnCommand(kIdcAclPolicy, UiEvent::SelectionChanged);
  acl.Control(kIdcAclMac).text = "0016CB010203";
  acl.OnCommand(kIdcAclAdd, UiEvent::Clicked);
  acl.OnCommand(kIdcAclApply, UiEvent::Clicked);
  adapter.Tick(sim::VirtualAdapter::kAgeOutTicks + 1);
  clock.Advance(2000);
  ASSERT_EQ(table.Control(kIdcMtList).rows.size(), 1u);
  EXPECT_EQ(table.Control(kIdcMtList).rows[0].cells[0], "00-1F-3A-07-08-09");
  // The next start pushes the same list from the working copy.
  EXPECT_EQ(reg.GetSz(root, "AccessControlPolicy"), "2");
}

TEST_F(ApHideDlgTest, UnpluggedAdapterClosesTheSheetAndReplugPushesAgainWithoutIt) {
  Make();
  dlg->OnInitDialog();
  ASSERT_EQ(sheets.size(), 1u);
  adapter.Unplug();
  clock.Advance(2000);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(dlg->Sheet(), nullptr);
  EXPECT_EQ(tray.icon, kIconApNotPresent);
  EXPECT_EQ(tray.tip, "Arventa Wireless LAN Card\nNot Exist");
  dlg->OnTrayNotify(ApHideDlg::kMouseLeftDoubleClick);
  EXPECT_EQ(sheets.size(), 1u);  // no adapter, no sheet

  adapter.Replug();
  SetAdapterOpMode(adapter, kOpModeAccessPoint);
  adapter.ClearOidLog();
  clock.Advance(2000);
  EXPECT_TRUE(dlg->AdapterFound());
  bool ssidSet = false;
  for (const auto& e : adapter.OidLog()) ssidSet |= e.oid == (OID_802_11_SSID | kOidSetBit);
  EXPECT_TRUE(ssidSet);
  EXPECT_EQ(sheets.size(), 1u);
}

TEST_F(ApHideDlgTest, SwitchToStationRestoresTheStationDefaultsAndStartsModeSwitch) {
  Make(false);
  dlg->OnInitDialog();
  tray.nextCommand = kCmdSwitchToStation;
  dlg->OnTrayNotify(ApHideDlg::kMouseRightDown);
  EXPECT_EQ(tray.menus, (std::vector<uint32_t>{kMenuAp}));
  EXPECT_EQ(reg.GetSz(root, "SSID"), "HomeNet");
  EXPECT_EQ(reg.GetSz(root, "OpMode"), "0");
  EXPECT_EQ(adapter.State().opMode, kOpModeStation);
  EXPECT_FALSE(reg.GetSz(root + "\\ApDefault", "SSID").empty());  // the access point set is kept
  EXPECT_TRUE(dlg->EndRequested());
  EXPECT_EQ(dlg->EndResult(), 1);
  EXPECT_FALSE(tray.added);
  EXPECT_EQ(clock.ActiveTimers(), 0u);
  EXPECT_EQ(process.log.back(), "exec 6 \"ModeSwitch.exe\" OFF ClientCfg HotspotCfg \"Veltrix Wireless\" PCI");
}

TEST_F(ApHideDlgTest, ExitLeavesBridgingAndTheAdapterModeAlone) {
  Make();
  dlg->OnInitDialog();
  dlg->OnCommand(kCmdExit);
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(dlg->EndRequested());
  EXPECT_TRUE(bridge.Bridging());
  EXPECT_EQ(adapter.State().opMode, kOpModeAccessPoint);
  EXPECT_TRUE(process.log.empty());
}

TEST_F(ApHideDlgTest, NonAdministratorSeesTheMessageAndTheProgramEnds) {
  system.admin = false;
  Make();
  dlg->OnInitDialog();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Soft AP user's account must have 'Administrator' privilege.");
  EXPECT_EQ(dlg->EndResult(), 2);
  EXPECT_FALSE(tray.added);
  EXPECT_TRUE(sheets.empty());
}

TEST_F(ApHideDlgTest, NoAdapterShowsStartUpAndKeepsRediscovering) {
  adapter.Unplug();
  Make();
  dlg->OnInitDialog();
  EXPECT_FALSE(dlg->AdapterFound());
  EXPECT_TRUE(sheets.empty());
  EXPECT_EQ(tray.icon, kIconApLost);
  EXPECT_TRUE(bridge.Requests().empty());
  clock.Advance(2000);
  EXPECT_EQ(tray.icon, kIconApNotPresent);
  EXPECT_EQ(clock.ActiveTimers(), 1u);
}

struct NoFiles : FileInfoPort {
  std::string SystemDirectory() override { return "C:\\WINDOWS\\system32"; }
  std::string ProgramFile() override { return "C:\\Arventa\\HotspotCfg.exe"; }
  std::optional<FileVersion> FixedVersion(const std::string&) override { return std::nullopt; }
  std::optional<std::string> VersionString(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<FileDate> LastWriteDate(const std::string&) override { return std::nullopt; }
};

TEST_F(ApHideDlgTest, SheetPagesFollowThePageListAndItsCaption) {
  NoFiles files;
  sim::SimIpInfo ip{{&adapter}};
  Make(false);
  dlg->OnInitDialog();
  ApSheetPages pages(*dlg, dlg->PageList(), ApSheetExtras{files, ip, FileTimeToUtcFields});
  std::vector<uint32_t> templates;
  for (DialogModel* m : pages.Models()) templates.push_back(m->TemplateId());
  EXPECT_EQ(templates, (std::vector<uint32_t>{kIddApConfigPage, kIddApAccessControlPage, kIddApWdsPage,
                                              kIddApMacTablePage, kIddApEventLogPage, kIddStatistics, kIddAbout}));
  EXPECT_EQ(pages.Caption(), "Arventa SoftAP Utility");
  EXPECT_EQ(pages.Models()[0]->caption, "Config");
  for (DialogModel* m : pages.Models()) m->OnInit();
  EXPECT_TRUE(ApSheetPages::IsHexEdit(kIddApWdsPage, kIdcWdsMac));
  EXPECT_FALSE(ApSheetPages::IsHexEdit(kIddApConfigPage, kIdcApcSsid));
}

// The driver file as a 64-bit system keeps it: read with the file-system redirection off.
struct DriverFile : NoFiles {
  explicit DriverFile(FakeSystem& system) : system_(system) {}
  std::optional<FileVersion> FixedVersion(const std::string& path) override {
    if (path != "C:\\WINDOWS\\system32\\drivers\\kc30.sys" || system_.redirected) return std::nullopt;
    return FileVersion{3, 0, 2, 18};
  }
  FakeSystem& system_;
};

TEST_F(ApHideDlgTest, AboutReadsTheDriverFileOfA64BitSystem) {
  system.major = 6;  // Windows 7: kind 11
  system.wow64 = true;
  DriverFile files(system);
  sim::SimIpInfo ip{{&adapter}};
  Make(false);
  dlg->OnInitDialog();
  ApSheetPages pages(*dlg, dlg->PageList(), ApSheetExtras{files, ip, FileTimeToUtcFields});
  DialogModel* about = pages.Models().back();
  ASSERT_EQ(about->TemplateId(), kIddAbout);
  about->OnInit();
  EXPECT_EQ(about->Control(about::kDriverVersion).text, "3.0.2.18\n");
  EXPECT_TRUE(system.redirected);  // switched on again after the read
}

TEST(ApStartup, ShortcutsOnEveryVersionAndTheHelpFile) {
  FakeSystem system;
  FakeProcess process;
  CleanApStartMenuShortcuts(process, system, 1033);
  EXPECT_TRUE(process.log.empty());
  system.env["ALLUSERSPROFILE"] = "C:\\All";
  CleanApStartMenuShortcuts(process, system, 1033);
  EXPECT_EQ(process.log, (std::vector<std::string>{
                             "rm C:\\All\\Start Menu\\Programs\\Veltrix Wireless\\Veltrix Wireless Utility.lnk",
                             "rmdir C:\\All\\Start Menu\\Programs\\Veltrix Wireless",
                             "rm C:\\All\\Start Menu\\Programs\\Startup\\Veltrix Wireless Utility.lnk"}));
  EXPECT_EQ(ApHelpFileName("C:\\Arventa\\HOTSPOTCFG.HLP", 1028), "C:\\Arventa\\HOTSPOTCFGCHN.HLP");
  EXPECT_EQ(ApHelpFileName("C:\\Arventa\\HotspotCfg.hlp", 1033), "C:\\Arventa\\HotspotCfgENG.HLP");
}

}  // namespace
}  // namespace vx
