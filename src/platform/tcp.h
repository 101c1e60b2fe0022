// TCP client port: a blocking connection with time limits, for the one-button set-up.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vx {

class TcpConnection {
 public:
  virtual ~TcpConnection() = default;  // closes
  virtual bool SendAll(std::span<const uint8_t> data) = 0;
  // Bytes received (at most out.size()), 0 when the peer closed, -1 on error or time-out.
  virtual int Receive(std::span<uint8_t> out, uint32_t timeoutMs) = 0;
};

class TcpPort {
 public:
  virtual ~TcpPort() = default;
  // host: dotted IPv4 text. Null when the connection cannot be made in time.
  virtual std::unique_ptr<TcpConnection> Connect(const std::string& host, uint16_t port, uint32_t timeoutMs) = 0;
};

}  // namespace vx
