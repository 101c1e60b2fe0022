#include "station/advanced/advance_page.h"

#include <algorithm>

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "station/profiles/profile_store.h"

namespace vx {
namespace {

using namespace advanced;

constexpr uint32_t kRegionBgItems[] = {IDS_REGION_BG_0, IDS_REGION_BG_1, IDS_REGION_BG_2, IDS_REGION_BG_3,
                                       IDS_REGION_BG_4, IDS_REGION_BG_5, IDS_REGION_BG_6};
constexpr uint32_t kRegionAItems[] = {IDS_REGION_A_0, IDS_REGION_A_1, IDS_REGION_A_2, IDS_REGION_A_3,
                                      IDS_REGION_A_4, IDS_REGION_A_5, IDS_REGION_A_6, IDS_REGION_A_7};
constexpr int kRegionBgCount = 7;
constexpr int kRegionACount = 8;

// A code outside the combo's table shows as code 0, whose channels the channel plan also uses.
int RegionPosition(uint32_t code, int count) { return code < static_cast<uint32_t>(count) ? static_cast<int>(code) : 0; }

std::vector<uint32_t> AdhocCodesFor(uint32_t mode) {
  switch (mode) {
    case kModeBOnly:
      return {kAdhocB};
    case kModeAOnly:
      return {kAdhocA};
    case kModeGOnly:
      return {kAdhocG};
    case kModeAbgMix:
      return {kAdhocB, kAdhocBg, kAdhocG, kAdhocA, kAdhocAbg};
    default:
      return {kAdhocB, kAdhocBg, kAdhocG};
  }
}

uint32_t AdhocItem(uint32_t code) {
  switch (code) {
    case kAdhocBg:
      return IDS_MODE_BG_MIX;
    case kAdhocG:
      return IDS_MODE_G_ONLY;
    case kAdhocA:
      return IDS_MODE_A_ONLY;
    case kAdhocAbg:
      return IDS_MODE_ABG_MIX;
    default:
      return IDS_MODE_B_ONLY;
  }
}

int Position(const std::vector<uint32_t>& codes, uint32_t code) {
  auto it = std::find(codes.begin(), codes.end(), code);
  return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

}  // namespace

CAdvancePage::CAdvancePage(RegistryPort& reg, OidChannel& channel, DialogPort& dialogs, const StringTable& strings,
                           AdvanceHooks hooks)
    : reg_(reg), channel_(channel), dialogs_(dialogs), strings_(strings), hooks_(std::move(hooks)) {}

int CAdvancePage::SelectionOf(int id) const {
  auto it = Controls().find(id);
  return it == Controls().end() ? -1 : it->second.selection;
}

uint32_t CAdvancePage::SelectedMode() const { return ModeAtPosition(modes_, SelectionOf(adv::kWirelessMode)); }

uint32_t CAdvancePage::SelectedAdhocChoice() const {
  int p = SelectionOf(adv::kAdhocMode);
  return p >= 0 && static_cast<size_t>(p) < adhocCodes_.size() ? adhocCodes_[static_cast<size_t>(p)] : kAdhocB;
}

void CAdvancePage::RadioChanged() { ShowRadio(hooks_.radioOn ? hooks_.radioOn() : true); }

void CAdvancePage::OnSetActive() { RadioChanged(); }

void CAdvancePage::ShowRadio(bool on) {
  Control(adv::kRadio).text = Text(on ? IDS_TURN_OFF_RF : IDS_TURN_ON_RF);
  Control(adv::kRadioImage).image = on ? kBitmapRadioOn : kBitmapRadioOff;
}

void CAdvancePage::OnInit() {
  initialising_ = true;
  facts_ = hooks_.facts ? hooks_.facts() : AdvanceFacts{};

  modes_ = WirelessModeList(facts_.has5GHz, true);
  Control(adv::kWirelessMode).items = Texts(strings_, modes_.items);
  Control(adv::kBgProtection).items = Texts(strings_, {IDS_AUTO, IDS_ON, IDS_OFF});
  Control(adv::kRegionBg).items = Texts(strings_, {std::begin(kRegionBgItems), std::end(kRegionBgItems)});
  Control(adv::kRegionA).items = Texts(strings_, {std::begin(kRegionAItems), std::end(kRegionAItems)});

  ShowRadio(hooks_.radioOn ? hooks_.radioOn() : true);
  const std::pair<int, uint32_t> captions[] = {
      {adv::kRegionGroup, IDS_SELECT_COUNTRY_REGION},
      {adv::kRegionBgLabel, IDS_REGION_BG},
      {adv::kRegionALabel, IDS_REGION_A},
      {adv::kWirelessModeLabel, IDS_LABEL_WIRELESS_MODE},
      {adv::kAdhocModeLabel, IDS_LABEL_ADHOC_MODE},
      {adv::kBgProtectionLabel, IDS_LABEL_BG_PROTECTION},
      {adv::kTxRateLabel, IDS_LABEL_TX_RATE},
      {adv::kFastRoaming, IDS_LABEL_FAST_ROAMING},
      {adv::kTxBurst, IDS_TX_BURST},
      {adv::kTurboRate, IDS_TX_TURBO_RATE},
      {adv::kQos, IDS_ENABLE_QOS},
      {adv::kCcx2, IDS_CCX2},
      {adv::kCckm, IDS_LEAP_CCKM},
      {adv::kRadioMeasurements, IDS_RADIO_MEASUREMENTS},
      {adv::kNonServing, IDS_NON_SERVING_MEASUREMENTS},
      {adv::kApply, IDS_APPLY},
      {adv::kThresholdUnit, IDS_DBM},
  };
  for (const auto& [id, text] : captions) Control(id).text = Text(text);
  // Shown here (only the profile sheets' page hides it): it is read from and written to the
  // live "TurboRate", which every activation sends as the station configuration's word 1.
  Control(adv::kTurboRate).visible = true;
  Control(adv::kRegionBg).enabled = facts_.region.bgChangeable;
  Control(adv::kRegionA).enabled = facts_.region.aChangeable;

  LoadLiveValues();
  ApplyModeUi();
  UpdateCcxEnabling();
  initialising_ = false;
}

void CAdvancePage::LoadLiveValues() {
  RegKey key = Hklm(facts_.settingsRoot);
  uint32_t mode = static_cast<uint32_t>(std::max(0, ReadInt(reg_, key, regstr::kWirelessMode, 0)));
  uint32_t driverMode = 0;
  if (channel_.QueryU32(VX_OID_802_11_QUERY_PHY_MODE, driverMode) && driverMode != mode) {
    mode = driverMode;
    if (hooks_.setWirelessMode) hooks_.setWirelessMode(mode);
  }
  if (mode > kModeGOnly || (!facts_.has5GHz && (mode == kModeAOnly || mode == kModeAbgMix))) mode = kModeBgMix;
  Control(adv::kWirelessMode).selection = PositionOfMode(modes_, mode);

  Control(adv::kTxBurst).checked = ReadInt(reg_, key, regstr::kTxBurst, 0) != 0;
  Control(adv::kTurboRate).checked = ReadInt(reg_, key, regstr::kTurboRate, 0) != 0;
  int protection = ReadInt(reg_, key, regstr::kBgProtection, 0);
  Control(adv::kBgProtection).selection = protection >= 0 && protection <= 2 ? protection : 0;

  uint32_t bg = facts_.region.bg;
  uint32_t a = facts_.region.a;
  if (facts_.region.bgChangeable)
    if (auto v = ReadIntIfPresent(reg_, key, regstr::kCountryRegion)) bg = static_cast<uint32_t>(*v) & 0x7F;
  if (facts_.region.aChangeable)
    if (auto v = ReadIntIfPresent(reg_, key, regstr::kCountryRegionABand)) a = static_cast<uint32_t>(*v) & 0x7F;
  Control(adv::kRegionBg).selection = RegionPosition(bg, kRegionBgCount);
  Control(adv::kRegionA).selection = RegionPosition(a, kRegionACount);

  // The ad hoc list is built by the mode rules; keep the stored choice for them to place.
  adhocCodes_ = AdhocCodesFor(kModeAbgMix);
  int adhoc = ReadInt(reg_, key, regstr::kAdhocOfdm, 0);
  Control(adv::kAdhocMode).selection = Position(adhocCodes_, static_cast<uint32_t>(std::max(0, adhoc)));
  int rate = ReadInt(reg_, key, regstr::kTransRate, 0);
  Control(adv::kTxRate).selection = std::max(0, rate);

  Ccx2Control ccx = DecodeCcx2(ReadWord(reg_, key, regstr::kCcx2Control).value_or(kCcx2DefaultWord));
  Control(adv::kCcx2).checked = ccx.switches[kCcx2On];
  Control(adv::kCckm).checked = ccx.switches[kCcx2Cckm];
  Control(adv::kRadioMeasurements).checked = ccx.switches[kCcx2RadioMeasurements];
  Control(adv::kNonServing).checked = ccx.switches[kCcx2NonServing];
  Control(adv::kQos).checked = ccx.switches[kCcx2Qos];
  Control(adv::kFastRoaming).checked = ccx.switches[kCcx2FastRoaming];
  Control(adv::kLimit).text = std::to_string(ccx.limitMs);
  Control(adv::kThreshold).text = std::to_string(ccx.roamThresholdDbm);
}

void CAdvancePage::ApplyModeUi() {
  uint32_t mode = SelectedMode();

  RateList rates = RateListForMode(mode);
  ControlState& rate = Control(adv::kTxRate);
  rate.items = Texts(strings_, RateItems(rates));
  if (rate.selection < 0 || static_cast<uint32_t>(rate.selection) > MaxTransRate(rates)) rate.selection = 0;

  ControlState& protection = Control(adv::kBgProtection);
  protection.enabled = mode == kModeBgMix || mode == kModeAbgMix;
  if (!protection.enabled) protection.selection = 0;

  uint32_t choice = SelectedAdhocChoice();
  adhocCodes_ = AdhocCodesFor(mode);
  ControlState& adhoc = Control(adv::kAdhocMode);
  adhoc.items.clear();
  for (uint32_t code : adhocCodes_) adhoc.items.push_back(Text(AdhocItem(code)));
  int position = Position(adhocCodes_, choice);
  adhoc.selection = adhocCodes_.size() == 1 || position < 0 ? 0 : position;

  bool showBg = mode != kModeAOnly;
  bool showA = facts_.has5GHz && (mode == kModeAOnly || mode == kModeAbgMix);
  Control(adv::kRegionBgLabel).visible = showBg;
  Control(adv::kRegionBg).visible = showBg;
  Control(adv::kRegionALabel).visible = showA;
  Control(adv::kRegionA).visible = showA;
}

void CAdvancePage::UpdateCcxEnabling() {
  bool ccx = Control(adv::kCcx2).checked;
  bool radio = Control(adv::kRadioMeasurements).checked;
  bool nonServing = Control(adv::kNonServing).checked;
  Control(adv::kCckm).enabled = ccx;
  Control(adv::kRadioMeasurements).enabled = ccx;
  Control(adv::kQos).enabled = ccx;
  Control(adv::kNonServing).enabled = ccx && radio;
  bool limit = ccx && radio && nonServing;
  for (int id : {adv::kLimit, adv::kLimitLabel, adv::kLimitUnit}) Control(id).enabled = limit;
  bool roaming = Control(adv::kFastRoaming).checked;
  Control(adv::kThreshold).enabled = roaming;
  Control(adv::kThresholdUnit).enabled = roaming;
}

void CAdvancePage::OnCommand(int controlId, UiEvent event) {
  const std::string defaultLimit = std::to_string(kCcx2DefaultLimitMs);
  if (event == UiEvent::SelectionChanged && controlId == adv::kWirelessMode) {
    if (!initialising_) dialogs_.MessageBox(Text(IDS_AUTO_CHANNEL_BY_MODE), Text(IDS_APP_TITLE), kMbOk);
    ApplyModeUi();
    return;
  }
  if (event != UiEvent::Clicked) return;
  switch (controlId) {
    case adv::kCcx2: {
      bool on = Control(adv::kCcx2).checked;
      for (int id : {adv::kCckm, adv::kRadioMeasurements, adv::kNonServing, adv::kQos}) Control(id).checked = on;
      if (!on) Control(adv::kLimit).text = defaultLimit;
      break;
    }
    case adv::kRadioMeasurements:
      if (!Control(adv::kRadioMeasurements).checked) {
        Control(adv::kNonServing).checked = false;
        Control(adv::kLimit).text = defaultLimit;
      }
      break;
    case adv::kNonServing:
      if (!Control(adv::kNonServing).checked) Control(adv::kLimit).text = defaultLimit;
      break;
    case adv::kFastRoaming:
      if (!Control(adv::kFastRoaming).checked) Control(adv::kThreshold).text = std::to_string(kCcx2DefaultThresholdDbm);
      break;
    case adv::kApply:
      Apply();
      return;
    case adv::kRadio:
      if (hooks_.toggleRadio) hooks_.toggleRadio();
      ShowRadio(hooks_.radioOn ? hooks_.radioOn() : true);
      return;
    default:
      return;
  }
  UpdateCcxEnabling();
}

uint32_t CAdvancePage::BuildCcx2Word() const {
  auto checked = [this](int id) {
    auto it = Controls().find(id);
    return it != Controls().end() && it->second.checked;
  };
  auto number = [this](int id) {
    auto it = Controls().find(id);
    return it == Controls().end() ? 0 : ParseDecimal(it->second.text);
  };
  Ccx2Control c = DecodeCcx2(kCcx2DefaultWord);
  if (checked(adv::kCcx2)) {
    c.switches[kCcx2On] = true;
    c.switches[kCcx2Cckm] = checked(adv::kCckm);
    c.switches[kCcx2RadioMeasurements] = checked(adv::kRadioMeasurements);
    c.switches[kCcx2NonServing] = checked(adv::kNonServing);
    c.switches[kCcx2Qos] = checked(adv::kQos);
    c.limitMs = static_cast<uint32_t>(number(adv::kLimit));
  }
  if (checked(adv::kFastRoaming)) {
    c.switches[kCcx2FastRoaming] = true;
    c.roamThresholdDbm = number(adv::kThreshold);
  }
  return EncodeCcx2(c);
}

bool CAdvancePage::Apply() {
  int32_t limit = ParseDecimal(Control(adv::kLimit).text);
  int32_t threshold = ParseDecimal(Control(adv::kThreshold).text);
  if (limit < 0 || limit > 2000 || threshold < -90 || threshold > -60) return false;

  facts_ = hooks_.facts ? hooks_.facts() : facts_;
  RadioValues v;
  v.mode = SelectedMode();
  if (!facts_.has5GHz && (v.mode == kModeAOnly || v.mode == kModeAbgMix)) v.mode = kModeBgMix;
  if (hooks_.setWirelessMode) hooks_.setWirelessMode(v.mode);
  v.txBurst = Control(adv::kTxBurst).checked ? 1 : 0;
  const uint32_t turbo = Control(adv::kTurboRate).checked ? 1 : 0;
  v.bgProtection = static_cast<uint32_t>(std::clamp(Control(adv::kBgProtection).selection, 0, 2));
  v.adhocOfdm = SelectedAdhocChoice();
  v.transRate = static_cast<uint32_t>(std::max(0, Control(adv::kTxRate).selection));
  ApplyModeRules(v, facts_.has5GHz);
  uint32_t ccx = BuildCcx2Word();
  uint32_t bg = static_cast<uint32_t>(std::max(0, Control(adv::kRegionBg).selection));
  uint32_t a = static_cast<uint32_t>(std::max(0, Control(adv::kRegionA).selection));

  RegKey key = Hklm(facts_.settingsRoot);
  WriteInt(reg_, key, regstr::kWirelessMode, static_cast<int32_t>(v.mode));
  WriteInt(reg_, key, regstr::kTxBurst, static_cast<int32_t>(v.txBurst));
  WriteInt(reg_, key, regstr::kTurboRate, static_cast<int32_t>(turbo));
  WriteInt(reg_, key, regstr::kBgProtection, static_cast<int32_t>(v.bgProtection));
  if (facts_.region.bgChangeable) WriteInt(reg_, key, regstr::kCountryRegion, static_cast<int32_t>(bg));
  if (facts_.region.aChangeable) WriteInt(reg_, key, regstr::kCountryRegionABand, static_cast<int32_t>(a));
  WriteInt(reg_, key, regstr::kAdhocOfdm, static_cast<int32_t>(v.adhocOfdm));
  WriteInt(reg_, key, regstr::kTransRate, static_cast<int32_t>(v.transRate));
  reg_.SetValue(key, regstr::kCcx2Control, RegValue::Dword(ccx));

  SetPhyModeIfChanged(channel_, v.mode);
  auto sent = WriteStaConfig(channel_, [&](ConfigWords& w) {
    w[kStaTxBurst] = v.txBurst;
    w[kStaTurboRate] = turbo;
    w[kStaBgProtection] = v.bgProtection;
    w[kStaAdhocOfdm] = v.adhocOfdm;
  });
  if (sent && hooks_.storeStaConfig) hooks_.storeStaConfig(*sent);
  if (facts_.region.bgChangeable || facts_.region.aChangeable) {
    channel_.SetU32(VX_OID_802_11_SET_COUNTRY_REGION, EncodeCountryRegionSet(bg, a));
    if (hooks_.regionApplied) hooks_.regionApplied();
  }
  SendRates(channel_, v.mode, v.transRate);
  channel_.SetU32(VX_OID_802_11_SET_CCX2_CONTROL, ccx);

  // Show what was stored: the mode rules may have changed the choices.
  Control(adv::kBgProtection).selection = static_cast<int>(v.bgProtection);
  Control(adv::kTxRate).selection = static_cast<int>(v.transRate);
  return true;
}

}  // namespace vx
