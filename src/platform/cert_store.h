// Certificate stores port: the system's personal ("MY") and trusted root ("ROOT") stores, read
// only. A certificate is named by its SHA-1 hash.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

enum class CertStoreName { My, Root };

// What the pages show of one certificate. Texts are UTF-8; a part the certificate lacks is empty.
struct CertificateDescription {
  std::string issuedTo;      // common name (2.5.4.3) of the subject
  std::string issuedBy;      // common name of the issuer
  std::string expiredOn;     // not-after, local time, the user's short date
  std::string friendlyName;  // friendly-name property
  std::vector<uint8_t> hash;  // SHA-1 hash property
  bool operator==(const CertificateDescription&) const = default;
};

class CertStorePort {
 public:
  virtual ~CertStorePort() = default;
  // Every certificate of the store in store order; nullopt when the store cannot be opened.
  virtual std::optional<std::vector<CertificateDescription>> List(CertStoreName store) = 0;
  // The certificate whose SHA-1 hash is `hash`; nullopt when absent or the store is unreadable.
  virtual std::optional<CertificateDescription> FindByHash(CertStoreName store, const std::vector<uint8_t>& hash) = 0;
};

}  // namespace vx
