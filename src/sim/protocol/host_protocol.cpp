#include "sim/protocol/host_protocol.h"

namespace vx::sim {

void WriteString(ByteWriter& w, const std::string& s) {
  w.U32(static_cast<uint32_t>(s.size())).Bytes(std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
}

std::string ReadString(ByteReader& r, size_t limit) {
  uint32_t n = r.U32();
  if (n > limit) {
    r.Skip(r.remaining() + 1);  // poisons the reader
    return {};
  }
  auto b = r.Span(n);
  return std::string(b.begin(), b.end());
}

void WriteBlob(ByteWriter& w, std::span<const uint8_t> b) { w.U32(static_cast<uint32_t>(b.size())).Bytes(b); }

std::vector<uint8_t> ReadBlob(ByteReader& r, size_t limit) {
  uint32_t n = r.U32();
  if (n > limit) {
    r.Skip(r.remaining() + 1);
    return {};
  }
  auto b = r.Span(n);
  return {b.begin(), b.end()};
}

bool WriteFrame(Socket& s, std::span<const uint8_t> payload) {
  if (payload.size() > kMaxFrame) return false;
  auto header = ByteWriter().U32(static_cast<uint32_t>(payload.size())).Take();
  return s.SendAll(header) && s.SendAll(payload);
}

FrameResult ReadFrame(Socket& s, std::vector<uint8_t>& payload, uint32_t& announced, const std::atomic<bool>* stop,
                      uint32_t timeoutMs) {
  uint8_t header[4];
  int got = 0;
  uint32_t waited = 0;
  while (got == 0) {
    if (stop && *stop) return FrameResult::Stopped;
    if (!s.WaitReadable(200)) {
      waited += 200;
      if (waited >= timeoutMs) return FrameResult::Closed;
      continue;  // nothing yet
    }
    int n = s.Receive(std::span(header, 4), 0);
    if (n <= 0) return FrameResult::Closed;
    got = n;
  }
  if (got < 4 && !s.ReceiveExact(std::span(header + got, 4 - got), 5000)) return FrameResult::Closed;
  ByteReader r(header);
  announced = r.U32();
  if (announced > kMaxFrame) return FrameResult::TooLarge;
  payload.assign(announced, 0);
  if (announced && !s.ReceiveExact(payload, 5000)) return FrameResult::Closed;
  return FrameResult::Ok;
}

}  // namespace vx::sim
