// The interface we expect of the outside 802.1X/WPA library "AegisE5.dll". It is loaded at run
// time, so a machine without it still runs, with WPA and 802.1X unavailable.
//
// Exports, undecorated names, __stdcall, ANSI text (NUL-terminated; a null pointer stands for
// "none"):
//
//   Every call returns an opaque context handle (AcHandle) or null; each non-null handle is
//   released with AcContextRelease. A returned handle is the object asked for (adapter,
//   iterator, credentials request, global context) or a status context whose number
//   AcStatusNumber reads.
//
//   AcHandle AcGlobalOpenContextA(const char* familyKey);              type 4 on success
//   uint32_t AcContextType(AcHandle h);                                 1 adapter, 2 iterator,
//                                                                       3 credentials request, 4 global
//   uint32_t AcStatusNumber(AcHandle h);                                30 success, 45 no more adapters,
//                                                                       61/62 identity/password rejected
//   uint32_t AcCredentialsNumber(AcHandle request);                     1..7, the kAcCred... kinds
//   void     AcContextRelease(AcHandle h);
//   AcHandle AcContextCopyHandle(AcHandle h);                           a second reference to h
//   AcHandle AcIterateAdapters(AcHandle global);                        type 2
//   AcHandle AcIterateAdaptersNext(AcHandle iterator);                  type 1, else none left
//   AcHandle AcAdapterGetMacAddress(AcHandle adapter, uint8_t mac[6]);  status
//   AcHandle AcContextConfigResumption(AcHandle adapter, uint32_t choice);          1..5
//   AcHandle AcAdapterAuthenticateStop(AcHandle adapter);
//   AcHandle AcContextConfigWpa(AcHandle adapter, int32_t wpaWith8021x);
//   AcHandle AcAdapterSet8021xValues(AcHandle adapter, uint32_t, uint32_t, uint32_t, uint32_t);
//   AcHandle AcContextConfigLeapCredentialsA(AcHandle adapter, const char* identity, const char* password);
//   AcHandle AcContextConfigMd5CredentialsA(AcHandle adapter, const char* identity, const char* password);
//   AcHandle AcContextConfigPeapCredentialsA(AcHandle adapter, const char* identity,
//                const uint8_t* caHash, const uint8_t* clientHash, uint32_t tunnelProtocol,
//                const char* tunnelIdentity, const char* tunnelPassword, const char* serverSettings,
//                uint32_t flagA, uint32_t flagB);                       called with 1, 1
//   AcHandle AcContextConfigTTLSCredentialsA(...same as PEAP...);       called with 1, 1
//   AcHandle AcContextConfigTLSCredentialsA(AcHandle adapter, const char* identity,
//                const uint8_t* caHash, const uint8_t* clientHash, const char* serverSettings,
//                uint32_t flagA, uint32_t flagB);                       called with 0, 1
//   AcHandle AcContextConfigWpaEx(AcHandle adapter, uint32_t enable, const char* passphrase,
//                const char* ssid, const uint8_t* key, uint32_t keyLength);
//                                                                       a pass phrase, or a 32-byte key
// A certificate is passed as its 20-byte SHA-1 hash (null for none), never as text: a hash may
// hold zero bytes.
//   AcHandle AcAdapterAuthenticate(AcHandle adapter);
//   AcHandle AcAdapterQuery(AcHandle adapter);                          type 3 request, else status
//   uint32_t AcStatusFormatA(AcHandle status, char* text, uint32_t size);   diagnostics only
//
// A missing export makes the whole library count as absent.
#pragma once
#include <memory>

#include "platform/supplicant.h"

namespace vx {

class AegisSupplicant : public SupplicantPort {
 public:
  AegisSupplicant();
  ~AegisSupplicant() override;
  AegisSupplicant(const AegisSupplicant&) = delete;
  AegisSupplicant& operator=(const AegisSupplicant&) = delete;

  // Whether "AegisE5.dll" was found with every export in the system folder; OpenGlobal looks for
  // it whenever it is not loaded yet.
  bool Loaded() const;

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

  struct Library;

 private:
  std::unique_ptr<Library> lib_;
  void* global_ = nullptr;
  void* adapter_ = nullptr;
};

}  // namespace vx
