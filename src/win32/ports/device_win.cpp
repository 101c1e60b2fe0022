#include <windows.h>

#include "win32/ports/wide.h"
#include "win32/ports/win32_ports.h"

namespace vx {

class Win32DeviceHandle : public DeviceHandle {
 public:
  Win32DeviceHandle(Win32Device& owner, HANDLE h) : owner_(owner), h_(h) {}
  ~Win32DeviceHandle() override { CloseHandle(h_); }
  bool Control(uint32_t ioctl, std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& bytesReturned) override {
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(h_, ioctl, const_cast<uint8_t*>(in.data()), static_cast<DWORD>(in.size()),
                              out.data(), static_cast<DWORD>(out.size()), &returned, nullptr);
    bytesReturned = returned;
    if (!ok) owner_.lastError_ = GetLastError();
    return ok != FALSE;
  }

 private:
  Win32Device& owner_;
  HANDLE h_;
};

std::unique_ptr<DeviceHandle> Win32Device::Open(const std::string& path) {
  if (path.empty()) return nullptr;
  HANDLE h = CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    lastError_ = GetLastError();
    return nullptr;
  }
  return std::make_unique<Win32DeviceHandle>(*this, h);
}

}  // namespace vx
