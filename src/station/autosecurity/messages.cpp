#include "station/autosecurity/messages.h"

#include <chrono>

namespace vx {

void WorkerQueue::Post(WorkerMessage m) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(std::move(m));
  }
  cv_.notify_all();
}

WorkerMessage WorkerQueue::Get() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return !messages_.empty(); });
  WorkerMessage m = std::move(messages_.front());
  messages_.pop_front();
  return m;
}

bool WorkerQueue::QuitWaiting() const {
  for (const auto& m : messages_)
    if (m.id == kMsgQuit) return true;
  return false;
}

bool WorkerQueue::WaitForQuit(uint32_t ms) {
  std::unique_lock lock(mutex_);
  return cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return QuitWaiting(); });
}

void UiMessageQueue::SetWake(Wake wake) {
  std::lock_guard lock(mutex_);
  wake_ = std::move(wake);
}

bool UiMessageQueue::Send(UiMessage m) {
  Wake wake;
  uint64_t sequence;
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    sequence = nextSequence_++;
    entries_.push_back({std::move(m), sequence});
    wake = wake_;
  }
  if (wake) wake();
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [&] { return closed_ || handled_ >= sequence; });
  return handled_ >= sequence;
}

void UiMessageQueue::Drain(const std::function<void(const UiMessage&)>& handle) {
  std::unique_lock lock(mutex_);
  if (draining_) return;
  draining_ = true;
  while (!entries_.empty() && !closed_) {
    Entry e = std::move(entries_.front());
    entries_.pop_front();
    lock.unlock();
    handle(e.message);
    lock.lock();
    handled_ = e.sequence;
    cv_.notify_all();
  }
  draining_ = false;
}

void UiMessageQueue::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    entries_.clear();
  }
  cv_.notify_all();
}

bool UiMessageQueue::Pending() {
  std::lock_guard lock(mutex_);
  return !entries_.empty();
}

}  // namespace vx
