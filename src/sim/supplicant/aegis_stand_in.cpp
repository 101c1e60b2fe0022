// TEST FIXTURE, never shipped: a stand-in for the supplicant library "AegisE5.dll" of the driver
// package, installed into a test prefix's system folder. It has the library's exports in the
// calling convention the station utility binds (src/win32/supplicant/aegis_library.cpp) and
// relays each call to wlansim's supplicant, at the port the miniport stand-in's service key
// names (HKLM\System\CurrentControlSet\Services\VxSimNic\Parameters, "Port").
//
// Contexts are heap records: the global context, adapter iterators, adapters, credential
// requests and statuses, each released by AcContextRelease.
#include <windows.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/supplicant.h"
#include "sim/client/installed_port.h"
#include "sim/client/sim_client.h"

namespace {

enum : uint32_t {
  kTypeStatus = 0,
  kTypeAdapter = 1,
  kTypeIterator = 2,
  kTypeCredentialsRequest = 3,
  kTypeGlobal = 4
};

struct Context {
  uint32_t type = kTypeStatus;
  uint32_t number = vx::kAcStatusSuccess;  // a status's or a credential request's number
  vx::MacAddress mac{};                    // an adapter's
  std::vector<vx::MacAddress> adapters;    // an iterator's, and its next position
  size_t next = 0;
};

std::mutex lock;
std::unique_ptr<vx::sim::SimConnection> connection;
std::unique_ptr<vx::sim::RemoteSupplicant> supplicant;

// The relay, made on first use; null when the simulated platform is not installed.
vx::sim::RemoteSupplicant* Relay() {
  if (supplicant) return supplicant.get();
  auto port = vx::sim::InstalledSimPort();
  if (!port) return nullptr;
  connection = std::make_unique<vx::sim::SimConnection>(vx::sim::SimEndpoint{"127.0.0.1", *port});
  supplicant = std::make_unique<vx::sim::RemoteSupplicant>(*connection);
  return supplicant.get();
}

Context* Status(uint32_t number) {
  auto* c = new Context;
  c->number = number;
  return c;
}
Context* Done() { return Status(vx::kAcStatusSuccess); }
bool IsAdapter(void* h) { return h && static_cast<Context*>(h)->type == kTypeAdapter; }

// The adapters that are plugged in, by their MAC addresses, as wlansim's state lists them.
std::vector<vx::MacAddress> PluggedAdapters() {
  std::vector<vx::MacAddress> found;
  for (int i = 0; i < 8; ++i) {
    std::string state = connection->Control(R"({"cmd":"state","adapter":)" + std::to_string(i) + "}");
    if (state.find("\"ok\":true") == std::string::npos) break;
    const std::string tag = "\"mac\":\"";
    auto at = state.find(tag);
    if (at == std::string::npos || state.find("\"plugged\":true") == std::string::npos) continue;
    if (auto mac = vx::ParseMac(state.substr(at + tag.size(), 17))) found.push_back(*mac);
  }
  return found;
}

vx::CertificateHash Hash(const uint8_t* bytes) {
  return bytes ? vx::CertificateHash(bytes, bytes + vx::kCertificateHashSize) : vx::CertificateHash{};
}
std::string Text(const char* text) { return text ? text : ""; }

vx::TunnelCredentials Tunnel(const char* identity, const uint8_t* ca, const uint8_t* client,
                             uint32_t protocol, const char* tunnelIdentity, const char* tunnelPassword,
                             const char* server) {
  vx::TunnelCredentials t;
  t.identity = Text(identity);
  t.caCertificate = Hash(ca);
  t.clientCertificate = Hash(client);
  t.tunnelProtocol = protocol;
  t.tunnelIdentity = Text(tunnelIdentity);
  t.tunnelPassword = Text(tunnelPassword);
  t.serverSettings = Text(server);
  return t;
}

}  // namespace

extern "C" {

void* WINAPI AcGlobalOpenContextA(const char* familyKey) {
  std::lock_guard guard(lock);
  auto* relay = Relay();
  if (!relay || !familyKey || !relay->OpenGlobal(familyKey)) return nullptr;
  auto* c = new Context;
  c->type = kTypeGlobal;
  return c;
}

uint32_t WINAPI AcContextType(void* h) { return h ? static_cast<Context*>(h)->type : kTypeStatus; }
uint32_t WINAPI AcStatusNumber(void* h) { return h ? static_cast<Context*>(h)->number : 0; }
uint32_t WINAPI AcCredentialsNumber(void* h) { return h ? static_cast<Context*>(h)->number : 0; }

void WINAPI AcContextRelease(void* h) {
  std::lock_guard guard(lock);
  auto* c = static_cast<Context*>(h);
  if (c && c->type == kTypeGlobal && supplicant) supplicant->Release();
  delete c;
}

// A copy of an adapter is the adapter the caller keeps: the supplicant is bound to it.
void* WINAPI AcContextCopyHandle(void* h) {
  std::lock_guard guard(lock);
  if (!h) return nullptr;
  auto* c = new Context(*static_cast<Context*>(h));
  if (c->type == kTypeAdapter && supplicant) supplicant->BindAdapter(c->mac);
  return c;
}

void* WINAPI AcIterateAdapters(void* global) {
  std::lock_guard guard(lock);
  if (!global || static_cast<Context*>(global)->type != kTypeGlobal || !connection) return nullptr;
  auto* c = new Context;
  c->type = kTypeIterator;
  c->adapters = PluggedAdapters();
  return c;
}

void* WINAPI AcIterateAdaptersNext(void* iterator) {
  auto* it = static_cast<Context*>(iterator);
  if (!it || it->type != kTypeIterator) return nullptr;
  if (it->next >= it->adapters.size()) return Status(vx::kAcErrorNoMoreAdapters);
  auto* c = new Context;
  c->type = kTypeAdapter;
  c->mac = it->adapters[it->next++];
  return c;
}

void* WINAPI AcAdapterGetMacAddress(void* adapter, uint8_t* address) {
  if (!IsAdapter(adapter) || !address) return Status(0);
  std::memcpy(address, static_cast<Context*>(adapter)->mac.data(), 6);
  return Done();
}

// The configuration calls: relayed for an adapter context, a success status returned.
#define VX_RELAY(call)                                      \
  std::lock_guard guard(lock);                              \
  if (!IsAdapter(adapter) || !supplicant) return Status(0); \
  supplicant->call;                                         \
  return Done()

void* WINAPI AcContextConfigResumption(void* adapter, uint32_t choice) { VX_RELAY(ConfigResumption(choice)); }
void* WINAPI AcAdapterAuthenticateStop(void* adapter) { VX_RELAY(AuthenticateStop()); }
void* WINAPI AcContextConfigWpa(void* adapter, int32_t on) { VX_RELAY(ConfigWpa(on != 0)); }
void* WINAPI AcAdapterSet8021xValues(void* adapter, uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  VX_RELAY(Set8021xValues(a, b, c, d));
}
void* WINAPI AcContextConfigLeapCredentialsA(void* adapter, const char* identity, const char* password) {
  VX_RELAY(ConfigLeap(Text(identity), Text(password)));
}
void* WINAPI AcContextConfigMd5CredentialsA(void* adapter, const char* identity, const char* password) {
  VX_RELAY(ConfigMd5(Text(identity), Text(password)));
}
void* WINAPI AcContextConfigPeapCredentialsA(void* adapter, const char* identity, const uint8_t* ca,
                                             const uint8_t* client, uint32_t protocol,
                                             const char* tunnelIdentity, const char* tunnelPassword,
                                             const char* server, uint32_t, uint32_t) {
  VX_RELAY(ConfigPeap(Tunnel(identity, ca, client, protocol, tunnelIdentity, tunnelPassword, server)));
}
void* WINAPI AcContextConfigTTLSCredentialsA(void* adapter, const char* identity, const uint8_t* ca,
                                             const uint8_t* client, uint32_t protocol,
                                             const char* tunnelIdentity, const char* tunnelPassword,
                                             const char* server, uint32_t, uint32_t) {
  VX_RELAY(ConfigTtls(Tunnel(identity, ca, client, protocol, tunnelIdentity, tunnelPassword, server)));
}
void* WINAPI AcContextConfigTLSCredentialsA(void* adapter, const char* identity, const uint8_t* ca,
                                            const uint8_t* client, const char* server, uint32_t, uint32_t) {
  VX_RELAY(ConfigTls(Text(identity), Hash(ca), Hash(client), Text(server)));
}
void* WINAPI AcContextConfigWpaEx(void* adapter, uint32_t, const char* passphrase, const char* ssid,
                                  const uint8_t* key, uint32_t keyLength) {
  std::lock_guard guard(lock);
  if (!IsAdapter(adapter) || !supplicant) return Status(0);
  if (passphrase) {
    supplicant->ConfigWpaPassphrase(passphrase, Text(ssid));
  } else if (key && keyLength == 32) {
    std::array<uint8_t, 32> bytes;
    std::memcpy(bytes.data(), key, bytes.size());
    supplicant->ConfigWpaKey(bytes, Text(ssid));
  } else {
    return Status(0);
  }
  return Done();
}
void* WINAPI AcAdapterAuthenticate(void* adapter) { VX_RELAY(Authenticate()); }

// What the supplicant has to say: a credentials request, a status, or nothing (null).
void* WINAPI AcAdapterQuery(void* adapter) {
  std::lock_guard guard(lock);
  if (!IsAdapter(adapter) || !supplicant) return nullptr;
  vx::SupplicantEvent e = supplicant->Query();
  if (e.kind == vx::SupplicantEvent::None) return nullptr;
  auto* c = Status(e.number);
  if (e.kind == vx::SupplicantEvent::CredentialsRequest) c->type = kTypeCredentialsRequest;
  return c;
}

uint32_t WINAPI AcStatusFormatA(void* status, char* text, uint32_t size) {
  if (!text || size == 0) return 0;
  std::string t = "status " + std::to_string(AcStatusNumber(status));
  const size_t n = t.size() < size - 1 ? t.size() : size - 1;
  std::memcpy(text, t.data(), n);
  text[n] = '\0';
  return static_cast<uint32_t>(n);
}

}  // extern "C"
