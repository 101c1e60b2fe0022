// The query/set channel to the adapter's miniport. Each request opens the device, issues one
// I/O control and closes it again; a failed set is retried on its own 500 ms timer.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/timer.h"

namespace vx {

// The two programs carry the same channel with small differences.
enum class Program { Station, AccessPoint };

struct PendingSet {
  uint32_t oid = 0;  // with the set bit
  std::vector<uint8_t> data;
  bool hasBlock = false;  // the station keeps no block for a zero-length set
  int32_t length = 0;
  uint32_t bytesReturned = 0;
  int32_t attemptsLeft = 0;
  TimerId timerId = 0;
};

class OidChannel {
 public:
  static constexpr uint32_t kRetryPeriodMs = 500;

  OidChannel(DevicePort& device, TimerPort& timers, Program program);
  OidChannel(const OidChannel&) = delete;
  OidChannel& operator=(const OidChannel&) = delete;
  ~OidChannel();

  // Written by adapter discovery; empty until an adapter is selected.
  void SetDevicePath(std::string path) { devicePath_ = std::move(path); }
  const std::string& DevicePath() const { return devicePath_; }
  DevicePort& Device() const { return device_; }
  void SetOsKind(int kind) { osKind_ = kind; }

  bool OidQueryInformation(uint32_t oid, std::span<uint8_t> buffer, uint32_t& bytesReturned);
  // Returns the result of the first attempt only; later retries are not reported.
  bool OidSetInformation(uint32_t oid, std::span<uint8_t> buffer, uint32_t& bytesReturned, int32_t attempts);

  // Conveniences for callers that do not need the returned count.
  bool Query(uint32_t oid, std::span<uint8_t> buffer);
  bool Set(uint32_t oid, std::span<uint8_t> buffer, int32_t attempts = 3);
  bool Set(uint32_t oid, std::vector<uint8_t> data, int32_t attempts = 3) {
    return Set(oid, std::span<uint8_t>(data), attempts);
  }
  bool QueryU32(uint32_t oid, uint32_t& value);
  bool SetU32(uint32_t oid, uint32_t value, int32_t attempts = 3);

  // Opens the device path and closes it at once.
  bool IsReachable();

  const std::vector<PendingSet>& Pending() const { return pending_; }

 private:
  void SetInformationTimerProc(TimerId id);
  void Remove(size_t index);

  DevicePort& device_;
  TimerPort& timers_;
  Program program_;
  int osKind_ = 0;
  std::string devicePath_;
  std::vector<PendingSet> pending_;
};

}  // namespace vx
