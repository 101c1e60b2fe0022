// File facts the About pages show: the system folder, the program's own file, a file's fixed
// version, a string of its version resource and its last-modification date.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace vx {

struct FileVersion {
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t build = 0;
  uint16_t revision = 0;
  bool operator==(const FileVersion&) const = default;
};

// A calendar date in local time.
struct FileDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  bool operator==(const FileDate&) const = default;
};

class FileInfoPort {
 public:
  virtual ~FileInfoPort() = default;
  // GetSystemDirectory, without a trailing backslash.
  virtual std::string SystemDirectory() = 0;
  // The full path of the running program's file.
  virtual std::string ProgramFile() = 0;
  // The fixed file version of the file's version resource; nullopt without one.
  virtual std::optional<FileVersion> FixedVersion(const std::string& path) = 0;
  // A string of the version resource ("LegalCopyright", ...), from the language block of the
  // user interface's language when there is one, else from the first block.
  virtual std::optional<std::string> VersionString(const std::string& path, const std::string& name) = 0;
  // The last-write time as a local date; nullopt when the file cannot be opened.
  virtual std::optional<FileDate> LastWriteDate(const std::string& path) = 0;
};

}  // namespace vx
