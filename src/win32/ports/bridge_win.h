// The bridge driver's control device over overlapped I/O: only a request that completes at once
// counts; a pending one is cancelled and reported as failed.
#pragma once
#include "platform/device.h"

namespace vx {

class Win32BridgeDevice : public DevicePort {
 public:
  std::unique_ptr<DeviceHandle> Open(const std::string& path) override;
  uint32_t LastError() const override { return lastError_; }

 private:
  friend class Win32BridgeHandle;
  uint32_t lastError_ = 0;
};

}  // namespace vx
