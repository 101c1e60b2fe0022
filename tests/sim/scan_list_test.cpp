// The scan list checked byte for byte against hand-built entries.
#include "sim/adapter/scan_list.h"

#include <gtest/gtest.h>

#include "adapter_test_util.h"
#include "sim/adapter/virtual_adapter.h"

namespace vx::sim {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& b, std::initializer_list<uint8_t> v) { b.insert(b.end(), v); }
void AppendU32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Network Mixed() {
  Network n;
  n.ssid = "Mix";
  n.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02};
  n.channel = 11;
  n.rssi = -66;
  n.security = Security::WpaWpa2Psk;
  n.cipher = Cipher::TkipAes;
  return n;
}

TEST(ScanListTest, MixedNetworkEntryByteForByte) {
  Bytes ies;
  Append(ies, {0, 3, 'M', 'i', 'x'});
  Append(ies, {1, 8, 0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24});
  Append(ies, {3, 1, 11});
  // RSN: version 1, group TKIP, pairwise TKIP and CCMP, one PSK suite, capabilities 0.
  Append(ies, {48, 24, 1, 0, 0x00, 0x0F, 0xAC, 2, 2, 0, 0x00, 0x0F, 0xAC, 2, 0x00, 0x0F, 0xAC, 4, 1, 0,
               0x00, 0x0F, 0xAC, 2, 0, 0});
  Append(ies, {50, 4, 0x30, 0x48, 0x60, 0x6C});
  Append(ies, {221, 26, 0x00, 0x50, 0xF2, 1, 1, 0, 0x00, 0x50, 0xF2, 2, 2, 0, 0x00, 0x50, 0xF2, 2,
               0x00, 0x50, 0xF2, 4, 1, 0, 0x00, 0x50, 0xF2, 2});
  EXPECT_EQ(BuildTaggedElements(Mixed()), ies);

  uint32_t ieLength = static_cast<uint32_t>(12 + ies.size());
  uint32_t length = (116 + ieLength + 3) & ~3u;
  Bytes e;
  AppendU32(e, length);
  Append(e, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02, 0, 0});
  AppendU32(e, 3);
  Append(e, {'M', 'i', 'x'});
  e.resize(48, 0);
  AppendU32(e, 1);                          // privacy
  AppendU32(e, static_cast<uint32_t>(-66));  // RSSI
  AppendU32(e, 3);                          // OFDM 2.4 GHz
  for (uint32_t v : {32u, 100u, 0u, 2462000u, 16u, 0u, 0u, 0u}) AppendU32(e, v);
  AppendU32(e, 1);  // infrastructure
  Append(e, {0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24, 0x30, 0x48, 0x60, 0x6C, 0, 0, 0, 0});
  AppendU32(e, ieLength);
  Append(e, {0x40, 0x42, 0x0F, 0, 0, 0, 0, 0});  // timestamp 1000000 us
  Append(e, {100, 0, 0x31, 0x04});               // beacon interval, ESS + privacy + short preamble + short slot
  e.insert(e.end(), ies.begin(), ies.end());
  e.resize(length, 0);
  EXPECT_EQ(BuildBssidEntry(Mixed(), 1000000), e);
}

TEST(ScanListTest, HiddenAdhocAnd5GHzElements) {
  Network n;
  n.ssid = "Secret";
  n.hidden = true;
  n.adhoc = true;
  n.channel = 36;
  n.security = Security::WpaNone;
  n.cipher = Cipher::Tkip;
  Bytes ies;
  Append(ies, {0, 0});  // hidden: empty SSID element first
  Append(ies, {1, 8, 0x8C, 0x12, 0x98, 0x24, 0xB0, 0x48, 0x60, 0x6C});
  Append(ies, {3, 1, 36});
  Append(ies, {6, 2, 0, 0});
  Append(ies, {221, 22, 0x00, 0x50, 0xF2, 1, 1, 0, 0x00, 0x50, 0xF2, 2, 1, 0, 0x00, 0x50, 0xF2, 2, 1, 0,
               0x00, 0x50, 0xF2, 0});
  EXPECT_EQ(BuildTaggedElements(n), ies);
  Bytes entry = BuildBssidEntry(n, 0);
  ByteReader r(entry);
  r.Seek(12);
  EXPECT_EQ(r.U32(), 0u);  // SSID length 0
  r.Seek(72);
  EXPECT_EQ(r.U32(), 5180000u);
  r.Seek(92);
  EXPECT_EQ(r.U32(), 0u);  // IBSS
}

TEST(ScanListTest, ScanThenListFromTheAdapter) {
  World w;
  w.networks = {Mixed()};
  Network far = Mixed();
  far.ssid = "Far";
  far.inRange = false;
  w.networks.push_back(far);
  VirtualAdapter adapter(AdapterHardware{}, w);
  test::Requests io(adapter, adapter.DevicePath());
  ASSERT_TRUE(io.Set(OID_802_11_BSSID_LIST_SCAN, {}));
  auto list = io.Query(OID_802_11_BSSID_LIST, kBssidListSize);
  ASSERT_TRUE(list);
  ByteReader r(*list);
  ASSERT_EQ(r.U32(), 1u);
  uint32_t length = r.U32();
  EXPECT_EQ(list->size(), 4 + length);
  EXPECT_EQ(length % 4, 0u);
  EXPECT_FALSE(io.Query(OID_802_11_BSSID_LIST, list->size() - 1));  // does not fit

  // The list changes only with the next scan.
  adapter.SetNetworkInRange("Far", true);
  EXPECT_EQ(io.Query(OID_802_11_BSSID_LIST, kBssidListSize)->size(), list->size());
  ASSERT_TRUE(io.Set(OID_802_11_BSSID_LIST_SCAN, {}));
  auto count = [](test::Requests& io) {
    auto list = io.Query(OID_802_11_BSSID_LIST, kBssidListSize);
    return list ? ByteReader(*list).U32() : 99u;
  };
  EXPECT_EQ(count(io), 2u);

  // 5 GHz networks are seen only by an adapter with the band.
  Network five = Mixed();
  five.channel = 149;
  w.networks = {five};
  adapter.SetWorld(w);
  ASSERT_TRUE(io.Set(OID_802_11_BSSID_LIST_SCAN, {}));
  EXPECT_EQ(count(io), 0u);
  AdapterHardware a;
  a.aBand = true;
  VirtualAdapter dual(a, w);
  test::Requests io2(dual, dual.DevicePath());
  EXPECT_EQ(count(io2), 1u);
}

}  // namespace
}  // namespace vx::sim
