// The simulated platform services with the real OID channel and adapter discovery on top.
#include <gtest/gtest.h>

#include "common/passphrase/passphrase.h"
#include "driver/discovery.h"
#include "driver/oid_channel.h"
#include "driver/oid_codes.h"
#include "driver/records.h"
#include "fakes/virtual_clock.h"
#include "sim/services/sim_services.h"

namespace vx::sim {
namespace {

class ServicesTest : public ::testing::Test {
 protected:
  ServicesTest()
      : pci_(PciAdapterHardware(), DefaultWorld()),
        usb_(UsbAdapterHardware(), DefaultWorld()),
        router_({&pci_, &usb_, &bridge_}),
        setup_({&pci_, &usb_}),
        channel_(router_, clock_, Program::Station),
        supplicant_({&pci_, &usb_}) {}

  VirtualAdapter pci_, usb_;
  SimBridge bridge_;
  DeviceRouter router_;
  SimDeviceSetup setup_;
  VirtualClock clock_;
  OidChannel channel_;
  SimSupplicant supplicant_;
};

TEST_F(ServicesTest, DiscoveryFindsBothAdaptersAndTheChoiceReachesTheDriver) {
  AdapterDiscovery discovery(setup_, router_, channel_, Program::Station);
  int offered = 0;
  ASSERT_TRUE(discovery.DiscoverAdapter(8, [&](SelectCardDialog& d) {
    offered = static_cast<int>(d.Items().size());
    return 1;  // the USB stick
  }));
  EXPECT_EQ(offered, 2);  // the wired card is not offered
  EXPECT_EQ(channel_.DevicePath(), usb_.DevicePath());
  EXPECT_TRUE(discovery.Selected().isUsb);
  EXPECT_EQ(discovery.Selected().settingsRoot,
            "System\\CurrentControlSet\\Control\\Class\\" + usb_.Hardware().driverKey);

  uint32_t mode = 99;
  ASSERT_TRUE(channel_.QueryU32(VX_OID_802_11_QUERY_OP_MODE, mode));
  EXPECT_EQ(mode, kOpModeStation);
  std::vector<uint8_t> types(20);
  ASSERT_TRUE(channel_.Query(OID_802_11_NETWORK_TYPES_SUPPORTED, types));
  EXPECT_EQ(DecodeNetworkTypeList(types).size(), 3u);  // with 5 GHz

  // Unplugged adapters vanish from the enumeration.
  usb_.Unplug();
  std::vector<NetDevice> devices;
  ASSERT_TRUE(setup_.EnumerateNetDevices(devices));
  EXPECT_EQ(devices.size(), 2u);
  EXPECT_FALSE(channel_.IsReachable());
}

TEST_F(ServicesTest, FailedSetIsRetriedUntilTheDriverTakesIt) {
  channel_.SetDevicePath(pci_.DevicePath());
  pci_.FailOid(VX_OID_802_11_SET_RADIO, 1);
  EXPECT_FALSE(channel_.SetU32(VX_OID_802_11_SET_RADIO, 0));
  EXPECT_TRUE(pci_.State().softwareRadioOn);
  clock_.Advance(500);
  EXPECT_FALSE(pci_.State().softwareRadioOn);
}

TEST_F(ServicesTest, SupplicantCarriesCredentialsToTheBoundAdapter) {
  EXPECT_FALSE(supplicant_.BindAdapter(pci_.Hardware().mac));  // not opened
  ASSERT_TRUE(supplicant_.OpenGlobal("KC30"));
  EXPECT_FALSE(supplicant_.BindAdapter({1, 2, 3, 4, 5, 6}));
  ASSERT_TRUE(supplicant_.BindAdapter(pci_.Hardware().mac));
  EXPECT_EQ(supplicant_.Bound(), &pci_);

  channel_.SetDevicePath(pci_.DevicePath());
  channel_.SetU32(OID_802_11_AUTHENTICATION_MODE, kAuthWpa2);
  channel_.SetU32(OID_802_11_WEP_STATUS, kEncAesEnabled);
  TunnelCredentials c;
  c.identity = "anonymous";
  c.tunnelIdentity = "alice";
  c.tunnelPassword = "nope";
  supplicant_.ConfigPeap(c);
  channel_.Set(OID_802_11_SSID, EncodeSsid(SsidRecord::From("CorpSecure")));
  EXPECT_FALSE(pci_.State().associated);
  SupplicantEvent e = supplicant_.Query();
  EXPECT_EQ(e.kind, SupplicantEvent::Status);
  EXPECT_EQ(e.number, kAcPasswordRejected);
  EXPECT_EQ(supplicant_.Query().kind, SupplicantEvent::None);  // reported once

  c.tunnelPassword = "wonderland";
  supplicant_.ConfigPeap(c);
  EXPECT_TRUE(pci_.State().associated);
  supplicant_.AuthenticateStop();
  EXPECT_FALSE(pci_.State().associated);

  // A pre-shared key fits only the network the supplicant was named: a key handed over without
  // the network's name, or with another's, joins nothing.
  channel_.SetU32(OID_802_11_AUTHENTICATION_MODE, kAuthWpa2Psk);
  channel_.SetU32(OID_802_11_WEP_STATUS, kEncAesEnabled);
  Psk home = PassphraseToPsk("correct horse battery", "HomeNet");
  std::array<uint8_t, 32> key{};
  std::copy(home.begin(), home.end(), key.begin());
  supplicant_.ConfigWpaKey(key, "");
  channel_.Set(OID_802_11_SSID, EncodeSsid(SsidRecord::From("HomeNet")));
  EXPECT_FALSE(pci_.State().associated);
  supplicant_.ConfigWpaKey(key, "Office-Mixed");
  EXPECT_FALSE(pci_.State().associated);
  supplicant_.ConfigWpaKey(key, "HomeNet");
  EXPECT_TRUE(pci_.State().associated);
  auto calls = supplicant_.CallDetails();
  EXPECT_EQ(calls.back().args,
            (std::vector<std::pair<std::string, std::string>>{{"ssid", "486F6D654E6574"}}));

  SimSupplicant absent({&pci_}, false);
  EXPECT_FALSE(absent.OpenGlobal("KC30"));
}

TEST_F(ServicesTest, IpInformationFollowsTheLink) {
  SimIpInfo ip({&pci_});
  std::vector<AdapterIpInfo> info;
  ASSERT_TRUE(ip.GetAdapters(info));
  EXPECT_EQ(info[0].address, "0.0.0.0");
  channel_.SetDevicePath(pci_.DevicePath());
  channel_.Set(OID_802_11_SSID, EncodeSsid(SsidRecord::From("Arventa-AP")));
  ASSERT_TRUE(ip.GetAdapters(info));
  EXPECT_EQ(info[0].adapterName, pci_.Hardware().instanceId);
  EXPECT_EQ(info[0].address, "192.168.1.100");
  EXPECT_EQ(info[0].gateway, "127.0.0.1");
}

TEST_F(ServicesTest, BridgeAnswersItsThreeRequests) {
  auto request = [&](uint32_t code, std::vector<uint8_t> in, size_t outSize, std::vector<uint8_t>* out = nullptr) {
    auto h = router_.Open("\\\\.\\xbrg");
    if (!h) return false;
    std::vector<uint8_t> o(outSize);
    uint32_t n = 0;
    bool ok = h->Control(code, in, o, n);
    if (out) *out = o;
    return ok;
  };
  std::vector<uint8_t> minusOne = {0xFF, 0xFF, 0xFF, 0xFF}, out;
  ASSERT_TRUE(request(SimBridge::kQueryVersion, minusOne, 4, &out));
  EXPECT_EQ(out, (std::vector<uint8_t>{2, 0, 0, 0}));
  ASSERT_TRUE(request(SimBridge::kQueryState, {}, 4, &out));
  EXPECT_EQ(out[0], 0);
  ASSERT_TRUE(request(SimBridge::kSetState, {1, 0, 0, 0}, 0));
  EXPECT_TRUE(bridge_.Bridging());
  EXPECT_FALSE(request(SimBridge::kQueryState, {}, 2));  // no room for the answer
  EXPECT_FALSE(request(0x8000000C, {}, 4));

  bridge_.SetVersion(1);  // a driver without bridging
  EXPECT_FALSE(request(SimBridge::kQueryState, {}, 4));
  bridge_.SetPresent(false);
  EXPECT_FALSE(router_.Open(SimBridge::kPath));
  EXPECT_EQ(bridge_.Requests().size(), 6u);
}

}  // namespace
}  // namespace vx::sim
