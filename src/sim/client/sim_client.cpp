#include "sim/client/sim_client.h"

#include <cstdio>
#include <cstdlib>

#include "sim/protocol/host_protocol.h"

namespace vx::sim {

std::optional<std::vector<uint8_t>> SimConnection::Call(const std::vector<uint8_t>& request) {
  std::lock_guard lock(mutex_);
  // One retry on a fresh connection: the host may have been restarted since the last call.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!socket_.Valid()) socket_ = ConnectTcp(endpoint_.host, endpoint_.port, 2000);
    if (!socket_.Valid()) {
      error_ = "cannot reach the simulator at " + endpoint_.host + ":" + std::to_string(endpoint_.port);
      return std::nullopt;
    }
    std::vector<uint8_t> reply;
    uint32_t announced = 0;
    if (WriteFrame(socket_, request) &&
        ReadFrame(socket_, reply, announced, nullptr, 10000) == FrameResult::Ok) {
      ByteReader r(reply);
      if (r.U8() == kReplyOk && r.ok()) return std::vector<uint8_t>(reply.begin() + 1, reply.end());
      error_ = ReadString(r);
      return std::nullopt;
    }
    socket_.Close();
  }
  error_ = "the simulator closed the connection";
  return std::nullopt;
}

std::string SimConnection::Control(const std::string& json) {
  ByteWriter w;
  w.U8(kCmdControl);
  WriteString(w, json);
  auto reply = Call(w.Take());
  if (!reply) return {};
  ByteReader r(*reply);
  return ReadString(r);
}

// ---- device ------------------------------------------------------------------------------------

class RemoteDeviceHandle : public DeviceHandle {
 public:
  RemoteDeviceHandle(RemoteDevicePort& port, std::string path) : port_(port), path_(std::move(path)) {}
  bool Control(uint32_t ioctl, std::span<const uint8_t> in, std::span<uint8_t> out,
               uint32_t& returned) override {
    returned = 0;
    ByteWriter w;
    w.U8(kCmdDeviceControl);
    WriteString(w, path_);
    w.U32(ioctl);
    WriteBlob(w, in);
    WriteBlob(w, out);
    auto reply = port_.c_.Call(w.Take());
    if (!reply) return false;
    ByteReader r(*reply);
    bool ok = r.U8() != 0;
    uint32_t n = r.U32();
    port_.lastError_ = r.U32();
    std::vector<uint8_t> data = ReadBlob(r);
    if (!r.ok() || data.size() != out.size()) return false;
    // A failed request leaves the caller's buffer as it was.
    if (ok) std::copy(data.begin(), data.end(), out.begin());
    returned = ok ? n : 0;
    return ok;
  }

 private:
  RemoteDevicePort& port_;
  std::string path_;
};

std::unique_ptr<DeviceHandle> RemoteDevicePort::Open(const std::string& path) {
  ByteWriter w;
  w.U8(kCmdDeviceOpen);
  WriteString(w, path);
  auto reply = c_.Call(w.Take());
  if (!reply) {
    lastError_ = 2;
    return nullptr;
  }
  ByteReader r(*reply);
  bool ok = r.U8() != 0;
  lastError_ = r.U32();
  if (!r.ok() || !ok) return nullptr;
  return std::make_unique<RemoteDeviceHandle>(*this, path);
}

bool RemoteDeviceSetup::EnumerateNetDevices(std::vector<NetDevice>& devices) {
  devices.clear();
  auto reply = c_.Call({kCmdEnumerate});
  if (!reply) return false;
  ByteReader r(*reply);
  bool ok = r.U8() != 0;
  uint32_t count = r.U32();
  for (uint32_t i = 0; i < count && r.ok(); ++i) {
    NetDevice d;
    for (std::string* s :
         {&d.hardwareId, &d.driverKey, &d.friendlyName, &d.description, &d.location, &d.manufacturer})
      *s = ReadString(r);
    bool hasId = r.U8() != 0;
    std::string id = ReadString(r);
    if (hasId) d.netCfgInstanceId = id;
    if (r.ok()) devices.push_back(d);
  }
  return ok && r.ok();
}

bool RemoteIpInfo::GetAdapters(std::vector<AdapterIpInfo>& adapters) {
  adapters.clear();
  auto reply = c_.Call({kCmdIpInfo});
  if (!reply) return false;
  ByteReader r(*reply);
  bool ok = r.U8() != 0;
  uint32_t count = r.U32();
  for (uint32_t i = 0; i < count && r.ok(); ++i) {
    AdapterIpInfo a;
    for (std::string* s : {&a.adapterName, &a.address, &a.mask, &a.gateway, &a.dhcpServer})
      *s = ReadString(r);
    a.dhcpEnabled = r.U8() != 0;
    std::string mac = ReadString(r, 8);
    a.hardwareAddress.assign(mac.begin(), mac.end());
    if (r.ok()) adapters.push_back(a);
  }
  return ok && r.ok();
}

// ---- supplicant --------------------------------------------------------------------------------

RemoteSupplicant::Result RemoteSupplicant::Send(uint8_t call, const std::vector<uint8_t>& args) {
  std::vector<uint8_t> request = {kCmdSupplicant, call};
  request.insert(request.end(), args.begin(), args.end());
  Result result;
  auto reply = c_.Call(request);
  if (!reply) return result;
  ByteReader r(*reply);
  result.ok = r.U8() != 0;
  uint32_t kind = r.U32();
  result.event.number = r.U32();
  result.event.kind =
      kind <= SupplicantEvent::Status ? static_cast<SupplicantEvent::Kind>(kind) : SupplicantEvent::None;
  if (!r.ok()) return {};
  return result;
}

namespace {
std::vector<uint8_t> Strings(std::initializer_list<const std::string*> texts) {
  ByteWriter w;
  for (const std::string* t : texts) WriteString(w, *t);
  return w.Take();
}
std::vector<uint8_t> Tunnel(const TunnelCredentials& c) {
  ByteWriter w;
  WriteString(w, c.identity);
  WriteBlob(w, c.caCertificate);
  WriteBlob(w, c.clientCertificate);
  w.U32(c.tunnelProtocol);
  WriteString(w, c.tunnelIdentity);
  WriteString(w, c.tunnelPassword);
  WriteString(w, c.serverSettings);
  return w.Take();
}
}  // namespace

bool RemoteSupplicant::OpenGlobal(std::string_view familyKey) {
  std::string key(familyKey);
  return Send(kSupOpenGlobal, Strings({&key})).ok;
}
bool RemoteSupplicant::BindAdapter(const MacAddress& mac) {
  return Send(kSupBindAdapter, std::vector<uint8_t>(mac.begin(), mac.end())).ok;
}
void RemoteSupplicant::ConfigResumption(uint32_t choice) {
  Send(kSupConfigResumption, ByteWriter().U32(choice).Take());
}
void RemoteSupplicant::AuthenticateStop() { Send(kSupAuthenticateStop, {}); }
void RemoteSupplicant::ConfigWpa(bool on) { Send(kSupConfigWpa, {static_cast<uint8_t>(on ? 1 : 0)}); }
void RemoteSupplicant::Set8021xValues(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  Send(kSupSet8021xValues, ByteWriter().U32(a).U32(b).U32(c).U32(d).Take());
}
void RemoteSupplicant::ConfigLeap(const std::string& id, const std::string& pw) {
  Send(kSupConfigLeap, Strings({&id, &pw}));
}
void RemoteSupplicant::ConfigMd5(const std::string& id, const std::string& pw) {
  Send(kSupConfigMd5, Strings({&id, &pw}));
}
void RemoteSupplicant::ConfigPeap(const TunnelCredentials& c) { Send(kSupConfigPeap, Tunnel(c)); }
void RemoteSupplicant::ConfigTtls(const TunnelCredentials& c) { Send(kSupConfigTtls, Tunnel(c)); }
void RemoteSupplicant::ConfigTls(const std::string& id, const CertificateHash& ca,
                                 const CertificateHash& client, const std::string& server) {
  ByteWriter w;
  WriteString(w, id);
  WriteBlob(w, ca);
  WriteBlob(w, client);
  WriteString(w, server);
  Send(kSupConfigTls, w.Take());
}
void RemoteSupplicant::ConfigWpaPassphrase(const std::string& p, const std::string& ssid) {
  Send(kSupConfigWpaPassphrase, Strings({&p, &ssid}));
}
void RemoteSupplicant::ConfigWpaKey(const std::array<uint8_t, 32>& key, const std::string& ssid) {
  ByteWriter w;
  w.Bytes(key);
  WriteString(w, ssid);
  Send(kSupConfigWpaKey, w.Take());
}
void RemoteSupplicant::Authenticate() { Send(kSupAuthenticate, {}); }
SupplicantEvent RemoteSupplicant::Query() { return Send(kSupQuery, {}).event; }
void RemoteSupplicant::Release() { Send(kSupRelease, {}); }

// ---- certificates ------------------------------------------------------------------------------

RemoteCertStore::RemoteCertStore(SimConnection& c, DateFormatter formatDate)
    : c_(c), formatDate_(formatDate ? std::move(formatDate) : DateFormatter(IsoDate)) {}

std::string RemoteCertStore::IsoDate(int year, int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

std::optional<std::vector<CertificateDescription>> RemoteCertStore::List(CertStoreName store) {
  auto reply = c_.Call({kCmdCertificates, store == CertStoreName::My ? kStoreMy : kStoreRoot});
  if (!reply) return std::nullopt;
  ByteReader r(*reply);
  bool readable = r.U8() != 0;
  uint32_t count = r.U32();
  if (!r.ok() || !readable) return std::nullopt;
  std::vector<CertificateDescription> out;
  for (uint32_t i = 0; i < count && r.ok(); ++i) {
    CertificateDescription d;
    d.issuedTo = ReadString(r, 4096);
    d.issuedBy = ReadString(r, 4096);
    d.friendlyName = ReadString(r, 4096);
    int year = r.U16(), month = r.U8(), day = r.U8();
    d.hash = ReadBlob(r, 20);
    if (!r.ok()) break;
    if (d.hash.size() != 20 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    d.expiredOn = formatDate_(year, month, day);
    out.push_back(std::move(d));
  }
  // A reply cut short or with bytes left over is not trusted in part.
  if (!r.ok() || r.remaining()) return std::nullopt;
  return out;
}

std::optional<CertificateDescription> RemoteCertStore::FindByHash(CertStoreName store,
                                                                  const std::vector<uint8_t>& hash) {
  if (hash.empty()) return std::nullopt;
  auto list = List(store);
  if (!list) return std::nullopt;
  for (CertificateDescription& d : *list)
    if (d.hash == hash) return std::move(d);
  return std::nullopt;
}

}  // namespace vx::sim
