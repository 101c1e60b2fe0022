// SHA-1 for the passphrase mapping only: a streaming hasher and the raw block function, which
// PBKDF2 drives directly on word-sized blocks to avoid byte conversions in its inner loop.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vx::sha1 {

using State = std::array<uint32_t, 5>;
using Digest = std::array<uint8_t, 20>;

inline constexpr State kInitialState = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};

// One 64-byte block given as 16 big-endian words.
void CompressWords(State& state, const uint32_t block[16]);
// One 64-byte block given as bytes.
void CompressBytes(State& state, const uint8_t block[64]);

class Hasher {
 public:
  Hasher() = default;
  // Continues from a state that has already absorbed `absorbed` bytes (a multiple of 64).
  Hasher(const State& state, uint64_t absorbed) : state_(state), length_(absorbed) {}
  void Update(std::span<const uint8_t> data);
  Digest Final();

 private:
  State state_ = kInitialState;
  uint64_t length_ = 0;
  std::array<uint8_t, 64> buffer_{};
  size_t used_ = 0;
};

Digest Hash(std::span<const uint8_t> data);

}  // namespace vx::sha1
