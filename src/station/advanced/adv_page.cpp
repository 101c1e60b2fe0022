#include "station/advanced/adv_page.h"

#include <algorithm>

#include "common/settings/registry_values.h"
#include "resources/string_ids.h"
#include "station/profiles/profile_store.h"

namespace vx {
namespace {

using namespace advanced;

// The ad hoc combo's entries are the ad hoc choices 0, 1, 2 in order.
constexpr uint32_t kAdhocItems[] = {IDS_MODE_B_ONLY, IDS_MODE_BG_MIX, IDS_MODE_G_ONLY};
constexpr int kAdhocItemCount = 3;

}  // namespace

RegKey TcpipKey(int osKind, bool wow64) {
  RegKey key = Hklm(kTcpipKey);
  key.view64 = osKind > 9 && wow64;
  return key;
}

CAdvPage::CAdvPage(RegistryPort& reg, OidChannel& channel, const StringTable& strings, AdvPageHooks hooks)
    : reg_(reg), channel_(channel), strings_(strings), hooks_(std::move(hooks)) {}

bool CAdvPage::Checked(int id) const {
  auto it = Controls().find(id);
  return it != Controls().end() && it->second.checked;
}

int CAdvPage::Selection(int id) const {
  auto it = Controls().find(id);
  return it == Controls().end() ? -1 : it->second.selection;
}

void CAdvPage::OnInit() {
  facts_ = hooks_.facts ? hooks_.facts() : AdvPageFacts{};
  modes_ = WirelessModeList(facts_.has5GHz, false);
  Control(padv::kWirelessMode).items = Texts(strings_, modes_.items);
  Control(padv::kAdhocMode).items = Texts(strings_, {std::begin(kAdhocItems), std::end(kAdhocItems)});
  Control(padv::kBgProtection).items = Texts(strings_, {IDS_AUTO, IDS_ON, IDS_OFF});

  const std::pair<int, uint32_t> captions[] = {
      {padv::kWirelessModeLabel, IDS_LABEL_WIRELESS_MODE}, {padv::kAdhocModeLabel, IDS_LABEL_ADHOC_MODE},
      {padv::kBgProtectionLabel, IDS_LABEL_BG_PROTECTION}, {padv::kTxRateLabel, IDS_LABEL_TX_RATE},
      {padv::kTxBurst, IDS_TX_BURST},                      {padv::kTurboRate, IDS_TX_TURBO_RATE},
      {padv::kShortSlot, IDS_SHORT_SLOT_TIME},             {padv::kTcpWindow, IDS_ENABLE_TCP_WINDOW},
  };
  for (const auto& [id, text] : captions) Control(id).text = Text(text);
  Control(padv::kTurboRate).visible = false;
  Control(padv::kShortSlot).visible = false;

  ControlState& tcp = Control(padv::kTcpWindow);
  tcp.enabled = facts_.osKind >= 7;
  tcp.checked = reg_.QueryValue(TcpipKey(facts_.osKind, facts_.wow64), kTcpWindowSizeValue).has_value();

  Load();
  UpdateEnabling();
}

void CAdvPage::OnSetActive() {
  // The configuration page may have changed the network type meanwhile.
  UpdateEnabling();
}

void CAdvPage::Load() {
  std::string root = facts_.settingsRoot;
  ProfileStore store(reg_, [root] { return root; });
  std::string name = hooks_.profileName ? hooks_.profileName() : std::string();
  RegKey key = store.ProfileKey(name);
  if (name.empty() || !reg_.KeyExists(key) || !reg_.QueryValue(key, regstr::kWirelessMode)) key = store.AdapterKey();

  auto value = [&](const char* n) { return static_cast<uint32_t>(std::max(0, ReadInt(reg_, key, n, 0))); };
  uint32_t mode = value(regstr::kWirelessMode);
  // Without 5 GHz only B/G mix and B only exist; G only has no entry on this page.
  if ((!facts_.has5GHz && mode > kModeBOnly) || mode > kModeAbgMix) mode = kModeBgMix;
  if (hooks_.setWirelessMode) hooks_.setWirelessMode(mode);
  Control(padv::kWirelessMode).selection = PositionOfMode(modes_, mode);
  Control(padv::kTxBurst).checked = value(regstr::kTxBurst) != 0;
  Control(padv::kTurboRate).checked = value(regstr::kTurboRate) != 0;
  uint32_t protection = value(regstr::kBgProtection);
  Control(padv::kBgProtection).selection = protection <= 2 ? static_cast<int>(protection) : 0;
  Control(padv::kShortSlot).checked = value(regstr::kShortSlot) != 0;
  uint32_t adhoc = value(regstr::kAdhocOfdm);
  Control(padv::kAdhocMode).selection = adhoc < kAdhocItemCount ? static_cast<int>(adhoc) : 0;
  Control(padv::kTxRate).selection = static_cast<int>(value(regstr::kTransRate));
}

void CAdvPage::UpdateEnabling() {
  bool adhoc = Adhoc();
  Control(padv::kAdhocMode).enabled = adhoc;
  Control(padv::kWirelessMode).enabled = !adhoc;
  if (adhoc)
    AdhocModeRules();
  else
    WirelessModeRules();
}

void CAdvPage::SetRateList(RateList list) {
  ControlState& rate = Control(padv::kTxRate);
  rate.items = Texts(strings_, RateItems(list));
  if (rate.selection < 0 || static_cast<uint32_t>(rate.selection) > MaxTransRate(list)) rate.selection = 0;
}

void CAdvPage::WirelessModeRules() {
  uint32_t mode = ModeAtPosition(modes_, Selection(padv::kWirelessMode));
  ControlState& protection = Control(padv::kBgProtection);
  if (mode == kModeBOnly || mode == kModeAOnly) {
    SetRateList(RateListForMode(mode));
    protection.enabled = false;
    protection.selection = 0;
  } else {
    SetRateList(RateList::All);
    protection.enabled = true;
  }
}

void CAdvPage::AdhocModeRules() {
  int choice = Selection(padv::kAdhocMode);
  ControlState& protection = Control(padv::kBgProtection);
  if (choice == static_cast<int>(kAdhocBg)) {
    SetRateList(RateList::All);
    protection.enabled = true;
    return;
  }
  SetRateList(choice == static_cast<int>(kAdhocG) ? RateList::All : RateList::B);
  protection.enabled = false;
  protection.selection = 0;
  if (choice == static_cast<int>(kAdhocG)) Control(padv::kWirelessMode).selection = PositionOfMode(modes_, kModeBgMix);
}

void CAdvPage::OnCommand(int controlId, UiEvent event) {
  if (event != UiEvent::SelectionChanged) return;
  if (controlId == padv::kWirelessMode) WirelessModeRules();
  if (controlId == padv::kAdhocMode) AdhocModeRules();
}

ProfileAdvancedValues CAdvPage::Values() const {
  RadioValues v;
  v.mode = ModeAtPosition(modes_, Selection(padv::kWirelessMode));
  if (!facts_.has5GHz && (v.mode == kModeAOnly || v.mode == kModeAbgMix)) v.mode = kModeBgMix;
  v.bgProtection = static_cast<uint32_t>(std::clamp(Selection(padv::kBgProtection), 0, 2));
  v.adhocOfdm = static_cast<uint32_t>(std::clamp(Selection(padv::kAdhocMode), 0, kAdhocItemCount - 1));
  v.transRate = static_cast<uint32_t>(std::max(0, Selection(padv::kTxRate)));
  ApplyModeRules(v, facts_.has5GHz);

  ProfileAdvancedValues out;
  out.wirelessMode = v.mode;
  out.txBurst = Checked(padv::kTxBurst) ? 1 : 0;
  out.turboRate = Checked(padv::kTurboRate) ? 1 : 0;
  out.bgProtection = v.bgProtection;
  out.shortSlot = Checked(padv::kShortSlot) ? 1 : 0;
  out.adhocOfdm = v.adhocOfdm;
  out.transRate = v.transRate;
  return out;
}

void CAdvPage::CopyTo(StationProfile& p) const {
  ProfileAdvancedValues v = Values();
  p.wirelessMode = static_cast<int32_t>(v.wirelessMode);
  p.txBurst = static_cast<int32_t>(v.txBurst);
  p.turboRate = static_cast<int32_t>(v.turboRate);
  p.bgProtection = static_cast<int32_t>(v.bgProtection);
  p.shortSlot = static_cast<int32_t>(v.shortSlot);
  p.adhocOfdm = static_cast<int32_t>(v.adhocOfdm);
  p.transRate = static_cast<int32_t>(v.transRate);
}

void CAdvPage::WriteProfileValues(const RegKey& key) const {
  ProfileAdvancedValues v = Values();
  const std::pair<const char*, uint32_t> values[] = {
      {regstr::kWirelessMode, v.wirelessMode}, {regstr::kTxBurst, v.txBurst},     {regstr::kTurboRate, v.turboRate},
      {regstr::kBgProtection, v.bgProtection}, {regstr::kShortSlot, v.shortSlot}, {regstr::kAdhocOfdm, v.adhocOfdm},
      {regstr::kTransRate, v.transRate},
  };
  for (const auto& [name, value] : values) WriteInt(reg_, key, name, static_cast<int32_t>(value));
}

void CAdvPage::Save() {
  facts_ = hooks_.facts ? hooks_.facts() : facts_;
  if (facts_.osKind >= 7) {
    RegKey tcpip = TcpipKey(facts_.osKind, facts_.wow64);
    // Only an existing key is written, as an open with full access would find it.
    if (reg_.KeyExists(tcpip)) {
      if (Checked(padv::kTcpWindow))
        reg_.SetValue(tcpip, kTcpWindowSizeValue, RegValue::Dword(kTcpWindowSize));
      else
        reg_.DeleteValue(tcpip, kTcpWindowSizeValue);
    }
  }

  ProfileAdvancedValues v = Values();
  if (hooks_.setWirelessMode) hooks_.setWirelessMode(v.wirelessMode);

  std::string root = facts_.settingsRoot;
  ProfileStore store(reg_, [root] { return root; });
  RegKey live = store.AdapterKey();
  WriteInt(reg_, live, regstr::kWirelessMode, static_cast<int32_t>(v.wirelessMode));
  WriteInt(reg_, live, regstr::kTxBurst, static_cast<int32_t>(v.txBurst));
  WriteInt(reg_, live, regstr::kBgProtection, static_cast<int32_t>(v.bgProtection));
  WriteInt(reg_, live, regstr::kAdhocOfdm, static_cast<int32_t>(v.adhocOfdm));
  WriteInt(reg_, live, regstr::kTransRate, static_cast<int32_t>(v.transRate));

  SetPhyModeIfChanged(channel_, v.wirelessMode);
  auto sent = WriteStaConfig(channel_, [&](ConfigWords& w) {
    w[kStaTxBurst] = v.txBurst;
    w[kStaTurboRate] = v.turboRate;
    w[kStaBgProtection] = v.bgProtection;
    w[kStaShortSlot] = v.shortSlot;
    w[kStaAdhocOfdm] = v.adhocOfdm;
  });
  if (sent && hooks_.storeStaConfig) hooks_.storeStaConfig(*sent);
  SendRates(channel_, v.wirelessMode, v.transRate);

  std::string name = hooks_.profileName ? hooks_.profileName() : std::string();
  if (!name.empty()) WriteProfileValues(store.ProfileKey(name));
}

}  // namespace vx
