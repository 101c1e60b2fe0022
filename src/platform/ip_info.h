// Adapter IP information port: what the system's IP helper reports per adapter.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vx {

struct AdapterIpInfo {
  std::string adapterName;  // the adapter's NetCfgInstanceId
  std::vector<uint8_t> hardwareAddress;  // empty when the source does not report it
  std::string address;      // dotted IPv4 text, "0.0.0.0" when none
  std::string mask;
  std::string gateway;
  std::string dhcpServer;
  bool dhcpEnabled = false;
};

class IpInfoPort {
 public:
  virtual ~IpInfoPort() = default;
  // False when the IP helper is unavailable.
  virtual bool GetAdapters(std::vector<AdapterIpInfo>& adapters) = 0;
};

}  // namespace vx
