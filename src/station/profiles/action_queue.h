// The queue of changes of association that the hidden main dialog carries out one by one:
// scans, activations and plain joins by SSID or BSSID, coalesced as they are queued.
#pragma once
#include <cstddef>
#include <deque>

#include "station/profiles/activation_record.h"

namespace vx {

enum class ActionKind : uint32_t { Scan = 0, Activate = 1, AssociateSsid = 2, AssociateBssid = 3 };

struct Action {
  ActionKind kind = ActionKind::Scan;
  ActivationRecord record;  // Activate
  SsidRecord ssid;          // AssociateSsid
  MacAddress bssid{};       // AssociateBssid

  static Action Scan() { return Action{}; }
  static Action Activate(ActivationRecord r) {
    Action a;
    a.kind = ActionKind::Activate;
    a.record = std::move(r);
    return a;
  }
  static Action AssociateSsid(const SsidRecord& s) {
    Action a;
    a.kind = ActionKind::AssociateSsid;
    a.ssid = s;
    return a;
  }
  static Action AssociateBssid(const MacAddress& b) {
    Action a;
    a.kind = ActionKind::AssociateBssid;
    a.bssid = b;
    return a;
  }
};

class ActionQueue {
 public:
  // Queues an action: a new scan replaces the waiting scans, a new activation's record goes to
  // the newest waiting activation and older waiting activations are dropped. A scan already
  // started at the head is not waiting; a scan queued while it runs is served by it and dropped.
  // True when the queue holds exactly one entry afterwards.
  bool Push(Action action);

  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }
  const Action& front() const { return entries_.front(); }
  const Action& at(size_t i) const { return entries_[i]; }
  Action PopFront();
  void Clear();

  // The scan at the head has been started and waits for its result.
  void MarkHeadStarted() { headStarted_ = !entries_.empty(); }
  bool HeadStarted() const { return headStarted_; }

 private:
  std::deque<Action> entries_;
  bool headStarted_ = false;
};

}  // namespace vx
