#include "station/profiles/auth_secu_page.h"

#include <algorithm>
#include <cctype>

#include "resources/string_ids.h"
#include "station/dot1x/dot1x_sheet.h"
#include "station/profiles/profile_store.h"
#include "station/profiles/wep_key_text.h"

namespace vx {
namespace {

bool AllHex(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

void Cut(std::string& s, size_t n) {
  if (s.size() > n) s.resize(n);
}

}  // namespace

bool OsOffersWpa2(int osKind) { return osKind == 7 || osKind == 8 || osKind == 10 || osKind == 11; }

int AuthIndexOfMode(int32_t mode, bool leap, int osKind) {
  const bool wpa2 = OsOffersWpa2(osKind);
  switch (mode) {
    case kAuthOpen: return leap ? 2 : 0;
    case kAuthShared: return 1;
    case kAuthWpaNone: return 2;
    case kAuthWpa: return 3;
    case kAuthWpaPsk: return 4;
    case kAuthWpa2: return wpa2 ? 5 : 3;
    case kAuthWpa2Psk: return wpa2 ? 6 : 4;
    default: return 0;
  }
}

int32_t ModeForNetworkType(int32_t mode, int networkType) {
  if (networkType == 0) {
    if (mode == kAuthWpaPsk) return kAuthWpaNone;
    if (mode == kAuthWpa) return kAuthOpen;
  } else if (mode == kAuthWpaNone) {
    return kAuthWpaPsk;
  }
  return mode;
}

CAuthSecuPage::CAuthSecuPage(const StringTable& strings, DialogPort& dialogs, CertStorePort& certs,
                             AuthSecuHooks hooks)
    : strings_(strings), dialogs_(dialogs), certs_(certs), hooks_(std::move(hooks)) {
  caption = strings_.Get(IDS_PAGE_AUTH_SECURITY);
}

// ---- fields

void CAuthSecuPage::Load(const StationProfile& p) {
  authMode_ = p.authenType >= 0 && p.authenType <= 7 ? p.authenType : int32_t{kAuthOpen};
  leap_ = p.leapEnabled != 0;
  // The second cipher entry is WEP or AES; Shared has WEP alone, which counts as the second.
  encIndex_ = (p.encryption == kEncWep || p.encryption == kEncAes) ? 1 : 0;
  if (authMode_ == kAuthShared) encIndex_ = 1;
  leapCipher_ = leap_ && p.encryption == kEncTkip ? 1 : 0;
  use8021x_ = p.use8021x != 0;
  dot1x_.authenProtocol = p.authenProtocol;
  dot1x_.tunnelProtocol = p.tunnelProtocol;
  dot1x_.id = p.id;
  dot1x_.password = p.password;
  dot1x_.tunnelId = p.tunnelId;
  dot1x_.tunnelPassword = p.tunnelPassword;
  dot1x_.sessionResumption = p.sessionResumption;
  dot1x_.passwordMode = p.passwordMode;
  dot1x_.useClientCert = p.useClientCert != 0;
  dot1x_.clientCert = p.clientCert;
  dot1x_.useServerCert = p.useServerCert != 0;
  dot1x_.serverCert = p.serverCert;
  dot1x_.serverName = p.serverName;
  dot1x_.nameRule = p.nameRule;
  dot1x_.intermediateCert = p.intermediateCert != 0;
  defaultKey_ = std::clamp(p.wepKeyUse, 0, 3);
  for (int n = 0; n < 4; ++n) {
    keyType_[n] = p.wepKeyType[n] == kWepKeyAscii ? kWepKeyAscii : kWepKeyHex;
    hex_[n].clear();
    ascii_[n].clear();
    if (keyType_[n] == kWepKeyAscii)
      ascii_[n] = p.wepKey[n];
    else
      hex_[n] = Lower(p.wepKey[n]);
    const size_t len = p.wepKey[n].size();
    keySize_[n] = (keyType_[n] == kWepKeyAscii ? len == 13 : len == 26) ? 1 : 0;
  }
  psk_ = p.wpaPsk;
  Cut(psk_, kMaxPsk);
  leapUser_ = p.leapUserName;
  leapPassword_ = p.leapPassword;
  if (initialised_) Push();
}

bool CAuthSecuPage::WpaFamily() const {
  int32_t m = AuthMode();
  return Infra() && (m == kAuthWpa || m == kAuthWpa2);
}

bool CAuthSecuPage::OpenOrShared() const {
  int32_t m = AuthMode();
  return m == kAuthOpen || m == kAuthShared;
}

bool CAuthSecuPage::WepKeysInUse() const {
  if (!OpenOrShared() || Leap()) return false;
  if (AuthMode() == kAuthOpen && encIndex_ != 1) return false;
  return !(use8021x_ && dot1x_.authenProtocol != kEapMd5);
}

void CAuthSecuPage::CopyTo(StationProfile& p) const {
  const int32_t mode = AuthMode();
  const bool leap = Leap();
  p.authenType = mode;
  p.leapEnabled = leap ? 1 : 0;
  if (leap) {
    p.encryption = leapTkip_ && leapCipher_ == 1 ? kEncTkip : kEncWep;
    p.use8021x = 0;
  } else {
    const bool wpaList = mode >= int32_t{kAuthWpa};
    p.encryption = wpaList ? (encIndex_ == 1 ? kEncAes : kEncTkip) : (encIndex_ == 1 ? kEncWep : kEncNone);
    p.use8021x = use8021x_ ? 1 : 0;
  }
  p.leapUserName = leapUser_;
  p.leapPassword = leapPassword_;
  p.wpaPsk = psk_;
  p.wepKeyUse = defaultKey_;
  for (int n = 0; n < 4; ++n) {
    p.wepKeyType[n] = keyType_[n];
    p.wepKey[n] = KeyText(n);
  }
  p.authenProtocol = dot1x_.authenProtocol;
  p.tunnelProtocol = dot1x_.tunnelProtocol;
  p.id = dot1x_.id;
  p.password = dot1x_.password;
  p.tunnelId = dot1x_.tunnelId;
  p.tunnelPassword = dot1x_.tunnelPassword;
  p.sessionResumption = dot1x_.sessionResumption;
  p.passwordMode = dot1x_.passwordMode;
  p.useClientCert = dot1x_.useClientCert ? 1 : 0;
  p.clientCert = dot1x_.clientCert;
  p.useServerCert = dot1x_.useServerCert ? 1 : 0;
  p.serverCert = dot1x_.serverCert;
  p.serverName = dot1x_.serverName;
  p.nameRule = dot1x_.nameRule;
  p.intermediateCert = dot1x_.intermediateCert ? 1 : 0;
}

// ---- lists

int CAuthSecuPage::AuthIndex() const {
  int index = AuthIndexOfMode(AuthMode(), Leap(), Os());
  return index < static_cast<int>(AuthItems().size()) ? index : 0;
}

std::vector<uint32_t> CAuthSecuPage::AuthItems() const {
  if (!Infra()) {
    std::vector<uint32_t> items = {IDS_AUTH_OPEN, IDS_AUTH_SHARED};
    if (Supplicant()) items.push_back(IDS_AUTH_WPA_NONE);
    return items;
  }
  std::vector<uint32_t> items = {IDS_AUTH_OPEN, IDS_AUTH_SHARED, IDS_AUTH_LEAP};
  if (Supplicant()) {
    items.insert(items.end(), {IDS_AUTH_WPA, IDS_AUTH_WPA_PSK});
    if (OsOffersWpa2(Os())) items.insert(items.end(), {IDS_AUTH_WPA2, IDS_AUTH_WPA2_PSK});
  }
  return items;
}

std::vector<uint32_t> CAuthSecuPage::EncItems() const {
  const int32_t mode = AuthMode();
  if (Leap()) return {IDS_CIPHER_WEP, IDS_CIPHER_TKIP};
  if (mode == kAuthOpen) return {IDS_CIPHER_NONE, IDS_CIPHER_WEP};
  if (mode == kAuthShared) return {IDS_CIPHER_WEP};
  std::vector<uint32_t> items = {IDS_CIPHER_TKIP};
  if (Supplicant()) items.push_back(IDS_CIPHER_AES);
  return items;
}

void CAuthSecuPage::FitToNetworkType() {
  authMode_ = ModeForNetworkType(authMode_, NetworkType());
  if (!Infra()) leap_ = false;
  // A mode the list no longer offers (no supplicant, no WPA2 here) falls back as the list does.
  int index = AuthIndexOfMode(authMode_, leap_, Os());
  if (index >= static_cast<int>(AuthItems().size())) SetAuthFromIndex(0);
  else SetAuthFromIndex(index);
}

void CAuthSecuPage::SetAuthFromIndex(int index) {
  if (!Infra()) {
    static constexpr int32_t adhoc[] = {kAuthOpen, kAuthShared, kAuthWpaNone};
    authMode_ = adhoc[std::clamp(index, 0, 2)];
    leap_ = false;
    return;
  }
  static constexpr int32_t infra[] = {kAuthOpen, kAuthShared, kAuthOpen, kAuthWpa, kAuthWpaPsk, kAuthWpa2, kAuthWpa2Psk};
  index = std::clamp(index, 0, 6);
  authMode_ = infra[index];
  leap_ = index == 2;
}

// ---- controls

void CAuthSecuPage::OnInit() {
  const std::pair<int, uint32_t> captions[] = {
      {asec::kAuthLabel, IDS_LABEL_AUTH_TYPE}, {asec::kEncLabel, IDS_LABEL_ENCRYPTION},
      {asec::kPskLabel, IDS_LABEL_WPA_PSK},    {asec::kWepGroup, IDS_WEP_KEY_GROUP},
      {asec::k8021xSetting, IDS_BTN_8021X_SETTING}, {asec::kLeapIdLabel, IDS_IDENTITY},
      {asec::kLeapPasswordLabel, IDS_PASSWORD}, {asec::kLeapWep, IDS_LEAP_WEP},
      {asec::kLeapTkip, IDS_LEAP_TKIP},
  };
  for (const auto& [id, text] : captions) Control(id).text = Text(text);
  for (int n = 0; n < 4; ++n) {
    Control(asec::kKeyDefault[n]).text = Text(IDS_KEY_1 + static_cast<uint32_t>(n));
    Control(asec::kKeyType[n]).items = {Text(IDS_KEY_HEX), Text(IDS_KEY_ASCII)};
    Control(asec::kKeySize[n]).items = {Text(IDS_KEY_64_BITS), Text(IDS_KEY_128_BITS)};
  }
  initialised_ = true;
  FitToNetworkType();
  Push();
}

void CAuthSecuPage::OnSetActive() {
  // The configuration page may have changed the network type.
  Pull();
  FitToNetworkType();
  Push();
}

bool CAuthSecuPage::OnKillActive() {
  Pull();
  return true;
}

void CAuthSecuPage::Pull() {
  if (!initialised_) return;
  auto sel = [&](int id) { return Control(id).selection; };
  // The combo holds the list of the network type it was last filled for.
  if (int index = sel(asec::kAuth); index >= 0 && pushedNetworkType_ == NetworkType()) SetAuthFromIndex(index);
  if (AuthMode() == kAuthShared) {
    encIndex_ = 1;
  } else if (int e = sel(asec::kEnc); e >= 0) {
    encIndex_ = e;
  }
  for (int n = 0; n < 4; ++n) {
    if (Control(asec::kKeyDefault[n]).checked) defaultKey_ = n;
    if (int t = sel(asec::kKeyType[n]); t >= 0) keyType_[n] = t == 1 ? kWepKeyAscii : kWepKeyHex;
    if (int s = sel(asec::kKeySize[n]); s >= 0) keySize_[n] = s == 1 ? 1 : 0;
    hex_[n] = Lower(Control(asec::kKeyHex[n]).text);
    ascii_[n] = Control(asec::kKeyAscii[n]).text;
  }
  psk_ = Control(asec::kPsk).text;
  Cut(psk_, kMaxPsk);
  leapUser_ = Control(asec::kLeapId).text;
  Cut(leapUser_, kMaxLeapText);
  leapPassword_ = Control(asec::kLeapPassword).text;
  Cut(leapPassword_, kMaxLeapText);
  leapCipher_ = Control(asec::kLeapTkip).checked ? 1 : 0;
}

void CAuthSecuPage::Push() {
  if (!initialised_) return;
  auto texts = [&](const std::vector<uint32_t>& ids) {
    std::vector<std::string> out;
    for (uint32_t id : ids) out.push_back(Text(id));
    return out;
  };
  pushedNetworkType_ = NetworkType();
  ControlState& auth = Control(asec::kAuth);
  auth.items = texts(AuthItems());
  auth.selection = AuthIndex();

  ControlState& enc = Control(asec::kEnc);
  enc.items = texts(EncItems());
  if (AuthMode() == kAuthShared && !Leap()) {
    encIndex_ = 1;
    enc.selection = 0;
  } else {
    if (encIndex_ < 0 || encIndex_ >= static_cast<int>(enc.items.size())) encIndex_ = 0;
    enc.selection = Leap() ? leapCipher_ : encIndex_;
  }

  Control(asec::kPsk).text = psk_;
  Control(asec::kLeapId).text = leapUser_;
  Control(asec::kLeapPassword).text = leapPassword_;
  Control(asec::kLeapWep).checked = leapCipher_ == 0;
  Control(asec::kLeapTkip).checked = leapCipher_ == 1;
  for (int n = 0; n < 4; ++n) {
    Control(asec::kKeyDefault[n]).checked = defaultKey_ == n;
    Control(asec::kKeyType[n]).selection = keyType_[n] == kWepKeyAscii ? 1 : 0;
    Control(asec::kKeySize[n]).selection = keySize_[n];
    Control(asec::kKeyHex[n]).text = hex_[n];
    Control(asec::kKeyAscii[n]).text = ascii_[n];
  }

  ControlState& use = Control(asec::kUse8021x);
  use.text = Text(use8021x_ ? IDS_DISABLE_8021X : IDS_USE_8021X);
  ControlState& settings = Control(asec::k8021xSetting);
  settings.enabled = Supplicant() && Infra() && !Leap() && ((OpenOrShared() && use8021x_) || WpaFamily());
  ApplyVisibility();
  ApplyEncryptionRules();
}

void CAuthSecuPage::ApplyVisibility() {
  const bool leap = Leap();
  for (int id : {asec::kEncLabel, asec::kEnc, asec::kUse8021x, asec::k8021xSetting, asec::kPskLabel, asec::kPsk,
                 asec::kWepGroup})
    Control(id).visible = !leap;
  for (int n = 0; n < 4; ++n) {
    Control(asec::kKeyDefault[n]).visible = !leap;
    Control(asec::kKeyType[n]).visible = !leap;
    Control(asec::kKeySize[n]).visible = !leap;
    Control(asec::kKeyHex[n]).visible = !leap && keyType_[n] == kWepKeyHex;
    Control(asec::kKeyAscii[n]).visible = !leap && keyType_[n] == kWepKeyAscii;
  }
  for (int id : {asec::kLeapIdLabel, asec::kLeapId, asec::kLeapPasswordLabel, asec::kLeapPassword})
    Control(id).visible = leap;
  Control(asec::kLeapWep).visible = Control(asec::kLeapTkip).visible = leap && leapTkip_;
  if (!leap) Control(asec::kUse8021x).visible = Supplicant() && Infra() && OpenOrShared();
}

void CAuthSecuPage::ApplyEncryptionRules() {
  const int32_t mode = AuthMode();
  bool psk = false;
  bool keys = false;
  if (mode == kAuthShared || (mode == kAuthOpen && encIndex_ == 1)) {
    keys = !(use8021x_ && dot1x_.authenProtocol != kEapMd5);
  } else if (mode == kAuthWpaPsk || mode == kAuthWpa2Psk || mode == kAuthWpaNone) {
    psk = true;
  }
  Control(asec::kPsk).enabled = Control(asec::kPskLabel).enabled = psk;
  for (int n = 0; n < 4; ++n) {
    for (int id : {asec::kKeyDefault[n], asec::kKeyType[n], asec::kKeySize[n], asec::kKeyHex[n], asec::kKeyAscii[n]})
      Control(id).enabled = keys;
    if (keys) CutKey(n);
  }
}

void CAuthSecuPage::CutKey(int n) {
  Cut(hex_[n], keySize_[n] == 1 ? 26 : 10);
  Cut(ascii_[n], keySize_[n] == 1 ? 13 : 5);
  Control(asec::kKeyHex[n]).text = hex_[n];
  Control(asec::kKeyAscii[n]).text = ascii_[n];
}

void CAuthSecuPage::OnCommand(int id, UiEvent event) {
  Pull();
  if (id == asec::kAuth && event == UiEvent::SelectionChanged) {
    const int32_t mode = AuthMode();
    if (Leap() || mode == kAuthWpaPsk || mode == kAuthWpa2Psk || mode == kAuthWpaNone) use8021x_ = false;
    else if (WpaFamily()) use8021x_ = true;
    if (mode == kAuthShared) encIndex_ = 1;
    if (encIndex_ >= static_cast<int>(EncItems().size())) encIndex_ = 0;
  } else if (id == asec::kUse8021x && event == UiEvent::Clicked) {
    use8021x_ = !use8021x_;
  } else if (id == asec::k8021xSetting && event == UiEvent::Clicked) {
    if (Control(asec::k8021xSetting).enabled) Open8021xSheet();
  }
  Push();
}

void CAuthSecuPage::Open8021xSheet() {
  C8021xSheet sheet(strings_, dialogs_, certs_, dot1x_, WpaFamily());
  if (dialogs_.RunModal(sheet) == kIdOk) dot1x_ = sheet.Values();
}

bool CAuthSecuPage::OnOk() { return hooks_.sheetOk ? hooks_.sheetOk() : true; }

// ---- validation

void CAuthSecuPage::Box(uint32_t id, uint32_t flags) { dialogs_.MessageBox(Text(id), Text(IDS_APP_TITLE), flags); }

bool CAuthSecuPage::Validate8021X() {
  if (auto problem = vx::Validate8021X(dot1x_)) {
    Box(problem->messageId, problem->errorIcon ? kMbIconError : kMbOk);
    return false;
  }
  return true;
}

bool CAuthSecuPage::CheckWepKey(int n, bool isDefault, bool connectSheet) {
  const std::string text = KeyText(n);
  if (!isDefault && text.empty()) return true;
  if (keyType_[n] == kWepKeyAscii) {
    bool ok = text.size() == 5 || text.size() == 13;
    if (ok && connectSheet && isDefault) ok = text.size() >= (keySize_[n] == 1 ? 13u : 5u);
    if (!ok) Box(IDS_WEP_ASCII_LENGTH, kMbOk);
    return ok;
  }
  // Digits that are not hex would be stored and then never sent as a key.
  bool ok = (text.size() == 10 || text.size() == 26) && AllHex(text);
  if (ok && connectSheet && isDefault) ok = text.size() >= (keySize_[n] == 1 ? 26u : 10u);
  if (!ok) Box(IDS_WEP_HEX_LENGTH, kMbOk);
  return ok;
}

bool CAuthSecuPage::ValidateSecurity(bool connectSheet) {
  Pull();
  const int32_t mode = AuthMode();
  const bool leap = Leap();
  if (use8021x_ && !leap && (OpenOrShared() || WpaFamily()) && !Validate8021X()) return false;
  if (mode == kAuthWpaPsk || mode == kAuthWpa2Psk || (mode == kAuthWpaNone && !Infra())) {
    bool bad = psk_.size() < 8 || psk_.size() > kMaxPsk || (psk_.size() == kMaxPsk && !AllHex(psk_));
    if (bad) {
      Box(IDS_INVALID_WPA_PSK, kMbOk);
      return false;
    }
  }
  if (use8021x_ && dot1x_.authenProtocol != kEapMd5 && OpenOrShared()) return true;
  if (!leap && (mode == kAuthShared || (mode == kAuthOpen && encIndex_ == 1))) {
    if (!CheckWepKey(defaultKey_, true, connectSheet)) return false;
    for (int n = 0; n < 4; ++n)
      if (n != defaultKey_ && !CheckWepKey(n, false, connectSheet)) return false;
  }
  return true;
}

}  // namespace vx
