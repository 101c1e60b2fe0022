#include "common/settings/registry_values.h"

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"

namespace vx {
namespace {

TEST(ParseDecimal, ReadsLikeAtoiWithoutOverflow) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"42", 42},          {"  -7", -7},       {"+3", 3},          {"12abc", 12},
      {"abc", 0},          {"", 0},            {"-", 0},           {"\t9", 9},
      {"2147483647", 2147483647},              {"2147483648", 2147483647},
      {"99999999999999999999", 2147483647},    {"-2147483648", -2147483647 - 1},
      {"-99999999999", -2147483647 - 1},       {"0x10", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
}

class RegistryValues : public ::testing::Test {
 protected:
  FakeRegistry reg;
  RegKey key = Hklm("A\\B");
  void SetUp() override { reg.CreateKey(key); }
};

TEST_F(RegistryValues, NumbersFallBackOnlyWhenAbsentOrNotText) {
  reg.SetValue(key, "Num", RegValue::Sz("17"));
  reg.SetValue(key, "Word", RegValue::Sz("x1"));
  reg.SetValue(key, "Dw", RegValue::Dword(5));
  reg.SetValue(key, "Bin", RegValue::Binary({1, 2}));
  EXPECT_EQ(ReadInt(reg, key, "num", 3), 17);  // names without regard to case
  EXPECT_EQ(ReadInt(reg, key, "Word", 3), 0);  // non-numeric text is 0, not the default
  EXPECT_EQ(ReadInt(reg, key, "Dw", 3), 3);
  EXPECT_EQ(ReadInt(reg, key, "Bin", 3), 3);
  EXPECT_EQ(ReadInt(reg, key, "Missing", 3), 3);
  EXPECT_EQ(ReadInt(reg, Hklm("No\\Key"), "Num", 3), 3);
}

TEST_F(RegistryValues, WordsReadFromEveryForm) {
  reg.SetValue(key, "Dw", RegValue::Dword(0x12345678));
  reg.SetValue(key, "Sz", RegValue::Sz("513"));
  reg.SetValue(key, "Bin", RegValue::Binary({0x78, 0x56, 0x34, 0x12, 0xFF}));
  reg.SetValue(key, "Short", RegValue::Binary({0x01}));
  EXPECT_EQ(ReadWord(reg, key, "Dw"), 0x12345678u);
  EXPECT_EQ(ReadWord(reg, key, "Sz"), 513u);
  EXPECT_EQ(ReadWord(reg, key, "Bin"), 0x12345678u);
  EXPECT_EQ(ReadWord(reg, key, "Short"), 1u);
  EXPECT_FALSE(ReadWord(reg, key, "Missing"));
}

TEST_F(RegistryValues, CopyCarriesEveryValueWholeWithItsType) {
  RegKey to = Hklm("A\\C");
  reg.CreateKey(to);
  std::vector<std::string> list;
  for (int i = 0; i < 32; ++i) list.push_back("00112233445" + std::to_string(i % 10));
  std::vector<uint8_t> blob(4096);
  for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<uint8_t>(i);
  reg.SetValue(key, "List", RegValue::MultiSz(list));
  reg.SetValue(key, "Empty", RegValue::MultiSz({}));
  reg.SetValue(key, "Blob", RegValue::Binary(blob));
  reg.SetValue(key, "Dw", RegValue::Dword(7));
  reg.SetValue(key, "Text", RegValue::Sz(std::string(1000, 'q')));
  ASSERT_TRUE(CopyKeyValues(reg, key, to));
  std::vector<RegNamedValue> a, b;
  reg.EnumValues(key, a);
  reg.EnumValues(to, b);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].name, b[i].name);
    EXPECT_EQ(a[i].value, b[i].value) << a[i].name;
  }
}

TEST_F(RegistryValues, CopyFailsWithoutSourceOrTarget) {
  reg.SetValue(key, "V", RegValue::Sz("1"));
  EXPECT_FALSE(CopyKeyValues(reg, key, Hklm("Nowhere")));
  EXPECT_FALSE(CopyKeyValues(reg, Hklm("Nowhere"), key));
}

}  // namespace
}  // namespace vx
