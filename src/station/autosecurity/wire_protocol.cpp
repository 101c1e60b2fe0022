#include "station/autosecurity/wire_protocol.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace vx {
namespace {

uint16_t BigEndian16(uint8_t hi, uint8_t lo) { return static_cast<uint16_t>((hi << 8) | lo); }

class Deadline {
 public:
  explicit Deadline(uint32_t ms) : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {}
  // Milliseconds left, 0 once it has passed.
  uint32_t Left() const {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now()).count();
    return left > 0 ? static_cast<uint32_t>(left) : 0;
  }

 private:
  std::chrono::steady_clock::time_point end_;
};

}  // namespace

ReplyCheck CheckSupportReply(std::span<const uint8_t> received) {
  if (!received.empty() && received[0] != kReplyMark) return ReplyCheck::Unexpected;
  if (received.size() >= 2 && received[1] != kSupportReplyCode) return ReplyCheck::Unexpected;
  if (received.size() < kSupportHeaderSize) return ReplyCheck::NeedMore;
  size_t nameLength = BigEndian16(received[4], received[5]);
  if (nameLength > kMaxApNameLength) return ReplyCheck::Unexpected;
  return received.size() - kSupportHeaderSize >= nameLength ? ReplyCheck::Complete : ReplyCheck::NeedMore;
}

std::optional<SupportReply> ParseSupportReply(std::span<const uint8_t> received, bool allowShortName) {
  ReplyCheck check = CheckSupportReply(received);
  if (check == ReplyCheck::Unexpected) return std::nullopt;
  if (received.size() < kSupportHeaderSize) return std::nullopt;
  if (check == ReplyCheck::NeedMore && !allowShortName) return std::nullopt;
  ByteReader r(received);
  r.Skip(2);
  uint8_t f0 = r.U8(), f1 = r.U8();
  uint8_t n0 = r.U8(), n1 = r.U8();
  SupportReply reply;
  reply.flags = BigEndian16(f0, f1);
  size_t declared = BigEndian16(n0, n1);
  size_t available = std::min(declared, r.remaining());
  auto name = r.Span(available);
  reply.name.assign(name.begin(), name.end());
  reply.nameCut = available < declared;
  return reply;
}

std::vector<uint8_t> ScramblePassPhrase(std::string_view passPhrase, const MacAddress& bssid) {
  // Exactly one output byte per pass phrase byte: a short pass phrase is never read past its end.
  std::vector<uint8_t> out(passPhrase.size());
  for (size_t i = 0; i < passPhrase.size(); ++i)
    out[i] = static_cast<uint8_t>(static_cast<uint8_t>(passPhrase[i]) ^ bssid[i % bssid.size()]);
  return out;
}

std::vector<uint8_t> BuildSupportRequest() { return {kRequestMark, kCmdGetSecuritySupport}; }

std::vector<uint8_t> BuildSetWpaPsk(const MacAddress& bssid, std::string_view passPhrase) {
  if (passPhrase.empty() || passPhrase.size() > 255) return {};
  ByteWriter w;
  w.U8(kRequestMark).U8(kCmdSetWpaPsk).Bytes(bssid).U8(static_cast<uint8_t>(passPhrase.size()));
  w.Bytes(ScramblePassPhrase(passPhrase, bssid));
  return w.Take();
}

uint8_t SecurityToApply(uint16_t flags) {
  if (flags & kSupportWpaPsk) return kApplyWpaPsk;
  if (flags & kSupportWep) return kApplyWep;
  return 0;
}

std::vector<uint8_t> BuildApplySecurity(const MacAddress& bssid, uint16_t flags) {
  ByteWriter w;
  w.U8(kRequestMark).U8(kCmdApplySecurity).Bytes(bssid).U8(SecurityToApply(flags)).U8(0x00);
  return w.Take();
}

bool AutoSecuritySession::Connect(TcpPort& tcp, const std::string& host, uint16_t port, uint32_t timeoutMs) {
  Close();
  connection_ = tcp.Connect(host, port, timeoutMs);
  return connection_ != nullptr;
}

std::optional<SupportReply> AutoSecuritySession::QuerySecuritySupport() {
  if (!connection_) return std::nullopt;
  auto request = BuildSupportRequest();
  if (!connection_->SendAll(request)) {
    Close();
    return std::nullopt;
  }
  std::array<uint8_t, kReplyRecordSize> buffer{};
  size_t got = 0;
  Deadline deadline(timeLimitMs_);
  ReplyCheck check = ReplyCheck::NeedMore;
  while (check == ReplyCheck::NeedMore && got < buffer.size()) {
    uint32_t left = deadline.Left();
    if (left == 0) break;
    int n = ReceiveSome(std::span<uint8_t>(buffer).subspan(got), left);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
    check = CheckSupportReply(std::span<const uint8_t>(buffer.data(), got));
  }
  // A reply whose name did not all arrive in time still carries its flags.
  auto reply = ParseSupportReply(std::span<const uint8_t>(buffer.data(), got), true);
  if (!reply) Close();
  return reply;
}

int AutoSecuritySession::ReceiveSome(std::span<uint8_t> out, uint32_t leftMs) {
  if (!abort_) return connection_->Receive(out, leftMs);
  // In slices, so an abort is seen within one slice.
  constexpr uint32_t kSliceMs = 100;
  Deadline deadline(leftMs);
  while (!Aborted()) {
    uint32_t left = deadline.Left();
    if (left == 0) return -1;
    uint32_t slice = std::min(left, kSliceMs);
    auto before = std::chrono::steady_clock::now();
    int n = connection_->Receive(out, slice);
    if (n >= 0) return n;
    // An error comes back at once; a time-out only after the slice.
    if (std::chrono::steady_clock::now() - before < std::chrono::milliseconds(slice / 2)) return -1;
  }
  return -1;
}

bool AutoSecuritySession::ReceiveAcknowledgement() {
  if (!connection_) return false;
  std::array<uint8_t, kReplyRecordSize> buffer{};
  return ReceiveSome(buffer, timeLimitMs_) > 0;
}

bool AutoSecuritySession::SendPassPhrase(const MacAddress& bssid, uint16_t flags, std::string_view passPhrase) {
  if (!connection_ || Aborted()) return false;
  if (flags & kSupportWpaPsk) {
    auto request = BuildSetWpaPsk(bssid, passPhrase);
    if (request.empty() || !connection_->SendAll(request)) return false;
  } else if (!(flags & kSupportWep)) {
    return false;  // the access point supports no encryption
  }
  return ReceiveAcknowledgement();
}

bool AutoSecuritySession::ApplySecurity(const MacAddress& bssid, uint16_t flags) {
  if (!connection_ || Aborted()) return false;
  if (!connection_->SendAll(BuildApplySecurity(bssid, flags))) return false;
  return ReceiveAcknowledgement();
}

bool AutoSecuritySession::SendKeyAndApply(const MacAddress& bssid, uint16_t flags, std::string_view passPhrase) {
  if (!connection_) return false;
  bool ok = false;
  if (!passPhrase.empty()) {
    for (int attempt = 0; attempt < kSendAttempts && !ok; ++attempt) {
      if (!SendPassPhrase(bssid, flags, passPhrase)) continue;
      for (int apply = 0; apply < kSendAttempts && !ok; ++apply) ok = ApplySecurity(bssid, flags);
      break;  // a failed apply sequence is not followed by another pass phrase
    }
  }
  Close();
  return ok;
}

}  // namespace vx
