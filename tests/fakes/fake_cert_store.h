// Certificate stores held in memory; a store can be made unreadable.
#pragma once
#include <map>
#include <optional>
#include <vector>

#include "platform/cert_store.h"

namespace vx {

class FakeCertStore : public CertStorePort {
 public:
  std::optional<std::vector<CertificateDescription>> List(CertStoreName store) override {
    if (unreadable[store]) return std::nullopt;
    return stores[store];
  }
  std::optional<CertificateDescription> FindByHash(CertStoreName store, const std::vector<uint8_t>& hash) override {
    if (unreadable[store]) return std::nullopt;
    for (const auto& c : stores[store])
      if (c.hash == hash) return c;
    return std::nullopt;
  }

  std::map<CertStoreName, std::vector<CertificateDescription>> stores;
  std::map<CertStoreName, bool> unreadable;
};

}  // namespace vx
