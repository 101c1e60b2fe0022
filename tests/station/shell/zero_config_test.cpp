#include "station/shell/zero_config.h"

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "fakes/fake_services.h"

namespace vx {
namespace {

const std::string kGuid = "{11111111-2222-3333-4444-555555555555}";

struct ZeroConfigTest : ::testing::Test {
  FakeServices services;
  FakeRegistry reg;
  ZeroConfig zc{services, reg};
  RegKey iface = Hklm(ZeroConfig::InterfaceKey(kGuid));
  void Running() { services.services["WZCSVC"] = {kServiceRunning, kServiceAutoStart}; }
};

TEST_F(ZeroConfigTest, StateFollowsServiceAndControlFlag) {
  EXPECT_EQ(zc.ZeroConfigState(8, kGuid), kZeroConfigOff);  // no such service
  Running();
  EXPECT_EQ(zc.ZeroConfigState(7, kGuid), kZeroConfigOff);  // 2000 family: never
  EXPECT_EQ(zc.ZeroConfigState(8, kGuid), kZeroConfigControls);  // no interface key
  reg.CreateKey(iface);
  EXPECT_EQ(zc.ZeroConfigState(8, kGuid), kZeroConfigIdle);  // flags unreadable
  reg.SetValue(iface, "ControlFlags", RegValue::Dword(0x0001));
  EXPECT_EQ(zc.ZeroConfigState(8, kGuid), kZeroConfigIdle);
  reg.SetValue(iface, "ControlFlags", RegValue::Dword(0x8001));
  EXPECT_EQ(zc.ZeroConfigState(11, kGuid), kZeroConfigControls);
  services.services["WZCSVC"].state = kServiceStopPending;
  EXPECT_EQ(zc.ZeroConfigState(8, kGuid), kZeroConfigOff);
}

TEST_F(ZeroConfigTest, StopSetsManualStartOnlyWhenAsked) {
  Running();
  zc.StopZeroConfig(false);
  EXPECT_EQ(services.log, std::vector<std::string>{"stop WZCSVC"});
  services.log.clear();
  zc.StopZeroConfig(true);  // already stopped: no stop control, only the start type
  EXPECT_EQ(services.log, std::vector<std::string>{"type WZCSVC 3"});
  services.services.clear();
  services.log.clear();
  zc.StopZeroConfig(true);  // no service at all: silently nothing
  EXPECT_TRUE(services.log.empty());
}

TEST_F(ZeroConfigTest, EnableSetsTheFlagRestartsAndSetsAutomaticStart) {
  Running();
  reg.CreateKey(iface);
  reg.SetValue(iface, "ControlFlags", RegValue::Dword(0x0003));
  zc.EnableZeroConfig(8, false, kGuid);
  EXPECT_EQ(reg.QueryValue(iface, "ControlFlags")->dword, 0x8003u);
  EXPECT_EQ(services.log, (std::vector<std::string>{"stop WZCSVC", "start WZCSVC", "type WZCSVC 2"}));
  EXPECT_EQ(services.services["WZCSVC"].state, kServiceRunning);
}

TEST_F(ZeroConfigTest, EnableWithFlagAlreadySetDoesNotStopTheService) {
  Running();
  reg.CreateKey(iface);
  reg.SetValue(iface, "ControlFlags", RegValue::Dword(0x8000));
  zc.EnableZeroConfig(8, false, kGuid);
  EXPECT_EQ(services.log, std::vector<std::string>{"type WZCSVC 2"});
}

// A registry failure ends the operation there: the service is neither started nor set to start.
TEST_F(ZeroConfigTest, EnableStopsAtARegistryFailure) {
  for (bool failing : {false, true}) {
    services.services["WZCSVC"] = {kServiceStopped, kServiceDemandStart};
    services.log.clear();
    reg.CreateKey(iface);  // without "ControlFlags", or a registry that fails every call
    reg.FailAll(failing);
    zc.EnableZeroConfig(8, false, kGuid);
    EXPECT_TRUE(services.log.empty()) << failing;
  }
}

// The service may keep the flags as raw data of another size; the value goes back with its own
// type and size, only bit 15 added, and the state reads it the same way. Text is left alone.
TEST_F(ZeroConfigTest, EnableKeepsTheFlagsValueTypeAndSize) {
  const struct {
    RegValue stored;
    RegValue expected;
  } cases[] = {
      {RegValue::Binary({0x03, 0x00, 0x00, 0x00}), RegValue::Binary({0x03, 0x80, 0x00, 0x00})},
      {RegValue::Binary({0x01, 0x00, 0x00, 0x00, 0xAA, 0xBB}),
       RegValue::Binary({0x01, 0x80, 0x00, 0x00, 0xAA, 0xBB})},
      {RegValue::Binary({0x05, 0x00}, kRegDword), RegValue::Binary({0x05, 0x80}, kRegDword)},
      {RegValue::Binary({0x07}), RegValue::Binary({0x07, 0x80, 0x00, 0x00})},  // too short for bit 15
      {RegValue::Sz("1"), RegValue::Sz("1")},
  };
  for (const auto& c : cases) {
    services.services["WZCSVC"] = {kServiceStopped, kServiceDemandStart};
    reg.CreateKey(iface);
    reg.SetValue(iface, "ControlFlags", c.stored);
    zc.EnableZeroConfig(8, false, kGuid);
    EXPECT_EQ(*reg.QueryValue(iface, "ControlFlags"), c.expected)
        << c.stored.type << " " << c.stored.bytes.size();
    EXPECT_EQ(zc.ZeroConfigState(8, kGuid), c.stored.IsText() ? kZeroConfigIdle : kZeroConfigControls);
  }
}

TEST_F(ZeroConfigTest, EnableUsesThe64BitViewUnderWow64) {
  services.services["WZCSVC"] = {kServiceStopped, kServiceDemandStart};
  RegKey view64 = iface;
  view64.view64 = true;
  reg.CreateKey(view64);
  reg.SetValue(view64, "ControlFlags", RegValue::Dword(0));
  zc.EnableZeroConfig(10, true, kGuid);
  EXPECT_EQ(reg.QueryValue(view64, "ControlFlags")->dword, 0x8000u);
  EXPECT_FALSE(reg.KeyExists(iface));  // the 32-bit view was not touched
  EXPECT_EQ(services.services["WZCSVC"].startType, kServiceAutoStart);
}

}  // namespace
}  // namespace vx

#include "station/shell/startup.h"

namespace vx {
namespace {

struct RecordingProcess : ProcessPort {
  std::vector<std::string> log;
  bool Exec(const std::string&, int) override { return true; }
  std::string ProgramFolder() override { return ""; }
  bool FileReadable(const std::string&) override { return false; }
  bool RemoveFile(const std::string& p) override {
    log.push_back("del " + p);
    return false;
  }
  bool RemoveFolder(const std::string& p) override {
    log.push_back("rmdir " + p);
    return false;
  }
  bool OpenUrl(const std::string&) override { return false; }
};

struct EnvSystem : SystemPort {
  std::optional<std::string> all;
  std::optional<OsVersionInfo> GetVersion(bool) override { return std::nullopt; }
  uint16_t DefaultUiLanguage() override { return 1033; }
  std::optional<std::string> GetEnv(const std::string& n) override {
    return n == "ALLUSERSPROFILE" ? all : std::nullopt;
  }
  std::optional<bool> IsWow64Process() override { return std::nullopt; }
  bool EnableWow64FsRedirection(bool) override { return false; }
};

TEST(Startup, ShowupInAnyCase) {
  EXPECT_TRUE(IsShowupCommand("showup"));
  EXPECT_TRUE(IsShowupCommand("SHOWUP"));
  EXPECT_TRUE(IsShowupCommand(" ShowUp "));
  EXPECT_FALSE(IsShowupCommand(""));
  EXPECT_FALSE(IsShowupCommand("show"));
  EXPECT_FALSE(IsShowupCommand("showup now"));
}

TEST(Startup, ShortcutsGoOnlyFromXpOnWithTheLanguagesPaths) {
  RecordingProcess p;
  EnvSystem sys;
  sys.all = "C:\\Documents and Settings\\All Users";
  CleanStartMenuShortcuts(p, sys, 7, 1033);  // the 2000 family keeps them
  EXPECT_TRUE(p.log.empty());
  CleanStartMenuShortcuts(p, sys, 8, 1033);
  ASSERT_EQ(p.log.size(), 3u);
  EXPECT_EQ(p.log[0],
            "del C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Veltrix Wireless\\Veltrix Wireless "
            "Utility.lnk");
  EXPECT_EQ(p.log[1], "rmdir C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Veltrix Wireless");
  p.log.clear();
  CleanStartMenuShortcuts(p, sys, 11, 1028);
  ASSERT_EQ(p.log.size(), 3u);
  EXPECT_NE(p.log[2].find("\\「開始」功能表\\程式集\\啟動\\"), std::string::npos);
  p.log.clear();
  sys.all.reset();
  CleanStartMenuShortcuts(p, sys, 11, 1033);
  EXPECT_TRUE(p.log.empty());
}

}  // namespace
}  // namespace vx
