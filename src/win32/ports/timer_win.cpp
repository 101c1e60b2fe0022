#include <windows.h>

#include <map>

#include "win32/ports/win32_ports.h"

namespace vx {
namespace {

// Thread timers carry no context pointer, so callbacks are found by identifier.
std::map<UINT_PTR, TimerPort::Callback>& Callbacks() {
  static std::map<UINT_PTR, TimerPort::Callback> callbacks;
  return callbacks;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Callbacks().find(id);
  if (it == Callbacks().end()) {
    KillTimer(nullptr, id);
    return;
  }
  TimerPort::Callback cb = it->second;  // the callback may kill its own timer
  cb(static_cast<TimerId>(id));
}

}  // namespace

TimerId Win32Timers::Start(uint32_t periodMs, Callback onTick) {
  UINT_PTR id = SetTimer(nullptr, 0, periodMs, OnTimer);
  if (id == 0) return 0;
  Callbacks()[id] = std::move(onTick);
  return static_cast<TimerId>(id);
}

void Win32Timers::Kill(TimerId id) {
  if (id == 0) return;
  KillTimer(nullptr, id);
  Callbacks().erase(id);
}

}  // namespace vx
