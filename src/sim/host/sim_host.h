// The simulator host: virtual adapters, the bridge, the supplicant, IP information and device
// enumeration, served to the Windows programs over loopback TCP, plus a control interface for
// tests and the cooperating access point's one-button security service.
#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/byte_reader.h"
#include "net/socket.h"
#include "sim/adapter/virtual_adapter.h"
#include "sim/services/sim_services.h"

namespace vx::sim {

struct HostOptions {
  uint16_t port = 4510;          // 0: any free port
  bool autoSecurity = true;      // run the one-button service of the world's maker networks
  int autoSecurityPort = -1;     // -1: the world's port, 0: any free port
  bool tickThread = true;        // one simulated second per real second
  std::vector<AdapterHardware> adapters = {PciAdapterHardware(), UsbAdapterHardware()};
};

class SimHost {
 public:
  SimHost(World world, HostOptions options);
  ~SimHost();

  bool Start();  // false when a port cannot be opened; Error() says which
  void Stop();
  const std::string& Error() const { return error_; }
  uint16_t Port() const { return server_.Port(); }
  uint16_t AutoSecurityPort() const { return autoSecurity_ ? autoSecurity_->Port() : 0; }

  // One request payload in, one reply payload out (what a client connection does per frame).
  std::vector<uint8_t> Handle(std::span<const uint8_t> request);
  // The control interface: a JSON command object in, a JSON reply out.
  std::string Control(const std::string& json);

  VirtualAdapter& Adapter(size_t i) { return *adapters_[i]; }
  size_t AdapterCount() const { return adapters_.size(); }
  SimBridge& Bridge() { return bridge_; }

 private:
  void Serve(Socket& client);
  void ServeAutoSecurity(Socket& client);
  std::vector<uint8_t> Supplicant(ByteReader& r);

  HostOptions options_;
  std::vector<std::unique_ptr<VirtualAdapter>> adapters_;
  SimBridge bridge_;
  std::unique_ptr<DeviceRouter> router_;
  std::unique_ptr<SimSupplicant> supplicant_;
  std::unique_ptr<SimIpInfo> ipInfo_;
  std::unique_ptr<SimDeviceSetup> setup_;
  std::mutex worldMutex_;  // one request at a time reaches the simulated devices
  TcpServer server_;
  std::unique_ptr<TcpServer> autoSecurity_;
  std::atomic<bool> stop_{false};
  std::thread ticker_;
  std::string error_;
  std::set<VirtualAdapter*> unplugAfterOpen_;  // pulled out once the next open has succeeded
  std::map<MacAddress, std::string> pendingPassphrases_;  // one-button SET_WPA_PSK by BSSID
};

}  // namespace vx::sim
