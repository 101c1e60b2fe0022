// The UI side of the one-button set-up: the trigger, the key dialog and wait window, timers 101,
// 104 and 105, the completion check, and the stored "_AutoSecu" profile.
#include "station/autosecurity/autosecurity_flow.h"

#include <gtest/gtest.h>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "fakes/fake_registry.h"
#include "fakes/scripted_ui.h"
#include "fakes/virtual_clock.h"
#include "resources/strings/string_tables.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SYSTEM\\Adapter\\0007";
const MacAddress kMaker = {0x00, 0x0C, 0xE7, 0x10, 0x20, 0x30};
const MacAddress kMaker2 = {0x00, 0x0C, 0xE7, 0x10, 0x20, 0x31};
const MacAddress kOther = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01};

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

class FlowTest : public ::testing::Test {
 protected:
  AutoSecuritySetup setup;
  VirtualClock clock;
  std::vector<int> ticks;
  AutoSecurityFlow* flowPtr = nullptr;
  PageTimers timers{clock, [this](int id) {
                      ticks.push_back(id);
                      flowPtr->OnTimer(id);
                    }};
  ScriptedUi ui;
  FakeRegistry reg;
  ProfileStore profiles{reg, [] { return std::string(kRoot); }};
  FakeProcess process;
  AutoSecurityFlow flow{setup, timers, ui, EnglishStrings(), reg, profiles, process};
  std::vector<WorkerMessage> posted;
  int rescans = 0;
  std::vector<std::string> applied;
  std::string typed = "0123456789";

  void SetUp() override {
    flowPtr = &flow;
    reg.CreateKey(Hklm(kRoot));
    flow.Hooks().observePost = [this](const WorkerMessage& m) { posted.push_back(m); };
    flow.Hooks().rescan = [this] { ++rescans; };
    flow.Hooks().makeProfileCurrent = [this](const std::string& n) { applied.push_back(n); };
    ui.onModal = [this](DialogModel& m) {
      if (m.TemplateId() != kIddQs3Key) return int(kIdCancel);
      if (typed.empty()) return int(kIdCancel);
      m.Control(qs3key::kEdit).text = typed;
      return m.OnOk() ? int(kIdOk) : int(kIdCancel);
    };
  }
  int Posts(uint32_t id) const {
    int n = 0;
    for (const auto& m : posted) n += m.id == id;
    return n;
  }
  void OpenStatus(const MacAddress& b) { flow.Trigger(b, kInfraInfrastructure, kAuthOpen, kEncDisabled); }
  void Found(const MacAddress& b = kMaker) {
    UiMessage m;
    m.id = kMsgApFound;
    m.apText = "SSID = Arventa-AP\nBSSID = 00:0C:E7:10:20:30";
    m.bssid = b;
    flow.OnApFound(m);
  }
  static SurveyRow Row(const MacAddress& b, const std::string& auth, const std::string& enc) {
    SurveyRow r;
    r.bssid = b;
    r.texts[kColumnAuthentication] = auth;
    r.texts[kColumnEncryption] = enc;
    return r;
  }
};

TEST_F(FlowTest, TriggerOffersDiscoveryOnlyForAnOpenMakerAccessPoint) {
  OpenStatus(kOther);
  flow.Trigger(kMaker, kInfraAdhoc, kAuthOpen, kEncDisabled);
  flow.Trigger(kMaker, kInfraInfrastructure, kAuthOpen, kEncWepEnabled);
  flow.Trigger(kMaker, kInfraInfrastructure, kAuthWpaPsk, kEncTkipEnabled);
  EXPECT_EQ(Posts(kMsgDiscover), 0);

  // No service answers: ten requests for this BSSID, then none until it changes.
  for (int i = 0; i < 14; ++i) OpenStatus(kMaker);
  EXPECT_EQ(Posts(kMsgDiscover), 10);
  OpenStatus(kMaker2);
  EXPECT_EQ(Posts(kMsgDiscover), 11);
  // Connect starts the count over.
  for (int i = 0; i < 12; ++i) OpenStatus(kMaker2);
  flow.ResetForConnect();
  OpenStatus(kMaker2);
  EXPECT_EQ(Posts(kMsgDiscover), 21);

  setup.manualActivation = true;
  flow.ResetForConnect();
  setup.manualActivation = true;  // a profile activated by hand suspends the offer
  OpenStatus(kMaker2);
  EXPECT_EQ(Posts(kMsgDiscover), 21);
}

TEST_F(FlowTest, CanceledKeyDialogClosesAndStopsOffersForThatBssid) {
  OpenStatus(kMaker);
  typed.clear();
  Found();
  EXPECT_TRUE(setup.canceled);
  EXPECT_EQ(Posts(kMsgCancel), 1);
  EXPECT_EQ(ui.modalTemplates, std::vector<uint32_t>{kIddQs3Key});
  for (int i = 0; i < 5; ++i) OpenStatus(kMaker);
  EXPECT_EQ(Posts(kMsgDiscover), 1);
  Found();  // a late answer shows no second dialog
  EXPECT_EQ(ui.modalTemplates.size(), 1u);
  OpenStatus(kMaker2);
  EXPECT_EQ(Posts(kMsgDiscover), 2);
}

TEST_F(FlowTest, ConfirmedKeyRunsToSuccessAndOpensTheBrowser) {
  OpenStatus(kMaker);
  Found();
  ASSERT_EQ(Posts(kMsgSendKey), 1);
  EXPECT_EQ(posted.back().passPhrase, "0123456789");
  EXPECT_TRUE(setup.started);
  EXPECT_TRUE(setup.inProgress);
  EXPECT_FALSE(setup.setupIdle);
  EXPECT_TRUE(flow.WaitWindow().Shown());
  EXPECT_FALSE(flow.WaitWindow().Control(kIdOk).visible);
  EXPECT_EQ(flow.WaitWindow().Control(qs3wait::kText).text, EnglishStrings().Get(IDS_QS3_PLEASE_WAIT));
  EXPECT_TRUE(timers.Running(kTimerSetupTimeout));

  flow.OnKeyDone(true);
  clock.Advance(10000);
  EXPECT_EQ(rescans, 2);  // every 5 s until the access point is back

  // The scans: the row without WPA is not it; the first with WPA saves, and the worker keeps
  // it to one profile.
  flow.CompletionCheck({Row(kMaker, "Unknown", "None"), Row(kOther, "WPA-PSK", "TKIP")});
  EXPECT_EQ(Posts(kMsgSaveProfile), 0);
  flow.CompletionCheck({Row(kMaker, "wpa-psk", "TKIP")});
  flow.CompletionCheck({Row(kMaker, "WPA2-PSK", "aes")});
  ASSERT_EQ(Posts(kMsgSaveProfile), 2);
  EXPECT_EQ(posted[posted.size() - 2].value, kEncTkipEnabled);
  EXPECT_EQ(posted.back().value, kEncAesEnabled);

  UiMessage saved;
  saved.id = kMsgProfileSaved;
  saved.ssid = "Arventa-AP";
  saved.passPhrase = "0123456789";
  saved.encryption = kEncTkipEnabled;
  flow.OnProfileSaved(saved);
  EXPECT_EQ(applied, std::vector<std::string>{"Arventa-AP_AutoSecu"});

  // Back with WPA-PSK on the same BSSID.
  flow.Trigger(kMaker, kInfraInfrastructure, kAuthWpaPsk, kEncTkipEnabled);
  EXPECT_TRUE(setup.succeeded);
  EXPECT_FALSE(timers.Running(kTimerSetupTimeout));
  EXPECT_FALSE(timers.Running(kTimerRescanAfterKey));
  flow.CompletionCheck({Row(kMaker, "WPA-PSK", "TKIP")});
  EXPECT_EQ(Posts(kMsgSaveProfile), 2);  // done: no more saves
  clock.Advance(19999);
  EXPECT_TRUE(process.urls.empty());
  clock.Advance(1);
  EXPECT_FALSE(flow.WaitWindow().Shown());
  EXPECT_EQ(process.urls.size(), 1u);
  EXPECT_TRUE(setup.setupIdle);
  EXPECT_FALSE(setup.inProgress);
  EXPECT_FALSE(timers.Running(kTimerAfterSuccess));
}

TEST_F(FlowTest, FailedExchangeOrTimeOutShowsTheFailure) {
  OpenStatus(kMaker);
  Found();
  flow.OnKeyDone(false);
  OpenStatus(kMaker);
  EXPECT_TRUE(flow.WaitWindow().Shown());
  EXPECT_EQ(flow.WaitWindow().Control(qs3wait::kText).text, EnglishStrings().Get(IDS_QS3_FAILED));
  EXPECT_TRUE(flow.WaitWindow().Control(kIdOk).visible);
  EXPECT_TRUE(flow.WaitWindow().Control(kIdOk).enabled);
  EXPECT_TRUE(setup.lastKeyResult);
  EXPECT_TRUE(setup.setupIdle);
  EXPECT_FALSE(setup.inProgress);
  EXPECT_FALSE(timers.Running(kTimerRescanAfterKey));
  flow.WaitWindow().OnOk();
  EXPECT_FALSE(flow.WaitWindow().Shown());

  // No WPA row within two minutes.
  OpenStatus(kMaker2);
  Found(kMaker2);
  flow.OnKeyDone(true);
  clock.Advance(kSetupTimeoutMs);
  EXPECT_TRUE(flow.WaitWindow().Control(kIdOk).visible);
  EXPECT_EQ(flow.WaitWindow().Control(qs3wait::kText).text, EnglishStrings().Get(IDS_QS3_FAILED));
  EXPECT_FALSE(timers.Running(kTimerRescanAfterKey));
  EXPECT_FALSE(timers.Running(kTimerSetupTimeout));
  EXPECT_TRUE(setup.setupIdle);
}

TEST_F(FlowTest, StoredProfileHasTheValuesInOrderAndBecomesCurrent) {
  std::string ssid32(32, 'N');
  auto name = StoreAutoSecuProfile(reg, profiles, EnglishStrings(), ssid32 + "extra", "pass phrase 1",
                                   kEncAesEnabled);
  ASSERT_TRUE(name);
  EXPECT_EQ(name->size(), 41u);
  std::vector<RegNamedValue> values;
  ASSERT_TRUE(reg.EnumValues(profiles.ProfileKey(*name), values));
  std::vector<std::pair<std::string, std::string>> got;
  for (const auto& v : values) got.emplace_back(v.name, ReadText(reg, profiles.ProfileKey(*name), v.name, "?"));
  EXPECT_EQ(got, (std::vector<std::pair<std::string, std::string>>{{"SSID", ssid32},
                                                                    {"NetworkType", "1"},
                                                                    {"AuthenType", "4"},
                                                                    {"Encryption", "6"},
                                                                    {"WPAPSK", "pass phrase 1"},
                                                                    {"TunnelProtocol", "3"},
                                                                    {"PreambleType", "2"},
                                                                    {"AuthenProtocol", "0"}}));
  EXPECT_EQ(profiles.CurrentProfileName(), *name);
  auto read = profiles.ReadProfile(*name);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->wpaPsk, "pass phrase 1");

  FakeRegistry empty;
  ProfileStore nowhere{empty, [] { return std::string(kRoot); }};
  empty.FailAll(true);
  EXPECT_FALSE(StoreAutoSecuProfile(empty, nowhere, EnglishStrings(), "x", "pass phrase", kEncTkipEnabled));
}

TEST_F(FlowTest, KeyDialogTakesEightToSixtyThreeCharacters) {
  CQs3KeyDialog dialog(ui, EnglishStrings(), "SSID = a\nBSSID = 00:00:00:00:00:00");
  dialog.OnInit();
  EXPECT_EQ(dialog.Control(qs3key::kApText).text, "SSID = a\nBSSID = 00:00:00:00:00:00");
  EXPECT_EQ(dialog.TakeFocusRequest(), qs3key::kEdit);
  dialog.Control(qs3key::kEdit).text = "1234567";
  EXPECT_FALSE(dialog.OnOk());
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Password too short!");
  EXPECT_EQ(ui.boxes[0].flags & 0xF0, kMbIconError);
  EXPECT_EQ(dialog.TakeFocusRequest(), qs3key::kEdit);
  dialog.Control(qs3key::kEdit).text = std::string(64, 'k');
  EXPECT_FALSE(dialog.OnOk());
  EXPECT_EQ(ui.boxes.back().text, "Password too long!");
  dialog.Control(qs3key::kEdit).text = "12345678";
  EXPECT_TRUE(dialog.OnOk());
  EXPECT_EQ(dialog.PassPhrase(), "12345678");
  dialog.Control(qs3key::kEdit).text = std::string(63, 'k');
  EXPECT_TRUE(dialog.OnOk());
  EXPECT_EQ(ui.boxes.size(), 2u);
}

// The edit takes no 64th character, the note is red, and a long instruction makes the dialog
// 90 pixels taller with the edit, the note and the buttons moved down to the new bottom.
TEST_F(FlowTest, KeyDialogLimitsItsEditColoursItsNoteAndGrowsForALongInstruction) {
  CQs3KeyDialog english(ui, EnglishStrings(), "SSID = a\nBSSID = 00:00:00:00:00:00");
  english.OnInit();
  EXPECT_EQ(english.Control(qs3key::kEdit).maxLength, 63);
  EXPECT_EQ(english.Control(qs3key::kNote).textColour, std::optional<uint32_t>(255));
  EXPECT_GT(EnglishStrings().Get(IDS_QS3_KEY_INSTRUCTION).size(), CQs3KeyDialog::kLongInstruction);
  EXPECT_TRUE(english.Enlarged());
  EXPECT_EQ(english.growHeight, 90);
  EXPECT_EQ(english.Control(qs3key::kInstruction).anchor, Anchor::Stretch);
  for (int id : {qs3key::kEdit, qs3key::kNote, int(kIdOk), int(kIdCancel)})
    EXPECT_EQ(english.Control(id).anchor, Anchor::Bottom) << id;
  EXPECT_EQ(english.Control(qs3key::kApText).anchor, Anchor::Top);

  // Characters count, not bytes: the Chinese instruction is short though its UTF-8 is longer.
  CQs3KeyDialog chinese(ui, ChineseStrings(), "SSID = a\nBSSID = 00:00:00:00:00:00");
  chinese.OnInit();
  EXPECT_FALSE(chinese.Enlarged());
  EXPECT_EQ(chinese.growHeight, 0);
  EXPECT_EQ(chinese.Control(qs3key::kNote).text, ChineseStrings().Get(IDS_QS3_KEY_NOTE));
  EXPECT_EQ(chinese.Control(qs3key::kNote).textColour, std::optional<uint32_t>(255));
}

}  // namespace
}  // namespace vx
