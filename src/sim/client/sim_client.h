// Client side of the simulator host: the platform ports as the stand-ins in a test prefix (the
// miniport, the supplicant and IP helper libraries, the installer) and the tests reach them, each
// request carried to wlansim over loopback TCP. Never linked into the shipped programs.
#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "net/socket.h"
#include "platform/cert_store.h"
#include "platform/device.h"
#include "platform/device_setup.h"
#include "platform/ip_info.h"
#include "platform/supplicant.h"

namespace vx::sim {

struct SimEndpoint {
  std::string host = "127.0.0.1";
  uint16_t port = 4510;
};

// One connection to the host, shared by the ports; reconnects after a failure.
class SimConnection {
 public:
  explicit SimConnection(SimEndpoint endpoint) : endpoint_(std::move(endpoint)) {}
  // Sends one request payload; the reply payload on success (its status byte is kReplyOk).
  std::optional<std::vector<uint8_t>> Call(const std::vector<uint8_t>& request);
  // The control interface: JSON text in and out; empty when the host cannot be reached.
  std::string Control(const std::string& json);
  const std::string& LastError() const { return error_; }

 private:
  SimEndpoint endpoint_;
  std::mutex mutex_;
  Socket socket_;
  std::string error_;
};

class RemoteDevicePort : public DevicePort {
 public:
  explicit RemoteDevicePort(SimConnection& c) : c_(c) {}
  std::unique_ptr<DeviceHandle> Open(const std::string& path) override;
  uint32_t LastError() const override { return lastError_; }

 private:
  friend class RemoteDeviceHandle;
  SimConnection& c_;
  uint32_t lastError_ = 0;
};

class RemoteDeviceSetup : public DeviceSetupPort {
 public:
  explicit RemoteDeviceSetup(SimConnection& c) : c_(c) {}
  bool EnumerateNetDevices(std::vector<NetDevice>& devices) override;

 private:
  SimConnection& c_;
};

class RemoteIpInfo : public IpInfoPort {
 public:
  explicit RemoteIpInfo(SimConnection& c) : c_(c) {}
  bool GetAdapters(std::vector<AdapterIpInfo>& adapters) override;

 private:
  SimConnection& c_;
};

class RemoteSupplicant : public SupplicantPort {
 public:
  explicit RemoteSupplicant(SimConnection& c) : c_(c) {}
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

 private:
  struct Result {
    bool ok = false;
    SupplicantEvent event;
  };
  Result Send(uint8_t call, const std::vector<uint8_t>& args);
  SimConnection& c_;
};

// The certificates of the simulator's world. The expiry is shown through `formatDate`, so that a
// Windows program can show the user's short date.
class RemoteCertStore : public CertStorePort {
 public:
  using DateFormatter = std::function<std::string(int year, int month, int day)>;
  explicit RemoteCertStore(SimConnection& c, DateFormatter formatDate = IsoDate);
  std::optional<std::vector<CertificateDescription>> List(CertStoreName store) override;
  std::optional<CertificateDescription> FindByHash(CertStoreName store, const std::vector<uint8_t>& hash) override;

  static std::string IsoDate(int year, int month, int day);  // "YYYY-MM-DD"

 private:
  SimConnection& c_;
  DateFormatter formatDate_;
};

}  // namespace vx::sim
