// Any bytes as a driver's answer, given to every record decoder at its exact length (so a read
// past the answer is caught): counts stay within their tables, and a decoded record encodes and
// decodes to itself.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "driver/records.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

template <typename Record, typename Encode, typename Decode>
void Stable(const Record& first, Encode encode, Decode decode) {
  Require(decode(encode(first)) == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> answer(data, data + size);  // exactly as long as the driver's answer
  const vx::ByteView b(answer);

  vx::SsidRecord ssid = vx::DecodeSsid(b);
  Require(ssid.Text().size() <= 32);

  Stable(vx::DecodeConfiguration(b), vx::EncodeConfiguration, vx::DecodeConfiguration);
  vx::StatisticsRecord stats = vx::DecodeStatistics(b);
  vx::StatisticsRecord again = vx::DecodeStatistics(vx::EncodeStatistics(stats));
  Require(again.transmittedFragmentCount == stats.transmittedFragmentCount &&
          again.fcsErrorCount == stats.fcsErrorCount);

  if (auto key = vx::DecodeAddKey(b)) Require(key->material.size() + 32 <= size);
  vx::DecodeRemoveKeyIndex(b);
  Require(vx::DecodeNetworkTypeList(b).size() <= size / 4);

  vx::LinkStatusRecord link = vx::DecodeLinkStatus(b);
  vx::LinkStatusRecord linkAgain = vx::DecodeLinkStatus(vx::EncodeLinkStatus(link));
  Require(linkAgain.txRate == link.txRate && linkAgain.rxCounter == link.rxCounter);
  vx::RegisterAccessRecord reg = vx::DecodeRegisterAccess(b);
  Require(vx::DecodeRegisterAccess(vx::EncodeRegisterAccess(reg)).value == reg.value);

  std::vector<vx::EventEntry> events = vx::DecodeEventTable(b);
  Require(events.size() <= vx::kMaxEventEntries);
  Stable(events, vx::EncodeEventTable, vx::DecodeEventTable);
  std::vector<vx::MacTableEntry> stations = vx::DecodeMacTable(b);
  Require(stations.size() <= vx::kMaxMacTableEntries);
  Stable(stations, vx::EncodeMacTable, vx::DecodeMacTable);

  Stable(vx::DecodeConfigWords(b), vx::EncodeConfigWords, vx::DecodeConfigWords);
  vx::AccessControlRecord acl = vx::DecodeAccessControl(b);
  Require(acl.macs.size() <= vx::kMaxMacTableEntries);
  if (acl.policy != 0 && !acl.macs.empty()) {
    vx::AccessControlRecord aclAgain = vx::DecodeAccessControl(vx::EncodeAccessControl(acl.policy, acl.macs));
    Require(aclAgain.policy == acl.policy && aclAgain.macs == acl.macs);
  }
  vx::WdsRecord wds = vx::DecodeWds(b);
  Require(wds.peers.size() <= 3);
  vx::WdsRecord wdsAgain = vx::DecodeWds(vx::EncodeWds(wds));
  Require(wdsAgain.peers == wds.peers && wdsAgain.key == wds.key);
  vx::RadiusRecord radius = vx::DecodeRadius(b);
  Require(radius.key.size() <= 64);
  Stable(radius, vx::EncodeRadius, vx::DecodeRadius);
  Stable(vx::DecodeRekey(b), vx::EncodeRekey, vx::DecodeRekey);
  vx::RateSetRecord rates = vx::DecodeRateSet(b);
  Require(rates.supported.size() <= 12 && rates.extended.size() <= 12);
  Stable(rates, vx::EncodeRateSet, vx::DecodeRateSet);

  // The four-byte answers: region, version, access point address, CCX word.
  uint32_t word = vx::DecodeConfigWords(b)[0];
  vx::CountryRegion region = vx::DecodeCountryRegion(word);
  Require(region.bg <= 0x7F && region.a <= 0x7F && vx::EncodeCountryRegionSet(region.bg, region.a) <= 0x7F7F);
  Require(vx::FormatVersion(b).size() <= 7);
  Require(vx::FormatApAddress(b).size() <= 17);
  Require(vx::EncodeCcx2(vx::DecodeCcx2(word)) ==
          vx::EncodeCcx2(vx::DecodeCcx2(vx::EncodeCcx2(vx::DecodeCcx2(word)))));
  Require(!vx::TxRateText(word).empty());
  vx::LinkEventText(word);
  return 0;
}
