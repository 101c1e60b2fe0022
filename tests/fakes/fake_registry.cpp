#include "fakes/fake_registry.h"

namespace vx {
namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

}  // namespace

FakeRegistry::Node& FakeRegistry::Root(const RegKey& key) {
  if (key.hive == Hive::CurrentUser) return hkcu_;
  return key.view64 ? hklm64_ : hklm_;
}

FakeRegistry::Node* FakeRegistry::Find(const RegKey& key, bool create) {
  if (failAll_) return nullptr;
  Node* node = &Root(key);
  for (const auto& part : SplitPath(key.path)) {
    auto it = node->children.find(part);
    if (it == node->children.end()) {
      if (!create) return nullptr;
      it = node->children.emplace(part, std::make_unique<Node>()).first;
    }
    node = it->second.get();
  }
  return node;
}

bool FakeRegistry::KeyExists(const RegKey& key) { return Find(key, false) != nullptr; }
bool FakeRegistry::CreateKey(const RegKey& key) { return Find(key, true) != nullptr; }

std::optional<RegValue> FakeRegistry::QueryValue(const RegKey& key, std::string_view name) {
  Node* node = Find(key, false);
  if (!node) return std::nullopt;
  for (const auto& v : node->values)
    if (EqualsIgnoreCase(v.name, name)) return v.value;
  return std::nullopt;
}

bool FakeRegistry::SetValue(const RegKey& key, std::string_view name, const RegValue& value) {
  Node* node = Find(key, false);
  if (!node) return false;
  if (++writes_ == failWriteAt_) return false;
  for (auto& v : node->values) {
    if (EqualsIgnoreCase(v.name, name)) {
      v.value = value;  // keeps its place and the case it was created with
      return true;
    }
  }
  node->values.push_back({std::string(name), value});
  return true;
}

bool FakeRegistry::EnumSubkeys(const RegKey& key, std::vector<std::string>& names) {
  names.clear();
  Node* node = Find(key, false);
  if (!node) return false;
  for (const auto& [name, child] : node->children) names.push_back(name);
  return true;
}

bool FakeRegistry::EnumValues(const RegKey& key, std::vector<RegNamedValue>& values) {
  values.clear();
  Node* node = Find(key, false);
  if (!node) return false;
  values = node->values;
  return true;
}

bool FakeRegistry::DeleteValue(const RegKey& key, std::string_view name) {
  Node* node = Find(key, false);
  if (!node) return false;
  for (auto it = node->values.begin(); it != node->values.end(); ++it) {
    if (EqualsIgnoreCase(it->name, name)) {
      node->values.erase(it);
      return true;
    }
  }
  return false;
}

bool FakeRegistry::DeleteTree(const RegKey& key) {
  if (failAll_) return false;
  auto parts = SplitPath(key.path);
  if (parts.empty()) return false;
  std::string last = parts.back();
  parts.pop_back();
  std::string parentPath;
  for (const auto& p : parts) parentPath += (parentPath.empty() ? "" : "\\") + p;
  RegKey parentKey = key;
  parentKey.path = parentPath;
  Node* parent = Find(parentKey, false);
  if (!parent) return false;
  return parent->children.erase(last) > 0;
}

std::vector<std::pair<std::string, RegValue>> FakeRegistry::Values(const std::string& path) {
  std::vector<RegNamedValue> values;
  EnumValues(Hklm(path), values);
  std::vector<std::pair<std::string, RegValue>> out;
  for (auto& v : values) out.emplace_back(v.name, v.value);
  return out;
}

void FakeRegistry::SetSz(const std::string& path, const std::string& name, const std::string& text) {
  CreateKey(Hklm(path));
  SetValue(Hklm(path), name, RegValue::Sz(text));
}

std::string FakeRegistry::GetSz(const std::string& path, const std::string& name) {
  auto v = QueryValue(Hklm(path), name);
  return v && v->IsText() ? v->text : "";
}

}  // namespace vx
