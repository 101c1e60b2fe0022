#include "common/passphrase/passphrase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/hex.h"
#include "common/passphrase/sha1.h"

namespace vx {
namespace {

std::span<const uint8_t> Bytes(std::string_view s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

std::string Pbkdf2Hex(std::string_view password, std::string_view salt, uint32_t iterations, size_t length) {
  std::vector<uint8_t> out(length);
  Pbkdf2HmacSha1(Bytes(password), Bytes(salt), iterations, out);
  return EncodeHex(out, false);
}

// IEEE 802.11i-2004, annex H.4.
TEST(PassphraseToPsk, Ieee80211iVectors) {
  EXPECT_EQ(EncodeHex(PassphraseToPsk("password", "IEEE"), false),
            "f42c6fc52df0ebef9ebb4b90b38a5f902e83fe1b135a70e23aed762e9710a12e");
  EXPECT_EQ(EncodeHex(PassphraseToPsk("ThisIsAPassword", "ThisIsASSID"), false),
            "0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af");
  EXPECT_EQ(EncodeHex(PassphraseToPsk(std::string(32, 'a'), std::string(32, 'Z')), false),
            "becb93866bb8c3832cb777c2f559807c8c59afcb6eae734885001300a981cc62");
}

// The longest passphrase with the longest SSID (reference value from Python's hashlib).
TEST(PassphraseToPsk, LongestPassphraseAndSsid) {
  EXPECT_EQ(EncodeHex(PassphraseToPsk(std::string(63, 'Z'), std::string(32, 'Z')), false),
            "1c44451357d4a314ede51f4b3b6ca79b25e18898748f0d1ee26a894a0131363b");
}

// RFC 6070, including output longer than one digest and NUL bytes inside password and salt.
TEST(Pbkdf2HmacSha1, Rfc6070Vectors) {
  EXPECT_EQ(Pbkdf2Hex("password", "salt", 1, 20), "0c60c80f961f0e71f3a9b524af6012062fe037a6");
  EXPECT_EQ(Pbkdf2Hex("password", "salt", 2, 20), "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957");
  EXPECT_EQ(Pbkdf2Hex("password", "salt", 4096, 20), "4b007901b765489abead49d926f721d065a429c1");
  EXPECT_EQ(Pbkdf2Hex("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25),
            "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
  EXPECT_EQ(Pbkdf2Hex(std::string_view("pass\0word", 9), std::string_view("sa\0lt", 5), 4096, 16),
            "56fa6aa75548099dcc37d7f03425e0c3");
}

// Takes about a minute even when fast; run with --gtest_also_run_disabled_tests.
TEST(Pbkdf2HmacSha1, DISABLED_Rfc6070SixteenMillionIterations) {
  EXPECT_EQ(Pbkdf2Hex("password", "salt", 16777216, 20), "eefe3d61cd4da4e4e9945b3d6ba2158c2634e984");
}

// A password longer than a block is hashed into the key; a 64-byte one is used as is; a salt
// longer than one block makes the first HMAC span several blocks. Reference values from Python's
// hashlib.pbkdf2_hmac.
TEST(Pbkdf2HmacSha1, KeyAndSaltLengthBoundaries) {
  EXPECT_EQ(Pbkdf2Hex(std::string(100, 'K'), std::string(70, 'S'), 3, 45),
            "426cc181c91101efb2ccd91cfa7699c51789930e973264790807d0d2921d0f90f4da47e898617139dfc85ed7b6");
  EXPECT_EQ(Pbkdf2Hex(std::string(64, 'K'), "", 2, 20), "7037e1a8a7a8dabc20cd81bf0154118463bae559");
}

TEST(Sha1, PaddingAcrossBlockBoundary) {
  EXPECT_EQ(EncodeHex(sha1::Hash(Bytes("abc")), false), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(EncodeHex(sha1::Hash(Bytes("")), false), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  // 119 bytes: the length no longer fits behind the 0x80 in the second block.
  EXPECT_EQ(EncodeHex(sha1::Hash(Bytes(std::string(119, 'a'))), false), "ee971065aaa017e0632a8ca6c77bb3bf8b1dfc56");
  sha1::Hasher split;
  const std::string text(119, 'a');
  split.Update(Bytes(std::string_view(text).substr(0, 7)));
  split.Update(Bytes(std::string_view(text).substr(7, 80)));
  split.Update(Bytes(std::string_view(text).substr(87)));
  EXPECT_EQ(EncodeHex(split.Final(), false), "ee971065aaa017e0632a8ca6c77bb3bf8b1dfc56");
}

}  // namespace
}  // namespace vx
