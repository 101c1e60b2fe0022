// Builds BSSID lists byte by byte for tests, the benchmark and the fuzz seeds: entries in the
// driver's layout and WPA/RSN elements with chosen suites.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_writer.h"
#include "base/hex.h"

namespace vx::testing {

using Bytes = std::vector<uint8_t>;

struct SuiteSelector {
  std::array<uint8_t, 3> oui;
  uint8_t type;
};
constexpr std::array<uint8_t, 3> kWpaOui = {0x00, 0x50, 0xF2};
constexpr std::array<uint8_t, 3> kRsnOui = {0x00, 0x0F, 0xAC};
inline SuiteSelector Wpa(uint8_t type) { return {kWpaOui, type}; }
inline SuiteSelector Rsn(uint8_t type) { return {kRsnOui, type}; }
constexpr uint8_t kTkip = 2, kCcmp = 4, kWrap = 3, kAkm8021x = 1, kAkmPsk = 2;

inline Bytes Element(uint8_t id, const Bytes& body) {
  ByteWriter w;
  w.U8(id).U8(static_cast<uint8_t>(body.size())).Bytes(body);
  return w.Take();
}

// Version, group, counted pairwise list, counted key-management list; counts may be overridden
// to disagree with the lists.
inline Bytes SuiteBody(const SuiteSelector& group, const std::vector<SuiteSelector>& pairwise, const std::vector<SuiteSelector>& akm,
                       std::optional<uint16_t> pairwiseCount = {}, std::optional<uint16_t> akmCount = {}) {
  ByteWriter w;
  auto suite = [&w](const SuiteSelector& s) { w.U8(s.oui[0]).U8(s.oui[1]).U8(s.oui[2]).U8(s.type); };
  w.U16(1);
  suite(group);
  w.U16(pairwiseCount.value_or(static_cast<uint16_t>(pairwise.size())));
  for (const auto& s : pairwise) suite(s);
  w.U16(akmCount.value_or(static_cast<uint16_t>(akm.size())));
  for (const auto& s : akm) suite(s);
  return w.Take();
}

inline Bytes WpaElement(const Bytes& suiteBody) {
  ByteWriter w;
  w.U8(0x00).U8(0x50).U8(0xF2).U8(0x01).Bytes(suiteBody);
  return Element(221, w.Take());
}
inline Bytes RsnElement(const Bytes& suiteBody) { return Element(48, suiteBody); }
inline Bytes SsidElement(const std::string& ssid) { return Element(0, Bytes(ssid.begin(), ssid.end())); }

struct EntrySpec {
  MacAddress bssid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
  std::string ssid = "net";
  std::optional<uint32_t> ssidLength;  // defaults to ssid.size()
  uint32_t privacy = 0;
  int32_t rssi = -60;
  uint32_t frequencyKhz = 2437000;
  uint32_t infrastructureMode = 1;
  Bytes elements;                      // tagged elements after the 12 fixed bytes
  std::optional<uint32_t> length;      // defaults to the bytes written
  std::optional<uint32_t> ieLength;    // defaults to 12 + elements
};

inline Bytes EncodeEntry(const EntrySpec& e) {
  ByteWriter w;
  const uint32_t ieLength = e.ieLength.value_or(static_cast<uint32_t>(12 + e.elements.size()));
  const uint32_t natural = static_cast<uint32_t>(116 + 12 + e.elements.size());
  w.U32(e.length.value_or(natural));
  w.Bytes(e.bssid).Zeros(2);
  w.U32(e.ssidLength.value_or(static_cast<uint32_t>(e.ssid.size())));
  Bytes ssid(32, 0);
  for (size_t i = 0; i < e.ssid.size() && i < 32; ++i) ssid[i] = static_cast<uint8_t>(e.ssid[i]);
  w.Bytes(ssid);
  w.U32(e.privacy).I32(e.rssi).U32(3);                          // network type in use: OFDM24
  w.U32(32).U32(100).U32(0).U32(e.frequencyKhz).Zeros(16);     // configuration
  w.U32(e.infrastructureMode);
  w.Bytes(Bytes{0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24}).Zeros(8);  // supported rates
  w.U32(ieLength);
  w.Zeros(8).U16(100).U16(e.privacy ? 0x0011 : 0x0001);         // timestamp, interval, capability
  w.Bytes(e.elements);
  return w.Take();
}

// The count field then the entries back to back, zero-padded to `size` bytes when given.
inline Bytes EncodeList(const std::vector<Bytes>& entries, std::optional<uint32_t> count = {}, size_t size = 0) {
  ByteWriter w;
  w.U32(count.value_or(static_cast<uint32_t>(entries.size())));
  for (const auto& e : entries) w.Bytes(e);
  Bytes out = w.Take();
  if (out.size() < size) out.resize(size, 0);
  return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace vx::testing
