#include "driver/records.h"

#include <algorithm>
#include <cstdio>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "driver/oid_codes.h"

namespace vx {
namespace {

// A driver may answer with fewer bytes than asked; the missing tail reads as zero.
Bytes Padded(ByteView b, size_t size) {
  Bytes out(size, 0);
  std::copy_n(b.begin(), std::min(b.size(), size), out.begin());
  return out;
}

MacAddress ReadMac(ByteReader& r) {
  MacAddress m{};
  r.Bytes(m);
  return m;
}

const MacAddress kBroadcast = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

}  // namespace

SsidRecord SsidRecord::From(std::string_view text) {
  SsidRecord r;
  r.length = static_cast<uint32_t>(std::min<size_t>(text.size(), 32));
  std::copy_n(text.begin(), r.length, r.ssid.begin());
  return r;
}

std::string SsidRecord::Text() const {
  return std::string(ssid.begin(), ssid.begin() + std::min<uint32_t>(length, 32));
}

Bytes EncodeSsid(const SsidRecord& r) { return ByteWriter().U32(r.length).Bytes(r.ssid).Take(); }

SsidRecord DecodeSsid(ByteView b) {
  Bytes p = Padded(b, kSsidRecordSize);
  ByteReader r(p);
  SsidRecord s;
  s.length = r.U32();
  r.Bytes(s.ssid);
  return s;
}

Bytes EncodeConfiguration(const ConfigurationRecord& c) {
  return ByteWriter()
      .U32(c.length)
      .U32(c.beaconPeriod)
      .U32(c.atimWindow)
      .U32(c.dsConfig)
      .U32(c.fhLength)
      .U32(c.hopPattern)
      .U32(c.hopSet)
      .U32(c.dwellTime)
      .Take();
}

ConfigurationRecord DecodeConfiguration(ByteView b) {
  Bytes p = Padded(b, kConfigurationSize);
  ByteReader r(p);
  ConfigurationRecord c;
  c.length = r.U32();
  c.beaconPeriod = r.U32();
  c.atimWindow = r.U32();
  c.dsConfig = r.U32();
  c.fhLength = r.U32();
  c.hopPattern = r.U32();
  c.hopSet = r.U32();
  c.dwellTime = r.U32();
  return c;
}

Bytes EncodeStatistics(const StatisticsRecord& s) {
  ByteWriter w;
  w.U32(s.length).U32(0);
  for (uint64_t v : {s.transmittedFragmentCount, s.multicastTransmittedFrameCount, s.failedCount,
                     s.retryCount, s.multipleRetryCount, s.rtsSuccessCount, s.rtsFailureCount,
                     s.ackFailureCount, s.frameDuplicateCount, s.receivedFragmentCount,
                     s.multicastReceivedFrameCount, s.fcsErrorCount})
    w.U64(v);
  w.Zeros(StatisticsRecord::kSize - w.size());
  return w.Take();
}

StatisticsRecord DecodeStatistics(ByteView b) {
  Bytes p = Padded(b, StatisticsRecord::kSize);
  ByteReader r(p);
  StatisticsRecord s;
  s.length = r.U32();
  r.Skip(4);
  for (uint64_t* f : {&s.transmittedFragmentCount, &s.multicastTransmittedFrameCount, &s.failedCount,
                      &s.retryCount, &s.multipleRetryCount, &s.rtsSuccessCount, &s.rtsFailureCount,
                      &s.ackFailureCount, &s.frameDuplicateCount, &s.receivedFragmentCount,
                      &s.multicastReceivedFrameCount, &s.fcsErrorCount})
    *f = r.U64();
  return s;
}

Bytes EncodeAddKey(uint32_t keyIndex, ByteView material) {
  return ByteWriter()
      .U32(static_cast<uint32_t>(39 + material.size()))
      .U32(keyIndex)
      .U32(static_cast<uint32_t>(material.size()))
      .Bytes(kBroadcast)
      .Zeros(6)  // KeyRSC is 8-byte aligned in the driver's structure: offset 24
      .U64(0)
      .Bytes(material)
      .Take();
}

std::optional<AddKeyRecord> DecodeAddKey(ByteView b) {
  ByteReader r(b);
  AddKeyRecord k;
  k.length = r.U32();
  k.keyIndex = r.U32();
  uint32_t keyLength = r.U32();
  k.bssid = ReadMac(r);
  r.Skip(6);
  k.keyRsc = r.U64();
  auto material = r.Span(keyLength);
  if (!r.ok()) return std::nullopt;
  k.material.assign(material.begin(), material.end());
  return k;
}

Bytes EncodeRemoveKey(uint32_t keyIndex) {
  return ByteWriter().U32(kRemoveKeySize).U32(keyIndex).Bytes(kBroadcast).Zeros(2).Take();
}

std::optional<uint32_t> DecodeRemoveKeyIndex(ByteView b) {
  ByteReader r(b);
  r.U32();
  uint32_t index = r.U32();
  r.Skip(6);
  if (!r.ok()) return std::nullopt;
  return index;
}

Bytes EncodeNetworkTypeList(const std::vector<uint32_t>& types) {
  ByteWriter w;
  w.U32(static_cast<uint32_t>(types.size()));
  for (uint32_t t : types) w.U32(t);
  return w.Take();
}

std::vector<uint32_t> DecodeNetworkTypeList(ByteView b) {
  ByteReader r(b);
  uint32_t count = r.U32();
  std::vector<uint32_t> types;
  for (uint32_t i = 0; i < count && r.remaining() >= 4; ++i) types.push_back(r.U32());
  return types;
}

Bytes EncodeLinkStatus(const LinkStatusRecord& s) {
  return ByteWriter().U32(s.txRate).U32(s.channelQuality).U32(s.txCounter).U32(s.rxCounter).Take();
}

LinkStatusRecord DecodeLinkStatus(ByteView b) {
  Bytes p = Padded(b, kLinkStatusSize);
  ByteReader r(p);
  LinkStatusRecord s;
  s.txRate = r.U32();
  s.channelQuality = r.U32();
  s.txCounter = r.U32();
  s.rxCounter = r.U32();
  return s;
}

Bytes EncodeRegisterAccess(const RegisterAccessRecord& a) {
  return ByteWriter().U32(a.kind).U32(a.address).U32(a.value).Take();
}

RegisterAccessRecord DecodeRegisterAccess(ByteView b) {
  Bytes p = Padded(b, kRegisterAccessSize);
  ByteReader r(p);
  RegisterAccessRecord a;
  a.kind = r.U32();
  a.address = r.U32();
  a.value = r.U32();
  return a;
}

Bytes EncodeEventTable(const std::vector<EventEntry>& events) {
  ByteWriter w;
  size_t n = std::min(events.size(), kMaxEventEntries);
  w.U32(static_cast<uint32_t>(n)).U32(0);
  for (size_t i = 0; i < n; ++i) w.U64(events[i].time).Bytes(events[i].mac).U16(events[i].type);
  w.Zeros(kEventTableSize - w.size());
  return w.Take();
}

std::vector<EventEntry> DecodeEventTable(ByteView b) {
  Bytes p = Padded(b, kEventTableSize);
  ByteReader r(p);
  uint32_t count = std::min<uint32_t>(r.U32(), kMaxEventEntries);
  r.Skip(4);
  std::vector<EventEntry> events(count);
  for (auto& e : events) {
    e.time = r.U64();
    e.mac = ReadMac(r);
    e.type = r.U16();
  }
  return events;
}

Bytes EncodeMacTable(const std::vector<MacTableEntry>& entries) {
  ByteWriter w;
  size_t n = std::min(entries.size(), kMaxMacTableEntries);
  w.U32(static_cast<uint32_t>(n));
  for (size_t i = 0; i < n; ++i) w.Bytes(entries[i].mac).U8(entries[i].aid).U8(entries[i].powerSaving);
  w.Zeros(kMacTableSize - w.size());
  return w.Take();
}

std::vector<MacTableEntry> DecodeMacTable(ByteView b) {
  Bytes p = Padded(b, kMacTableSize);
  ByteReader r(p);
  uint32_t count = std::min<uint32_t>(r.U32(), kMaxMacTableEntries);
  std::vector<MacTableEntry> entries(count);
  for (auto& e : entries) {
    e.mac = ReadMac(r);
    e.aid = r.U8();
    e.powerSaving = r.U8();
  }
  return entries;
}

Bytes EncodeConfigWords(const ConfigWords& words) {
  ByteWriter w;
  for (uint32_t v : words) w.U32(v);
  return w.Take();
}

ConfigWords DecodeConfigWords(ByteView b) {
  Bytes p = Padded(b, kConfigRecordSize);
  ByteReader r(p);
  ConfigWords w{};
  for (auto& v : w) v = r.U32();
  return w;
}

Bytes EncodeAccessControl(uint32_t policy, const std::vector<MacAddress>& macs) {
  size_t n = std::min(macs.size(), kMaxMacTableEntries);
  bool off = policy == 0 || n == 0;
  ByteWriter w;
  w.U32(off ? 0 : policy).U32(off ? 0 : static_cast<uint32_t>(n));
  if (!off)
    for (size_t i = 0; i < n; ++i) w.Bytes(macs[i]).Zeros(2);
  w.Zeros(kAccessControlSize - w.size());
  return w.Take();
}

AccessControlRecord DecodeAccessControl(ByteView b) {
  Bytes p = Padded(b, kAccessControlSize);
  ByteReader r(p);
  AccessControlRecord a;
  a.policy = r.U32();
  uint32_t count = std::min<uint32_t>(r.U32(), kMaxMacTableEntries);
  for (uint32_t i = 0; i < count; ++i) {
    a.macs.push_back(ReadMac(r));
    r.Skip(2);
  }
  return a;
}

Bytes EncodeWds(const WdsRecord& wds) {
  size_t n = std::min<size_t>(wds.peers.size(), 3);
  ByteWriter w;
  w.U32(static_cast<uint32_t>(n));
  for (size_t i = 0; i < 3; ++i) {
    if (i < n)
      w.Bytes(wds.peers[i]);
    else
      w.Zeros(6);
  }
  w.Zeros(2);
  if (wds.key) {
    w.U32(32).Bytes(*wds.key);
  } else {
    w.U32(0).Zeros(32);
  }
  return w.Take();
}

WdsRecord DecodeWds(ByteView b) {
  Bytes p = Padded(b, kWdsSize);
  ByteReader r(p);
  WdsRecord wds;
  uint32_t n = std::min<uint32_t>(r.U32(), 3);
  for (uint32_t i = 0; i < 3; ++i) {
    MacAddress m = ReadMac(r);
    if (i < n) wds.peers.push_back(m);
  }
  r.Skip(2);
  uint32_t keyLength = r.U32();
  std::array<uint8_t, 32> key{};
  r.Bytes(key);
  if (keyLength == 32) wds.key = key;
  return wds;
}

Bytes EncodeRadius(const RadiusRecord& radius) {
  ByteWriter w;
  w.U32(radius.server).U32(radius.port);
  size_t n = std::min<size_t>(radius.key.size(), 64);
  w.Bytes(ByteView(reinterpret_cast<const uint8_t*>(radius.key.data()), n)).Zeros(64 - n);
  return w.Take();
}

RadiusRecord DecodeRadius(ByteView b) {
  Bytes p = Padded(b, kRadiusSize);
  ByteReader r(p);
  RadiusRecord radius;
  radius.server = r.U32();
  radius.port = r.U32();
  auto key = r.Span(64);
  auto end = std::find(key.begin(), key.end(), 0);
  radius.key.assign(key.begin(), end);
  return radius;
}

Bytes EncodeRekey(const RekeyRecord& k) { return ByteWriter().U32(k.method).U32(k.interval).Take(); }

RekeyRecord DecodeRekey(ByteView b) {
  Bytes p = Padded(b, kRekeySize);
  ByteReader r(p);
  RekeyRecord k;
  k.method = r.U32();
  k.interval = r.U32();
  return k;
}

Bytes EncodeRateSet(const RateSetRecord& s) {
  ByteWriter w;
  for (const auto* rates : {&s.supported, &s.extended}) {
    size_t n = std::min<size_t>(rates->size(), 12);
    w.U8(static_cast<uint8_t>(n)).Bytes(ByteView(rates->data(), n)).Zeros(12 - n);
  }
  return w.Take();
}

RateSetRecord DecodeRateSet(ByteView b) {
  Bytes p = Padded(b, kRateSetSize);
  ByteReader r(p);
  RateSetRecord s;
  for (auto* rates : {&s.supported, &s.extended}) {
    size_t n = std::min<size_t>(r.U8(), 12);
    auto bytes = r.Span(12);
    rates->assign(bytes.begin(), bytes.begin() + n);
  }
  return s;
}

RateSetRecord RateSetForWirelessMode(uint32_t wirelessMode) {
  switch (wirelessMode) {
    case 1:
      return {{0x82, 0x84, 0x8B, 0x96}, {}};
    case 4:
      return {{0x8C, 0x12, 0x98, 0x24, 0xB0, 0x48, 0x60, 0x6C}, {}};
    default:
      return {{0x82, 0x84, 0x8B, 0x96, 0x12, 0x24, 0x48, 0x6C}, {0x8C, 0x98, 0xB0, 0x60}};
  }
}

CountryRegion DecodeCountryRegion(uint32_t word) {
  CountryRegion c;
  c.bg = word & 0x7F;
  c.bgChangeable = (word & 0x80) == 0;
  c.a = (word >> 8) & 0x7F;
  c.aChangeable = (word & 0x8000) == 0;
  return c;
}

uint32_t EncodeCountryRegionSet(uint32_t bgCode, uint32_t aCode) { return (aCode << 8) | bgCode; }

std::string TxRateText(uint32_t index) {
  static const char* const kRates[] = {"1", "2", "5.5", "11", "6", "9", "12", "18", "24", "36", "48", "54"};
  return index < std::size(kRates) ? kRates[index] : "1";
}

int NoiseDbm(uint32_t raw) { return static_cast<int>(raw) - 143; }

int NoisePercent(uint32_t raw) {
  long long p = (static_cast<long long>(raw) * 10 - 430) / 3;
  return static_cast<int>(std::clamp<long long>(p, 0, 100));
}

std::string_view LinkEventText(uint32_t code) {
  static const char* const kTexts[] = {
      "Link is Up",
      "Link is Down",
      "Hardware radio off",
      "Software radio off",
      "Open authentication fail",
      "Shared authentication fail",
      "Association failed",
      "Deauthencation because MIC failure",
      "Deauthencation on 4-way handshake timeout",
      "Deauthencation on group key handshake timeout",
      "EAP succeed",
  };
  return code < std::size(kTexts) ? kTexts[code] : "";
}

std::string FormatApAddress(ByteView addr) {
  Bytes a = Padded(addr, 4);
  if (a[0] == 0 && a[1] == 0 && a[2] == 0 && a[3] == 0) return "";
  char text[24];
  std::snprintf(text, sizeof text, "[%d.%d.%d.%d]", a[0], a[1], a[2], a[3]);
  return text;
}

std::string FormatVersion(ByteView v) {
  Bytes a = Padded(v, 2);
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d", a[0], a[1]);
  return text;
}

Ccx2Control DecodeCcx2(uint32_t word) {
  Ccx2Control c;
  for (size_t i = 0; i < c.switches.size(); ++i) c.switches[i] = (word >> i) & 1;
  int threshold = -static_cast<int>((word >> 8) & 0xFF);
  c.roamThresholdDbm = (threshold >= -90 && threshold <= -60) ? threshold : -70;
  c.limitMs = std::min<uint32_t>(word >> 16, 2000);
  return c;
}

uint32_t EncodeCcx2(const Ccx2Control& c) {
  uint32_t word = 0;
  for (size_t i = 0; i < c.switches.size(); ++i)
    if (c.switches[i]) word |= 1u << i;
  int threshold = (c.roamThresholdDbm >= -90 && c.roamThresholdDbm <= -60) ? c.roamThresholdDbm : -70;
  word |= static_cast<uint32_t>(-threshold) << 8;
  word |= std::min<uint32_t>(c.limitMs, 2000) << 16;
  return word;
}

}  // namespace vx
