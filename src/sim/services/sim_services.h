// Simulated platform services around the virtual adapters: the supplicant library, the system's
// adapter IP information, device set-up enumeration, the bridge driver's control device, and a
// device port that reaches several devices by path.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/device.h"
#include "platform/device_setup.h"
#include "platform/ip_info.h"
#include "platform/supplicant.h"
#include "sim/adapter/virtual_adapter.h"

namespace vx::sim {

// Hands the credentials it is given to the bound adapter, which decides whether they fit.
class SimSupplicant : public SupplicantPort {
 public:
  explicit SimSupplicant(std::vector<VirtualAdapter*> adapters, bool libraryPresent = true);

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

  VirtualAdapter* Bound() const { return bound_; }
  std::vector<std::string> Calls() const;  // names of the calls received, in order

  // A call with the arguments tests look at; byte strings (network names, certificate hashes)
  // as hexadecimal, since they need not be text.
  struct Call {
    std::string name;
    std::vector<std::pair<std::string, std::string>> args;
  };
  std::vector<Call> CallDetails() const;
  // Polls of the library (AcAdapterQuery), counted rather than listed: they come every tick.
  size_t Queries() const;

 private:
  void Push();
  void Record(const char* call, std::vector<std::pair<std::string, std::string>> args = {});

  std::vector<VirtualAdapter*> adapters_;
  bool present_;
  bool open_ = false;
  VirtualAdapter* bound_ = nullptr;
  SupplicantCredentials creds_;
  uint32_t reportedStatus_ = 0;
  size_t queries_ = 0;
  mutable std::mutex mutex_;
  std::vector<Call> calls_;
};

// Each adapter's address while it has a link (or runs as access point), "0.0.0.0" otherwise.
class SimIpInfo : public IpInfoPort {
 public:
  explicit SimIpInfo(std::vector<VirtualAdapter*> adapters) : adapters_(std::move(adapters)) {}
  bool GetAdapters(std::vector<AdapterIpInfo>& adapters) override;

 private:
  std::vector<VirtualAdapter*> adapters_;
};

// The present network devices: a wired card that discovery must skip, then every plugged adapter.
class SimDeviceSetup : public DeviceSetupPort {
 public:
  explicit SimDeviceSetup(std::vector<VirtualAdapter*> adapters) : adapters_(std::move(adapters)) {}
  bool EnumerateNetDevices(std::vector<NetDevice>& devices) override;

 private:
  std::vector<VirtualAdapter*> adapters_;
};

// The bridge driver's control device "\\.\XBRG" with its three requests.
class SimBridge : public DevicePort {
 public:
  static constexpr uint32_t kQueryVersion = 0x80000000;
  static constexpr uint32_t kSetState = 0x80000004;
  static constexpr uint32_t kQueryState = 0x80000008;
  static constexpr const char* kPath = "\\\\.\\XBRG";

  std::unique_ptr<DeviceHandle> Open(const std::string& path) override;

  struct Request {
    uint32_t code = 0;
    std::vector<uint8_t> in;
    bool ok = false;
  };
  void SetPresent(bool present);
  void SetVersion(uint32_t version);  // 2 supports bridging
  void SetBridging(bool on);
  bool Bridging() const;
  std::vector<Request> Requests() const;

  // One request as the driver answers it (used by the handles and the host).
  bool Control(uint32_t code, std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& returned);

 private:
  mutable std::mutex mutex_;
  bool present_ = true;
  uint32_t version_ = 2;
  bool bridging_ = false;
  std::vector<Request> requests_;
};

// Opens a path on the first of its devices that accepts it.
class DeviceRouter : public DevicePort {
 public:
  explicit DeviceRouter(std::vector<DevicePort*> devices) : devices_(std::move(devices)) {}
  std::unique_ptr<DeviceHandle> Open(const std::string& path) override;
  uint32_t LastError() const override { return lastError_; }

 private:
  std::vector<DevicePort*> devices_;
  uint32_t lastError_ = 0;
};

}  // namespace vx::sim
