// Talks to a virtual adapter the way the OID channel does: open, one request, close.
#pragma once
#include <optional>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "driver/oid_codes.h"
#include "driver/records.h"
#include "platform/device.h"

namespace vx::sim::test {

class Requests {
 public:
  Requests(DevicePort& port, std::string path) : port_(port), path_(std::move(path)) {}

  bool Raw(uint32_t code, std::vector<uint8_t>& buffer, uint32_t* returned = nullptr) {
    auto h = port_.Open(path_);
    if (!h) return false;
    auto in = ByteWriter().U32(code).Take();
    uint32_t n = 0;
    bool ok = h->Control(kIoctlNdisQueryGlobalStats, in, buffer, n);
    if (returned) *returned = n;
    return ok;
  }
  std::optional<std::vector<uint8_t>> Query(uint32_t oid, size_t size) {
    std::vector<uint8_t> b(size, 0);
    uint32_t n = 0;
    if (!Raw(oid, b, &n)) return std::nullopt;
    b.resize(n);
    return b;
  }
  std::optional<uint32_t> QueryU32(uint32_t oid) {
    auto b = Query(oid, 4);
    if (!b) return std::nullopt;
    ByteReader r(*b);
    return r.U32();
  }
  bool Set(uint32_t oid, std::vector<uint8_t> data) { return Raw(oid | kOidSetBit, data); }
  bool SetU32(uint32_t oid, uint32_t v) { return Set(oid, ByteWriter().U32(v).Take()); }
  bool SetSsid(const std::string& ssid) { return Set(OID_802_11_SSID, EncodeSsid(SsidRecord::From(ssid))); }
  bool Connected() { return QueryU32(OID_GEN_MEDIA_CONNECT_STATUS) == kMediaConnected; }

 private:
  DevicePort& port_;
  std::string path_;
};

}  // namespace vx::sim::test
