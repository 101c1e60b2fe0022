// The named mutex both utilities share, so only one of them runs at a time.
#pragma once
#include <windows.h>

namespace vx {

class InstanceMutex {
 public:
  // Creates the mutex unowned; AlreadyRunning() tells whether another copy holds it.
  explicit InstanceMutex(const wchar_t* name) {
    handle_ = CreateMutexW(nullptr, FALSE, name);
    if (handle_ && GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseHandle(handle_);
      handle_ = nullptr;
      existed_ = true;
    }
  }
  ~InstanceMutex() {
    if (handle_) CloseHandle(handle_);
  }
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;
  bool AlreadyRunning() const { return existed_; }

 private:
  HANDLE handle_ = nullptr;
  bool existed_ = false;
};

}  // namespace vx
