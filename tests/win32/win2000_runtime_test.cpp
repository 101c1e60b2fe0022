// The runtime's imports that Windows 2000 lacks, as the shipped programs link them: taken from
// src/win32/runtime instead of kernel32's import table, and still doing their work.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/win32/check.h"
#include "win32/runtime/win2000_imports.h"

namespace {

// The names this program imports from one DLL, read from its own import directory.
std::vector<std::string> ImportsFrom(const char* dllName) {
  auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> names;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dllName) != 0) continue;
    auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk
                                                                                         : d->FirstThunk));
    for (; thunk->u1.AddressOfData; ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData);
      names.emplace_back(reinterpret_cast<const char*>(byName->Name));
    }
  }
  return names;
}

bool Imports(const std::vector<std::string>& names, const char* name) {
  for (const auto& n : names)
    if (n == name) return true;
  return false;
}

int g_seen = 0;
LONG WINAPI CountOurs(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode != 0xE0564B01) return EXCEPTION_CONTINUE_SEARCH;
  ++g_seen;
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

TEST_CASE("kernel32's import table names none of the three, and the runtime's others are still there") {
  auto kernel32 = ImportsFrom("KERNEL32.dll");
  CHECK(!kernel32.empty());
  CHECK(!Imports(kernel32, "GetTickCount64"));
  CHECK(!Imports(kernel32, "AddVectoredExceptionHandler"));
  CHECK(!Imports(kernel32, "RemoveVectoredExceptionHandler"));
  CHECK(Imports(kernel32, "CloseHandle"));
}

TEST_CASE("the tick count goes to the system's GetTickCount64 where kernel32 has it") {
  using Fn = ULONGLONG(WINAPI*)();
  auto real = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
  CHECK(real != nullptr);
  ULONGLONG before = real();
  ULONGLONG ours = vx_imp_GetTickCount64();
  ULONGLONG after = real();
  CHECK(before <= ours && ours <= after);
}

TEST_CASE("a vectored handler added through the stand-in sees an exception and goes again") {
  PVOID handle = vx_imp_AddVectoredExceptionHandler(1, CountOurs);
  CHECK(handle != nullptr);
  RaiseException(0xE0564B01, 0, 0, nullptr);
  CHECK(g_seen == 1);
  CHECK(vx_imp_RemoveVectoredExceptionHandler(handle) != 0);
}

TEST_CASE("timed waits, wake-ups and joins of the thread runtime work through them") {
  std::mutex m;
  std::condition_variable cv;
  bool ready = false;
  {
    std::unique_lock<std::mutex> lock(m);
    CHECK(!cv.wait_for(lock, std::chrono::milliseconds(30), [&] { return ready; }));
  }
  std::thread worker([&] {
    std::lock_guard<std::mutex> lock(m);
    ready = true;
    cv.notify_one();
  });
  {
    std::unique_lock<std::mutex> lock(m);
    CHECK(cv.wait_for(lock, std::chrono::seconds(60), [&] { return ready; }));
  }
  worker.join();
}

int main() { return vx::check::RunAll(); }
