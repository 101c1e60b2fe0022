// The file facts port over the version API and file times.
#pragma once
#include "platform/file_info.h"

namespace vx {

class Win32FileInfo : public FileInfoPort {
 public:
  std::string SystemDirectory() override;
  std::string ProgramFile() override;
  std::optional<FileVersion> FixedVersion(const std::string& path) override;
  std::optional<std::string> VersionString(const std::string& path, const std::string& name) override;
  std::optional<FileDate> LastWriteDate(const std::string& path) override;
};

}  // namespace vx
