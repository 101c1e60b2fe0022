#include "softap/config/security_dialog.h"

#include <cstdio>

#include "base/hex.h"
#include "common/settings/registry_values.h"
#include "resources/dialogs/ap_security_dialog.h"
#include "resources/string_ids.h"
#include "softap/config/hex_input_filter.h"

namespace vx {
namespace {

constexpr int kRadio[4] = {kIdcApsKey1, kIdcApsKey2, kIdcApsKey3, kIdcApsKey4};
constexpr int kType[4] = {kIdcApsKey1Type, kIdcApsKey2Type, kIdcApsKey3Type, kIdcApsKey4Type};
constexpr int kLength[4] = {kIdcApsKey1Length, kIdcApsKey2Length, kIdcApsKey3Length, kIdcApsKey4Length};
constexpr int kHex[4] = {kIdcApsKey1Hex, kIdcApsKey2Hex, kIdcApsKey3Hex, kIdcApsKey4Hex};
constexpr int kAscii[4] = {kIdcApsKey1Ascii, kIdcApsKey2Ascii, kIdcApsKey3Ascii, kIdcApsKey4Ascii};

std::string DottedAddress(int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  char b[20];
  std::snprintf(b, sizeof b, "%u.%u.%u.%u", v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  return b;
}

int32_t AddressValue(const std::string& dotted) {
  uint32_t v = 0;
  size_t at = 0;
  for (int part = 0; part < 4; ++part) {
    size_t end = dotted.find('.', at);
    std::string field = dotted.substr(at, end == std::string::npos ? std::string::npos : end - at);
    v = (v << 8) | (static_cast<uint32_t>(ParseDecimal(field)) & 0xFF);
    if (end == std::string::npos) {
      v <<= 8 * (3 - part);
      break;
    }
    at = end + 1;
  }
  return static_cast<int32_t>(v);
}

bool AllHex(const std::string& s) {
  for (char c : s)
    if (!IsHexDigit(c)) return false;
  return true;
}

bool ValidWepKey(const std::string& key, bool hex) {
  if (hex) return (key.size() == 10 || key.size() == 26) && AllHex(key);
  return key.size() == 5 || key.size() == 13;
}

}  // namespace

ApSecurityDialog::ApSecurityDialog(ApSecurityValues values, bool usb, DialogPort& dialogs, const StringTable& strings)
    : values_(std::move(values)), usb_(usb), dialogs_(dialogs), strings_(strings) {}

uint32_t ApSecurityDialog::TemplateId() const { return kIddApSecurityDialog; }

int ApSecurityDialog::AuthPosition() const {
  int position = values_.authenType;
  if (position == 4) position = 2;
  else if (position == 7) position = 3;
  else if (position == 9) position = 4;
  int items = usb_ ? 2 : 3;
  return position >= 0 && position < items ? position : kOpen;
}

void ApSecurityDialog::OnInit() {
  auto& auth = Control(kIdcApsAuth);
  auth.items = {strings_.Get(IDS_AP_AUTH_OPEN), strings_.Get(IDS_AP_AUTH_SHARED)};
  if (!usb_) auth.items.push_back(strings_.Get(IDS_AP_AUTH_WPA_PSK));
  auth.selection = AuthPosition();
  FillEncryption(true);

  Control(kIdcApsPsk).text = values_.wpaPsk;
  Control(kIdcApsRekey).text = std::to_string(values_.rekeyInterval);
  Control(kIdcApsRekeyUnit).text = strings_.Get(values_.rekeyMethod == 1 ? IDS_AP_REKEY_KPACKETS : IDS_AP_REKEY_SECONDS);
  // The RADIUS controls are hidden; their values are kept and written back.
  Control(kIdcApsRadiusServer).text = DottedAddress(values_.radiusIp);
  Control(kIdcApsRadiusPort).text = std::to_string(values_.radiusPort);
  Control(kIdcApsRadiusKey).text = values_.radiusKey;
  for (int id : {kIdcApsRadiusServer, kIdcApsRadiusPort, kIdcApsRadiusKey, kIdcApsLabelRadiusServer,
                 kIdcApsLabelRadiusPort, kIdcApsLabelRadiusKey})
    Control(id).visible = false;

  int transmit = values_.wepKeyUse >= 1 && values_.wepKeyUse <= 4 ? values_.wepKeyUse - 1 : 0;
  for (int i = 0; i < 4; ++i) {
    Control(kRadio[i]).checked = i == transmit;
    bool ascii = values_.wepKeyType[i] == 1;
    Control(kType[i]).items = {strings_.Get(IDS_AP_KEY_HEXADECIMAL), strings_.Get(IDS_AP_KEY_ASCII)};
    Control(kType[i]).selection = ascii ? 1 : 0;
    std::string shown = values_.wepKey[i];
    if (ascii)
      if (auto bytes = DecodeHex(shown)) shown.assign(bytes->begin(), bytes->end());
    Control(ascii ? kAscii[i] : kHex[i]).text = shown;
    bool long128 = ascii ? shown.size() == 13 : shown.size() == 26;
    Control(kLength[i]).items = {strings_.Get(IDS_AP_KEY_64_BITS), strings_.Get(IDS_AP_KEY_128_BITS)};
    Control(kLength[i]).selection = long128 ? 1 : 0;
    ShowKey(i);
  }
  ApplyEnabling();
}

void ApSecurityDialog::FillEncryption(bool keepStored) {
  auto& enc = Control(kIdcApsEncryption);
  switch (Control(kIdcApsAuth).selection) {
    case kShared:
      enc.items = {strings_.Get(IDS_AP_ENC_WEP)};
      encryptionOfItem_ = {1};
      break;
    case kWpaPsk:
      enc.items = {strings_.Get(IDS_AP_ENC_TKIP), strings_.Get(IDS_AP_ENC_AES)};
      encryptionOfItem_ = {4, 6};
      break;
    default:
      enc.items = {strings_.Get(IDS_AP_ENC_NOT_USE), strings_.Get(IDS_AP_ENC_WEP)};
      encryptionOfItem_ = {1, 0};
      break;
  }
  int item = 0;
  if (keepStored) {
    int32_t e = values_.encryption;
    item = (e == 0 || e == 6) ? 1 : e == 8 ? 2 : 0;
    if (item >= static_cast<int>(enc.items.size())) item = 0;
  }
  enc.selection = item;
}

bool ApSecurityDialog::WepInUse() {
  int auth = Control(kIdcApsAuth).selection;
  int enc = Control(kIdcApsEncryption).selection;
  return auth == kShared || (auth == kOpen && enc == 1);
}

void ApSecurityDialog::ApplyEnabling() {
  bool wpa = Control(kIdcApsAuth).selection == kWpaPsk;
  bool keys = !wpa && WepInUse();
  for (int i = 0; i < 4; ++i)
    for (int id : {kRadio[i], kType[i], kLength[i], kHex[i], kAscii[i]}) Control(id).enabled = keys;
  for (int id : {kIdcApsPsk, kIdcApsRekey, kIdcApsRekeyUnit}) Control(id).enabled = wpa;
  for (int id : {kIdcApsRadiusServer, kIdcApsRadiusPort, kIdcApsRadiusKey}) Control(id).enabled = false;
}

bool ApSecurityDialog::HexType(int slot) const {
  auto it = Controls().find(kType[slot]);
  return it == Controls().end() || it->second.selection != 1;
}

size_t ApSecurityDialog::KeyLimit(int slot) const {
  auto it = Controls().find(kLength[slot]);
  bool long128 = it != Controls().end() && it->second.selection == 1;
  return HexType(slot) ? (long128 ? 26 : 10) : (long128 ? 13 : 5);
}

void ApSecurityDialog::ShowKey(int slot) {
  bool hex = HexType(slot);
  Control(kHex[slot]).visible = hex;
  Control(kAscii[slot]).visible = !hex;
}

void ApSecurityDialog::LimitKey(int slot, bool cut) {
  auto& edit = Control(HexType(slot) ? kHex[slot] : kAscii[slot]);
  if (HexType(slot)) edit.text = FilterHexInput(edit.text, KeyLimit(slot));
  if (cut && edit.text.size() > KeyLimit(slot)) edit.text.resize(KeyLimit(slot));
}

const std::string& ApSecurityDialog::KeyText(int slot) { return Control(HexType(slot) ? kHex[slot] : kAscii[slot]).text; }

void ApSecurityDialog::OnCommand(int id, UiEvent event) {
  if (id == kIdcApsAuth && event == UiEvent::SelectionChanged) {
    FillEncryption(false);
    ApplyEnabling();
    return;
  }
  if (id == kIdcApsEncryption && event == UiEvent::SelectionChanged) {
    ApplyEnabling();
    return;
  }
  if (id == kIdcApsRekeyUnit && event == UiEvent::Clicked) {
    values_.rekeyMethod = values_.rekeyMethod == 1 ? 0 : 1;
    Control(kIdcApsRekeyUnit).text =
        strings_.Get(values_.rekeyMethod == 1 ? IDS_AP_REKEY_KPACKETS : IDS_AP_REKEY_SECONDS);
    return;
  }
  if (id == kIdcApsPsk && event == UiEvent::TextChanged) {
    auto& t = Control(kIdcApsPsk).text;
    if (t.size() > 64) t.resize(64);
    return;
  }
  for (int i = 0; i < 4; ++i) {
    if (id == kType[i] && event == UiEvent::SelectionChanged) {
      ShowKey(i);
      LimitKey(i, true);
    } else if (id == kLength[i] && event == UiEvent::SelectionChanged) {
      LimitKey(i, true);
    } else if ((id == kHex[i] || id == kAscii[i]) && event == UiEvent::TextChanged) {
      LimitKey(i, true);
    } else if (id == kRadio[i] && event == UiEvent::Clicked) {
      for (int j = 0; j < 4; ++j) Control(kRadio[j]).checked = j == i;
    }
  }
}

bool ApSecurityDialog::OnOk() {
  int auth = Control(kIdcApsAuth).selection;
  const std::string caption = strings_.Get(IDS_AP_SECURITY_TITLE);
  if (auth == kWpaPsk) {
    const std::string& psk = Control(kIdcApsPsk).text;
    if (psk.size() < 8 || psk.size() > 64 || (psk.size() == 64 && !AllHex(psk))) {
      dialogs_.MessageBox(strings_.Get(IDS_AP_INVALID_PSK_LENGTH), caption, kMbOk | kMbIconWarning);
      return false;
    }
  }
  int transmit = 0;
  for (int i = 0; i < 4; ++i)
    if (Control(kRadio[i]).checked) transmit = i;
  if (auth != kWpaPsk && WepInUse()) {
    for (int i = 0; i < 4; ++i) {
      const std::string& key = KeyText(i);
      bool ok = ValidWepKey(key, HexType(i)) || (i != transmit && key.empty());
      if (!ok) {
        dialogs_.MessageBox(strings_.Get(IDS_AP_INVALID_WEP_LENGTH), caption, kMbOk | kMbIconWarning);
        return false;
      }
    }
  }

  static constexpr int32_t kAuthOfPosition[] = {0, 1, 4};
  values_.authenType = auth >= 0 && auth <= 2 ? kAuthOfPosition[auth] : 0;
  int enc = Control(kIdcApsEncryption).selection;
  values_.encryption = enc >= 0 && enc < static_cast<int>(encryptionOfItem_.size()) ? encryptionOfItem_[enc] : 1;
  values_.wepKeyUse = transmit + 1;
  for (int i = 0; i < 4; ++i) {
    bool hex = HexType(i);
    values_.wepKeyType[i] = hex ? 0 : 1;
    const std::string& key = KeyText(i);
    if (hex) {
      values_.wepKey[i] = key;
    } else {
      // Two lower-case digits per character, also for characters below 0x10.
      values_.wepKey[i] = EncodeHex(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(key.data()), key.size()),
                                    false);
    }
  }
  values_.wpaPsk = Control(kIdcApsPsk).text;
  values_.rekeyInterval = ParseDecimal(Control(kIdcApsRekey).text);
  values_.radiusIp = AddressValue(Control(kIdcApsRadiusServer).text);
  values_.radiusPort = ParseDecimal(Control(kIdcApsRadiusPort).text);
  values_.radiusKey = Control(kIdcApsRadiusKey).text.substr(0, 64);
  return true;
}

}  // namespace vx
