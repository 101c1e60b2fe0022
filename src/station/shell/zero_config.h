// Who configures the adapter: this utility or the system's wireless zero-configuration service.
#pragma once
#include <string>

#include "platform/registry.h"
#include "platform/service.h"

namespace vx {

// 0: the service is unavailable or not running; 1: it runs but leaves this adapter alone;
// 2: it controls this adapter.
enum ZeroConfigStateValue { kZeroConfigOff = 0, kZeroConfigIdle = 1, kZeroConfigControls = 2 };

class ZeroConfig {
 public:
  static constexpr const char* kService = "WZCSVC";
  static constexpr uint32_t kControlFlag = 0x8000;

  ZeroConfig(ServicePort& services, RegistryPort& registry) : services_(services), registry_(registry) {}

  static std::string InterfaceKey(const std::string& netCfgInstanceId) {
    return "SOFTWARE\\Microsoft\\WZCSVC\\Parameters\\Interfaces\\" + netCfgInstanceId;
  }

  int ZeroConfigState(int osKind, const std::string& netCfgInstanceId);
  void StopZeroConfig(bool changeStartType);
  // Hands the adapter to the service and starts it.
  void EnableZeroConfig(int osKind, bool wow64, const std::string& netCfgInstanceId);

 private:
  ServicePort& services_;
  RegistryPort& registry_;
};

}  // namespace vx
