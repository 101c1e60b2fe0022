// Handing a profile's 802.1X credentials to the supplicant library, by authentication method.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/supplicant.h"

namespace vx {

// Everything a method may need; each method takes its own subset.
struct Dot1xCredentials {
  std::string identity;               // outer identity; the user name for LEAP and MD5
  std::string password;               // LEAP and MD5
  CertificateHash caCertificate;      // empty for none
  CertificateHash clientCertificate;  // empty for none
  uint32_t tunnelProtocol = 0;        // PEAP and TTLS
  std::string tunnelIdentity;
  std::string tunnelPassword;
  std::string serverSettings;
  bool operator==(const Dot1xCredentials&) const = default;
};

// The method of a profile's "AuthenProtocol" (0 PEAP, 1 TLS, 2 TTLS, 3 MD5) in the library's
// credential numbers (kAcCred...); 0, which no method has, for anything else.
uint32_t MethodFromAuthenProtocol(uint32_t authenProtocol);

// The texts of `c` as `toAnsi` gives them (unchanged without it); nullopt when one of them has a
// character the code page lacks.
std::optional<Dot1xCredentials> CredentialsInAnsi(const Dot1xCredentials& c, const AnsiText& toAnsi);

// Configures the credentials of `method` (a kAcCred... number: LEAP, MD5, PEAP, PEAP with a
// GTC password, TLS or TTLS), their texts in the ANSI code page of `toAnsi`. Any other method,
// or a text the code page cannot hold (never a lossy stand-in), configures nothing, says so on
// stderr and returns false.
bool UtilConfigCredentials(SupplicantPort& port, uint32_t method, const Dot1xCredentials& credentials,
                           const AnsiText& toAnsi = {});

}  // namespace vx
