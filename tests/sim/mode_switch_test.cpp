#include "sim/modeswitch/mode_switch.h"

#include <gtest/gtest.h>

namespace vx::sim {
namespace {

class FakeSystem : public ModeSwitchSystem {
 public:
  int heldFor = 0;  // polls until the starter is gone
  bool startOk = true;
  std::vector<std::string> started;
  bool MutexHeld(const std::string& name) override { return name == "KC30" && heldFor-- > 0; }
  bool Start(const std::string& program) override {
    started.push_back(program);
    return startOk;
  }
  void SleepMs(uint32_t) override {}
};

TEST(ModeSwitchTest, BothCommandLinesStartTheOtherUtilityAfterTheStarterEnds) {
  auto on = ParseModeSwitch(SplitCommandLine("ON ClientCfg HotspotCfg \"Veltrix Wireless\" PCI"));
  ASSERT_TRUE(on);
  EXPECT_EQ(on->folder, "Veltrix Wireless");
  EXPECT_EQ(on->bus, "PCI");
  FakeSystem sys;
  sys.heldFor = 5;
  EXPECT_EQ(RunModeSwitch(*on, sys), ModeSwitchResult::Started);
  EXPECT_EQ(sys.started, std::vector<std::string>{"HotspotCfg.exe"});

  auto off = ParseModeSwitch(SplitCommandLine("OFF ClientCfg HotspotCfg \"Veltrix Wireless\" PCI"));
  ASSERT_TRUE(off);
  EXPECT_EQ(off->ProgramToStart(), "ClientCfg.exe");
}

TEST(ModeSwitchTest, RefusesBadArgumentsAndGivesUpOnAStarterThatStays) {
  EXPECT_FALSE(ParseModeSwitch(SplitCommandLine("MAYBE ClientCfg HotspotCfg")));
  EXPECT_FALSE(ParseModeSwitch(SplitCommandLine("ON ClientCfg")));
  EXPECT_FALSE(ParseModeSwitch(SplitCommandLine("ON ..\\evil HotspotCfg")));
  FakeSystem sys;
  sys.heldFor = 1000;
  EXPECT_EQ(RunModeSwitch(*ParseModeSwitch({"ON", "a", "b"}), sys, 500), ModeSwitchResult::StarterStillRunning);
  EXPECT_TRUE(sys.started.empty());
}

}  // namespace
}  // namespace vx::sim
