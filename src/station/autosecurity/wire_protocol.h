// The one-button security exchange with a cooperating access point over TCP: the support query,
// the scrambled pass phrase, the apply request, and the retry composition around the last two.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/hex.h"
#include "platform/tcp.h"

namespace vx {

inline constexpr uint16_t kAutoSecurityPort = 1500;
inline constexpr uint8_t kRequestMark = 0x5C;
inline constexpr uint8_t kReplyMark = 0x5B;  // '['
inline constexpr uint8_t kCmdGetSecuritySupport = 0x01;
inline constexpr uint8_t kCmdSetWpaPsk = 0x02;
inline constexpr uint8_t kCmdApplySecurity = 0x04;
inline constexpr uint8_t kSupportReplyCode = 0x81;
inline constexpr size_t kReplyRecordSize = 256;
inline constexpr size_t kSupportHeaderSize = 6;
// The record keeps a NUL after the name, so this is the longest name it can hold.
inline constexpr size_t kMaxApNameLength = kReplyRecordSize - kSupportHeaderSize - 1;
inline constexpr uint16_t kSupportWep = 0x0001;
inline constexpr uint16_t kSupportWpaPsk = 0x0002;
inline constexpr uint8_t kApplyWep = 1;
inline constexpr uint8_t kApplyWpaPsk = 2;
inline constexpr int kSendAttempts = 3;
// How long one reply may take to arrive, all of its segments together.
inline constexpr uint32_t kReplyTimeLimitMs = 5000;

struct SupportReply {
  uint16_t flags = 0;
  std::string name;  // the access point's name, at most kMaxApNameLength bytes
  bool nameCut = false;  // fewer name bytes arrived than the reply declared
};

enum class ReplyCheck {
  Complete,    // header and declared name are all there
  NeedMore,    // a valid beginning; more bytes are due
  Unexpected,  // not a support reply, or a name the record cannot hold
};

// Whether `received` holds a whole support reply yet.
ReplyCheck CheckSupportReply(std::span<const uint8_t> received);
// Decodes a support reply. With `allowShortName` a reply whose name stops early (the peer closed
// or the time limit passed) keeps the name bytes that did arrive; otherwise it is refused.
std::optional<SupportReply> ParseSupportReply(std::span<const uint8_t> received, bool allowShortName);

// XOR of each pass phrase byte with the BSSID byte at its position modulo 6; its own inverse.
std::vector<uint8_t> ScramblePassPhrase(std::string_view passPhrase, const MacAddress& bssid);

std::vector<uint8_t> BuildSupportRequest();
// Empty when the pass phrase is not 1 to 255 bytes (its length travels in one byte).
std::vector<uint8_t> BuildSetWpaPsk(const MacAddress& bssid, std::string_view passPhrase);
std::vector<uint8_t> BuildApplySecurity(const MacAddress& bssid, uint16_t supportFlags);
// 2 with WPA-PSK support, else 1 with WEP support, else 0 (nothing to apply).
uint8_t SecurityToApply(uint16_t supportFlags);

// The single connection of a set-up. Every close goes through Close, so the connection is
// marked closed afterwards.
class AutoSecuritySession {
 public:
  explicit AutoSecuritySession(uint32_t replyTimeLimitMs = kReplyTimeLimitMs) : timeLimitMs_(replyTimeLimitMs) {}

  bool Connect(TcpPort& tcp, const std::string& host, uint16_t port, uint32_t timeoutMs);
  void Adopt(std::unique_ptr<TcpConnection> connection) { connection_ = std::move(connection); }
  bool IsOpen() const { return connection_ != nullptr; }
  // When set and true, waits end early and every later step fails, so a worker can stop.
  void SetAbortFlag(const std::atomic<bool>* abort) { abort_ = abort; }
  void Close() { connection_.reset(); }

  // Sends the support query and receives the reply, joining segments up to its declared length
  // within the time limit. Closes the connection on failure.
  std::optional<SupportReply> QuerySecuritySupport();
  // Nothing is sent for an access point with WEP only, but its acknowledgement is still awaited.
  bool SendPassPhrase(const MacAddress& bssid, uint16_t supportFlags, std::string_view passPhrase);
  bool ApplySecurity(const MacAddress& bssid, uint16_t supportFlags);
  // Up to three pass phrase attempts; after the first that succeeds, up to three apply attempts.
  // Always closes the connection.
  bool SendKeyAndApply(const MacAddress& bssid, uint16_t supportFlags, std::string_view passPhrase);

 private:
  // Any reply of at least one byte within the time limit.
  bool ReceiveAcknowledgement();
  // One receive that gives up at the deadline or on abort: bytes, 0 closed, -1 error or time-out.
  int ReceiveSome(std::span<uint8_t> out, uint32_t leftMs);
  bool Aborted() const { return abort_ && abort_->load(); }

  std::unique_ptr<TcpConnection> connection_;
  uint32_t timeLimitMs_;
  const std::atomic<bool>* abort_ = nullptr;
};

}  // namespace vx
