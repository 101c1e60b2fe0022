#include "station/monitor/link_status_page.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/byte_reader.h"
#include "common/text/shown_text.h"
#include "driver/oid_codes.h"
#include "driver/records.h"
#include "resources/string_ids.h"
#include "station/survey/scan_list.h"

namespace vx {
namespace link_status {

int Smooth(int previous, int current) {
  if (previous == 0) return current;
  return static_cast<int>(std::trunc((previous + current) / 2.0 + 0.5));
}

int LinkQualityPercent(uint32_t channelQuality, int previous) {
  // trunc(quality x 1.2 + 10) in whole numbers: the i686 build's wider floating point made 70
  // read 93 instead of 94.
  uint64_t q = (uint64_t{channelQuality} * 12 + 100) / 10;
  int shown = static_cast<int>(std::min<uint64_t>(q, 100));
  return Smooth(previous, shown);
}

std::string TxPowerText(int32_t percent, const std::string& lowest) {
  if (IsFullPower(percent)) return "100%";
  if (percent >= 7) return std::to_string(percent) + "%";
  return lowest;
}

double ThroughputKbps(uint32_t now, uint32_t before) {
  // Unsigned difference: a counter that wrapped since the last poll still gives the bytes moved.
  return static_cast<uint32_t>(now - before) / 250.0;
}

}  // namespace link_status

namespace {

std::string Format1(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

std::string Percent(int v) { return std::to_string(v) + "%"; }
std::string Dbm(int v) { return std::to_string(v) + " dBm"; }

uint32_t U32At(std::span<const uint8_t> b, size_t offset) {
  ByteReader r(b);
  r.Skip(offset);
  uint32_t v = r.U32();
  return r.ok() ? v : 0;
}

bool IsZero(const MacAddress& m) { return m == MacAddress{}; }

}  // namespace

CLinkStatusPage::CLinkStatusPage(OidChannel& channel, TimerPort& timers, const StringTable& strings,
                                 LinkStatusHooks hooks)
    : channel_(channel), timers_(timers), strings_(strings), hooks_(std::move(hooks)) {}

CLinkStatusPage::~CLinkStatusPage() { KillTimer(); }

void CLinkStatusPage::KillTimer() {
  if (timer_) timers_.Kill(timer_);
  timer_ = 0;
}

void CLinkStatusPage::OnInit() {
  const std::pair<int, uint32_t> labels[] = {
      {ls::kStatusLabel, IDS_LS_STATUS},       {ls::kExtraLabel, IDS_LS_EXTRA_INFO},
      {ls::kQualityLabel, IDS_LS_LINK_QUALITY}, {ls::kRxKbpsLabel, IDS_LS_RX_KBPS},
      {ls::kRxMbpsLabel, IDS_LS_RX_MBPS},       {ls::kSignalLabel, IDS_LS_SIGNAL},
      {ls::kSignal2Label, IDS_LS_SIGNAL2},      {ls::kThroughputLabel, IDS_LS_THROUGHPUT},
      {ls::kTxKbpsLabel, IDS_LS_TX_KBPS},       {ls::kTxMbpsLabel, IDS_LS_TX_MBPS},
      {ls::kLinkSpeedLabel, IDS_LS_LINK_SPEED}, {ls::kChannelLabel, IDS_LS_CHANNEL},
      {ls::kNoiseLabel, IDS_LS_NOISE},          {ls::kDbm, IDS_SHOW_DBM},
  };
  for (const auto& [id, text] : labels) Control(id).text = Text(text);
  for (int bar : {ls::kQualityBar, ls::kSignalBar, ls::kSignal2Bar, ls::kNoiseBar}) {
    Control(bar).rangeMin = 0;
    Control(bar).rangeMax = 100;
    Control(bar).position = 0;
  }
  // The second receive chain's row appears only once the driver answers for it.
  for (int id : {ls::kSignal2Label, ls::kSignal2Bar, ls::kSignal2Value, ls::kSignal2Word})
    Control(id).visible = secondChain_;
}

void CLinkStatusPage::OnSetActive() {
  std::array<uint8_t, 16> status{};
  channel_.Query(VX_OID_802_11_QUERY_LINK_STATUS, status);
  LinkStatusRecord r = DecodeLinkStatus(status);
  prevTx_ = r.txCounter;
  prevRx_ = r.rxCounter;

  std::array<uint8_t, 4> rssi2{};
  secondChain_ = channel_.Query(VX_OID_802_11_QUERY_SECOND_RSSI, rssi2);
  for (int id : {ls::kSignal2Label, ls::kSignal2Bar, ls::kSignal2Value, ls::kSignal2Word})
    Control(id).visible = secondChain_;

  KillTimer();
  timer_ = timers_.Start(kTimerMs, [this](TimerId) { Refresh(); });
}

bool CLinkStatusPage::OnKillActive() {
  KillTimer();
  return true;
}

void CLinkStatusPage::OnTimer(int timerId) {
  if (timerId == kPageTimer) Refresh();
}

void CLinkStatusPage::OnCommand(int controlId, UiEvent event) {
  // The unit switch shows at once rather than at the next tick.
  if (controlId == ls::kDbm && event == UiEvent::Clicked && timer_) Refresh();
}

std::string CLinkStatusPage::LevelWord(int percent) const {
  if (percent >= 71) return Text(IDS_LEVEL_GOOD);
  if (percent >= 41) return Text(IDS_LEVEL_NORMAL);
  return Text(IDS_LEVEL_WEAK);
}

void CLinkStatusPage::SetRow(int bar, int value, int word, int percent, const std::string& valueText,
                             const std::string& wordText) {
  Control(bar).position = percent;
  Control(value).text = valueText;
  Control(word).text = wordText;
}

void CLinkStatusPage::RefreshNoise(bool dbm) {
  uint32_t raw = 0;
  channel_.QueryU32(VX_OID_802_11_QUERY_NOISE_LEVEL, raw);
  int percent = NoisePercent(raw);
  std::string word = percent >= 91 ? Text(IDS_LEVEL_STRONG) : percent >= 51 ? Text(IDS_LEVEL_NORMAL) : Text(IDS_LEVEL_LOW);
  SetRow(ls::kNoiseBar, ls::kNoiseValue, ls::kNoiseWord, percent, dbm ? Dbm(NoiseDbm(raw)) : Percent(percent), word);
}

uint32_t CLinkStatusPage::QueryHardwareRadio(bool& answered) {
  std::array<uint8_t, 32> sta{};
  answered = channel_.Query(VX_OID_802_11_QUERY_STA_CONFIG, sta);
  return DecodeConfigWords(sta)[kStaHwRadio];
}

void CLinkStatusPage::RefreshLinkEvent() {
  uint32_t code = 0;
  if (!channel_.QueryU32(VX_OID_802_11_QUERY_LINK_EVENT, code) || code > 10) {
    Control(ls::kExtra).text.clear();
    return;
  }
  bool answered = false;
  bool hardwareOn = QueryHardwareRadio(answered) != 0;
  bool wasOn = hooks_.hardwareRadioOn ? hooks_.hardwareRadioOn() : true;
  // An unanswered query says nothing about the switch.
  if (!answered) hardwareOn = wasOn;
  bool manages = hooks_.managesAdapter ? hooks_.managesAdapter() : true;
  if (!hardwareOn) {
    Control(ls::kExtra).text = Text(IDS_EVENT_HW_RADIO_OFF);
  } else {
    Control(ls::kExtra).text = Text(IDS_EVENT_LINK_UP + code);
  }
  // The radio button is refreshed when the switch changes, not on every tick: a refresh
  // re-applies the live settings and queues a scan, which would break the link every 2 s.
  if (hardwareOn == wasOn) return;
  if (hooks_.setHardwareRadioOn) hooks_.setHardwareRadioOn(hardwareOn);
  if ((!hardwareOn || manages) && hooks_.refreshRadioButton) hooks_.refreshRadioButton();
}

void CLinkStatusPage::ClearMeasurements() {
  for (int id : {ls::kChannel, ls::kTxMbps, ls::kRxMbps, ls::kTxKbps, ls::kRxKbps, ls::kQualityValue,
                 ls::kQualityWord, ls::kSignalValue, ls::kSignalWord, ls::kSignal2Value, ls::kSignal2Word,
                 ls::kNoiseValue, ls::kNoiseWord})
    Control(id).text.clear();
  for (int bar : {ls::kQualityBar, ls::kSignalBar, ls::kSignal2Bar, ls::kNoiseBar}) Control(bar).position = 0;
}

void CLinkStatusPage::Refresh() {
  const bool dbm = Control(ls::kDbm).checked;
  RefreshNoise(dbm);
  RefreshLinkEvent();

  // Preset to "disconnected" so that a value the driver does not write never reads as connected.
  std::array<uint8_t, 4> media = {1, 1, 1, 1};
  if (!channel_.Query(OID_GEN_MEDIA_CONNECT_STATUS, media)) {
    Control(ls::kStatus).text = Text(IDS_NIC_NOT_READY);
    ClearMeasurements();
    return;
  }
  MacAddress bssid{};
  channel_.Query(OID_802_11_BSSID, bssid);
  if (U32At(media, 0) == kMediaConnected && !IsZero(bssid)) {
    ShowConnected(dbm);
    return;
  }
  bool answered = false;
  bool hardwareOn = QueryHardwareRadio(answered) != 0;
  bool manages = hooks_.managesAdapter ? hooks_.managesAdapter() : true;
  Control(ls::kStatus).text = manages && hardwareOn ? Text(IDS_DISCONNECTED) : Text(IDS_RF_OFF);
  ClearMeasurements();
}

void CLinkStatusPage::ShowConnected(bool dbm) {
  std::array<uint8_t, kSsidRecordSize> ssidBytes{};
  channel_.Query(OID_802_11_SSID, ssidBytes);
  MacAddress bssid{};
  channel_.Query(OID_802_11_BSSID, bssid);
  std::string ssid = ShownSsid(DecodeSsid(ssidBytes).Text(), strings_);

  std::array<uint8_t, kConfigurationSize> config{};
  channel_.Query(OID_802_11_CONFIGURATION, config);
  uint32_t frequency = DecodeConfiguration(config).dsConfig;
  // A frequency outside the channel table keeps the previous tick's text.
  if (auto ch = ChannelFromFrequency(frequency)) {
    char text[48];
    std::snprintf(text, sizeof text, "%u <--> %d KHz", *ch, static_cast<int>(frequency));
    Control(ls::kChannel).text = text;
  }

  uint32_t power = 0;
  channel_.QueryU32(VX_OID_802_11_QUERY_TX_POWER, power);
  txPowerText_ = link_status::TxPowerText(static_cast<int32_t>(power), Text(IDS_TX_POWER_LOWEST));

  std::array<uint8_t, 4> ap{};
  std::string status = ssid + " <--> " + FormatMac(bssid);
  if (channel_.Query(VX_OID_802_11_QUERY_AP_IP_ADDRESS, ap)) {
    std::string address = FormatApAddress(ap);
    if (!address.empty()) status += " " + address;
  }
  Control(ls::kStatus).text = status;

  uint32_t rateIndex = 0;
  if (!channel_.QueryU32(VX_OID_802_11_QUERY_TX_RATE, rateIndex)) rateIndex = 0;
  Control(ls::kRxMbps).text = Format1(std::strtod(TxRateText(rateIndex).c_str(), nullptr));

  std::array<uint8_t, 16> statusBytes{};
  channel_.Query(VX_OID_802_11_QUERY_LINK_STATUS, statusBytes);
  LinkStatusRecord link = DecodeLinkStatus(statusBytes);
  Control(ls::kTxMbps).text = Format1(link.txRate / 2.0);
  Control(ls::kTxKbps).text = Format1(link_status::ThroughputKbps(link.txCounter, prevTx_));
  Control(ls::kRxKbps).text = Format1(link_status::ThroughputKbps(link.rxCounter, prevRx_));
  prevTx_ = link.txCounter;
  prevRx_ = link.rxCounter;

  prevQuality_ = link_status::LinkQualityPercent(link.channelQuality, prevQuality_);
  SetRow(ls::kQualityBar, ls::kQualityValue, ls::kQualityWord, prevQuality_, Percent(prevQuality_),
         LevelWord(prevQuality_));

  uint32_t rssiRaw = 0;
  channel_.QueryU32(OID_802_11_RSSI, rssiRaw);
  int32_t rssi = static_cast<int32_t>(rssiRaw);
  prevSignal_ = std::min(link_status::Smooth(prevSignal_, DbmToPercent(rssi)), 100);
  SetRow(ls::kSignalBar, ls::kSignalValue, ls::kSignalWord, prevSignal_, dbm ? Dbm(rssi) : Percent(prevSignal_),
         LevelWord(prevSignal_));

  uint32_t rssi2Raw = 0;
  if (channel_.QueryU32(VX_OID_802_11_QUERY_SECOND_RSSI, rssi2Raw)) {
    int32_t rssi2 = static_cast<int32_t>(rssi2Raw);
    int s2 = std::min(DbmToPercent(rssi2), 100);
    SetRow(ls::kSignal2Bar, ls::kSignal2Value, ls::kSignal2Word, s2, dbm ? Dbm(rssi2) : Percent(s2), LevelWord(s2));
  } else {
    SetRow(ls::kSignal2Bar, ls::kSignal2Value, ls::kSignal2Word, 0, "", "");
  }

  std::string extra = Control(ls::kExtra).text;
  if (hooks_.wepError && hooks_.wepError()) extra += " -- " + Text(IDS_WEP_ERROR) + " ";
  extra += " [" + Text(IDS_LS_TX_POWER) + ":" + txPowerText_ + "]";
  Control(ls::kExtra).text = extra;
}

}  // namespace vx
