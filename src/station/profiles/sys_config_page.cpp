#include "station/profiles/sys_config_page.h"

#include <algorithm>
#include <tuple>

#include "base/utf8.h"
#include "common/settings/registry_values.h"
#include "common/text/shown_text.h"
#include "resources/string_ids.h"
#include "station/profiles/profile_store.h"
#include "station/shell/adapter_control.h"

namespace vx {
namespace {

// The editor's limit on a profile name counts characters, not bytes.
void CutName(std::string& s) { s = std::string(Utf8Prefix(s, kMaxProfileNameLength)); }

}  // namespace

std::vector<uint32_t> ProfileChannels(const ChannelFacts& f, int networkType, int adhocMode) {
  uint32_t mode = 0;  // 2.4 GHz only
  if (networkType == 1) {
    if (f.wirelessMode == 2 || f.wirelessMode == 3) mode = f.wirelessMode;
  } else if (adhocMode == 3) {
    mode = 2;
  } else if (adhocMode == 4) {
    mode = 3;
  }
  return ChannelsFor(f.family, mode, f.bgCode, f.aCode);
}

CSysConfigPage::CSysConfigPage(const StringTable& strings, SysConfigHooks hooks)
    : strings_(strings), hooks_(std::move(hooks)) {
  caption = strings_.Get(IDS_PAGE_CONFIGURATION);
}

void CSysConfigPage::Load(const StationProfile& p) {
  name_ = p.name;
  CutName(name_);
  profileHasSsid_ = !p.ssid.empty();
  // The SSID is kept as its bytes; the edit shows it as the pages show network names.
  ssid_ = profileHasSsid_ ? p.ssid.substr(0, 32) : Text(IDS_SSID_ANY);
  psMode_ = p.psMode == 1 || p.psMode == 2 ? 1 : 0;
  acPowerCam_ = p.acPowerCam != 0;
  networkType_ = p.networkType == 0 ? 0 : 1;
  preambleIndex_ = p.preambleType == 0 ? 1 : 0;
  txPower_ = p.txPower >= 0 && p.txPower <= 6 ? p.txPower : 0;
  useRts_ = p.useRts != 0;
  rts_ = useRts_ ? std::clamp(p.rtsThresh, 0, kRtsMax) : kRtsMax;
  useFrag_ = p.useFrag != 0;
  frag_ = useFrag_ ? std::clamp(p.fragThresh, kFragMin, kFragMax) : kFragMax;
  channel_ = p.channel;
  if (initialised_) Push();
}

void CSysConfigPage::SetName(std::string name) {
  name_ = std::move(name);
  CutName(name_);
  if (initialised_) Control(scfg::kName).text = name_;
}

int CSysConfigPage::Channel() const {
  if (networkType_ == 1) return channels_.empty() ? channel_ : static_cast<int>(channels_.front());
  return channel_;
}

void CSysConfigPage::CopyTo(StationProfile& p) {
  Pull();
  p.name = TrimProfileName(name_);
  p.ssid = ssid_;
  p.psMode = psMode_;
  p.acPowerCam = acPowerCam_ ? 1 : 0;
  p.networkType = networkType_;
  p.preambleType = preambleIndex_ == 1 ? 0 : 2;
  p.txPower = txPower_;
  p.useRts = useRts_ ? 1 : 0;
  p.rtsThresh = useRts_ ? rts_ : kRtsMax;
  p.useFrag = useFrag_ ? 1 : 0;
  p.fragThresh = useFrag_ ? frag_ : kFragMax;
  if (channels_.empty()) channels_ = ProfileChannels(hooks_.channels ? hooks_.channels() : ChannelFacts{}, networkType_, adhocMode_);
  p.channel = Channel();
}

void CSysConfigPage::OnInit() {
  const std::pair<int, uint32_t> captions[] = {
      {scfg::kPsmGroup, IDS_POWER_GROUP},         {scfg::kCam, IDS_POWER_CAM},
      {scfg::kPsm, IDS_POWER_PSM},                {scfg::kAcPowerCam, IDS_CAM_ON_AC_ONLY},
      {scfg::kUseRts, IDS_RTS_THRESHOLD},         {scfg::kUseFrag, IDS_FRAG_THRESHOLD},
      {scfg::kNetworkTypeLabel, IDS_LABEL_NETWORK_TYPE}, {scfg::kPreambleLabel, IDS_LABEL_PREAMBLE},
      {scfg::kTxPowerLabel, IDS_LABEL_TX_POWER},  {scfg::kChannelLabel, IDS_LABEL_CHANNEL},
      {scfg::kNameLabel, IDS_LABEL_PROFILE_NAME}, {scfg::kSsidLabel, IDS_LABEL_SSID},
  };
  for (const auto& [id, text] : captions) Control(id).text = Text(text);
  auto texts = [&](std::initializer_list<uint32_t> ids) {
    std::vector<std::string> out;
    for (uint32_t id : ids) out.push_back(Text(id));
    return out;
  };
  Control(scfg::kNetworkType).items = texts({IDS_NET_ADHOC, IDS_NET_INFRASTRUCTURE});
  Control(scfg::kPreamble).items = texts({IDS_PREAMBLE_AUTO, IDS_PREAMBLE_LONG});
  Control(scfg::kTxPower).items = texts({IDS_AUTO, IDS_TX_POWER_100, IDS_TX_POWER_75, IDS_TX_POWER_50,
                                         IDS_TX_POWER_25, IDS_TX_POWER_10, IDS_TX_POWER_LOWEST});
  ControlState& rts = Control(scfg::kRtsSlider);
  rts.rangeMin = 0;
  rts.rangeMax = kRtsMax;
  ControlState& frag = Control(scfg::kFragSlider);
  frag.rangeMin = kFragMin;
  frag.rangeMax = kFragMax;
  Control(scfg::kAdhocMode).visible = false;
  Control(scfg::kAcPowerCam).visible = !hooks_.driverVersion || hooks_.driverVersion() > 0x0500;

  // "ANY" first only for a profile without SSID; then each scanned name once.
  ControlState& ssid = Control(scfg::kSsid);
  ssid.items.clear();
  itemSsids_.clear();
  auto add = [&](const std::string& raw) {
    std::string shown = ShownSsid(raw, strings_);
    if (std::find(ssid.items.begin(), ssid.items.end(), shown) != ssid.items.end()) return;
    ssid.items.push_back(shown);
    itemSsids_.push_back(raw);
  };
  if (!profileHasSsid_) add(Text(IDS_SSID_ANY));
  if (hooks_.scanSsids)
    for (const auto& s : hooks_.scanSsids()) add(s.empty() ? Text(IDS_SSID_ANY) : s);

  initialised_ = true;
  Push();
}

void CSysConfigPage::Push() {
  Control(scfg::kName).text = name_;
  ControlState& ssid = Control(scfg::kSsid);
  ssid.text = ShownSsid(ssid_, strings_);
  auto it = std::find(ssid.items.begin(), ssid.items.end(), ssid.text);
  ssid.selection = it == ssid.items.end() ? -1 : static_cast<int>(it - ssid.items.begin());
  Control(scfg::kCam).checked = psMode_ == 0;
  Control(scfg::kPsm).checked = psMode_ == 1;
  Control(scfg::kAcPowerCam).checked = acPowerCam_;
  Control(scfg::kNetworkType).selection = networkType_;
  Control(scfg::kTxPower).selection = txPower_;
  Control(scfg::kUseRts).checked = useRts_;
  Control(scfg::kUseFrag).checked = useFrag_;
  ApplyNetworkType();
  for (auto [use, slider, edit, value] : {std::tuple{useRts_, scfg::kRtsSlider, scfg::kRts, rts_},
                                          std::tuple{useFrag_, scfg::kFragSlider, scfg::kFrag, frag_}}) {
    Control(slider).enabled = Control(edit).enabled = use;
    Control(slider).position = value;
    Control(edit).text = std::to_string(value);
  }
}

void CSysConfigPage::FillChannels() {
  channels_ = ProfileChannels(hooks_.channels ? hooks_.channels() : ChannelFacts{}, networkType_, adhocMode_);
  ControlState& c = Control(scfg::kChannel);
  c.items.clear();
  for (uint32_t ch : channels_) c.items.push_back(std::to_string(ch));
  auto it = std::find(channels_.begin(), channels_.end(), static_cast<uint32_t>(std::max(0, channel_)));
  if (it == channels_.end()) {
    c.selection = channels_.empty() ? -1 : 0;
    if (!channels_.empty()) channel_ = static_cast<int>(channels_.front());
  } else {
    c.selection = static_cast<int>(it - channels_.begin());
  }
}

void CSysConfigPage::ApplyNetworkType() {
  const bool infra = networkType_ == 1;
  for (int id : {scfg::kPsmGroup, scfg::kCam, scfg::kPsm, scfg::kAcPowerCam}) Control(id).enabled = infra;
  Control(scfg::kChannel).visible = Control(scfg::kChannelLabel).visible = !infra;
  Control(scfg::kPreamble).enabled = Control(scfg::kPreambleLabel).enabled = !infra;
  if (infra) preambleIndex_ = 0;
  Control(scfg::kPreamble).selection = preambleIndex_;
  FillChannels();
}

void CSysConfigPage::Pull() {
  if (!initialised_) return;
  name_ = Control(scfg::kName).text;
  CutName(name_);
  ssid_ = SsidOf(Control(scfg::kSsid).text);
  psMode_ = Control(scfg::kPsm).checked ? 1 : 0;
  acPowerCam_ = Control(scfg::kAcPowerCam).checked;
  if (int n = Control(scfg::kNetworkType).selection; n == 0 || n == 1) networkType_ = n;
  if (int p = Control(scfg::kPreamble).selection; p == 0 || p == 1) preambleIndex_ = p;
  if (int t = Control(scfg::kTxPower).selection; t >= 0 && t <= 6) txPower_ = t;
  useRts_ = Control(scfg::kUseRts).checked;
  useFrag_ = Control(scfg::kUseFrag).checked;
  rts_ = useRts_ ? std::clamp(Control(scfg::kRtsSlider).position, 0, kRtsMax) : kRtsMax;
  frag_ = useFrag_ ? std::clamp(Control(scfg::kFragSlider).position, kFragMin, kFragMax) : kFragMax;
  int sel = Control(scfg::kChannel).selection;
  if (networkType_ == 0 && sel >= 0 && static_cast<size_t>(sel) < channels_.size())
    channel_ = static_cast<int>(channels_[static_cast<size_t>(sel)]);
}

bool CSysConfigPage::OnKillActive() {
  Pull();
  // An infrastructure profile keeps the list's first channel.
  if (networkType_ == 1 && !channels_.empty()) channel_ = static_cast<int>(channels_.front());
  return true;
}

void CSysConfigPage::OnCommand(int id, UiEvent event) {
  // The threshold edits drive their sliders; a value outside the range is taken at its bound.
  if (event == UiEvent::TextChanged && (id == scfg::kRts || id == scfg::kFrag)) {
    const bool rts = id == scfg::kRts;
    int value = ParseDecimal(Control(id).text);
    Control(rts ? scfg::kRtsSlider : scfg::kFragSlider).position =
        rts ? std::clamp(value, 0, kRtsMax) : std::clamp(value, kFragMin, kFragMax);
    Pull();
    return;  // the text stays as typed until the edit is left
  }
  Pull();
  if (id == scfg::kName || id == scfg::kSsid) {
    Control(scfg::kName).text = name_;
    std::string shown = ShownSsid(ssid_, strings_);
    if (Control(scfg::kSsid).text.size() > 32 && Control(scfg::kSsid).text != shown)
      Control(scfg::kSsid).text = shown;
    return;
  }
  Push();
}

std::string CSysConfigPage::SsidOf(const std::string& text) const {
  // Unchanged or chosen from the list: the network's own bytes. Typed: the text, at most 32 bytes.
  if (text == ShownSsid(ssid_, strings_)) return ssid_;
  const auto& items =
      Controls().count(scfg::kSsid) ? Controls().at(scfg::kSsid).items : std::vector<std::string>{};
  for (size_t i = 0; i < items.size() && i < itemSsids_.size(); ++i)
    if (items[i] == text) return itemSsids_[i];
  return std::string(Utf8PrefixBytes(text, 32));
}

bool CSysConfigPage::OnOk() { return hooks_.sheetOk ? hooks_.sheetOk() : true; }

}  // namespace vx
