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
    case 0: return kAcCredPeap;
    case 1: return kAcCredTls;
    case 2: return kAcCredTtls;
    case 3: return kAcCredMd5;
    default: return 0;
  }
}

bool UtilConfigCredentials(SupplicantPort& port, uint32_t method, const Dot1xCredentials& c) {
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
