// The three kernel32 functions that the compiler's runtime (winpthreads, under std::thread and
// std::mutex) imports although Windows 2000 lacks them: GetTickCount64 (first in Vista) and
// Add/RemoveVectoredExceptionHandler (first in XP). An imported function is called through a
// pointer named __imp_<name>; defining those pointers here, in an object linked before the
// import libraries, makes the linker take ours and leave the names out of the import table, so
// the loader of Windows 2000 accepts the program. Each one calls the system's own function
// when kernel32 has it and falls back otherwise.
#include "win32/runtime/win2000_imports.h"

#include <atomic>

#include "win32/runtime/tick_count.h"

namespace {

FARPROC Kernel32(const char* name) { return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name); }

template <typename F>
F Resolve(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(Kernel32(name)));
}

vx::TickCount64 g_ticks;

ULONGLONG WINAPI TickCount64() {
  using Fn = ULONGLONG(WINAPI*)();
  if (auto fn = Resolve<Fn>("GetTickCount64")) return fn();
  return g_ticks.Now([] { return static_cast<uint32_t>(GetTickCount()); });
}

// Without vectored handling no handler is installed; the runtime checks for the null handle
// (winpthreads then raises its thread-name exception only under a debugger).
PVOID WINAPI AddVectoredHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
  using Fn = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
  auto fn = Resolve<Fn>("AddVectoredExceptionHandler");
  return fn ? fn(first, handler) : nullptr;
}

ULONG WINAPI RemoveVectoredHandler(PVOID handle) {
  using Fn = ULONG(WINAPI*)(PVOID);
  auto fn = Resolve<Fn>("RemoveVectoredExceptionHandler");
  return fn ? fn(handle) : 0;
}

}  // namespace

extern "C" {
__attribute__((used)) ULONGLONG(WINAPI* vx_imp_GetTickCount64)() = TickCount64;
__attribute__((used))
PVOID(WINAPI* vx_imp_AddVectoredExceptionHandler)(ULONG, PVECTORED_EXCEPTION_HANDLER) = AddVectoredHandler;
__attribute__((used)) ULONG(WINAPI* vx_imp_RemoveVectoredExceptionHandler)(PVOID) = RemoveVectoredHandler;
}
