// Run-time binding to "AegisE5.dll". Without the library, or with an export missing, nothing
// is called and OpenGlobal reports false; every other call is then a no-op.
#include "win32/supplicant/aegis_library.h"

#include <windows.h>

#include <cstring>

#include "platform/trace.h"
#include "win32/runtime/system_library.h"

namespace vx {

using AcHandle = void*;

struct AegisSupplicant::Library {
  HMODULE module = nullptr;
  AcHandle(WINAPI* GlobalOpenContextA)(const char*) = nullptr;
  uint32_t(WINAPI* ContextType)(AcHandle) = nullptr;
  uint32_t(WINAPI* StatusNumber)(AcHandle) = nullptr;
  uint32_t(WINAPI* CredentialsNumber)(AcHandle) = nullptr;
  void(WINAPI* ContextRelease)(AcHandle) = nullptr;
  AcHandle(WINAPI* ContextCopyHandle)(AcHandle) = nullptr;
  AcHandle(WINAPI* IterateAdapters)(AcHandle) = nullptr;
  AcHandle(WINAPI* IterateAdaptersNext)(AcHandle) = nullptr;
  AcHandle(WINAPI* AdapterGetMacAddress)(AcHandle, uint8_t*) = nullptr;
  AcHandle(WINAPI* ContextConfigResumption)(AcHandle, uint32_t) = nullptr;
  AcHandle(WINAPI* AdapterAuthenticateStop)(AcHandle) = nullptr;
  AcHandle(WINAPI* ContextConfigWpa)(AcHandle, int32_t) = nullptr;
  AcHandle(WINAPI* AdapterSet8021xValues)(AcHandle, uint32_t, uint32_t, uint32_t, uint32_t) = nullptr;
  AcHandle(WINAPI* ConfigLeapCredentialsA)(AcHandle, const char*, const char*) = nullptr;
  AcHandle(WINAPI* ConfigMd5CredentialsA)(AcHandle, const char*, const char*) = nullptr;
  AcHandle(WINAPI* ConfigPeapCredentialsA)(AcHandle, const char*, const uint8_t*, const uint8_t*, uint32_t,
                                           const char*, const char*, const char*, uint32_t,
                                           uint32_t) = nullptr;
  AcHandle(WINAPI* ConfigTtlsCredentialsA)(AcHandle, const char*, const uint8_t*, const uint8_t*, uint32_t,
                                           const char*, const char*, const char*, uint32_t,
                                           uint32_t) = nullptr;
  AcHandle(WINAPI* ConfigTlsCredentialsA)(AcHandle, const char*, const uint8_t*, const uint8_t*, const char*,
                                          uint32_t, uint32_t) = nullptr;
  AcHandle(WINAPI* ContextConfigWpaEx)(AcHandle, uint32_t, const char*, const char*, const uint8_t*,
                                       uint32_t) = nullptr;
  AcHandle(WINAPI* AdapterAuthenticate)(AcHandle) = nullptr;
  AcHandle(WINAPI* AdapterQuery)(AcHandle) = nullptr;
  uint32_t(WINAPI* StatusFormatA)(AcHandle, char*, uint32_t) = nullptr;

  template <class F>
  bool Bind(const char* name, F& f) {
    FARPROC p = GetProcAddress(module, name);
    if (!p) {
      Trace("AegisE5: no export %s\n", name);
      return false;
    }
    f = reinterpret_cast<F>(reinterpret_cast<void*>(p));
    return true;
  }

  bool Load() {
    module = LoadSystemLibrary(L"AegisE5.dll");
    if (!module) return false;
    const bool all =
        Bind("AcGlobalOpenContextA", GlobalOpenContextA) && Bind("AcContextType", ContextType) &&
        Bind("AcStatusNumber", StatusNumber) && Bind("AcCredentialsNumber", CredentialsNumber) &&
        Bind("AcContextRelease", ContextRelease) && Bind("AcContextCopyHandle", ContextCopyHandle) &&
        Bind("AcIterateAdapters", IterateAdapters) && Bind("AcIterateAdaptersNext", IterateAdaptersNext) &&
        Bind("AcAdapterGetMacAddress", AdapterGetMacAddress) &&
        Bind("AcContextConfigResumption", ContextConfigResumption) &&
        Bind("AcAdapterAuthenticateStop", AdapterAuthenticateStop) &&
        Bind("AcContextConfigWpa", ContextConfigWpa) &&
        Bind("AcAdapterSet8021xValues", AdapterSet8021xValues) &&
        Bind("AcContextConfigLeapCredentialsA", ConfigLeapCredentialsA) &&
        Bind("AcContextConfigMd5CredentialsA", ConfigMd5CredentialsA) &&
        Bind("AcContextConfigPeapCredentialsA", ConfigPeapCredentialsA) &&
        Bind("AcContextConfigTTLSCredentialsA", ConfigTtlsCredentialsA) &&
        Bind("AcContextConfigTLSCredentialsA", ConfigTlsCredentialsA) &&
        Bind("AcContextConfigWpaEx", ContextConfigWpaEx) &&
        Bind("AcAdapterAuthenticate", AdapterAuthenticate) && Bind("AcAdapterQuery", AdapterQuery) &&
        Bind("AcStatusFormatA", StatusFormatA);
    if (!all) {
      FreeLibrary(module);
      module = nullptr;
    }
    return all;
  }

  void Release(AcHandle h) {
    if (h) ContextRelease(h);
  }

  // Releases a returned status, tracing it unless it is plain success.
  void Done(const char* call, AcHandle status) {
    if (!status) return;
    const uint32_t number = StatusNumber(status);
    if (number != kAcStatusSuccess) {
      char text[256] = {};
      StatusFormatA(status, text, sizeof text - 1);
      Trace("%s: status %u %s\n", call, number, text);
    }
    ContextRelease(status);
  }
};

namespace {

constexpr uint32_t kTypeAdapter = 1;
constexpr uint32_t kTypeIterator = 2;
constexpr uint32_t kTypeCredentialsRequest = 3;
constexpr uint32_t kTypeGlobal = 4;

// The library reads a certificate hash as 20 bytes: a shorter stored hash is padded with zeros
// so it never reads past it, a longer one gives its first 20.
class HashArg {
 public:
  explicit HashArg(const CertificateHash& hash) : present_(!hash.empty()) {
    if (present_) std::memcpy(bytes_, hash.data(), hash.size() < sizeof bytes_ ? hash.size() : sizeof bytes_);
  }
  const uint8_t* get() const { return present_ ? bytes_ : nullptr; }

 private:
  bool present_;
  uint8_t bytes_[kCertificateHashSize] = {};
};

}  // namespace

AegisSupplicant::AegisSupplicant() = default;

AegisSupplicant::~AegisSupplicant() {
  Release();
  if (lib_ && lib_->module) FreeLibrary(lib_->module);
}

bool AegisSupplicant::Loaded() const { return lib_ && lib_->module; }

bool AegisSupplicant::OpenGlobal(std::string_view familyKey) {
  // Looked for again at every opening until found: a driver package installed while the program
  // runs brings the library with it.
  if (!Loaded()) {
    lib_ = std::make_unique<Library>();
    lib_->Load();
  }
  if (!Loaded()) return false;
  if (global_) return true;
  const std::string key(familyKey);
  AcHandle h = lib_->GlobalOpenContextA(key.c_str());
  if (h && lib_->ContextType(h) == kTypeGlobal) {
    global_ = h;
    return true;
  }
  lib_->Release(h);
  return false;
}

bool AegisSupplicant::BindAdapter(const MacAddress& mac) {
  if (!global_) return false;
  lib_->Release(adapter_);
  adapter_ = nullptr;
  AcHandle iterator = lib_->IterateAdapters(global_);
  if (!iterator || lib_->ContextType(iterator) != kTypeIterator) {
    lib_->Release(iterator);
    return false;
  }
  for (;;) {
    // A status (no more adapters) or anything else that is not an adapter ends the iteration.
    AcHandle a = lib_->IterateAdaptersNext(iterator);
    if (!a) break;
    if (lib_->ContextType(a) != kTypeAdapter) {
      lib_->Release(a);
      break;
    }
    uint8_t address[6] = {};
    AcHandle status = lib_->AdapterGetMacAddress(a, address);
    const bool read = status && lib_->StatusNumber(status) == kAcStatusSuccess;
    lib_->Release(status);
    if (read && std::memcmp(address, mac.data(), sizeof address) == 0) {
      adapter_ = lib_->ContextCopyHandle(a);
      lib_->Release(a);
      break;
    }
    lib_->Release(a);
  }
  lib_->Release(iterator);
  return adapter_ != nullptr;
}

void AegisSupplicant::ConfigResumption(uint32_t choice) {
  if (adapter_) lib_->Done("AcContextConfigResumption", lib_->ContextConfigResumption(adapter_, choice));
}

void AegisSupplicant::AuthenticateStop() {
  if (adapter_) lib_->Done("AcAdapterAuthenticateStop", lib_->AdapterAuthenticateStop(adapter_));
}

void AegisSupplicant::ConfigWpa(bool wpaWith8021x) {
  if (adapter_) lib_->Done("AcContextConfigWpa", lib_->ContextConfigWpa(adapter_, wpaWith8021x ? 1 : 0));
}

void AegisSupplicant::Set8021xValues(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  if (adapter_) lib_->Done("AcAdapterSet8021xValues", lib_->AdapterSet8021xValues(adapter_, a, b, c, d));
}

void AegisSupplicant::ConfigLeap(const std::string& identity, const std::string& password) {
  if (adapter_)
    lib_->Done("AcContextConfigLeapCredentialsA",
               lib_->ConfigLeapCredentialsA(adapter_, identity.c_str(), password.c_str()));
}

void AegisSupplicant::ConfigMd5(const std::string& identity, const std::string& password) {
  if (adapter_)
    lib_->Done("AcContextConfigMd5CredentialsA",
               lib_->ConfigMd5CredentialsA(adapter_, identity.c_str(), password.c_str()));
}

void AegisSupplicant::ConfigPeap(const TunnelCredentials& c) {
  if (adapter_)
    lib_->Done("AcContextConfigPeapCredentialsA",
               lib_->ConfigPeapCredentialsA(adapter_, c.identity.c_str(), HashArg(c.caCertificate).get(),
                                            HashArg(c.clientCertificate).get(), c.tunnelProtocol,
                                            c.tunnelIdentity.c_str(), c.tunnelPassword.c_str(),
                                            c.serverSettings.c_str(), 1, 1));
}

void AegisSupplicant::ConfigTtls(const TunnelCredentials& c) {
  if (adapter_)
    lib_->Done("AcContextConfigTTLSCredentialsA",
               lib_->ConfigTtlsCredentialsA(adapter_, c.identity.c_str(), HashArg(c.caCertificate).get(),
                                            HashArg(c.clientCertificate).get(), c.tunnelProtocol,
                                            c.tunnelIdentity.c_str(), c.tunnelPassword.c_str(),
                                            c.serverSettings.c_str(), 1, 1));
}

void AegisSupplicant::ConfigTls(const std::string& identity, const CertificateHash& caCertificate,
                                const CertificateHash& clientCertificate, const std::string& serverSettings) {
  if (adapter_)
    lib_->Done("AcContextConfigTLSCredentialsA",
               lib_->ConfigTlsCredentialsA(adapter_, identity.c_str(), HashArg(caCertificate).get(),
                                           HashArg(clientCertificate).get(), serverSettings.c_str(), 0, 1));
}

void AegisSupplicant::ConfigWpaPassphrase(const std::string& passphrase, const std::string& ssid) {
  if (adapter_)
    lib_->Done("AcContextConfigWpaEx",
               lib_->ContextConfigWpaEx(adapter_, 1, passphrase.c_str(), ssid.c_str(), nullptr, 0));
}

void AegisSupplicant::ConfigWpaKey(const std::array<uint8_t, 32>& key, const std::string& ssid) {
  if (adapter_)
    lib_->Done("AcContextConfigWpaEx",
               lib_->ContextConfigWpaEx(adapter_, 1, nullptr, ssid.c_str(), key.data(),
                                        static_cast<uint32_t>(key.size())));
}

void AegisSupplicant::Authenticate() {
  if (adapter_) lib_->Done("AcAdapterAuthenticate", lib_->AdapterAuthenticate(adapter_));
}

SupplicantEvent AegisSupplicant::Query() {
  SupplicantEvent e;
  if (!adapter_) return e;
  AcHandle h = lib_->AdapterQuery(adapter_);
  if (!h) return e;
  if (lib_->ContextType(h) == kTypeCredentialsRequest) {
    e.kind = SupplicantEvent::CredentialsRequest;
    e.number = lib_->CredentialsNumber(h);
  } else {
    e.kind = SupplicantEvent::Status;
    e.number = lib_->StatusNumber(h);
  }
  lib_->Release(h);
  return e;
}

void AegisSupplicant::Release() {
  if (!Loaded()) return;
  lib_->Release(adapter_);
  lib_->Release(global_);
  adapter_ = nullptr;
  global_ = nullptr;
}

}  // namespace vx
