// "security.ini" beside the program: an optional redirection of the one-button security
// service to another address and port (section "Option", keys "SERVER_IP" and "SERVER_PORT").
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

inline constexpr const char* kSecurityIniName = "security.ini";
inline constexpr size_t kIniValueBuffer = 128;  // values longer than 127 bytes are cut

// A key's value as the private-profile reader gives it: section and key names compare without
// regard to case, blanks around the value go, one pair of enclosing quotes goes, the first
// occurrence wins, and the value is cut to fit the 128-byte buffer. Empty when absent.
std::string IniValue(std::string_view text, std::string_view section, std::string_view key);

struct ServerEndpoint {
  std::string host;
  uint16_t port = 0;
};

// The gateway and port 1500, unless the file names others. A port that is not a decimal number
// from 1 to 65535 keeps 1500.
ServerEndpoint ResolveServer(const std::optional<std::string>& iniText, const std::string& gateway);

// The file's path from the program's folder (no trailing backslash).
std::string SecurityIniPath(const std::string& programFolder);

// Reads a whole file; nullopt when it cannot be opened.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace vx
