// Service control port: the few service-manager operations the station needs.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace vx {

// Service states and start types, numbered as Windows numbers them.
enum : uint32_t {
  kServiceStopped = 1,
  kServiceStartPending = 2,
  kServiceStopPending = 3,
  kServiceRunning = 4,
  kServicePaused = 7,
};
enum : uint32_t { kServiceAutoStart = 2, kServiceDemandStart = 3 };

class ServicePort {
 public:
  virtual ~ServicePort() = default;
  // Current state; absent when the manager or the service cannot be opened.
  virtual std::optional<uint32_t> QueryState(const std::string& name) = 0;
  virtual bool Stop(const std::string& name) = 0;
  virtual bool Start(const std::string& name) = 0;
  virtual bool SetStartType(const std::string& name, uint32_t startType) = 0;
};

}  // namespace vx
