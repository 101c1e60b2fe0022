#include "station/autosecurity/security_ini.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/hex.h"

namespace vx {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string IniValue(std::string_view text, std::string_view section, std::string_view key) {
  bool inSection = false;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      inSection = close != std::string_view::npos && EqualsIgnoreCase(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    if (!inSection) continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos || !EqualsIgnoreCase(Trim(line.substr(0, eq)), key)) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') || (value.front() == '\'' && value.back() == '\'')))
      value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kIniValueBuffer - 1));
  }
  return {};
}

ServerEndpoint ResolveServer(const std::optional<std::string>& iniText, const std::string& gateway) {
  ServerEndpoint endpoint{gateway, 1500};
  if (!iniText) return endpoint;
  std::string ip = IniValue(*iniText, "Option", "SERVER_IP");
  if (!ip.empty()) endpoint.host = ip;
  std::string port = IniValue(*iniText, "Option", "SERVER_PORT");
  if (!port.empty() && port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos) {
    unsigned long value = std::stoul(port);
    if (value >= 1 && value <= 65535) endpoint.port = static_cast<uint16_t>(value);
  }
  return endpoint;
}

std::string SecurityIniPath(const std::string& programFolder) {
  return programFolder.empty() ? std::string(kSecurityIniName) : programFolder + "\\" + kSecurityIniName;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::u8string u8(path.begin(), path.end());
  std::ifstream in(std::filesystem::path(u8), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace vx
