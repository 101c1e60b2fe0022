#include "sim/adapter/scan_list.h"

#include "base/byte_writer.h"
#include "driver/records.h"

namespace vx::sim {
namespace {

constexpr uint8_t kWpaOui[3] = {0x00, 0x50, 0xF2};
constexpr uint8_t kRsnOui[3] = {0x00, 0x0F, 0xAC};
enum : uint8_t { kSuiteTkip = 2, kSuiteCcmp = 4, kAkm8021x = 1, kAkmPsk = 2, kAkmNone = 0 };

// Basic rates carry bit 0x80.
const std::vector<uint8_t> kRates24 = {0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24};
const std::vector<uint8_t> kExtRates24 = {0x30, 0x48, 0x60, 0x6C};
const std::vector<uint8_t> kRates5 = {0x8C, 0x12, 0x98, 0x24, 0xB0, 0x48, 0x60, 0x6C};

bool HasWpaElement(const Network& n) {
  return n.security == Security::WpaPsk || n.security == Security::WpaWpa2Psk ||
         n.security == Security::WpaEnterprise || n.security == Security::WpaNone;
}
bool HasRsnElement(const Network& n) {
  return n.security == Security::Wpa2Psk || n.security == Security::WpaWpa2Psk ||
         n.security == Security::Wpa2Enterprise;
}

uint8_t Akm(const Network& n) {
  switch (n.security) {
    case Security::WpaEnterprise:
    case Security::Wpa2Enterprise:
      return kAkm8021x;
    case Security::WpaNone:
      return kAkmNone;
    default:
      return kAkmPsk;
  }
}

// Group cipher, then the pairwise suites, then one key-management suite.
void WriteSuites(ByteWriter& w, const Network& n, const uint8_t (&oui)[3]) {
  auto suite = [&](uint8_t type) { w.Bytes(oui).U8(type); };
  bool tkip = n.cipher != Cipher::Aes;
  suite(tkip ? kSuiteTkip : kSuiteCcmp);
  std::vector<uint8_t> pairwise;
  if (tkip) pairwise.push_back(kSuiteTkip);
  if (n.cipher != Cipher::Tkip) pairwise.push_back(kSuiteCcmp);
  w.U16(static_cast<uint16_t>(pairwise.size()));
  for (uint8_t t : pairwise) suite(t);
  w.U16(1);
  suite(Akm(n));
}

void Element(ByteWriter& w, uint8_t id, std::span<const uint8_t> body) {
  w.U8(id).U8(static_cast<uint8_t>(body.size())).Bytes(body);
}

}  // namespace

std::vector<uint8_t> BuildWpaElement(const Network& n) {
  if (!HasWpaElement(n)) return {};
  ByteWriter body;
  body.Bytes(kWpaOui).U8(0x01).U16(1);
  WriteSuites(body, n, kWpaOui);
  ByteWriter w;
  Element(w, 221, body.Take());
  return w.Take();
}

std::vector<uint8_t> BuildRsnElement(const Network& n) {
  if (!HasRsnElement(n)) return {};
  ByteWriter body;
  body.U16(1);
  WriteSuites(body, n, kRsnOui);
  body.U16(0);  // RSN capabilities
  ByteWriter w;
  Element(w, 48, body.Take());
  return w.Take();
}

std::vector<uint8_t> BuildTaggedElements(const Network& n) {
  ByteWriter w;
  std::vector<uint8_t> ssid;
  if (!n.hidden) ssid.assign(n.ssid.begin(), n.ssid.begin() + std::min<size_t>(n.ssid.size(), 32));
  Element(w, 0, ssid);
  Element(w, 1, n.Is5GHz() ? kRates5 : kRates24);
  uint8_t channel = static_cast<uint8_t>(n.channel);
  Element(w, 3, std::span<const uint8_t>(&channel, 1));
  if (n.adhoc) {
    const uint8_t atim[2] = {0, 0};
    Element(w, 6, atim);
  }
  w.Bytes(BuildRsnElement(n));
  if (!n.Is5GHz()) Element(w, 50, kExtRates24);
  w.Bytes(BuildWpaElement(n));
  return w.Take();
}

std::vector<uint8_t> BuildBssidEntry(const Network& n, uint64_t timestampUs) {
  std::vector<uint8_t> tagged = BuildTaggedElements(n);
  uint16_t capability = n.adhoc ? 0x0002 : 0x0001;
  bool privacy = n.security != Security::Open;
  if (privacy) capability |= 0x0010;
  capability |= 0x0020;                   // short preamble
  if (!n.Is5GHz()) capability |= 0x0400;  // short slot time
  uint32_t ieLength = static_cast<uint32_t>(kFixedIeSize + tagged.size());
  uint32_t length = static_cast<uint32_t>((kBssidEntryFixedSize + ieLength + 3) & ~size_t{3});

  ConfigurationRecord config;
  config.beaconPeriod = n.beaconPeriod;
  config.dsConfig = ChannelToFrequency(n.channel);
  std::vector<uint8_t> rates = n.Is5GHz() ? kRates5 : kRates24;
  if (!n.Is5GHz()) rates.insert(rates.end(), kExtRates24.begin(), kExtRates24.end());
  rates.resize(16, 0);

  ByteWriter w;
  w.U32(length).Bytes(n.bssid).Zeros(2);
  w.Bytes(EncodeSsid(SsidRecord::From(n.hidden ? "" : n.ssid)));
  w.U32(privacy ? 1 : 0).I32(n.rssi);
  w.U32(n.Is5GHz() ? kNetTypeOFDM5 : kNetTypeOFDM24);
  w.Bytes(EncodeConfiguration(config));
  w.U32(n.adhoc ? 0 : 1);
  w.Bytes(rates);
  w.U32(ieLength);
  w.U64(timestampUs).U16(n.beaconPeriod).U16(capability);
  w.Bytes(tagged);
  w.Zeros(length - w.size());
  return w.Take();
}

std::vector<uint8_t> BuildBssidList(const std::vector<Network>& networks, uint64_t timestampUs) {
  ByteWriter w;
  w.U32(static_cast<uint32_t>(networks.size()));
  for (const Network& n : networks) w.Bytes(BuildBssidEntry(n, timestampUs));
  return w.Take();
}

}  // namespace vx::sim
