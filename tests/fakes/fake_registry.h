// In-memory registry with Windows semantics: names compare without regard to case but keep the
// case they were created with; subkeys enumerate in sorted order, values in creation order.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/hex.h"
#include "platform/registry.h"

namespace vx {

class FakeRegistry : public RegistryPort {
 public:
  bool KeyExists(const RegKey& key) override;
  bool CreateKey(const RegKey& key) override;
  std::optional<RegValue> QueryValue(const RegKey& key, std::string_view name) override;
  bool SetValue(const RegKey& key, std::string_view name, const RegValue& value) override;
  bool EnumSubkeys(const RegKey& key, std::vector<std::string>& names) override;
  bool EnumValues(const RegKey& key, std::vector<RegNamedValue>& values) override;
  bool DeleteValue(const RegKey& key, std::string_view name) override;
  bool DeleteTree(const RegKey& key) override;

  // Test conveniences.
  void SetSz(const std::string& path, const std::string& name, const std::string& text);
  std::string GetSz(const std::string& path, const std::string& name);  // "" when absent
  // Every later operation fails, as a registry without access would.
  void FailAll(bool fail) { failAll_ = fail; }
  // The n-th value write from now on (1: the next) is refused, as a registry that denies it;
  // 0 refuses none. Writes() counts the value writes since.
  void FailWrite(int n) {
    failWriteAt_ = n;
    writes_ = 0;
  }
  int Writes() const { return writes_; }
  // The values of an HKLM key, comparable as a whole.
  std::vector<std::pair<std::string, RegValue>> Values(const std::string& path);

 private:
  struct Less {
    bool operator()(const std::string& a, const std::string& b) const { return LessIgnoreCase(a, b); }
  };
  struct Node {
    std::map<std::string, std::unique_ptr<Node>, Less> children;
    std::vector<RegNamedValue> values;
  };
  Node* Find(const RegKey& key, bool create);
  Node& Root(const RegKey& key);

  Node hklm_, hkcu_, hklm64_;
  bool failAll_ = false;
  int failWriteAt_ = 0;
  int writes_ = 0;
};

}  // namespace vx
