// A profile's 802.1X values as the settings sheet edits them, and the checks made before they
// are stored. The numbers are the ones stored in the profile.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

enum : int32_t { kEapPeap = 0, kEapTls = 1, kEapTtls = 2, kEapMd5 = 3 };
enum : int32_t {
  kTunnelChap = 0,
  kTunnelEapMd5 = 1,
  kTunnelMsChap = 2,
  kTunnelMsChapV2 = 3,
  kTunnelPap = 4,
  kTunnelEapTls = 5,
  kTunnelGtc = 6,
};
enum : int32_t { kPasswordSoftToken = 0, kPasswordStatic = 1 };
enum : int32_t { kNameRuleExact = 0, kNameRuleDomain = 1 };

// Certificate hashes longer than this are cut when taken in.
inline constexpr size_t kMaxCertificateBytes = 150;

struct Dot1xSettings {
  int32_t authenProtocol = kEapPeap;
  int32_t tunnelProtocol = kTunnelMsChapV2;
  std::string id;
  std::string password;
  std::string tunnelId;
  std::string tunnelPassword;
  int32_t sessionResumption = 0;
  int32_t passwordMode = kPasswordStatic;
  bool useClientCert = false;
  std::vector<uint8_t> clientCert;  // SHA-1 hash of the client certificate
  bool useServerCert = false;
  std::vector<uint8_t> serverCert;  // hash of the required issuing CA; empty: any trusted CA
  std::string serverName;
  int32_t nameRule = kNameRuleExact;
  bool intermediateCert = false;
  bool operator==(const Dot1xSettings&) const = default;
};

// The method needs a client certificate whatever the check box says: TLS, and PEAP with EAP-TLS
// inside.
bool ClientCertificateRequired(const Dot1xSettings& s);
// The method checks a server certificate at all (MD5 does not).
inline bool UsesServerCertificate(int32_t method) { return method != kEapMd5; }
// With the domain rule: a dot that is neither the first nor the last character.
bool ValidDomainName(const std::string& name);

// The first failing check: the message (a string-table ID), where it belongs, and how it shows.
struct Dot1xProblem {
  enum class Page { Authentication, CaServer };
  uint32_t messageId = 0;
  Page page = Page::Authentication;
  bool errorIcon = false;  // error (stop) icon, else a plain box
  bool operator==(const Dot1xProblem&) const = default;
};

// The settings sheet's own check at its OK (stop icon, the page named).
std::optional<Dot1xProblem> CheckSheetValues(const Dot1xSettings& s);
// The authentication page's check of stored settings before the profile sheet saves
// (plain boxes but for the domain name).
std::optional<Dot1xProblem> Validate8021X(const Dot1xSettings& s);

}  // namespace vx
