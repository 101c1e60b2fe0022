// The link status page against a scripted driver and against the virtual adapter.
#include "station/monitor/link_status_page.h"

#include <gtest/gtest.h>

#include "common/pages/oid_script.h"
#include "driver/records.h"
#include "resources/strings/string_tables.h"
#include "sim/adapter/virtual_adapter.h"

namespace vx {
namespace {

class LinkStatus : public ::testing::Test {
 protected:
  OidScript s;
  bool hwMark = true;
  bool manages = true;
  bool wep = false;
  int refreshes = 0;
  CLinkStatusPage page{s.channel, s.clock, EnglishStrings(), Hooks()};

  LinkStatusHooks Hooks() {
    LinkStatusHooks h;
    h.managesAdapter = [this] { return manages; };
    h.wepError = [this] { return wep; };
    h.hardwareRadioOn = [this] { return hwMark; };
    h.setHardwareRadioOn = [this](bool on) { hwMark = on; };
    h.refreshRadioButton = [this] { ++refreshes; };
    return h;
  }

  void SetUp() override {
    s.U32(OID_GEN_MEDIA_CONNECT_STATUS, kMediaConnected);
    s.answers[OID_802_11_BSSID] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    s.answers[OID_802_11_SSID] = EncodeSsid(SsidRecord::From("Office"));
    ConfigurationRecord c;
    c.dsConfig = 2437000;
    s.answers[OID_802_11_CONFIGURATION] = EncodeConfiguration(c);
    s.U32(VX_OID_802_11_QUERY_TX_POWER, 100);
    s.answers[VX_OID_802_11_QUERY_AP_IP_ADDRESS] = {192, 168, 1, 1};
    s.U32(VX_OID_802_11_QUERY_TX_RATE, 11);
    Link(108, 50, 1000, 2000);
    s.I32(OID_802_11_RSSI, -50);
    s.U32(VX_OID_802_11_QUERY_NOISE_LEVEL, 58);
    s.U32(VX_OID_802_11_QUERY_LINK_EVENT, 0);
    HardwareRadio(1);
    page.OnInit();
  }
  void Link(uint32_t rate, uint32_t quality, uint32_t tx, uint32_t rx) {
    s.answers[VX_OID_802_11_QUERY_LINK_STATUS] = EncodeLinkStatus({rate, quality, tx, rx});
  }
  void HardwareRadio(uint32_t on) {
    ConfigWords w{};
    w[kStaHwRadio] = on;
    s.answers[VX_OID_802_11_QUERY_STA_CONFIG] = EncodeConfigWords(w);
  }
  const std::string& T(int id) { return page.Control(id).text; }
};

TEST_F(LinkStatus, ConnectedFieldsAndFormats) {
  page.OnSetActive();
  page.Refresh();
  EXPECT_EQ(T(ls::kStatus), "Office <--> 00-11-22-33-44-55 [192.168.1.1]");
  EXPECT_EQ(T(ls::kChannel), "6 <--> 2437000 KHz");
  EXPECT_EQ(T(ls::kTxMbps), "54.0");
  EXPECT_EQ(T(ls::kRxMbps), "54.0");
  EXPECT_EQ(T(ls::kExtra), "Link is Up [TxPower:100%]");
  EXPECT_EQ(T(ls::kSignalValue), "100%");
  EXPECT_EQ(page.Control(ls::kSignalBar).position, 100);
  EXPECT_EQ(T(ls::kDbm), "&dBm");
  EXPECT_EQ(T(ls::kSignal2Label), "Signal Strength2 :");
}

TEST_F(LinkStatus, NoiseMapping) {
  struct Case {
    uint32_t raw;
    const char* dbm;
    const char* percent;
    const char* word;
    int bar;
  } cases[] = {{43, "-100 dBm", "0%", "Low", 0}, {58, "-85 dBm", "50%", "Low", 50},
               {73, "-70 dBm", "100%", "Strong", 100}, {0, "-143 dBm", "0%", "Low", 0}};
  for (const Case& c : cases) {
    s.U32(VX_OID_802_11_QUERY_NOISE_LEVEL, c.raw);
    page.Control(ls::kDbm).checked = false;
    page.Refresh();
    EXPECT_EQ(T(ls::kNoiseValue), c.percent) << c.raw;
    EXPECT_EQ(T(ls::kNoiseWord), c.word) << c.raw;
    EXPECT_EQ(page.Control(ls::kNoiseBar).position, c.bar) << c.raw;
    page.Control(ls::kDbm).checked = true;
    page.Refresh();
    EXPECT_EQ(T(ls::kNoiseValue), c.dbm) << c.raw;
  }
}

TEST_F(LinkStatus, LinkQualityMappingAndSmoothing) {
  EXPECT_EQ(link_status::LinkQualityPercent(75, 0), 100);
  EXPECT_EQ(link_status::LinkQualityPercent(25, 0), 40);
  // Products that are whole numbers stay whole in every build (70 x 1.2 is 84, not 83.999...).
  EXPECT_EQ(link_status::LinkQualityPercent(70, 0), 94);
  EXPECT_EQ(link_status::LinkQualityPercent(45, 0), 64);
  EXPECT_EQ(link_status::LinkQualityPercent(0xFFFFFFFFu, 0), 100);  // no overflow past the cap

  Link(0, 25, 0, 0);
  page.Refresh();
  EXPECT_EQ(T(ls::kQualityValue), "40%");
  EXPECT_EQ(T(ls::kQualityWord), "Weak");
  Link(0, 75, 0, 0);
  page.Refresh();  // mean of 40 and 100
  EXPECT_EQ(T(ls::kQualityValue), "70%");
  EXPECT_EQ(T(ls::kQualityWord), "Normal");
  page.Refresh();  // (70 + 100) / 2 = 85
  EXPECT_EQ(T(ls::kQualityValue), "85%");
  EXPECT_EQ(T(ls::kQualityWord), "Good");
}

TEST_F(LinkStatus, SignalSmoothingAndDbmDisplay) {
  s.I32(OID_802_11_RSSI, -60);
  page.Refresh();
  EXPECT_EQ(T(ls::kSignalValue), "76%");
  EXPECT_EQ(T(ls::kSignalWord), "Good");
  s.I32(OID_802_11_RSSI, -80);
  page.Refresh();
  EXPECT_EQ(T(ls::kSignalValue), "50%");
  EXPECT_EQ(T(ls::kSignalWord), "Normal");
  EXPECT_EQ(page.Control(ls::kSignalBar).position, 50);
  page.Control(ls::kDbm).checked = true;
  page.Refresh();
  EXPECT_EQ(T(ls::kSignalValue), "-80 dBm");
}

TEST_F(LinkStatus, ThroughputSurvivesCounterWrap) {
  EXPECT_DOUBLE_EQ(link_status::ThroughputKbps(0x100, 0xFFFFFF00u), 2.048);
  Link(2, 0, 0xFFFFFF00u, 0xFFFFFFFFu);
  page.OnSetActive();  // takes the counters as the previous ones
  Link(2, 0, 0x00000100u, 249);
  page.Refresh();
  EXPECT_EQ(T(ls::kTxKbps), "2.0");
  EXPECT_EQ(T(ls::kRxKbps), "1.0");
  EXPECT_EQ(T(ls::kTxMbps), "1.0");
}

TEST_F(LinkStatus, ApAddressZeroIsOmittedAndFailedQueriesFallBack) {
  s.answers[VX_OID_802_11_QUERY_AP_IP_ADDRESS] = {0, 0, 0, 0};
  s.U32(VX_OID_802_11_QUERY_TX_RATE, 12);
  s.U32(VX_OID_802_11_QUERY_TX_POWER, 5);
  page.Refresh();
  EXPECT_EQ(T(ls::kStatus), "Office <--> 00-11-22-33-44-55");
  EXPECT_EQ(T(ls::kRxMbps), "1.0");
  EXPECT_EQ(T(ls::kExtra), "Link is Up [TxPower:Lowest]");

  s.answers.erase(VX_OID_802_11_QUERY_AP_IP_ADDRESS);
  s.answers.erase(VX_OID_802_11_QUERY_TX_RATE);
  s.U32(VX_OID_802_11_QUERY_TX_POWER, 0xFFFFFFFFu);
  page.Refresh();
  EXPECT_EQ(T(ls::kStatus), "Office <--> 00-11-22-33-44-55");
  EXPECT_EQ(T(ls::kRxMbps), "1.0");
  EXPECT_EQ(T(ls::kExtra), "Link is Up [TxPower:100%]");
}

TEST_F(LinkStatus, ChannelOutsideTheTableKeepsThePreviousText) {
  page.Refresh();
  ConfigurationRecord c;
  c.dsConfig = 1234567;
  s.answers[OID_802_11_CONFIGURATION] = EncodeConfiguration(c);
  page.Refresh();
  EXPECT_EQ(T(ls::kChannel), "6 <--> 2437000 KHz");
}

TEST_F(LinkStatus, LinkEventsAndWepError) {
  s.U32(VX_OID_802_11_QUERY_LINK_EVENT, 11);
  page.Refresh();
  EXPECT_EQ(T(ls::kExtra), " [TxPower:100%]");
  s.U32(VX_OID_802_11_QUERY_LINK_EVENT, 7);
  wep = true;
  page.Refresh();
  EXPECT_EQ(T(ls::kExtra), "Deauthencation because MIC failure -- WEP Error  [TxPower:100%]");

  s.U32(OID_GEN_MEDIA_CONNECT_STATUS, kMediaDisconnected);
  s.U32(VX_OID_802_11_QUERY_LINK_EVENT, 6);
  page.Refresh();
  EXPECT_EQ(T(ls::kExtra), "Association failed");
  EXPECT_EQ(T(ls::kStatus), "Disconnected");
}

TEST_F(LinkStatus, SecondChainRowOnlyWhenAnswered) {
  page.OnSetActive();
  EXPECT_FALSE(page.SecondChainShown());
  EXPECT_FALSE(page.Control(ls::kSignal2Bar).visible);
  EXPECT_FALSE(page.Control(ls::kSignal2Label).visible);

  s.I32(VX_OID_802_11_QUERY_SECOND_RSSI, -60);
  page.OnKillActive();
  page.OnSetActive();
  EXPECT_TRUE(page.Control(ls::kSignal2Bar).visible);
  EXPECT_TRUE(page.Control(ls::kSignal2Word).visible);
  page.Refresh();
  EXPECT_EQ(T(ls::kSignal2Value), "76%");
  EXPECT_EQ(page.Control(ls::kSignal2Bar).position, 76);
}

TEST_F(LinkStatus, DisconnectedStatesClearTheMeasurements) {
  page.Refresh();
  s.U32(OID_GEN_MEDIA_CONNECT_STATUS, kMediaConnected);
  s.answers[OID_802_11_BSSID] = {0, 0, 0, 0, 0, 0};
  page.Refresh();
  EXPECT_EQ(T(ls::kStatus), "Disconnected");
  for (int id : {ls::kChannel, ls::kTxMbps, ls::kRxKbps, ls::kQualityValue, ls::kSignalWord, ls::kNoiseValue})
    EXPECT_EQ(T(id), "") << id;
  EXPECT_EQ(page.Control(ls::kQualityBar).position, 0);
  EXPECT_EQ(page.Control(ls::kNoiseBar).position, 0);

  manages = false;
  page.Refresh();
  EXPECT_EQ(T(ls::kStatus), "RF OFF");

  // A driver that does not write the status never reads as connected.
  s.answers[OID_GEN_MEDIA_CONNECT_STATUS] = {};
  s.answers[OID_802_11_BSSID] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
  manages = true;
  page.Refresh();
  EXPECT_EQ(T(ls::kStatus), "Disconnected");

  s.answers.erase(OID_GEN_MEDIA_CONNECT_STATUS);
  page.Refresh();
  EXPECT_EQ(T(ls::kStatus), "NIC or driver not ready");
  EXPECT_EQ(T(ls::kSignalValue), "");
}

TEST_F(LinkStatus, HardwareRadioRefreshesTheButtonOnlyWhenItChanges) {
  page.Refresh();
  EXPECT_EQ(refreshes, 0);
  HardwareRadio(0);
  page.Refresh();
  page.Refresh();
  EXPECT_EQ(T(ls::kExtra), "Hardware radio off [TxPower:100%]");
  EXPECT_FALSE(hwMark);
  EXPECT_EQ(refreshes, 1);

  s.U32(OID_GEN_MEDIA_CONNECT_STATUS, kMediaDisconnected);
  page.Refresh();
  EXPECT_EQ(T(ls::kStatus), "RF OFF");

  // Switched on again while the zero-configuration service runs the adapter: the mark follows,
  // the button is left to that service.
  manages = false;
  HardwareRadio(1);
  page.Refresh();
  EXPECT_TRUE(hwMark);
  EXPECT_EQ(refreshes, 1);

  // A failed query says nothing about the switch.
  s.answers.erase(VX_OID_802_11_QUERY_STA_CONFIG);
  page.Refresh();
  EXPECT_TRUE(hwMark);
  EXPECT_EQ(refreshes, 1);
}

TEST_F(LinkStatus, TimerRunsOnlyWhileActive) {
  page.OnSetActive();
  EXPECT_TRUE(page.TimerRunning());
  s.device.requests.clear();
  s.clock.Advance(2000);
  EXPECT_EQ(T(ls::kStatus), "Office <--> 00-11-22-33-44-55 [192.168.1.1]");
  EXPECT_FALSE(s.device.requests.empty());
  page.OnKillActive();
  EXPECT_FALSE(page.TimerRunning());
  EXPECT_EQ(s.clock.ActiveTimers(), 0u);
  s.device.requests.clear();
  s.clock.Advance(10000);
  EXPECT_TRUE(s.device.requests.empty());
  EXPECT_EQ(s.SetCount(), 0u);  // the page changes nothing in the driver
}

TEST(LinkStatusSim, ShowsTheAssociatedNetwork) {
  sim::VirtualAdapter adapter{sim::PciAdapterHardware()};
  VirtualClock clock;
  OidChannel channel{adapter, clock, Program::Station};
  channel.SetDevicePath(adapter.DevicePath());
  channel.SetU32(OID_802_11_INFRASTRUCTURE_MODE, kInfraInfrastructure);
  channel.Set(OID_802_11_SSID, EncodeSsid(SsidRecord::From("Arventa-AP")));
  adapter.Tick();
  ASSERT_TRUE(adapter.State().associated);

  CLinkStatusPage page{channel, clock, EnglishStrings()};
  page.OnInit();
  page.OnSetActive();
  clock.Advance(2000);
  sim::AdapterState st = adapter.State();
  std::string status = page.Control(ls::kStatus).text;
  EXPECT_EQ(status.rfind("Arventa-AP <--> " + FormatMac(st.bssid), 0), 0u) << status;
  EXPECT_NE(page.Control(ls::kChannel).text.find(std::to_string(st.channel) + " <--> "), std::string::npos);
  EXPECT_TRUE(page.SecondChainShown());
  EXPECT_EQ(page.Control(ls::kExtra).text.rfind("Link is Up", 0), 0u);
}

}  // namespace
}  // namespace vx
