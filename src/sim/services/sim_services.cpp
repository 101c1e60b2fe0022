#include "sim/services/sim_services.h"

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace vx::sim {

// ---- supplicant --------------------------------------------------------------------------------

SimSupplicant::SimSupplicant(std::vector<VirtualAdapter*> adapters, bool libraryPresent)
    : adapters_(std::move(adapters)), present_(libraryPresent) {}

void SimSupplicant::Record(const char* call, std::vector<std::pair<std::string, std::string>> args) {
  std::lock_guard lock(mutex_);
  calls_.push_back({call, std::move(args)});
}

std::vector<std::string> SimSupplicant::Calls() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> names;
  for (const Call& c : calls_) names.push_back(c.name);
  return names;
}

std::vector<SimSupplicant::Call> SimSupplicant::CallDetails() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void SimSupplicant::Push() {
  if (bound_) bound_->SetSupplicantCredentials(creds_);
}

bool SimSupplicant::OpenGlobal(std::string_view familyKey) {
  Record("OpenGlobal");
  open_ = present_ && !familyKey.empty();
  return open_;
}

bool SimSupplicant::BindAdapter(const MacAddress& mac) {
  Record("BindAdapter");
  bound_ = nullptr;
  if (!open_) return false;
  for (VirtualAdapter* a : adapters_)
    if (a->Hardware().mac == mac) bound_ = a;
  return bound_ != nullptr;
}

void SimSupplicant::ConfigResumption(uint32_t) { Record("ConfigResumption"); }

void SimSupplicant::AuthenticateStop() {
  Record("AuthenticateStop");
  creds_ = {};
  reportedStatus_ = 0;
  Push();
}

void SimSupplicant::ConfigWpa(bool wpaWith8021x) {
  Record("ConfigWpa");
  creds_.wpaWith8021x = wpaWith8021x;
}

void SimSupplicant::Set8021xValues(uint32_t, uint32_t, uint32_t, uint32_t) { Record("Set8021xValues"); }

void SimSupplicant::ConfigLeap(const std::string& identity, const std::string& password) {
  Record("ConfigLeap");
  creds_.method = EapMethod::Leap;
  creds_.identity = identity;
  creds_.password = password;
  Push();
}

void SimSupplicant::ConfigMd5(const std::string& identity, const std::string& password) {
  Record("ConfigMd5");
  creds_.method = EapMethod::Md5;
  creds_.identity = identity;
  creds_.password = password;
  Push();
}

// Tunnelled methods authenticate with the inner name and password.
void SimSupplicant::ConfigPeap(const TunnelCredentials& c) {
  Record("ConfigPeap", {{"identity", c.identity},
                        {"caCertificate", EncodeHex(c.caCertificate)},
                        {"clientCertificate", EncodeHex(c.clientCertificate)}});
  creds_.method = EapMethod::Peap;
  creds_.identity = c.tunnelIdentity.empty() ? c.identity : c.tunnelIdentity;
  creds_.password = c.tunnelPassword;
  Push();
}

void SimSupplicant::ConfigTtls(const TunnelCredentials& c) {
  Record("ConfigTtls", {{"identity", c.identity},
                        {"caCertificate", EncodeHex(c.caCertificate)},
                        {"clientCertificate", EncodeHex(c.clientCertificate)}});
  creds_.method = EapMethod::Ttls;
  creds_.identity = c.tunnelIdentity.empty() ? c.identity : c.tunnelIdentity;
  creds_.password = c.tunnelPassword;
  Push();
}

void SimSupplicant::ConfigTls(const std::string& identity, const CertificateHash& caCertificate,
                              const CertificateHash& clientCertificate, const std::string&) {
  Record("ConfigTls", {{"identity", identity},
                       {"caCertificate", EncodeHex(caCertificate)},
                       {"clientCertificate", EncodeHex(clientCertificate)}});
  creds_.method = EapMethod::Tls;
  creds_.identity = identity;
  creds_.password.clear();
  Push();
}

void SimSupplicant::ConfigWpaPassphrase(const std::string& passphrase, const std::string& ssid) {
  Record("ConfigWpaPassphrase", {{"ssid", EncodeHex(std::vector<uint8_t>(ssid.begin(), ssid.end()))}});
  creds_.passphrase = passphrase;
  creds_.psk.reset();
  creds_.pskSsid = ssid;
  Push();
}

void SimSupplicant::ConfigWpaKey(const std::array<uint8_t, 32>& key, const std::string& ssid) {
  Record("ConfigWpaKey", {{"ssid", EncodeHex(std::vector<uint8_t>(ssid.begin(), ssid.end()))}});
  creds_.psk = key;
  creds_.passphrase.reset();
  creds_.pskSsid = ssid;
  Push();
}

void SimSupplicant::Authenticate() {
  Record("Authenticate");
  Push();
}

// A rejected 802.1X authentication is reported once, as the library's status 62.
size_t SimSupplicant::Queries() const {
  std::lock_guard lock(mutex_);
  return queries_;
}

SupplicantEvent SimSupplicant::Query() {
  {
    std::lock_guard lock(mutex_);
    ++queries_;
  }
  if (!bound_) return {};
  uint32_t status = bound_->LastEapStatus();
  if (status == kAcPasswordRejected && reportedStatus_ != status) {
    reportedStatus_ = status;
    return {SupplicantEvent::Status, status};
  }
  reportedStatus_ = status;
  return {};
}

void SimSupplicant::Release() {
  Record("Release");
  bound_ = nullptr;
  open_ = false;
}

// ---- IP information ----------------------------------------------------------------------------

bool SimIpInfo::GetAdapters(std::vector<AdapterIpInfo>& out) {
  out.clear();
  for (VirtualAdapter* a : adapters_) {
    AdapterState s = a->State();
    if (!s.plugged) continue;
    const AdapterHardware& hw = a->Hardware();
    AdapterIpInfo info;
    info.adapterName = hw.instanceId;
    info.hardwareAddress.assign(hw.mac.begin(), hw.mac.end());
    info.dhcpEnabled = true;
    bool up = s.associated;
    info.address = up ? hw.ipAddress : "0.0.0.0";
    info.mask = up ? hw.ipMask : "0.0.0.0";
    info.gateway = up ? hw.gateway : "";
    info.dhcpServer = up ? hw.dhcpServer : "";
    out.push_back(info);
  }
  return true;
}

// ---- device set-up -----------------------------------------------------------------------------

bool SimDeviceSetup::EnumerateNetDevices(std::vector<NetDevice>& devices) {
  devices.clear();
  NetDevice wired;
  wired.hardwareId = "PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10";
  wired.driverKey = "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0001";
  wired.description = "Realtek RTL8139 Family PCI Fast Ethernet NIC";
  wired.manufacturer = "Realtek";
  wired.location = "PCI bus 0, device 9, function 0";
  wired.netCfgInstanceId = "{1B2E3F40-0000-4000-8000-000000000001}";
  devices.push_back(wired);
  for (VirtualAdapter* a : adapters_) {
    if (!a->State().plugged) continue;
    const AdapterHardware& s = a->Hardware();
    NetDevice d;
    d.hardwareId = s.hardwareId;
    d.driverKey = s.driverKey;
    d.description = s.description;
    d.friendlyName = s.description;
    d.manufacturer = "Arventa";
    d.location = s.usb ? "USB port 2" : "PCI bus 2, device 4, function 0";
    d.netCfgInstanceId = s.instanceId;
    devices.push_back(d);
  }
  return true;
}

// ---- bridge ------------------------------------------------------------------------------------

namespace {
class BridgeHandle : public DeviceHandle {
 public:
  explicit BridgeHandle(SimBridge& bridge) : bridge_(bridge) {}
  bool Control(uint32_t code, std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& returned) override {
    return bridge_.Control(code, in, out, returned);
  }

 private:
  SimBridge& bridge_;
};
}  // namespace

std::unique_ptr<DeviceHandle> SimBridge::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (!present_ || !EqualsIgnoreCase(path, kPath)) return nullptr;
  return std::make_unique<BridgeHandle>(*this);
}

bool SimBridge::Control(uint32_t code, std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& returned) {
  std::lock_guard lock(mutex_);
  returned = 0;
  Request r{code, {in.begin(), in.end()}, false};
  auto answer = [&](uint32_t v) {
    if (out.size() < 4) return false;
    auto b = ByteWriter().U32(v).Take();
    std::copy(b.begin(), b.end(), out.begin());
    returned = 4;
    return true;
  };
  if (present_) {
    ByteReader reader(in);
    uint32_t value = reader.U32();
    switch (code) {
      case kQueryVersion:
        r.ok = reader.ok() && answer(version_);
        break;
      case kSetState:
        r.ok = reader.ok() && version_ == 2 && value <= 1;
        if (r.ok) bridging_ = value == 1;
        break;
      case kQueryState:
        r.ok = version_ == 2 && answer(bridging_ ? 1 : 0);
        break;
      default:
        break;
    }
  }
  requests_.push_back(r);
  return r.ok;
}

void SimBridge::SetPresent(bool present) {
  std::lock_guard lock(mutex_);
  present_ = present;
}
void SimBridge::SetVersion(uint32_t version) {
  std::lock_guard lock(mutex_);
  version_ = version;
}
void SimBridge::SetBridging(bool on) {
  std::lock_guard lock(mutex_);
  bridging_ = on;
}
bool SimBridge::Bridging() const {
  std::lock_guard lock(mutex_);
  return bridging_;
}
std::vector<SimBridge::Request> SimBridge::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

// ---- router ------------------------------------------------------------------------------------

std::unique_ptr<DeviceHandle> DeviceRouter::Open(const std::string& path) {
  for (DevicePort* d : devices_)
    if (auto h = d->Open(path)) {
      lastError_ = 0;
      return h;
    }
  lastError_ = 2;  // ERROR_FILE_NOT_FOUND
  return nullptr;
}

}  // namespace vx::sim
