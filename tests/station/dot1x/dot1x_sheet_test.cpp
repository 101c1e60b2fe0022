// The 802.1X settings: the checks in their order, the pages' method rules, the certificate
// choice, and a failed OK that keeps what was typed.
#include <gtest/gtest.h>

#include "fakes/fake_cert_store.h"
#include "fakes/scripted_ui.h"
#include "resources/string_ids.h"
#include "resources/strings/string_tables.h"
#include "station/dot1x/certificates.h"
#include "station/dot1x/dot1x_sheet.h"

namespace vx {
namespace {

using Page = Dot1xProblem::Page;

Dot1xSettings Peap() {
  Dot1xSettings s;
  s.authenProtocol = kEapPeap;
  s.tunnelProtocol = kTunnelMsChapV2;
  s.id = "alice";
  s.tunnelId = "alice";
  s.tunnelPassword = "wonderland";
  return s;
}

CertificateDescription Cert(std::string to, std::string by, std::vector<uint8_t> hash, std::string friendly = "") {
  return {std::move(to), std::move(by), "2030/1/1", std::move(friendly), std::move(hash)};
}

struct Case {
  const char* what;
  std::function<void(Dot1xSettings&)> change;
  uint32_t sheetMessage;  // 0: passes
  uint32_t profileMessage;
  Page page;
};

TEST(Dot1xChecks, FirstFailingRuleWinsInBothFlavours) {
  const Case cases[] = {
      {"complete PEAP", [](Dot1xSettings&) {}, 0, 0, Page::Authentication},
      {"no identity beats everything", [](Dot1xSettings& s) { s.id.clear(); s.tunnelPassword.clear(); },
       IDS_IDENTITY_REQUIRED, IDS_IDENTITY_REQUIRED, Page::Authentication},
      {"PEAP MS-CHAP-V2 without tunnel password", [](Dot1xSettings& s) { s.tunnelPassword.clear(); },
       IDS_TUNNEL_ID_AND_PASSWORD_REQUIRED, IDS_TUNNEL_ID_AND_PASSWORD_REQUIRED, Page::Authentication},
      {"TTLS with any inner method needs both",
       [](Dot1xSettings& s) { s.authenProtocol = kEapTtls; s.tunnelProtocol = kTunnelPap; s.tunnelId.clear(); },
       IDS_TUNNEL_ID_AND_PASSWORD_REQUIRED, IDS_TUNNEL_ID_AND_PASSWORD_REQUIRED, Page::Authentication},
      {"PEAP EAP-TLS without tunnel identity",
       [](Dot1xSettings& s) { s.tunnelProtocol = kTunnelEapTls; s.tunnelId.clear(); s.clientCert = {1}; },
       IDS_TUNNEL_ID_REQUIRED, IDS_IDENTITY_REQUIRED, Page::Authentication},
      {"PEAP EAP-TLS without certificate",
       [](Dot1xSettings& s) { s.tunnelProtocol = kTunnelEapTls; s.tunnelPassword.clear(); },
       IDS_SELECT_CLIENT_CERT, IDS_SELECT_CLIENT_CERT, Page::Authentication},
      {"GTC static password missing",
       [](Dot1xSettings& s) { s.tunnelProtocol = kTunnelGtc; s.passwordMode = kPasswordStatic; s.tunnelPassword.clear(); },
       IDS_TUNNEL_ID_AND_PASSWORD_REQUIRED, IDS_TUNNEL_ID_AND_PASSWORD_REQUIRED, Page::Authentication},
      {"GTC soft token needs no password",
       [](Dot1xSettings& s) { s.tunnelProtocol = kTunnelGtc; s.passwordMode = kPasswordSoftToken; s.tunnelPassword.clear(); },
       0, 0, Page::Authentication},
      {"MD5 without password", [](Dot1xSettings& s) { s.authenProtocol = kEapMd5; },
       IDS_MD5_PASSWORD_REQUIRED, IDS_MD5_PASSWORD_REQUIRED, Page::Authentication},
      {"MD5 ignores the server checks",
       [](Dot1xSettings& s) { s.authenProtocol = kEapMd5; s.password = "x"; s.useServerCert = true; },
       0, 0, Page::Authentication},
      {"TLS without certificate", [](Dot1xSettings& s) { s.authenProtocol = kEapTls; },
       IDS_SELECT_CLIENT_CERT, IDS_SELECT_CLIENT_CERT, Page::Authentication},
      {"server check without name", [](Dot1xSettings& s) { s.useServerCert = true; },
       IDS_SERVER_ID_REQUIRED, IDS_IDENTITY_REQUIRED, Page::CaServer},
      {"domain rule, no dot",
       [](Dot1xSettings& s) { s.useServerCert = true; s.nameRule = kNameRuleDomain; s.serverName = "corp"; },
       IDS_INVALID_DOMAIN_NAME, IDS_8021X_INVALID_DOMAIN, Page::CaServer},
      {"domain rule, only dot last",
       [](Dot1xSettings& s) { s.useServerCert = true; s.nameRule = kNameRuleDomain; s.serverName = "corp."; },
       IDS_INVALID_DOMAIN_NAME, IDS_8021X_INVALID_DOMAIN, Page::CaServer},
      {"domain rule, leading dot",
       [](Dot1xSettings& s) { s.useServerCert = true; s.nameRule = kNameRuleDomain; s.serverName = ".corp.com"; },
       IDS_INVALID_DOMAIN_NAME, IDS_8021X_INVALID_DOMAIN, Page::CaServer},
      {"domain rule, dot inside",
       [](Dot1xSettings& s) { s.useServerCert = true; s.nameRule = kNameRuleDomain; s.serverName = "corp.com"; },
       0, 0, Page::CaServer},
      {"exact rule takes any name",
       [](Dot1xSettings& s) { s.useServerCert = true; s.serverName = "radius"; }, 0, 0, Page::CaServer},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dot1xSettings s = Peap();
    c.change(s);
    auto sheet = CheckSheetValues(s);
    auto profile = Validate8021X(s);
    EXPECT_EQ(sheet ? sheet->messageId : 0u, c.sheetMessage);
    EXPECT_EQ(profile ? profile->messageId : 0u, c.profileMessage);
    if (sheet) {
      EXPECT_EQ(sheet->page, c.page);
      EXPECT_TRUE(sheet->errorIcon);  // the sheet's boxes all carry the stop icon
    }
    if (profile) {
      EXPECT_EQ(profile->errorIcon, profile->messageId == IDS_8021X_INVALID_DOMAIN);
    }
  }
}

TEST(CertificateTexts, LinesAndListNames) {
  const StringTable& en = EnglishStrings();
  auto none = CertificateLines(en, std::nullopt);
  EXPECT_EQ(none[0], "Issued To : ");
  EXPECT_EQ(none[3], "Friendly Name : ");
  auto some = CertificateLines(en, Cert("alice", "Corp CA", {1, 2}));
  EXPECT_EQ(some[0], "Issued To : alice");
  EXPECT_EQ(some[1], "Issued By : Corp CA");
  EXPECT_EQ(some[2], "Expired On : 2030/1/1");
  EXPECT_EQ(some[3], "Friendly Name : ");
  EXPECT_EQ(CertificateListName(Cert("", "x", {1}, "Backup root")), "Backup root");
  EXPECT_EQ(KeptHash(std::vector<uint8_t>(200, 7)).size(), kMaxCertificateBytes);
}

class Dot1xSheetTest : public ::testing::Test {
 protected:
  const StringTable& strings = EnglishStrings();
  ScriptedUi ui;
  FakeCertStore certs;

  void SetUp() override {
    certs.stores[CertStoreName::My] = {Cert("alice", "Corp CA", {0xA1}), Cert("bob", "Corp CA", {0xB2})};
    certs.stores[CertStoreName::Root] = {Cert("Corp CA", "Corp CA", {0xCA}), Cert("", "Other", {0xCB}, "Backup root")};
  }
  std::unique_ptr<C8021xSheet> Open(Dot1xSettings s, bool wpa = false) {
    auto sheet = std::make_unique<C8021xSheet>(strings, ui, certs, std::move(s), wpa);
    sheet->OnInit();
    return sheet;
  }
  static void Select(DialogModel& page, int id, int index) {
    page.Control(id).selection = index;
    page.OnCommand(id, UiEvent::SelectionChanged);
  }
};

TEST_F(Dot1xSheetTest, WpaProfilesNeverOfferMd5) {
  Dot1xSettings s = Peap();
  s.authenProtocol = kEapMd5;
  auto wpa = Open(s, true);
  EXPECT_EQ(wpa->AuthPage().Control(dauth::kMethod).items,
            (std::vector<std::string>{"PEAP", "TLS/Smart Card", "TTLS"}));
  EXPECT_EQ(wpa->AuthPage().Method(), kEapPeap);
  auto plain = Open(s, false);
  EXPECT_EQ(plain->AuthPage().Control(dauth::kMethod).items.size(), 4u);
  EXPECT_EQ(plain->AuthPage().Method(), kEapMd5);
}

TEST_F(Dot1xSheetTest, MethodRulesFollowEveryChange) {
  Dot1xSettings s = Peap();
  s.useServerCert = true;
  s.sessionResumption = 2;
  auto sheet = Open(s);
  C8021xAuthPage& auth = sheet->AuthPage();
  C8021xCaServerPage& ca = sheet->CaPage();
  EXPECT_EQ(auth.Control(dauth::kProtocol).items,
            (std::vector<std::string>{"EAP-MSCHAP v2", "EAP-TLS/Smart card", "Generic Token Card"}));
  EXPECT_FALSE(auth.Control(dauth::kPassword).enabled);
  EXPECT_FALSE(auth.Control(dauth::kPasswordMode).visible);

  Select(auth, dauth::kProtocol, 2);  // GTC
  EXPECT_TRUE(auth.Control(dauth::kPasswordMode).visible);
  Select(auth, dauth::kProtocol, 1);  // EAP-TLS: certificate required, no tunnel password
  EXPECT_TRUE(auth.Control(dauth::kUseClientCert).checked);
  EXPECT_TRUE(auth.Control(dauth::kMore).enabled);
  EXPECT_FALSE(auth.Control(dauth::kTunnelPassword).enabled);

  Select(auth, dauth::kMethod, 3);  // MD5
  EXPECT_FALSE(auth.Control(dauth::kResume).visible);
  EXPECT_EQ(auth.Control(dauth::kResume).selection, 0);
  EXPECT_TRUE(auth.Control(dauth::kPassword).enabled);
  EXPECT_FALSE(auth.Control(dauth::kTunnelId).enabled);
  EXPECT_FALSE(auth.Control(dauth::kMore).enabled);
  EXPECT_FALSE(ca.Control(dca::kUseChain).checked);
  EXPECT_FALSE(ca.Control(dca::kUseChain).enabled);
  EXPECT_FALSE(ca.Control(dca::kServerName).enabled);

  Select(auth, dauth::kMethod, 2);  // TTLS: its own inner list
  EXPECT_EQ(auth.Control(dauth::kProtocol).items.front(), "CHAP");
  EXPECT_TRUE(ca.Control(dca::kUseChain).enabled);
}

TEST_F(Dot1xSheetTest, CaPageListsRootsAndFallsBackToAnyTrustedCa) {
  Dot1xSettings s = Peap();
  s.useServerCert = true;
  s.serverCert = {0xCB};
  auto sheet = Open(s);
  const ControlState& issuer = sheet->CaPage().Control(dca::kIssuer);
  EXPECT_EQ(issuer.items, (std::vector<std::string>{"- Any Trusted CA -", "Corp CA", "Backup root"}));
  EXPECT_EQ(issuer.selection, 2);

  s.serverCert = {0x99};  // no longer in the store
  EXPECT_EQ(Open(s)->CaPage().Control(dca::kIssuer).selection, 0);

  certs.unreadable[CertStoreName::Root] = true;
  EXPECT_EQ(Open(s)->CaPage().Control(dca::kIssuer).items.size(), 1u);
}

TEST_F(Dot1xSheetTest, OkStoresTheChosenValues) {
  Dot1xSettings s = Peap();
  s.serverCert = {0xCA};
  auto sheet = Open(s);
  C8021xCaServerPage& ca = sheet->CaPage();
  ca.Control(dca::kUseChain).checked = true;
  ca.OnCommand(dca::kUseChain, UiEvent::Clicked);
  EXPECT_TRUE(ca.Control(dca::kServerName).enabled);
  ca.Control(dca::kServerName).text = "  radius.corp.com ";
  ca.Control(dca::kRuleExact).checked = false;
  ca.Control(dca::kRuleDomain).checked = true;
  ca.Control(dca::kIssuer).selection = 0;  // any trusted CA
  sheet->AuthPage().Control(dauth::kTunnelId).text = "inner";
  ASSERT_TRUE(sheet->OnOk());
  EXPECT_TRUE(sheet->Values().useServerCert);
  EXPECT_TRUE(sheet->Values().serverCert.empty());
  EXPECT_EQ(sheet->Values().serverName, "radius.corp.com");
  EXPECT_EQ(sheet->Values().nameRule, kNameRuleDomain);
  EXPECT_EQ(sheet->Values().tunnelId, "inner");
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Dot1xSheetTest, FailedOkKeepsTheSheetAndWhatWasTyped) {
  auto sheet = Open(Peap());
  C8021xCaServerPage& ca = sheet->CaPage();
  ca.Control(dca::kUseChain).checked = true;
  ca.OnCommand(dca::kUseChain, UiEvent::Clicked);
  sheet->AuthPage().Control(dauth::kId).text = "typed";
  EXPECT_FALSE(sheet->OnOk());
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Server Identity required for TLS/TTLS/PEAP server verification!");
  EXPECT_EQ(ui.boxes[0].flags, kMbIconError);
  EXPECT_EQ(sheet->TakeFrontPageRequest(), &ca);
  EXPECT_EQ(sheet->Values(), Peap());  // nothing taken over
  EXPECT_EQ(sheet->AuthPage().Control(dauth::kId).text, "typed");
}

TEST_F(Dot1xSheetTest, MoreChoosesAClientCertificate) {
  Dot1xSettings s = Peap();
  s.authenProtocol = kEapTls;
  s.clientCert = {0xA1};
  auto sheet = Open(s);
  C8021xAuthPage& auth = sheet->AuthPage();
  EXPECT_EQ(auth.Control(dauth::kCertLines[0]).text, "Issued To : alice");

  ui.onModal = [](DialogModel& m) {
    auto& dialog = static_cast<CSelectCertificateDialog&>(m);
    EXPECT_EQ(dialog.Control(kIdcCertificateList).selection, 0);  // the current one
    EXPECT_EQ(dialog.Control(kIdcCertificateList).rows.size(), 2u);
    dialog.Control(kIdcCertificateList).selection = 1;
    return dialog.OnOk() ? kIdOk : kIdCancel;
  };
  auth.OnCommand(dauth::kMore, UiEvent::Clicked);
  EXPECT_EQ(auth.Control(dauth::kCertLines[0]).text, "Issued To : bob");
  auth.Control(dauth::kId).text = "bob";
  ASSERT_TRUE(sheet->OnOk());
  EXPECT_EQ(sheet->Values().clientCert, std::vector<uint8_t>{0xB2});
  EXPECT_TRUE(sheet->Values().useClientCert);
}

TEST_F(Dot1xSheetTest, CertificateChoiceRefusesNothingAndHashlessRows) {
  CSelectCertificateDialog empty(strings, ui, {}, std::nullopt);
  empty.OnInit();
  EXPECT_FALSE(empty.OnOk());
  EXPECT_TRUE(ui.boxes.empty());

  CSelectCertificateDialog hashless(strings, ui, {Cert("x", "y", {})}, std::nullopt);
  hashless.OnInit();
  hashless.Control(kIdcCertificateList).selection = 0;
  EXPECT_FALSE(hashless.OnOk());
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Must select a Certificate!");
}

TEST_F(Dot1xSheetTest, UnreadablePersonalStoreIsSaidAndChangesNothing) {
  Dot1xSettings s = Peap();
  s.authenProtocol = kEapTls;
  s.clientCert = {0xA1};
  auto sheet = Open(s);
  certs.unreadable[CertStoreName::My] = true;
  sheet->AuthPage().OnCommand(dauth::kMore, UiEvent::Clicked);
  EXPECT_TRUE(ui.modalTemplates.empty());
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "The certificate store cannot be read.");
  ASSERT_TRUE(sheet->OnOk());
  // The stored certificate stays named even though it could not be looked up.
  EXPECT_EQ(sheet->Values().clientCert, std::vector<uint8_t>{0xA1});
}

}  // namespace
}  // namespace vx
