// Profiles made through the editor, activated from the list page, against the virtual adapter
// and its supplicant: what the adapter ends up associated with.
#include "editor_fixture.h"

#include "station/dot1x/dot1x_sheet.h"
#include "station/profiles/profile_page.h"

namespace vx {
namespace {

class EditorSimTest : public EditorFixture {
 protected:
  CProfilePage page{ctx, clock};

  // Adds a profile through the add sheet, driven by `fill`, and activates it.
  void AddAndActivate(const std::function<void(CProfileSheet&)>& fill) {
    page.OnInit();
    ui.onModal = [&](DialogModel& m) {
      auto& sheet = dynamic_cast<CProfileSheet&>(m);
      fill(sheet);
      return sheet.OnOk() ? kIdOk : kIdCancel;
    };
    ASSERT_TRUE(page.AddProfile("", kEncNone, kAuthOpen, 1, 1));
    ui.onModal = nullptr;
    Click(page, prof::kActivate);
    adapter.Tick();
  }
  static std::function<void(CProfileSheet&)> Wpa2Psk(std::string passphrase) {
    return [passphrase](CProfileSheet& s) {
      Type(s.ConfigPage(), scfg::kSsid, "HomeNet");
      Choose(s.SecurityPage(), asec::kAuth, 6);
      Choose(s.SecurityPage(), asec::kEnc, 1);
      Type(s.SecurityPage(), asec::kPsk, passphrase);
    };
  }
};

TEST_F(EditorSimTest, Wpa2PskProfileFromTheAddSheetAssociates) {
  AddAndActivate(Wpa2Psk("correct horse battery"));
  auto s = adapter.State();
  EXPECT_TRUE(s.associated);
  EXPECT_EQ(s.ssid, "HomeNet");
  EXPECT_EQ(s.authMode, kAuthWpa2Psk);
  EXPECT_EQ(s.encryption, kEncAesEnabled);
}

TEST_F(EditorSimTest, AWrongPassPhraseDoesNotAssociate) {
  AddAndActivate(Wpa2Psk("not the pass phrase"));
  EXPECT_FALSE(adapter.State().associated);
}

TEST_F(EditorSimTest, EditedAndDeletedActiveProfile) {
  AddAndActivate(Wpa2Psk("not the pass phrase"));
  ASSERT_FALSE(adapter.State().associated);
  ui.onModal = [](DialogModel& m) {
    auto& s = dynamic_cast<CProfileSheet&>(m);
    Type(s.SecurityPage(), asec::kPsk, "correct horse battery");
    return s.OnOk() ? kIdOk : kIdCancel;
  };
  Click(page, prof::kEdit);  // the active profile is applied again
  adapter.Tick();
  ASSERT_TRUE(adapter.State().associated);

  ui.answers = {kIdOk};
  Click(page, prof::kDelete);
  adapter.Tick();
  auto s = adapter.State();
  EXPECT_EQ(s.authMode, kAuthOpen);
  EXPECT_EQ(s.encryption, kEncDisabled);
  EXPECT_EQ(s.infrastructureMode, kInfraInfrastructure);
  EXPECT_NE(s.ssid, "HomeNet");
  EXPECT_TRUE(store.ListProfiles().empty());
}

TEST_F(EditorSimTest, PeapProfileReachesTheSupplicant) {
  AddAndActivate([this](CProfileSheet& s) {
    Type(s.ConfigPage(), scfg::kSsid, "CorpSecure");
    Choose(s.SecurityPage(), asec::kAuth, 5);  // WPA2
    Choose(s.SecurityPage(), asec::kEnc, 1);
    ui.onModal = [](DialogModel& m) {
      auto& dot1x = dynamic_cast<C8021xSheet&>(m);
      Type(dot1x.AuthPage(), dauth::kId, "alice");
      Type(dot1x.AuthPage(), dauth::kTunnelId, "alice");
      Type(dot1x.AuthPage(), dauth::kTunnelPassword, "wonderland");
      return dot1x.OnOk() ? kIdOk : kIdCancel;
    };
    Click(s.SecurityPage(), asec::k8021xSetting);
  });
  EXPECT_EQ(Sz("PROF1", "AuthenProtocol"), "0");
  EXPECT_EQ(Sz("PROF1", "TunnelID"), "alice");
  auto calls = supplicant.Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "ConfigPeap"), calls.end());
  auto s = adapter.State();
  EXPECT_TRUE(s.associated);
  EXPECT_EQ(s.ssid, "CorpSecure");
}

}  // namespace
}  // namespace vx
