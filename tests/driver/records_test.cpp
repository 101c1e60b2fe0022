#include "driver/records.h"

#include <gtest/gtest.h>

#include "driver/oid_codes.h"

namespace vx {
namespace {

TEST(Records, WdsWithThreePeersAndKeyHasTheFixedOffsets) {
  WdsRecord w;
  w.peers = {{1, 2, 3, 4, 5, 6}, {0x11, 0x12, 0x13, 0x14, 0x15, 0x16}, {0x21, 0x22, 0x23, 0x24, 0x25, 0x26}};
  std::array<uint8_t, 32> key{};
  for (int i = 0; i < 32; ++i) key[i] = static_cast<uint8_t>(0xA0 + i);
  w.key = key;
  Bytes b = EncodeWds(w);
  ASSERT_EQ(b.size(), 60u);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(b[4], 1);
  EXPECT_EQ(b[10], 0x11);
  EXPECT_EQ(b[16], 0x21);
  EXPECT_EQ(b[22], 0);
  EXPECT_EQ(b[23], 0);
  EXPECT_EQ(b[24], 32);
  EXPECT_EQ(b[28], 0xA0);
  EXPECT_EQ(b[59], 0xA0 + 31);
  WdsRecord back = DecodeWds(b);
  EXPECT_EQ(back.peers, w.peers);
  EXPECT_EQ(back.key, w.key);
}

TEST(Records, DisabledWdsSendsNoPeersAndNoKey) {
  Bytes b = EncodeWds({});
  EXPECT_EQ(b, Bytes(60, 0));
}

TEST(Records, AccessControlWithPolicyOffSendsZeroCount) {
  std::vector<MacAddress> macs(5, MacAddress{1, 2, 3, 4, 5, 6});
  Bytes off = EncodeAccessControl(0, macs);
  ASSERT_EQ(off.size(), 264u);
  EXPECT_EQ(off, Bytes(264, 0));
  Bytes on = EncodeAccessControl(2, {{0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}, {1, 2, 3, 4, 5, 6}});
  EXPECT_EQ(on[0], 2);
  EXPECT_EQ(on[4], 2);
  EXPECT_EQ(on[8], 0xAA);
  EXPECT_EQ(on[14], 0);  // two zero bytes after each address
  EXPECT_EQ(on[16], 1);
  EXPECT_EQ(DecodeAccessControl(on).macs.size(), 2u);
  // A policy with an empty list is also sent as off.
  EXPECT_EQ(EncodeAccessControl(1, {}), Bytes(264, 0));
}

TEST(Records, CountryRegionFixedBitsMakeBandsUnchangeable) {
  CountryRegion c = DecodeCountryRegion(0x85);
  EXPECT_EQ(c.bg, 5u);
  EXPECT_FALSE(c.bgChangeable);
  EXPECT_TRUE(c.aChangeable);
  c = DecodeCountryRegion(0x8701);
  EXPECT_EQ(c.bg, 1u);
  EXPECT_TRUE(c.bgChangeable);
  EXPECT_EQ(c.a, 7u);
  EXPECT_FALSE(c.aChangeable);
  EXPECT_EQ(EncodeCountryRegionSet(5, 7), 0x0705u);
}

TEST(Records, TxRateAndLinkEventTexts) {
  EXPECT_EQ(TxRateText(2), "5.5");
  EXPECT_EQ(TxRateText(11), "54");
  EXPECT_EQ(TxRateText(12), "1");
  EXPECT_EQ(LinkEventText(0), "Link is Up");
  EXPECT_EQ(LinkEventText(10), "EAP succeed");
  EXPECT_EQ(LinkEventText(11), "");
}

TEST(Records, NoiseMapping) {
  EXPECT_EQ(NoiseDbm(50), -93);
  EXPECT_EQ(NoisePercent(43), 0);
  EXPECT_EQ(NoisePercent(0), 0);     // negative clamps to 0
  EXPECT_EQ(NoisePercent(60), 56);   // (600-430)/3
  EXPECT_EQ(NoisePercent(200), 100);
}

TEST(Records, AddKeyLayoutForWepAndWpaNone) {
  Bytes wep = EncodeAddKey(1 | kTransmitKeyBit, Bytes{1, 2, 3, 4, 5});
  ASSERT_EQ(wep.size(), 37u);
  EXPECT_EQ(wep[0], 44);  // 39 + key length, as the driver expects
  EXPECT_EQ(wep[4], 1);
  EXPECT_EQ(wep[7], 0x80);
  EXPECT_EQ(wep[8], 5);
  EXPECT_EQ(wep[12], 0xFF);
  EXPECT_EQ(wep[17], 0xFF);
  EXPECT_EQ(wep[18], 0);
  EXPECT_EQ(wep[23], 0);
  EXPECT_EQ(wep[24], 0);  // KeyRSC
  EXPECT_EQ(wep[32], 1);  // material
  Bytes none = EncodeAddKey(kTransmitKeyBit, Bytes(32, 7));
  EXPECT_EQ(none[0], 71);
  auto back = DecodeAddKey(none);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->material, Bytes(32, 7));
  // A key length that runs past the buffer is refused.
  Bytes cut(wep.begin(), wep.end() - 1);
  EXPECT_FALSE(DecodeAddKey(cut));
}

TEST(Records, RemoveKeyIsSixteenBytes) {
  Bytes r = EncodeRemoveKey(3);
  ASSERT_EQ(r.size(), 16u);
  EXPECT_EQ(r[0], 16);
  EXPECT_EQ(r[4], 3);
  EXPECT_EQ(r[8], 0xFF);
  EXPECT_EQ(r[14], 0);
  EXPECT_EQ(DecodeRemoveKeyIndex(r), 3u);
}

TEST(Records, SsidIsLengthCountedAndCut) {
  SsidRecord s = SsidRecord::From("home");
  Bytes b = EncodeSsid(s);
  ASSERT_EQ(b.size(), 36u);
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(b[4], 'h');
  EXPECT_EQ(b[8], 0);
  EXPECT_EQ(SsidRecord::From(std::string(40, 'x')).length, 32u);
  // A driver that reports a length above 32 does not make the reader run past the array.
  Bytes bad = b;
  bad[0] = 200;
  EXPECT_EQ(DecodeSsid(bad).Text().size(), 32u);
}

TEST(Records, StatisticsCountersFromOffsetEight) {
  StatisticsRecord s;
  s.transmittedFragmentCount = 0x100000005ull;
  s.retryCount = 3;
  s.fcsErrorCount = 9;
  Bytes b = EncodeStatistics(s);
  ASSERT_EQ(b.size(), 176u);
  EXPECT_EQ(b[8], 5);
  EXPECT_EQ(b[12], 1);
  EXPECT_EQ(b[8 + 3 * 8], 3);
  EXPECT_EQ(b[8 + 11 * 8], 9);
  StatisticsRecord back = DecodeStatistics(b);
  EXPECT_EQ(back.transmittedFragmentCount, 0x100000005ull);
  EXPECT_EQ(back.fcsErrorCount, 9u);
  // A short answer reads as zeroes past its end.
  EXPECT_EQ(DecodeStatistics(Bytes(10, 0xFF)).retryCount, 0u);
}

TEST(Records, RateSetsByWirelessMode) {
  Bytes b = EncodeRateSet(RateSetForWirelessMode(0));
  ASSERT_EQ(b.size(), 26u);
  EXPECT_EQ(b[0], 8);
  EXPECT_EQ(b[1], 0x82);
  EXPECT_EQ(b[8], 0x6C);
  EXPECT_EQ(b[13], 4);
  EXPECT_EQ(b[14], 0x8C);
  EXPECT_EQ(b[17], 0x60);
  EXPECT_EQ(b[18], 0);
  EXPECT_EQ(RateSetForWirelessMode(1).supported.size(), 4u);
  EXPECT_TRUE(RateSetForWirelessMode(4).extended.empty());
  EXPECT_EQ(DecodeRateSet(b), RateSetForWirelessMode(3));
  // Counts above 12 stay inside the record.
  Bytes bad(26, 0xFF);
  EXPECT_EQ(DecodeRateSet(bad).supported.size(), 12u);
}

TEST(Records, EventAndMacTablesCapTheirCounts) {
  std::vector<EventEntry> ev = {{0x01D9000000000000ull, {1, 2, 3, 4, 5, 6}, 3}};
  Bytes b = EncodeEventTable(ev);
  ASSERT_EQ(b.size(), 168u);
  EXPECT_EQ(b[16], 1);
  EXPECT_EQ(b[22], 3);
  EXPECT_EQ(DecodeEventTable(b), ev);
  b[0] = 50;
  EXPECT_EQ(DecodeEventTable(b).size(), 10u);

  std::vector<MacTableEntry> st = {{{1, 2, 3, 4, 5, 6}, 7, 1}};
  Bytes m = EncodeMacTable(st);
  ASSERT_EQ(m.size(), 260u);
  EXPECT_EQ(m[10], 7);
  EXPECT_EQ(m[11], 1);
  EXPECT_EQ(DecodeMacTable(m), st);
  m[0] = 33;
  EXPECT_EQ(DecodeMacTable(m).size(), 32u);
}

TEST(Records, RadiusRekeyAndLinkStatusLayouts) {
  Bytes r = EncodeRadius({0x0100007F, 1812, "secret"});
  ASSERT_EQ(r.size(), 72u);
  EXPECT_EQ(r[0], 0x7F);
  EXPECT_EQ(r[4], 0x14);
  EXPECT_EQ(r[5], 0x07);
  EXPECT_EQ(r[8], 's');
  EXPECT_EQ(r[14], 0);
  EXPECT_EQ(DecodeRadius(r).key, "secret");
  EXPECT_EQ(EncodeRekey({1, 3600}), (Bytes{1, 0, 0, 0, 0x10, 0x0E, 0, 0}));
  LinkStatusRecord ls = DecodeLinkStatus(Bytes{108, 0, 0, 0, 80, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0});
  EXPECT_EQ(ls.txRate, 108u);
  EXPECT_EQ(ls.rxCounter, 2u);
}

TEST(Records, ConfigurationAndConfigWords) {
  ConfigurationRecord c;
  c.beaconPeriod = 100;
  c.dsConfig = 2437000;
  Bytes b = EncodeConfiguration(c);
  ASSERT_EQ(b.size(), 32u);
  EXPECT_EQ(b[0], 32);
  EXPECT_EQ(b[4], 100);
  EXPECT_EQ(DecodeConfiguration(b), c);
  ConfigWords w{1, 0, 2, 0, 1, 1, 0xDEAD, 0xBEEF};
  EXPECT_EQ(DecodeConfigWords(EncodeConfigWords(w)), w);
}

TEST(Records, AddressVersionAndNetworkTypes) {
  EXPECT_EQ(FormatApAddress(Bytes{192, 168, 1, 1}), "[192.168.1.1]");
  EXPECT_EQ(FormatApAddress(Bytes{0, 0, 0, 0}), "");
  EXPECT_EQ(FormatVersion(Bytes{2, 13, 0, 0}), "2.13");
  Bytes t = EncodeNetworkTypeList({kNetTypeDS, kNetTypeOFDM24, kNetTypeOFDM5});
  EXPECT_EQ(DecodeNetworkTypeList(t), (std::vector<uint32_t>{1, 3, 2}));
  // A count larger than the answer stops at the end of the buffer.
  t[0] = 200;
  EXPECT_EQ(DecodeNetworkTypeList(t).size(), 3u);
}

TEST(Records, Ccx2WordRoundTripAndThresholdRange) {
  Ccx2Control c = DecodeCcx2((2000u << 16) | (75u << 8) | 0x05);
  EXPECT_TRUE(c.switches[0]);
  EXPECT_FALSE(c.switches[1]);
  EXPECT_TRUE(c.switches[2]);
  EXPECT_EQ(c.roamThresholdDbm, -75);
  EXPECT_EQ(c.limitMs, 2000u);
  EXPECT_EQ(EncodeCcx2(c), (2000u << 16) | (75u << 8) | 0x05);
  EXPECT_EQ(DecodeCcx2(50u << 8).roamThresholdDbm, -70);  // out of range reads as -70
}

}  // namespace
}  // namespace vx
