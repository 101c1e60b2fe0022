#include "fakes/fake_supplicant.h"

namespace vx {
namespace {

std::string Tunnel(const char* name, const TunnelCredentials& c) {
  return std::string(name) + "(" + c.identity + "," + EncodeHex(c.caCertificate) + "," +
         EncodeHex(c.clientCertificate) + "," + std::to_string(c.tunnelProtocol) + "," + c.tunnelIdentity +
         "," + c.tunnelPassword + "," + c.serverSettings + ")";
}

}  // namespace

bool FakeSupplicant::OpenGlobal(std::string_view familyKey) {
  calls.push_back("OpenGlobal(" + std::string(familyKey) + ")");
  open = libraryPresent;
  return open;
}

bool FakeSupplicant::BindAdapter(const MacAddress& mac) {
  calls.push_back("BindAdapter(" + FormatMac(mac) + ")");
  bound = false;
  if (!open) return false;
  for (const MacAddress& a : adapters)
    if (a == mac) bound = true;
  return bound;
}

void FakeSupplicant::ConfigResumption(uint32_t choice) {
  calls.push_back("ConfigResumption(" + std::to_string(choice) + ")");
}
void FakeSupplicant::AuthenticateStop() { calls.push_back("AuthenticateStop()"); }
void FakeSupplicant::ConfigWpa(bool wpaWith8021x) {
  calls.push_back(std::string("ConfigWpa(") + (wpaWith8021x ? "true" : "false") + ")");
}
void FakeSupplicant::Set8021xValues(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  calls.push_back("Set8021xValues(" + std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," +
                  std::to_string(d) + ")");
}
void FakeSupplicant::ConfigLeap(const std::string& identity, const std::string& password) {
  calls.push_back("ConfigLeap(" + identity + "," + password + ")");
}
void FakeSupplicant::ConfigMd5(const std::string& identity, const std::string& password) {
  calls.push_back("ConfigMd5(" + identity + "," + password + ")");
}
void FakeSupplicant::ConfigPeap(const TunnelCredentials& c) {
  lastTunnel = c;
  calls.push_back(Tunnel("ConfigPeap", c));
}
void FakeSupplicant::ConfigTtls(const TunnelCredentials& c) {
  lastTunnel = c;
  calls.push_back(Tunnel("ConfigTtls", c));
}
void FakeSupplicant::ConfigTls(const std::string& identity, const CertificateHash& caCertificate,
                               const CertificateHash& clientCertificate, const std::string& serverSettings) {
  calls.push_back("ConfigTls(" + identity + "," + EncodeHex(caCertificate) + "," +
                  EncodeHex(clientCertificate) + "," + serverSettings + ")");
}
void FakeSupplicant::ConfigWpaPassphrase(const std::string& passphrase, const std::string& ssid) {
  lastSsid = ssid;
  calls.push_back("ConfigWpaPassphrase(" + passphrase + ")");
}
void FakeSupplicant::ConfigWpaKey(const std::array<uint8_t, 32>& key, const std::string& ssid) {
  lastSsid = ssid;
  calls.push_back("ConfigWpaKey(" + EncodeHex(key) + ")");
}
void FakeSupplicant::Authenticate() { calls.push_back("Authenticate()"); }

SupplicantEvent FakeSupplicant::Query() {
  calls.push_back("Query()");
  if (events.empty()) return {};
  SupplicantEvent e = events.front();
  events.pop_front();
  return e;
}

void FakeSupplicant::Release() {
  calls.push_back("Release()");
  open = false;
  bound = false;
}

}  // namespace vx
