#include "station/profiles/action_queue.h"

namespace vx {

bool ActionQueue::Push(Action action) {
  // Entries from `first` on are waiting; the head is not when its scan has been started.
  size_t first = headStarted_ ? 1 : 0;
  bool takenOver = false;
  if (action.kind == ActionKind::Scan) {
    for (size_t i = entries_.size(); i-- > first;)
      if (entries_[i].kind == ActionKind::Scan) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    if (headStarted_ && entries_.front().kind == ActionKind::Scan) return false;  // the running scan serves it
  } else if (action.kind == ActionKind::Activate) {
    for (size_t i = entries_.size(); i-- > first;) {
      if (entries_[i].kind != ActionKind::Activate) continue;
      if (!takenOver) {
        entries_[i].record = std::move(action.record);
        takenOver = true;
      } else {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
  }
  if (!takenOver) entries_.push_back(std::move(action));
  return entries_.size() == 1;
}

Action ActionQueue::PopFront() {
  Action a = std::move(entries_.front());
  entries_.pop_front();
  headStarted_ = false;
  return a;
}

void ActionQueue::Clear() {
  entries_.clear();
  headStarted_ = false;
}

}  // namespace vx
