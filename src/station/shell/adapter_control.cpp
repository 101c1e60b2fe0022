#include "station/shell/adapter_control.h"

#include <algorithm>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "driver/records.h"
#include "platform/trace.h"

namespace vx {
namespace {

std::vector<uint32_t> Range(uint32_t from, uint32_t to) {
  std::vector<uint32_t> r;
  for (uint32_t c = from; c <= to; ++c) r.push_back(c);
  return r;
}

std::vector<uint32_t> BgRow(int family, uint32_t code) {
  if (family == 2 || family == 3) return {};
  const bool older = family == 0 || family == 1;
  switch (code) {
    case 1:
      return older ? Range(1, 11) : Range(1, 13);
    case 2:
      return older ? Range(1, 13) : Range(10, 11);
    case 3:
      return older ? Range(10, 11) : Range(10, 13);
    case 4:
      return older ? Range(10, 13) : Range(14, 14);
    case 5:
      return older ? Range(14, 14) : Range(1, 14);
    case 6:
      return older ? Range(1, 14) : Range(3, 9);
    case 7:
      return older ? Range(3, 9) : Range(1, 11);
    default:
      return Range(1, 11);
  }
}

std::vector<uint32_t> ARow(uint32_t code) {
  const std::vector<uint32_t> low = {36, 40, 44, 48, 52, 56, 60, 64};
  const std::vector<uint32_t> mid = {100, 104, 108, 112, 116, 120, 124, 128, 132, 136, 140};
  const std::vector<uint32_t> high = {149, 153, 157, 161, 165};
  auto join = [](std::initializer_list<std::vector<uint32_t>> parts) {
    std::vector<uint32_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  };
  switch (code) {
    case 1:
      return join({low, mid});
    case 2:
      return low;
    case 3:
      return {52, 56, 60, 64, 149, 153, 157, 161};
    case 4:
      return high;
    case 5:
      return {149, 153, 157, 161};
    case 6:
      return {36, 40, 44, 48};
    case 7:
      return join({low, mid, high});
    default:
      return join({low, high});
  }
}

}  // namespace

std::vector<uint32_t> ChannelsFor(int family, uint32_t wirelessMode, uint32_t bgCode, uint32_t aCode) {
  std::vector<uint32_t> list;
  if (wirelessMode != 2) list = BgRow(family, bgCode);
  if (wirelessMode == 2 || wirelessMode == 3) {
    auto a = ARow(aCode);
    list.insert(list.end(), a.begin(), a.end());
  }
  if (list.size() > 38) list.resize(38);
  return list;
}

AdapterControl::AdapterControl(RegistryPort& reg, OidChannel& channel, ProcessPort& process, ZeroConfig& zeroConfig,
                               AdapterControlHooks hooks)
    : reg_(reg), channel_(channel), process_(process), zeroConfig_(zeroConfig), hooks_(std::move(hooks)) {}

void AdapterControl::ReadHas5GHz() {
  std::vector<uint8_t> buffer(20, 0);
  plan_.has5GHz = false;
  if (!channel_.Query(OID_802_11_NETWORK_TYPES_SUPPORTED, buffer)) return;
  for (uint32_t t : DecodeNetworkTypeList(buffer))
    if (t == kNetTypeOFDM5) plan_.has5GHz = true;
}

void AdapterControl::ReadIeee80211h() {
  // Read as text into a 4-byte buffer: at most three characters count.
  std::string text = ReadText(reg_, Root(), "IEEE80211H", "");
  if (text.size() > 3) text.resize(3);
  plan_.ieee80211h = ParseDecimal(text) == 1;
}

bool AdapterControl::BuildChannelList() {
  if (root_.empty() || !reg_.KeyExists(Root())) return false;
  uint32_t word = 0;
  channel_.QueryU32(VX_OID_802_11_QUERY_COUNTRY_REGION, word);
  CountryRegion region = DecodeCountryRegion(word);
  plan_.bgRegionChangeable = region.bgChangeable;
  plan_.aRegionChangeable = region.aChangeable;
  plan_.regionWord = (region.a << 8) | region.bg;

  if (auto mode = ReadIntIfPresent(reg_, Root(), "WirelessMode")) {
    plan_.wirelessMode = static_cast<uint32_t>(*mode);
    if ((plan_.wirelessMode == 2 || plan_.wirelessMode == 3) && !plan_.has5GHz) plan_.wirelessMode = 0;
  }
  plan_.channels = ChannelsFor(family_, plan_.wirelessMode, region.bg, region.a);

  auto stored = ReadIntIfPresent(reg_, Root(), "Channel");
  bool listed = stored && std::find(plan_.channels.begin(), plan_.channels.end(),
                                    static_cast<uint32_t>(*stored)) != plan_.channels.end();
  if (listed) {
    plan_.checkedChannel = static_cast<uint32_t>(*stored);
  } else {
    plan_.checkedChannel = plan_.channels.empty() ? 0 : plan_.channels.front();
    if (!WriteInt(reg_, Root(), "Channel", static_cast<int32_t>(plan_.checkedChannel)))
      Trace("RegSetValueEx REGSTR_PROFILE_CHANNEL '%s' failed\n", root_.c_str());
  }
  RegKey defaults = SubKey(Root(), "Default");
  if (reg_.KeyExists(defaults)) WriteInt(reg_, defaults, "Channel", static_cast<int32_t>(plan_.checkedChannel));
  return true;
}

void AdapterControl::FirstRunInit() {
  if (ReadText(reg_, Root(), "RunOnceInitConfigTool")) return;
  if (hooks_.takeFromZeroConfig) hooks_.takeFromZeroConfig();
  if (!WriteText(reg_, Root(), "RunOnceInitConfigTool", "0")) Trace("RegSetValueEx RunOnceInitConfigTool failed\n");
}

void AdapterControl::QueryRadio() {
  uint32_t on = 0;
  if (channel_.QueryU32(VX_OID_802_11_QUERY_RADIO, on)) radioOn_ = on != 0;
}

void AdapterControl::ReapplyAfterRadioOn() {
  if (hooks_.clearSurveyState) hooks_.clearSurveyState();
  if (hooks_.reapplyLiveSettings) hooks_.reapplyLiveSettings();
}

void AdapterControl::ToggleRadio() {
  if (!hardwareRadioOn_) return;
  radioOn_ = !radioOn_;
  channel_.SetU32(VX_OID_802_11_SET_RADIO, radioOn_ ? 1 : 0);
  if (hooks_.showRadioIcon) hooks_.showRadioIcon(radioOn_ ? kRadioOnIcon : kRadioOffIcon);
  if (radioOn_ && zeroConfigState_ != kZeroConfigControls) ReapplyAfterRadioOn();
  if (admin_) WriteInt(reg_, Root(), "Radio", radioOn_ ? 0 : 1);
  if (hooks_.queueScan) hooks_.queueScan();
  if (hooks_.refreshSurvey) hooks_.refreshSurvey();
}

void AdapterControl::RefreshRadioButton() {
  if (hooks_.showRadioIcon) hooks_.showRadioIcon(hardwareRadioOn_ ? kRadioOnIcon : kRadioOffIcon);
  if (hardwareRadioOn_ && zeroConfigState_ != kZeroConfigControls) ReapplyAfterRadioOn();
  if (hooks_.queueScan) hooks_.queueScan();
  if (hooks_.refreshSurvey) hooks_.refreshSurvey();
}

bool AdapterControl::SwitchToAccessPoint() {
  zeroConfig_.StopZeroConfig(true);
  if (hooks_.exitUtility) hooks_.exitUtility();
  switchingToAp_ = true;
  reg_.CreateKey(SubKey(Root(), "Default"));
  CopyKeyValues(reg_, Root(), SubKey(Root(), "Default"));
  CopyKeyValues(reg_, SubKey(Root(), "ApDefault"), Root());
  if (!WriteText(reg_, Root(), "OpMode", "1")) Trace("RegSetValueEx REGSTR_OP_MODE '%s' failed\n", root_.c_str());
  channel_.SetU32(VX_OID_802_11_SET_OP_MODE, kOpModeAccessPoint);
  if (osKind_ < 8) return false;
  return process_.Exec(kModeSwitchCommand, 6 /* SW_MINIMIZE */);
}

}  // namespace vx
