// Little-endian writes into a growing byte vector.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace vx {

class ByteWriter {
 public:
  ByteWriter& U8(uint8_t v) {
    out_.push_back(v);
    return *this;
  }
  ByteWriter& U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    return U8(static_cast<uint8_t>(v >> 8));
  }
  ByteWriter& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  ByteWriter& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  ByteWriter& U64(uint64_t v) {
    U32(static_cast<uint32_t>(v));
    return U32(static_cast<uint32_t>(v >> 32));
  }
  ByteWriter& Bytes(std::span<const uint8_t> b) {
    out_.insert(out_.end(), b.begin(), b.end());
    return *this;
  }
  ByteWriter& Zeros(size_t n) {
    out_.insert(out_.end(), n, 0);
    return *this;
  }
  size_t size() const { return out_.size(); }
  std::vector<uint8_t> Take() { return std::move(out_); }

 private:
  std::vector<uint8_t> out_;
};

}  // namespace vx
