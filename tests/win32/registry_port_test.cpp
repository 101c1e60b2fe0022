// The Win32 registry port against the real (Wine's) registry.
#include <windows.h>

#include "platform/registry.h"
#include "tests/win32/check.h"
#include "win32/ports/wide.h"
#include "win32/ports/win32_ports.h"

using namespace vx;

namespace {

const RegKey kRoot = Hklm("Software\\ArventaPortTest");

struct Fresh {
  Win32Registry reg;
  Fresh() { reg.DeleteTree(kRoot); }
  ~Fresh() { reg.DeleteTree(kRoot); }
};

}  // namespace

TEST_CASE("create nested keys and find them without regard to case") {
  Fresh f;
  CHECK(!f.reg.KeyExists(kRoot));
  CHECK(f.reg.CreateKey(SubKey(kRoot, "Profile\\Station\\Home")));
  CHECK(f.reg.KeyExists(Hklm("SOFTWARE\\arventaporttest\\PROFILE\\station\\home")));
  CHECK(!f.reg.SetValue(SubKey(kRoot, "Missing"), "x", RegValue::Sz("1")));
}

TEST_CASE("typed values round-trip exactly") {
  Fresh f;
  f.reg.CreateKey(kRoot);
  std::string longText(300, 'p');  // longer than any fixed reader buffer
  std::string chinese = "\xE8\xA8\xAD\xE5\xAE\x9A";  // UTF-8 text survives the wide boundary
  CHECK(f.reg.SetValue(kRoot, "WirelessMode", RegValue::Sz("4")));
  CHECK(f.reg.SetValue(kRoot, "LeapPassword", RegValue::Sz(longText)));
  CHECK(f.reg.SetValue(kRoot, "Name", RegValue::Sz(chinese)));
  CHECK(f.reg.SetValue(kRoot, "Flags", RegValue::Dword(0x80000001u)));
  CHECK(f.reg.SetValue(kRoot, "List", RegValue::MultiSz({"00-11-22-33-44-55", "AA-BB-CC-DD-EE-FF"})));
  CHECK(f.reg.SetValue(kRoot, "Empty", RegValue::MultiSz({})));
  CHECK(f.reg.SetValue(kRoot, "Raw", RegValue::Binary({0, 1, 2, 0xFF})));
  CHECK(f.reg.SetValue(kRoot, "EmptyText", RegValue::Sz("")));

  auto mode = f.reg.QueryValue(Hklm("software\\ArventaPortTest"), "wirelessmode");
  CHECK(mode && mode->type == kRegSz && mode->text == "4");
  auto leap = f.reg.QueryValue(kRoot, "LeapPassword");
  CHECK(leap && leap->text == longText);
  auto name = f.reg.QueryValue(kRoot, "Name");
  CHECK(name && name->text == chinese);
  auto flags = f.reg.QueryValue(kRoot, "Flags");
  CHECK(flags && flags->type == kRegDword && flags->dword == 0x80000001u);
  auto list = f.reg.QueryValue(kRoot, "List");
  CHECK(list && list->type == kRegMultiSz && list->strings.size() == 2 && list->strings[1] == "AA-BB-CC-DD-EE-FF");
  auto empty = f.reg.QueryValue(kRoot, "Empty");
  CHECK(empty && empty->type == kRegMultiSz && empty->strings.empty());
  auto raw = f.reg.QueryValue(kRoot, "Raw");
  CHECK(raw && raw->type == kRegBinary && raw->bytes == std::vector<uint8_t>({0, 1, 2, 0xFF}));
  auto emptyText = f.reg.QueryValue(kRoot, "EmptyText");
  CHECK(emptyText && emptyText->type == kRegSz && emptyText->text.empty());
  CHECK(!f.reg.QueryValue(kRoot, "Absent"));
}

TEST_CASE("enumerate subkeys and values, delete a value") {
  Fresh f;
  f.reg.CreateKey(SubKey(kRoot, "beta"));
  f.reg.CreateKey(SubKey(kRoot, "Alpha"));
  f.reg.SetValue(kRoot, "One", RegValue::Sz("1"));
  f.reg.SetValue(kRoot, "Two", RegValue::Dword(2));
  std::vector<std::string> keys;
  CHECK(f.reg.EnumSubkeys(kRoot, keys));
  CHECK(keys.size() == 2);
  bool alpha = false, beta = false;
  for (const auto& k : keys) {
    alpha |= k == "Alpha";
    beta |= k == "beta";
  }
  CHECK(alpha && beta);
  std::vector<RegNamedValue> values;
  CHECK(f.reg.EnumValues(kRoot, values));
  CHECK(values.size() == 2);
  CHECK(f.reg.DeleteValue(kRoot, "one"));
  CHECK(!f.reg.DeleteValue(kRoot, "one"));
  CHECK(f.reg.EnumValues(kRoot, values) && values.size() == 1 && values[0].name == "Two");
  CHECK(!f.reg.EnumSubkeys(SubKey(kRoot, "nothing"), keys));
}

TEST_CASE("delete a key with its subkeys") {
  Fresh f;
  f.reg.CreateKey(SubKey(kRoot, "Profile\\Station\\A"));
  f.reg.CreateKey(SubKey(kRoot, "Profile\\Station\\B"));
  f.reg.SetValue(SubKey(kRoot, "Profile\\Station\\A"), "SSID", RegValue::Sz("a"));
  CHECK(f.reg.DeleteTree(SubKey(kRoot, "Profile")));
  CHECK(!f.reg.KeyExists(SubKey(kRoot, "Profile\\Station\\A")));
  CHECK(f.reg.KeyExists(kRoot));
  CHECK(!f.reg.DeleteTree(SubKey(kRoot, "Profile")));
}

namespace {

// The UTF-16 units Windows holds for a value, read past the port.
std::wstring StoredUnits(const RegKey& key, const wchar_t* name) {
  HKEY h = nullptr;
  std::wstring out;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WidenBytes(key.path).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
    return out;
  wchar_t data[128] = {};
  DWORD size = sizeof data - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS)
    out.assign(data, size / sizeof(wchar_t));
  RegCloseKey(h);
  while (!out.empty() && out.back() == L'\0') out.pop_back();
  return out;
}

}  // namespace

// A network name is any 0..32 bytes. UTF-8 text is stored as the text it is (so profiles written
// before read as they did); each other byte, and a NUL, as U+DC00 + byte, and back exactly.
TEST_CASE("text values and key names keep any bytes, UTF-8 stored as text") {
  Fresh f;
  f.reg.CreateKey(kRoot);
  const std::string big5 = "\xB5\x4C\xBD\x75 AP";
  const std::string latin1 = "Caf\xE9";
  const std::string controls = std::string(
      "a\x01\tb\x00"
      "c",
      6);
  const std::string ff(32, '\xFF');
  const std::string utf8 = "Caf\xC3\xA9 \xE7\x84\xA1\xE7\xB7\x9A \xF0\x9F\x93\xB6";  // with a pair
  const std::string surrogateBytes = "\xED\xB3\xBF";  // U+DCFF written as UTF-8 is no UTF-8
  for (const std::string& text : {big5, latin1, controls, ff, utf8, surrogateBytes}) {
    CHECK(f.reg.SetValue(kRoot, "SSID", RegValue::Sz(text)));
    auto back = f.reg.QueryValue(kRoot, "SSID");
    CHECK(back && back->type == kRegSz && back->text == text);
    CHECK(f.reg.SetValue(kRoot, "List", RegValue::MultiSz({text, "x"})));
    auto list = f.reg.QueryValue(kRoot, "List");
    CHECK(list && list->strings == std::vector<std::string>({text, "x"}));
  }
  f.reg.SetValue(kRoot, "Utf8", RegValue::Sz(utf8));
  CHECK(StoredUnits(kRoot, L"Utf8") == L"Caf\u00E9 \u7121\u7DDA \xD83D\xDCF6");
  f.reg.SetValue(kRoot, "Latin1", RegValue::Sz(latin1));
  CHECK(StoredUnits(kRoot, L"Latin1") == L"Caf\xDCE9");
  f.reg.SetValue(kRoot, "Nul", RegValue::Sz(std::string("a\0b", 3)));
  CHECK(StoredUnits(kRoot, L"Nul") ==
        L"a\xDC00"
        L"b");

  // A key named with such bytes is found again, listed with them and deleted.
  RegKey odd = SubKey(kRoot, latin1);
  CHECK(f.reg.CreateKey(odd));
  CHECK(f.reg.KeyExists(odd));
  std::vector<std::string> names;
  CHECK(f.reg.EnumSubkeys(kRoot, names) && names == std::vector<std::string>{latin1});
  CHECK(f.reg.DeleteTree(odd));
  CHECK(!f.reg.KeyExists(odd));
}

// A DWORD of another size than four bytes stays raw, so it is written back as it was read.
TEST_CASE("a DWORD of another size keeps its size") {
  Fresh f;
  f.reg.CreateKey(kRoot);
  CHECK(f.reg.SetValue(kRoot, "Short", RegValue::Binary({0x05, 0x80}, kRegDword)));
  auto v = f.reg.QueryValue(kRoot, "Short");
  CHECK(v && v->type == kRegDword && v->bytes == std::vector<uint8_t>({0x05, 0x80}));
  auto whole = f.reg.QueryValue(kRoot, "Short");
  CHECK(f.reg.SetValue(kRoot, "Copy", *whole));
  auto copy = f.reg.QueryValue(kRoot, "Copy");
  CHECK(copy && *copy == *whole);
}

int main() { return vx::check::RunAll(); }
