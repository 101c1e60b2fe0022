#include "station/profiles/action_queue.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

Action Activation(const char* ssid) {
  ActivationRecord r;
  r.ssid = SsidRecord::From(ssid);
  return Action::Activate(r);
}

std::string Describe(const ActionQueue& q) {
  std::string s;
  for (size_t i = 0; i < q.size(); ++i) {
    const Action& a = q.at(i);
    if (!s.empty()) s += ",";
    switch (a.kind) {
      case ActionKind::Scan: s += "scan"; break;
      case ActionKind::Activate: s += "act:" + a.record.ssid.Text(); break;
      case ActionKind::AssociateSsid: s += "ssid:" + a.ssid.Text(); break;
      case ActionKind::AssociateBssid: s += "bssid"; break;
    }
  }
  return s;
}

TEST(ActionQueue, ReportsWhenItHoldsExactlyOneEntry) {
  ActionQueue q;
  EXPECT_TRUE(q.Push(Action::Scan()));
  EXPECT_FALSE(q.Push(Activation("a")));
  q.PopFront();
  q.PopFront();
  EXPECT_TRUE(q.Push(Action::AssociateBssid({1, 2, 3, 4, 5, 6})));
}

TEST(ActionQueue, TwoActivationsBehindARunningScanLeaveTheNewerOne) {
  ActionQueue q;
  q.Push(Action::Scan());
  q.MarkHeadStarted();
  q.Push(Activation("first"));
  q.Push(Activation("second"));
  EXPECT_EQ(Describe(q), "scan,act:second");
}

TEST(ActionQueue, TheNewestWaitingActivationTakesTheRecordInItsPlace) {
  ActionQueue q;
  q.Push(Activation("a1"));
  q.Push(Action::AssociateSsid(SsidRecord::From("x")));
  q.Push(Activation("a2"));
  q.Push(Action::Scan());
  q.Push(Activation("a3"));
  EXPECT_EQ(Describe(q), "act:a3,ssid:x,scan");
}

TEST(ActionQueue, ANewScanReplacesWaitingScansAtTheBack) {
  ActionQueue q;
  q.Push(Action::Scan());
  q.Push(Activation("a"));
  q.Push(Action::Scan());
  EXPECT_EQ(Describe(q), "act:a,scan");
}

TEST(ActionQueue, AScanQueuedWhileOneRunsIsServedByIt) {
  ActionQueue q;
  q.Push(Action::Scan());
  q.MarkHeadStarted();
  EXPECT_FALSE(q.Push(Action::Scan()));
  EXPECT_EQ(Describe(q), "scan");
  q.Push(Activation("a"));
  EXPECT_FALSE(q.Push(Action::Scan()));
  EXPECT_EQ(Describe(q), "scan,act:a");
  q.PopFront();
  EXPECT_FALSE(q.HeadStarted());
}

}  // namespace
}  // namespace vx
