// Device port: open a device by path, issue one I/O control, close it.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vx {

class DeviceHandle {
 public:
  virtual ~DeviceHandle() = default;  // closes the device
  // One synchronous request. `out` may be empty (and null) for requests without data.
  virtual bool Control(uint32_t ioctl, std::span<const uint8_t> in, std::span<uint8_t> out,
                       uint32_t& bytesReturned) = 0;
};

class DevicePort {
 public:
  virtual ~DevicePort() = default;
  // Null when the device cannot be opened.
  virtual std::unique_ptr<DeviceHandle> Open(const std::string& path) = 0;
  // The system error of the last failed open or request, for diagnostics only.
  virtual uint32_t LastError() const { return 0; }
};

}  // namespace vx
