// Little-endian reads from an outside buffer. A read past the end fails, returns zero and makes
// every later read fail too, so a decoder checks ok() once instead of after every field.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vx {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  size_t remaining() const { return ok_ ? data_.size() - pos_ : 0; }

  uint8_t U8() {
    if (!Need(1)) return 0;
    return data_[pos_++];
  }
  uint16_t U16() {
    if (!Need(2)) return 0;
    uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  uint32_t U32() {
    if (!Need(4)) return 0;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | data_[pos_ + i];
    pos_ += 4;
    return v;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  uint64_t U64() {
    uint64_t lo = U32();
    uint64_t hi = U32();
    return ok_ ? (hi << 32) | lo : 0;
  }
  // Copies n bytes into out (zero-filled on failure).
  bool Bytes(std::span<uint8_t> out) {
    if (!Need(out.size())) {
      for (auto& b : out) b = 0;
      return false;
    }
    for (size_t i = 0; i < out.size(); ++i) out[i] = data_[pos_ + i];
    pos_ += out.size();
    return true;
  }
  std::span<const uint8_t> Span(size_t n) {
    if (!Need(n)) return {};
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  bool Skip(size_t n) {
    if (!Need(n)) return false;
    pos_ += n;
    return true;
  }
  bool Seek(size_t offset) {
    if (!ok_ || offset > data_.size()) return ok_ = false;
    pos_ = offset;
    return true;
  }

 private:
  bool Need(size_t n) {
    if (!ok_ || n > data_.size() - pos_) return ok_ = false;
    return true;
  }
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace vx
