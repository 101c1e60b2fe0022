// The driver's access point events, collected every two seconds by the hidden main dialog
// whether or not the sheet is open: the newest 100, and how many of them the page has shown.
#pragma once
#include <cstddef>
#include <deque>
#include <vector>

#include "driver/oid_channel.h"
#include "driver/records.h"

namespace vx {

class ApEventStore {
 public:
  static constexpr size_t kCapacity = 100;

  // Queries the driver's event table and appends its new events; false when the query fails.
  bool Collect(OidChannel& channel);
  // Appends events in table order, dropping the oldest beyond the capacity.
  void Append(const std::vector<EventEntry>& events);
  void Clear();

  const std::deque<EventEntry>& Events() const { return events_; }
  size_t ShownCount() const { return shown_; }
  void SetShownCount(size_t n) { shown_ = n < events_.size() ? n : events_.size(); }
  // A new sheet lists every stored event.
  void ResetShownCount() { shown_ = 0; }

 private:
  std::deque<EventEntry> events_;
  size_t shown_ = 0;
};

}  // namespace vx
