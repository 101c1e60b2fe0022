#include "softap/config/config_page.h"

#include <algorithm>

#include "base/utf8.h"
#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "resources/dialogs/ap_config_page.h"
#include "resources/string_ids.h"

namespace vx {
namespace {

const std::vector<std::string> kRatesB = {"1 Mbps", "2 Mbps", "5.5 Mbps", "11 Mbps"};
const std::vector<std::string> kRatesOfdm = {"6 Mbps",  "9 Mbps",  "12 Mbps", "18 Mbps",
                                             "24 Mbps", "36 Mbps", "48 Mbps", "54 Mbps"};

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string Text(int32_t v) { return std::to_string(v); }

}  // namespace

CConfigPage::CConfigPage(ApPageContext context) : ctx_(std::move(context)) {
  caption = ctx_.strings.Get(IDS_AP_PAGE_CONFIG);
}

uint32_t CConfigPage::TemplateId() const { return kIddApConfigPage; }

void CConfigPage::Message(uint32_t textId) {
  ctx_.dialogs.MessageBox(ctx_.strings.Get(textId), ctx_.strings.Get(IDS_AP_TITLE),
                          kMbOk | kMbIconInformation);
}

void CConfigPage::OnSetActive() {
  if (!ctx_.activation.State().pskRefused) return;
  ctx_.activation.State().pskRefused = false;
  RunSecurityDialog();
}

void CConfigPage::OnInit() {
  const StringTable& s = ctx_.strings;
  const bool has5GHz = ctx_.activation.State().has5GHz;
  auto& mode = Control(kIdcApcWirelessMode);
  mode.items = {s.Get(IDS_AP_MODE_BG_MIXED), s.Get(IDS_AP_MODE_B_ONLY)};
  modeOfItem_ = {0, 1};
  if (has5GHz) {
    mode.items.push_back(s.Get(IDS_AP_MODE_A_ONLY));
    modeOfItem_.push_back(2);
  }
  mode.items.push_back(s.Get(IDS_AP_MODE_G_ONLY));
  modeOfItem_.push_back(4);
  Control(kIdcApcProtection).items = {s.Get(IDS_AP_PROTECTION_AUTO), s.Get(IDS_AP_PROTECTION_ON),
                                      s.Get(IDS_AP_PROTECTION_OFF)};
  Control(kIdcApcPreamble).items = {s.Get(IDS_AP_PREAMBLE_LONG), s.Get(IDS_AP_PREAMBLE_SHORT)};
  Control(kIdcApcTxPower).items = {s.Get(IDS_AP_POWER_100), s.Get(IDS_AP_POWER_75), s.Get(IDS_AP_POWER_50),
                                   s.Get(IDS_AP_POWER_25), s.Get(IDS_AP_POWER_LOWEST)};
  for (int id : {kIdcApcTxAntenna, kIdcApcRxAntenna}) {
    Control(id).items = {s.Get(IDS_AP_ANTENNA_DIVERSITY), s.Get(IDS_AP_ANTENNA_A), s.Get(IDS_AP_ANTENNA_B)};
    Control(id).selection = 0;
    Control(id).visible = false;
  }
  for (int id : {kIdcApcLabelTxAntenna, kIdcApcLabelRxAntenna, kIdcApcRts, kIdcApcFrag, kIdcApcLabelRts,
                 kIdcApcLabelFrag})
    Control(id).visible = false;
  Control(kIdcApcAutoChannel).visible = !ctx_.usb;

  Load();
  ctx_.channel.Query(OID_802_3_CURRENT_ADDRESS, mac_);
}

void CConfigPage::Load() {
  ApSettings v = ReadApSettings(ctx_.registry, ctx_.AdapterKey());
  const bool has5GHz = ctx_.activation.State().has5GHz;
  uint32_t mode = ApEffectiveMode(v.wirelessMode.value_or(0), has5GHz);
  uint32_t driver = mode;
  if (ctx_.channel.QueryU32(VX_OID_802_11_QUERY_PHY_MODE, driver) && driver != mode)
    mode = ApEffectiveMode(static_cast<int32_t>(driver), has5GHz);
  SelectMode(mode);
  Control(kIdcApcSsid).text = v.ssid.value_or("");
  Control(kIdcApcSsid).maxLength = 32;
  Control(kIdcApcTxRate).selection = v.transRate.value_or(0);
  Control(kIdcApcChannel).text = Text(v.channel.value_or(0));
  Control(kIdcApcProtection).selection = std::clamp(v.bgProtection.value_or(0), 0, 2);
  Control(kIdcApcPreamble).selection = v.preambleType.value_or(0) == 1 ? 1 : 0;
  Control(kIdcApcBeacon).text = Text(v.beaconPeriod.value_or(100));
  int32_t power = v.txPower.value_or(0);
  Control(kIdcApcTxPower).selection = power >= 0 && power <= 4 ? power : 0;
  Control(kIdcApcTxBurst).checked = v.txBurst.value_or(0) != 0;
  Control(kIdcApcTurboRate).checked = v.turboRate.value_or(0) != 0;
  Control(kIdcApcNoForwarding).checked = v.noForwarding.value_or(0) != 0;
  Control(kIdcApcHideSsid).checked = v.hideSsid.value_or(0) != 0;
  Control(kIdcApcShortSlot).checked = v.shortSlot.value_or(0) != 0;
  Control(kIdcApcAutoChannel).checked = v.autoChannelSelect.value_or(0) != 0;
  Control(kIdcApcRts).text = Text(v.rtsThresh.value_or(2347));
  Control(kIdcApcFrag).text = Text(v.fragThresh.value_or(2346));

  security_ = {};
  security_.authenType = v.authenType.value_or(0);
  security_.encryption = v.encryption.value_or(1);
  security_.wpaPsk = v.wpaPsk.value_or("");
  security_.wepKeyUse = v.wepKeyUse.value_or(1);
  for (int i = 0; i < 4; ++i) {
    security_.wepKey[i] = v.wepKey[i].value_or("");
    security_.wepKeyType[i] = v.wepKeyType[i].value_or(0);
  }
  security_.radiusIp = v.radiusIp.value_or(0);
  security_.radiusPort = v.radiusPort.value_or(0);
  security_.radiusKey = v.radiusKey.value_or("");
  security_.rekeyMethod = v.rekeyMethod.value_or(0);
  security_.rekeyInterval = v.rekeyInterval.value_or(60);

  ModeChange();
  AutoChannelRule();
}

uint32_t CConfigPage::SelectedMode() const {
  auto it = Controls().find(kIdcApcWirelessMode);
  int sel = it == Controls().end() ? 0 : it->second.selection;
  return sel >= 0 && sel < static_cast<int>(modeOfItem_.size()) ? modeOfItem_[static_cast<size_t>(sel)] : 0;
}

void CConfigPage::SelectMode(uint32_t mode) {
  // Mode 3 is never offered; it shows as the mixed mode.
  auto it = std::find(modeOfItem_.begin(), modeOfItem_.end(), mode);
  Control(kIdcApcWirelessMode).selection =
      it == modeOfItem_.end() ? 0 : static_cast<int>(it - modeOfItem_.begin());
}

void CConfigPage::FillRates(uint32_t mode) {
  std::vector<std::string> items = {ctx_.strings.Get(IDS_AP_PROTECTION_AUTO)};
  if (mode == 1 || mode == 0) items.insert(items.end(), kRatesB.begin(), kRatesB.end());
  if (mode != 1) items.insert(items.end(), kRatesOfdm.begin(), kRatesOfdm.end());
  Control(kIdcApcTxRate).items = std::move(items);
}

std::string CConfigPage::ChannelText() const {
  auto it = Controls().find(kIdcApcChannel);
  if (it == Controls().end()) return "";
  const auto& c = it->second;
  if (c.selection >= 0 && c.selection < static_cast<int>(c.items.size()))
    return c.items[static_cast<size_t>(c.selection)];
  return c.text;
}

void CConfigPage::RebuildChannels() {
  const ApRadioState& st = ctx_.activation.State();
  std::string wanted = ChannelText();
  std::vector<uint32_t> list = SelectedMode() == 2 ? ApChannels5(st.aRegion) : ApChannels24(st.bgRegion);
  auto& ch = Control(kIdcApcChannel);
  ch.items.clear();
  for (uint32_t c : list) ch.items.push_back(std::to_string(c));
  auto it = std::find(ch.items.begin(), ch.items.end(), wanted);
  if (it == ch.items.end()) {
    Message(IDS_AP_AUTO_CHANNEL_MSG);
    ch.selection = ch.items.empty() ? -1 : 0;
  } else {
    ch.selection = static_cast<int>(it - ch.items.begin());
  }
  ch.text = ChannelText();
}

void CConfigPage::ModeChange() {
  uint32_t mode = SelectedMode();
  int rate = std::max(Control(kIdcApcTxRate).selection, 0);
  FillRates(mode);
  auto& protection = Control(kIdcApcProtection);
  if (mode == 1 || mode == 2 || mode == 4) {
    protection.enabled = false;
    protection.selection = 0;
  } else {
    protection.enabled = true;
  }
  if (rate > ApMaxRateIndex(mode)) rate = 0;
  Control(kIdcApcTxRate).selection = rate;
  RebuildChannels();
}

void CConfigPage::AutoChannelRule() {
  Control(kIdcApcChannel).enabled = !Control(kIdcApcAutoChannel).checked;
}

void CConfigPage::OnCommand(int id, UiEvent event) {
  if (id == kIdcApcWirelessMode && event == UiEvent::SelectionChanged) {
    ModeChange();
  } else if (id == kIdcApcAutoChannel && event == UiEvent::Clicked) {
    AutoChannelRule();
  } else if (id == kIdcApcSsid && event == UiEvent::TextChanged) {
    // 32 bytes, cut at a character boundary: half a character would be stored and announced.
    auto& t = Control(kIdcApcSsid).text;
    if (t.size() > 32) t = std::string(Utf8PrefixBytes(t, 32));
  } else if (event == UiEvent::Clicked) {
    if (id == kIdcApcApply)
      Apply();
    else if (id == kIdcApcDefault)
      Default();
    else if (id == kIdcApcUseMac)
      UseMacAddress();
    else if (id == kIdcApcSecurity)
      RunSecurityDialog();
  }
}

void CConfigPage::UseMacAddress() { Control(kIdcApcSsid).text = "AP" + EncodeHex(mac_); }

void CConfigPage::Default() {
  Control(kIdcApcSsid).text = DefaultApSsid(mac_);
  Control(kIdcApcWirelessMode).selection = 0;
  Control(kIdcApcTxRate).selection = 0;
  Control(kIdcApcTxPower).selection = 0;
  Control(kIdcApcProtection).selection = 0;
  Control(kIdcApcPreamble).selection = 0;
  Control(kIdcApcBeacon).text = "100";
  Control(kIdcApcRts).text = "2347";
  Control(kIdcApcFrag).text = "2346";
  for (int id : {kIdcApcTxBurst, kIdcApcTurboRate, kIdcApcNoForwarding, kIdcApcHideSsid, kIdcApcShortSlot,
                 kIdcApcAutoChannel})
    Control(id).checked = false;
  security_ = {};
  security_.authenType = 0;
  security_.encryption = 1;
  security_.rekeyInterval = 0;
  security_.rekeyMethod = 0;
  auto& ch = Control(kIdcApcChannel);
  ch.selection = ch.items.empty() ? -1 : 0;
  ch.text = ChannelText();
  ModeChange();
  AutoChannelRule();
}

void CConfigPage::RunSecurityDialog() {
  ApSecurityDialog dialog(security_, ctx_.usb, ctx_.dialogs, ctx_.strings);
  if (ctx_.dialogs.RunModal(dialog) == kIdOk) security_ = dialog.Values();
}

void CConfigPage::Apply() {
  const std::string ssid = Control(kIdcApcSsid).text;
  const std::string beaconText = Control(kIdcApcBeacon).text;
  int32_t beacon = ParseDecimal(beaconText);
  if (ssid.size() > 32) {
    Message(IDS_AP_SSID_TOO_LONG);
    return;
  }
  if (!AllDigits(beaconText) || beacon < 20 || beacon > 1000) {
    Message(IDS_AP_BEACON_RANGE);
    RequestFocus(kIdcApcBeacon);
    return;
  }
  if (ssid.empty()) {
    Message(IDS_AP_ENTER_SSID);
    RequestFocus(kIdcApcSsid);
    return;
  }

  uint32_t mode = ApEffectiveMode(static_cast<int32_t>(SelectedMode()), ctx_.activation.State().has5GHz);
  int32_t protection = (mode == 1 || mode == 2 || mode == 4) ? 0 : Control(kIdcApcProtection).selection;
  int32_t rate = Control(kIdcApcTxRate).selection;
  if (rate < 0 || rate > ApMaxRateIndex(mode)) rate = 0;
  const ApSecurityValues& sec = security_;

  ApSettings v;
  v.wirelessMode = static_cast<int32_t>(mode);
  v.transRate = rate;
  v.txPower = std::max(Control(kIdcApcTxPower).selection, 0);
  v.channel = ParseDecimal(ChannelText());
  v.beaconPeriod = beacon;
  v.bgProtection = std::max(protection, 0);
  v.preambleType = Control(kIdcApcPreamble).selection == 1 ? 1 : 0;
  v.rtsThresh = ParseDecimal(Control(kIdcApcRts).text);
  v.fragThresh = ParseDecimal(Control(kIdcApcFrag).text);
  v.txBurst = Control(kIdcApcTxBurst).checked;
  v.turboRate = Control(kIdcApcTurboRate).checked;
  v.noForwarding = Control(kIdcApcNoForwarding).checked;
  v.hideSsid = Control(kIdcApcHideSsid).checked;
  v.shortSlot = Control(kIdcApcShortSlot).checked;
  v.authenType = sec.authenType;
  v.encryption = sec.encryption;
  v.radiusIp = sec.radiusIp;
  v.radiusPort = sec.radiusPort;
  v.radiusKey = sec.radiusKey;
  v.rekeyInterval = sec.rekeyInterval;
  v.rekeyMethod = sec.rekeyMethod;
  v.wpaPsk = sec.wpaPsk;
  v.wepKeyUse = sec.wepKeyUse;
  for (int i = 0; i < 4; ++i) {
    v.wepKey[i] = sec.wepKey[i];
    v.wepKeyType[i] = sec.wepKeyType[i];
  }
  v.autoChannelSelect = Control(kIdcApcAutoChannel).checked;
  v.ssid = ssid;

  // A pass phrase outside 8..63 characters, or 64 characters that are not a key, would start
  // the access point with a key anyone can compute.
  if (ApIsPskAuth(sec.authenType) && !ApPskUsable(sec.wpaPsk)) {
    Message(IDS_AP_PSK_INVALID);
    RunSecurityDialog();
    return;
  }

  std::vector<RegNamedValue> values;
  auto text = [&](std::string name, std::string value) {
    values.push_back({std::move(name), RegValue::Sz(std::move(value))});
  };
  auto num = [&](std::string name, int32_t value) { text(std::move(name), std::to_string(value)); };
  num("WirelessMode", *v.wirelessMode);
  num("TransRate", *v.transRate);
  num("TXPower", *v.txPower);
  text("Channel", ChannelText());
  num("BeaconPeriod", *v.beaconPeriod);
  num("BGProtection", *v.bgProtection);
  num("PreambleType", *v.preambleType);
  num("RtsThresh", *v.rtsThresh);
  num("FragThresh", *v.fragThresh);
  num("TXBurst", *v.txBurst);
  num("TurboRate", *v.turboRate);
  num("NoForwarding", *v.noForwarding);
  num("HideSSID", *v.hideSsid);
  num("ShortSlot", *v.shortSlot);
  num("AuthenType", sec.authenType);
  num("Encryption", sec.encryption);
  num("RadiusIP", sec.radiusIp);
  num("RadiusPort", sec.radiusPort);
  text("RadiusKey", sec.radiusKey);
  num("RekeyInterval", sec.rekeyInterval);
  num("RekeyMethod", sec.rekeyMethod);
  if (ApIsPskAuth(sec.authenType)) {
    text("WPAPSK", sec.wpaPsk);
  } else if (sec.authenType == 1 || ((sec.authenType == 0 || sec.authenType == 2) && sec.encryption == 0)) {
    num("WEPKeyUse", sec.wepKeyUse);
    for (int i = 0; i < 4; ++i) num("WEPKey" + std::to_string(i + 1) + "Type", sec.wepKeyType[i]);
    for (int i = 0; i < 4; ++i) text("WEPKey" + std::to_string(i + 1), sec.wepKey[i]);
  }
  num("AutoChannelSelect", *v.autoChannelSelect);
  text("SSID", ssid);
  // Stored whole and copied whole, or the driver is left as it is: it would otherwise run what
  // the page holds while the registry says something else.
  const RegKey master = ctx_.MasterKey();
  const RegKey adapter = ctx_.AdapterKey();
  std::vector<RegNamedValue> before, working;
  ctx_.registry.EnumValues(master, before);
  if (!WriteValuesWhole(ctx_.registry, master, values)) return Message(IDS_AP_NOT_SAVED);
  if (!ctx_.registry.EnumValues(master, working) || !WriteValuesWhole(ctx_.registry, adapter, working)) {
    WriteValuesWhole(ctx_.registry, master, before);  // the master back to what the driver runs
    return Message(IDS_AP_NOT_SAVED);
  }

  ctx_.activation.ActivateFromPage(v, [this] { RebuildChannels(); });
}

}  // namespace vx
