// The certificate-store port over CryptoAPI: the current user's "MY" and "ROOT" system stores.
#pragma once
#include <windows.h>

#include <string>

#include "platform/cert_store.h"

namespace vx {

// A date in the user's short date format (GetDateFormatW, DATE_SHORTDATE), UTF-8; empty when the
// date cannot be formatted.
std::string FormatShortDate(const SYSTEMTIME& date);

class Win32CertStore : public CertStorePort {
 public:
  std::optional<std::vector<CertificateDescription>> List(CertStoreName store) override;
  std::optional<CertificateDescription> FindByHash(CertStoreName store, const std::vector<uint8_t>& hash) override;
};

}  // namespace vx
