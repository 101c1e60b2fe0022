#include "station/profiles/profile_store.h"

#include <gtest/gtest.h>

#include "fakes/code_page_strings.h"
#include "fakes/fake_registry.h"
#include "resources/strings/string_tables.h"
#include "station/profiles/wep_key_text.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972}\\0007";
const std::string kContainer = std::string(kRoot) + "\\Profile\\Station";

class ProfileStoreTest : public ::testing::Test {
 protected:
  FakeRegistry reg;
  std::vector<bool> activations;
  ProfileStore store{reg, [] { return std::string(kRoot); }, [this](bool advanced) { activations.push_back(advanced); }};

  void SetUp() override { reg.CreateKey(Hklm(kRoot)); }
  std::string Stored(const std::string& profile, const std::string& name) {
    return reg.GetSz(kContainer + "\\" + profile, name);
  }
};

StationProfile EveryFieldChanged() {
  StationProfile p;
  p.name = "Office";
  p.ssid = "corp-net";
  p.channel = 36;
  p.networkType = 0;
  p.preambleType = 0;
  p.acPowerCam = 1;
  p.psMode = 1;
  p.txPower = 5;
  p.useRts = 1;
  p.rtsThresh = 1000;
  p.useFrag = 1;
  p.fragThresh = 512;
  p.authenType = 6;
  p.encryption = 6;
  p.leapEnabled = 0;
  p.leapUserName = "leap-user";
  p.leapPassword = std::string(256, 'p');  // longer than the old 128-byte reader could take
  p.wpaPsk = std::string(64, 'a');
  p.wepKeyUse = 3;
  p.wepKeyType = {0, 1, 0, 1};
  p.wepKey = {"0123456789", "hello", "0123456789abcdef0123456789", "thirteen-char"};
  p.use8021x = 1;
  p.authenProtocol = 2;
  p.tunnelProtocol = 6;
  p.id = "outer";
  p.password = "pw";
  p.tunnelId = "inner";
  p.tunnelPassword = "tpw";
  p.sessionResumption = 4;
  p.passwordMode = 0;
  p.useClientCert = 1;
  p.useServerCert = 1;
  for (int i = 0; i < 200; ++i) p.clientCert.push_back(static_cast<uint8_t>(i));
  for (int i = 0; i < 20; ++i) p.serverCert.push_back(static_cast<uint8_t>(255 - i));
  p.serverName = "radius.example";
  p.nameRule = 2;
  p.intermediateCert = 1;
  p.wirelessMode = 4;
  p.txBurst = 1;
  p.turboRate = 1;
  p.bgProtection = 2;
  p.shortSlot = 1;
  p.adhocOfdm = 3;
  p.transRate = 7;
  return p;
}

TEST_F(ProfileStoreTest, EveryFieldRoundTripsWhole) {
  StationProfile p = EveryFieldChanged();
  ASSERT_TRUE(store.WriteProfile(p));
  auto back = store.ReadProfile("office");
  ASSERT_TRUE(back);
  back->name = p.name;  // the key is found without regard to case; the record keeps the asked name
  EXPECT_EQ(*back, p);
  EXPECT_EQ(back->leapPassword.size(), 256u);
  EXPECT_EQ(back->clientCert.size(), 200u);
}

TEST_F(ProfileStoreTest, WritesEveryValueInRecordOrderAsDecimalText) {
  StationProfile p = EveryFieldChanged();
  store.WriteProfile(p);
  std::vector<RegNamedValue> values;
  reg.EnumValues(Hklm(kContainer + "\\Office"), values);
  std::vector<std::string> names;
  for (const auto& v : values) {
    names.push_back(v.name);
    EXPECT_EQ(v.value.type, kRegSz) << v.name;
  }
  std::vector<std::string> expected = {
      "SSID", "Channel", "NetworkType", "PreambleType", "ACPowerCam", "PSMode", "TXPower", "UseRts", "RtsThresh",
      "UseFrag", "FragThresh", "AuthenType", "Encryption", "LeapEnabled", "LeapUserName", "LeapPassword", "WPAPSK",
      "WEPKeyUse", "WEPKey1Type", "WEPKey2Type", "WEPKey3Type", "WEPKey4Type", "WEPKey1", "WEPKey2", "WEPKey3",
      "WEPKey4", "Use8021X", "AuthenProtocol", "TunnelProtocol", "ID", "Password", "TunnelID", "TunnelPassword",
      "SessionResumption", "PasswordMode", "UseClientCert", "UseServerCert", "ClientCertLen", "ClientCertData",
      "ServerCertLen", "ServerCertData", "ServerName", "NameRule", "IntermediateCert", "WirelessMode", "TXBurst",
      "TurboRate", "BGProtection", "ShortSlot", "AdhocOfdm", "TransRate"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(Stored("Office", "WEPKeyUse"), "4");  // kept 0..3, stored 1..4
  EXPECT_EQ(Stored("Office", "ServerCertData"), "fffefdfcfbfaf9f8f7f6f5f4f3f2f1f0efeeedec");
  EXPECT_EQ(Stored("Office", "ServerCertLen"), "20");
}

TEST_F(ProfileStoreTest, SwitchedOffThresholdsAndLeapAreWrittenAsTheRulesSay) {
  StationProfile p;
  p.name = "P";
  p.useRts = 0;
  p.rtsThresh = 500;
  p.useFrag = 0;
  p.fragThresh = 800;
  p.leapEnabled = 1;
  p.use8021x = 1;
  store.WriteProfile(p);
  EXPECT_EQ(Stored("P", "UseRts"), "0");
  EXPECT_EQ(Stored("P", "RtsThresh"), "2347");
  EXPECT_EQ(Stored("P", "UseFrag"), "0");
  EXPECT_EQ(Stored("P", "FragThresh"), "0");
  EXPECT_EQ(Stored("P", "Use8021X"), "0");
}

TEST_F(ProfileStoreTest, AbsentWrongTypeAndOddValuesReadAsDefaults) {
  std::string key = kContainer + "\\Odd";
  reg.CreateKey(Hklm(key));
  StationProfile defaults;
  defaults.name = "Odd";
  EXPECT_EQ(*store.ReadProfile("Odd"), defaults);  // an empty key gives the editor's defaults

  reg.SetValue(Hklm(key), "Channel", RegValue::Dword(11));            // wrong type: default
  reg.SetValue(Hklm(key), "NetworkType", RegValue::Sz("infra"));      // non-numeric: 0
  reg.SetValue(Hklm(key), "TXPower", RegValue::Sz("99999999999999"));  // huge: saturated, no overflow
  reg.SetValue(Hklm(key), "SSID", RegValue::Binary({'a', 'b'}));      // wrong type: default
  reg.SetValue(Hklm(key), "PreambleType", RegValue::Sz("1"));          // 1 reads as automatic
  reg.SetValue(Hklm(key), "PSMode", RegValue::Sz("2"));
  reg.SetValue(Hklm(key), "UseRts", RegValue::Sz("1"));
  reg.SetValue(Hklm(key), "RtsThresh", RegValue::Sz("5000"));
  reg.SetValue(Hklm(key), "UseFrag", RegValue::Sz("0"));
  reg.SetValue(Hklm(key), "FragThresh", RegValue::Sz("300"));
  reg.SetValue(Hklm(key), "WEPKeyUse", RegValue::Sz("9"));
  reg.SetValue(Hklm(key), "ClientCertData", RegValue::Sz("0g"));  // not hex: no bytes
  reg.SetValue(Hklm(key), "ServerCertData", RegValue::Sz("a1b2c3"));
  reg.SetValue(Hklm(key), "ServerCertLen", RegValue::Sz("2"));
  reg.SetValue(Hklm(key), "ServerName", RegValue::Sz(std::string(300, 's')));  // long: whole
  auto p = store.ReadProfile("Odd");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->channel, 1);
  EXPECT_EQ(p->networkType, 0);
  EXPECT_EQ(p->txPower, 2147483647);
  EXPECT_EQ(p->ssid, "");
  EXPECT_EQ(p->preambleType, 2);
  EXPECT_EQ(p->psMode, 1);
  EXPECT_EQ(p->rtsThresh, 2347);
  EXPECT_EQ(p->fragThresh, 2346);  // fragmentation off reads 2346 whatever is stored
  EXPECT_EQ(p->wepKeyUse, 0);
  EXPECT_TRUE(p->clientCert.empty());
  EXPECT_EQ(p->serverCert, (std::vector<uint8_t>{0xa1, 0xb2}));
  EXPECT_EQ(p->serverName.size(), 300u);

  reg.SetValue(Hklm(key), "PSMode", RegValue::Sz("3"));
  reg.SetValue(Hklm(key), "RtsThresh", RegValue::Sz("-4"));
  reg.SetValue(Hklm(key), "UseFrag", RegValue::Sz("1"));
  reg.SetValue(Hklm(key), "FragThresh", RegValue::Sz("100"));
  p = store.ReadProfile("Odd");
  EXPECT_EQ(p->psMode, 0);
  EXPECT_EQ(p->rtsThresh, 0);
  EXPECT_EQ(p->fragThresh, 256);
  EXPECT_FALSE(store.ReadProfile("Missing"));
}

TEST_F(ProfileStoreTest, WepKeysAreStoredAsHexAndReadBack) {
  StationProfile p;
  p.name = "W";
  p.wepKeyType = {kWepKeyAscii, kWepKeyAscii, kWepKeyHex, kWepKeyAscii};
  p.wepKey = {"abcde", "ABCDEFGHIJKLM", "0123456789ABCDEF0123456789", ""};
  store.WriteProfile(p);
  EXPECT_EQ(Stored("W", "WEPKey1"), "6162636465");
  EXPECT_EQ(Stored("W", "WEPKey1Type"), "1");
  EXPECT_EQ(Stored("W", "WEPKey2"), "4142434445464748494a4b4c4d");
  EXPECT_EQ(Stored("W", "WEPKey3"), "0123456789ABCDEF0123456789");
  EXPECT_EQ(Stored("W", "WEPKey4"), "");
  auto back = store.ReadProfile("W");
  EXPECT_EQ(back->wepKey, p.wepKey);

  // A stored ASCII key of a length no key has reads back empty; a hex key as stored.
  reg.SetSz(kContainer + "\\W", "WEPKey4Type", "1");
  reg.SetSz(kContainer + "\\W", "WEPKey4", "616263646566676869706a6b");
  reg.SetSz(kContainer + "\\W", "WEPKey3", "01234");
  back = store.ReadProfile("W");
  EXPECT_EQ(back->wepKey[3], "");
  EXPECT_EQ(back->wepKey[2], "01234");
}

TEST(WepKeyText, EncodingNeverReadsPastTheText) {
  EXPECT_EQ(EncodeWepKeyText(kWepKeyAscii, "abc"), "616263");
  std::string thirteen;
  for (int i = 0; i < 13; ++i) thirteen += "7a";
  EXPECT_EQ(EncodeWepKeyText(kWepKeyAscii, std::string(20, 'z')), thirteen);  // the 13-character form
  EXPECT_EQ(DecodeWepKeyText(kWepKeyAscii, "zz23456789"), "");  // not hex: empty, not garbage
}

TEST(WepKeyText, MaterialOnlyForKeyLengths) {
  EXPECT_EQ(WepKeyMaterial("0102030405"), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(WepKeyMaterial("0102030405X"), (std::vector<uint8_t>{1, 2, 3, 4, 5}));  // 11: the first 10
  EXPECT_EQ(WepKeyMaterial("0123456789abcdef0123456789")->size(), 13u);
  for (std::string bad : {"", "01", "012345678", "012345678901", "0123456789abcdef012345678", "0123456789abcdef01234567890",
                          "01020304zz"})
    EXPECT_FALSE(WepKeyMaterial(bad)) << bad;
}

TEST_F(ProfileStoreTest, NamesAreTrimmedAndUniqueWithoutRegardToCase) {
  StationProfile p;
  p.name = "  Home  ";
  ASSERT_TRUE(store.WriteProfile(p));
  EXPECT_EQ(store.ListProfiles(), std::vector<std::string>{"Home"});
  EXPECT_EQ(store.ProfileExists("HOME"), ProfileLookup::Found);
  EXPECT_EQ(store.ProfileExists("Hom"), ProfileLookup::NotFound);
  EXPECT_EQ(store.CheckProfileName(" home"), NameCheck::Duplicate);
  EXPECT_EQ(store.CheckProfileName("HOME", "Home"), NameCheck::Ok);  // renaming to itself in another case
  EXPECT_EQ(store.CheckProfileName("Home", "Other"), NameCheck::Duplicate);
  EXPECT_EQ(store.CheckProfileName("   "), NameCheck::Empty);
  EXPECT_EQ(store.CheckProfileName("a\\b"), NameCheck::Invalid);
  EXPECT_EQ(store.CheckProfileName("Work"), NameCheck::Ok);

  StationProfile bad;
  bad.name = "x\\y";
  EXPECT_FALSE(store.WriteProfile(bad));  // would create a nested key
  bad.name = " ";
  EXPECT_FALSE(store.WriteProfile(bad));
  EXPECT_EQ(store.ListProfiles().size(), 1u);
}

// A network's profile: its SSID when that can be a key name, else a name derived from the SSID as
// shown; the profile keeps the exact bytes and is found again by them, and networks whose names
// derive alike get names of their own.
TEST_F(ProfileStoreTest, NetworksGetProfileNamesKeyNamesCanHoldAndKeepTheirBytes) {
  CodePageStrings english(EnglishStrings(), 1252);
  CodePageStrings chinese(ChineseStrings(), 950);
  EXPECT_TRUE(SsidIsProfileName("HomeNet"));
  EXPECT_TRUE(SsidIsProfileName("\xE7\x84\xA1\xE7\xB7\x9A #1!"));
  for (const std::string bad : {"back\\slash", " lead", "trail ", "", "ctl\x01", "Caf\xE9"})
    EXPECT_FALSE(SsidIsProfileName(bad)) << bad;
  EXPECT_EQ(ProfileNameFromSsid("My \"Net\" \\#1", english, 32), "My \"Net\" _#1");
  EXPECT_EQ(ProfileNameFromSsid("ctl\x01x", english, 32), "ctl_x01x");
  EXPECT_EQ(ProfileNameFromSsid("\xB5\x4C\xBD\x75", chinese, 32), "\xE7\x84\xA1\xE7\xB7\x9A");
  EXPECT_EQ(ProfileNameFromSsid("  ", english, 32), "_x20_x20");
  EXPECT_EQ(ProfileNameFromSsid(std::string(32, '\xFF'), chinese, 32), "_xFF_xFF_xFF_xFF_xFF_xFF_xFF_xFF");

  // A plain SSID names its profile, found in any case under its stored spelling.
  EXPECT_EQ(store.ProfileForNetwork("HomeNet", english).name, "HomeNet");
  EXPECT_FALSE(store.ProfileForNetwork("HomeNet", english).exists);
  StationProfile home;
  home.name = "homenet";
  home.ssid = "HomeNet";
  ASSERT_TRUE(store.WriteProfile(home));
  EXPECT_EQ(store.ProfileForNetwork("HomeNet", english).name, "homenet");
  EXPECT_TRUE(store.ProfileForNetwork("HomeNet", english).exists);
  EXPECT_EQ(store.ProfileForNetwork("HomeNet", english, kAutoSecuSuffix).name, "HomeNet_AutoSecu");

  // "a\b" derives "a_b", the name of another network's profile: it gets "a_b (2)".
  StationProfile plain;
  plain.name = plain.ssid = "a_b";
  ASSERT_TRUE(store.WriteProfile(plain));
  NetworkProfileName slash = store.ProfileForNetwork("a\\b", english);
  EXPECT_EQ(slash.name, "a_b (2)");
  EXPECT_FALSE(slash.exists);
  StationProfile p;
  p.name = slash.name;
  p.ssid = "a\\b";
  ASSERT_TRUE(store.WriteProfile(p));
  EXPECT_TRUE(store.ProfileForNetwork("a\\b", english).exists);
  EXPECT_EQ(store.ProfileForNetwork("a\\b", english).name, "a_b (2)");
  EXPECT_EQ(store.ProfileSsid("a_b (2)"), "a\\b");
  EXPECT_EQ(store.ListProfiles().size(), 3u);  // no nested key

  // Bytes that are no UTF-8 stay exact; the profile made under English is the network's under
  // Chinese too, though the name shown there would differ.
  const std::string big5 = "\xB5\x4C\xBD\x75";
  NetworkProfileName shownInEnglish = store.ProfileForNetwork(big5, english);
  EXPECT_EQ(shownInEnglish.name, "\xC2\xB5L\xC2\xBDu");
  p.name = shownInEnglish.name;
  p.ssid = big5;
  ASSERT_TRUE(store.WriteProfile(p));
  EXPECT_EQ(store.ReadProfile(shownInEnglish.name)->ssid, big5);
  NetworkProfileName inChinese = store.ProfileForNetwork(big5, chinese);
  EXPECT_TRUE(inChinese.exists);
  EXPECT_EQ(inChinese.name, shownInEnglish.name);
  // ... but not as its one-button profile, which must end in "_AutoSecu".
  EXPECT_FALSE(store.ProfileForNetwork(big5, chinese, kAutoSecuSuffix).exists);
  EXPECT_EQ(store.ProfileForNetwork(big5, chinese, kAutoSecuSuffix).name,
            "\xE7\x84\xA1\xE7\xB7\x9A_AutoSecu");
}

TEST_F(ProfileStoreTest, ExistsTellsAMissingContainerApart) {
  EXPECT_EQ(store.ProfileExists("x"), ProfileLookup::NoContainer);
  EXPECT_TRUE(store.ListProfiles().empty());
}

TEST(NextProfileName, OneAboveTheHighestNumber) {
  EXPECT_EQ(NextProfileName({"PROF1", "prof7", "Office"}), "PROF8");
  EXPECT_EQ(NextProfileName({}), "PROF1");
  EXPECT_EQ(NextProfileName({"PROFx", "Pro"}), "PROF1");
  EXPECT_EQ(NextProfileName({"PROF2147483647"}), "PROF2147483648");  // no overflow
  EXPECT_EQ(NextProfileName({"PROF99999999999999"}), "PROF2147483648");
}

TEST_F(ProfileStoreTest, DeleteRemovesTheWholeSubtree) {
  StationProfile p;
  p.name = "Gone";
  store.WriteProfile(p);
  p.name = "Kept";
  store.WriteProfile(p);
  reg.SetSz(kContainer + "\\Gone\\Nested\\Deeper", "X", "1");
  EXPECT_TRUE(store.DeleteProfile("gone"));
  EXPECT_EQ(store.ListProfiles(), std::vector<std::string>{"Kept"});
  EXPECT_FALSE(store.DeleteProfile(""));  // never the container itself
  EXPECT_EQ(store.ListProfiles(), std::vector<std::string>{"Kept"});
}

TEST_F(ProfileStoreTest, DeleteWithoutContainerReportsTheOpenFailure) {
  std::string error;
  EXPECT_FALSE(store.DeleteProfile("Any", &error));
  EXPECT_EQ(error, "RegOpenKeyEx '" + kContainer + "' failed\n");
}

TEST_F(ProfileStoreTest, SelectCopiesTheProfileLiveAndStartsActivation) {
  StationProfile p = EveryFieldChanged();
  store.WriteProfile(p);
  reg.SetSz(kContainer + "\\Office", "Extra", std::string(1000, 'e'));  // any size is copied
  reg.SetSz(kRoot, "CountryRegion", "5");                                // adapter-wide values stay
  ASSERT_TRUE(store.SelectProfile("Office", true));
  EXPECT_EQ(reg.GetSz(kRoot, "CurProfile"), "Office");
  EXPECT_EQ(reg.GetSz(kRoot, "LeapPassword"), std::string(256, 'p'));
  EXPECT_EQ(reg.GetSz(kRoot, "Extra").size(), 1000u);
  EXPECT_EQ(reg.GetSz(kRoot, "CountryRegion"), "5");
  EXPECT_EQ(activations, std::vector<bool>{true});
  EXPECT_EQ(store.CurrentProfileName(), "Office");
}

TEST_F(ProfileStoreTest, ASaveOrSelectRefusedAtAnyWriteLeavesEverythingAsItWas) {
  StationProfile p = EveryFieldChanged();
  ASSERT_TRUE(store.WriteProfile(p) && store.SelectProfile("Office", false));
  const auto stored = reg.Values(kContainer + "\\Office"), live = reg.Values(kRoot);
  activations.clear();
  p.wpaPsk = "another key";
  for (int n = 1; n <= static_cast<int>(ProfileValues(p).size()); ++n) {
    reg.FailWrite(n);
    EXPECT_FALSE(store.WriteProfile(p)) << n;
    EXPECT_TRUE(reg.Values(kContainer + "\\Office") == stored) << n;
    reg.FailWrite(n);
    p.name = "Fresh";
    EXPECT_FALSE(store.WriteProfile(p) || reg.KeyExists(Hklm(kContainer + "\\Fresh"))) << n;
    p.name = "Office";
    reg.FailWrite(n);
    EXPECT_FALSE(store.SelectProfile("Office", true)) << n;
    EXPECT_TRUE(reg.Values(kRoot) == live) << n;
  }
  EXPECT_TRUE(activations.empty());
}

TEST_F(ProfileStoreTest, SelectOfAMissingProfileWritesOnlyTheName) {
  EXPECT_FALSE(store.SelectProfile("Nope", false));
  EXPECT_EQ(reg.GetSz(kRoot, "CurProfile"), "Nope");
  EXPECT_TRUE(activations.empty());

  ProfileStore noAdapter{reg, [] { return std::string("Missing\\Root"); }, [this](bool a) { activations.push_back(a); }};
  EXPECT_FALSE(noAdapter.SelectProfile("Nope", false));
  EXPECT_FALSE(reg.KeyExists(Hklm("Missing\\Root")));
  EXPECT_TRUE(activations.empty());
}

TEST_F(ProfileStoreTest, ClearLiveProfileFallsBackToAnyOpenNetwork) {
  reg.SetSz(kRoot, "SSID", "old");
  reg.SetSz(kRoot, "AuthenType", "7");
  reg.SetSz(kRoot, "WEPKey2Type", "1");
  ASSERT_TRUE(store.ClearLiveProfile());
  EXPECT_EQ(reg.GetSz(kRoot, "SSID"), "");
  EXPECT_EQ(reg.GetSz(kRoot, "NetworkType"), "1");
  EXPECT_EQ(reg.GetSz(kRoot, "AuthenType"), "0");
  EXPECT_EQ(reg.GetSz(kRoot, "Encryption"), "1");
  EXPECT_TRUE(reg.QueryValue(Hklm(kRoot), "WEPKey4Type").has_value());
  EXPECT_EQ(reg.GetSz(kRoot, "WEPKey2Type"), "");
}

}  // namespace
}  // namespace vx
