#include "station/shell/adapter_control.h"

#include <algorithm>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "driver/records.h"
#include "platform/trace.h"

namespace vx {
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
