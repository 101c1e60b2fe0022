// The hidden main dialog against the in-process virtual adapter: the tray follows the link, a
// lost adapter closes the sheet, the last profile comes back after the network does.
#include "station/shell/hide_dlg.h"

#include <gtest/gtest.h>

#include "driver/oid_codes.h"
#include "resources/strings/string_tables.h"
#include "station/shell/otp_dialog.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_services.h"
#include "fakes/scripted_ui.h"
#include "fakes/virtual_clock.h"
#include "sim/adapter/virtual_adapter.h"
#include "sim/services/sim_services.h"
#include "shell_fakes.h"

namespace vx {
namespace {

struct FakeSheet : MainSheetView {
  bool exists = true;
  int shows = 0;
  uint32_t icon = 0;
  bool* destroyed;
  explicit FakeSheet(bool* d) : destroyed(d) {}
  bool WindowExists() const override { return exists; }
  void Show() override { ++shows; }
  void Destroy() override {
    exists = false;
    *destroyed = true;
  }
  void SetIcon(uint32_t i) override { icon = i; }
  void SetRadioIcon(uint32_t) override {}
  void SetProfilePagePresent(bool) override {}
  void CloseProfileEditor() override {}
  void StartShowup(size_t) override {}
};

sim::World OneOpenNetwork() {
  sim::World w;
  sim::Network n;
  n.ssid = "Lounge";
  n.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
  n.channel = 6;
  n.rssi = -50;
  w.networks.push_back(n);
  return w;
}

struct HideDlgTest : ::testing::Test {
  sim::VirtualAdapter adapter{sim::PciAdapterHardware(), OneOpenNetwork()};
  sim::SimDeviceSetup setup{{&adapter}};
  sim::SimSupplicant supplicant{{&adapter}};
  FakeRegistry reg;
  VirtualClock clock;
  FakeSystem system;
  FakeServices services;
  FakeProcess process;
  FakeTray tray;
  ScriptedUi ui;
  MapStrings strings;
  bool sheetDestroyed = false;
  std::unique_ptr<HideDlg> dlg;
  std::string root;

  void SetUp() override {
    root = "System\\CurrentControlSet\\Control\\Class\\" + adapter.Hardware().driverKey;
    reg.SetSz(root, "SSID", "Lounge");
    reg.SetSz(root, "NetworkType", "1");
    reg.SetSz(root, "Encryption", "1");
    reg.SetSz(root, "RunOnceInitConfigTool", "0");
    Make(false);
  }
  void Make(bool showup) {
    StationPorts ports{reg, adapter, setup, clock, system, services, process, supplicant, tray, ui, strings};
    dlg = std::make_unique<HideDlg>(ports,
                                    [this](HideDlg&) { return std::make_unique<FakeSheet>(&sheetDestroyed); }, showup);
  }
  void Run(int seconds) {
    for (int i = 0; i < seconds; ++i) {
      adapter.Tick();
      clock.Advance(1000);
    }
  }
};

TEST_F(HideDlgTest, StartsDisconnectedThenFollowsTheSignal) {
  dlg->OnInitDialog();
  EXPECT_TRUE(tray.added);
  EXPECT_EQ(tray.icon, 163u);
  EXPECT_TRUE(dlg->AdapterPresent());
  Run(6);
  ASSERT_TRUE(adapter.State().associated);
  EXPECT_EQ(dlg->CurrentTrayState(), TrayState::Good);
  EXPECT_EQ(tray.icon, 161u);
  EXPECT_EQ(tray.tip, "ARVENTA Wireless LAN Card\nStatus : Good (Lounge)");
  adapter.SetNetworkRssi("Lounge", -65);
  Run(2);
  EXPECT_EQ(dlg->CurrentTrayState(), TrayState::Normal);
  adapter.SetNetworkRssi("Lounge", -75);
  Run(2);
  EXPECT_EQ(dlg->CurrentTrayState(), TrayState::Weak);
}

TEST_F(HideDlgTest, UnplugClosesTheSheetAndReplugInitialisesAgain) {
  dlg->OnInitDialog();
  Run(6);
  dlg->ShowMainSheet();
  ASSERT_NE(dlg->Sheet(), nullptr);
  adapter.Unplug();
  Run(2);
  EXPECT_TRUE(sheetDestroyed);
  EXPECT_EQ(dlg->Sheet(), nullptr);
  EXPECT_EQ(dlg->CurrentTrayState(), TrayState::NotPresent);
  EXPECT_EQ(tray.tip, "ARVENTA Wireless LAN Card\nNot exist");
  // The sheet cannot be opened without an adapter; the message is the table's entry 2001.
  dlg->ShowMainSheet();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "NIC or driver not ready");
  strings.table[2001] = "網路卡或驅動程式尚未就緒";
  dlg->ShowMainSheet();
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].text, "網路卡或驅動程式尚未就緒");
  adapter.Replug();
  Run(2);
  EXPECT_TRUE(dlg->AdapterPresent());
  EXPECT_NE(dlg->CurrentTrayState(), TrayState::NotPresent);
  Run(8);
  EXPECT_TRUE(adapter.State().associated);  // the live settings were applied again
}

// A lost adapter stops the WEP check's timer too: only the main loop looks for it.
TEST_F(HideDlgTest, UnplugStopsTheWepCheckTimer) {
  reg.SetSz(root, "Encryption", "0");  // WEP: the activation arms the check
  reg.SetSz(root, "AuthenType", "0");
  dlg->OnInitDialog();
  Run(4);
  ASSERT_TRUE(dlg->Link().WepCheckArmed());
  adapter.Unplug();
  Run(2);
  EXPECT_EQ(clock.ActiveTimers(), 1u);
}

// The first run activates once the adapter's facts are read: the adapter's region 1 (channels 1
// to 13) is what the driver gets, and channel 13 stays in the live settings and the defaults.
TEST_F(HideDlgTest, FirstRunActivatesWithTheAdaptersOwnRegion) {
  reg.DeleteValue(Hklm(root), "RunOnceInitConfigTool");
  reg.SetSz(root, "Channel", "13");
  reg.SetSz(root + "\\Default", "Channel", "13");
  std::vector<uint8_t> code = {0x07, 0x01, 0xF1, 0x0D}, region = {1, 0, 0, 0};  // the set of the region
  uint32_t n = 0;
  ASSERT_TRUE(adapter.Open(adapter.DevicePath())->Control(kIoctlNdisQueryGlobalStats, code, region, n));
  dlg->OnInitDialog();
  EXPECT_EQ(reg.GetSz(root, "RunOnceInitConfigTool"), "0");
  EXPECT_EQ(adapter.State().countryRegion & 0x7F, 1u);
  EXPECT_EQ(reg.GetSz(root, "Channel"), "13");
  EXPECT_EQ(reg.GetSz(root + "\\Default", "Channel"), "13");
}

TEST_F(HideDlgTest, LastProfileIsReappliedAfterTheNetworkReturns) {
  dlg->OnInitDialog();
  Run(6);
  ASSERT_TRUE(adapter.State().associated);
  adapter.SetNetworkInRange("Lounge", false);
  Run(4);
  EXPECT_FALSE(adapter.State().associated);
  EXPECT_EQ(dlg->CurrentTrayState(), TrayState::Disconnected);
  adapter.SetNetworkInRange("Lounge", true);
  Run(14);  // the re-connection check runs every fifth disconnected tick
  EXPECT_TRUE(adapter.State().associated);
  EXPECT_EQ(dlg->CurrentTrayState(), TrayState::Good);
}

// The library asks again (the password was rejected): the answer repeats the activation's
// credentials with the certificate hash whole, zero bytes included. A WPA-PSK link is never polled.
TEST_F(HideDlgTest, ACredentialsRequestIsAnsweredAsTheActivationDidAndOnlyFor8021x) {
  sim::World w = OneOpenNetwork();
  sim::Network corp;
  corp.ssid = "Corp";
  corp.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x66};
  corp.security = sim::Security::Wpa2Enterprise;
  corp.cipher = sim::Cipher::Aes;
  corp.accounts = {{sim::EapMethod::Peap, "alice", "wonderland"}};
  w.networks.push_back(corp);
  sim::Network home;
  home.ssid = "Home";
  home.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x77};
  home.security = sim::Security::Wpa2Psk;
  home.cipher = sim::Cipher::Aes;
  home.passphrase = "correct horse battery";
  w.networks.push_back(home);
  adapter.SetWorld(w);
  const std::string hash = "00AB00CD00EF0011223344556677889900AABB00";
  for (auto [name, value] :
       std::initializer_list<std::pair<const char*, std::string>>{{"SSID", "Corp"},
                                                                  {"AuthenType", "6"},
                                                                  {"Encryption", "6"},
                                                                  {"AuthenProtocol", "0"},
                                                                  {"TunnelProtocol", "3"},
                                                                  {"ID", "outer"},
                                                                  {"TunnelID", "alice"},
                                                                  {"TunnelPassword", "wrong"},
                                                                  {"UseServerCert", "1"},
                                                                  {"ServerCertData", hash},
                                                                  {"ServerCertLen", "20"}})
    reg.SetSz(root, name, value);
  dlg->OnInitDialog();
  Run(6);
  std::vector<sim::SimSupplicant::Call> peap;
  for (const auto& c : supplicant.CallDetails())
    if (c.name == "ConfigPeap") peap.push_back(c);
  ASSERT_EQ(peap.size(), 2u);  // the activation's, then the one answer to the rejection
  EXPECT_EQ(peap[1].args, peap[0].args);
  EXPECT_EQ(peap[1].args[1], (std::pair<std::string, std::string>{"caCertificate", hash}));
  EXPECT_GT(supplicant.Queries(), 0u);

  for (auto [name, value] : std::initializer_list<std::pair<const char*, std::string>>{
           {"SSID", "Home"}, {"AuthenType", "7"}, {"WPAPSK", "correct horse battery"}})
    reg.SetSz(root, name, value);
  dlg->Link().SetOidFromReg(false);
  size_t polls = supplicant.Queries();
  Run(6);
  EXPECT_TRUE(adapter.State().associated);
  EXPECT_EQ(adapter.State().ssid, "Home");
  EXPECT_EQ(supplicant.Queries(), polls);
}

TEST_F(HideDlgTest, TrayMenuByRightsZeroConfigAndSwitchFiles) {
  dlg->OnInitDialog();
  dlg->OnTrayNotify(HideDlg::kMouseRightDown);
  EXPECT_EQ(tray.menus.back(), 232u);  // administrator on XP, switch offered
  process.filesPresent = false;
  dlg->OnTrayNotify(HideDlg::kMouseRightDown);
  EXPECT_EQ(tray.menus.back(), 223u);
  dlg->OnCommand(HideDlg::kCmdZeroConfigOn);
  dlg->OnTrayNotify(HideDlg::kMouseRightDown);
  EXPECT_EQ(tray.menus.back(), 224u);
  // While a box of the utility is up, tray clicks are ignored.
  size_t before = tray.menus.size();
  ui.onBox = [&](const ScriptedUi::Box&) {
    EXPECT_TRUE(dlg->Busy());
    dlg->OnTrayNotify(HideDlg::kMouseRightDown);
  };
  dlg->Ports().dialogs.MessageBox("text", "caption", kMbOk);
  EXPECT_EQ(tray.menus.size(), before);
  EXPECT_FALSE(dlg->Busy());
  dlg->OnTrayNotify(HideDlg::kMouseRightDown);
  EXPECT_EQ(tray.menus.size(), before + 1);
}

TEST_F(HideDlgTest, DestroySavesLiveValuesAsDefaultUnlessSwitching) {
  dlg->OnInitDialog();
  dlg->OnDestroy();
  EXPECT_EQ(reg.GetSz(root + "\\Default", "SSID"), "Lounge");

  reg.DeleteTree(Hklm(root + "\\Default"));
  Make(false);
  dlg->OnInitDialog();
  reg.SetSz(root + "\\ApDefault", "SSID", "SoftAP-01");
  dlg->OnCommand(HideDlg::kCmdSwitchToAp);
  EXPECT_TRUE(dlg->EndRequested());
  EXPECT_EQ(reg.GetSz(root, "OpMode"), "1");
  EXPECT_EQ(adapter.State().opMode, 1u);
  ASSERT_EQ(process.started.size(), 1u);
  reg.SetSz(root + "\\Default", "SSID", "saved at switch");
  dlg->OnDestroy();
  EXPECT_EQ(reg.GetSz(root + "\\Default", "SSID"), "saved at switch");
}

TEST_F(HideDlgTest, ExitEndsAndRemovesTheTray) {
  dlg->OnInitDialog();
  dlg->OnCommand(HideDlg::kCmdExit);
  EXPECT_TRUE(dlg->EndRequested());
  EXPECT_FALSE(tray.added);
  dlg->OnDestroy();
  EXPECT_EQ(clock.ActiveTimers(), 0u);
}

TEST_F(HideDlgTest, DriverInAccessPointModeHandsOverAtOnce) {
  OidChannel direct(adapter, clock, Program::Station);
  direct.SetDevicePath(adapter.DevicePath());
  ASSERT_TRUE(direct.SetU32(VX_OID_802_11_SET_OP_MODE, kOpModeAccessPoint));
  dlg->OnInitDialog();
  EXPECT_TRUE(dlg->EndRequested());
  ASSERT_EQ(process.started.size(), 1u);
  EXPECT_EQ(process.started[0], AdapterControl::kModeSwitchCommand);
  EXPECT_FALSE(tray.added);  // no icon is left behind by a utility that has handed over
  clock.Advance(4000);
  EXPECT_TRUE(ui.boxes.empty());
}

// PEAP with a password typed for each connection: the dialog's texts go to the supplicant on OK;
// Cancel leaves the stored tunnel name and password to it.
TEST_F(HideDlgTest, OneTimePasswordOkTakesTheTextsCancelKeepsTheStoredOnes) {
  for (const auto& [value, data] : std::initializer_list<std::pair<const char*, const char*>>{
           {"AuthenType", "6"}, {"Encryption", "6"}, {"AuthenProtocol", "0"}, {"TunnelProtocol", "6"},
           {"PasswordMode", "0"}, {"ID", "outer"}, {"TunnelID", "alice"}, {"TunnelPassword", "wonderland"}})
    reg.SetSz(root, value, data);
  int asked = 0;
  bool confirm = false;
  ui.onModal = [&](DialogModel& m) {
    if (m.TemplateId() != OneTimePasswordDialog::kTemplate) return int(kIdCancel);
    ++asked;
    EXPECT_EQ(m.Control(OneTimePasswordDialog::kIdentityEdit).text, "alice");
    EXPECT_TRUE(m.Control(OneTimePasswordDialog::kPasswordEdit).text.empty());
    EXPECT_TRUE(dlg->OneTimePasswordOpen());
    m.Control(OneTimePasswordDialog::kIdentityEdit).text = "mallory";
    m.Control(OneTimePasswordDialog::kPasswordEdit).text = "123456";
    return confirm && m.OnOk() ? int(kIdOk) : int(kIdCancel);
  };
  dlg->OnInitDialog();
  Run(4);  // the activation follows the first scan
  ASSERT_EQ(asked, 1);
  EXPECT_EQ(adapter.GetSupplicantCredentials().identity, "alice");
  EXPECT_EQ(adapter.GetSupplicantCredentials().password, "wonderland");

  confirm = true;
  dlg->Link().SetOidFromReg(false);
  ASSERT_EQ(asked, 2);
  EXPECT_EQ(adapter.GetSupplicantCredentials().identity, "mallory");
  EXPECT_EQ(adapter.GetSupplicantCredentials().password, "123456");
  EXPECT_FALSE(dlg->OneTimePasswordOpen());
}

TEST(OneTimePasswordDialog, OkWantsAnIdentityAndAPassword) {
  ScriptedUi ui;
  OneTimePasswordDialog d("alice", ui, EnglishStrings());
  d.OnInit();
  struct Case {
    const char* identity;
    const char* password;
    const char* message;  // null: accepted
    int focus;
  } cases[] = {
      {"", "", "Must input Identity", OneTimePasswordDialog::kIdentityEdit},
      {"", "secret", "Must input Identity", OneTimePasswordDialog::kIdentityEdit},
      {"alice", "", "Must input Password", OneTimePasswordDialog::kPasswordEdit},
      {"alice", "secret", nullptr, 0},
  };
  for (const auto& c : cases) {
    ui.boxes.clear();
    d.Control(OneTimePasswordDialog::kIdentityEdit).text = c.identity;
    d.Control(OneTimePasswordDialog::kPasswordEdit).text = c.password;
    bool closes = d.OnOk();
    EXPECT_EQ(closes, c.message == nullptr) << c.identity << "/" << c.password;
    if (!c.message) continue;
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, c.message);
    EXPECT_EQ(ui.boxes[0].caption, "Peap Setting - One Time Password");
    EXPECT_EQ(d.TakeFocusRequest(), c.focus);
  }
}

// The region an advanced activation sent is the one later activations send too, not the one
// the adapter had at start.
TEST_F(HideDlgTest, RegionOfAnAdvancedActivationStaysForLaterActivations) {
  reg.SetSz(root, "CountryRegion", "5");  // 2.4 GHz code 5: channels 1-14
  dlg->OnInitDialog();
  Run(6);
  ASSERT_EQ(adapter.State().countryRegion, 5u);
  EXPECT_EQ(dlg->Control().Plan().channels.size(), 14u);
  dlg->Link().SetOidFromReg(false);  // the survey's Connect and the profile page activate so
  EXPECT_EQ(adapter.State().countryRegion, 5u);
  EXPECT_EQ(dlg->Link().Facts().regionWord, 5u);
}

// After a change of adapter, re-connection waits for an activation on the new one; then it
// works again for the rest of the run.
TEST(HideDlgAdapterChange, ReconnectionResumesAfterANewActivation) {
  sim::VirtualAdapter pci{sim::PciAdapterHardware(), OneOpenNetwork()};
  sim::VirtualAdapter usb{sim::UsbAdapterHardware(), OneOpenNetwork()};
  sim::SimDeviceSetup setup{{&pci, &usb}};
  sim::SimSupplicant supplicant{{&pci, &usb}};
  sim::DeviceRouter devices{{&pci, &usb}};
  FakeRegistry reg;
  VirtualClock clock;
  FakeSystem system;
  FakeServices services;
  FakeProcess process;
  FakeTray tray;
  ScriptedUi ui;
  MapStrings strings;
  for (const sim::VirtualAdapter* a : {&pci, &usb}) {
    std::string root = "System\\CurrentControlSet\\Control\\Class\\" + a->Hardware().driverKey;
    reg.SetSz(root, "SSID", "Lounge");
    reg.SetSz(root, "NetworkType", "1");
    reg.SetSz(root, "Encryption", "1");
    reg.SetSz(root, "RunOnceInitConfigTool", "0");
  }
  usb.Unplug();
  StationPorts ports{reg, devices, setup, clock, system, services, process, supplicant, tray, ui, strings};
  HideDlg dlg(ports, nullptr, false);
  auto run = [&](int seconds) {
    for (int i = 0; i < seconds; ++i) {
      pci.Tick();
      usb.Tick();
      clock.Advance(1000);
    }
  };
  dlg.OnInitDialog();
  run(6);
  ASSERT_TRUE(pci.State().associated);

  pci.Unplug();
  usb.Replug();
  run(2);
  ASSERT_EQ(dlg.Discovery().Selected().devicePath, usb.DevicePath());
  run(6);
  ASSERT_TRUE(usb.State().associated);  // the new adapter's own live values were activated
  EXPECT_FALSE(dlg.Discovery().Selected().adapterChanged);

  usb.SetNetworkInRange("Lounge", false);
  run(4);
  ASSERT_FALSE(usb.State().associated);
  usb.ClearOidLog();
  run(6);  // the re-connection check runs every fifth disconnected tick
  bool reapplied = false;
  for (const auto& e : usb.OidLog()) reapplied |= e.oid == (OID_802_11_RELOAD_DEFAULTS | kOidSetBit);
  EXPECT_TRUE(reapplied);
  // With no adapter found again, the USB flag goes too.
  ASSERT_TRUE(dlg.Discovery().Selected().isUsb);
  usb.Unplug();
  run(2);
  EXPECT_FALSE(dlg.Discovery().Selected().isUsb);
  dlg.OnDestroy();
}

}  // namespace
}  // namespace vx
