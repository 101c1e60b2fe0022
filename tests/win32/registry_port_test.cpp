// The Win32 registry port against the real (Wine's) registry.
#include "platform/registry.h"
#include "tests/win32/check.h"
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

int main() { return vx::check::RunAll(); }
