// The access point's monitoring pages: the associated stations, and the collected events.
// Both refresh on page timer 1 (2000 ms) while they are the active page.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "common/ui/dialog_model.h"
#include "driver/oid_channel.h"
#include "platform/timer.h"
#include "platform/ui.h"
#include "softap/monitor/ap_event_store.h"

namespace vx {

// Calendar fields of a local time.
struct LocalTime {
  int year = 1601, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// FILETIME (UTC) to local calendar fields; the platform supplies the time zone.
using LocalTimeConverter = std::function<LocalTime(uint64_t fileTimeUtc)>;
// The same fields without a time zone (UTC), for platforms without one.
LocalTime FileTimeToUtcFields(uint64_t fileTime);

// A page whose timer 1 runs only while it is the active page.
class PolledPage : public DialogModel {
 public:
  static constexpr int kPageTimer = 1;
  static constexpr uint32_t kPeriodMs = 2000;
  explicit PolledPage(TimerPort& timers) : timers_(timers) {}
  ~PolledPage() override { timers_.Kill(timer_); }
  void OnSetActive() override;
  bool OnKillActive() override;
  bool TimerRunning() const { return timer_ != 0; }

 private:
  TimerPort& timers_;
  TimerId timer_ = 0;
};

class CMacTablePage : public PolledPage {
 public:
  CMacTablePage(OidChannel& channel, TimerPort& timers, const StringTable& strings);
  uint32_t TemplateId() const override;
  void OnInit() override;
  void OnTimer(int timerId) override;
  // The list's client width in pixels; column widths follow from it.
  void SetListWidth(int pixels);
  void OnListWidth(int id, int pixels) override;

 private:
  OidChannel& channel_;
  const StringTable& strings_;
  int listWidth_ = 0;  // 0 until the view tells it: the columns then follow their contents
};

class CEventLogPage : public PolledPage {
 public:
  CEventLogPage(ApEventStore& store, TimerPort& timers, const StringTable& strings, LocalTimeConverter toLocal);
  uint32_t TemplateId() const override;
  void OnInit() override;
  void OnTimer(int timerId) override;
  void OnCommand(int id, UiEvent event) override;
  void SetListWidth(int pixels);
  void OnListWidth(int id, int pixels) override;

  // The message column of one event.
  std::string Message(const EventEntry& e) const;

 private:
  void Show();
  ApEventStore& store_;
  const StringTable& strings_;
  LocalTimeConverter toLocal_;
  int listWidth_ = 0;
};

}  // namespace vx
