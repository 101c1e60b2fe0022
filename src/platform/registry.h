// Registry port: the typed values and key operations the core needs, with Windows semantics.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx {

enum class Hive { LocalMachine, CurrentUser };

// Value type codes as Windows numbers them, so stored values keep their type when copied.
enum : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

struct RegKey {
  Hive hive = Hive::LocalMachine;
  std::string path;
  bool view64 = false;  // the 64-bit view on WOW64, for system keys the 32-bit view would miss
};

inline RegKey Hklm(std::string path) { return RegKey{Hive::LocalMachine, std::move(path), false}; }
inline RegKey SubKey(const RegKey& k, std::string_view name) {
  RegKey r = k;
  r.path = k.path.empty() ? std::string(name) : k.path + "\\" + std::string(name);
  return r;
}

// One value. Text is UTF-8 in the core; the Win32 port converts at the boundary.
struct RegValue {
  uint32_t type = kRegNone;
  std::string text;                  // REG_SZ, REG_EXPAND_SZ
  std::vector<std::string> strings;  // REG_MULTI_SZ
  uint32_t dword = 0;                // REG_DWORD
  std::vector<uint8_t> bytes;        // REG_BINARY and every other type, raw

  static RegValue Sz(std::string s) {
    RegValue v;
    v.type = kRegSz;
    v.text = std::move(s);
    return v;
  }
  static RegValue Dword(uint32_t d) {
    RegValue v;
    v.type = kRegDword;
    v.dword = d;
    return v;
  }
  static RegValue MultiSz(std::vector<std::string> list) {
    RegValue v;
    v.type = kRegMultiSz;
    v.strings = std::move(list);
    return v;
  }
  static RegValue Binary(std::vector<uint8_t> b, uint32_t type = kRegBinary) {
    RegValue v;
    v.type = type;
    v.bytes = std::move(b);
    return v;
  }
  bool IsText() const { return type == kRegSz || type == kRegExpandSz; }
  bool operator==(const RegValue&) const = default;
};

struct RegNamedValue {
  std::string name;
  RegValue value;
};

class RegistryPort {
 public:
  virtual ~RegistryPort() = default;
  virtual bool KeyExists(const RegKey& key) = 0;
  // Creates the key and any missing parents; true when it exists afterwards.
  virtual bool CreateKey(const RegKey& key) = 0;
  virtual std::optional<RegValue> QueryValue(const RegKey& key, std::string_view name) = 0;
  // Fails when the key does not exist, as RegSetValueEx on an opened key would.
  virtual bool SetValue(const RegKey& key, std::string_view name, const RegValue& value) = 0;
  virtual bool EnumSubkeys(const RegKey& key, std::vector<std::string>& names) = 0;
  virtual bool EnumValues(const RegKey& key, std::vector<RegNamedValue>& values) = 0;
  virtual bool DeleteValue(const RegKey& key, std::string_view name) = 0;
  // Deletes the key with all its subkeys.
  virtual bool DeleteTree(const RegKey& key) = 0;
};

}  // namespace vx
