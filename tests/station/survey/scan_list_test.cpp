#include "station/survey/scan_list.h"

#include <gtest/gtest.h>

#include <random>

#include "station/survey/scan_list_builder.h"

namespace vx {
namespace {

using namespace vx::testing;

std::vector<SurveyRow> Decode(const Bytes& list) {
  std::vector<SurveyRow> rows;
  DecodeScanList(list, rows);
  return rows;
}

SurveyRow DecodeOne(const EntrySpec& e) {
  auto rows = Decode(EncodeList({EncodeEntry(e)}));
  EXPECT_EQ(rows.size(), 1u);
  return rows.empty() ? SurveyRow{} : rows[0];
}

std::string Enc(const SurveyRow& r) { return r.texts[kColumnEncryption]; }
std::string Auth(const SurveyRow& r) { return r.texts[kColumnAuthentication]; }

TEST(DbmToPercent, BandsAndTheirEdges) {
  const std::pair<int32_t, int32_t> cases[] = {{-40, 100}, {-50, 100}, {-51, 99}, {-55, 89}, {-60, 76},
                                               {-65, 63},  {-70, 50},  {-79, 26}, {-80, 24}, {-81, 23},
                                               {-85, 13},  {-89, 2},   {-90, 0},  {-91, 0},  {INT32_MIN, 0},
                                               {INT32_MAX, 100}};
  for (auto [dbm, percent] : cases) EXPECT_EQ(DbmToPercent(dbm), percent) << dbm;
}

TEST(ChannelFromFrequency, ExactMatchesOnly) {
  EXPECT_EQ(ChannelFromFrequency(2412000), 1u);
  EXPECT_EQ(ChannelFromFrequency(2472000), 13u);
  EXPECT_EQ(ChannelFromFrequency(2484000), 14u);
  EXPECT_EQ(ChannelFromFrequency(5170000), 34u);
  EXPECT_EQ(ChannelFromFrequency(5745000), 149u);
  EXPECT_EQ(ChannelFromFrequency(5825000), 165u);
  EXPECT_EQ(ChannelFromFrequency(2412001), std::nullopt);
  EXPECT_EQ(ChannelFromFrequency(2477000), std::nullopt);  // no channel 14 on the 5 MHz grid
  EXPECT_EQ(ChannelFromFrequency(0), std::nullopt);
  EXPECT_EQ(ChannelTable.front().channel, kFallbackChannel);
}

TEST(DecodeScanList, PlainEntryGivesItsTextsAndFields) {
  EntrySpec e;
  e.bssid = {0x00, 0x0C, 0x43, 0xAB, 0xCD, 0xEF};
  e.ssid = "Office";
  e.rssi = -55;
  e.frequencyKhz = 2484000;
  const auto list = EncodeList({EncodeEntry(EntrySpec{}), EncodeEntry(e)});
  const auto rows = Decode(list);
  ASSERT_EQ(rows.size(), 2u);
  const SurveyRow& r = rows[1];
  EXPECT_EQ(r.texts, (std::array<std::string, 7>{"Office", "00-0C-43-AB-CD-EF", "89%", "14", "None", "Unknown",
                                                 "Infrastructure"}));
  EXPECT_EQ(r.entryOffset, 4 + EncodeEntry(EntrySpec{}).size());
  EXPECT_EQ(r.ssid.Text(), "Office");
  EXPECT_EQ(r.frequencyKhz, 2484000u);
  EXPECT_EQ(r.channel, 14u);
  EXPECT_EQ(r.rssi, -55);
  EXPECT_EQ(rows[0].entryOffset, 4u);
}

TEST(DecodeScanList, SsidNetworkTypeAndChannelTexts) {
  EntrySpec e;
  e.ssid = std::string("ab\0cd", 5);  // cut at the first NUL
  EXPECT_EQ(DecodeOne(e).texts[kColumnSsid], "ab");
  e.ssid = "abcdef";
  e.ssidLength = 3;
  EXPECT_EQ(DecodeOne(e).texts[kColumnSsid], "abc");
  e.ssidLength = 0;  // hidden
  EXPECT_EQ(DecodeOne(e).texts[kColumnSsid], "");
  e.ssid = std::string(32, 'x');
  e.ssidLength = 1000;  // never past the 32 bytes
  EXPECT_EQ(DecodeOne(e).texts[kColumnSsid], std::string(32, 'x'));
  EXPECT_EQ(DecodeOne(e).ssid.length, 32u);

  const char* types[] = {"Ad hoc", "Infrastructure", "Auto", "Unknown"};
  for (uint32_t mode = 0; mode < 4; ++mode) {
    EntrySpec m;
    m.infrastructureMode = mode;
    EXPECT_EQ(DecodeOne(m).texts[kColumnNetworkType], types[mode]);
  }
  EntrySpec f;
  f.frequencyKhz = 2413000;
  const SurveyRow r = DecodeOne(f);
  EXPECT_EQ(r.texts[kColumnChannel], "");
  EXPECT_EQ(r.ChannelOrFallback(), 1u);
}

TEST(DecodeScanList, PrivacyWithoutElementsIsWepElseNone) {
  EntrySpec e;
  e.privacy = 1;
  EXPECT_EQ(Enc(DecodeOne(e)), "WEP");
  EXPECT_EQ(Auth(DecodeOne(e)), "Unknown");
  e.privacy = 0;
  EXPECT_EQ(Enc(DecodeOne(e)), "None");
}

TEST(SecurityElements, WpaPskWithTkipAndCcmp) {
  EntrySpec e;
  e.privacy = 1;
  e.elements = Concat({SsidElement("net"), WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip), Wpa(kCcmp)}, {Wpa(kAkmPsk)}))});
  SurveyRow r = DecodeOne(e);
  EXPECT_EQ(Enc(r), "TKIP;AES");
  EXPECT_EQ(Auth(r), "WPA-PSK");
  EXPECT_TRUE(r.security.tkip && r.security.ccmp && r.security.wpaPsk);

  e.infrastructureMode = 0;
  EXPECT_EQ(Auth(DecodeOne(e)), "WPA-NONE");
  e.infrastructureMode = 2;  // automatic counts as infrastructure
  EXPECT_EQ(Auth(DecodeOne(e)), "WPA-PSK");
}

TEST(SecurityElements, WpaAndRsnTogether) {
  EntrySpec e;
  e.elements = Concat({SsidElement("net"), RsnElement(SuiteBody(Rsn(kCcmp), {Rsn(kCcmp)}, {Rsn(kAkmPsk)})),
                       WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip)}, {Wpa(kAkmPsk)}))});
  SurveyRow r = DecodeOne(e);
  EXPECT_EQ(Auth(r), "WPA-PSK;WPA2-PSK");
  EXPECT_EQ(Enc(r), "TKIP;AES");

  e.elements = RsnElement(SuiteBody(Rsn(kWrap), {}, {Rsn(kAkm8021x)}));
  r = DecodeOne(e);
  EXPECT_EQ(Auth(r), "WPA2");
  EXPECT_EQ(Enc(r), "AES");
  e.infrastructureMode = 0;
  e.elements = RsnElement(SuiteBody(Rsn(kCcmp), {Rsn(kCcmp)}, {Rsn(0)}));
  EXPECT_EQ(Auth(DecodeOne(e)), "WPA2-NONE");
}

TEST(SecurityElements, OnlyTheFirstKeyManagementSuiteCounts) {
  EntrySpec e;
  e.elements = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip)}, {Wpa(kAkmPsk), Wpa(kAkm8021x)}));
  EXPECT_EQ(Auth(DecodeOne(e)), "WPA-PSK");
  e.elements = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip)}, {Rsn(kAkm8021x), Wpa(kAkmPsk)}));
  EXPECT_EQ(Auth(DecodeOne(e)), "Unknown");  // first suite of the wrong OUI
  e.elements = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip)}, {}));
  EXPECT_EQ(Auth(DecodeOne(e)), "Unknown");
  EXPECT_EQ(Enc(DecodeOne(e)), "TKIP");
}

TEST(SecurityElements, ForeignPairwiseSuiteEndsTheListButKeyManagementIsFoundByCount) {
  EntrySpec e;
  e.elements = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip), Rsn(kCcmp), Wpa(kCcmp)}, {Wpa(kAkm8021x)}));
  SurveyRow r = DecodeOne(e);
  EXPECT_EQ(Enc(r), "TKIP");  // the CCMP after the foreign suite is not read
  EXPECT_EQ(Auth(r), "WPA");
}

TEST(SecurityElements, ElementsThatAreSkippedLetTheWalkGoOn) {
  const Bytes wpa = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip)}, {Wpa(kAkmPsk)}));
  struct Case {
    const char* name;
    Bytes before;
  } cases[] = {
      {"other vendor element of 16+ bytes", Element(221, Bytes{0x00, 0x10, 0x18, 0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10,
                                                               11, 12, 13, 14})},
      {"WMM element (same OUI, type 2)", Element(221, Bytes{0x00, 0x50, 0xF2, 0x02, 0x01, 0x01, 0x00, 0x00, 0x03, 0xA4,
                                                            0x00, 0x00, 0x27, 0xA4, 0x00, 0x00})},
      {"short vendor element", Element(221, Bytes{0x00, 0x50, 0xF2, 0x01, 0x01, 0x00})},
      {"RSN element with another group OUI", RsnElement(SuiteBody({{0x00, 0x0F, 0xAB}, kCcmp}, {Rsn(kCcmp)}, {Rsn(1)}))},
      {"WPA element with another group OUI",
       WpaElement(SuiteBody(Rsn(kCcmp), {Wpa(kCcmp)}, {Wpa(kAkm8021x)}))},
      {"RSN shorter than 12", Element(48, Bytes{0x01, 0x00, 0x00, 0x0F, 0xAC, 0x04, 0x01, 0x00, 0x00, 0x0F, 0xAC})},
      {"unknown element", Element(7, Bytes{'U', 'S', ' ', 1, 11, 20})},
  };
  for (const Case& c : cases) {
    EntrySpec e;
    e.elements = Concat({SsidElement("net"), c.before, wpa});
    SurveyRow r = DecodeOne(e);
    EXPECT_EQ(Auth(r), "WPA-PSK") << c.name;
    EXPECT_EQ(Enc(r), "TKIP") << c.name;
  }
}

TEST(SecurityElements, EmptyFirstElementIsPassedButALaterOneEndsTheWalk) {
  const Bytes wpa = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip)}, {Wpa(kAkmPsk)}));
  EntrySpec e;
  e.ssid = "";
  e.elements = Concat({SsidElement(""), wpa});  // hidden network
  EXPECT_EQ(Auth(DecodeOne(e)), "WPA-PSK");
  e.elements = Concat({SsidElement("x"), Element(5, {}), wpa});
  EXPECT_EQ(Auth(DecodeOne(e)), "Unknown");
}

// Every case must decode without reading outside the buffer (the sanitizers watch) and give the
// stated number of rows and security.
TEST(DecodeScanList, MalformedInputs) {
  const Bytes wpa = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip)}, {Wpa(kAkmPsk)}));
  EntrySpec secured;
  secured.elements = Concat({SsidElement("net"), wpa});
  const Bytes good = EncodeEntry(secured);
  auto withLength = [&](uint32_t length) {
    EntrySpec e = secured;
    e.length = length;
    return EncodeEntry(e);
  };
  auto withIeLength = [&](uint32_t ieLength) {
    EntrySpec e = secured;
    e.ieLength = ieLength;
    return EncodeEntry(e);
  };
  Bytes truncatedEntry = good;
  truncatedEntry.resize(good.size() - 5);
  Bytes wpaRunningPast = Concat({SsidElement("net"), wpa});
  wpaRunningPast.pop_back();  // the element's length byte now claims one byte more than is there
  EntrySpec past = secured;
  past.elements = wpaRunningPast;

  struct Case {
    const char* name;
    Bytes list;
    size_t rows;
    const char* auth;  // of the last row, when there are rows
  } cases[] = {
      {"empty buffer", {}, 0, ""},
      {"truncated count", {1, 0, 0}, 0, ""},
      {"count without entries", EncodeList({}, 5), 0, ""},
      {"count larger than the entries", EncodeList({good}, 3), 1, "WPA-PSK"},
      {"count smaller than the entries", EncodeList({good, good}, 1), 1, "WPA-PSK"},
      {"truncated entry header", Concat({EncodeList({good}, 2), Bytes{0x80, 0}}), 1, "WPA-PSK"},
      {"Length 0 ends the list", EncodeList({good, withLength(0), good}), 1, "WPA-PSK"},
      {"Length past the end", EncodeList({good, withLength(static_cast<uint32_t>(good.size() + 1))}), 1, "WPA-PSK"},
      {"Length too short for the fields", EncodeList({good, withLength(95), good}), 1, "WPA-PSK"},
      {"entry cut short by the buffer", EncodeList({good, truncatedEntry}), 1, "WPA-PSK"},
      {"Length of the old entry without elements", EncodeList({withLength(104)}, 1, 400), 1, "Unknown"},
      {"IELength of only the fixed part", EncodeList({withIeLength(12)}), 1, "Unknown"},
      {"IELength past the entry", EncodeList({withIeLength(0xFFFFFFFF)}), 1, "WPA-PSK"},
      {"IELength cutting into the WPA element", EncodeList({withIeLength(12 + 5 + 10)}), 1, "Unknown"},
      {"element running past the elements", EncodeList({EncodeEntry(past)}), 1, "Unknown"},
      {"pairwise count far past the element",
       EncodeList({EncodeEntry([&] {
         EntrySpec e;
         e.elements = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kCcmp)}, {Wpa(kAkmPsk)}, 0xFFFF));
         return e;
       }())}),
       1, "Unknown"},
      {"key-management count without its suite",
       EncodeList({EncodeEntry([&] {
         EntrySpec e;
         e.elements = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip), Wpa(kTkip)}, {}, {}, 1));
         return e;
       }())}),
       1, "Unknown"},
  };
  for (const Case& c : cases) {
    const auto rows = Decode(c.list);
    EXPECT_EQ(rows.size(), c.rows) << c.name;
    if (!rows.empty() && c.rows == rows.size()) {
      EXPECT_EQ(Auth(rows.back()), c.auth) << c.name;
    }
  }
}

TEST(DecodeScanList, ZeroBufferAndRefill) {
  auto shared = MakeScanBuffer();
  ScanBuffer copy;
  copy.fill(0xAB);
  CopyScanBuffer(nullptr, copy);
  std::vector<SurveyRow> rows(3);
  DecodeScanList(copy, rows);
  EXPECT_TRUE(rows.empty());  // old rows are dropped

  const Bytes list = EncodeList({EncodeEntry(EntrySpec{})});
  std::copy(list.begin(), list.end(), shared->begin());
  CopyScanBuffer(shared.get(), copy);
  DecodeScanList(copy, rows);
  EXPECT_EQ(rows.size(), 1u);
}

// Arbitrary bytes behind a plausible count and lengths: nothing read outside, no crash.
TEST(DecodeScanList, RandomEntriesInAFullBuffer) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    std::vector<uint8_t> buffer(kScanBufferSize);
    for (auto& b : buffer) b = static_cast<uint8_t>(rng());
    size_t offset = 4;
    buffer[0] = 200;
    buffer[1] = buffer[2] = buffer[3] = 0;
    while (offset + 4 <= buffer.size()) {
      const uint32_t length = 96 + rng() % 400;
      for (int i = 0; i < 4; ++i) buffer[offset + i] = static_cast<uint8_t>(length >> (8 * i));
      offset += length;
    }
    std::vector<SurveyRow> rows;
    DecodeScanList(buffer, rows);
    EXPECT_LE(rows.size(), 200u);
  }
}

}  // namespace
}  // namespace vx
