#include "station/advanced/advanced_rules.h"

#include <array>

#include "driver/config_record.h"
#include "driver/oid_codes.h"
#include "resources/string_ids.h"
#include "station/profiles/activation_record.h"

namespace vx::advanced {

ModeList WirelessModeList(bool has5GHz, bool withGOnly) {
  ModeList l{{IDS_MODE_BG_MIX, IDS_MODE_B_ONLY}, {kModeBgMix, kModeBOnly}};
  if (has5GHz) {
    l.items.insert(l.items.end(), {IDS_MODE_A_ONLY, IDS_MODE_ABG_MIX});
    l.modes.insert(l.modes.end(), {kModeAOnly, kModeAbgMix});
  }
  if (withGOnly) {
    l.items.push_back(IDS_MODE_G_ONLY);
    l.modes.push_back(kModeGOnly);
  }
  return l;
}

int PositionOfMode(const ModeList& list, uint32_t mode) {
  for (size_t i = 0; i < list.modes.size(); ++i)
    if (list.modes[i] == mode) return static_cast<int>(i);
  return 0;
}

uint32_t ModeAtPosition(const ModeList& list, int position) {
  if (position < 0 || static_cast<size_t>(position) >= list.modes.size()) return kModeBgMix;
  return list.modes[static_cast<size_t>(position)];
}

RateList RateListForMode(uint32_t mode) {
  if (mode == kModeBOnly) return RateList::B;
  if (mode == kModeAOnly || mode == kModeGOnly) return RateList::Ofdm;
  return RateList::All;
}

std::vector<uint32_t> RateItems(RateList list) {
  std::vector<uint32_t> items = {IDS_AUTO};
  if (list != RateList::Ofdm)
    for (uint32_t id : {IDS_RATE_1, IDS_RATE_2, IDS_RATE_5_5, IDS_RATE_11}) items.push_back(id);
  if (list != RateList::B)
    for (uint32_t id : {IDS_RATE_6, IDS_RATE_9, IDS_RATE_12, IDS_RATE_18, IDS_RATE_24, IDS_RATE_36, IDS_RATE_48,
                        IDS_RATE_54})
      items.push_back(id);
  return items;
}

uint32_t MaxTransRate(RateList list) {
  switch (list) {
    case RateList::B:
      return 4;
    case RateList::Ofdm:
      return 8;
    default:
      return 12;
  }
}

void ApplyModeRules(RadioValues& v, bool has5GHz) {
  if (v.mode == kModeBOnly) {
    v.bgProtection = 0;
    v.adhocOfdm = kAdhocB;
  } else if (v.mode == kModeAOnly && has5GHz) {
    v.bgProtection = 0;
    v.adhocOfdm = kAdhocA;
  } else if (v.mode == kModeGOnly) {
    // The single ad hoc entry of G only is stored as G only, so an ad hoc start uses G rates.
    v.bgProtection = 0;
    v.adhocOfdm = kAdhocG;
  }
  if (v.transRate > MaxTransRate(RateListForMode(v.mode))) v.transRate = 0;
}

bool SetPhyModeIfChanged(OidChannel& channel, uint32_t mode) {
  uint32_t current = 0;
  if (channel.QueryU32(VX_OID_802_11_QUERY_PHY_MODE, current) && current == mode) return false;
  channel.SetU32(VX_OID_802_11_SET_PHY_MODE, mode);
  return true;
}

std::optional<ConfigWords> WriteStaConfig(OidChannel& channel, const std::function<void(ConfigWords&)>& modify) {
  ConfigWords sent{};
  ConfigWriteResult r =
      WriteConfigRecord(channel, VX_OID_802_11_QUERY_STA_CONFIG, VX_OID_802_11_SET_STA_CONFIG, modify, &sent);
  if (r == ConfigWriteResult::Sent || r == ConfigWriteResult::SetFailed) return sent;
  return std::nullopt;
}

void SendRates(OidChannel& channel, uint32_t mode, uint32_t transRate) {
  DesiredRates rates = AdvancedDesiredRates(mode, static_cast<int32_t>(transRate));
  channel.Set(OID_802_11_DESIRED_RATES, Bytes(rates.begin(), rates.end()));
  channel.Set(VX_OID_802_11_SET_RATE_SET, EncodeRateSet(StationRateSet(mode)));
}

std::vector<std::string> Texts(const StringTable& strings, const std::vector<uint32_t>& ids) {
  std::vector<std::string> out;
  out.reserve(ids.size());
  for (uint32_t id : ids) out.push_back(strings.Get(id));
  return out;
}

}  // namespace vx::advanced
