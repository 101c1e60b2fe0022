// The two queues between the one-button security worker and the user-interface thread. The
// page posts to the worker; the worker "sends" to the page: it hands a message over and waits
// until the UI thread has handled it, so the page's handlers always run on the UI thread.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "base/hex.h"

namespace vx {

// Message numbers, as the window messages they stand for.
enum : uint32_t {
  kMsgDiscover = 33768,      // page posts
  kMsgApFound = 33769,       // worker sends, with the AP text
  kMsgSendKey = 33770,       // page posts, with the pass phrase
  kMsgProfileSaved = 33771,  // worker sends, with the profile to store
  kMsgCancel = 33772,        // page posts
  kMsgSaveProfile = 33774,   // page posts, with the encryption (4 TKIP, 6 AES)
  kMsgKeyDone = 102,         // worker sends, with the outcome
  kMsgQuit = 18,             // page posts: the worker ends
};

struct WorkerMessage {
  uint32_t id = 0;
  uint32_t value = 0;      // kMsgSaveProfile: encryption
  std::string passPhrase;  // kMsgSendKey
};

struct UiMessage {
  uint32_t id = 0;
  std::string apText;      // kMsgApFound
  MacAddress bssid{};      // kMsgApFound: the access point found
  bool keyResult = false;  // kMsgKeyDone
  // kMsgProfileSaved: what the UI thread stores as SSID + "_AutoSecu".
  std::string ssid;
  std::string passPhrase;
  uint32_t encryption = 0;
};

// Page to worker: a plain thread-safe queue the worker blocks on.
class WorkerQueue {
 public:
  void Post(WorkerMessage m);
  // Blocks until a message is there.
  WorkerMessage Get();
  // Waits up to `ms` unless a quit message is waiting or arrives; true when one is.
  bool WaitForQuit(uint32_t ms);

 private:
  bool QuitWaiting() const;
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<WorkerMessage> messages_;
};

// Worker to UI thread. `wake` tells the UI thread that messages wait (on Windows a message
// posted to a window of that thread); the UI thread then calls Drain. A UI side that drains on
// a timer instead works too, only later.
class UiMessageQueue {
 public:
  using Wake = std::function<void()>;
  void SetWake(Wake wake);
  // Worker side: false when the queue was closed before the message was handled.
  bool Send(UiMessage m);
  // UI thread: handles the waiting messages in order. A call made from inside a handler (a
  // nested modal loop) returns at once.
  void Drain(const std::function<void(const UiMessage&)>& handle);
  // Releases every waiting sender and refuses later sends, so the worker can end.
  void Close();
  bool Pending();

 private:
  struct Entry {
    UiMessage message;
    uint64_t sequence;
  };
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<Entry> entries_;
  Wake wake_;
  uint64_t nextSequence_ = 1;
  uint64_t handled_ = 0;
  bool closed_ = false;
  bool draining_ = false;
};

}  // namespace vx
