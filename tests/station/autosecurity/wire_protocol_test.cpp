// The one-button security exchange: the support reply's decoding, the request bytes, the retry
// composition on a scripted connection, and the same over real loopback connections.
#include "station/autosecurity/wire_protocol.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "net/socket.h"

namespace vx {
namespace {

using Bytes = std::vector<uint8_t>;
const MacAddress kBssid = {0x00, 0x0C, 0xE7, 0x10, 0x20, 0x30};

Bytes SupportReplyBytes(uint16_t flags, const std::string& name, std::optional<uint16_t> declared = {}) {
  uint16_t n = declared.value_or(static_cast<uint16_t>(name.size()));
  Bytes b = {0x5B, 0x81, uint8_t(flags >> 8), uint8_t(flags), uint8_t(n >> 8), uint8_t(n)};
  b.insert(b.end(), name.begin(), name.end());
  return b;
}

TEST(SupportReply, DecodesFlagsAndNameAndRefusesOtherReplies) {
  auto ok = ParseSupportReply(SupportReplyBytes(0x0002, "AP-1"), false);
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->flags, 0x0002);
  EXPECT_EQ(ok->name, "AP-1");
  EXPECT_FALSE(ok->nameCut);

  struct Case {
    const char* what;
    Bytes bytes;
  };
  Bytes request = SupportReplyBytes(0x0002, "AP-1");
  request[0] = 0x5C;
  Bytes otherCode = SupportReplyBytes(0x0002, "AP-1");
  otherCode[1] = 0x82;
  const Case refused[] = {
      {"starts with the request mark", request},
      {"another reply code", otherCode},
      {"nothing", {}},
      {"header cut", {0x5B, 0x81, 0x00, 0x02, 0x00}},
      {"name longer than the record holds", SupportReplyBytes(3, std::string(250, 'x'))},
      {"declared 0xFFFF", SupportReplyBytes(3, "abc", 0xFFFF)},
  };
  for (const auto& c : refused) {
    EXPECT_FALSE(ParseSupportReply(c.bytes, false)) << c.what;
    EXPECT_FALSE(ParseSupportReply(c.bytes, true)) << c.what;
  }
}

TEST(SupportReply, NameThatRunsPastTheBytesIsCutOrRefused) {
  Bytes b = SupportReplyBytes(0x0003, "abc", 10);
  EXPECT_EQ(CheckSupportReply(b), ReplyCheck::NeedMore);
  EXPECT_FALSE(ParseSupportReply(b, false));
  auto cut = ParseSupportReply(b, true);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->flags, 3);
  EXPECT_EQ(cut->name, "abc");
  EXPECT_TRUE(cut->nameCut);

  // The longest name the record can keep with its NUL.
  auto longest = ParseSupportReply(SupportReplyBytes(1, std::string(kMaxApNameLength, 'n')), false);
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->name.size(), 249u);
}

TEST(Requests, ScrambleSetAndApplyBytes) {
  const std::string plain = "passphrase";
  EXPECT_EQ(ScramblePassPhrase(plain, MacAddress{}), Bytes(plain.begin(), plain.end()));
  auto scrambled = ScramblePassPhrase("0123456789", kBssid);
  std::string back;
  for (size_t i = 0; i < scrambled.size(); ++i) back.push_back(char(scrambled[i] ^ kBssid[i % 6]));
  EXPECT_EQ(back, "0123456789");
  // A pass phrase shorter than the BSSID is not read past its end.
  EXPECT_EQ(ScramblePassPhrase("ab", kBssid).size(), 2u);

  Bytes set = BuildSetWpaPsk(kBssid, "0123456789");
  ASSERT_EQ(set.size(), 19u);
  EXPECT_EQ(set[0], 0x5C);
  EXPECT_EQ(set[1], 0x02);
  EXPECT_EQ(Bytes(set.begin() + 2, set.begin() + 8), Bytes(kBssid.begin(), kBssid.end()));
  EXPECT_EQ(set[8], 10);
  EXPECT_EQ(Bytes(set.begin() + 9, set.end()), scrambled);

  EXPECT_EQ(BuildApplySecurity(kBssid, 0x0001)[8], 1);
  EXPECT_EQ(BuildApplySecurity(kBssid, 0x0003)[8], 2);
  EXPECT_EQ(BuildApplySecurity(kBssid, 0x0003).size(), 10u);
  EXPECT_EQ(BuildSupportRequest(), (Bytes{0x5C, 0x01}));
}

// A connection that answers each receive from a script and records what was sent.
class ScriptedConnection : public TcpConnection {
 public:
  struct Log {
    std::vector<Bytes> sent;
    bool closed = false;
  };
  ScriptedConnection(std::deque<int> receives, Log& log) : receives_(std::move(receives)), log_(log) {}
  ~ScriptedConnection() override { log_.closed = true; }
  bool SendAll(std::span<const uint8_t> data) override {
    log_.sent.emplace_back(data.begin(), data.end());
    return true;
  }
  // Script: >0 answers that many bytes, 0 the peer closed, -1 error.
  int Receive(std::span<uint8_t> out, uint32_t) override {
    if (receives_.empty()) return -1;
    int n = receives_.front();
    receives_.pop_front();
    for (int i = 0; i < n && size_t(i) < out.size(); ++i) out[size_t(i)] = 0x5B;
    return n;
  }

 private:
  std::deque<int> receives_;
  Log& log_;
};

struct Exchange {
  ScriptedConnection::Log log;
  AutoSecuritySession session;
  explicit Exchange(std::deque<int> receives) { session.Adopt(std::make_unique<ScriptedConnection>(std::move(receives), log)); }
  std::vector<uint8_t> Commands() const {
    std::vector<uint8_t> c;
    for (const auto& s : log.sent) c.push_back(s.size() > 1 ? s[1] : 0);
    return c;
  }
};

TEST(SendKeyAndApply, RetriesThePassPhraseThenApplies) {
  Exchange x({-1, 3, 3});  // the first pass phrase is not acknowledged
  EXPECT_TRUE(x.session.SendKeyAndApply(kBssid, 0x0002, "0123456789"));
  EXPECT_EQ(x.Commands(), (std::vector<uint8_t>{0x02, 0x02, 0x04}));
  EXPECT_TRUE(x.log.closed);
  EXPECT_FALSE(x.session.IsOpen());
}

TEST(SendKeyAndApply, PeerThatClosesGetsThreeAttemptsThenFails) {
  Exchange x({0, 0, 0});
  EXPECT_FALSE(x.session.SendKeyAndApply(kBssid, 0x0002, "0123456789"));
  EXPECT_EQ(x.Commands(), (std::vector<uint8_t>{0x02, 0x02, 0x02}));
  EXPECT_TRUE(x.log.closed);
}

TEST(SendKeyAndApply, FailedApplyIsNotFollowedByAnotherPassPhrase) {
  Exchange x({3, -1, 0, -1});
  EXPECT_FALSE(x.session.SendKeyAndApply(kBssid, 0x0002, "0123456789"));
  EXPECT_EQ(x.Commands(), (std::vector<uint8_t>{0x02, 0x04, 0x04, 0x04}));
}

TEST(SendKeyAndApply, WepOnlySendsNothingButWaitsThenAppliesWep) {
  Exchange x({1, 1});
  EXPECT_TRUE(x.session.SendKeyAndApply(kBssid, 0x0001, "0123456789"));
  ASSERT_EQ(x.log.sent.size(), 1u);
  EXPECT_EQ(x.log.sent[0][1], 0x04);
  EXPECT_EQ(x.log.sent[0][8], 1);
}

TEST(SendKeyAndApply, NoFlagsOrNoPassPhraseSendsNothing) {
  Exchange none({3, 3, 3, 3});
  EXPECT_FALSE(none.session.SendKeyAndApply(kBssid, 0x0000, "0123456789"));
  EXPECT_TRUE(none.log.sent.empty());
  EXPECT_TRUE(none.log.closed);

  Exchange empty({3, 3});
  EXPECT_FALSE(empty.session.SendKeyAndApply(kBssid, 0x0002, ""));
  EXPECT_TRUE(empty.log.sent.empty());
  EXPECT_TRUE(empty.log.closed);

  AutoSecuritySession closed;
  EXPECT_FALSE(closed.SendKeyAndApply(kBssid, 0x0002, "0123456789"));
}

// ---- over real loopback connections ------------------------------------------------------------

// A peer that records every byte it gets and runs a scripted reaction to each request.
class LoopbackPeer {
 public:
  using React = std::function<void(Socket&, const Bytes& request)>;
  explicit LoopbackPeer(React react)
      : server_([this, react](Socket& s) {
          uint8_t buf[512];
          while (true) {
            if (!s.WaitReadable(50)) {
              if (stop_) return;
              continue;
            }
            int n = s.Receive(buf, 0);
            if (n <= 0) return;
            Bytes request(buf, buf + n);
            {
              std::lock_guard lock(mutex_);
              received_.push_back(request);
            }
            react(s, request);
          }
        }) {
    EXPECT_TRUE(server_.Start(0));
  }
  ~LoopbackPeer() {
    stop_ = true;
    server_.Stop();
  }
  uint16_t Port() const { return server_.Port(); }
  std::vector<Bytes> Received() {
    std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  std::mutex mutex_;
  std::vector<Bytes> received_;
  std::atomic<bool> stop_{false};
  TcpServer server_;
};

TEST(Loopback, SupportReplyInSegmentsIsJoined) {
  LoopbackPeer peer([](Socket& s, const Bytes&) {
    Bytes reply = SupportReplyBytes(0x0003, "Arventa AP");
    s.SendAll(std::span<const uint8_t>(reply).first(3));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    s.SendAll(std::span<const uint8_t>(reply).subspan(3, 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    s.SendAll(std::span<const uint8_t>(reply).subspan(8));
  });
  TcpClient tcp;
  AutoSecuritySession session(3000);
  ASSERT_TRUE(session.Connect(tcp, "127.0.0.1", peer.Port(), 2000));
  auto reply = session.QuerySecuritySupport();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->flags, 3);
  EXPECT_EQ(reply->name, "Arventa AP");
  EXPECT_FALSE(reply->nameCut);
  EXPECT_TRUE(session.IsOpen());
  EXPECT_EQ(peer.Received().at(0), (Bytes{0x5C, 0x01}));
}

TEST(Loopback, RefusedOrMissingRepliesCloseTheConnection) {
  LoopbackPeer wrong([](Socket& s, const Bytes&) {
    Bytes reply = SupportReplyBytes(2, "AP-1");
    reply[0] = 0x5C;
    s.SendAll(reply);
  });
  LoopbackPeer silent([](Socket&, const Bytes&) {});
  LoopbackPeer closing([](Socket& s, const Bytes&) { s.Shutdown(); });
  TcpClient tcp;
  for (uint16_t port : {wrong.Port(), silent.Port(), closing.Port()}) {
    AutoSecuritySession session(300);
    ASSERT_TRUE(session.Connect(tcp, "127.0.0.1", port, 2000));
    EXPECT_FALSE(session.QuerySecuritySupport()) << port;
    EXPECT_FALSE(session.IsOpen());
  }
}

TEST(Loopback, NameCutWhenThePeerStopsEarly) {
  LoopbackPeer peer([](Socket& s, const Bytes&) {
    s.SendAll(SupportReplyBytes(0x0002, "Arv", 10));
    s.Shutdown();
  });
  TcpClient tcp;
  AutoSecuritySession session(2000);
  ASSERT_TRUE(session.Connect(tcp, "127.0.0.1", peer.Port(), 2000));
  auto reply = session.QuerySecuritySupport();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->flags, 2);
  EXPECT_EQ(reply->name, "Arv");
  EXPECT_TRUE(reply->nameCut);
}

TEST(Loopback, FullExchangeCarriesTheScrambledPassPhrase) {
  LoopbackPeer peer([](Socket& s, const Bytes& request) {
    if (request[1] == 0x01) s.SendAll(SupportReplyBytes(0x0003, "AP"));
    if (request[1] == 0x02) s.SendAll(Bytes{0x5B, 0x82, 0x00});
    if (request[1] == 0x04) s.SendAll(Bytes{0x5B, 0x84, 0x00});
  });
  TcpClient tcp;
  AutoSecuritySession session(2000);
  ASSERT_TRUE(session.Connect(tcp, "127.0.0.1", peer.Port(), 2000));
  auto reply = session.QuerySecuritySupport();
  ASSERT_TRUE(reply);
  EXPECT_TRUE(session.SendKeyAndApply(kBssid, reply->flags, "0123456789"));
  EXPECT_FALSE(session.IsOpen());
  auto got = peer.Received();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[1], BuildSetWpaPsk(kBssid, "0123456789"));
  EXPECT_EQ(got[2], BuildApplySecurity(kBssid, 3));
}

TEST(Loopback, PeerThatClosesInsteadOfAcknowledgingFails) {
  LoopbackPeer peer([](Socket& s, const Bytes& request) {
    if (request[1] == 0x01)
      s.SendAll(SupportReplyBytes(0x0002, "AP"));
    else
      s.Shutdown();
  });
  TcpClient tcp;
  AutoSecuritySession session(2000);
  ASSERT_TRUE(session.Connect(tcp, "127.0.0.1", peer.Port(), 2000));
  ASSERT_TRUE(session.QuerySecuritySupport());
  EXPECT_FALSE(session.SendKeyAndApply(kBssid, 0x0002, "0123456789"));
  EXPECT_FALSE(session.IsOpen());
  for (const auto& r : peer.Received()) EXPECT_NE(r[1], 0x04);  // never applied
}

TEST(Loopback, AbortEndsAWaitEarly) {
  LoopbackPeer silent([](Socket&, const Bytes&) {});
  TcpClient tcp;
  std::atomic<bool> abort{false};
  AutoSecuritySession session(60000);
  session.SetAbortFlag(&abort);
  ASSERT_TRUE(session.Connect(tcp, "127.0.0.1", silent.Port(), 2000));
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    abort = true;
  });
  EXPECT_FALSE(session.QuerySecuritySupport());  // returns instead of waiting a minute
  stopper.join();
}

}  // namespace
}  // namespace vx
