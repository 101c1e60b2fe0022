// A device whose queries answer from a table the test fills, for the page models' tests.
// Queries without an entry fail; sets succeed and are recorded.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "driver/oid_channel.h"
#include "driver/oid_codes.h"
#include "fakes/fake_device.h"
#include "fakes/virtual_clock.h"

namespace vx {

struct OidScript {
  static constexpr const char* kPath = "\\\\.\\{TEST}";
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::Station};
  std::map<uint32_t, std::vector<uint8_t>> answers;

  OidScript() {
    device.openable[kPath] = true;
    channel.SetDevicePath(kPath);
    device.handler = [this](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& returned) {
      if (r.oid & kOidSetBit) return true;
      auto it = answers.find(r.oid);
      if (it == answers.end()) return false;
      size_t n = std::min(out.size(), it->second.size());
      std::copy_n(it->second.begin(), n, out.begin());
      returned = static_cast<uint32_t>(n);
      return true;
    };
  }
  void U32(uint32_t oid, uint32_t v) {
    answers[oid] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                    static_cast<uint8_t>(v >> 24)};
  }
  void I32(uint32_t oid, int32_t v) { U32(oid, static_cast<uint32_t>(v)); }
  // The sets that reached the device, with their data.
  std::vector<FakeDevice::Request> Sets(uint32_t oid) const {
    std::vector<FakeDevice::Request> out;
    for (const auto& r : device.requests)
      if (r.oid == oid) out.push_back(r);
    return out;
  }
  size_t SetCount() const {
    size_t n = 0;
    for (const auto& r : device.requests) n += (r.oid & kOidSetBit) ? 1 : 0;
    return n;
  }
};

}  // namespace vx
