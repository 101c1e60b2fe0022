// The real ports over the Windows API.
#pragma once
#include "platform/device.h"
#include "platform/device_setup.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/timer.h"

namespace vx {

class Win32Registry : public RegistryPort {
 public:
  bool KeyExists(const RegKey& key) override;
  bool CreateKey(const RegKey& key) override;
  std::optional<RegValue> QueryValue(const RegKey& key, std::string_view name) override;
  bool SetValue(const RegKey& key, std::string_view name, const RegValue& value) override;
  bool EnumSubkeys(const RegKey& key, std::vector<std::string>& names) override;
  bool EnumValues(const RegKey& key, std::vector<RegNamedValue>& values) override;
  bool DeleteValue(const RegKey& key, std::string_view name) override;
  bool DeleteTree(const RegKey& key) override;
};

class Win32Device : public DevicePort {
 public:
  std::unique_ptr<DeviceHandle> Open(const std::string& path) override;
  uint32_t LastError() const override { return lastError_; }

 private:
  friend class Win32DeviceHandle;
  uint32_t lastError_ = 0;
};

class Win32DeviceSetup : public DeviceSetupPort {
 public:
  bool EnumerateNetDevices(std::vector<NetDevice>& devices) override;
};

// Thread timers without a window: they fire in the calling thread's message loop.
class Win32Timers : public TimerPort {
 public:
  TimerId Start(uint32_t periodMs, Callback onTick) override;
  void Kill(TimerId id) override;
};

// A kernel32 function by name, or nullptr where the system lacks it (the WOW64 functions on
// Windows 2000 and 32-bit XP).
using Kernel32Lookup = void* (*)(const char* name);
void* FindKernel32Function(const char* name);

class Win32System : public SystemPort {
 public:
  // Tests pass a lookup that finds nothing, as on a system without the later functions.
  explicit Win32System(Kernel32Lookup lookup = FindKernel32Function) : lookup_(lookup) {}
  std::optional<OsVersionInfo> GetVersion(bool extended) override;
  uint16_t DefaultUiLanguage() override;
  std::optional<std::string> GetEnv(const std::string& name) override;
  std::optional<bool> IsWow64Process() override;
  bool EnableWow64FsRedirection(bool enable) override;
  bool TokenHasAdministrators() override;
  std::optional<std::string> ToAnsi(std::string_view utf8) override;
  bool ScreenReaderRunning() override;

 private:
  Kernel32Lookup lookup_;
};

// Sends trace lines to the debugger in debug builds; release builds install nothing.
void InstallDebugTraceSink();

}  // namespace vx
