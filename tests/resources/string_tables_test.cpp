// The generated string tables: both languages complete and consistent, the quoted texts exact,
// and every text a layout names present.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "resources/string_ids.h"
#include "resources/strings/string_tables.h"

namespace vx {
namespace {

TEST(StringTables, BothLanguagesHaveTheSameNonEmptyEntries) {
  auto en = EnglishEntries(), zh = ChineseEntries();
  ASSERT_EQ(en.size(), zh.size());
  ASSERT_GT(en.size(), 300u);
  for (size_t i = 0; i < en.size(); ++i) {
    SCOPED_TRACE(en[i].name);
    EXPECT_EQ(en[i].id, zh[i].id);
    EXPECT_STREQ(en[i].name, zh[i].name);
    EXPECT_NE(std::string(en[i].text), "");
    EXPECT_NE(std::string(zh[i].text), "");
    if (i > 0) {
      EXPECT_LT(en[i - 1].id, en[i].id) << "entries must be sorted for the lookup";
    }
  }
}

TEST(StringTables, SymbolicIdsNameTheirEntries) {
  struct Named {
    uint32_t id;
    const char* name;
  } checks[] = {{IDS_APP_TITLE, "IDS_APP_TITLE"},       {IDS_TRAY_GOOD, "IDS_TRAY_GOOD"},
                {IDS_TRAY_WEP_ERROR, "IDS_TRAY_WEP_ERROR"}, {IDS_MENU_LAUNCH, "IDS_MENU_LAUNCH"},
                {IDS_AP_ALREADY_RUNNING, "IDS_AP_ALREADY_RUNNING"}};
  for (const auto& c : checks) {
    bool found = false;
    for (const auto& e : EnglishEntries())
      if (e.id == c.id) {
        EXPECT_STREQ(e.name, c.name);
        found = true;
      }
    EXPECT_TRUE(found) << c.name;
  }
}

TEST(StringTables, QuotedEnglishTextsAreExact) {
  StringTable& en = EnglishStrings();
  EXPECT_EQ(en.Get(102), "Arventa Client Utility");
  EXPECT_EQ(en.Get(199), "ARVENTA Wireless LAN Card\nStatus : Good (%s)");
  EXPECT_EQ(en.Get(201), "ARVENTA Wireless LAN Card\nstatus : Normal (%s)");  // lower-case s
  EXPECT_EQ(en.Get(203), "ARVENTA Wireless LAN Card\nStatus : Weak (%s)");
  EXPECT_EQ(en.Get(200), "ARVENTA Wireless LAN Card\nDisconnected");
  EXPECT_EQ(en.Get(202), "ARVENTA Wireless LAN Card\nNot exist");
  EXPECT_EQ(en.Get(313), "ARVENTA Wireless LAN Card\nStatus : WEP Error");
  EXPECT_EQ(en.Get(179), " ");
  EXPECT_EQ(en.Get(112), "Turn &off RF ");
  EXPECT_EQ(en.Get(IDS_ALREADY_RUNNING), "ARVENTA Wireless LAN Card Configuration Utility is already running");
  EXPECT_EQ(en.Get(IDS_AP_ALREADY_RUNNING), "HotspotCfg is already running");
  EXPECT_EQ(en.Get(IDS_NIC_NOT_READY), "NIC or driver not ready");
  EXPECT_EQ(en.Get(IDS_MENU_LAUNCH), "Launch Config Utilities ");
  EXPECT_EQ(en.Get(IDS_AP_MENU_LAUNCH), "Lanuch Config Utilities ");
  EXPECT_EQ(en.Get(IDS_ST_TX_OK), "Frames Transmitted Successfully ");
  EXPECT_EQ(en.Get(IDS_ST_TX_OK_NO_RETRY), "Frames Transmitted Successfully  Without Retry");
  EXPECT_EQ(en.Get(IDS_LOCATION_INFORMATION), "Location Infoamation : ");
  EXPECT_EQ(en.Get(IDS_AUTH_SECURITY_DIALOG), "Authentication && Security ");
  EXPECT_EQ(en.Get(IDS_QS3_KEY_NOTE),
            "Note:\nIt is recommended that you write down this\nsecurity key on a separate piece of   "
            "paper\nthat is kept in a safeguarded  location.");
  EXPECT_EQ(en.Get(IDS_QS3_FAILED), "\"Security setting failed...\nPlease reset your AP, and do it again.\"");
  EXPECT_EQ(en.Get(IDS_AP_INVALID_WEP_LENGTH),
            "Invalid Key Length  -  WEP requires 5 or 13 characters. \n(Note : 1 character is 2 hexa)");
  EXPECT_EQ(en.Get(IDS_EVENT_DEAUTH_4WAY), "Deauthencation on 4-way handshake timeout");
  EXPECT_EQ(en.Get(IDS_AP_EVENT_INVALID_PSK), "associated with invalid PSK password");
}

// The printf conversions of a text, in order ("%%" is no conversion).
std::string Conversions(const std::string& s) {
  static const std::regex conv("%(%|[-+ #0]*[0-9]*(\\.[0-9]+)?(hs|ls|I64|l|h)?[a-zA-Z])");
  std::string out;
  for (std::sregex_iterator it(s.begin(), s.end(), conv), end; it != end; ++it)
    if ((*it)[1] != "%") out += it->str() + " ";
  return out;
}

// A translation that loses or changes a conversion would misformat or crash the formatting call.
TEST(StringTables, TranslationsKeepTheFormatConversions) {
  auto en = EnglishEntries(), zh = ChineseEntries();
  for (size_t i = 0; i < en.size() && i < zh.size(); ++i)
    EXPECT_EQ(Conversions(en[i].text), Conversions(zh[i].text)) << en[i].name;
  EXPECT_EQ(Conversions(EnglishStrings().Get(IDS_QS3_AP_TEXT)), "%s %02X %02X %02X %02X %02X %02X ");
}

// These texts become registry data (profile names and SSIDs), so they may not change by language.
TEST(StringTables, DataTextsAreTheSameInBothLanguages) {
  for (uint32_t id : {IDS_PROFILE_PREFIX, IDS_SSID_ANY, IDS_COL_SSID, IDS_QS3_AP_TEXT})
    EXPECT_EQ(EnglishStrings().Get(id), ChineseStrings().Get(id)) << id;
  EXPECT_EQ(EnglishStrings().Get(IDS_PROFILE_PREFIX), "PROF");
  EXPECT_EQ(EnglishStrings().Get(IDS_SSID_ANY), "ANY");
}

TEST(StringTables, LookupAndLanguageChoice) {
  EXPECT_EQ(EnglishStrings().Get(1), "");
  EXPECT_EQ(EnglishStrings().Get(65535), "");
  EXPECT_EQ(ChineseStrings().Get(IDS_MENU_EXIT), "結束");
  EXPECT_EQ(&StringsForLanguage(1028), &ChineseStrings());
  EXPECT_EQ(&StringsForLanguage(3076), &ChineseStrings());
  EXPECT_EQ(&StringsForLanguage(1033), &EnglishStrings());
  EXPECT_EQ(&StringsForLanguage(2052), &EnglishStrings());  // Simplified Chinese: no table
}

// Menus and dialogs take their texts by name; a name missing from the tables would only fail in
// the Windows build, so check every layout here.
TEST(StringTables, EveryTextALayoutNamesExists) {
  std::set<std::string> names;
  for (const auto& e : EnglishEntries()) names.insert(e.name);
  const std::regex use("VX_TEXT\\((IDS_[A-Z0-9_]+)\\)");
  int uses = 0;
  for (const auto& f : std::filesystem::recursive_directory_iterator(VX_RESOURCES_DIR)) {
    if (f.path().extension() != ".layout") continue;
    std::ifstream in(f.path());
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    for (std::sregex_iterator it(s.begin(), s.end(), use), end; it != end; ++it, ++uses)
      EXPECT_TRUE(names.count((*it)[1].str())) << f.path() << ": " << (*it)[1];
  }
  EXPECT_GT(uses, 20);
}

}  // namespace
}  // namespace vx
