// A supplicant library stand-in that records every call as a line of text, answers opening and
// binding as the test decides, and hands out queued events.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/supplicant.h"

namespace vx {

class FakeSupplicant : public SupplicantPort {
 public:
  bool OpenGlobal(std::string_view familyKey) override;
  bool BindAdapter(const MacAddress& mac) override;
  void ConfigResumption(uint32_t choice) override;
  void AuthenticateStop() override;
  void ConfigWpa(bool wpaWith8021x) override;
  void Set8021xValues(uint32_t a, uint32_t b, uint32_t c, uint32_t d) override;
  void ConfigLeap(const std::string& identity, const std::string& password) override;
  void ConfigMd5(const std::string& identity, const std::string& password) override;
  void ConfigPeap(const TunnelCredentials& c) override;
  void ConfigTtls(const TunnelCredentials& c) override;
  void ConfigTls(const std::string& identity, const CertificateHash& caCertificate,
                 const CertificateHash& clientCertificate, const std::string& serverSettings) override;
  void ConfigWpaPassphrase(const std::string& passphrase, const std::string& ssid) override;
  void ConfigWpaKey(const std::array<uint8_t, 32>& key, const std::string& ssid) override;
  void Authenticate() override;
  SupplicantEvent Query() override;
  void Release() override;

  // What the library would answer.
  bool libraryPresent = true;
  std::vector<MacAddress> adapters;  // BindAdapter succeeds for these
  std::deque<SupplicantEvent> events;  // Query pops from the front; None when empty

  // What it was asked, one line per call, e.g. "ConfigLeap(user,secret)"; certificate hashes in
  // hexadecimal.
  std::vector<std::string> calls;
  std::string lastSsid;  // the network name given with the last pass phrase or key
  bool open = false;
  bool bound = false;
  TunnelCredentials lastTunnel;
};

}  // namespace vx
