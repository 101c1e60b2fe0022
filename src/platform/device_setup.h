// Device set-up port: the present devices of the network class and the facts discovery reads.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vx {

struct NetDevice {
  std::string hardwareId;    // first string of the hardware ID list
  std::string driverKey;     // "{class guid}\\0007"
  std::string friendlyName;  // may be empty
  std::string description;
  std::string location;
  std::string manufacturer;
  // From the device's driver key; absent when the key or value cannot be read.
  std::optional<std::string> netCfgInstanceId;
};

class DeviceSetupPort {
 public:
  virtual ~DeviceSetupPort() = default;
  // Present devices of class "Net" in enumeration order; false when the class or list is unavailable.
  virtual bool EnumerateNetDevices(std::vector<NetDevice>& devices) = 0;
};

}  // namespace vx
