#include "station/dot1x/dot1x_sheet.h"

#include <algorithm>

#include "resources/string_ids.h"
#include "station/dot1x/certificates.h"

namespace vx {
namespace {

int SelectionOf(const DialogModel& m, int id) {
  auto it = m.Controls().find(id);
  return it == m.Controls().end() ? -1 : it->second.selection;
}
bool CheckedOf(const DialogModel& m, int id) {
  auto it = m.Controls().find(id);
  return it != m.Controls().end() && it->second.checked;
}
std::string TextOf(const DialogModel& m, int id) {
  auto it = m.Controls().find(id);
  return it == m.Controls().end() ? std::string() : it->second.text;
}
std::string Trim(const std::string& s) {
  auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  auto e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}
int IndexOf(const std::vector<int32_t>& list, int32_t value) {
  auto it = std::find(list.begin(), list.end(), value);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

std::vector<int32_t> TunnelsFor(int32_t method) {
  if (method == kEapPeap) return {kTunnelMsChapV2, kTunnelEapTls, kTunnelGtc};
  if (method == kEapTtls) return {kTunnelChap, kTunnelMsChap, kTunnelMsChapV2, kTunnelPap, kTunnelEapMd5};
  return {};
}

uint32_t TunnelText(int32_t tunnel, int32_t method) {
  switch (tunnel) {
    case kTunnelChap: return IDS_TUNNEL_CHAP;
    case kTunnelEapMd5: return IDS_TUNNEL_EAP_MD5;
    case kTunnelMsChap: return IDS_TUNNEL_MSCHAP;
    case kTunnelMsChapV2: return method == kEapPeap ? IDS_TUNNEL_EAP_MSCHAPV2 : IDS_TUNNEL_MSCHAPV2;
    case kTunnelPap: return IDS_TUNNEL_PAP;
    case kTunnelEapTls: return IDS_TUNNEL_EAP_TLS;
    default: return IDS_TUNNEL_GTC;
  }
}

}  // namespace

// ---- Select Certificate

CSelectCertificateDialog::CSelectCertificateDialog(const StringTable& strings, DialogPort& dialogs,
                                                   std::vector<CertificateDescription> certs,
                                                   std::optional<CertificateDescription> current)
    : strings_(strings), dialogs_(dialogs), certs_(std::move(certs)), current_(std::move(current)) {}

void CSelectCertificateDialog::OnInit() {
  ControlState& list = Control(kIdcCertificateList);
  list.columns.clear();
  for (uint32_t id : {IDS_CERT_ISSUED_TO, IDS_CERT_ISSUED_BY, IDS_CERT_EXPIRED_ON, IDS_CERT_FRIENDLY_NAME})
    list.columns.push_back({strings_.Get(id), 0});
  list.rows.clear();
  list.selection = -1;
  for (size_t i = 0; i < certs_.size(); ++i) {
    const CertificateDescription& c = certs_[i];
    list.rows.push_back({{c.issuedTo, c.issuedBy, c.expiredOn, c.friendlyName}, -1});
    if (current_ && *current_ == c && list.selection < 0) list.selection = static_cast<int>(i);
  }
}

bool CSelectCertificateDialog::OnOk() {
  int row = SelectionOf(*this, kIdcCertificateList);
  if (row < 0 || static_cast<size_t>(row) >= certs_.size()) return false;
  // A certificate without a hash cannot be named in the profile.
  if (certs_[static_cast<size_t>(row)].hash.empty()) {
    dialogs_.MessageBox(strings_.Get(IDS_MUST_SELECT_CERT), strings_.Get(IDS_SELECT_CERTIFICATE), kMbIconError);
    return false;
  }
  chosen_ = certs_[static_cast<size_t>(row)];
  return true;
}

// ---- Authentication page

void C8021xAuthPage::OnInit() {
  const StringTable& s = sheet_.Strings();
  const Dot1xSettings& v = sheet_.Values();

  methods_ = {kEapPeap, kEapTls, kEapTtls};
  if (!sheet_.Wpa()) methods_.push_back(kEapMd5);
  ControlState& method = Control(dauth::kMethod);
  method.items.clear();
  const uint32_t methodTexts[] = {IDS_EAP_PEAP, IDS_EAP_TLS, IDS_EAP_TTLS, IDS_EAP_MD5};
  for (int32_t m : methods_) method.items.push_back(s.Get(methodTexts[m]));
  method.selection = std::max(0, IndexOf(methods_, v.authenProtocol));

  ControlState& resume = Control(dauth::kResume);
  resume.items.clear();
  for (uint32_t id : {IDS_RESUME_DISABLED, IDS_RESUME_REAUTHENTICATE, IDS_RESUME_ROAMING, IDS_RESUME_SAME_SSID,
                      IDS_RESUME_ALWAYS})
    resume.items.push_back(s.Get(id));
  resume.selection = v.sessionResumption >= 0 && v.sessionResumption <= 4 ? v.sessionResumption : 0;

  const std::pair<int, uint32_t> captions[] = {
      {dauth::kUseClientCert, IDS_USE_CLIENT_CERT}, {dauth::kTunnelGroup, IDS_TUNNELED_AUTH},
      {dauth::kWindowsLogon, IDS_USE_WINDOWS_LOGON}, {dauth::kMore, IDS_MORE},
      {dauth::kIdLabel, IDS_IDENTITY},              {dauth::kPasswordLabel, IDS_PASSWORD},
      {dauth::kTunnelIdLabel, IDS_TUNNEL_ID_LABEL}, {dauth::kTunnelPasswordLabel, IDS_TUNNEL_PASSWORD_LABEL},
      {dauth::kProtocolLabel, IDS_PROTOCOL},         {dauth::kMethodLabel, IDS_AUTHENTICATION_TYPE},
      {dauth::kResumeLabel, IDS_SESSION_RESUMPTION}, {dauth::kPasswordMode, IDS_PASSWORD_MODE},
      {dauth::kSoftToken, IDS_SOFT_TOKEN},           {dauth::kStaticPassword, IDS_STATIC_PASSWORD},
  };
  for (const auto& [id, text] : captions) Control(id).text = s.Get(text);
  // Logging on with the Windows account is not offered by this utility.
  Control(dauth::kWindowsLogon).enabled = false;

  Control(dauth::kId).text = v.id;
  Control(dauth::kPassword).text = v.password;
  Control(dauth::kTunnelId).text = v.tunnelId;
  Control(dauth::kTunnelPassword).text = v.tunnelPassword;
  Control(dauth::kSoftToken).checked = v.passwordMode == kPasswordSoftToken;
  Control(dauth::kStaticPassword).checked = v.passwordMode != kPasswordSoftToken;
  Control(dauth::kUseClientCert).checked = v.useClientCert;

  storedClientHash_ = v.clientCert;
  clientCert_.reset();
  if (!v.clientCert.empty()) clientCert_ = sheet_.Certificates().FindByHash(CertStoreName::My, v.clientCert);

  FillTunnelList(v.tunnelProtocol);
  ShowCertificate();
  ApplyRules();
}

int32_t C8021xAuthPage::Method() const {
  int i = SelectionOf(*this, dauth::kMethod);
  return i >= 0 && static_cast<size_t>(i) < methods_.size() ? methods_[static_cast<size_t>(i)] : kEapPeap;
}

int32_t C8021xAuthPage::TunnelProtocol() const {
  int i = SelectionOf(*this, dauth::kProtocol);
  if (i >= 0 && static_cast<size_t>(i) < tunnels_.size()) return tunnels_[static_cast<size_t>(i)];
  return sheet_.Values().tunnelProtocol;
}

void C8021xAuthPage::FillTunnelList(int32_t selected) {
  int32_t method = Method();
  tunnels_ = TunnelsFor(method);
  ControlState& list = Control(dauth::kProtocol);
  list.items.clear();
  for (int32_t t : tunnels_) list.items.push_back(sheet_.Strings().Get(TunnelText(t, method)));
  list.selection = tunnels_.empty() ? -1 : std::max(0, IndexOf(tunnels_, selected));
}

bool C8021xAuthPage::ClientCertInUse() const {
  Dot1xSettings probe;
  probe.authenProtocol = Method();
  probe.tunnelProtocol = TunnelProtocol();
  if (probe.authenProtocol == kEapMd5) return false;
  return ClientCertificateRequired(probe) || CheckedOf(*this, dauth::kUseClientCert);
}

void C8021xAuthPage::ApplyRules() {
  const int32_t method = Method();
  const int32_t tunnel = TunnelProtocol();
  const bool md5 = method == kEapMd5;
  const bool tunnelled = method == kEapPeap || method == kEapTtls;
  Dot1xSettings probe;
  probe.authenProtocol = method;
  probe.tunnelProtocol = tunnel;
  const bool required = ClientCertificateRequired(probe);

  Control(dauth::kResumeLabel).visible = !md5;
  Control(dauth::kResume).visible = !md5;
  if (md5) Control(dauth::kResume).selection = 0;

  Control(dauth::kId).enabled = Control(dauth::kIdLabel).enabled = true;
  Control(dauth::kPassword).enabled = Control(dauth::kPasswordLabel).enabled = md5;

  for (int id : {dauth::kTunnelGroup, dauth::kProtocolLabel, dauth::kProtocol, dauth::kTunnelIdLabel,
                 dauth::kTunnelId, dauth::kTunnelPasswordLabel, dauth::kTunnelPassword})
    Control(id).enabled = tunnelled;
  if (method == kEapPeap && tunnel == kTunnelEapTls)
    Control(dauth::kTunnelPassword).enabled = Control(dauth::kTunnelPasswordLabel).enabled = false;

  const bool gtc = method == kEapPeap && tunnel == kTunnelGtc;
  for (int id : {dauth::kPasswordMode, dauth::kSoftToken, dauth::kStaticPassword}) Control(id).visible = gtc;

  ControlState& use = Control(dauth::kUseClientCert);
  if (required) use.checked = true;
  if (md5) use.checked = false;
  use.enabled = !md5 && !required;
  const bool inUse = ClientCertInUse();
  for (int id : dauth::kCertLines) Control(id).enabled = inUse;
  Control(dauth::kMore).enabled = inUse;

  sheet_.CaPage().ApplyRules();
}

void C8021xAuthPage::ShowCertificate() {
  auto lines = CertificateLines(sheet_.Strings(), clientCert_);
  for (size_t i = 0; i < 4; ++i) Control(dauth::kCertLines[i]).text = lines[i];
}

void C8021xAuthPage::ChooseCertificate() {
  auto certs = sheet_.Certificates().List(CertStoreName::My);
  if (!certs) {
    sheet_.Dialogs().MessageBox(sheet_.Strings().Get(IDS_CERT_STORE_UNREADABLE),
                                sheet_.Strings().Get(IDS_SELECT_CERTIFICATE), kMbIconError);
    return;
  }
  CSelectCertificateDialog dialog(sheet_.Strings(), sheet_.Dialogs(), std::move(*certs), clientCert_);
  if (sheet_.Dialogs().RunModal(dialog) != kIdOk || !dialog.Chosen()) return;
  clientCert_ = dialog.Chosen();
  storedClientHash_.clear();
  ShowCertificate();
}

void C8021xAuthPage::OnCommand(int id, UiEvent event) {
  if (id == dauth::kMethod && event == UiEvent::SelectionChanged) {
    FillTunnelList(TunnelProtocol());
    ApplyRules();
  } else if (id == dauth::kProtocol && event == UiEvent::SelectionChanged) {
    ApplyRules();
  } else if (id == dauth::kUseClientCert && event == UiEvent::Clicked) {
    ApplyRules();
  } else if (id == dauth::kMore && event == UiEvent::Clicked) {
    ChooseCertificate();
  }
}

bool C8021xAuthPage::OnOk() { return sheet_.Ok(); }

void C8021xAuthPage::Store(Dot1xSettings& v) const {
  v.authenProtocol = Method();
  v.tunnelProtocol = TunnelProtocol();
  v.id = TextOf(*this, dauth::kId);
  v.password = TextOf(*this, dauth::kPassword);
  v.tunnelId = TextOf(*this, dauth::kTunnelId);
  v.tunnelPassword = TextOf(*this, dauth::kTunnelPassword);
  v.sessionResumption = v.authenProtocol == kEapMd5 ? 0 : std::max(0, SelectionOf(*this, dauth::kResume));
  v.passwordMode = CheckedOf(*this, dauth::kSoftToken) ? kPasswordSoftToken : kPasswordStatic;
  v.useClientCert = ClientCertInUse();
  // A stored hash whose certificate has left the store is kept rather than silently lost.
  v.clientCert = clientCert_ ? KeptHash(clientCert_->hash) : storedClientHash_;
}

// ---- CA Server page

void C8021xCaServerPage::OnInit() {
  const StringTable& s = sheet_.Strings();
  const Dot1xSettings& v = sheet_.Values();
  const std::pair<int, uint32_t> captions[] = {
      {dca::kUseChain, IDS_USE_CERT_CHAIN},       {dca::kIssuerLabel, IDS_CERT_ISSUER},
      {dca::kIntermediate, IDS_ALLOW_INTERMEDIATE}, {dca::kServerNameLabel, IDS_SERVER_NAME},
      {dca::kRuleExact, IDS_NAME_MATCH_EXACTLY},  {dca::kRuleDomain, IDS_DOMAIN_MUST_END},
  };
  for (const auto& [id, text] : captions) Control(id).text = s.Get(text);

  ControlState& issuer = Control(dca::kIssuer);
  issuer.items = {s.Get(IDS_ANY_TRUSTED_CA)};
  hashes_ = {{}};
  // An unreadable store leaves only "any trusted CA" to choose.
  if (auto roots = sheet_.Certificates().List(CertStoreName::Root)) {
    for (const auto& c : *roots) {
      issuer.items.push_back(CertificateListName(c));
      hashes_.push_back(KeptHash(c.hash));
    }
  }
  issuer.selection = 0;
  if (!v.serverCert.empty())
    for (size_t i = 1; i < hashes_.size(); ++i)
      if (hashes_[i] == v.serverCert) {
        issuer.selection = static_cast<int>(i);
        break;
      }

  Control(dca::kUseChain).checked = v.useServerCert;
  Control(dca::kIntermediate).checked = v.intermediateCert;
  Control(dca::kServerName).text = v.serverName;
  Control(dca::kRuleExact).checked = v.nameRule != kNameRuleDomain;
  Control(dca::kRuleDomain).checked = v.nameRule == kNameRuleDomain;
  ApplyRules();
}

void C8021xCaServerPage::ApplyRules() {
  ControlState& chain = Control(dca::kUseChain);
  const bool allowed = UsesServerCertificate(sheet_.AuthPage().Method());
  if (!allowed) chain.checked = false;
  chain.enabled = allowed;
  for (int id : {dca::kIssuerLabel, dca::kIssuer, dca::kIntermediate, dca::kServerNameLabel, dca::kServerName,
                 dca::kRuleExact, dca::kRuleDomain})
    Control(id).enabled = chain.checked;
}

void C8021xCaServerPage::OnCommand(int id, UiEvent event) {
  if (id == dca::kUseChain && event == UiEvent::Clicked) ApplyRules();
}

bool C8021xCaServerPage::OnOk() { return sheet_.Ok(); }

void C8021xCaServerPage::Store(Dot1xSettings& v) const {
  v.useServerCert = CheckedOf(*this, dca::kUseChain) && UsesServerCertificate(v.authenProtocol);
  int i = SelectionOf(*this, dca::kIssuer);
  v.serverCert = i > 0 && static_cast<size_t>(i) < hashes_.size() ? hashes_[static_cast<size_t>(i)]
                                                                   : std::vector<uint8_t>{};
  v.serverName = Trim(TextOf(*this, dca::kServerName));
  v.nameRule = CheckedOf(*this, dca::kRuleDomain) ? kNameRuleDomain : kNameRuleExact;
  v.intermediateCert = CheckedOf(*this, dca::kIntermediate);
}

// ---- Sheet

C8021xSheet::C8021xSheet(const StringTable& strings, DialogPort& dialogs, CertStorePort& certs, Dot1xSettings values,
                         bool wpa)
    : strings_(strings), dialogs_(dialogs), certs_(certs), values_(std::move(values)), wpa_(wpa) {
  if (wpa_ && values_.authenProtocol == kEapMd5) values_.authenProtocol = kEapPeap;
}

void C8021xSheet::OnInit() {
  title = strings_.Get(IDS_8021X_SETTING);
  hideHelp = true;
  done_ = false;
  auth_.caption = strings_.Get(IDS_8021X_PAGE_AUTH);
  ca_.caption = strings_.Get(IDS_8021X_PAGE_CA);
  // The CA page's rules read the authentication page, so that one comes first.
  auth_.OnInit();
  ca_.OnInit();
}

bool C8021xSheet::Ok() {
  if (done_) return true;
  Dot1xSettings v = values_;
  auth_.Store(v);
  ca_.Store(v);
  if (auto problem = CheckSheetValues(v)) {
    dialogs_.MessageBox(strings_.Get(problem->messageId), strings_.Get(IDS_8021X_SETTING),
                        problem->errorIcon ? kMbIconError : kMbOk);
    RequestFrontPage(problem->page == Dot1xProblem::Page::CaServer ? static_cast<DialogModel*>(&ca_)
                                                                   : static_cast<DialogModel*>(&auth_));
    return false;
  }
  values_ = std::move(v);
  done_ = true;
  return true;
}

}  // namespace vx
