// Network names as the pages show them: UTF-8 as it is, other bytes in the UI language's ANSI
// code page, control characters and unreadable bytes as visible escapes.
#include "common/text/shown_text.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "fakes/code_page_strings.h"
#include "resources/strings/string_tables.h"

namespace vx {
namespace {

const std::string kBig5 = "\xB5\x4C\xBD\x75";                 // "無線" in Big5
const std::string kUtf8Chinese = "\xE7\x84\xA1\xE7\xB7\x9A";  // the same in UTF-8

struct ShownSsidTest : ::testing::Test {
  CodePageStrings chinese{ChineseStrings(), AnsiCodePageForLanguage(1028)};
  CodePageStrings english{EnglishStrings(), AnsiCodePageForLanguage(1033)};
};

TEST_F(ShownSsidTest, Utf8IsShownAsItIsInBothLanguages) {
  for (const std::string& s : {std::string("HomeNet"), std::string(" My \"Net\" \\#1 "), kUtf8Chinese,
                               std::string("Caf\xC3\xA9"), std::string()}) {
    EXPECT_EQ(ShownSsid(s, chinese), s);
    EXPECT_EQ(ShownSsid(s, english), s);
  }
}

TEST_F(ShownSsidTest, OtherBytesAreReadInTheLanguagesCodePage) {
  EXPECT_EQ(AnsiCodePageForLanguage(1028), 950u);
  EXPECT_EQ(AnsiCodePageForLanguage(3076), 950u);
  EXPECT_EQ(AnsiCodePageForLanguage(1033), 1252u);
  EXPECT_EQ(ShownSsid(kBig5 + " AP", chinese), kUtf8Chinese + " AP");
  EXPECT_EQ(ShownSsid(kBig5, english), "\xC2\xB5L\xC2\xBDu");  // µL½u
  EXPECT_EQ(ShownSsid("Caf\xE9", english), "Caf\xC3\xA9");
  EXPECT_EQ(ShownSsid(std::string(32, '\xFF'), english).size(), 64u);  // ÿ, two bytes each
}

TEST_F(ShownSsidTest, ControlsAndUnreadableBytesShowAsEscapes) {
  EXPECT_EQ(ShownSsid("a\x01\tb", english), "a\\x01\\x09b");
  EXPECT_EQ(ShownSsid(std::string("ab\0cd", 5), chinese), "ab\\x00cd");  // a NUL hides nothing after it
  EXPECT_EQ(ShownSsid("x\xC2\x85", english), "x\\xC2\\x85");             // a C1 control in UTF-8
  EXPECT_EQ(ShownSsid("Caf\xE9", chinese), "Caf\\xE9");                  // a lead byte without trail
  std::string ff;
  for (int i = 0; i < 32; ++i) ff += "\\xFF";
  EXPECT_EQ(ShownSsid(std::string(32, '\xFF'), chinese), ff);
  EXPECT_EQ(ShownSsid("\x81 \x7F", english), "\\x81 \\x7F");
  // A table without a code page escapes whatever is not UTF-8.
  EXPECT_EQ(ShownSsid("Caf\xE9", EnglishStrings()), "Caf\\xE9");
}

TEST(Utf8, StrictReading) {
  EXPECT_TRUE(IsValidUtf8("Caf\xC3\xA9 \xF0\x9F\x93\xB6"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(IsValidUtf8("\xED\xB3\xBF"));      // an encoded surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE7\x84"));          // cut short
  std::string out;
  AppendUtf8(out, 0x1F4F6);
  EXPECT_EQ(out, "\xF0\x9F\x93\xB6");
}

// Whatever the bytes, the text a page shows is valid UTF-8.
TEST_F(ShownSsidTest, EveryByteAndPairGivesValidUtf8) {
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; b += 7) {
      std::string s = {static_cast<char>(a), static_cast<char>(b), 'z'};
      EXPECT_TRUE(IsValidUtf8(ShownSsid(s, chinese))) << a << " " << b;
      EXPECT_TRUE(IsValidUtf8(ShownSsid(s, english))) << a << " " << b;
    }
}

}  // namespace
}  // namespace vx
