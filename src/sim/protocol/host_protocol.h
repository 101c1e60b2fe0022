// The simulator host's wire format over loopback TCP. Every message is one frame: a u32
// little-endian payload length, then the payload. A request payload starts with its command byte;
// a reply payload starts with a status byte (kReplyOk, or kReplyError followed by a text).
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "net/socket.h"

namespace vx::sim {

constexpr uint16_t kDefaultHostPort = 4510;
constexpr uint32_t kMaxFrame = 1 << 20;

enum HostCommand : uint8_t {
  kCmdDeviceOpen = 1,     // path -> ok flag
  kCmdDeviceControl = 2,  // path, ioctl, in, out -> ok, returned, last error, out
  kCmdEnumerate = 3,      // -> devices
  kCmdIpInfo = 4,         // -> adapters
  kCmdSupplicant = 5,     // call number, arguments -> result
  kCmdControl = 6,        // JSON text -> JSON text
  kCmdCertificates = 7,   // store (kStoreMy, kStoreRoot) -> readable flag, certificates
};

enum CertificateStoreCode : uint8_t { kStoreMy = 0, kStoreRoot = 1 };

enum SupplicantCall : uint8_t {
  kSupOpenGlobal = 1,
  kSupBindAdapter,
  kSupConfigResumption,
  kSupAuthenticateStop,
  kSupConfigWpa,
  kSupSet8021xValues,
  kSupConfigLeap,
  kSupConfigMd5,
  kSupConfigPeap,
  kSupConfigTtls,
  kSupConfigTls,
  kSupConfigWpaPassphrase,
  kSupConfigWpaKey,
  kSupAuthenticate,
  kSupQuery,
  kSupRelease,
};

enum : uint8_t { kReplyOk = 0, kReplyError = 1 };

// Strings travel as a u32 length and the bytes.
void WriteString(ByteWriter& w, const std::string& s);
std::string ReadString(ByteReader& r, size_t limit = kMaxFrame);
void WriteBlob(ByteWriter& w, std::span<const uint8_t> b);
std::vector<uint8_t> ReadBlob(ByteReader& r, size_t limit = kMaxFrame);

bool WriteFrame(Socket& s, std::span<const uint8_t> payload);
enum class FrameResult { Ok, Closed, TooLarge, Stopped };
// Waits for a whole frame. `stop` (optional) is polled while waiting for the next frame.
FrameResult ReadFrame(Socket& s, std::vector<uint8_t>& payload, uint32_t& announced,
                      const std::atomic<bool>* stop = nullptr, uint32_t timeoutMs = 0xFFFFFFFF);

}  // namespace vx::sim
