#include "driver/oid_channel.h"

#include <cstring>

#include "driver/oid_codes.h"
#include "platform/trace.h"

namespace vx {
namespace {

std::span<const uint8_t> CodeBytes(const uint32_t& code, uint8_t (&storage)[4]) {
  for (int i = 0; i < 4; ++i) storage[i] = static_cast<uint8_t>(code >> (8 * i));
  return storage;
}

}  // namespace

OidChannel::OidChannel(DevicePort& device, TimerPort& timers, Program program)
    : device_(device), timers_(timers), program_(program) {}

OidChannel::~OidChannel() {
  for (const auto& p : pending_) timers_.Kill(p.timerId);
}

bool OidChannel::OidQueryInformation(uint32_t oid, std::span<uint8_t> buffer, uint32_t& bytesReturned) {
  auto handle = device_.Open(devicePath_);
  if (!handle) return false;
  bytesReturned = 0;
  uint8_t code[4];
  bool ok = handle->Control(kIoctlNdisQueryGlobalStats, CodeBytes(oid, code), buffer, bytesReturned);
  if (!ok) Trace("Query Information Failed!! %u(%08x) \n", oid, device_.LastError());
  return ok;
}

bool OidChannel::OidSetInformation(uint32_t oid, std::span<uint8_t> buffer, uint32_t& bytesReturned,
                                   int32_t attempts) {
  auto handle = device_.Open(devicePath_);
  if (!handle) return false;
  oid |= kOidSetBit;
  bytesReturned = 0;
  --attempts;
  uint8_t code[4];
  bool ok;
  if (program_ == Program::Station && osKind_ == 10) {
    // The 64-bit client edition's driver writes into the output buffer of a set; keep the
    // caller's data untouched there.
    std::vector<uint8_t> copy(buffer.begin(), buffer.end());
    ok = handle->Control(kIoctlNdisQueryGlobalStats, CodeBytes(oid, code), copy, bytesReturned);
  } else {
    ok = handle->Control(kIoctlNdisQueryGlobalStats, CodeBytes(oid, code), buffer, bytesReturned);
  }
  handle.reset();
  if (ok) return true;

  uint32_t error = device_.LastError();
  if (program_ == Program::AccessPoint) Trace("Set Information Failed !! %u(%08x) \n", oid, error);
  if (attempts <= 0) return false;

  PendingSet p;
  p.oid = oid;
  p.length = static_cast<int32_t>(buffer.size());
  p.hasBlock = !(buffer.empty() && program_ == Program::Station);
  p.data.assign(buffer.begin(), buffer.end());
  p.bytesReturned = bytesReturned;
  p.attemptsLeft = attempts;
  p.timerId = timers_.Start(kRetryPeriodMs, [this](TimerId id) { SetInformationTimerProc(id); });
  if (p.timerId == 0) return false;
  pending_.push_back(std::move(p));
  return false;
}

void OidChannel::Remove(size_t index) {
  timers_.Kill(pending_[index].timerId);
  pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(index));
}

void OidChannel::SetInformationTimerProc(TimerId id) {
  size_t index = 0;
  while (index < pending_.size() && pending_[index].timerId != id) ++index;
  if (index == pending_.size()) {
    timers_.Kill(id);
    return;
  }
  if (pending_[index].attemptsLeft <= 0) {
    Remove(index);
    return;
  }
  auto handle = device_.Open(devicePath_);
  if (!handle) {
    // The device is gone: none of the pending settings can reach it any more.
    while (!pending_.empty()) Remove(0);
    return;
  }
  PendingSet& p = pending_[index];
  p.bytesReturned = 0;
  uint8_t code[4];
  std::span<uint8_t> data = p.hasBlock ? std::span<uint8_t>(p.data) : std::span<uint8_t>();
  bool ok = handle->Control(kIoctlNdisQueryGlobalStats, CodeBytes(p.oid, code), data, p.bytesReturned);
  if (ok) {
    Remove(index);
    return;
  }
  --p.attemptsLeft;
  if (program_ == Program::AccessPoint)
    Trace("Set Information Failed !! %u(%08x) remain retry %d times\n", p.oid, device_.LastError(),
          p.attemptsLeft);
  if (p.attemptsLeft == 0) Remove(index);
}

bool OidChannel::Query(uint32_t oid, std::span<uint8_t> buffer) {
  uint32_t returned = 0;
  return OidQueryInformation(oid, buffer, returned);
}

bool OidChannel::Set(uint32_t oid, std::span<uint8_t> buffer, int32_t attempts) {
  uint32_t returned = 0;
  return OidSetInformation(oid, buffer, returned, attempts);
}

bool OidChannel::QueryU32(uint32_t oid, uint32_t& value) {
  uint8_t b[4] = {};
  if (!Query(oid, b)) return false;
  value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return true;
}

bool OidChannel::SetU32(uint32_t oid, uint32_t value, int32_t attempts) {
  uint8_t b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(value >> (8 * i));
  return Set(oid, b, attempts);
}

bool OidChannel::IsReachable() { return device_.Open(devicePath_) != nullptr; }

}  // namespace vx
