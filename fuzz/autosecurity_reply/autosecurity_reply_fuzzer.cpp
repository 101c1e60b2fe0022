// The access point's support reply: any bytes, whole or as the first part of a reply, decode to
// a name that fits the record or to a refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "station/autosecurity/wire_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size < vx::kReplyRecordSize ? size : vx::kReplyRecordSize);
  vx::ReplyCheck check = vx::CheckSupportReply(bytes);
  for (bool allowShort : {false, true}) {
    auto reply = vx::ParseSupportReply(bytes, allowShort);
    if (!reply) continue;
    if (reply->name.size() > vx::kMaxApNameLength) std::abort();
    if (reply->name.size() + vx::kSupportHeaderSize > bytes.size()) std::abort();
    if (!allowShort && check != vx::ReplyCheck::Complete) std::abort();
  }
  return 0;
}
