#include "common/pages/statistic_page.h"

#include <vector>

#include "driver/oid_codes.h"
#include "driver/records.h"
#include "resources/string_ids.h"

namespace vx {
namespace {

// The 64-bit rows print as signed 64-bit decimals, the two general counters as unsigned 32-bit.
std::string Signed64(uint64_t v) { return std::to_string(static_cast<int64_t>(v)); }

}  // namespace

std::array<std::string, st::kRowCount> StatisticRows(const StatisticCounters& c) {
  return {Signed64(c.transmittedFragmentCount),
          Signed64(c.transmittedFragmentCount - c.retryCount),
          Signed64(c.retryCount),
          Signed64(c.failedCount),
          Signed64(c.rtsSuccessCount),
          Signed64(c.rtsFailureCount),
          std::to_string(c.rcvOk),
          Signed64(c.fcsErrorCount),
          std::to_string(c.rcvNoBuffer),
          Signed64(c.frameDuplicateCount)};
}

CStatisticPage::CStatisticPage(OidChannel& channel, TimerPort& timers, const StringTable& strings)
    : channel_(channel), timers_(timers), strings_(strings) {}

CStatisticPage::~CStatisticPage() { KillTimer(); }

void CStatisticPage::KillTimer() {
  if (timer_) timers_.Kill(timer_);
  timer_ = 0;
}

void CStatisticPage::OnInit() {
  static constexpr uint32_t kLabels[st::kRowCount] = {
      IDS_ST_TX_OK,     IDS_ST_TX_OK_NO_RETRY, IDS_ST_TX_OK_AFTER_RETRY, IDS_ST_TX_NO_ACK,     IDS_ST_RTS_OK,
      IDS_ST_RTS_FAIL, IDS_ST_RX_OK,          IDS_ST_RX_CRC,            IDS_ST_RX_DROPPED, IDS_ST_RX_DUPLICATE};
  for (int row = 0; row < st::kRowCount; ++row) Control(st::Label(row)).text = strings_.Get(kLabels[row]);
  Control(st::kTransmitGroup).text = strings_.Get(IDS_ST_TRANSMIT);
  Control(st::kReceiveGroup).text = strings_.Get(IDS_ST_RECEIVE);
  Control(st::kReset).text = strings_.Get(IDS_ST_RESET_COUNTER);
}

void CStatisticPage::OnSetActive() {
  KillTimer();
  timer_ = timers_.Start(kTimerMs, [this](TimerId) { Refresh(); });
}

bool CStatisticPage::OnKillActive() {
  KillTimer();
  return true;
}

void CStatisticPage::OnTimer(int timerId) {
  if (timerId == kPageTimer) Refresh();
}

void CStatisticPage::OnCommand(int controlId, UiEvent event) {
  if (controlId == st::kReset && event == UiEvent::Clicked) ResetCounters();
}

void CStatisticPage::Show(const std::array<std::string, st::kRowCount>& rows) {
  for (int row = 0; row < st::kRowCount; ++row) Control(st::Value(row)).text = rows[static_cast<size_t>(row)];
}

void CStatisticPage::Refresh() {
  // A failed query shows the buffer's zeroes.
  std::vector<uint8_t> buffer(StatisticsRecord::kSize, 0);
  channel_.Query(OID_802_11_STATISTICS, buffer);
  StatisticsRecord s = DecodeStatistics(buffer);
  StatisticCounters c;
  c.transmittedFragmentCount = s.transmittedFragmentCount;
  c.retryCount = s.retryCount;
  c.failedCount = s.failedCount;
  c.rtsSuccessCount = s.rtsSuccessCount;
  c.rtsFailureCount = s.rtsFailureCount;
  c.fcsErrorCount = s.fcsErrorCount;
  c.frameDuplicateCount = s.frameDuplicateCount;
  uint32_t v = 0;
  if (channel_.QueryU32(OID_GEN_RCV_OK, v)) c.rcvOk = v;
  v = 0;
  if (channel_.QueryU32(OID_GEN_RCV_NO_BUFFER, v)) c.rcvNoBuffer = v;
  Show(StatisticRows(c));
}

void CStatisticPage::ResetCounters() {
  Show(StatisticRows({}));
  channel_.Set(VX_OID_802_11_SET_RESET_COUNTERS, std::span<uint8_t>{}, 3);
}

}  // namespace vx
