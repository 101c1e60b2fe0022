// The fake registry stands in for Windows in every settings test, so its semantics are pinned.
#include "fakes/fake_registry.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(FakeRegistry, NamesIgnoreCaseButKeepTheirSpelling) {
  FakeRegistry reg;
  ASSERT_TRUE(reg.CreateKey(Hklm("Software\\Vendor\\Key")));
  EXPECT_TRUE(reg.KeyExists(Hklm("SOFTWARE\\vendor\\KEY")));
  ASSERT_TRUE(reg.SetValue(Hklm("software\\VENDOR\\key"), "WirelessMode", RegValue::Sz("4")));
  ASSERT_TRUE(reg.SetValue(Hklm("software\\vendor\\key"), "wirelessmode", RegValue::Sz("1")));
  std::vector<RegNamedValue> values;
  ASSERT_TRUE(reg.EnumValues(Hklm("Software\\Vendor\\Key"), values));
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, "WirelessMode");
  EXPECT_EQ(values[0].value.text, "1");
}

TEST(FakeRegistry, EnumerationOrderAndTypes) {
  FakeRegistry reg;
  RegKey k = Hklm("A");
  reg.CreateKey(k);
  reg.SetValue(k, "zeta", RegValue::Sz("z"));
  reg.SetValue(k, "alpha", RegValue::Dword(7));
  reg.SetValue(k, "list", RegValue::MultiSz({}));
  reg.SetValue(k, "raw", RegValue::Binary({1, 2, 3}));
  std::vector<RegNamedValue> values;
  reg.EnumValues(k, values);
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].name, "zeta");  // creation order
  EXPECT_EQ(values[1].value.type, kRegDword);
  EXPECT_EQ(values[2].value.type, kRegMultiSz);
  EXPECT_EQ(values[3].value.bytes, (std::vector<uint8_t>{1, 2, 3}));

  reg.CreateKey(SubKey(k, "beta"));
  reg.CreateKey(SubKey(k, "Alpha"));
  reg.CreateKey(SubKey(k, "gamma"));
  std::vector<std::string> names;
  reg.EnumSubkeys(k, names);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
}

TEST(FakeRegistry, SetNeedsAnExistingKeyAndDeleteTreeRemovesSubkeys) {
  FakeRegistry reg;
  EXPECT_FALSE(reg.SetValue(Hklm("Missing"), "x", RegValue::Sz("1")));
  reg.CreateKey(Hklm("P\\Q\\R"));
  reg.SetValue(Hklm("P\\Q\\R"), "x", RegValue::Sz("1"));
  EXPECT_TRUE(reg.DeleteTree(Hklm("p\\q")));
  EXPECT_FALSE(reg.KeyExists(Hklm("P\\Q\\R")));
  EXPECT_TRUE(reg.KeyExists(Hklm("P")));
  EXPECT_FALSE(reg.DeleteValue(Hklm("P"), "nothing"));
  EXPECT_FALSE(reg.QueryValue(Hklm("P"), "x"));
  // The 64-bit view is a separate tree.
  RegKey v64 = Hklm("P");
  v64.view64 = true;
  EXPECT_FALSE(reg.KeyExists(v64));
}

}  // namespace
}  // namespace vx
