// "Link Status": while shown, polls the driver every two seconds and shows the association,
// channel, link speeds, throughput, link quality, signal of one or two receive chains, noise
// and the driver's last link event. It changes nothing in the driver.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "common/ui/dialog_model.h"
#include "driver/oid_channel.h"
#include "platform/timer.h"
#include "platform/ui.h"
#include "resources/dialogs/link_status_page.h"

namespace vx {

// What the page learns from and tells the shell.
struct LinkStatusHooks {
  // True while this utility, not the zero-configuration service, configures the adapter.
  std::function<bool()> managesAdapter;
  // The hidden main dialog's WEP-key-error flag.
  std::function<bool()> wepError;
  // The process-wide hardware radio mark and the main sheet's radio button refresh
  // (AdapterControl::HardwareRadioOn, SetHardwareRadioOn, RefreshRadioButton).
  std::function<bool()> hardwareRadioOn;
  std::function<void(bool on)> setHardwareRadioOn;
  std::function<void()> refreshRadioButton;
};

// Mappings the page shows; pure, so they are tested on their own.
namespace link_status {
// trunc(quality x 1.2 + 10), at most 100, then averaged with the previous shown value (0 = none).
int LinkQualityPercent(uint32_t channelQuality, int previous);
// The rounded mean with the previous shown value when there is one.
int Smooth(int previous, int current);
// Transmit power text: "100%", "%d%%" from 7 up, "Lowest" below.
std::string TxPowerText(int32_t percent, const std::string& lowest);
// Throughput in kbit/s over the two-second period from a wrapping 32-bit byte counter.
double ThroughputKbps(uint32_t now, uint32_t before);
}  // namespace link_status

class CLinkStatusPage : public DialogModel {
 public:
  static constexpr uint32_t kTimerMs = 2000;
  static constexpr int kPageTimer = 1;

  CLinkStatusPage(OidChannel& channel, TimerPort& timers, const StringTable& strings, LinkStatusHooks hooks = {});
  ~CLinkStatusPage() override;
  CLinkStatusPage(const CLinkStatusPage&) = delete;
  CLinkStatusPage& operator=(const CLinkStatusPage&) = delete;

  uint32_t TemplateId() const override { return kIddLinkStatus; }
  void OnInit() override;
  void OnSetActive() override;
  bool OnKillActive() override;
  void OnTimer(int timerId) override;
  void OnCommand(int controlId, UiEvent event) override;

  // One refresh of every field, as the page timer does it.
  void Refresh();
  bool SecondChainShown() const { return secondChain_; }
  bool TimerRunning() const { return timer_ != 0; }
  LinkStatusHooks& Hooks() { return hooks_; }

 private:
  std::string Text(uint32_t id) const { return strings_.Get(id); }
  std::string LevelWord(int percent) const;  // Good / Normal / Weak
  void RefreshNoise(bool dbm);
  void RefreshLinkEvent();
  void ShowConnected(bool dbm);
  void ClearMeasurements();
  void SetRow(int bar, int value, int word, int percent, const std::string& valueText, const std::string& wordText);
  uint32_t QueryHardwareRadio(bool& answered);
  void KillTimer();

  OidChannel& channel_;
  TimerPort& timers_;
  const StringTable& strings_;
  LinkStatusHooks hooks_;
  TimerId timer_ = 0;
  uint32_t prevTx_ = 0;
  uint32_t prevRx_ = 0;
  int prevQuality_ = 0;
  int prevSignal_ = 0;
  bool secondChain_ = false;
  std::string txPowerText_;
};

}  // namespace vx
