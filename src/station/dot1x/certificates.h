// Certificate texts for the 802.1X pages: the four described parts of a certificate as the
// pages show them, and the list entries of the stores.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/cert_store.h"
#include "platform/ui.h"

namespace vx {

// "Issued To : x", "Issued By : x", "Expired On : x", "Friendly Name : x"; with no certificate
// each line is the label with " : " alone.
std::array<std::string, 4> CertificateLines(const StringTable& strings,
                                            const std::optional<CertificateDescription>& cert);

// The issued-to name, or the friendly name when the certificate has no subject common name.
std::string CertificateListName(const CertificateDescription& cert);

// A stored hash cut to what the profile keeps.
std::vector<uint8_t> KeptHash(const std::vector<uint8_t>& hash);

}  // namespace vx
