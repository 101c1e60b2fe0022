#include "softap/monitor/ap_event_store.h"

#include "driver/oid_codes.h"

namespace vx {

bool ApEventStore::Collect(OidChannel& channel) {
  std::vector<uint8_t> buffer(kEventTableSize, 0);
  if (!channel.Query(VX_OID_802_11_QUERY_EVENT_TABLE, buffer)) return false;
  Append(DecodeEventTable(buffer));  // a claimed count above 10 reads as 10
  return true;
}

void ApEventStore::Append(const std::vector<EventEntry>& events) {
  size_t total = events_.size() + events.size();
  if (total > kCapacity) {
    size_t drop = total - kCapacity;
    size_t fromStore = drop < events_.size() ? drop : events_.size();
    events_.erase(events_.begin(), events_.begin() + static_cast<long>(fromStore));
    shown_ = shown_ > drop ? shown_ - drop : 0;
  }
  size_t skip = events.size() > kCapacity ? events.size() - kCapacity : 0;
  events_.insert(events_.end(), events.begin() + static_cast<long>(skip), events.end());
}

void ApEventStore::Clear() {
  events_.clear();
  shown_ = 0;
}

}  // namespace vx
