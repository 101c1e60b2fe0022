// The configuration page and its security dialog: the lists by mode, the channel rule, the
// validation messages, what APPLY stores in which order and pushes, and the key forms.
#include <gtest/gtest.h>

#include "resources/dialogs/ap_config_page.h"
#include "resources/dialogs/ap_security_dialog.h"
#include "resources/string_ids.h"
#include "softap/ap_page_fixture.h"
#include "softap/config/config_page.h"

namespace vx {
namespace {

struct ConfigPageTest : ::testing::Test, test::ApPageFixture {
  std::unique_ptr<CConfigPage> page;
  void Open(bool usb = false) {
    page = std::make_unique<CConfigPage>(Context(usb));
    page->OnInit();
  }
  ControlState& C(int id) { return page->Control(id); }
  void Click(int id) { page->OnCommand(id, UiEvent::Clicked); }
  void SelectMode(int item) {
    C(kIdcApcWirelessMode).selection = item;
    page->OnCommand(kIdcApcWirelessMode, UiEvent::SelectionChanged);
  }
};

TEST_F(ConfigPageTest, GOnlyWithoutTheFiveGigahertzBandIsTheThirdItemWithNineRates) {
  Put("WirelessMode", "4");
  Put("Channel", "6");
  drv.AnswerU32(VX_OID_802_11_QUERY_PHY_MODE, 4);
  Open();
  EXPECT_EQ(C(kIdcApcWirelessMode).items.size(), 3u);
  EXPECT_EQ(C(kIdcApcWirelessMode).selection, 2);
  EXPECT_EQ(C(kIdcApcTxRate).items.size(), 9u);
  EXPECT_FALSE(C(kIdcApcProtection).enabled);
  EXPECT_EQ(C(kIdcApcChannel).items[static_cast<size_t>(C(kIdcApcChannel).selection)], "6");
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(C(kIdcApcAutoChannel).visible);
  Open(true);
  EXPECT_FALSE(C(kIdcApcAutoChannel).visible);  // USB adapters choose no channel at boot
  drv.AnswerU32(VX_OID_802_11_QUERY_PHY_MODE, 1);  // the driver's mode is shown
  Open();
  EXPECT_EQ(C(kIdcApcWirelessMode).selection, 1);
}

TEST_F(ConfigPageTest, BOnlyResetsA54MbpsRateToAuto) {
  Put("Channel", "6");
  Put("TransRate", "12");
  Open();
  EXPECT_EQ(C(kIdcApcTxRate).items.size(), 13u);
  EXPECT_EQ(C(kIdcApcTxRate).selection, 12);
  SelectMode(1);
  EXPECT_EQ(C(kIdcApcTxRate).items.size(), 5u);
  EXPECT_EQ(C(kIdcApcTxRate).selection, 0);
}

TEST_F(ConfigPageTest, AStoredChannelOutsideTheRegionShowsTheMessageAndSelectsTheFirst) {
  Put("Channel", "13");
  Open();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "Automatically set channel according to wireless mode and country region code."}));
  EXPECT_EQ(C(kIdcApcChannel).selection, 0);
  EXPECT_EQ(C(kIdcApcChannel).items.size(), 11u);
}

TEST_F(ConfigPageTest, AutoChannelDisablesTheChannelList) {
  Put("Channel", "6");
  Open();
  C(kIdcApcAutoChannel).checked = true;
  Click(kIdcApcAutoChannel);
  EXPECT_FALSE(C(kIdcApcChannel).enabled);
}

TEST_F(ConfigPageTest, ValidationStopsApplyBeforeAnythingIsStored) {
  Put("Channel", "6");
  Open();
  C(kIdcApcSsid).text = "";
  Click(kIdcApcApply);
  C(kIdcApcSsid).text = "Net";
  C(kIdcApcBeacon).text = "19";
  Click(kIdcApcApply);
  C(kIdcApcBeacon).text = "1x0";
  Click(kIdcApcApply);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Please enter SSID", "Please enter an integer between 20 and 1000.",
                                               "Please enter an integer between 20 and 1000."}));
  EXPECT_EQ(reg.GetSz(kMaster, "SSID"), "SoftAP-5A");
  EXPECT_TRUE(drv.SetOids().empty());
  C(kIdcApcSsid).text = std::string(40, 's');
  page->OnCommand(kIdcApcSsid, UiEvent::TextChanged);
  EXPECT_EQ(C(kIdcApcSsid).text.size(), 32u);
}

TEST_F(ConfigPageTest, ValidationMessagesComeFromTheTableInChinese) {
  Put("Channel", "6");
  page = std::make_unique<CConfigPage>(
      ApPageContext{reg, drv.channel, activation, ui, ChineseStrings(), [] { return std::string(kRoot); }, false});
  page->OnInit();
  EXPECT_EQ(C(kIdcApcSsid).maxLength, 32);
  C(kIdcApcSsid).text = std::string(33, 's');  // typed past the edit's limit some other way
  Click(kIdcApcApply);
  C(kIdcApcSsid).text = "Net";
  C(kIdcApcBeacon).text = "1001";
  Click(kIdcApcApply);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{ChineseStrings().Get(IDS_AP_SSID_TOO_LONG),
                                               ChineseStrings().Get(IDS_AP_BEACON_RANGE)}));
  EXPECT_EQ(ui.boxes[0].caption, ChineseStrings().Get(IDS_AP_TITLE));
  EXPECT_TRUE(drv.SetOids().empty());
}

TEST_F(ConfigPageTest, DefaultThenApplyStoresTheDefaultsAndPushesThem) {
  Put("Channel", "6");
  Put("TXBurst", "1");
  Open();
  Click(kIdcApcDefault);
  EXPECT_EQ(C(kIdcApcSsid).text, "SoftAP-5A");
  Click(kIdcApcApply);
  EXPECT_EQ(reg.GetSz(kMaster, "TXBurst"), "0");
  EXPECT_EQ(reg.GetSz(kMaster, "ShortSlot"), "0");
  EXPECT_EQ(reg.GetSz(kMaster, "RekeyInterval"), "0");
  EXPECT_EQ(reg.GetSz(kMaster, "Channel"), "1");
  EXPECT_EQ(reg.GetSz(kRoot, "TXBurst"), "0");  // copied into the working copy
  auto ssid = drv.SetsOf(OID_802_11_SSID);
  ASSERT_EQ(ssid.size(), 1u);
  EXPECT_EQ(DecodeSsid(ssid[0]).Text(), "SoftAP-5A");
}

TEST_F(ConfigPageTest, UseMacAddressAndApplyWithWpaPskStoresThePassphraseOnly) {
  Put("Channel", "6");
  Put("WEPKey1", "");
  Open();
  Click(kIdcApcUseMac);
  EXPECT_EQ(C(kIdcApcSsid).text, "AP000CE730005A");
  ui.onModal = [](DialogModel& d) {
    d.Control(kIdcApsAuth).selection = 2;
    d.OnCommand(kIdcApsAuth, UiEvent::SelectionChanged);
    d.Control(kIdcApsEncryption).selection = 1;  // AES
    d.Control(kIdcApsPsk).text = "long enough";
    d.Control(kIdcApsKey1Hex).text = "0123456789";
    return d.OnOk() ? kIdOk : kIdCancel;
  };
  Click(kIdcApcSecurity);
  EXPECT_EQ(page->Security().authenType, 4);
  EXPECT_EQ(page->Security().encryption, 6);
  Click(kIdcApcApply);
  EXPECT_EQ(reg.GetSz(kMaster, "WPAPSK"), "long enough");
  EXPECT_EQ(reg.GetSz(kMaster, "WEPKey1"), "");
  EXPECT_EQ(reg.GetSz(kMaster, "AuthenType"), "4");
  EXPECT_FALSE(activation.State().wepOrOpen);
  EXPECT_EQ(drv.SetsOf(OID_802_11_ADD_KEY).size(), 1u);
}

TEST_F(ConfigPageTest, ApplyRefusedAtAnyWriteChangesNothingAndSendsNothing) {
  Put("Channel", "6");
  Open();
  reg.FailWrite(0);
  Click(kIdcApcApply);
  const int writes = reg.Writes();  // the page's values, then the whole copy
  const auto master = reg.Values(kMaster), working = reg.Values(kRoot);
  C(kIdcApcSsid).text = "Changed";
  for (int n = 1; n <= writes; ++n) {
    drv.Clear();
    ui.boxes.clear();
    reg.FailWrite(n);
    Click(kIdcApcApply);
    EXPECT_EQ(Boxes().size(), 1u) << n;
    EXPECT_TRUE(reg.Values(kMaster) == master && reg.Values(kRoot) == working) << n;
    EXPECT_TRUE(drv.device.requests.empty()) << n;
  }
}

TEST_F(ConfigPageTest, AnUnusablePreSharedKeyNeverStartsTheAccessPoint) {
  Put("Channel", "6");
  Put("AuthenType", "4");
  for (const std::string& psk :
       std::vector<std::string>{"", "seven77", std::string(64, 'g'), std::string(70, 'a')}) {
    Put("WPAPSK", psk);
    drv.Clear();
    EXPECT_FALSE(activation.ActivateFromRegistry()) << psk;
    EXPECT_TRUE(drv.device.requests.empty()) << psk;  // the driver keeps what it runs
    ui.boxes.clear();
    int securityOpened = 0;
    ui.onModal = [&](DialogModel&) { return ++securityOpened, kIdCancel; };
    Open();
    page->OnSetActive();  // the sheet opens at the security settings
    Click(kIdcApcApply);  // and Apply asks again, with the message, sending nothing
    EXPECT_TRUE(securityOpened == 2 && drv.SetOids().empty()) << psk;
    EXPECT_EQ(Boxes(), std::vector<std::string>{EnglishStrings().Get(IDS_AP_PSK_INVALID)}) << psk;
  }
  Put("WPAPSK", std::string(64, 'a'));  // a key of 64 hex digits is one
  EXPECT_TRUE(activation.ActivateFromRegistry());
}

TEST_F(ConfigPageTest, TheSsidIsCutAtACharacterBoundaryAndAnOldMasterRepaired) {
  Open();
  C(kIdcApcSsid).text = std::string(31, 'a') + "\xE4\xB8\xAD";  // 34 bytes, the last character 3
  page->OnCommand(kIdcApcSsid, UiEvent::TextChanged);
  EXPECT_EQ(C(kIdcApcSsid).text, std::string(31, 'a'));
  // "ApDefault" of an older version: what it lacks or holds with another type gets the default,
  // not the station profile's value of that name in the adapter key.
  reg.DeleteValue(Hklm(kMaster), "WPAPSK");
  reg.DeleteValue(Hklm(kMaster), "SSID");
  reg.SetValue(Hklm(kMaster), "AuthenType", RegValue::Dword(4));
  reg.SetValue(Hklm(kMaster), "WdsList", RegValue::Sz("000CE7300001"));
  Put("BeaconPeriod", "250");
  reg.SetSz(kRoot, "WPAPSK", "station profile's key");
  ApSettingsStore(reg, [] { return std::string(kRoot); }).EnsureAndApply(drv.channel);
  EXPECT_EQ(reg.GetSz(kRoot, "WPAPSK") + reg.GetSz(kRoot, "SSID") + reg.GetSz(kRoot, "AuthenType"),
            "SoftAP-5A0");
  EXPECT_EQ(reg.QueryValue(Hklm(kRoot), "WdsList")->type, kRegMultiSz);
  EXPECT_EQ(reg.GetSz(kRoot, "BeaconPeriod"), "250");  // what it holds stays
}

struct SecurityDialogTest : ::testing::Test, test::ApPageFixture {
  std::unique_ptr<ApSecurityDialog> d;
  void Open(ApSecurityValues v, bool usb = false) {
    d = std::make_unique<ApSecurityDialog>(v, usb, ui, EnglishStrings());
    d->OnInit();
  }
  ControlState& C(int id) { return d->Control(id); }
};

TEST_F(SecurityDialogTest, ListsAndPositionsFromTheStoredValues) {
  ApSecurityValues v;
  v.authenType = 4;
  v.encryption = 6;
  Open(v);
  EXPECT_EQ(C(kIdcApsAuth).items.size(), 3u);
  EXPECT_EQ(C(kIdcApsAuth).selection, 2);
  EXPECT_EQ(C(kIdcApsEncryption).items, (std::vector<std::string>{"TKIP", "AES"}));
  EXPECT_EQ(C(kIdcApsEncryption).selection, 1);
  EXPECT_TRUE(C(kIdcApsPsk).enabled);
  EXPECT_FALSE(C(kIdcApsKey1Hex).enabled);
  EXPECT_FALSE(C(kIdcApsRadiusServer).visible);

  v.authenType = 7;  // beyond the list: Open
  v.encryption = 8;
  v.rekeyMethod = 1;
  Open(v);
  EXPECT_EQ(C(kIdcApsAuth).selection, 0);
  EXPECT_EQ(C(kIdcApsEncryption).selection, 0);
  EXPECT_EQ(C(kIdcApsRekeyUnit).text, "&Kpackets");
  d->OnCommand(kIdcApsRekeyUnit, UiEvent::Clicked);
  EXPECT_EQ(C(kIdcApsRekeyUnit).text, "10 &seconds");
  EXPECT_FALSE(C(kIdcApsKey1Hex).enabled);  // Open without encryption

  Open(v, true);
  EXPECT_EQ(C(kIdcApsAuth).items.size(), 2u);  // no WPA-PSK for USB adapters
}

TEST_F(SecurityDialogTest, PskValidation) {
  ApSecurityValues v;
  v.authenType = 4;
  v.encryption = 4;
  Open(v);
  for (const std::string& bad : {std::string("short"), std::string(63, 'a') + "G"}) {
    C(kIdcApsPsk).text = bad;
    EXPECT_FALSE(d->OnOk()) << bad;
  }
  EXPECT_EQ(ui.boxes.back().text,
            "Invalid Key Length  -  WPA-PSK requires 8~63 ASCII characters or 64 Hex characters");
  C(kIdcApsPsk).text = std::string(64, 'F');
  EXPECT_TRUE(d->OnOk());
  EXPECT_EQ(d->Values().wpaPsk, std::string(64, 'F'));
}

TEST_F(SecurityDialogTest, WepKeysAsciiStoredAsLowerCaseHexAndLengthsChecked) {
  ApSecurityValues v;
  v.authenType = 0;
  v.encryption = 0;
  v.wepKeyUse = 2;
  v.wepKeyType = {0, 1, 0, 0};
  v.wepKey = {"", "4142434445", "", ""};  // "ABCDE" typed as ASCII
  Open(v);
  EXPECT_TRUE(C(kIdcApsKey2).checked);
  EXPECT_EQ(C(kIdcApsKey2Ascii).text, "ABCDE");
  EXPECT_TRUE(C(kIdcApsKey2Ascii).visible);
  EXPECT_FALSE(C(kIdcApsKey2Hex).visible);
  EXPECT_TRUE(C(kIdcApsKey2Ascii).enabled);

  C(kIdcApsKey2Ascii).text = "Pass!";
  C(kIdcApsKey3Hex).text = "012345";  // not empty and of no key length
  EXPECT_FALSE(d->OnOk());
  EXPECT_EQ(ui.boxes.back().text,
            "Invalid Key Length  -  WEP requires 5 or 13 characters. \n(Note : 1 character is 2 hexa)");
  C(kIdcApsKey3Hex).text = "";
  EXPECT_TRUE(d->OnOk());
  EXPECT_EQ(d->Values().wepKey[1], "5061737321");
  EXPECT_EQ(d->Values().wepKeyUse, 2);
  EXPECT_EQ(d->Values().wepKeyType[1], 1);
  EXPECT_EQ(d->Values().encryption, 0);
}

TEST_F(SecurityDialogTest, LengthListCutsTheKeyAndTheHexEditDropsOtherCharacters) {
  ApSecurityValues v;
  v.authenType = 1;
  v.encryption = 1;
  v.wepKey = {"00112233445566778899AABBCC", "", "", ""};
  Open(v);
  EXPECT_EQ(C(kIdcApsKey1Length).selection, 1);
  EXPECT_EQ(C(kIdcApsEncryption).items, (std::vector<std::string>{"WEP"}));
  C(kIdcApsKey1Length).selection = 0;
  d->OnCommand(kIdcApsKey1Length, UiEvent::SelectionChanged);
  EXPECT_EQ(C(kIdcApsKey1Hex).text, "0011223344");
  C(kIdcApsKey2Hex).text = "zz12:34";
  d->OnCommand(kIdcApsKey2Hex, UiEvent::TextChanged);
  EXPECT_EQ(C(kIdcApsKey2Hex).text, "1234");
  // An X passes the input filter but is no hexadecimal digit.
  C(kIdcApsKey2Hex).text = "01234567X9";
  d->OnCommand(kIdcApsKey2Hex, UiEvent::TextChanged);
  EXPECT_FALSE(d->OnOk());
  C(kIdcApsKey2Hex).text = "";
  EXPECT_TRUE(d->OnOk());
  EXPECT_EQ(d->Values().authenType, 1);
  EXPECT_EQ(d->Values().encryption, 1);  // Shared stores its "WEP" as 1
}

}  // namespace
}  // namespace vx
