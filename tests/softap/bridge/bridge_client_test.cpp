// The bridge client against the simulated bridge driver: what it sends in each state of the
// driver, and that a missing or asynchronous driver leaves the access point without bridging.
#include "softap/bridge/bridge_client.h"

#include <gtest/gtest.h>

#include "fakes/fake_device.h"
#include "sim/services/sim_services.h"

namespace vx {
namespace {

using sim::SimBridge;

std::vector<uint32_t> Codes(const SimBridge& b) {
  std::vector<uint32_t> out;
  for (const auto& r : b.Requests()) out.push_back(r.code);
  return out;
}

TEST(BridgeClient, AlreadyBridgingSendsNoSet) {
  SimBridge driver;
  driver.SetBridging(true);
  BridgeDevice held(driver);
  EXPECT_TRUE(EnsureBridging(held, driver));
  EXPECT_EQ(Codes(driver), (std::vector<uint32_t>{SimBridge::kQueryVersion, SimBridge::kQueryState}));
  EXPECT_TRUE(held.Valid());
}

TEST(BridgeClient, NotBridgingSendsExactlyOneSetWithOne) {
  SimBridge driver;
  BridgeDevice held(driver);
  EXPECT_TRUE(EnsureBridging(held, driver));
  EXPECT_TRUE(driver.Bridging());
  int sets = 0;
  for (const auto& r : driver.Requests())
    if (r.code == SimBridge::kSetState) {
      ++sets;
      EXPECT_EQ(r.in, (std::vector<uint8_t>{1, 0, 0, 0}));
    }
  EXPECT_EQ(sets, 1);
  // The version query carries -1.
  EXPECT_EQ(driver.Requests()[0].in, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(BridgeClient, VersionOneGetsNothingBeyondTheVersionQuery) {
  SimBridge driver;
  driver.SetVersion(1);
  BridgeDevice held(driver);
  EXPECT_FALSE(EnsureBridging(held, driver));
  for (uint32_t code : Codes(driver)) EXPECT_EQ(code, SimBridge::kQueryVersion);
  EXPECT_FALSE(driver.Bridging());
}

TEST(BridgeClient, MissingDriverSendsNothing) {
  SimBridge driver;
  driver.SetPresent(false);
  BridgeDevice held(driver);
  EXPECT_FALSE(EnsureBridging(held, driver));
  EXPECT_FALSE(held.Valid());
  EXPECT_EQ(held.Version(), -1);
  EXPECT_EQ(held.GetState(), 0u);
  EXPECT_TRUE(driver.Requests().empty());
}

TEST(BridgeClient, ARequestThatDoesNotCompleteAtOnceCountsAsFailed) {
  // The platform device reports a pending request as a failure.
  FakeDevice pending;
  pending.openable["\\\\.\\XBRG"] = true;
  pending.handler = [](const FakeDevice::Request&, std::span<uint8_t>, uint32_t&) { return false; };
  BridgeDevice held(pending);
  EXPECT_FALSE(EnsureBridging(held, pending));
  EXPECT_EQ(pending.requests.size(), 2u);  // the version query of each handle
}

}  // namespace
}  // namespace vx
