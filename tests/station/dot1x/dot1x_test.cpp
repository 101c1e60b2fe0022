#include <gtest/gtest.h>

#include "driver/oid_codes.h"
#include "fakes/code_page_strings.h"
#include "fakes/fake_device.h"
#include "fakes/fake_supplicant.h"
#include "fakes/virtual_clock.h"
#include "station/dot1x/credentials.h"
#include "station/dot1x/supplicant_context.h"

namespace vx {
namespace {

using Calls = std::vector<std::string>;

Dot1xCredentials Sample() {
  Dot1xCredentials c;
  c.identity = "alice";
  c.password = "pw";
  c.caCertificate = {0xCA, 0x00, 0x01};  // a hash byte of 0 is no end
  c.clientCertificate = {0x00, 0xC1};
  c.tunnelProtocol = 6;
  c.tunnelIdentity = "inner";
  c.tunnelPassword = "innerpw";
  c.serverSettings = "srv";
  return c;
}

TEST(UtilConfigCredentials, EachMethodMakesItsOwnCall) {
  const struct {
    uint32_t method;
    const char* call;
  } cases[] = {
      {kAcCredLeap, "ConfigLeap(alice,pw)"},
      {kAcCredMd5, "ConfigMd5(alice,pw)"},
      {kAcCredPeap, "ConfigPeap(alice,CA0001,00C1,6,inner,innerpw,srv)"},
      {kAcCredPeapGtc, "ConfigPeap(alice,CA0001,00C1,6,inner,innerpw,srv)"},
      {kAcCredTtls, "ConfigTtls(alice,CA0001,00C1,6,inner,innerpw,srv)"},
      {kAcCredTls, "ConfigTls(alice,CA0001,00C1,srv)"},
  };
  for (const auto& c : cases) {
    FakeSupplicant port;
    EXPECT_TRUE(UtilConfigCredentials(port, c.method, Sample()));
    EXPECT_EQ(port.calls, Calls{c.call}) << c.method;
  }
}

TEST(UtilConfigCredentials, TextsGoInTheAnsiCodePageOrNotAtAll) {
  const struct {
    std::string identity;
    const char* call;  // empty: refused
  } cases[] = {
      {"alice", "ConfigMd5(alice,pw)"},
      {"\xE4\xBD\xBF\xE7\x94\xA8\xE8\x80\x85", "ConfigMd5(\xA8\xCF\xA5\xCE\xAA\xCC,pw)"},  // 使用者 in Big5
      {"\xED\x95\x9C", ""},  // Hangul: not in code page 950
  };
  for (const auto& c : cases) {
    FakeSupplicant port;
    Dot1xCredentials creds = Sample();
    creds.identity = c.identity;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(UtilConfigCredentials(port, kAcCredMd5, creds, AnsiIn(950)), *c.call != 0);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(port.calls, *c.call ? Calls{c.call} : Calls{});
  }
}

TEST(UtilConfigCredentials, UnknownMethodConfiguresNothingAndSaysSo) {
  for (uint32_t method : {0u, uint32_t{kAcCredIdentity}, 8u, 0xFFFFFFFFu}) {
    FakeSupplicant port;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(UtilConfigCredentials(port, method, Sample()));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "UtilConfigCredentials: unknown authenticate method\n");
    EXPECT_TRUE(port.calls.empty());
  }
}

TEST(UtilConfigCredentials, ProfileProtocolNumbersMapToMethods) {
  EXPECT_EQ(MethodFromAuthenProtocol(0), uint32_t{kAcCredPeap});
  EXPECT_EQ(MethodFromAuthenProtocol(1), uint32_t{kAcCredTls});
  EXPECT_EQ(MethodFromAuthenProtocol(2), uint32_t{kAcCredTtls});
  EXPECT_EQ(MethodFromAuthenProtocol(3), uint32_t{kAcCredMd5});
  EXPECT_EQ(MethodFromAuthenProtocol(4), 0u);
}

const std::string kPath = "\\\\.\\{ADAPTER}";
const MacAddress kMac = {0x00, 0x0C, 0x43, 0x01, 0x02, 0x03};

struct ContextTest : ::testing::Test {
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::Station};
  FakeSupplicant port;
  MacAddress driverMac = kMac;
  bool macQueryFails = false;

  void SetUp() override {
    device.openable[kPath] = true;
    channel.SetDevicePath(kPath);
    device.handler = [this](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& returned) {
      if (r.oid != OID_802_3_CURRENT_ADDRESS || macQueryFails || out.size() < 6) return false;
      std::copy(driverMac.begin(), driverMac.end(), out.begin());
      returned = 6;
      return true;
    };
    port.adapters = {{0x00, 0x0C, 0x43, 0x09, 0x09, 0x09}, kMac};
  }
};

TEST_F(ContextTest, OpensWithFamilyKeyAndBindsTheAdapterWithTheDriversAddress) {
  SupplicantContext ctx(port, channel);
  EXPECT_TRUE(ctx.OpenAndBind());
  EXPECT_TRUE(ctx.Usable());
  EXPECT_EQ(port.calls, (Calls{"OpenGlobal(KC30)", "BindAdapter(00-0C-43-01-02-03)"}));
  ctx.Release();
  EXPECT_FALSE(ctx.Usable());
  ctx.Release();  // a second release does not reach the library again
  EXPECT_EQ(port.calls.back(), "Release()");
  EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "Release()"), 1);
}

TEST_F(ContextTest, NotUsableWhenLibraryAbsentAdapterUnknownOrAddressUnreadable) {
  {
    port.libraryPresent = false;
    SupplicantContext ctx(port, channel);
    EXPECT_FALSE(ctx.OpenAndBind());
    EXPECT_FALSE(ctx.IsOpen());
    EXPECT_EQ(port.calls, Calls{"OpenGlobal(KC30)"});
  }
  EXPECT_EQ(port.calls.back(), "OpenGlobal(KC30)");  // nothing to release
  port.libraryPresent = true;
  port.calls.clear();
  {
    driverMac = {0x00, 0x0C, 0x43, 0x77, 0x77, 0x77};
    SupplicantContext ctx(port, channel);
    EXPECT_FALSE(ctx.OpenAndBind());
    EXPECT_TRUE(ctx.IsOpen());
    EXPECT_FALSE(ctx.Usable());
  }
  EXPECT_EQ(port.calls.back(), "Release()");  // the open global context is released
  for (bool fails : {true, false}) {
    macQueryFails = fails;
    driverMac = {};  // a query that succeeds with no address counts as none
    port.calls.clear();
    SupplicantContext ctx(port, channel);
    EXPECT_FALSE(ctx.OpenAndBind());
    EXPECT_EQ(port.calls, Calls{"OpenGlobal(KC30)"});
  }
}

TEST_F(ContextTest, PollAsksForCredentialsOnRequestOrRejection) {
  SupplicantContext ctx(port, channel);
  EXPECT_FALSE(ctx.PollNeedsCredentials());  // not bound: the library is not asked
  EXPECT_TRUE(port.calls.empty());
  ASSERT_TRUE(ctx.OpenAndBind());
  port.events = {{SupplicantEvent::CredentialsRequest, kAcCredPeap},
                 {SupplicantEvent::Status, kAcStatusSuccess},
                 {SupplicantEvent::Status, kAcIdentityRejected},
                 {SupplicantEvent::Status, kAcPasswordRejected},
                 {SupplicantEvent::None, 0}};
  std::vector<bool> answers;
  for (int i = 0; i < 5; ++i) answers.push_back(ctx.PollNeedsCredentials());
  EXPECT_EQ(answers, (std::vector<bool>{true, false, true, true, false}));
}

}  // namespace
}  // namespace vx
