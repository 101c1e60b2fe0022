// The shell under every interleaving of a page's dialog with the tray and the main loop: while a
// dialog that a page (or the shell) opened is up, the adapter goes, Exit comes, or the hand-over
// is asked for. The sheet and its pages must outlive the dialog and the handler that opened it;
// the action is carried out once the dialog has closed. Without that, the sanitizer sees the
// page written after it was freed.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "fakes/fake_cert_store.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_services.h"
#include "fakes/scripted_ui.h"
#include "fakes/virtual_clock.h"
#include "net/socket.h"
#include "resources/dialogs/ap_access_control_page.h"
#include "resources/dialogs/ap_config_page.h"
#include "resources/dialogs/ap_security_dialog.h"
#include "resources/dialogs/ap_wds_page.h"
#include "resources/menus/menu_ids.h"
#include "resources/strings/string_tables.h"
#include "shell_fakes.h"
#include "sim/adapter/virtual_adapter.h"
#include "sim/services/sim_services.h"
#include "softap/shell/ap_hide_dlg.h"
#include "softap/shell/ap_sheet_pages.h"
#include "station/dot1x/dot1x_sheet.h"
#include "station/profiles/profile_editor_shell.h"
#include "station/profiles/profile_page.h"
#include "station/shell/hide_dlg.h"
#include "station/shell/otp_dialog.h"
#include "station/survey/hidden_ssid.h"
#include "station/survey/network_selection.h"
#include "station/survey/survey_page.h"
#include "station/survey/survey_profile_hooks.h"

namespace vx {
namespace {

sim::World World() {
  sim::World w;
  sim::Network lounge;
  lounge.ssid = "Lounge";
  lounge.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
  lounge.rssi = -50;
  sim::Network home;
  home.ssid = "HomeNet";
  home.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01};
  home.channel = 1;
  home.security = sim::Security::Wpa2Psk;
  home.cipher = sim::Cipher::Aes;
  home.passphrase = "correct horse battery";
  sim::Network hidden;
  hidden.ssid = "HiddenLab";
  hidden.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x04};
  hidden.channel = 9;
  hidden.hidden = true;
  w.networks = {lounge, home, hidden};
  return w;
}

// The main sheet with the pages a user opens dialogs from, as the program builds them.
class PagedSheet : public MainSheetView {
 public:
  PagedSheet(HideDlg& shell, TimerPort& timers, CertStorePort& certs, TcpPort& tcp, IpInfoPort& ip,
             SurveyShared& shared, bool& freed)
      : editor(MakeProfileEditorContext(shell, certs)),
        profile(editor, timers),
        survey(MakeSurveyContext(shell, tcp, ip, shared), ProfileEditorSurveyHooks(editor, &profile)),
        freed_(freed) {
    freed_ = false;
  }
  ~PagedSheet() override { freed_ = true; }

  bool WindowExists() const override { return exists; }
  void Show() override {
    if (opened) return;
    opened = true;
    profile.OnInit();
    survey.OnInit();
  }
  void Destroy() override { exists = false; }
  void SetIcon(uint32_t) override {}
  void SetRadioIcon(uint32_t) override {}
  void SetProfilePagePresent(bool) override {}
  void CloseProfileEditor() override {
    ++closeEditorRequests;
    vx::CloseProfileEditor(editor);
  }
  void StartShowup(size_t) override {}

  ProfileEditorContext editor;
  CProfilePage profile;
  CSiteSurvPage survey;
  bool exists = true;
  bool opened = false;
  int closeEditorRequests = 0;

 private:
  bool& freed_;
};

enum class Interruption { Unplug, Exit, SwitchToAp };

const char* Name(Interruption i) {
  switch (i) {
    case Interruption::Unplug:
      return "unplug";
    case Interruption::Exit:
      return "Exit";
    default:
      return "Switch to AP Mode";
  }
}

class InterleaveTest : public ::testing::Test {
 protected:
  sim::VirtualAdapter adapter{sim::PciAdapterHardware(), World()};
  sim::SimDeviceSetup setup{{&adapter}};
  sim::SimSupplicant supplicant{{&adapter}};
  sim::SimIpInfo ipInfo{{&adapter}};
  FakeRegistry reg;
  VirtualClock clock;
  FakeSystem system;
  FakeServices services;
  FakeProcess process;
  FakeTray tray;
  ScriptedUi ui;
  FakeCertStore certs;
  TcpClient tcp;
  SurveyShared shared;
  bool sheetFreed = false;
  PagedSheet* sheet = nullptr;
  std::unique_ptr<HideDlg> dlg;
  std::string root;

  void SetUp() override {
    root = "System\\CurrentControlSet\\Control\\Class\\" + adapter.Hardware().driverKey;
    reg.SetSz(root, "SSID", "Lounge");
    reg.SetSz(root, "NetworkType", "1");
    reg.SetSz(root, "AuthenType", "0");
    reg.SetSz(root, "Encryption", "1");
    reg.SetSz(root, "RunOnceInitConfigTool", "0");
    reg.SetSz(root, "CurProfile", "Lounge");
    Profile("Lounge", {{"SSID", "Lounge"}, {"NetworkType", "1"}, {"AuthenType", "0"}, {"Encryption", "1"}});
    // PEAP with a password typed for each connection.
    Profile("Corp", {{"SSID", "CorpSecure"},
                     {"NetworkType", "1"},
                     {"AuthenType", "6"},
                     {"Encryption", "6"},
                     {"AuthenProtocol", "0"},
                     {"TunnelProtocol", "6"},
                     {"PasswordMode", "0"},
                     {"ID", "alice"},
                     {"TunnelID", "alice"}});
    StationPorts ports{reg,     adapter,    setup, clock, system,          services,
                       process, supplicant, tray,  ui,    EnglishStrings()};
    dlg = std::make_unique<HideDlg>(
        ports,
        [this](HideDlg& shell) {
          auto s = std::make_unique<PagedSheet>(shell, clock, certs, tcp, ipInfo, shared, sheetFreed);
          sheet = s.get();
          return s;
        },
        false);
    dlg->OnInitDialog();
    Pass(8000);
    ASSERT_TRUE(adapter.State().associated);
    dlg->ShowMainSheet();
    ASSERT_NE(sheet, nullptr);
    Pass(4000);  // the survey's list fills
  }
  void TearDown() override {
    if (!dlg->EndRequested()) dlg->OnCommand(HideDlg::kCmdExit);
    Pass(100);
    dlg->OnDestroy();
  }
  void Profile(const std::string& name, std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [value, data] : values) reg.SetSz(root + "\\Profile\\Station\\" + name, value, data);
  }
  void Pass(uint64_t ms) {
    for (uint64_t t = 0; t < ms; t += 1000) {
      uint64_t step = std::min<uint64_t>(1000, ms - t);
      clock.Advance(step);
      if (step == 1000) adapter.Tick();
    }
  }
  int SurveyRow(const std::string& bssidText) {
    const auto& rows = sheet->survey.Rows();
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].texts[kColumnBssid] == bssidText) return static_cast<int>(i);
    return -1;
  }
  void SelectSurveyRow(const std::string& bssidText) {
    int row = SurveyRow(bssidText);
    ASSERT_GE(row, 0) << bssidText;
    sheet->survey.Control(survey::kList).selection = row;
    sheet->survey.OnCommand(survey::kList, UiEvent::SelectionChanged);
  }
  void SelectProfileRow(const std::string& name) {
    sheet->profile.FillList();
    auto& list = sheet->profile.Control(prof::kList);
    for (size_t i = 0; i < list.rows.size(); ++i)
      if (list.rows[i].cells[0] == name) list.selection = static_cast<int>(i);
  }

  // What happens while the dialog is up: the action's effect waits, the sheet stays.
  void Interrupt(Interruption what) {
    SCOPED_TRACE(Name(what));
    EXPECT_TRUE(dlg->Busy());
    switch (what) {
      case Interruption::Unplug:
        adapter.Unplug();
        Pass(6000);  // three ticks of the main loop go by while the dialog is up
        break;
      case Interruption::Exit:
        dlg->OnCommand(HideDlg::kCmdExit);
        Pass(1000);
        EXPECT_TRUE(dlg->ActionDeferred());
        break;
      case Interruption::SwitchToAp:
        dlg->OnCommand(HideDlg::kCmdSwitchToAp);
        Pass(1000);
        EXPECT_TRUE(dlg->ActionDeferred());
        EXPECT_EQ(adapter.State().opMode, 0u);
        EXPECT_TRUE(process.started.empty());
        break;
    }
    EXPECT_FALSE(sheetFreed);
    EXPECT_TRUE(sheet->exists);
    EXPECT_FALSE(dlg->EndRequested());
    EXPECT_TRUE(tray.added);
  }
  // After the handler that opened the dialog has returned: the action, carried out.
  void ExpectCarriedOut(Interruption what) {
    SCOPED_TRACE(Name(what));
    Pass(2000);
    EXPECT_TRUE(sheetFreed);
    EXPECT_EQ(dlg->Sheet(), nullptr);
    switch (what) {
      case Interruption::Unplug:
        EXPECT_EQ(dlg->CurrentTrayState(), TrayState::NotPresent);
        EXPECT_FALSE(dlg->EndRequested());
        break;
      case Interruption::Exit:
        EXPECT_TRUE(dlg->EndRequested());
        EXPECT_FALSE(tray.added);
        EXPECT_TRUE(process.started.empty());
        break;
      case Interruption::SwitchToAp:
        EXPECT_TRUE(dlg->EndRequested());
        EXPECT_EQ(adapter.State().opMode, 1u);
        ASSERT_EQ(process.started.size(), 1u);
        EXPECT_EQ(process.started[0], AdapterControl::kModeSwitchCommand);
        break;
    }
    EXPECT_FALSE(dlg->ActionDeferred());
  }

  // Runs `open` (a page's handler that opens a dialog); when the dialog `is` opens, the
  // interruption happens; the dialog then ends as the view would end it (Cancel when the shell
  // asked it to close).
  void Run(Interruption what, const std::function<void()>& open, const std::function<bool(DialogModel&)>& is,
           bool isProfileEditor = false) {
    bool seen = false;
    bool closeRequested = false;
    ui.onModal = [&](DialogModel& m) {
      if (!is(m)) return int(kIdCancel);
      seen = true;
      Interrupt(what);
      closeRequested = m.CloseRequested();
      return int(kIdCancel);  // the view's Cancel on a close request, else the user's
    };
    open();
    ASSERT_TRUE(seen);
    // Exit and the hand-over close an open profile editor instead of waiting for the user.
    EXPECT_EQ(closeRequested, isProfileEditor && what != Interruption::Unplug);
    ExpectCarriedOut(what);
  }
};

constexpr Interruption kAll[] = {Interruption::Unplug, Interruption::Exit, Interruption::SwitchToAp};

class EachInterruption : public InterleaveTest, public ::testing::WithParamInterface<Interruption> {};

TEST_P(EachInterruption, SecurityProfileOfConnect) {
  Run(
      GetParam(),
      [&] {
        SelectSurveyRow("00-1A-2B-3C-4D-01");
        sheet->survey.OnCommand(survey::kConnect, UiEvent::Clicked);
      },
      [](DialogModel& m) { return dynamic_cast<CProfileSheet2*>(&m) != nullptr; }, true);
}

TEST_P(EachInterruption, HiddenSsidOfConnect) {
  Run(
      GetParam(),
      [&] {
        SelectSurveyRow("00-1A-2B-3C-4D-04");
        sheet->survey.OnCommand(survey::kConnect, UiEvent::Clicked);
      },
      [](DialogModel& m) { return dynamic_cast<CHiddenSsidDialog*>(&m) != nullptr; });
}

TEST_P(EachInterruption, SelectionTool) {
  Run(
      GetParam(), [&] { sheet->survey.RunNetworkSelection(); },
      [](DialogModel& m) { return dynamic_cast<CNetworkSelectionDialog*>(&m) != nullptr; });
}

TEST_P(EachInterruption, ProfileEditorOfEdit) {
  Run(
      GetParam(),
      [&] {
        SelectProfileRow("Lounge");
        sheet->profile.OnCommand(prof::kEdit, UiEvent::Clicked);
      },
      [](DialogModel& m) { return dynamic_cast<CProfileSheet*>(&m) != nullptr; }, true);
}

TEST_P(EachInterruption, Dot1xSheetInsideTheProfileEditor) {
  bool nested = false;
  Run(
      GetParam(),
      [&] {
        SelectProfileRow("Corp");
        // The editor's security page opens the 802.1X sheet; that one meets the interruption.
        std::function<int(DialogModel&)> interrupting = ui.onModal;
        ui.onModal = [&, interrupting](DialogModel& m) -> int {
          if (auto* editor = dynamic_cast<CProfileSheet*>(&m)) {
            editor->SecurityPage().OnCommand(asec::k8021xSetting, UiEvent::Clicked);
            return kIdCancel;
          }
          nested = true;
          return interrupting(m);
        };
        sheet->profile.OnCommand(prof::kEdit, UiEvent::Clicked);
      },
      [](DialogModel& m) { return dynamic_cast<C8021xSheet*>(&m) != nullptr; });
  EXPECT_TRUE(nested);
}

TEST_P(EachInterruption, NoSelectionBoxOfConnect) {
  Interruption what = GetParam();
  bool seen = false;
  sheet->survey.Control(survey::kList).selection = -1;
  ui.onBox = [&](const ScriptedUi::Box& box) {
    if (box.text != "No selected item") return;
    seen = true;
    Interrupt(what);
  };
  sheet->survey.OnCommand(survey::kConnect, UiEvent::Clicked);
  EXPECT_TRUE(seen);
  ExpectCarriedOut(what);
}

TEST_P(EachInterruption, OneTimePasswordOfAnActivation) {
  Run(
      GetParam(),
      [&] {
        SelectProfileRow("Corp");
        sheet->profile.OnCommand(prof::kActivate, UiEvent::Clicked);
      },
      [](DialogModel& m) { return m.TemplateId() == OneTimePasswordDialog::kTemplate; });
}

INSTANTIATE_TEST_SUITE_P(Interleave, EachInterruption, ::testing::ValuesIn(kAll),
                         [](const ::testing::TestParamInfo<Interruption>& i) {
                           return std::string(i.param == Interruption::Unplug ? "Unplug"
                                              : i.param == Interruption::Exit ? "Exit"
                                                                              : "SwitchToAp");
                         });

// A sheet the user closed stops: its pages' timers go with it, and no page dialog comes later,
// even with a connection just started. Closed under a box, it goes when the box has closed.
TEST_F(InterleaveTest, AClosedSheetStopsItsPages) {
  const size_t withSheet = clock.ActiveTimers();
  SelectSurveyRow("00-11-22-33-44-55");
  sheet->survey.OnCommand(survey::kConnect, UiEvent::Clicked);
  sheet->survey.Control(survey::kList).selection = -1;
  ui.onBox = [&](const ScriptedUi::Box&) {
    dlg->OnSheetClosed();
    EXPECT_FALSE(sheetFreed);
  };
  sheet->survey.OnCommand(survey::kConnect, UiEvent::Clicked);  // "No selected item"
  ui.onBox = nullptr;
  Pass(10000);
  EXPECT_TRUE(sheetFreed);
  EXPECT_LT(clock.ActiveTimers(), withSheet);
  EXPECT_EQ(ui.boxes.size() + ui.modalTemplates.size(), 1u);
}

// A dialog opened again before the deferred action ran keeps it waiting for that one too.
TEST_F(InterleaveTest, ActionWaitsForEveryDialogOfTheHandler) {
  int boxes = 0;
  ui.onBox = [&](const ScriptedUi::Box&) {
    if (++boxes == 1) {
      dlg->OnCommand(HideDlg::kCmdExit);
    } else {
      Pass(500);  // the deferred exit's time comes while this box is up
      EXPECT_FALSE(dlg->EndRequested());
      EXPECT_FALSE(sheetFreed);
    }
  };
  sheet->survey.Control(survey::kList).selection = -1;
  sheet->survey.OnCommand(survey::kConnect, UiEvent::Clicked);
  // Before the exit's turn comes, the page opens a second box.
  sheet->survey.OnCommand(survey::kConnect, UiEvent::Clicked);
  EXPECT_EQ(boxes, 2);
  EXPECT_FALSE(dlg->EndRequested());
  Pass(100);
  EXPECT_TRUE(dlg->EndRequested());
  EXPECT_TRUE(sheetFreed);
}

// The main loop waits for a dialog, the scan's completion does not: the selection tool's own
// Rescan ends and shows what the new scan found while the tool is open.
TEST_F(InterleaveTest, SelectionToolRescanCompletesUnderTheDialog) {
  bool seen = false;
  ui.onModal = [&](DialogModel& m) {
    auto* tool = dynamic_cast<CNetworkSelectionDialog*>(&m);
    if (!tool) return int(kIdCancel);
    seen = true;
    EXPECT_TRUE(dlg->Busy());
    auto has = [tool](const std::string& ssid) {
      for (const auto& r : tool->Rows())
        if (r.ssid.Text() == ssid) return true;
      return false;
    };
    EXPECT_TRUE(has("HomeNet"));
    adapter.SetNetworkInRange("HomeNet", false);
    m.OnCommand(qs3sel::kRescan, UiEvent::Clicked);
    EXPECT_FALSE(m.Control(qs3sel::kRescan).enabled);
    Pass(6000);
    EXPECT_TRUE(m.Control(qs3sel::kRescan).enabled);
    EXPECT_FALSE(has("HomeNet"));
    return int(kIdCancel);
  };
  sheet->survey.RunNetworkSelection();
  EXPECT_TRUE(seen);
  EXPECT_FALSE(dlg->Busy());
}

// A tray click or Launch during a dialog does nothing, now or later.
TEST_F(InterleaveTest, TrayAndLaunchAreIgnoredWhileADialogIsUp) {
  ui.onBox = [&](const ScriptedUi::Box&) {
    size_t menus = tray.menus.size();
    dlg->OnTrayNotify(HideDlg::kMouseRightDown);
    dlg->OnCommand(HideDlg::kCmdLaunch);
    EXPECT_EQ(tray.menus.size(), menus);
    EXPECT_FALSE(dlg->ActionDeferred());
  };
  sheet->survey.Control(survey::kList).selection = -1;
  sheet->survey.OnCommand(survey::kConnect, UiEvent::Clicked);
  Pass(3000);
  EXPECT_FALSE(sheetFreed);
  EXPECT_FALSE(dlg->EndRequested());
}

// The same for the access point utility: each box and dialog of its pages while the adapter goes,
// Exit comes or "Switch to Station Mode" is chosen.
struct NoFiles : FileInfoPort {
  std::string SystemDirectory() override { return ""; }
  std::string ProgramFile() override { return ""; }
  std::optional<FileVersion> FixedVersion(const std::string&) override { return std::nullopt; }
  std::optional<std::string> VersionString(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<FileDate> LastWriteDate(const std::string&) override { return std::nullopt; }
};

struct ApPagedSheet : ApSheetView {
  ApPagedSheet(ApHideDlg& dlg, ApSheetExtras extras, bool& freed)
      : pages(dlg, {ApPage::Config, ApPage::AccessControl, ApPage::Wds}, extras), freed(freed = false) {
    for (DialogModel* m : pages.Models()) m->OnInit();
  }
  ~ApPagedSheet() override { freed = true; }
  bool WindowExists() const override { return true; }
  void Show() override {}
  void Destroy() override {}
  void SetIcon(uint32_t) override {}
  ApSheetPages pages;
  bool& freed;
};

// A page action (0 Config, 1 Access Control, 2 WDS): a control set, then an event that opens a
// box or the dialog `modal`, in which a bad pass phrase may open a box of its own.
struct ApCase {
  const char* name;
  int page, control;
  const char* text;
  int selection, button;
  UiEvent event;
  uint32_t modal;
  bool boxInModal;
};
const ApCase kApCases[] = {
    {"EmptySsid", 0, kIdcApcSsid, "", -1, kIdcApcApply, UiEvent::Clicked, 0, false},
    {"Beacon", 0, kIdcApcBeacon, "5", -1, kIdcApcApply, UiEvent::Clicked, 0, false},
    {"ChannelOfTheNewMode", 0, kIdcApcChannel, "99", -1, kIdcApcWirelessMode, UiEvent::SelectionChanged, 0,
     false},
    {"SecurityDialog", 0, 0, "", -1, kIdcApcSecurity, UiEvent::Clicked, kIddApSecurityDialog, false},
    {"PassPhraseBox", 0, 0, "", -1, kIdcApcSecurity, UiEvent::Clicked, kIddApSecurityDialog, true},
    {"EmptyAccessList", 1, kIdcAclPolicy, "", 1, kIdcAclApply, UiEvent::Clicked, 0, false},
    {"AccessListAddress", 1, kIdcAclMac, "0016CB0102", -1, kIdcAclAdd, UiEvent::Clicked, 0, false},
    {"BridgeAddress", 2, kIdcWdsMac, "0016CB01", -1, kIdcWdsAdd, UiEvent::Clicked, 0, false},
};

class ApInterleaveTest : public ::testing::TestWithParam<std::tuple<size_t, Interruption>> {
 protected:
  sim::VirtualAdapter adapter{sim::PciAdapterHardware(), sim::World{}};
  sim::SimDeviceSetup setup{{&adapter}};
  sim::SimBridge bridge;
  sim::SimIpInfo ipInfo{{&adapter}};
  NoFiles files;
  FakeRegistry reg;
  VirtualClock clock;
  FakeSystem system;
  FakeServices services;
  FakeProcess process;
  FakeTray tray;
  ScriptedUi ui;
  bool freed = false;
  ApPagedSheet* sheet = nullptr;
  ApHideDlg dlg{
      ApPorts{reg, adapter, bridge, setup, clock, system, services, process, tray, ui, EnglishStrings()},
      [this](ApHideDlg& d, const std::vector<ApPage>&) {
        auto s = std::make_unique<ApPagedSheet>(d, ApSheetExtras{files, ipInfo, FileTimeToUtcFields}, freed);
        sheet = s.get();
        return s;
      },
      true};

  void SetUp() override { dlg.OnInitDialog(); }
};

TEST_P(ApInterleaveTest, EveryBoxAndDialogOfThePages) {
  const auto [index, what] = GetParam();
  const ApCase& c = kApCases[index];
  int seen = 0;
  auto interrupt = [&, what = what] {
    if (seen++) return;
    if (what == Interruption::Unplug) adapter.Unplug();
    if (what != Interruption::Unplug)
      dlg.OnCommand(what == Interruption::Exit ? kCmdExit : kCmdSwitchToStation);
    clock.Advance(6000);  // three ticks wait, and so does the action
    EXPECT_EQ(dlg.ActionDeferred(), what != Interruption::Unplug);
    EXPECT_FALSE(freed || dlg.EndRequested() || !process.started.empty());
  };
  ui.onBox = [&](const ScriptedUi::Box&) {
    if (c.modal == 0 || c.boxInModal) interrupt();
  };
  ui.onModal = [&](DialogModel& m) {
    if (m.TemplateId() != c.modal) return int(kIdCancel);
    if (!c.boxInModal) interrupt();
    m.Control(kIdcApsAuth).selection = 2;  // WPA-PSK with a pass phrase too short
    m.Control(kIdcApsPsk).text = "short";
    return m.OnOk() ? int(kIdOk) : int(kIdCancel);
  };
  DialogModel& page = *sheet->pages.Models()[static_cast<size_t>(c.page)];
  if (c.control != 0) page.Control(c.control) = {.text = c.text, .selection = c.selection};
  page.OnCommand(c.button, c.event);
  ASSERT_EQ(seen, 1);
  clock.Advance(2000);  // carried out once the page's handler has returned
  EXPECT_TRUE(freed);
  EXPECT_FALSE(dlg.ActionDeferred());
  EXPECT_EQ(dlg.EndRequested(), !tray.added);
  EXPECT_EQ(dlg.TrayState() == ApTrayState::NotPresent, what == Interruption::Unplug);
  EXPECT_EQ(process.started.size(), what == Interruption::SwitchToAp ? 1u : 0u);
}

// A sheet the user closed (OK, Cancel, the close box) stops: its pages and their timers go, only
// the shell's own timer is left.
TEST_F(ApInterleaveTest, AClosedSheetStops) {
  dlg.OnSheetClosed();
  EXPECT_TRUE(freed);
  EXPECT_EQ(clock.ActiveTimers(), 1u);
}

std::string ApCaseName(const ::testing::TestParamInfo<std::tuple<size_t, Interruption>>& i) {
  const Interruption what = std::get<1>(i.param);
  return std::string(kApCases[std::get<0>(i.param)].name) + (what == Interruption::Unplug ? "Unplug"
                                                             : what == Interruption::Exit
                                                                 ? "Exit"
                                                                 : "SwitchToStation");
}
INSTANTIATE_TEST_SUITE_P(ApInterleave, ApInterleaveTest,
                         ::testing::Combine(::testing::Range(size_t{0}, std::size(kApCases)),
                                            ::testing::ValuesIn(kAll)),
                         ApCaseName);

}  // namespace
}  // namespace vx
