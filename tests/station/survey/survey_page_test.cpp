// The site survey page against the simulator's adapter and its one-button service, in process:
// the list, the status line and the connected row, Connect in every branch, the join watchdog,
// Add to Profile, and the whole one-button set-up with its worker thread.
#include "station/survey/survey_page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "fakes/code_page_strings.h"
#include "fakes/fake_cert_store.h"
#include "fakes/fake_registry.h"
#include "fakes/scripted_ui.h"
#include "fakes/virtual_clock.h"
#include "net/socket.h"
#include "resources/strings/string_tables.h"
#include "sim/host/sim_host.h"
#include "sim/services/sim_services.h"
#include "station/survey/network_selection.h"
#include "station/survey/survey_list.h"
#include "station/survey/survey_profile_hooks.h"

namespace vx {
namespace {

constexpr const char* kRoot =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";

struct FakeProcess : ProcessPort {
  bool Exec(const std::string&, int) override { return true; }
  std::string ProgramFolder() override { return "C:\\Utility"; }
  bool FileReadable(const std::string&) override { return false; }
  bool RemoveFile(const std::string&) override { return true; }
  bool RemoveFolder(const std::string&) override { return true; }
  bool OpenUrl(const std::string& url) override {
    urls.push_back(url);
    return true;
  }
  std::vector<std::string> urls;
};

sim::HostOptions Options() {
  sim::HostOptions o;
  o.port = 0;
  o.autoSecurityPort = 0;
  o.tickThread = false;
  o.adapters = {sim::PciAdapterHardware()};
  return o;
}

class SurveyPageTest : public ::testing::Test {
 protected:
  sim::SimHost host{sim::DefaultWorld(), Options()};
  sim::VirtualAdapter& adapter = host.Adapter(0);
  sim::SimSupplicant supplicant{{&adapter}};
  sim::SimIpInfo ipInfo{{&adapter}};
  FakeRegistry reg;
  VirtualClock clock;
  OidChannel channel{adapter, clock, Program::Station};
  StationLink link{reg, channel, clock, supplicant, [] { return std::string(kRoot); }};
  ProfileStore profiles{reg, [] { return std::string(kRoot); },
                        [this](bool advanced) { link.SetOidFromReg(advanced); }};
  ScriptedUi ui;
  FakeProcess process;
  TcpClient tcp;
  SurveyShared shared;
  bool supplicantOpen = true;
  bool admin = true;
  int osKind = 8;
  std::unique_ptr<CSiteSurvPage> page;
  // Answers of the scripted user by dialog template.
  std::string hiddenSsid = "HiddenLab";
  std::string passPhrase = "quick secure 3";
  bool oneButtonService = false;
  std::vector<StationProfile> sheetPrefills;
  std::string sheetKey;  // what the user types in "Security Profile"; empty: Cancel
  std::vector<StationProfile> addPrefills;
  bool addConfirmed = true;
  int profilePageShown = 0;
  const StringTable* strings = &EnglishStrings();

  void SetUp() override {
    ASSERT_TRUE(host.Start()) << host.Error();
    reg.CreateKey(Hklm(kRoot));
    channel.SetDevicePath(adapter.DevicePath());
    ASSERT_TRUE(supplicant.OpenGlobal("KC30"));
    ASSERT_TRUE(supplicant.BindAdapter(adapter.Hardware().mac));
    link.Facts().supplicantAvailable = true;
    link.Facts().driverVersion = 0x0501;
    ui.onModal = [this](DialogModel& m) {
      if (m.TemplateId() == kIddHiddenSsid) {
        if (hiddenSsid.empty()) return int(kIdCancel);
        m.Control(kIdcHiddenSsid).text = hiddenSsid;
      } else if (m.TemplateId() == kIddQs3Key) {
        if (passPhrase.empty()) return int(kIdCancel);
        m.Control(qs3key::kEdit).text = passPhrase;
      }
      return m.OnOk() ? int(kIdOk) : int(kIdCancel);
    };
  }
  void TearDown() override {
    page.reset();
    host.Stop();
  }

  SurveyContext Context() {
    SurveyContext ctx{channel, link, profiles, reg, clock, ui, *strings, process, tcp, ipInfo, shared};
    ctx.accessPointMode = [] { return false; };
    ctx.managesAdapter = [] { return true; };
    ctx.administrator = [this] { return admin; };
    ctx.supplicantOpen = [this] { return supplicantOpen; };
    ctx.currentBssid = [this] {
      MacAddress b{};
      channel.Query(OID_802_11_BSSID, b);
      return b;
    };
    ctx.currentSsid = [this] {
      std::vector<uint8_t> s(kSsidRecordSize, 0);
      channel.Query(OID_802_11_SSID, s);
      return DecodeSsid(s);
    };
    ctx.wepError = [this] { return link.WepError(); };
    ctx.osKind = [this] { return osKind; };
    ctx.adapterName = [this] { return adapter.Hardware().instanceId; };
    return ctx;
  }
  void Open(std::optional<SurveyHooks> given = {}) {
    SurveyContext ctx = Context();
    SurveyHooks hooks;
    hooks.runSecurityProfileSheet = [this](const StationProfile& p) -> std::optional<StationProfile> {
      sheetPrefills.push_back(p);
      if (sheetKey.empty()) return std::nullopt;
      StationProfile stored = p;
      stored.wpaPsk = sheetKey;
      EXPECT_TRUE(profiles.WriteProfile(stored));
      return stored;
    };
    hooks.runAddProfileSheet = [this](const StationProfile& p) {
      addPrefills.push_back(p);
      return addConfirmed;
    };
    hooks.showProfilePage = [this] { ++profilePageShown; };
    page = std::make_unique<CSiteSurvPage>(ctx, given ? *given : hooks);
    // The service listens on a port of its own; security.ini points the worker there. Tests of
    // other things point it at a closed port, so that a key sent at some moment of the worker's
    // choosing cannot switch the maker's access point to WPA under them.
    int port = oneButtonService ? host.AutoSecurityPort() : 1;
    std::string ini = "[Option]\nSERVER_PORT=" + std::to_string(port) + "\n";
    page->WorkerConfig().readFile = [ini](const std::string&) -> std::optional<std::string> { return ini; };
    page->WorkerConfig().replyTimeLimitMs = 2000;
    page->WorkerConfig().afterSaveMs = 0;
    page->OnInit();
  }
  // Time passes for the page and the radio alike.
  void Pass(uint64_t ms) {
    for (uint64_t t = 0; t < ms; t += 1000) {
      clock.Advance(std::min<uint64_t>(1000, ms - t));
      adapter.Tick();
    }
  }
  // Opens the page and lets the first scan complete and show.
  void OpenScanned() {
    Open();
    Pass(6000);
    ASSERT_FALSE(page->Rows().empty());
  }
  int RowOf(const std::string& ssid) const {
    for (size_t i = 0; i < page->Rows().size(); ++i)
      if (page->Rows()[i].ssid.Text() == ssid) return int(i);
    return -1;
  }
  int RowOfBssid(const std::string& bssidText) const {
    for (size_t i = 0; i < page->Rows().size(); ++i)
      if (page->Rows()[i].texts[kColumnBssid] == bssidText) return int(i);
    return -1;
  }
  void Select(int row) {
    ASSERT_GE(row, 0);
    page->Control(survey::kList).selection = row;
    page->OnCommand(survey::kList, UiEvent::SelectionChanged);
  }
  void ConnectTo(const std::string& ssid) {
    Select(RowOf(ssid));
    page->OnCommand(survey::kConnect, UiEvent::Clicked);
  }
  const ControlState& C(int id) { return page->Control(id); }
  int ConnectedRow() {
    const auto& rows = C(survey::kList).rows;
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].image >= 0) return int(i);
    return -1;
  }
  // The profile editor's sheets as the program gives them to the page.
  void UseEditor(ProfileEditorContext& editor) {
    editor.facts = [] {
      ProfileEditorFacts f;
      f.settingsRoot = kRoot;
      f.osKind = 8;
      f.supplicantAvailable = true;
      return f;
    };
    editor.setOidFromReg = [this](bool advanced) { link.SetOidFromReg(advanced); };
  }
  // The worker answers on its own thread; the page handles it when the UI side drains.
  // The worker's reply may take a while on a loaded machine (a PBKDF2 under the sanitizers).
  // One drain may handle several messages (the worker can answer while a handler runs), so
  // a test waits for the effect it needs, not for a message to be pending.
  bool DrainUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 3000; ++i) {
      if (page->Flow().Messages().Pending()) page->DrainWorkerMessages();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
};

TEST_F(SurveyPageTest, ListShowsTheScanWithColumnsAndButtons) {
  Open();
  const auto& list = C(survey::kList);
  ASSERT_EQ(list.columns.size(), 7u);
  EXPECT_EQ(list.columns[0].title, "SSID");
  EXPECT_EQ(list.columns[0].width, 91);  // trunc(399 / 10 x 2.3) until the view tells the width
  EXPECT_EQ(list.columns[6].title, "Network Type");
  EXPECT_EQ(list.listImages, (std::vector<uint32_t>{kIconSurveyInfrastructure, kIconSurveyAdhoc}));
  EXPECT_EQ(list.listStyle, 0x421u);  // grid lines, full-row select, info tips
  page->OnListWidth(survey::kList, 585);
  EXPECT_EQ(list.columns[0].width, 134);    // trunc(58.5 x 2.3)
  EXPECT_EQ(list.columns[6].width, 93);     // trunc(58.5 x 1.6)
  page->OnListWidth(survey::kStatus, 100);  // another control's width changes nothing
  EXPECT_EQ(list.columns[0].width, 134);
  EXPECT_EQ(C(survey::kConnect).text, "&Connect");
  EXPECT_FALSE(C(survey::kRescan).enabled);  // the list waits for its first scan
  Pass(6000);
  int home = RowOf("HomeNet");
  ASSERT_GE(home, 0);
  EXPECT_EQ(list.rows[size_t(home)].cells,
            (std::vector<std::string>{"HomeNet", "00-1A-2B-3C-4D-01", "81%", "1", "AES", "WPA2-PSK",
                                      "Infrastructure"}));
  EXPECT_EQ(list.rows[size_t(RowOf("OldWep"))].cells[kColumnEncryption], "WEP");
  EXPECT_EQ(C(survey::kStatus).text, "Disconnected");
  EXPECT_TRUE(C(survey::kRescan).enabled);

  page->OnCommand(survey::kRescan, UiEvent::Clicked);
  EXPECT_EQ(C(survey::kStatus).text, "Rescanning");
  EXPECT_FALSE(C(survey::kRescan).enabled);
  EXPECT_FALSE(C(survey::kConnect).enabled);
  EXPECT_TRUE(page->RefillPending());
  Pass(6000);
  EXPECT_FALSE(page->RefillPending());
}

TEST_F(SurveyPageTest, ConnectWithoutSelectionOrSupplicantChangesNothing) {
  OpenScanned();
  adapter.ClearOidLog();
  page->OnCommand(survey::kConnect, UiEvent::Clicked);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "No selected item");
  for (const auto& e : adapter.OidLog()) EXPECT_FALSE(e.set);

  supplicantOpen = false;
  Select(RowOf("HomeNet"));
  EXPECT_FALSE(C(survey::kConnect).enabled);
  EXPECT_FALSE(C(survey::kAddProfile).enabled);
  page->OnCommand(survey::kConnect, UiEvent::Clicked);
  EXPECT_TRUE(sheetPrefills.empty());
  EXPECT_FALSE(page->JoinByBssid());
  EXPECT_EQ(ui.boxes.size(), 1u);  // a WPA2-PSK row brings no binding message
}

TEST_F(SurveyPageTest, BindingMessageOncePerRun) {
  sim::World w = sim::DefaultWorld();
  for (auto& n : w.networks)
    if (n.ssid == "HomeNet") n.security = sim::Security::WpaPsk;
  adapter.SetWorld(w);
  OpenScanned();
  supplicantOpen = false;
  Select(RowOf("HomeNet"));
  Select(RowOf("HomeNet"));
  page->UpdateButtons();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Please make sure that 802.1x (if installed) binds ONLY with this card");
  EXPECT_TRUE(shared.bindingMessageShown);
}

TEST_F(SurveyPageTest, OpenNetworkIsStoredJoinedByBssidAndMarked) {
  OpenScanned();
  ConnectTo("Arventa-AP");
  EXPECT_EQ(C(survey::kStatus).text, "Connecting");
  EXPECT_TRUE(page->JoinByBssid());
  EXPECT_FALSE(page->JoinBySsid());
  EXPECT_EQ(profiles.CurrentProfileName(), "Arventa-AP");
  EXPECT_EQ(profiles.ProfileSsid("Arventa-AP"), "Arventa-AP");
  Pass(4000);
  auto s = adapter.State();
  ASSERT_TRUE(s.associated);
  EXPECT_EQ(s.ssid, "Arventa-AP");
  EXPECT_EQ(C(survey::kStatus).text, "Connected <--> Arventa-AP");
  EXPECT_EQ(ConnectedRow(), RowOf("Arventa-AP"));
  EXPECT_EQ(C(survey::kList).rows[size_t(ConnectedRow())].image, 0);
  EXPECT_EQ(page->DisconnectedTicks(), -3);
}

TEST_F(SurveyPageTest, SecuredNetworkAsksInSecurityProfileAndAssociates) {
  OpenScanned();
  sheetKey = "correct horse battery";
  ConnectTo("HomeNet");
  ASSERT_EQ(sheetPrefills.size(), 1u);
  const StationProfile& p = sheetPrefills[0];
  EXPECT_EQ(p.name, "HomeNet");
  EXPECT_EQ(p.authenType, int(kAuthWpa2Psk));  // Windows XP
  EXPECT_EQ(p.encryption, int(kEncAesEnabled));
  EXPECT_EQ(p.channel, 1);
  EXPECT_EQ(profiles.CurrentProfileName(), "HomeNet");
  Pass(4000);
  auto s = adapter.State();
  ASSERT_TRUE(s.associated);
  EXPECT_EQ(s.ssid, "HomeNet");
  EXPECT_EQ(s.authMode, kAuthWpa2Psk);
  EXPECT_EQ(C(survey::kStatus).text, "Connected <--> HomeNet");
}

TEST_F(SurveyPageTest, ProfileEditorSheetTakesTheKeyForConnect) {
  FakeCertStore certs;
  ProfileEditorContext editor{reg, channel, profiles, EnglishStrings(), ui, certs};
  UseEditor(editor);
  Open(ProfileEditorSurveyHooks(editor, nullptr));
  Pass(6000);
  std::string key;
  ui.onModal = [&key](DialogModel& m) {
    auto* sheet = dynamic_cast<CProfileSheet2*>(&m);
    if (!sheet || key.empty()) return int(kIdCancel);
    sheet->SecurityPage().Control(asec::kPsk).text = key;
    return sheet->OnOk() ? int(kIdOk) : int(kIdCancel);
  };
  ConnectTo("HomeNet");  // canceled: nothing stored, nothing joined
  EXPECT_NE(profiles.ProfileExists("HomeNet"), ProfileLookup::Found);
  EXPECT_FALSE(page->JoinByBssid());
  key = "correct horse battery";
  ConnectTo("HomeNet");
  auto stored = profiles.ReadProfile("HomeNet");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->wpaPsk, "correct horse battery");
  EXPECT_EQ(stored->authenType, int(kAuthWpa2Psk));
  EXPECT_EQ(profiles.CurrentProfileName(), "HomeNet");
  Pass(4000);
  EXPECT_TRUE(adapter.State().associated);
  EXPECT_EQ(adapter.State().ssid, "HomeNet");
}

// Network names of any bytes: shown in the UI language's code page, joined with their exact bytes,
// stored under a name a registry key can have (shown in the profile list) and found again by the
// next Connect, which then needs no sheet.
TEST_F(SurveyPageTest, RawByteNamesAreJoinedStoredAndFoundAgain) {
  const std::string big5 = "\xB5\x4C\xBD\x75 AP";
  const std::string quoted = "My \"Net\" \\#1";
  const std::string ff(32, '\xFF');
  sim::World w;
  auto add = [&](const std::string& ssid, uint8_t last, sim::Security security, const std::string& pass) {
    sim::Network n;
    n.ssid = ssid;
    n.bssid = {0x00, 0x1A, 0x2B, 0x5C, 0x00, last};
    n.security = security;
    n.cipher = sim::Cipher::Aes;
    n.passphrase = pass;
    w.networks.push_back(n);
  };
  add(big5, 1, sim::Security::Open, "");
  add(quoted, 2, sim::Security::Wpa2Psk, "backslash key");
  add(ff, 3, sim::Security::Open, "");
  adapter.SetWorld(w);
  CodePageStrings chinese(ChineseStrings(), 950);
  strings = &chinese;
  FakeCertStore certs;
  ProfileEditorContext editor{reg, channel, profiles, chinese, ui, certs};
  UseEditor(editor);
  Open(ProfileEditorSurveyHooks(editor, nullptr));
  Pass(6000);
  ASSERT_EQ(page->Rows().size(), 3u);
  std::string ffShown;
  for (int i = 0; i < 32; ++i) ffShown += "\\xFF";
  EXPECT_EQ(C(survey::kList).rows[size_t(RowOf(big5))].cells[kColumnSsid], "\xE7\x84\xA1\xE7\xB7\x9A AP");
  EXPECT_EQ(C(survey::kList).rows[size_t(RowOf(ff))].cells[kColumnSsid], ffShown);

  ConnectTo(big5);
  const std::string big5Name = "\xE7\x84\xA1\xE7\xB7\x9A AP";
  EXPECT_EQ(profiles.CurrentProfileName(), big5Name);
  EXPECT_EQ(profiles.ProfileSsid(big5Name), big5);
  Pass(4000);
  EXPECT_TRUE(adapter.State().associated);
  EXPECT_EQ(adapter.State().ssid, big5);
  EXPECT_EQ(C(survey::kStatus).text, chinese.Get(IDS_CONNECTED) + " <--> " + big5Name);

  ui.onModal = [](DialogModel& m) {
    auto* sheet = dynamic_cast<CProfileSheet2*>(&m);
    if (!sheet) return int(kIdCancel);
    sheet->SecurityPage().Control(asec::kPsk).text = "backslash key";
    return sheet->OnOk() ? int(kIdOk) : int(kIdCancel);
  };
  ConnectTo(quoted);
  auto stored = profiles.ReadProfile("My \"Net\" _#1");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->ssid, quoted);
  EXPECT_EQ(stored->wpaPsk, "backslash key");
  Pass(4000);
  EXPECT_EQ(adapter.State().ssid, quoted);
  EXPECT_TRUE(adapter.State().associated);

  ConnectTo(ff);
  EXPECT_EQ(profiles.ProfileSsid("_xFF_xFF_xFF_xFF_xFF_xFF_xFF_xFF"), ff);
  Pass(4000);
  EXPECT_EQ(adapter.State().ssid, ff);

  // Again from the stored profiles, without a sheet; three profiles, none nested.
  ui.onModal = [](DialogModel&) -> int {
    ADD_FAILURE() << "no dialog expected";
    return kIdCancel;
  };
  // The page then keeps the profile's network, not the last Connect's.
  for (const std::string& ssid : {quoted, big5}) {
    ConnectTo(ssid);
    Pass(6000);
    EXPECT_TRUE(adapter.State().associated);
    EXPECT_EQ(adapter.State().ssid, ssid);
    EXPECT_TRUE(page->JoinBySsid());
    EXPECT_EQ(page->RequestedSsid().Text(), ssid);
  }
  EXPECT_EQ(profiles.ListProfiles().size(), 3u);
}

TEST_F(SurveyPageTest, SecurityMappingByOperatingSystem) {
  OpenScanned();
  const SurveyRow& home = page->Rows()[size_t(RowOf("HomeNet"))];
  EXPECT_EQ(MapSecurity(home, MappingUse::Connect, 3).authMode, kAuthWpaPsk);  // Windows 98
  EXPECT_EQ(MapSecurity(home, MappingUse::Connect, 8).authMode, kAuthWpa2Psk);
  const SurveyRow& mixed = page->Rows()[size_t(RowOf("Office-Mixed"))];  // TKIP;AES
  EXPECT_EQ(MapSecurity(mixed, MappingUse::Connect, 8).encryption, kEncAesEnabled);
  EXPECT_EQ(MapSecurity(mixed, MappingUse::AddProfile, 8).encryption, kEncAesEnabled);
  const SurveyRow& wep = page->Rows()[size_t(RowOf("OldWep"))];
  EXPECT_EQ(MapSecurity(wep, MappingUse::Connect, 8).authMode, kAuthShared);
  EXPECT_EQ(MapSecurity(wep, MappingUse::AddProfile, 8).authMode, kAuthOpen);
  EXPECT_EQ(MapSecurity(wep, MappingUse::AddProfile, 8).encryption, kEncWepEnabled);
  SurveyRow tkip;
  tkip.texts[kColumnAuthentication] = "WPA-PSK";
  tkip.texts[kColumnEncryption] = "tkip";
  EXPECT_EQ(MapSecurity(tkip, MappingUse::Connect, 8).encryption, kEncTkipEnabled);
  EXPECT_EQ(MapSecurity(tkip, MappingUse::AddProfile, 8).encryption, kEncTkipEnabled);
  EXPECT_EQ(SecurityClass("WPA-NONE"), 3);
  EXPECT_EQ(SecurityClass("WPA"), 1);
  EXPECT_EQ(SecurityClass("WPA2"), 4);
  EXPECT_EQ(SecurityClass("Unknown"), 0);
}

TEST_F(SurveyPageTest, HiddenNetworkAsksItsNameAndShowsIt) {
  OpenScanned();
  int hidden = RowOfBssid("00-1A-2B-3C-4D-04");
  ASSERT_GE(hidden, 0);
  EXPECT_EQ(C(survey::kList).rows[size_t(hidden)].cells[0], "");

  hiddenSsid.clear();  // Cancel stops Connect
  Select(hidden);
  page->OnCommand(survey::kConnect, UiEvent::Clicked);
  EXPECT_TRUE(sheetPrefills.empty());

  hiddenSsid = "HiddenLab";
  sheetKey = "hidden lab key";
  page->OnCommand(survey::kList, UiEvent::DoubleClicked);
  ASSERT_EQ(sheetPrefills.size(), 1u);
  EXPECT_EQ(sheetPrefills[0].ssid, "HiddenLab");
  EXPECT_TRUE(page->JoinBySsid());
  EXPECT_EQ(page->RequestedSsid().Text(), "HiddenLab");
  EXPECT_TRUE(shared.hidden.Set());
  Pass(6000);
  ASSERT_TRUE(adapter.State().associated);
  int row = RowOfBssid("00-1A-2B-3C-4D-04");
  EXPECT_EQ(ConnectedRow(), row);
  EXPECT_EQ(C(survey::kList).rows[size_t(row)].cells[0], "HiddenLab");

  // A visible network clears the typed name.
  ConnectTo("Arventa-AP");
  EXPECT_FALSE(shared.hidden.Set());
}

TEST_F(SurveyPageTest, HiddenSsidDialogWantsAName) {
  CHiddenSsidDialog dialog(ui, EnglishStrings());
  dialog.OnInit();
  EXPECT_EQ(dialog.Control(kIdcHiddenSsid).maxLength, 32);
  EXPECT_EQ(dialog.Control(VX_IDC_HIDDEN_SSID_PROMPT).text,
            "&This AP use hidden SSID, please manually configure SSID");
  EXPECT_FALSE(dialog.OnOk());
  EXPECT_EQ(ui.boxes.back().text, "Please enter SSID");
  dialog.Control(kIdcHiddenSsid).text = std::string(40, 'h');
  EXPECT_TRUE(dialog.OnOk());
  EXPECT_EQ(dialog.Ssid().size(), 32u);
  dialog.Control(kIdcHiddenSsid).text = std::string(30, 'h') + "\xE5\xAF\xA6";  // cut before the character
  EXPECT_TRUE(dialog.OnOk());
  EXPECT_EQ(dialog.Ssid(), std::string(30, 'h'));
}

TEST_F(SurveyPageTest, AdhocIsJoinedBySsidAndVisibleFallsBackToSsid) {
  passPhrase.clear();  // the maker's offer is declined: a running set-up holds the fallback back
  OpenScanned();
  ConnectTo("GameRoom");
  EXPECT_TRUE(page->JoinBySsid());
  EXPECT_FALSE(page->JoinByBssid());
  Pass(4000);
  EXPECT_EQ(C(survey::kList).rows[size_t(RowOf("GameRoom"))].image, 1);

  ConnectTo("Arventa-AP");
  EXPECT_TRUE(page->JoinByBssid());
  Pass(4000);
  ASSERT_TRUE(adapter.State().associated);
  adapter.SetNetworkInRange("Arventa-AP", false);
  for (int i = 0; i < 20 && page->JoinByBssid(); ++i) Pass(2000);
  EXPECT_TRUE(page->JoinBySsid());
  EXPECT_FALSE(page->JoinByBssid());
  EXPECT_GT(page->DisconnectedTicks(), 4);
}

// The join watchdog deletes a failing profile only when a Connect made it: not one the user stored
// before (here in another case), nor the one still current because selecting the new one failed.
TEST_F(SurveyPageTest, AFailingProfileIsReplacedOnlyWhenConnectMadeIt) {
  OpenScanned();
  StationProfile stale, office;
  std::tie(stale.name, stale.ssid, stale.authenType, stale.encryption, stale.wpaPsk) =
      std::tuple("homenet", "HomeNet", int(kAuthWpa2Psk), int(kEncAesEnabled), "not the key at all");
  std::tie(office.name, office.ssid) = std::tuple("Office", "Nowhere");
  for (int run : {0, 1, 2}) {  // stored before; made by Connect; made by Connect, selecting it refused
    profiles.DeleteProfile("HomeNet");
    sheetKey = stale.wpaPsk;
    if (run == 0)
      ASSERT_TRUE(profiles.WriteProfile(stale));
    else
      ConnectTo("HomeNet"), Pass(5000);  // no profile yet: "Security Profile" stores the wrong key
    if (run == 2) ASSERT_TRUE(profiles.WriteProfile(office) && profiles.SelectProfile("Office", false));
    reg.FailWrite(run == 2 ? 1 : 0);
    sheetPrefills.clear();
    ConnectTo("HomeNet");
    EXPECT_TRUE(sheetPrefills.empty());
    Pass(5000);  // still not associated
    EXPECT_EQ(profiles.ProfileExists("homenet") == ProfileLookup::Found, run != 1) << run;
    EXPECT_EQ(profiles.ProfileExists("Office") == ProfileLookup::Found, run == 2) << run;
    EXPECT_EQ(page->TimerRunning(CSiteSurvPage::kTimerRejoin), run == 1) << run;
  }
  profiles.DeleteProfile("Office");
  sheetKey = "correct horse battery";
  ConnectTo("HomeNet");  // made by Connect, fails, replaced: Connect again, now through the sheet
  Pass(5000);
  Pass(2000);
  ASSERT_EQ(sheetPrefills.size(), 1u);
  Pass(4000);
  EXPECT_TRUE(adapter.State().associated && adapter.State().ssid == "HomeNet");
}

TEST_F(SurveyPageTest, AddToProfileOpensThePrefilledSheet) {
  OpenScanned();
  page->OnCommand(survey::kAddProfile, UiEvent::Clicked);
  EXPECT_EQ(ui.boxes.back().text, "No selected item");
  Select(RowOf("Office-Mixed"));
  page->OnCommand(survey::kAddProfile, UiEvent::Clicked);
  ASSERT_EQ(addPrefills.size(), 1u);
  EXPECT_EQ(addPrefills[0].ssid, "Office-Mixed");
  EXPECT_EQ(addPrefills[0].authenType, int(kAuthWpa2Psk));
  EXPECT_EQ(addPrefills[0].encryption, int(kEncAesEnabled));
  EXPECT_EQ(addPrefills[0].channel, 11);
  EXPECT_EQ(profilePageShown, 1);
  addConfirmed = false;  // cancelled: the page stays
  page->OnCommand(survey::kAddProfile, UiEvent::Clicked);
  EXPECT_EQ(addPrefills.size(), 2u);
  EXPECT_EQ(profilePageShown, 1);
  admin = false;
  page->UpdateButtons();
  EXPECT_FALSE(C(survey::kAddProfile).enabled);
  page->OnCommand(survey::kAddProfile, UiEvent::Clicked);
  EXPECT_EQ(addPrefills.size(), 2u);
}

TEST_F(SurveyPageTest, MakerAccessPointOnWpaPskGetsTheKeyDialogDirectly) {
  oneButtonService = true;
  adapter.ModifyNetwork("Arventa-AP", [](sim::Network& n) {
    n.security = sim::Security::WpaPsk;
    n.cipher = sim::Cipher::Tkip;
    n.passphrase = "quick secure 3";
  });
  OpenScanned();
  ConnectTo("Arventa-AP");
  EXPECT_EQ(ui.modalTemplates.back(), kIddQs3Key);
  EXPECT_TRUE(sheetPrefills.empty());
  EXPECT_EQ(profiles.CurrentProfileName(), "Arventa-AP_AutoSecu");
  auto p = profiles.ReadProfile("Arventa-AP_AutoSecu");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->wpaPsk, "quick secure 3");
  EXPECT_EQ(p->encryption, int(kEncTkipEnabled));
  Pass(4000);
  EXPECT_TRUE(adapter.State().associated);
  EXPECT_EQ(adapter.State().ssid, "Arventa-AP");
  // Next time the stored profile is used.
  ConnectTo("Arventa-AP");
  EXPECT_EQ(ui.modalTemplates.size(), 1u);
  EXPECT_TRUE(page->TimerRunning(CSiteSurvPage::kTimerJoinCheck));
}

TEST_F(SurveyPageTest, QuickSecureEndToEnd) {
  oneButtonService = true;
  OpenScanned();
  ConnectTo("Arventa-AP");
  // Checked second by second: once the link is up the worker may answer at any moment, and
  // the key it sends switches the access point to WPA and drops this open link.
  for (int i = 0; i < 3 && !adapter.State().associated; ++i) Pass(1000);
  ASSERT_TRUE(adapter.State().associated);
  // The status update that finds the row triggers discovery; the worker reaches the service.
  Pass(2000);
  ASSERT_TRUE(DrainUntil([this] { return !ui.modalTemplates.empty(); }));
  ASSERT_EQ(ui.modalTemplates.back(), kIddQs3Key);
  EXPECT_TRUE(shared.setup.started);
  EXPECT_TRUE(page->Flow().WaitWindow().Shown());
  // The key exchange's outcome starts the rescans.
  ASSERT_TRUE(DrainUntil([this] { return page->TimerRunning(kTimerRescanAfterKey); }));
  EXPECT_TRUE(shared.setup.lastKeyResult);
  auto world = adapter.GetWorld();
  for (const auto& n : world.networks)
    if (n.ssid == "Arventa-AP") {
      EXPECT_EQ(n.security, sim::Security::WpaPsk);
      EXPECT_EQ(n.passphrase, "quick secure 3");
    }
  // Rescans every 5 s until the list shows WPA; the profile is stored once and made current.
  for (int i = 0; i < 20 && profiles.CurrentProfileName() != "Arventa-AP_AutoSecu"; ++i) {
    Pass(1000);
    if (page->Flow().Messages().Pending()) page->DrainWorkerMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(profiles.CurrentProfileName(), "Arventa-AP_AutoSecu");
  EXPECT_EQ(profiles.ListProfiles(), (std::vector<std::string>{"Arventa-AP", "Arventa-AP_AutoSecu"}));
  for (int i = 0; i < 10 && !shared.setup.succeeded; ++i) Pass(1000);
  ASSERT_TRUE(shared.setup.succeeded);
  EXPECT_EQ(adapter.State().authMode, kAuthWpaPsk);
  EXPECT_TRUE(page->Flow().WaitWindow().Shown());
  Pass(21000);
  EXPECT_FALSE(page->Flow().WaitWindow().Shown());
  EXPECT_EQ(process.urls.size(), 1u);
}

TEST_F(SurveyPageTest, NetworkSelectionPicksTheRowToConnect) {
  OpenScanned();
  ui.onModal = [this](DialogModel& m) {
    if (m.TemplateId() != kIddQs3Selection) return int(kIdCancel);
    auto& sel = static_cast<CNetworkSelectionDialog&>(m);
    EXPECT_EQ(m.Control(qs3sel::kList).selection, 0);
    EXPECT_FALSE(shared.statusRefreshEnabled);
    m.Control(qs3sel::kList).selection = -1;
    for (size_t i = 0; i < sel.Rows().size(); ++i)
      if (sel.Rows()[i].ssid.Text() == "Arventa-AP") m.Control(qs3sel::kList).selection = int(i);
    m.OnCommand(qs3sel::kList, UiEvent::DoubleClicked);
    EXPECT_TRUE(m.CloseRequested());
    return m.CloseResult();
  };
  page->StartShowup(5);
  EXPECT_TRUE(shared.statusRefreshEnabled);
  EXPECT_EQ(C(survey::kList).selection, RowOf("Arventa-AP"));
  EXPECT_EQ(profiles.CurrentProfileName(), "Arventa-AP");
  EXPECT_TRUE(page->JoinByBssid());
}

// The selection tool lists the networks as the page does, in the table's language, with the
// joined network's row marked by its type's icon.
TEST_F(SurveyPageTest, SelectionToolShowsTheRowsAsThePageDoesInChinese) {
  strings = &ChineseStrings();
  const StringTable& zh = ChineseStrings();
  passPhrase.clear();
  OpenScanned();
  ConnectTo("Arventa-AP");
  Pass(4000);
  ASSERT_EQ(ConnectedRow(), RowOf("Arventa-AP"));

  SurveyContext ctx = Context();
  CNetworkSelectionDialog tool(ctx);
  tool.OnInit();
  const ControlState& list = tool.Control(qs3sel::kList);
  ASSERT_EQ(list.columns.size(), 7u);
  EXPECT_EQ(list.columns[kColumnEncryption].title, zh.Get(IDS_COL_ENCRYPTION));
  EXPECT_EQ(list.listImages, (std::vector<uint32_t>{kIconSurveyInfrastructure, kIconSurveyAdhoc}));
  EXPECT_EQ(list.listStyle, 0x421u);
  tool.OnListWidth(qs3sel::kList, 500);
  EXPECT_EQ(list.columns[0].width, 115);  // 50 x 2.3, exactly, in every build
  EXPECT_EQ(list.columns[1].width, 110);
  ASSERT_EQ(list.rows.size(), C(survey::kList).rows.size());
  for (size_t i = 0; i < list.rows.size(); ++i) {
    EXPECT_EQ(list.rows[i].cells, C(survey::kList).rows[i].cells) << i;
    EXPECT_EQ(list.rows[i].image, int(i) == RowOf("Arventa-AP") ? kSurveyImageInfrastructure : -1) << i;
  }
  const auto& open = list.rows[size_t(RowOf("Arventa-AP"))].cells;
  EXPECT_EQ(open[kColumnEncryption], zh.Get(IDS_CIPHER_NONE));
  EXPECT_EQ(open[kColumnNetworkType], zh.Get(IDS_NET_INFRASTRUCTURE));
  EXPECT_EQ(list.rows[size_t(RowOf("GameRoom"))].cells[kColumnNetworkType], zh.Get(IDS_NET_ADHOC));
  EXPECT_EQ(list.rows[size_t(RowOf("OldWep"))].cells[kColumnEncryption], zh.Get(IDS_CIPHER_WEP));

  // The link goes: the mark goes at the next tick.
  adapter.SetNetworkInRange("Arventa-AP", false);
  Pass(2000);
  for (const auto& r : list.rows) EXPECT_EQ(r.image, -1);
  tool.OnCancel();
}

// After a Connect the page keeps its network; a profile the user then makes current on the
// profile list page (or the active profile deleted there) is kept instead.
TEST_F(SurveyPageTest, ProfileChosenByHandIsNotUndoneByTheLastConnect) {
  passPhrase.clear();  // no one-button set-up in the way
  OpenScanned();
  ConnectTo("Arventa-AP");
  Pass(4000);
  ASSERT_EQ(adapter.State().ssid, "Arventa-AP");
  StationProfile home;
  home.name = "Home";
  home.ssid = "HomeNet";
  home.authenType = int(kAuthWpa2Psk);
  home.encryption = int(kEncAesEnabled);
  home.wpaPsk = "correct horse battery";
  ASSERT_TRUE(profiles.WriteProfile(home));
  ProfilePageHooks byHand = WithManualActivation({}, shared);
  profiles.SelectProfile("Home", false);
  byHand.profileChosenByHand();
  Pass(20000);
  EXPECT_TRUE(adapter.State().associated);
  EXPECT_EQ(adapter.State().ssid, "HomeNet");
  EXPECT_TRUE(page->JoinBySsid());
  EXPECT_FALSE(page->JoinByBssid());

  // The active profile deleted: the adapter's open, any-network settings stay as they are.
  sheetKey = "correct horse battery";
  ConnectTo("HomeNet");
  Pass(4000);
  ASSERT_TRUE(page->JoinByBssid());
  profiles.ClearLiveProfile();
  link.SetOidFromReg(false);
  byHand.liveProfileCleared();
  Pass(20000);
  EXPECT_TRUE(adapter.State().associated);
  EXPECT_EQ(adapter.State().ssid, "Arventa-AP");
}

}  // namespace
}  // namespace vx
