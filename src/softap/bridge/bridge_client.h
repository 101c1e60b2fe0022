// The client of the outside bridge driver's control device: its interface version, whether
// bridging is active, and switching it on. The program never switches bridging off.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/device.h"

namespace vx {

class BridgeDevice {
 public:
  static constexpr uint32_t kQueryVersion = 0x80000000;
  static constexpr uint32_t kSetState = 0x80000004;
  static constexpr uint32_t kQueryState = 0x80000008;
  static constexpr uint32_t kBridgingVersion = 2;
  static constexpr const char* kName = "XBRG";

  explicit BridgeDevice(DevicePort& port) : port_(port) {}

  // Opens "\\.\" + name; the platform's device decides how (overlapped, delete on close).
  bool Open(const std::string& name = kName);
  void Close() { handle_.reset(); }
  bool Valid() const { return handle_ != nullptr; }

  // One request; fails at once without a device. Only an immediate success counts.
  bool Request(uint32_t code, std::span<const uint8_t> in, std::span<uint8_t> out);
  // The driver's interface version, or -1 when the request fails.
  int32_t Version();
  // Only with interface version 2; true when the request succeeded.
  bool SetState(bool on);
  // Only with interface version 2; 0 when the request fails.
  uint32_t GetState();

 private:
  DevicePort& port_;
  std::unique_ptr<DeviceHandle> handle_;
};

// Opens its own device and switches bridging on; true when that succeeded.
bool StartBridging(DevicePort& port);

// The start sequence's use: opens `held` (kept open by the caller until the sequence ends) and
// switches bridging on unless it reads as active. True when bridging is on afterwards.
bool EnsureBridging(BridgeDevice& held, DevicePort& port);

}  // namespace vx
