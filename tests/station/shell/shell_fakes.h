// The system and process as the station shell's tests see them: Windows XP, an administrator,
// and a program folder with the mode-switch program beside the utility.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/system.h"

namespace vx {

struct FakeSystem : SystemPort {
  std::optional<OsVersionInfo> GetVersion(bool) override { return OsVersionInfo{5, 1, 2600, kPlatformWin32Nt, 1}; }
  uint16_t DefaultUiLanguage() override { return 1033; }
  std::optional<std::string> GetEnv(const std::string&) override { return std::nullopt; }
  std::optional<bool> IsWow64Process() override { return false; }
  bool EnableWow64FsRedirection(bool) override { return false; }
};

struct FakeProcess : ProcessPort {
  std::vector<std::string> started;
  bool filesPresent = true;
  bool Exec(const std::string& cmd, int) override {
    started.push_back(cmd);
    return true;
  }
  std::string ProgramFolder() override { return "C:\\Arventa"; }
  bool FileReadable(const std::string&) override { return filesPresent; }
  bool RemoveFile(const std::string&) override { return true; }
  bool RemoveFolder(const std::string&) override { return true; }
  bool OpenUrl(const std::string&) override { return true; }
};

}  // namespace vx
