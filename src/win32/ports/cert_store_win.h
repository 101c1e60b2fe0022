// The certificate-store port over CryptoAPI: the current user's "MY" and "ROOT" system stores.
#pragma once
#include "platform/cert_store.h"

namespace vx {

class Win32CertStore : public CertStorePort {
 public:
  std::optional<std::vector<CertificateDescription>> List(CertStoreName store) override;
  std::optional<CertificateDescription> FindByHash(CertStoreName store, const std::vector<uint8_t>& hash) override;
};

}  // namespace vx
