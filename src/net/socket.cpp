#include "net/socket.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace vx {
namespace {

#ifdef _WIN32
using SockLen = int;
void CloseNative(NativeSocket s) { closesocket(static_cast<SOCKET>(s)); }
bool SetNonBlocking(NativeSocket s, bool on) {
  u_long mode = on ? 1 : 0;
  return ioctlsocket(static_cast<SOCKET>(s), FIONBIO, &mode) == 0;
}
bool ConnectInProgress() { return WSAGetLastError() == WSAEWOULDBLOCK; }
#else
using SockLen = socklen_t;
void CloseNative(NativeSocket s) { ::close(s); }
bool SetNonBlocking(NativeSocket s, bool on) {
  int flags = fcntl(s, F_GETFL, 0);
  return flags >= 0 && fcntl(s, F_SETFL, on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) == 0;
}
bool ConnectInProgress() { return errno == EINPROGRESS; }
#endif

// Waits until the socket can be read (or written); false on time-out or error.
bool Wait(NativeSocket s, bool forWrite, uint32_t timeoutMs) {
#ifdef _WIN32
  fd_set set;
  FD_ZERO(&set);
  FD_SET(static_cast<SOCKET>(s), &set);
  fd_set errors = set;
  timeval tv{static_cast<long>(timeoutMs / 1000), static_cast<long>((timeoutMs % 1000) * 1000)};
  int n = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, &errors, &tv);
  return n > 0 && FD_ISSET(static_cast<SOCKET>(s), &set);
#else
  pollfd p{s, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
  int n;
  do {
    n = poll(&p, 1, static_cast<int>(timeoutMs));
  } while (n < 0 && errno == EINTR);
  return n > 0 && (p.revents & (forWrite ? POLLOUT : (POLLIN | POLLHUP | POLLERR)));
#endif
}

bool ParseAddress(const std::string& host, uint16_t port, sockaddr_in& addr) {
  addr = {};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  // Dotted text only (inet_pton is missing before Windows Vista).
  unsigned a, b, c, d;
  char tail;
  if (std::sscanf(host.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4 || a > 255 || b > 255 || c > 255 ||
      d > 255)
    return false;
  addr.sin_addr.s_addr = htonl((a << 24) | (b << 16) | (c << 8) | d);
  return true;
}

// One Winsock start-up, released when the object goes: a client connection takes one before it
// is made and gives it back when it closes or could not be made.
class WinsockUse {
 public:
#ifdef _WIN32
  WinsockUse() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinsockUse() {
    if (started_) WSACleanup();
  }
#else
  WinsockUse() = default;
#endif
  WinsockUse(const WinsockUse&) = delete;
  WinsockUse& operator=(const WinsockUse&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_ = true;
};

class Connection : public TcpConnection {
 public:
  Connection(std::unique_ptr<WinsockUse> use, Socket s) : use_(std::move(use)), s_(std::move(s)) {}
  bool SendAll(std::span<const uint8_t> data) override { return s_.SendAll(data); }
  int Receive(std::span<uint8_t> out, uint32_t timeoutMs) override { return s_.Receive(out, timeoutMs); }

 private:
  std::unique_ptr<WinsockUse> use_;  // released after the socket is closed
  Socket s_;
};

Socket ConnectSocket(const std::string& host, uint16_t port, uint32_t timeoutMs);

}  // namespace

Socket& Socket::operator=(Socket&& o) noexcept {
  if (this != &o) {
    Close();
    s_ = o.Release();
  }
  return *this;
}

bool Socket::Valid() const { return s_ != kInvalid; }

void Socket::Close() {
  if (Valid()) CloseNative(s_);
  s_ = kInvalid;
}

void Socket::Shutdown() {
#ifdef _WIN32
  if (Valid()) shutdown(static_cast<SOCKET>(s_), SD_BOTH);
#else
  if (Valid()) shutdown(s_, SHUT_RDWR);
#endif
}

NativeSocket Socket::Release() {
  NativeSocket s = s_;
  s_ = kInvalid;
  return s;
}

bool Socket::SendAll(std::span<const uint8_t> data) {
  if (!Valid()) return false;
  size_t sent = 0;
  while (sent < data.size()) {
    size_t chunk = std::min<size_t>(data.size() - sent, 1 << 20);
#ifdef _WIN32
    int n = send(static_cast<SOCKET>(s_), reinterpret_cast<const char*>(data.data() + sent), static_cast<int>(chunk), 0);
#else
    ssize_t n = send(s_, data.data() + sent, chunk, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
#endif
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

bool Socket::WaitReadable(uint32_t timeoutMs) { return Valid() && Wait(s_, false, timeoutMs); }

int Socket::Receive(std::span<uint8_t> out, uint32_t timeoutMs) {
  if (!Valid() || out.empty()) return -1;
  if (!Wait(s_, false, timeoutMs)) return -1;
#ifdef _WIN32
  int n = recv(static_cast<SOCKET>(s_), reinterpret_cast<char*>(out.data()), static_cast<int>(out.size()), 0);
#else
  ssize_t n;
  do {
    n = recv(s_, out.data(), out.size(), 0);
  } while (n < 0 && errno == EINTR);
#endif
  return n < 0 ? -1 : static_cast<int>(n);
}

bool Socket::ReceiveExact(std::span<uint8_t> out, uint32_t timeoutMs) {
  size_t got = 0;
  while (got < out.size()) {
    int n = Receive(out.subspan(got), timeoutMs);
    if (n <= 0) return false;
    got += static_cast<size_t>(n);
  }
  return true;
}

bool NetStartup() {
#ifdef _WIN32
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
#else
  return true;
#endif
}

Socket ConnectTcp(const std::string& host, uint16_t port, uint32_t timeoutMs) {
  if (!NetStartup()) return {};
  return ConnectSocket(host, port, timeoutMs);
}

namespace {

Socket ConnectSocket(const std::string& host, uint16_t port, uint32_t timeoutMs) {
  sockaddr_in addr;
  if (!ParseAddress(host, port, addr)) return {};
  Socket s(static_cast<NativeSocket>(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)));
  if (!s.Valid() || !SetNonBlocking(s.Native(), true)) return {};
  if (connect(s.Native(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    if (!ConnectInProgress() || !Wait(s.Native(), true, timeoutMs)) return {};
    int error = 0;
    SockLen len = sizeof error;
    if (getsockopt(s.Native(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &len) != 0 || error != 0)
      return {};
  }
  if (!SetNonBlocking(s.Native(), false)) return {};
  int one = 1;
  setsockopt(s.Native(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
  return s;
}

}  // namespace

Socket ListenTcp(uint16_t port, uint16_t* boundPort) {
  sockaddr_in addr;
  if (!NetStartup() || !ParseAddress("127.0.0.1", port, addr)) return {};
  Socket s(static_cast<NativeSocket>(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)));
  if (!s.Valid()) return {};
#ifndef _WIN32
  // A restarted host can take its port back at once.
  int one = 1;
  setsockopt(s.Native(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
#endif
  if (bind(s.Native(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(s.Native(), 16) != 0)
    return {};
  if (boundPort) {
    sockaddr_in bound{};
    SockLen len = sizeof bound;
    getsockname(s.Native(), reinterpret_cast<sockaddr*>(&bound), &len);
    *boundPort = ntohs(bound.sin_port);
  }
  return s;
}

Socket AcceptTcp(Socket& listener, uint32_t timeoutMs) {
  if (!listener.Valid() || !Wait(listener.Native(), false, timeoutMs)) return {};
  Socket s(static_cast<NativeSocket>(accept(listener.Native(), nullptr, nullptr)));
  if (!s.Valid()) return {};
  int one = 1;
  setsockopt(s.Native(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
  return s;
}

std::unique_ptr<TcpConnection> TcpClient::Connect(const std::string& host, uint16_t port, uint32_t timeoutMs) {
  auto use = std::make_unique<WinsockUse>();
  if (!use->Started()) return nullptr;
  Socket s = ConnectSocket(host, port, timeoutMs);
  if (!s.Valid()) return nullptr;
  return std::make_unique<Connection>(std::move(use), std::move(s));
}

bool TcpServer::Start(uint16_t port) {
  listener_ = ListenTcp(port, &port_);
  if (!listener_.Valid()) return false;
  stop_ = false;
  acceptThread_ = std::thread([this] { AcceptLoop(); });
  return true;
}

void TcpServer::AcceptLoop() {
  while (!stop_) {
    Socket s = AcceptTcp(listener_, 100);
    Reap(false);
    if (!s.Valid()) continue;
    std::lock_guard lock(clientsMutex_);
    clients_.emplace_back();
    Client& c = clients_.back();
    c.socket = std::move(s);
    c.thread = std::thread([this, &c] {
      handler_(c.socket);
      c.socket.Shutdown();
      c.done = true;
    });
  }
}

// Joins the threads of clients that are done (all of them when stopping).
void TcpServer::Reap(bool all) {
  std::lock_guard lock(clientsMutex_);
  for (auto it = clients_.begin(); it != clients_.end();) {
    if (all) it->socket.Shutdown();
    if (all || it->done) {
      if (it->thread.joinable()) it->thread.join();
      it = clients_.erase(it);
    } else {
      ++it;
    }
  }
}

void TcpServer::Stop() {
  stop_ = true;
  if (acceptThread_.joinable()) acceptThread_.join();
  Reap(true);
  listener_.Close();
}

}  // namespace vx
