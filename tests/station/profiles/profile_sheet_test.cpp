// The authentication and security page and the two editor sheets: lists, rules, the checks at
// OK in their order, the rename and duplicate rules and what ends up stored.
#include "editor_fixture.h"
#include "fakes/code_page_strings.h"

#include "resources/string_ids.h"
#include "station/dot1x/dot1x_sheet.h"

namespace vx {
namespace {

using Items = std::vector<std::string>;

class AuthSecuTest : public EditorFixture {
 protected:
  int networkType = 1;
  bool library = true;
  int os = 7;
  CAuthSecuPage page{strings, ui, certs,
                     AuthSecuHooks{[this] { return networkType; }, [this] { return library; }, [this] { return os; }, {}}};

  void Open(const StationProfile& p = {}) {
    page.Load(p);
    page.OnInit();
  }
  StationProfile Stored() const {
    StationProfile p;
    page.CopyTo(p);
    return p;
  }
};

TEST_F(AuthSecuTest, ListsFollowNetworkTypeLibraryAndSystem) {
  Open();
  EXPECT_EQ(page.Control(asec::kAuth).items,
            (Items{"Open", "Shared", "LEAP", "WPA", "WPA-PSK", "WPA2", "WPA2-PSK"}));
  EXPECT_EQ(page.Control(asec::kEnc).items, (Items{"None", "WEP"}));

  library = false;
  page.OnSetActive();
  EXPECT_EQ(page.Control(asec::kAuth).items, (Items{"Open", "Shared", "LEAP"}));
  EXPECT_FALSE(page.Control(asec::kUse8021x).visible);

  library = true;
  networkType = 0;
  page.OnSetActive();
  EXPECT_EQ(page.Control(asec::kAuth).items, (Items{"Open", "Shared", "WPA-NONE"}));
  Choose(page, asec::kAuth, 2);
  EXPECT_EQ(page.Control(asec::kEnc).items, (Items{"TKIP", "AES"}));
  EXPECT_TRUE(page.Control(asec::kPsk).enabled);
  EXPECT_EQ(Stored().authenType, 5);
}

TEST_F(AuthSecuTest, WithoutWpa2TheWpaEntriesStandIn) {
  os = 9;
  StationProfile p;
  p.authenType = kAuthWpa2Psk;
  p.encryption = kEncAes;
  p.wpaPsk = "passphrase";
  Open(p);
  EXPECT_EQ(page.Control(asec::kAuth).items.size(), 5u);
  EXPECT_EQ(page.Control(asec::kAuth).selection, 4);
  EXPECT_EQ(page.Control(asec::kEnc).selection, 1);
  EXPECT_EQ(Stored().authenType, 4);
  EXPECT_EQ(Stored().encryption, kEncAes);
}

TEST_F(AuthSecuTest, SharedKeepsWepAloneAndChecksTheDefaultKey) {
  Open();
  Choose(page, asec::kAuth, 1);
  EXPECT_EQ(page.Control(asec::kEnc).items, (Items{"WEP"}));
  EXPECT_EQ(page.EncryptionIndex(), 1);
  EXPECT_TRUE(page.Control(asec::kKeyHex[0]).enabled);
  EXPECT_FALSE(page.ValidateSecurity(false));
  EXPECT_EQ(Boxes(), Items{"WEP key requires 10 or 26 Hex characters."});
  Type(page, asec::kKeyHex[0], "0A1B2C3D4E");
  EXPECT_EQ(page.KeyText(0), "0a1b2c3d4e");  // hex keys are kept in lower case
  EXPECT_TRUE(page.ValidateSecurity(false));
  EXPECT_EQ(Stored().encryption, kEncWep);
  EXPECT_EQ(Stored().authenType, kAuthShared);
}

TEST_F(AuthSecuTest, PreSharedKeyLengthsAndDigits) {
  Open();
  Choose(page, asec::kAuth, 4);
  EXPECT_TRUE(page.Control(asec::kPsk).enabled);
  EXPECT_FALSE(page.Control(asec::kKeyHex[0]).enabled);
  EXPECT_FALSE(page.Control(asec::kUse8021x).visible);
  const std::string hex64(64, 'a');
  const struct {
    std::string psk;
    bool ok;
  } cases[] = {{"1234567", false}, {"12345678", true}, {std::string(63, '~'), true},
               {hex64, true},      {hex64.substr(0, 63) + "g", false}};
  for (const auto& c : cases) {
    ui.boxes.clear();
    Type(page, asec::kPsk, c.psk);
    EXPECT_EQ(page.ValidateSecurity(false), c.ok) << c.psk;
    if (!c.ok) {
      EXPECT_EQ(Boxes(), Items{strings.Get(IDS_INVALID_WPA_PSK)});
    }
  }
  Type(page, asec::kPsk, std::string(70, 'b'));  // the edit holds 64 at most
  EXPECT_EQ(page.Control(asec::kPsk).text.size(), 64u);
}

TEST_F(AuthSecuTest, KeySizeCutsBothForms) {
  StationProfile p;
  p.encryption = kEncWep;
  p.wepKey[1] = std::string(26, 'c');
  Open(p);
  EXPECT_EQ(page.Control(asec::kKeySize[1]).selection, 1);
  Choose(page, asec::kKeyType[1], 1);
  Type(page, asec::kKeyAscii[1], "abcdefghijklm");
  EXPECT_TRUE(page.Control(asec::kKeyAscii[1]).visible);
  EXPECT_FALSE(page.Control(asec::kKeyHex[1]).visible);
  Choose(page, asec::kKeySize[1], 0);
  EXPECT_EQ(page.Control(asec::kKeyAscii[1]).text, "abcde");
  EXPECT_EQ(page.Control(asec::kKeyHex[1]).text, std::string(10, 'c'));
}

TEST_F(AuthSecuTest, WepKeysOtherThanTheDefault) {
  StationProfile p;
  p.encryption = kEncWep;
  p.wepKey[0] = "0123456789";
  Open(p);
  EXPECT_TRUE(page.ValidateSecurity(false));  // empty other keys pass
  Choose(page, asec::kKeyType[2], 1);
  Type(page, asec::kKeyAscii[2], "abcdefg");
  EXPECT_EQ(page.Control(asec::kKeyAscii[2]).text, "abcde");  // 64 bits: cut to 5
  Choose(page, asec::kKeySize[2], 1);
  Type(page, asec::kKeyAscii[2], "abcdefg");
  EXPECT_FALSE(page.ValidateSecurity(false));
  EXPECT_EQ(Boxes(), Items{"WEP key requires 5 or 13 characters.(Note: 1 character is 2 hex)"});
  Type(page, asec::kKeyAscii[2], "");
  Type(page, asec::kKeyHex[3], "01234567zz");
  ui.boxes.clear();
  EXPECT_FALSE(page.ValidateSecurity(false));  // digits that are not hex
  EXPECT_EQ(Boxes(), Items{"WEP key requires 10 or 26 Hex characters."});
  Type(page, asec::kKeyHex[3], "");
  // The connect sheet wants the default key as long as its size says.
  Choose(page, asec::kKeySize[0], 1);
  EXPECT_TRUE(page.ValidateSecurity(false));
  EXPECT_FALSE(page.ValidateSecurity(true));
}

TEST_F(AuthSecuTest, Dot1xSwitchAndSheet) {
  StationProfile p;
  p.encryption = kEncWep;
  Open(p);
  EXPECT_TRUE(page.Control(asec::kUse8021x).visible);
  EXPECT_EQ(page.Control(asec::kUse8021x).text, "U&se 802.1x");
  EXPECT_FALSE(page.Control(asec::k8021xSetting).enabled);
  Click(page, asec::kUse8021x);
  EXPECT_EQ(page.Control(asec::kUse8021x).text, "Disable 802.1x");
  EXPECT_TRUE(page.Control(asec::k8021xSetting).enabled);
  EXPECT_FALSE(page.Control(asec::kKeyHex[0]).enabled);  // PEAP brings its own keys
  // Keys are not checked then, but the 802.1X values are.
  EXPECT_FALSE(page.ValidateSecurity(false));
  EXPECT_EQ(Boxes(), Items{"Identity required in authentication setting!"});

  bool sawMd5 = false;
  ui.onModal = [&](DialogModel& m) {
    auto& sheet = static_cast<C8021xSheet&>(m);
    sawMd5 = sheet.AuthPage().Control(dauth::kMethod).items.size() == 4;
    Type(sheet.AuthPage(), dauth::kId, "alice");
    Type(sheet.AuthPage(), dauth::kTunnelId, "alice");
    Type(sheet.AuthPage(), dauth::kTunnelPassword, "wonderland");
    return sheet.OnOk() ? kIdOk : kIdCancel;
  };
  Click(page, asec::k8021xSetting);
  EXPECT_TRUE(sawMd5);  // plain 802.1X offers MD5
  EXPECT_EQ(page.Dot1x().id, "alice");
  ui.boxes.clear();
  EXPECT_TRUE(page.ValidateSecurity(false));
  EXPECT_EQ(Stored().use8021x, 1);

  Choose(page, asec::kAuth, 5);  // WPA2 sets 802.1X and opens the sheet in WPA mode
  EXPECT_TRUE(page.Use8021x());
  Click(page, asec::k8021xSetting);
  EXPECT_FALSE(sawMd5);
  Choose(page, asec::kAuth, 6);  // WPA2-PSK clears it
  EXPECT_FALSE(page.Use8021x());
  EXPECT_FALSE(page.Control(asec::k8021xSetting).enabled);
}

TEST_F(AuthSecuTest, LeapShowsOnlyItsCredentials) {
  Open();
  Choose(page, asec::kAuth, 2);
  EXPECT_TRUE(page.Control(asec::kLeapId).visible);
  EXPECT_FALSE(page.Control(asec::kEnc).visible);
  EXPECT_FALSE(page.Control(asec::kPsk).visible);
  EXPECT_FALSE(page.Control(asec::kKeyHex[0]).visible);
  EXPECT_FALSE(page.Control(asec::kLeapTkip).visible);
  StationProfile s = Stored();
  EXPECT_EQ(s.leapEnabled, 1);
  EXPECT_EQ(s.authenType, 0);
  EXPECT_EQ(s.encryption, kEncWep);
  EXPECT_EQ(s.use8021x, 0);
}

// ---- sheets

class ProfileSheetTest : public EditorFixture {
 protected:
  std::unique_ptr<CProfileSheet> Add(const std::string& ssid = "", int32_t net = 1) {
    auto sheet = CProfileSheet::ForAdd(ctx, ssid, kEncNone, kAuthOpen, net, 1);
    sheet->OnInit();
    return sheet;
  }
  std::unique_ptr<CProfileSheet> Edit(const std::string& name) {
    auto sheet = CProfileSheet::ForEdit(ctx, name);
    sheet->OnInit();
    return sheet;
  }
  void StoreProfile(const std::string& name, const std::string& ssid) {
    StationProfile p;
    p.name = name;
    p.ssid = ssid;
    ASSERT_TRUE(store.WriteProfile(p));
  }
};

TEST_F(ProfileSheetTest, AddProposesTheNextName) {
  EXPECT_EQ(Add()->ConfigPage().Control(scfg::kName).text, "PROF1");
  StoreProfile("PROF1", "a");
  StoreProfile("prof7", "b");
  StoreProfile("Office", "c");
  auto sheet = Add();
  EXPECT_EQ(sheet->ConfigPage().Control(scfg::kName).text, "PROF8");
  EXPECT_EQ(sheet->title, "Add Profile");
}

TEST_F(ProfileSheetTest, OkChecksInOrderAndStoresNothingOnFailure) {
  auto sheet = Add();
  CSysConfigPage& config = sheet->ConfigPage();
  CAuthSecuPage& security = sheet->SecurityPage();
  Type(config, scfg::kName, "   ");
  EXPECT_FALSE(sheet->OnOk());
  EXPECT_EQ(sheet->TakeFrontPageRequest(), &config);
  Type(config, scfg::kName, "Lab\\1");
  EXPECT_FALSE(sheet->OnOk());
  Type(config, scfg::kName, " Lab ");
  Choose(config, scfg::kNetworkType, 0);
  Type(config, scfg::kSsid, "");
  EXPECT_FALSE(sheet->OnOk());
  Type(config, scfg::kSsid, "LabNet");
  security.OnSetActive();            // the user turns to the security page
  Choose(security, asec::kAuth, 2);  // WPA-NONE in ad hoc, pass phrase missing
  EXPECT_FALSE(sheet->OnOk());
  EXPECT_EQ(sheet->TakeFrontPageRequest(), &security);
  EXPECT_EQ(Boxes(), (Items{"Please enter profile name", strings.Get(IDS_PROFILE_NAME_INVALID), "Please enter SSID",
                            strings.Get(IDS_INVALID_WPA_PSK)}));
  EXPECT_TRUE(store.ListProfiles().empty());

  Type(security, asec::kPsk, "labnet passphrase");
  ASSERT_TRUE(sheet->OnOk());
  EXPECT_EQ(store.ListProfiles(), Items{"Lab"});
  EXPECT_EQ(Sz("Lab", "AuthenType"), "5");
  EXPECT_EQ(Sz("Lab", "NetworkType"), "0");
  EXPECT_EQ(Sz("Lab", "SSID"), "LabNet");
  EXPECT_EQ(Sz("Lab", "Encryption"), "4");
  EXPECT_EQ(Sz("Lab", "WirelessMode"), "0");  // the advanced page wrote its values too
}

TEST_F(ProfileSheetTest, LeapNeedsNameAndPassword) {
  auto sheet = Add("Corp");
  CAuthSecuPage& security = sheet->SecurityPage();
  Choose(security, asec::kAuth, 2);
  Type(security, asec::kLeapId, "  erin  ");
  EXPECT_FALSE(sheet->OnOk());
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "ID and Password required for LEAP!");
  EXPECT_EQ(ui.boxes[0].flags, kMbIconError);
  ctx.toAnsi = AnsiIn(950);  // what the library's code page lacks is refused, not sent as a stand-in
  Type(security, asec::kLeapPassword, "\xED\x95\x9C");
  EXPECT_FALSE(sheet->OnOk() || store.ReadProfile("PROF1"));
  EXPECT_EQ(ui.boxes.back().text.substr(0, 36), "The identity or password holds chara");
  Type(security, asec::kLeapPassword, "leappass");
  ASSERT_TRUE(sheet->OnOk());
  EXPECT_EQ(Sz("PROF1", "LeapUserName"), "erin");
  EXPECT_EQ(Sz("PROF1", "LeapEnabled"), "1");
  EXPECT_EQ(Sz("PROF1", "Use8021X"), "0");
}

TEST_F(ProfileSheetTest, AdhocWpaPskIsStoredAsWpaNoneThenBackAsWpaPsk) {
  auto sheet = Add("Peer");
  Choose(sheet->SecurityPage(), asec::kAuth, 4);  // WPA-PSK, chosen in infrastructure
  Type(sheet->SecurityPage(), asec::kPsk, "peer passphrase");
  Choose(sheet->ConfigPage(), scfg::kNetworkType, 0);  // then ad hoc, security page not visited again
  ASSERT_TRUE(sheet->OnOk());
  EXPECT_EQ(Sz("PROF1", "AuthenType"), "5");

  auto edit = Edit("PROF1");
  EXPECT_EQ(edit->title, "Edit Profile");
  Choose(edit->ConfigPage(), scfg::kNetworkType, 1);
  ASSERT_TRUE(edit->OnOk());
  EXPECT_EQ(Sz("PROF1", "AuthenType"), "4");
}

TEST_F(ProfileSheetTest, RenameAsksAndLeavesTheFirstProfile) {
  StoreProfile("Office", "OfficeNet");
  StoreProfile("Home", "HomeNet");

  auto sheet = Edit("Office");
  Type(sheet->ConfigPage(), scfg::kName, "Office2");
  Type(sheet->ConfigPage(), scfg::kSsid, "Changed");
  ui.answers = {kIdCancel};
  EXPECT_FALSE(sheet->OnOk());
  EXPECT_EQ(sheet->TakeFrontPageRequest(), &sheet->ConfigPage());
  EXPECT_EQ(Boxes(), Items{"Create another profile?"});
  ui.answers = {kIdOk};
  ASSERT_TRUE(sheet->OnOk());
  EXPECT_EQ(Sz("Office", "SSID"), "OfficeNet");
  EXPECT_EQ(Sz("Office2", "SSID"), "Changed");

  ui.boxes.clear();
  auto caseOnly = Edit("Office");
  Type(caseOnly->ConfigPage(), scfg::kName, "OFFICE");
  Type(caseOnly->ConfigPage(), scfg::kSsid, "Again");
  ASSERT_TRUE(caseOnly->OnOk());
  EXPECT_TRUE(ui.boxes.empty());  // not a rename
  EXPECT_EQ(store.ListProfiles().size(), 3u);
  EXPECT_EQ(Sz("Office", "SSID"), "Again");

  auto duplicate = Edit("Office");
  Type(duplicate->ConfigPage(), scfg::kName, "home");
  ui.answers = {kIdOk};
  EXPECT_FALSE(duplicate->OnOk());
  EXPECT_EQ(Boxes().back(), "Duplicate profile name");
  EXPECT_EQ(Sz("Home", "SSID"), "HomeNet");
}

TEST_F(ProfileSheetTest, ConfigurationPageRules) {
  ssids = {"HomeNet", "", "HomeNet", "Office"};
  auto sheet = Add();
  CSysConfigPage& config = sheet->ConfigPage();
  EXPECT_EQ(config.Control(scfg::kSsid).items, (Items{"ANY", "HomeNet", "Office"}));
  EXPECT_EQ(config.Control(scfg::kSsid).text, "ANY");
  EXPECT_FALSE(config.Control(scfg::kPreamble).enabled);
  EXPECT_EQ(config.Control(scfg::kPreamble).selection, 0);
  EXPECT_FALSE(config.Control(scfg::kChannel).visible);

  Choose(config, scfg::kNetworkType, 0);
  EXPECT_TRUE(config.Control(scfg::kChannel).visible);
  EXPECT_TRUE(config.Control(scfg::kPreamble).enabled);
  EXPECT_FALSE(config.Control(scfg::kCam).enabled);
  EXPECT_EQ(config.Control(scfg::kChannel).items.size(), 11u);
  Choose(config, scfg::kChannel, 5);
  Choose(config, scfg::kPreamble, 1);

  Check(config, scfg::kUseRts, true);
  EXPECT_TRUE(config.Control(scfg::kRtsSlider).enabled);
  Type(config, scfg::kRts, "500");
  EXPECT_EQ(config.Control(scfg::kRtsSlider).position, 500);
  Check(config, scfg::kUseFrag, true);
  Check(config, scfg::kUseFrag, false);
  EXPECT_EQ(config.Control(scfg::kFrag).text, "2346");
  EXPECT_FALSE(config.Control(scfg::kFragSlider).enabled);

  ASSERT_TRUE(sheet->OnOk());
  EXPECT_EQ(Sz("PROF1", "SSID"), "ANY");  // as the field showed it
  EXPECT_EQ(Sz("PROF1", "Channel"), "6");
  EXPECT_EQ(Sz("PROF1", "PreambleType"), "0");
  EXPECT_EQ(Sz("PROF1", "RtsThresh"), "500");
  EXPECT_EQ(Sz("PROF1", "UseFrag"), "0");
  EXPECT_EQ(Sz("PROF1", "FragThresh"), "0");
}

// The SSID field shows a name of any bytes as the pages show network names; left alone, or chosen
// from the scanned names, it keeps the exact bytes, and typed text replaces them (32 bytes at
// most, never half a character). The name's limit counts characters.
TEST_F(ProfileSheetTest, AnSsidOfAnyBytesSurvivesTheEditor) {
  const std::string big5 = "\xB5\x4C\xBD\x75";
  const std::string ff(32, '\xFF');
  std::string ffShown;
  for (int i = 0; i < 32; ++i) ffShown += "\\xFF";
  StoreProfile("Raw", big5);
  ssids = {ff, "HomeNet"};
  auto sheet = Edit("Raw");
  CSysConfigPage& config = sheet->ConfigPage();
  EXPECT_EQ(config.Control(scfg::kSsid).text, "\\xB5L\\xBDu");
  EXPECT_EQ(config.Control(scfg::kSsid).items, (Items{ffShown, "HomeNet"}));
  Check(config, scfg::kUseRts, true);
  ASSERT_TRUE(sheet->OnOk());
  EXPECT_EQ(Sz("Raw", "SSID"), big5);

  auto chosen = Edit("Raw");
  Type(chosen->ConfigPage(), scfg::kSsid, ffShown);  // the list's entry, as the combo box sets it
  ASSERT_TRUE(chosen->OnOk());
  EXPECT_EQ(Sz("Raw", "SSID"), ff);

  auto typed = Edit("Raw");
  const std::string chinese40 = [] {
    std::string t;
    for (int i = 0; i < 40; ++i) t += "\xE7\x84\xA1";
    return t;
  }();
  Type(typed->ConfigPage(), scfg::kSsid, chinese40);
  Type(typed->ConfigPage(), scfg::kName, chinese40);
  ui.answers = {kIdOk};  // another profile, under the new name
  ASSERT_TRUE(typed->OnOk());
  EXPECT_EQ(Sz(chinese40.substr(0, 96), "SSID"), chinese40.substr(0, 30));  // ten whole characters
}

TEST_F(ProfileSheetTest, ConnectSheetHandsBackRawWepKeys) {
  CProfileSheet2 sheet(ctx, "Cafe", 1, kAuthOpen, kEncWep, 6);
  sheet.OnInit();
  EXPECT_EQ(sheet.title, "Security Profile");
  EXPECT_EQ(sheet.Pages().size(), 2u);
  CAuthSecuPage& security = sheet.SecurityPage();
  EXPECT_EQ(security.Control(asec::kEnc).selection, 1);
  Choose(security, asec::kKeySize[0], 1);
  Type(security, asec::kKeyHex[0], "0123456789");
  EXPECT_FALSE(sheet.OnOk());  // 128 bits chosen, 40 typed
  Choose(security, asec::kKeySize[0], 0);
  Choose(security, asec::kKeyType[1], 1);
  Type(security, asec::kKeyAscii[1], "abcde");
  ASSERT_TRUE(sheet.OnOk());
  EXPECT_TRUE(sheet.WepInUse());
  RawWepKey first{5, {0x01, 0x23, 0x45, 0x67, 0x89}};
  RawWepKey second{5, {'a', 'b', 'c', 'd', 'e'}};
  EXPECT_EQ(sheet.RawWepKeys()[0], first);
  EXPECT_EQ(sheet.RawWepKeys()[1], second);
  EXPECT_EQ(sheet.RawWepKeys()[2], RawWepKey{});
  EXPECT_EQ(Sz("Cafe", "SSID"), "Cafe");
  EXPECT_EQ(Sz("Cafe", "WEPKey2"), "6162636465");
  EXPECT_EQ(Sz("Cafe", "WEPKey2Type"), "1");
  EXPECT_EQ(sheet.Profile().name, "Cafe");
}

}  // namespace
}  // namespace vx
