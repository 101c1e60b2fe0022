// The access control and WDS pages: the MAC check, the list limits, the in-place editor, and
// what APPLY stores and sends.
#include <gtest/gtest.h>

#include "resources/dialogs/ap_access_control_page.h"
#include "resources/dialogs/ap_wds_page.h"
#include "softap/acl_wds/mac_list_page.h"
#include "softap/ap_page_fixture.h"
#include "softap/config/hex_input_filter.h"

namespace vx {
namespace {

struct AclTest : ::testing::Test, test::ApPageFixture {
  CAccessControlPage page{Context()};
  void SetUp() override { page.OnInit(); }
  void Type(const std::string& mac) {
    page.Control(kIdcAclMac).text = mac;
    page.OnCommand(kIdcAclMac, UiEvent::TextChanged);
  }
  void Click(int id) { page.OnCommand(id, UiEvent::Clicked); }
  void Policy(int p) {
    page.Control(kIdcAclPolicy).selection = p;
    page.OnCommand(kIdcAclPolicy, UiEvent::SelectionChanged);
  }
  AccessControlRecord Sent() { return DecodeAccessControl(drv.SetsOf(VX_OID_802_11_SET_ACL).back()); }
};

TEST(HexInputFilter, AcceptsDigitsHexLettersXAndControlKeys) {
  for (char c : std::string("09afAFxX\b")) EXPECT_TRUE(AcceptHexDigitKey(static_cast<uint8_t>(c))) << c;
  for (char c : std::string("gG -:z")) EXPECT_FALSE(AcceptHexDigitKey(static_cast<uint8_t>(c))) << c;
  EXPECT_EQ(FilterHexInput("00:aa-GG bb112233445566", 12), "00aabb112233");
}

TEST_F(AclTest, MacCheckRefusesShortMulticastAndNonHexAddresses) {
  EXPECT_EQ(page.Control(kIdcAclMac).maxLength, 12);  // the edits take twelve digits at most
  EXPECT_EQ(page.Control(kIdcAclEdit).maxLength, 12);
  Policy(1);
  EXPECT_TRUE(page.Control(kIdcAclAdd).enabled);
  Type("00AABBCCDDE");
  Click(kIdcAclAdd);
  Type("01AABBCCDDEE");
  Click(kIdcAclAdd);
  Type("00AABBCCDDEX");
  Click(kIdcAclAdd);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Invalid MAC", "Multicast MAC Not Accepted", "Invalid MAC"}));
  EXPECT_EQ(ui.boxes[1].caption, "AP Error Message");
  EXPECT_EQ(ui.boxes[1].flags, kMbOk | kMbIconError);
  EXPECT_TRUE(page.Entries().empty());
  Type("00AABBCCDDEE");
  Click(kIdcAclAdd);
  Type("00aabbccddee");
  Click(kIdcAclAdd);
  EXPECT_EQ(page.Entries(), (std::vector<std::string>{"00-AA-BB-CC-DD-EE"}));
  EXPECT_EQ(ui.boxes.back().text, "Duplicated MAC");
}

TEST_F(AclTest, AddStopsAt32AndDeleteEnablesItAgain) {
  Policy(2);
  for (int i = 0; i < 32; ++i) {
    char b[13];
    std::snprintf(b, sizeof b, "0012345678%02X", i);
    Type(b);
    Click(kIdcAclAdd);
  }
  EXPECT_EQ(page.Entries().size(), 32u);
  EXPECT_FALSE(page.Control(kIdcAclAdd).enabled);
  page.Control(kIdcAclList).selection = 7;
  Click(kIdcAclDelete);
  EXPECT_EQ(page.Entries().size(), 31u);
  EXPECT_TRUE(page.Control(kIdcAclAdd).enabled);
  Policy(0);
  for (int id : {kIdcAclMac, kIdcAclList, kIdcAclAdd, kIdcAclDelete, kIdcAclRemoveAll})
    EXPECT_FALSE(page.Control(id).enabled) << id;
}

TEST_F(AclTest, ApplyWithAnEmptyListResetsThePolicyAndStoresNothing) {
  Policy(1);
  Click(kIdcAclApply);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Invalid Access Control List !"}));
  EXPECT_EQ(page.Control(kIdcAclPolicy).selection, 0);
  EXPECT_EQ(reg.GetSz(kMaster, "AccessControlPolicy"), "0");
  EXPECT_TRUE(drv.SetsOf(VX_OID_802_11_SET_ACL).empty());
}

TEST_F(AclTest, ApplyStoresTheListAndSendsPolicyZeroWhenDisabled) {
  Policy(2);
  for (const char* m : {"00AABBCCDD01", "00AABBCCDD02"}) {
    Type(m);
    Click(kIdcAclAdd);
  }
  Click(kIdcAclApply);
  EXPECT_EQ(Sent().policy, 2u);
  ASSERT_EQ(Sent().macs.size(), 2u);
  EXPECT_EQ(Sent().macs[1], (MacAddress{0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0x02}));
  EXPECT_EQ(reg.GetSz(kRoot, "AccessControlPolicy"), "2");  // copied into the working copy

  Policy(0);
  Click(kIdcAclApply);
  EXPECT_EQ(drv.SetsOf(VX_OID_802_11_SET_ACL).back(), std::vector<uint8_t>(264, 0));
  auto stored = ReadList(reg, Hklm(kMaster), "AccessControlList");
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, (std::vector<std::string>{"00AABBCCDD01", "00AABBCCDD02"}));

  // The page shows the stored list again, duplicates skipped.
  WriteList(reg, Hklm(kRoot), "AccessControlList", {"00AABBCCDD01", "00aabbccdd01", "00AABBCCDD03"});
  CAccessControlPage again(Context());
  again.OnInit();
  EXPECT_EQ(again.Entries(), (std::vector<std::string>{"00-AA-BB-CC-DD-01", "00-AA-BB-CC-DD-03"}));
}

TEST_F(AclTest, InPlaceEditorReplacesTheEntryOrKeepsOpenOnADuplicate) {
  Policy(1);
  for (const char* m : {"00AABBCCDD01", "00AABBCCDD02"}) {
    Type(m);
    Click(kIdcAclAdd);
  }
  page.Control(kIdcAclList).selection = 0;
  page.OnCommand(kIdcAclList, UiEvent::DoubleClicked);
  EXPECT_TRUE(page.Editing());
  EXPECT_EQ(page.Control(kIdcAclEdit).text, "00AABBCCDD01");
  EXPECT_TRUE(page.Control(kIdcAclEdit).visible);
  EXPECT_FALSE(page.Control(kIdcAclApply).enabled);
  EXPECT_FALSE(page.Control(kIdcAclPolicy).enabled);
  EXPECT_EQ(page.TakeFocusRequest(), kIdcAclEdit);

  page.Control(kIdcAclEdit).text = "00AABBCCDD02";
  Click(kIdcAclModify);
  EXPECT_EQ(ui.boxes.back().text, "Duplicated MAC");
  EXPECT_TRUE(page.Editing());

  page.Control(kIdcAclEdit).text = "00AABBCCDD09";
  Click(kIdcAclModify);
  EXPECT_FALSE(page.Editing());
  EXPECT_EQ(page.Entries(), (std::vector<std::string>{"00-AA-BB-CC-DD-09", "00-AA-BB-CC-DD-02"}));
  EXPECT_TRUE(page.Control(kIdcAclApply).enabled);
  EXPECT_FALSE(page.Control(kIdcAclEdit).visible);

  page.Control(kIdcAclList).selection = 1;
  page.OnCommand(kIdcAclList, UiEvent::DoubleClicked);
  page.OnCancel();
  EXPECT_FALSE(page.Editing());
  EXPECT_TRUE(page.Control(kIdcAclPolicy).enabled);
}

struct WdsTest : ::testing::Test, test::ApPageFixture {
  void Click(CWdsPage& p, int id) { p.OnCommand(id, UiEvent::Clicked); }
  void Add(CWdsPage& p, const std::string& mac) {
    p.Control(kIdcWdsMac).text = mac;
    Click(p, kIdcWdsAdd);
  }
  WdsRecord Sent() { return DecodeWds(drv.SetsOf(VX_OID_802_11_SET_WDS).back()); }
};

TEST_F(WdsTest, ThreePeersAtMostAndDisabledSendsNoPeersButKeepsTheList) {
  CWdsPage page(Context());
  page.OnInit();
  EXPECT_TRUE(page.Control(kIdcWdsEnable).checked);  // "WdsEnable" 0 is enabled
  EXPECT_EQ(page.Control(kIdcWdsMac).maxLength, 12);
  for (const char* m : {"00AABBCCDD01", "00AABBCCDD02", "00AABBCCDD03"}) Add(page, m);
  EXPECT_FALSE(page.Control(kIdcWdsAdd).enabled);
  Click(page, kIdcWdsApply);
  EXPECT_EQ(Sent().peers.size(), 3u);
  EXPECT_FALSE(Sent().key);  // AuthenType 0

  Click(page, kIdcWdsDisable);
  for (int id : {kIdcWdsMac, kIdcWdsList, kIdcWdsAdd, kIdcWdsDelete, kIdcWdsRemoveAll})
    EXPECT_FALSE(page.Control(id).enabled) << id;
  Click(page, kIdcWdsApply);
  EXPECT_EQ(drv.SetsOf(VX_OID_802_11_SET_WDS).back(), std::vector<uint8_t>(60, 0));
  EXPECT_EQ(reg.GetSz(kMaster, "WdsEnable"), "1");
  EXPECT_EQ(ReadList(reg, Hklm(kRoot), "WdsList")->size(), 3u);
}

TEST_F(WdsTest, WpaPskKeyFromTheStoredPassphraseAndNoForcedZeroOnThisPage) {
  Put("AuthenType", "7");
  Put("Encryption", "6");
  Put("WPAPSK", "bridge pass");
  WriteList(reg, Hklm(kMaster), "WdsList", {"00AABBCCDD01"});
  CWdsPage page(Context());
  page.OnInit();
  EXPECT_EQ(page.Entries(), (std::vector<std::string>{"00-AA-BB-CC-DD-01"}));
  EXPECT_EQ(ReadList(reg, Hklm(kRoot), "WdsList")->size(), 1u);  // the page start copies "ApDefault"
  Click(page, kIdcWdsApply);
  WdsRecord r = Sent();
  EXPECT_EQ(r.peers.size(), 1u);
  ASSERT_TRUE(r.key);
  EXPECT_EQ(*r.key, ApWdsKey("bridge pass"));
}

}  // namespace
}  // namespace vx
