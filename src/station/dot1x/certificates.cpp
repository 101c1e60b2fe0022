#include "station/dot1x/certificates.h"

#include "resources/string_ids.h"
#include "station/dot1x/dot1x_settings.h"

namespace vx {

std::array<std::string, 4> CertificateLines(const StringTable& strings,
                                            const std::optional<CertificateDescription>& cert) {
  const uint32_t labels[4] = {IDS_CERT_ISSUED_TO, IDS_CERT_ISSUED_BY, IDS_CERT_EXPIRED_ON, IDS_CERT_FRIENDLY_NAME};
  std::array<std::string, 4> lines;
  for (size_t i = 0; i < 4; ++i) {
    lines[i] = strings.Get(labels[i]) + " : ";
    if (!cert) continue;
    const std::string* parts[4] = {&cert->issuedTo, &cert->issuedBy, &cert->expiredOn, &cert->friendlyName};
    lines[i] += *parts[i];
  }
  return lines;
}

std::string CertificateListName(const CertificateDescription& cert) {
  return cert.issuedTo.empty() ? cert.friendlyName : cert.issuedTo;
}

std::vector<uint8_t> KeptHash(const std::vector<uint8_t>& hash) {
  if (hash.size() <= kMaxCertificateBytes) return hash;
  return {hash.begin(), hash.begin() + static_cast<std::ptrdiff_t>(kMaxCertificateBytes)};
}

}  // namespace vx
