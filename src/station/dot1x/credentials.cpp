#include "station/dot1x/credentials.h"

#include <cstdio>

namespace vx {
namespace {

TunnelCredentials Tunnel(const Dot1xCredentials& c) {
  TunnelCredentials t;
  t.identity = c.identity;
  t.caCertificate = c.caCertificate;
  t.clientCertificate = c.clientCertificate;
  t.tunnelProtocol = c.tunnelProtocol;
  t.tunnelIdentity = c.tunnelIdentity;
  t.tunnelPassword = c.tunnelPassword;
  t.serverSettings = c.serverSettings;
  return t;
}

}  // namespace

uint32_t MethodFromAuthenProtocol(uint32_t authenProtocol) {
  switch (authenProtocol) {
    case 0:
      return kAcCredPeap;
    case 1:
      return kAcCredTls;
    case 2:
      return kAcCredTtls;
    case 3:
      return kAcCredMd5;
    default:
      return 0;
  }
}

std::optional<Dot1xCredentials> CredentialsInAnsi(const Dot1xCredentials& c, const AnsiText& toAnsi) {
  Dot1xCredentials out = c;
  if (!toAnsi) return out;
  for (std::string* text :
       {&out.identity, &out.password, &out.tunnelIdentity, &out.tunnelPassword, &out.serverSettings}) {
    auto ansi = toAnsi(*text);
    if (!ansi) return std::nullopt;
    *text = std::move(*ansi);
  }
  return out;
}

bool UtilConfigCredentials(SupplicantPort& port, uint32_t method, const Dot1xCredentials& utf8,
                           const AnsiText& toAnsi) {
  const std::optional<Dot1xCredentials> ansi = CredentialsInAnsi(utf8, toAnsi);
  if (!ansi) {
    std::fputs("UtilConfigCredentials: a credential is not in the ANSI code page\n", stderr);
    return false;
  }
  const Dot1xCredentials& c = *ansi;
  switch (method) {
    case kAcCredLeap:
      port.ConfigLeap(c.identity, c.password);
      return true;
    case kAcCredMd5:
      port.ConfigMd5(c.identity, c.password);
      return true;
    case kAcCredPeap:
    case kAcCredPeapGtc:  // PEAP whose inner password comes from a token; same credentials call
      port.ConfigPeap(Tunnel(c));
      return true;
    case kAcCredTtls:
      port.ConfigTtls(Tunnel(c));
      return true;
    case kAcCredTls:
      port.ConfigTls(c.identity, c.caCertificate, c.clientCertificate, c.serverSettings);
      return true;
    default:
      std::fputs("UtilConfigCredentials: unknown authenticate method\n", stderr);
      return false;
  }
}

}  // namespace vx
