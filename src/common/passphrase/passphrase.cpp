// PBKDF2-HMAC-SHA1. The HMAC inner and outer states (key XOR ipad/opad, one block each) are
// computed once per password; every iteration then costs exactly two block operations on a
// 20-byte message whose padding is fixed, so the blocks are built as words in place.
#include "common/passphrase/passphrase.h"

#include <algorithm>

#include "common/passphrase/sha1.h"

namespace vx {
namespace {

struct HmacKey {
  sha1::State inner;
  sha1::State outer;
};

HmacKey MakeHmacKey(std::span<const uint8_t> password) {
  std::array<uint8_t, 64> key{};
  if (password.size() > key.size()) {
    const sha1::Digest d = sha1::Hash(password);
    std::copy(d.begin(), d.end(), key.begin());
  } else {
    std::copy(password.begin(), password.end(), key.begin());
  }
  std::array<uint8_t, 64> pad;
  HmacKey k{sha1::kInitialState, sha1::kInitialState};
  for (size_t i = 0; i < 64; ++i) pad[i] = key[i] ^ 0x36;
  sha1::CompressBytes(k.inner, pad.data());
  for (size_t i = 0; i < 64; ++i) pad[i] = key[i] ^ 0x5C;
  sha1::CompressBytes(k.outer, pad.data());
  return k;
}

// HMAC of a 20-byte message held as words: inner block then outer block, both padded for
// 64 + 20 bytes of input.
inline void HmacWords(const HmacKey& key, const uint32_t in[5], uint32_t out[5]) {
  constexpr uint32_t kBits = (64 + 20) * 8;
  uint32_t block[16] = {in[0], in[1], in[2], in[3], in[4], 0x80000000u, 0, 0, 0, 0, 0, 0, 0, 0, 0, kBits};
  sha1::State s = key.inner;
  sha1::CompressWords(s, block);
  for (int i = 0; i < 5; ++i) block[i] = s[i];
  s = key.outer;
  sha1::CompressWords(s, block);
  for (int i = 0; i < 5; ++i) out[i] = s[i];
}

}  // namespace

void Pbkdf2HmacSha1(std::span<const uint8_t> password, std::span<const uint8_t> salt, uint32_t iterations,
                    std::span<uint8_t> out) {
  const HmacKey key = MakeHmacKey(password);
  size_t done = 0;
  for (uint32_t block_index = 1; done < out.size(); ++block_index) {
    // U1 = HMAC(P, S || INT(i)) takes a salt of any length, so it goes through the streaming hasher.
    sha1::Hasher inner(key.inner, 64);
    inner.Update(salt);
    const uint8_t index_be[4] = {static_cast<uint8_t>(block_index >> 24), static_cast<uint8_t>(block_index >> 16),
                                 static_cast<uint8_t>(block_index >> 8), static_cast<uint8_t>(block_index)};
    inner.Update(index_be);
    const sha1::Digest inner_digest = inner.Final();
    sha1::Hasher outer(key.outer, 64);
    outer.Update(inner_digest);
    const sha1::Digest u1 = outer.Final();

    uint32_t u[5];
    uint32_t t[5];
    for (int i = 0; i < 5; ++i) {
      u[i] = (uint32_t{u1[4 * i]} << 24) | (uint32_t{u1[4 * i + 1]} << 16) | (uint32_t{u1[4 * i + 2]} << 8) |
             uint32_t{u1[4 * i + 3]};
      t[i] = u[i];
    }
    for (uint32_t n = 1; n < iterations; ++n) {
      HmacWords(key, u, u);
      for (int i = 0; i < 5; ++i) t[i] ^= u[i];
    }
    for (size_t i = 0; i < 20 && done < out.size(); ++i, ++done)
      out[done] = static_cast<uint8_t>(t[i / 4] >> (24 - 8 * (i % 4)));
  }
}

Psk PassphraseToPsk(std::string_view passphrase, std::string_view ssid) {
  Psk psk;
  const auto* p = reinterpret_cast<const uint8_t*>(passphrase.data());
  const auto* s = reinterpret_cast<const uint8_t*>(ssid.data());
  Pbkdf2HmacSha1({p, passphrase.size()}, {s, ssid.size()}, 4096, psk);
  return psk;
}

}  // namespace vx
