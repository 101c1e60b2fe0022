// "Statistics", shared by both programs: the driver's 802.11 transmit and receive counters,
// refreshed every two seconds while shown, and "Reset Counter".
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/ui/dialog_model.h"
#include "driver/oid_channel.h"
#include "platform/timer.h"
#include "platform/ui.h"
#include "resources/dialogs/statistic_page.h"

namespace vx {

struct StatisticCounters {
  uint64_t transmittedFragmentCount = 0;
  uint64_t retryCount = 0;
  uint64_t failedCount = 0;
  uint64_t rtsSuccessCount = 0;
  uint64_t rtsFailureCount = 0;
  uint32_t rcvOk = 0;
  uint64_t fcsErrorCount = 0;
  uint32_t rcvNoBuffer = 0;
  uint64_t frameDuplicateCount = 0;
};

// The ten row texts in dialog order.
std::array<std::string, st::kRowCount> StatisticRows(const StatisticCounters& c);

class CStatisticPage : public DialogModel {
 public:
  static constexpr uint32_t kTimerMs = 2000;
  static constexpr int kPageTimer = 1;

  CStatisticPage(OidChannel& channel, TimerPort& timers, const StringTable& strings);
  ~CStatisticPage() override;
  CStatisticPage(const CStatisticPage&) = delete;
  CStatisticPage& operator=(const CStatisticPage&) = delete;

  uint32_t TemplateId() const override { return kIddStatistics; }
  void OnInit() override;
  void OnSetActive() override;
  bool OnKillActive() override;
  void OnTimer(int timerId) override;
  void OnCommand(int controlId, UiEvent event) override;

  void Refresh();
  void ResetCounters();
  bool TimerRunning() const { return timer_ != 0; }

 private:
  void Show(const std::array<std::string, st::kRowCount>& rows);
  void KillTimer();

  OidChannel& channel_;
  TimerPort& timers_;
  const StringTable& strings_;
  TimerId timer_ = 0;
};

}  // namespace vx
