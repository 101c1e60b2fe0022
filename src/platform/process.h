// Programs, files and the browser: starting the mode-switch program, the shortcut clean-up, the
// files the tray menu looks for.
#pragma once
#include <string>

namespace vx {

class ProcessPort {
 public:
  virtual ~ProcessPort() = default;
  // WinExec: starts a command line with the given show state; false when it could not start.
  virtual bool Exec(const std::string& commandLine, int showState) = 0;
  // The folder of the running program, without a trailing backslash.
  virtual std::string ProgramFolder() = 0;
  // True when the file can be opened for reading.
  virtual bool FileReadable(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Removes an empty folder.
  virtual bool RemoveFolder(const std::string& path) = 0;
  // Opens a web address in the default browser.
  virtual bool OpenUrl(const std::string& url) = 0;
};

}  // namespace vx
