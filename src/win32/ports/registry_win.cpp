#include <windows.h>
#include <shlwapi.h>

#include "win32/ports/wide.h"
#include "win32/ports/win32_ports.h"

namespace vx {
namespace {

HKEY HiveHandle(Hive h) { return h == Hive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
REGSAM View(const RegKey& k) { return k.view64 ? KEY_WOW64_64KEY : 0; }

// Closes the key when it leaves scope.
struct Key {
  HKEY h = nullptr;
  ~Key() {
    if (h) RegCloseKey(h);
  }
};

bool OpenKey(const RegKey& k, REGSAM access, Key& out) {
  return RegOpenKeyExW(HiveHandle(k.hive), WidenBytes(k.path).c_str(), 0, access | View(k), &out.h) ==
         ERROR_SUCCESS;
}

std::vector<uint8_t> EncodeData(const RegValue& v) {
  auto fromWide = [](const std::wstring& w) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(w.c_str());
    return std::vector<uint8_t>(p, p + (w.size() + 1) * sizeof(wchar_t));
  };
  switch (v.type) {
    case kRegSz:
    case kRegExpandSz:
      return fromWide(WidenBytes(v.text));
    case kRegDword:
      if (!v.bytes.empty()) return v.bytes;  // a DWORD of another size, kept raw
      return {static_cast<uint8_t>(v.dword), static_cast<uint8_t>(v.dword >> 8), static_cast<uint8_t>(v.dword >> 16),
              static_cast<uint8_t>(v.dword >> 24)};
    case kRegMultiSz: {
      std::wstring all;
      for (const auto& s : v.strings) {
        all += WidenBytes(s);
        all.push_back(L'\0');
      }
      // An empty list is stored as a single NUL; otherwise the list ends with an extra NUL.
      if (v.strings.empty()) return fromWide(L"");
      return fromWide(all);
    }
    default:
      return v.bytes;
  }
}

RegValue DecodeData(DWORD type, const std::vector<uint8_t>& data) {
  auto toWide = [&]() {
    std::wstring w(data.size() / sizeof(wchar_t), L'\0');
    if (!w.empty()) memcpy(w.data(), data.data(), w.size() * sizeof(wchar_t));
    return w;
  };
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::wstring w = toWide();
      size_t nul = w.find(L'\0');  // stored text need not be terminated; stop at the first NUL if present
      if (nul != std::wstring::npos) w.resize(nul);
      RegValue v = RegValue::Sz(NarrowBytes(w));
      v.type = type;
      return v;
    }
    case REG_DWORD: {
      // Only a four-byte value is a DWORD; any other size stays raw so it is written back as read.
      if (data.size() != 4) return RegValue::Binary(data, type);
      return RegValue::Dword(data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24));
    }
    case REG_MULTI_SZ: {
      std::wstring w = toWide();
      std::vector<std::string> list;
      size_t start = 0;
      while (start < w.size()) {
        size_t end = w.find(L'\0', start);
        if (end == std::wstring::npos) end = w.size();
        if (end == start) break;  // the terminating empty string
        list.push_back(NarrowBytes(w.substr(start, end - start)));
        start = end + 1;
      }
      return RegValue::MultiSz(std::move(list));
    }
    default:
      return RegValue::Binary(data, type);
  }
}

std::optional<RegValue> QueryOpen(HKEY h, const std::wstring& name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(h, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  // Read the whole value, however large; retry if it grew in between.
  for (int tries = 0; tries < 4; ++tries) {
    std::vector<uint8_t> data(size);
    DWORD got = size;
    LONG r = RegQueryValueExW(h, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &got);
    if (r == ERROR_SUCCESS) {
      data.resize(got);
      return DecodeData(type, data);
    }
    if (r != ERROR_MORE_DATA) return std::nullopt;
    size = got;
  }
  return std::nullopt;
}

}  // namespace

bool Win32Registry::KeyExists(const RegKey& key) {
  Key k;
  return OpenKey(key, KEY_READ, k);
}

bool Win32Registry::CreateKey(const RegKey& key) {
  Key k;
  return RegCreateKeyExW(HiveHandle(key.hive), WidenBytes(key.path).c_str(), 0, nullptr, 0,
                         KEY_ALL_ACCESS | View(key), nullptr, &k.h, nullptr) == ERROR_SUCCESS;
}

std::optional<RegValue> Win32Registry::QueryValue(const RegKey& key, std::string_view name) {
  Key k;
  if (!OpenKey(key, KEY_READ, k)) return std::nullopt;
  return QueryOpen(k.h, WidenBytes(name));
}

bool Win32Registry::SetValue(const RegKey& key, std::string_view name, const RegValue& value) {
  Key k;
  if (!OpenKey(key, KEY_SET_VALUE, k)) return false;
  std::vector<uint8_t> data = EncodeData(value);
  return RegSetValueExW(k.h, WidenBytes(name).c_str(), 0, value.type, data.empty() ? nullptr : data.data(),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool Win32Registry::EnumSubkeys(const RegKey& key, std::vector<std::string>& names) {
  names.clear();
  Key k;
  if (!OpenKey(key, KEY_READ, k)) return false;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD len = 256;
    LONG r = RegEnumKeyExW(k.h, i, name, &len, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) return true;
    if (r != ERROR_SUCCESS) return false;
    names.push_back(NarrowBytes(std::wstring_view(name, len)));
  }
}

bool Win32Registry::EnumValues(const RegKey& key, std::vector<RegNamedValue>& values) {
  values.clear();
  Key k;
  if (!OpenKey(key, KEY_READ, k)) return false;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD len = 16384;
    LONG r = RegEnumValueW(k.h, i, name, &len, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) return true;
    if (r != ERROR_SUCCESS) return false;
    std::wstring wname(name, len);
    auto v = QueryOpen(k.h, wname);
    if (v) values.push_back({NarrowBytes(wname), std::move(*v)});
  }
}

bool Win32Registry::DeleteValue(const RegKey& key, std::string_view name) {
  Key k;
  if (!OpenKey(key, KEY_SET_VALUE, k)) return false;
  return RegDeleteValueW(k.h, WidenBytes(name).c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteTree(const RegKey& key) {
  if (key.path.empty()) return false;
  if (key.view64) {
    // SHDeleteKey has no view flag: open the key in the 64-bit view and delete beneath it.
    Key k;
    if (!OpenKey(key, KEY_ALL_ACCESS, k)) return false;
    std::vector<std::string> children;
    EnumSubkeys(key, children);
    for (const auto& c : children) DeleteTree(SubKey(key, c));
    size_t slash = key.path.rfind('\\');
    RegKey parent = key;
    parent.path = slash == std::string::npos ? "" : key.path.substr(0, slash);
    std::string leaf = slash == std::string::npos ? key.path : key.path.substr(slash + 1);
    Key p;
    if (!OpenKey(parent, KEY_ALL_ACCESS, p)) return false;
    // RegDeleteKeyEx (the only call that deletes in a chosen view) is missing before XP x64.
    using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
    auto deleteEx = reinterpret_cast<DeleteKeyEx>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegDeleteKeyExW")));
    if (!deleteEx) return RegDeleteKeyW(p.h, WidenBytes(leaf).c_str()) == ERROR_SUCCESS;
    return deleteEx(p.h, WidenBytes(leaf).c_str(), KEY_WOW64_64KEY, 0) == ERROR_SUCCESS;
  }
  return SHDeleteKeyW(HiveHandle(key.hive), WidenBytes(key.path).c_str()) == ERROR_SUCCESS;
}

}  // namespace vx
