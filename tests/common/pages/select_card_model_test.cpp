// The adapter-choice dialog's model: the four facts of the chosen device behind their labels from
// the string table, in either language, following the selection.
#include "common/pages/select_card_model.h"

#include <gtest/gtest.h>

#include "resources/strings/string_tables.h"

namespace vx {
namespace {

std::vector<NetDevice> TwoCards() {
  NetDevice a;
  a.friendlyName = "Arventa PCI";
  a.description = "Wireless LAN 0007";
  a.hardwareId = "PCI\\VEN_1A5C&DEV_0C31";
  a.location = "PCI bus 2, device 4";
  a.manufacturer = "Arventa";
  NetDevice b;
  b.description = "Wireless LAN 0011";
  b.hardwareId = "USB\\VID_1A5C&PID_D402";
  b.location = "Port_#0001.Hub_#0003";
  b.manufacturer = "Arventa USB";
  return {a, b};
}

TEST(SelectCardModel, LabelsComeFromTheTableAndFollowTheSelection) {
  SelectCardDialog cards(TwoCards());
  SelectCardDialogModel model(cards, ChineseStrings());
  model.OnInit();
  EXPECT_EQ(model.Control(SelectCardDialogModel::kCardCombo).items,
            (std::vector<std::string>{"Arventa PCI", "Wireless LAN 0011"}));
  EXPECT_EQ(model.Control(SelectCardDialogModel::kCardCombo).selection, 0);
  EXPECT_EQ(model.Control(SelectCardDialogModel::kDescription).text,
            ChineseStrings().Get(IDS_DEVICE_DESCRIPTION) + "Wireless LAN 0007");
  EXPECT_EQ(model.Control(SelectCardDialogModel::kLocation).text,
            ChineseStrings().Get(IDS_LOCATION_INFORMATION) + "PCI bus 2, device 4");

  model.Control(SelectCardDialogModel::kCardCombo).selection = 1;
  model.OnCommand(SelectCardDialogModel::kCardCombo, UiEvent::SelectionChanged);
  EXPECT_EQ(model.Control(SelectCardDialogModel::kHardwareId).text,
            ChineseStrings().Get(IDS_HARDWARE_ID) + "USB\\VID_1A5C&PID_D402");
  EXPECT_EQ(model.Control(SelectCardDialogModel::kManufacturer).text,
            ChineseStrings().Get(IDS_MANUFACTURER) + "Arventa USB");
  EXPECT_TRUE(model.Control(SelectCardDialogModel::kManufacturer).readOnly);
}

TEST(SelectCardModel, EnglishLabelsReadAsTheSystemWritesThem) {
  SelectCardDialog cards(TwoCards());
  SelectCardDialogModel model(cards, EnglishStrings());
  model.OnInit();
  EXPECT_EQ(model.Control(SelectCardDialogModel::kDescription).text,
            "Device Description : Wireless LAN 0007");
  EXPECT_EQ(model.Control(SelectCardDialogModel::kHardwareId).text, "Hardware ID : PCI\\VEN_1A5C&DEV_0C31");
  EXPECT_EQ(model.Control(SelectCardDialogModel::kLocation).text,
            "Location Infoamation : PCI bus 2, device 4");
  EXPECT_EQ(model.Control(SelectCardDialogModel::kManufacturer).text, "Manufactory : Arventa");
}

}  // namespace
}  // namespace vx
