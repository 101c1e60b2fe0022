// Portable SHA-1 (FIPS 180-4), with the block function unrolled over a 16-word rolling schedule.
#include "common/passphrase/sha1.h"

namespace vx::sha1 {
namespace {

inline uint32_t Rol(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline uint32_t LoadBe32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

}  // namespace

void CompressWords(State& state, const uint32_t block[16]) {
  uint32_t w[16];
  for (int i = 0; i < 16; ++i) w[i] = block[i];
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];

#define VX_W(i) (w[(i) & 15] = Rol(w[((i) + 13) & 15] ^ w[((i) + 8) & 15] ^ w[((i) + 2) & 15] ^ w[(i) & 15], 1))
#define VX_R(v, x, y, z, u, f, k, wi)            \
  u += Rol(v, 5) + (f) + (k) + (wi);             \
  x = Rol(x, 30);
#define VX_F1(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define VX_F2(x, y, z) ((x) ^ (y) ^ (z))
#define VX_F3(x, y, z) (((x) & (y)) | ((z) & ((x) | (y))))
#define VX_R0(v, x, y, z, u, i) VX_R(v, x, y, z, u, VX_F1(x, y, z), 0x5A827999u, w[i])
#define VX_R1(v, x, y, z, u, i) VX_R(v, x, y, z, u, VX_F1(x, y, z), 0x5A827999u, VX_W(i))
#define VX_R2(v, x, y, z, u, i) VX_R(v, x, y, z, u, VX_F2(x, y, z), 0x6ED9EBA1u, VX_W(i))
#define VX_R3(v, x, y, z, u, i) VX_R(v, x, y, z, u, VX_F3(x, y, z), 0x8F1BBCDCu, VX_W(i))
#define VX_R4(v, x, y, z, u, i) VX_R(v, x, y, z, u, VX_F2(x, y, z), 0xCA62C1D6u, VX_W(i))
#define VX_FIVE(R, i)           \
  R(a, b, c, d, e, (i) + 0);    \
  R(e, a, b, c, d, (i) + 1);    \
  R(d, e, a, b, c, (i) + 2);    \
  R(c, d, e, a, b, (i) + 3);    \
  R(b, c, d, e, a, (i) + 4);

  VX_FIVE(VX_R0, 0) VX_FIVE(VX_R0, 5) VX_FIVE(VX_R0, 10)
  VX_R0(a, b, c, d, e, 15) VX_R1(e, a, b, c, d, 16) VX_R1(d, e, a, b, c, 17) VX_R1(c, d, e, a, b, 18)
  VX_R1(b, c, d, e, a, 19)
  VX_FIVE(VX_R2, 20) VX_FIVE(VX_R2, 25) VX_FIVE(VX_R2, 30) VX_FIVE(VX_R2, 35)
  VX_FIVE(VX_R3, 40) VX_FIVE(VX_R3, 45) VX_FIVE(VX_R3, 50) VX_FIVE(VX_R3, 55)
  VX_FIVE(VX_R4, 60) VX_FIVE(VX_R4, 65) VX_FIVE(VX_R4, 70) VX_FIVE(VX_R4, 75)

#undef VX_W
#undef VX_R
#undef VX_F1
#undef VX_F2
#undef VX_F3
#undef VX_R0
#undef VX_R1
#undef VX_R2
#undef VX_R3
#undef VX_R4
#undef VX_FIVE

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
}

void CompressBytes(State& state, const uint8_t block[64]) {
  uint32_t w[16];
  for (int i = 0; i < 16; ++i) w[i] = LoadBe32(block + 4 * i);
  CompressWords(state, w);
}

void Hasher::Update(std::span<const uint8_t> data) {
  length_ += data.size();
  size_t i = 0;
  if (used_ > 0) {
    while (i < data.size() && used_ < 64) buffer_[used_++] = data[i++];
    if (used_ < 64) return;
    CompressBytes(state_, buffer_.data());
    used_ = 0;
  }
  for (; data.size() - i >= 64; i += 64) CompressBytes(state_, data.data() + i);
  while (i < data.size()) buffer_[used_++] = data[i++];
}

Digest Hasher::Final() {
  const uint64_t bits = length_ * 8;
  buffer_[used_++] = 0x80;
  if (used_ > 56) {
    while (used_ < 64) buffer_[used_++] = 0;
    CompressBytes(state_, buffer_.data());
    used_ = 0;
  }
  while (used_ < 56) buffer_[used_++] = 0;
  for (int i = 7; i >= 0; --i) buffer_[used_++] = static_cast<uint8_t>(bits >> (8 * i));
  CompressBytes(state_, buffer_.data());
  used_ = 0;
  Digest out;
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 4; ++j) out[4 * i + j] = static_cast<uint8_t>(state_[i] >> (24 - 8 * j));
  return out;
}

Digest Hash(std::span<const uint8_t> data) {
  Hasher h;
  h.Update(data);
  return h.Final();
}

}  // namespace vx::sha1
