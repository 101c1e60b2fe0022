// A small TCP socket layer: POSIX sockets natively, Winsock 2.2 on Windows. IPv4 only.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "platform/tcp.h"

namespace vx {

#ifdef _WIN32
using NativeSocket = uintptr_t;
#else
using NativeSocket = int;
#endif

// Owns one socket; closed on destruction.
class Socket {
 public:
  Socket() = default;
  explicit Socket(NativeSocket s) : s_(s) {}
  Socket(Socket&& o) noexcept : s_(o.Release()) {}
  Socket& operator=(Socket&& o) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() { Close(); }

  bool Valid() const;
  void Close();
  // Ends both directions so a thread blocked on this socket returns.
  void Shutdown();
  NativeSocket Release();
  NativeSocket Native() const { return s_; }

  bool SendAll(std::span<const uint8_t> data);
  // True when data (or the peer's close) is waiting within timeoutMs.
  bool WaitReadable(uint32_t timeoutMs);
  // Bytes received, 0 when the peer closed, -1 on error or when timeoutMs passes first.
  int Receive(std::span<uint8_t> out, uint32_t timeoutMs);
  // Fills out completely; false on close, error or time-out.
  bool ReceiveExact(std::span<uint8_t> out, uint32_t timeoutMs);

 private:
  NativeSocket s_ = kInvalid;
#ifdef _WIN32
  static constexpr NativeSocket kInvalid = ~NativeSocket{0};
#else
  static constexpr NativeSocket kInvalid = -1;
#endif
};

// Winsock start-up (once per process); always true elsewhere.
bool NetStartup();

// host: dotted IPv4 text. Invalid socket when the connection cannot be made in time.
Socket ConnectTcp(const std::string& host, uint16_t port, uint32_t timeoutMs);
// Listens on 127.0.0.1 (port 0 picks a free one). Invalid socket on failure.
Socket ListenTcp(uint16_t port, uint16_t* boundPort = nullptr);
// Invalid socket when nothing arrives within timeoutMs.
Socket AcceptTcp(Socket& listener, uint32_t timeoutMs);

// TcpPort over real sockets. Each connection holds its own Winsock start-up and releases it when
// it closes (or when it cannot be made), so nothing of Winsock stays behind a set-up.
class TcpClient : public TcpPort {
 public:
  std::unique_ptr<TcpConnection> Connect(const std::string& host, uint16_t port, uint32_t timeoutMs) override;
};

// Accepts loopback connections on its own thread and serves each on a thread of its own.
class TcpServer {
 public:
  using Handler = std::function<void(Socket&)>;  // returns when the client is done
  explicit TcpServer(Handler handler) : handler_(std::move(handler)) {}
  ~TcpServer() { Stop(); }
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  bool Start(uint16_t port);  // 0: any free port
  uint16_t Port() const { return port_; }
  // Stops accepting, ends every client connection and waits for the threads.
  void Stop();

 private:
  struct Client {
    Socket socket;
    std::thread thread;
    std::atomic<bool> done{false};
  };
  void AcceptLoop();
  void Reap(bool all);

  Handler handler_;
  Socket listener_;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread acceptThread_;
  std::mutex clientsMutex_;
  std::list<Client> clients_;
};

}  // namespace vx
