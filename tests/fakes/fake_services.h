// A service manager with one table of services and a log of what was asked of it.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/service.h"

namespace vx {

class FakeServices : public ServicePort {
 public:
  struct Service {
    uint32_t state = kServiceStopped;
    uint32_t startType = kServiceAutoStart;
  };
  std::optional<uint32_t> QueryState(const std::string& name) override {
    auto it = services.find(name);
    if (it == services.end()) return std::nullopt;
    return it->second.state;
  }
  bool Stop(const std::string& name) override {
    log.push_back("stop " + name);
    auto it = services.find(name);
    if (it == services.end()) return false;
    it->second.state = kServiceStopped;
    return true;
  }
  bool Start(const std::string& name) override {
    log.push_back("start " + name);
    auto it = services.find(name);
    if (it == services.end()) return false;
    it->second.state = kServiceRunning;
    return true;
  }
  bool SetStartType(const std::string& name, uint32_t type) override {
    log.push_back("type " + name + " " + std::to_string(type));
    auto it = services.find(name);
    if (it == services.end()) return false;
    it->second.startType = type;
    return true;
  }
  std::map<std::string, Service> services;
  std::vector<std::string> log;
};

}  // namespace vx
