#include "station/dot1x/dot1x_settings.h"

#include "resources/string_ids.h"

namespace vx {
namespace {

using Page = Dot1xProblem::Page;

// The checks both callers make, in their order; the two differ only in some messages.
struct Messages {
  uint32_t peapTlsIdentity;   // PEAP with EAP-TLS, no tunnel identity
  uint32_t serverNameEmpty;
  uint32_t invalidDomain;
  bool stopIcon;              // every box with the stop icon
};

std::optional<Dot1xProblem> Check(const Dot1xSettings& s, const Messages& m) {
  auto problem = [&](uint32_t id, Page page = Page::Authentication, bool error = false) {
    return Dot1xProblem{id, page, error || m.stopIcon};
  };
  const bool peap = s.authenProtocol == kEapPeap;
  if (s.id.empty()) return problem(IDS_IDENTITY_REQUIRED);
  if ((peap && s.tunnelProtocol == kTunnelMsChapV2) || s.authenProtocol == kEapTtls) {
    if (s.tunnelId.empty() || s.tunnelPassword.empty()) return problem(IDS_TUNNEL_ID_AND_PASSWORD_REQUIRED);
  }
  if (peap && s.tunnelProtocol == kTunnelEapTls && s.tunnelId.empty()) return problem(m.peapTlsIdentity);
  if (peap && s.tunnelProtocol == kTunnelGtc) {
    if (s.tunnelId.empty()) return problem(IDS_TUNNEL_ID_REQUIRED);
    if (s.passwordMode == kPasswordStatic && s.tunnelPassword.empty())
      return problem(IDS_TUNNEL_ID_AND_PASSWORD_REQUIRED);
  }
  if (s.authenProtocol == kEapMd5 && s.password.empty()) return problem(IDS_MD5_PASSWORD_REQUIRED);
  if ((s.useClientCert || ClientCertificateRequired(s)) && s.clientCert.empty()) return problem(IDS_SELECT_CLIENT_CERT);
  if (s.useServerCert && UsesServerCertificate(s.authenProtocol)) {
    if (s.serverName.empty()) return problem(m.serverNameEmpty, Page::CaServer);
    if (s.nameRule == kNameRuleDomain && !ValidDomainName(s.serverName))
      return problem(m.invalidDomain, Page::CaServer, true);
  }
  return std::nullopt;
}

}  // namespace

bool ClientCertificateRequired(const Dot1xSettings& s) {
  return s.authenProtocol == kEapTls || (s.authenProtocol == kEapPeap && s.tunnelProtocol == kTunnelEapTls);
}

bool ValidDomainName(const std::string& name) {
  auto dot = name.find('.', 1);
  return dot != std::string::npos && dot + 1 < name.size() && name.front() != '.' && name.back() != '.';
}

std::optional<Dot1xProblem> CheckSheetValues(const Dot1xSettings& s) {
  return Check(s, {IDS_TUNNEL_ID_REQUIRED, IDS_SERVER_ID_REQUIRED, IDS_INVALID_DOMAIN_NAME, true});
}

std::optional<Dot1xProblem> Validate8021X(const Dot1xSettings& s) {
  return Check(s, {IDS_IDENTITY_REQUIRED, IDS_IDENTITY_REQUIRED, IDS_8021X_INVALID_DOMAIN, false});
}

}  // namespace vx
