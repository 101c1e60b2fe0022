#include "win32/ports/bridge_win.h"

#include <windows.h>

#include "win32/ports/wide.h"

namespace vx {

class Win32BridgeHandle : public DeviceHandle {
 public:
  Win32BridgeHandle(Win32BridgeDevice& owner, HANDLE device, HANDLE event)
      : owner_(owner), device_(device), event_(event) {}
  ~Win32BridgeHandle() override {
    CloseHandle(device_);
    CloseHandle(event_);
  }
  bool Control(uint32_t code, std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& bytesReturned) override {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event_;
    ResetEvent(event_);
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(device_, code, const_cast<uint8_t*>(in.data()), static_cast<DWORD>(in.size()),
                              out.empty() ? nullptr : out.data(), static_cast<DWORD>(out.size()), &returned,
                              &overlapped);
    bytesReturned = returned;
    if (ok) return true;
    DWORD error = GetLastError();
    owner_.lastError_ = error;
    if (error == ERROR_IO_PENDING) {
      // The buffers are the caller's and go away on return: the request must end before that.
      CancelIo(device_);
      GetOverlappedResult(device_, &overlapped, &returned, TRUE);
    }
    return false;
  }

 private:
  Win32BridgeDevice& owner_;
  HANDLE device_;
  HANDLE event_;
};

std::unique_ptr<DeviceHandle> Win32BridgeDevice::Open(const std::string& path) {
  std::wstring wide = Widen(path);
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE h = CreateFileW(wide.c_str(), 0, share, nullptr, OPEN_EXISTING,
                         FILE_FLAG_OVERLAPPED | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    h = CreateFileW(wide.c_str(), 0, share, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    lastError_ = GetLastError();
    return nullptr;
  }
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!event) {
    lastError_ = GetLastError();
    CloseHandle(h);
    return nullptr;
  }
  return std::make_unique<Win32BridgeHandle>(*this, h, event);
}

}  // namespace vx
