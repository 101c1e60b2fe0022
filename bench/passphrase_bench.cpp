// The passphrase mapping (4096 iterations, 32 bytes) against OpenSSL's PBKDF2 on the same input.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/passphrase/passphrase.h"

namespace {

constexpr const char* kPassphrase = "ThisIsAPassword";
constexpr const char* kSsid = "ThisIsASSID";

void BM_PassphraseToPsk(benchmark::State& state) {
  for (auto _ : state) {
    vx::Psk psk = vx::PassphraseToPsk(kPassphrase, kSsid);
    benchmark::DoNotOptimize(psk);
  }
}
BENCHMARK(BM_PassphraseToPsk)->Unit(benchmark::kMicrosecond);

void BM_OpenSslPbkdf2HmacSha1(benchmark::State& state) {
  unsigned char out[32];
  for (auto _ : state) {
    PKCS5_PBKDF2_HMAC_SHA1(kPassphrase, static_cast<int>(std::strlen(kPassphrase)),
                           reinterpret_cast<const unsigned char*>(kSsid), static_cast<int>(std::strlen(kSsid)), 4096,
                           sizeof out, out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_OpenSslPbkdf2HmacSha1)->Unit(benchmark::kMicrosecond);

// Both must agree before their times mean anything.
const bool kSameKey = [] {
  unsigned char ref[32];
  PKCS5_PBKDF2_HMAC_SHA1(kPassphrase, static_cast<int>(std::strlen(kPassphrase)),
                         reinterpret_cast<const unsigned char*>(kSsid), static_cast<int>(std::strlen(kSsid)), 4096,
                         sizeof ref, ref);
  const vx::Psk ours = vx::PassphraseToPsk(kPassphrase, kSsid);
  if (std::memcmp(ref, ours.data(), sizeof ref) != 0) {
    std::fprintf(stderr, "passphrase mapping differs from OpenSSL\n");
    std::abort();
  }
  return true;
}();

}  // namespace
