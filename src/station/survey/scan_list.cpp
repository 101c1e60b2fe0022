// BSSID list decoding. The list is a u32 count followed by NDIS_WLAN_BSSID_EX entries, each
// walked by its own Length; the security texts come from the WPA (vendor 00-50-F2 type 1) and
// RSN elements among the entry's information elements.
#include "station/survey/scan_list.h"

#include <algorithm>
#include <cstdio>

#include "base/byte_reader.h"

namespace vx {
namespace {

// Offsets within an entry.
constexpr size_t kOffMac = 4;
constexpr size_t kOffSsidLength = 12;
constexpr size_t kOffPrivacy = 48;
constexpr size_t kOffDsConfig = 72;
constexpr size_t kOffInfrastructureMode = 92;
constexpr size_t kFixedFieldsEnd = 96;  // an entry must hold at least the fields read above
constexpr size_t kOffIeLength = 112;
constexpr size_t kOffIes = 116;
constexpr uint32_t kMinLengthWithIes = 104;  // the older entry without elements is this long
constexpr uint32_t kIeFixedBytes = 12;       // timestamp, beacon interval, capability

constexpr uint8_t kElementVendor = 221;
constexpr uint8_t kElementRsn = 48;
constexpr uint8_t kMinWpaElement = 16;
constexpr uint8_t kMinRsnElement = 12;

using Oui = std::array<uint8_t, 3>;
constexpr Oui kWpaOui = {0x00, 0x50, 0xF2};
constexpr Oui kRsnOui = {0x00, 0x0F, 0xAC};

struct Suite {
  Oui oui;
  uint8_t type;
};

Suite ReadSuite(ByteReader& r) {
  Suite s{};
  s.oui[0] = r.U8();
  s.oui[1] = r.U8();
  s.oui[2] = r.U8();
  s.type = r.U8();
  return s;
}

void SetCipher(SecurityFlags& f, uint8_t type) {
  switch (type) {
    case 2: f.tkip = true; break;
    case 3: f.wrap = true; break;
    case 4: f.ccmp = true; break;
    default: break;
  }
}

// The common tail of the WPA and RSN elements, from the version field on. An element whose
// group suite has another OUI is left alone; later elements are still examined.
void ReadCipherAndKeyManagement(std::span<const uint8_t> body, const Oui& oui, bool rsn, uint32_t mode,
                                SecurityFlags& f) {
  ByteReader r(body);
  r.Skip(2);  // version
  const Suite group = ReadSuite(r);
  if (!r.ok() || group.oui != oui) return;
  SetCipher(f, group.type);

  const uint16_t pairwiseCount = r.U16();
  if (!r.ok()) return;
  // The key-management count follows the declared list, however much of it is read.
  const size_t keyManagementPos = r.pos() + 4 * size_t{pairwiseCount};
  const size_t readable = std::min<size_t>(pairwiseCount, r.remaining() / 4);
  for (size_t i = 0; i < readable; ++i) {
    const Suite s = ReadSuite(r);
    if (s.oui != oui) break;
    SetCipher(f, s.type);
  }

  if (!r.Seek(keyManagementPos)) return;
  const uint16_t keyManagementCount = r.U16();
  if (keyManagementCount == 0) return;
  const Suite first = ReadSuite(r);  // only the first suite counts
  if (!r.ok() || first.oui != oui) return;
  if (first.type == 1) {
    (rsn ? f.wpa2 : f.wpa) = true;
  } else if (first.type == 0 || first.type == 2) {
    if (mode != 0)
      (rsn ? f.wpa2Psk : f.wpaPsk) = true;
    else
      (rsn ? f.wpa2None : f.wpaNone) = true;
  }
}

void ExamineElement(uint8_t id, std::span<const uint8_t> body, uint32_t mode, SecurityFlags& f) {
  if (id == kElementVendor && body.size() >= kMinWpaElement) {
    if (body[0] == kWpaOui[0] && body[1] == kWpaOui[1] && body[2] == kWpaOui[2] && body[3] == 0x01)
      ReadCipherAndKeyManagement(body.subspan(4), kWpaOui, false, mode, f);
  } else if (id == kElementRsn && body.size() >= kMinRsnElement) {
    ReadCipherAndKeyManagement(body, kRsnOui, true, mode, f);
  }
}

std::string SsidText(const SsidRecord& ssid) {
  const auto begin = ssid.ssid.begin();
  const auto end = std::find(begin, begin + ssid.length, uint8_t{0});
  return std::string(begin, end);
}

std::string AuthenticationText(const SecurityFlags& f) {
  std::string s;
  if (f.wpa) s += "WPA;";
  if (f.wpaPsk) s += "WPA-PSK;";
  if (f.wpaNone) s += "WPA-NONE;";
  if (f.wpa2) s += "WPA2;";
  if (f.wpa2Psk) s += "WPA2-PSK;";
  if (f.wpa2None) s += "WPA2-NONE;";
  if (s.empty()) return "Unknown";
  s.pop_back();
  return s;
}

std::string EncryptionText(const SecurityFlags& f, uint32_t privacy) {
  std::string s;
  if (f.tkip) s += "TKIP;";
  if (f.wrap || f.ccmp) s += "AES;";
  if (s.empty()) return privacy != 0 ? "WEP" : "None";
  s.pop_back();
  return s;
}

const char* NetworkTypeText(uint32_t mode) {
  switch (mode) {
    case 0: return "Ad hoc";
    case 1: return "Infrastructure";
    case 2: return "Auto";
    default: return "Unknown";
  }
}

std::string Decimal(long long value, const char* format) {
  char text[24];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

int32_t DbmToPercent(int32_t dbm) {
  if (dbm >= -50) return 100;
  if (dbm >= -80) return static_cast<int32_t>((dbm + 80) * 2.6 + 24);
  if (dbm >= -90) return static_cast<int32_t>((dbm + 90) * 2.6);
  return 0;
}

std::unique_ptr<ScanBuffer> MakeScanBuffer() { return std::make_unique<ScanBuffer>(); }

void CopyScanBuffer(const ScanBuffer* shared, ScanBuffer& copy) {
  if (shared)
    copy = *shared;
  else
    copy.fill(0);
}

SecurityFlags ReadSecurityElements(std::span<const uint8_t> ies, uint32_t infrastructureMode) {
  SecurityFlags f;
  const size_t end = ies.size();
  size_t offset = kIeFixedBytes;
  // Each step needs the header and a little body in view; an element that runs past the
  // information elements is truncated and ends the walk without being examined.
  while (offset + 3 < end) {
    const uint8_t id = ies[offset];
    const uint8_t length = ies[offset + 1];
    if (offset + 2 + length > end) break;
    ExamineElement(id, ies.subspan(offset + 2, length), infrastructureMode, f);
    offset += size_t{length} + 2;
    // Only the first element may be empty (a hidden network's SSID); a later empty one ends it.
    if (offset + 3 >= end || ies[offset + 1] == 0) break;
  }
  return f;
}

void DecodeScanList(std::span<const uint8_t> list, std::vector<SurveyRow>& rows) {
  rows.clear();
  ByteReader header(list);
  const uint32_t count = header.U32();
  if (!header.ok()) return;

  size_t offset = header.pos();
  rows.reserve(std::min<size_t>(count, list.size() / kFixedFieldsEnd));
  for (uint32_t i = 0; i < count; ++i) {
    ByteReader lengthField(list.subspan(offset));
    const uint32_t length = lengthField.U32();
    if (!lengthField.ok() || length < kFixedFieldsEnd || length > list.size() - offset) break;
    const std::span<const uint8_t> entry = list.subspan(offset, length);

    SurveyRow row;
    row.entryOffset = offset;
    ByteReader r(entry);
    r.Seek(kOffMac);
    r.Bytes(row.bssid);
    r.Seek(kOffSsidLength);
    row.ssid.length = std::min<uint32_t>(r.U32(), 32);
    r.Bytes(row.ssid.ssid);
    r.Seek(kOffPrivacy);
    row.privacy = r.U32();
    row.rssi = r.I32();
    r.Seek(kOffDsConfig);
    row.frequencyKhz = r.U32();
    r.Seek(kOffInfrastructureMode);
    row.infrastructureMode = r.U32();
    row.channel = ChannelFromFrequency(row.frequencyKhz);

    if (length > kMinLengthWithIes && length >= kOffIes) {
      ByteReader ie(entry);
      ie.Seek(kOffIeLength);
      // Elements the entry does not hold are not read.
      const size_t ieLength = std::min<size_t>(ie.U32(), length - kOffIes);
      if (ieLength > kIeFixedBytes)
        row.security = ReadSecurityElements(entry.subspan(kOffIes, ieLength), row.infrastructureMode);
    }

    row.texts[kColumnSsid] = SsidText(row.ssid);
    row.texts[kColumnBssid] = FormatMac(row.bssid, '-');
    row.texts[kColumnSignal] = Decimal(DbmToPercent(row.rssi), "%lld%%");
    row.texts[kColumnChannel] = row.channel ? Decimal(*row.channel, "%lld") : std::string();
    row.texts[kColumnEncryption] = EncryptionText(row.security, row.privacy);
    row.texts[kColumnAuthentication] = AuthenticationText(row.security);
    row.texts[kColumnNetworkType] = NetworkTypeText(row.infrastructureMode);
    rows.push_back(std::move(row));
    offset += length;
  }
}

}  // namespace vx
