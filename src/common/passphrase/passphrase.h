// WPA passphrase to pre-shared key: PBKDF2 with HMAC-SHA1, 4096 iterations, 32 bytes (IEEE 802.11i).
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vx {

using Psk = std::array<uint8_t, 32>;

// The 256-bit key for a passphrase and SSID; the SSID bytes are the salt.
Psk PassphraseToPsk(std::string_view passphrase, std::string_view ssid);

// PBKDF2-HMAC-SHA1 (RFC 2898) filling out.size() bytes. Passwords longer than 64 bytes are hashed
// first, as HMAC requires.
void Pbkdf2HmacSha1(std::span<const uint8_t> password, std::span<const uint8_t> salt, uint32_t iterations,
                    std::span<uint8_t> out);

}  // namespace vx
