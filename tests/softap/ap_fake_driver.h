// A scripted access point driver over FakeDevice: queries are answered from a table by OID,
// every request is kept with the set bit telling sets from queries.
#pragma once
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "driver/oid_channel.h"
#include "driver/oid_codes.h"
#include "fakes/fake_device.h"
#include "fakes/virtual_clock.h"

namespace vx::test {

struct ApFakeDriver {
  static constexpr const char* kPath = "\\\\.\\{AP}";
  FakeDevice device;
  VirtualClock clock;
  OidChannel channel{device, clock, Program::AccessPoint};
  std::map<uint32_t, std::vector<uint8_t>> answers;  // by query code
  std::vector<uint32_t> failing;                       // codes (sets with the set bit) that fail

  ApFakeDriver() {
    device.openable[kPath] = true;
    channel.SetDevicePath(kPath);
    device.handler = [this](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& n) {
      if (std::find(failing.begin(), failing.end(), r.oid) != failing.end()) return false;
      auto it = answers.find(r.oid);
      if (it != answers.end()) {
        size_t k = std::min(out.size(), it->second.size());
        std::copy(it->second.begin(), it->second.begin() + static_cast<long>(k), out.begin());
        n = static_cast<uint32_t>(k);
      }
      return true;
    };
  }
  void AnswerU32(uint32_t oid, uint32_t v) {
    answers[oid] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                    static_cast<uint8_t>(v >> 24)};
  }
  // Sets only, in order, as (code without the set bit).
  std::vector<uint32_t> SetOids() const {
    std::vector<uint32_t> out;
    for (const auto& r : device.requests)
      if (r.oid & kOidSetBit) out.push_back(r.oid & ~kOidSetBit);
    return out;
  }
  // Every request in order: sets carry the set bit.
  std::vector<uint32_t> AllOids() const {
    std::vector<uint32_t> out;
    for (const auto& r : device.requests) out.push_back(r.oid);
    return out;
  }
  // The data of every set of one OID (standard or vendor code, with or without the set bit).
  std::vector<std::vector<uint8_t>> SetsOf(uint32_t oid) const {
    std::vector<std::vector<uint8_t>> out;
    for (const auto& r : device.requests)
      if ((r.oid & kOidSetBit) && (r.oid | kOidSetBit) == (oid | kOidSetBit)) out.push_back(r.data);
    return out;
  }
  void Clear() { device.requests.clear(); }
};

}  // namespace vx::test
