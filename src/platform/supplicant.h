// Supplicant port: what the station asks of the outside 802.1X/WPA library, call by call.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/hex.h"

namespace vx {

// Library status numbers the station acts on.
enum : uint32_t {
  kAcStatusSuccess = 30,
  kAcErrorNoMoreAdapters = 45,
  kAcIdentityRejected = 61,
  kAcPasswordRejected = 62,
};

// Credential kinds of a credentials request.
enum : uint32_t {
  kAcCredIdentity = 1,
  kAcCredTtls = 2,
  kAcCredTls = 3,
  kAcCredMd5 = 4,
  kAcCredLeap = 5,
  kAcCredPeap = 6,
  kAcCredPeapGtc = 7,
};

// A certificate is named by its SHA-1 hash: bytes, any of which may be 0.
using CertificateHash = std::vector<uint8_t>;
constexpr size_t kCertificateHashSize = 20;

struct TunnelCredentials {
  std::string identity;
  CertificateHash caCertificate;      // empty for none
  CertificateHash clientCertificate;  // empty for none
  uint32_t tunnelProtocol = 0;
  std::string tunnelIdentity;
  std::string tunnelPassword;
  std::string serverSettings;
};

// Text for the library's ANSI functions: `utf8` in the system's ANSI code page, nullopt when a
// character has no exact form there.
using AnsiText = std::function<std::optional<std::string>(std::string_view utf8)>;

struct SupplicantEvent {
  enum Kind { None, CredentialsRequest, Status } kind = None;
  uint32_t number = 0;  // credential kind or status number
};

class SupplicantPort {
 public:
  virtual ~SupplicantPort() = default;
  // Opens the global context for the chip family; false when the library is absent.
  virtual bool OpenGlobal(std::string_view familyKey) = 0;
  // Iterates the library's adapters and keeps the one with this MAC address.
  virtual bool BindAdapter(const MacAddress& mac) = 0;
  virtual void ConfigResumption(uint32_t choice) = 0;  // 1..5
  virtual void AuthenticateStop() = 0;
  virtual void ConfigWpa(bool wpaWith8021x) = 0;
  virtual void Set8021xValues(uint32_t a, uint32_t b, uint32_t c, uint32_t d) = 0;
  virtual void ConfigLeap(const std::string& identity, const std::string& password) = 0;
  virtual void ConfigMd5(const std::string& identity, const std::string& password) = 0;
  virtual void ConfigPeap(const TunnelCredentials& c) = 0;
  virtual void ConfigTtls(const TunnelCredentials& c) = 0;
  virtual void ConfigTls(const std::string& identity, const CertificateHash& caCertificate,
                         const CertificateHash& clientCertificate, const std::string& serverSettings) = 0;
  // The library derives the key from the pass phrase and the network name (its raw bytes).
  virtual void ConfigWpaPassphrase(const std::string& passphrase, const std::string& ssid) = 0;
  // A key given as 64 hex digits; the network name tells the library which network it is for.
  virtual void ConfigWpaKey(const std::array<uint8_t, 32>& key, const std::string& ssid) = 0;
  virtual void Authenticate() = 0;
  virtual SupplicantEvent Query() = 0;
  // Releases the adapter and global contexts.
  virtual void Release() = 0;
};

}  // namespace vx
