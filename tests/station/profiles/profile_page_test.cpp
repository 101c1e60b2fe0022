// The profile list page: rows with their texts and corrected channels, Add, Edit, Delete and
// Activate, and the status icon.
#include "editor_fixture.h"

#include "station/profiles/profile_page.h"

#include <algorithm>
#include <tuple>

#include "common/settings/registry_values.h"
#include "resources/string_ids.h"

namespace vx {
namespace {

using Items = std::vector<std::string>;

class ProfilePageTest : public EditorFixture {
 protected:
  int liveCleared = 0;
  CProfilePage page{ctx, clock, ProfilePageHooks{{}, [this] { ++liveCleared; }}};

  void Store(const StationProfile& p) { ASSERT_TRUE(store.WriteProfile(p)); }
  StationProfile Profile(std::string name, std::string ssid) {
    StationProfile p;
    p.name = std::move(name);
    p.ssid = std::move(ssid);
    return p;
  }
  const std::vector<ListRow>& Rows() { return page.Control(prof::kList).rows; }
  void SelectRow(int row) { page.Control(prof::kList).selection = row; }
  std::string Live(const char* value) { return reg.GetSz(kEditorRoot, value); }
};

TEST_F(ProfilePageTest, RowsShowTheStoredValuesAndCorrectChannels) {
  StationProfile open = Profile("Office", "");
  open.use8021x = 1;
  open.channel = 40;  // never shown for infrastructure, still corrected
  Store(open);
  StationProfile adhoc = Profile("Peer", "PeerNet");
  adhoc.networkType = 0;
  adhoc.channel = 13;  // not in region 0 (1 to 11)
  adhoc.authenType = kAuthWpaNone;
  adhoc.encryption = kEncTkip;
  Store(adhoc);
  StationProfile leap = Profile("Corp", "CorpNet");
  leap.leapEnabled = 1;
  leap.encryption = kEncWep;
  Store(leap);

  page.OnInit();
  ASSERT_EQ(Rows().size(), 3u);
  EXPECT_EQ(Rows()[0].cells, (Items{"Corp", "CorpNet", "Auto", "LEAP ", "WEP", "Infrastructure"}));
  EXPECT_EQ(Rows()[1].cells, (Items{"Office", "ANY", "Auto", "Open - Use 802.1X", "None", "Infrastructure"}));
  EXPECT_EQ(Rows()[2].cells, (Items{"Peer", "PeerNet", "1", "WPA-NONE ", "TKIP", "Ad hoc"}));
  EXPECT_EQ(Sz("Peer", "Channel"), "1");
  EXPECT_EQ(Sz("Office", "Channel"), "1");
  EXPECT_EQ(page.Control(prof::kList).columns[1].width, 98);  // 470 / 10 x 2.1
  EXPECT_TRUE(page.Control(prof::kEdit).enabled);
}

// The list's look: icons 174 and 185 as images 0 and 1, its extended styles, and column widths
// from the width the view measures.
TEST_F(ProfilePageTest, ListMarksWithItsTwoIconsAndFitsItsWidth) {
  page.OnInit();
  const ControlState& list = page.Control(prof::kList);
  ASSERT_EQ(list.listImages.size(), 2u);
  EXPECT_EQ(list.listImages[CProfilePage::kImageConnected], 174u);
  EXPECT_EQ(list.listImages[CProfilePage::kImageIdle], 185u);
  EXPECT_EQ(list.listStyle & 0x121u, 0x121u);  // grid lines, full-row select, flat scroll bars
  EXPECT_TRUE(list.listStyle & 0x400u);        // info tips for names cut short
  page.OnListWidth(prof::kList, 587);
  EXPECT_EQ(list.columns[0].width, 98);   // 587 / 10 = 58, x 1.7
  EXPECT_EQ(list.columns[1].width, 121);  // 58 x 2.1
  EXPECT_EQ(list.columns[5].width, 98);
  page.OnInit();  // opened again: the measured width stays
  EXPECT_EQ(page.Control(prof::kList).columns[1].width, 121);
}

TEST_F(ProfilePageTest, NothingSelectedSaysSo) {
  Store(Profile("Office", "OfficeNet"));
  page.OnInit();
  for (int button : {prof::kEdit, prof::kDelete, prof::kActivate}) Click(page, button);
  EXPECT_EQ(Boxes(), (Items{"No selected item", "No selected item", "No selected item"}));
  EXPECT_TRUE(ui.modalTemplates.empty());
}

TEST_F(ProfilePageTest, AddAppendsTheNewRowAndSelectsIt) {
  Store(Profile("Office", "OfficeNet"));
  page.OnInit();
  ui.onModal = [this](DialogModel& m) {
    auto& sheet = static_cast<CProfileSheet&>(m);
    Type(sheet.ConfigPage(), scfg::kSsid, "Cafe");
    return sheet.OnOk() ? kIdOk : kIdCancel;
  };
  Click(page, prof::kAdd);
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[1].cells[0], "PROF1");
  EXPECT_EQ(Rows()[1].cells[1], "Cafe");
  EXPECT_EQ(page.Control(prof::kList).selection, 1);

  ui.onModal = [](DialogModel&) { return kIdCancel; };
  EXPECT_FALSE(page.AddProfile("X", kEncNone, kAuthOpen, 1, 1));
  EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(ProfilePageTest, EditRewritesOrAppendsAndReactivatesTheActiveProfile) {
  Store(Profile("Office", "OfficeNet"));
  ASSERT_TRUE(store.SelectProfile("Office", false));
  activations.clear();
  page.OnInit();
  EXPECT_EQ(page.ActiveName(), "Office");
  SelectRow(0);
  ui.onModal = [this](DialogModel& m) {
    auto& sheet = static_cast<CProfileSheet&>(m);
    Type(sheet.ConfigPage(), scfg::kSsid, "NewNet");
    return sheet.OnOk() ? kIdOk : kIdCancel;
  };
  page.OnCommand(prof::kList, UiEvent::DoubleClicked);
  EXPECT_EQ(Rows()[0].cells[1], "NewNet");
  EXPECT_EQ(activations, std::vector<bool>{false});
  EXPECT_EQ(Live("SSID"), "NewNet");

  ui.onModal = [this](DialogModel& m) {
    auto& sheet = static_cast<CProfileSheet&>(m);
    Type(sheet.ConfigPage(), scfg::kName, "Office copy");
    return sheet.OnOk() ? kIdOk : kIdCancel;
  };
  ui.answers = {kIdOk};
  Click(page, prof::kEdit);
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[1].cells[0], "Office copy");
  EXPECT_EQ(activations.size(), 1u);
}

TEST_F(ProfilePageTest, DeletingTheActiveProfileAsksThenClearsTheLiveValues) {
  StationProfile home = Profile("Home", "HomeNet");
  home.authenType = kAuthWpa2Psk;
  home.encryption = kEncAes;
  home.wpaPsk = "correct horse battery";
  Store(home);
  Store(Profile("Office", "OfficeNet"));
  ASSERT_TRUE(store.SelectProfile("Home", false));
  activations.clear();
  page.OnInit();
  SelectRow(0);

  ui.answers = {kIdCancel};
  Click(page, prof::kDelete);
  EXPECT_EQ(Boxes(), Items{"The profile to delete is currently in use."});
  EXPECT_EQ(Rows().size(), 2u);
  EXPECT_TRUE(activations.empty());

  ui.answers = {kIdOk};
  Click(page, prof::kDelete);
  EXPECT_EQ(store.ListProfiles(), Items{"Office"});
  EXPECT_EQ(Live("SSID"), "");
  EXPECT_EQ(Live("AuthenType"), "0");
  EXPECT_EQ(Live("Encryption"), "1");
  EXPECT_EQ(Live("NetworkType"), "1");
  EXPECT_EQ(activations, std::vector<bool>{false});
  EXPECT_EQ(liveCleared, 1);
  EXPECT_EQ(page.ActiveName(), "");
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(page.Control(prof::kList).selection, 0);

  Click(page, prof::kDelete);  // not active: no question, the live values stay
  EXPECT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(liveCleared, 1);
  EXPECT_TRUE(Rows().empty());
  EXPECT_FALSE(page.Control(prof::kDelete).enabled);
  EXPECT_FALSE(page.Control(prof::kEdit).enabled);
  EXPECT_FALSE(page.Control(prof::kActivate).enabled);
}

// A: the active LEAP profile is deleted. B: QuickSecure's profile of eight values is selected
// after it. No credential of the LEAP profile stays live (nor, after A, in "Default") or reaches
// the driver, and B joins with WPA-PSK, not with LEAP's WEP.
TEST_F(ProfilePageTest, NoCredentialOfAnotherProfileStaysLiveOrReachesTheDriver) {
  const std::string quick = std::string(kEditorRoot) + "\\Profile\\Station\\Quick_AutoSecu";
  const std::string defaults = std::string(kEditorRoot) + "\\Default";
  for (auto [name, value] : {std::pair{"SSID", "Quick"},
                             {"NetworkType", "1"},
                             {"AuthenType", "4"},
                             {"Encryption", "4"},
                             {"WPAPSK", "quick pass phrase"},
                             {"TunnelProtocol", "3"},
                             {"PreambleType", "2"},
                             {"AuthenProtocol", "0"}})
    reg.SetSz(quick, name, value);
  const std::vector<std::string> secrets = {"leap-user", "leap-secret", "psk-secret", "dot1x-secret",
                                            "0123456789"};
  for (bool deleteIt : {true, false}) {
    StationProfile leap = Profile("Leap", "LeapNet");
    leap.leapEnabled = 1;
    std::tie(leap.leapUserName, leap.leapPassword, leap.wpaPsk, leap.password, leap.wepKey[0]) =
        std::tie(secrets[0], secrets[1], secrets[2], secrets[3], secrets[4]);
    Store(leap);
    ASSERT_TRUE(store.SelectProfile("Leap", false));
    reg.CreateKey(Hklm(defaults));  // as the last exit left it
    CopyKeyValues(reg, Hklm(kEditorRoot), Hklm(defaults));
    page.OnInit();
    adapter.ClearOidLog();
    if (deleteIt) {
      SelectRow(0);
      ui.answers = {kIdOk};
      Click(page, prof::kDelete);
    } else {
      ASSERT_TRUE(store.SelectProfile("Quick_AutoSecu", true));
      EXPECT_EQ(link.LastActivation()->authMode, uint32_t(kAuthWpaPsk));
      EXPECT_EQ(link.LastActivation()->encryption, uint32_t(kEncTkipEnabled));
    }
    auto values = reg.Values(kEditorRoot);
    if (deleteIt)
      for (auto& v : reg.Values(defaults)) values.push_back(v);
    for (const std::string& secret : secrets) {
      for (const auto& [name, v] : values) EXPECT_EQ(v.text.find(secret), std::string::npos) << name;
      for (const auto& e : adapter.OidLog())
        EXPECT_EQ(std::search(e.data.begin(), e.data.end(), secret.begin(), secret.end()), e.data.end())
            << secret;
    }
    EXPECT_EQ(Live("LeapEnabled"), "0");
  }
}

TEST_F(ProfilePageTest, AddRefusedAtAnyWriteKeepsTheEditorOpenAndAddsNothing) {
  Store(Profile("Office", "OfficeNet"));
  page.OnInit();
  ui.onModal = [](DialogModel& d) { return static_cast<ProfileSheetBase&>(d).Ok() ? kIdOk : kIdCancel; };
  for (int n = 1; n <= static_cast<int>(ProfileValues(StationProfile{}).size()); ++n) {
    reg.FailWrite(n);
    ui.boxes.clear();
    EXPECT_FALSE(page.AddProfile("New", kEncNone, kAuthOpen, 1, 1)) << n;  // OK refused: Cancel
    EXPECT_EQ(Boxes(), Items{strings.Get(IDS_PROFILE_NOT_SAVED)}) << n;
    EXPECT_TRUE(store.ListProfiles() == Items{"Office"} && Rows().size() == 1u) << n;
  }
}

// With a screen reader the icon is said in words too, in a last column.
TEST_F(ProfilePageTest, ActivateAndTheStatusIcon) {
  facts.screenReader = true;
  auto status = [&](CProfilePage& p, size_t row) { return p.Control(prof::kList).rows[row].cells.at(6); };
  StationProfile home = Profile("Home", "HomeNet");
  home.authenType = kAuthWpa2Psk;
  home.encryption = kEncAes;
  home.wpaPsk = "correct horse battery";
  Store(home);
  Store(Profile("Any", ""));
  bool byHand = false;
  CProfilePage p{ctx, clock, ProfilePageHooks{[&] { byHand = true; }, {}}};
  p.OnInit();
  p.Control(prof::kList).selection = 1;  // "Home" after "Any"
  Click(p, prof::kActivate);
  EXPECT_TRUE(byHand);
  EXPECT_EQ(p.ActiveName(), "Home");
  adapter.Tick();
  clock.Advance(CProfilePage::kStatusTimerMs);
  ASSERT_TRUE(adapter.State().associated);
  EXPECT_EQ(p.Control(prof::kList).rows[1].image, CProfilePage::kImageConnected);
  EXPECT_EQ(p.Control(prof::kList).rows[0].image, -1);
  EXPECT_EQ(status(p, 1) + "|" + status(p, 0), "Connected|");

  // A profile of another network is active while the adapter stays with this one.
  reg.SetSz(kEditorRoot, "CurProfile", "Other");
  Store(Profile("Other", "OfficeNet"));
  p.FillList();
  EXPECT_EQ(p.ActiveName(), "Other");
  p.RefreshStatusIcon();
  EXPECT_EQ(p.Control(prof::kList).rows[2].image, CProfilePage::kImageIdle);
  EXPECT_EQ(status(p, 2), "Active");
  // A profile without SSID counts as connected to whatever the adapter joined.
  reg.SetSz(kEditorRoot, "CurProfile", "Any");
  p.FillList();
  p.RefreshStatusIcon();
  EXPECT_EQ(p.Control(prof::kList).rows[0].image, CProfilePage::kImageConnected);
  EXPECT_EQ(status(p, 0) + "|" + status(p, 2), "Connected|");
}

}  // namespace
}  // namespace vx
