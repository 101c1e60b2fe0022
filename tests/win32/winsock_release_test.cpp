// The one-button set-up's TCP client gives Winsock back: after a connection closes, or after one
// that could not be made, no start-up of its own is left (the test holds none while it checks).
#include <winsock2.h>

#include "net/socket.h"
#include "tests/win32/check.h"

using namespace vx;

namespace {

// True when Winsock is not started in this process (every start-up was released).
bool WinsockReleased() {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s != INVALID_SOCKET) {
    closesocket(s);
    return false;
  }
  return WSAGetLastError() == WSANOTINITIALISED;
}

// A loopback listener on a free port, under a start-up of its own.
struct Listener {
  Listener() {
    WSADATA data;
    started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof addr;
    ok = bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && listen(s, 4) == 0 &&
         getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0;
    port = ntohs(addr.sin_port);
  }
  ~Listener() { Close(); }
  void Close() {
    if (s != INVALID_SOCKET) closesocket(s);
    s = INVALID_SOCKET;
    if (started) WSACleanup();
    started = false;
  }
  bool started = false;
  bool ok = false;
  SOCKET s = INVALID_SOCKET;
  uint16_t port = 0;
};

}  // namespace

TEST_CASE("Winsock is not started before the first connection") { CHECK(WinsockReleased()); }

TEST_CASE("a connection that cannot be made leaves Winsock released") {
  uint16_t closed;
  {
    Listener l;
    CHECK(l.ok);
    closed = l.port;
  }
  CHECK(WinsockReleased());
  TcpClient tcp;
  CHECK(tcp.Connect("127.0.0.1", closed, 2000) == nullptr);
  CHECK(WinsockReleased());
}

TEST_CASE("a closed connection leaves Winsock released") {
  Listener l;
  CHECK(l.ok);
  TcpClient tcp;
  auto c = tcp.Connect("127.0.0.1", l.port, 5000);
  CHECK(c != nullptr);
  SOCKET peer = accept(l.s, nullptr, nullptr);
  CHECK(peer != INVALID_SOCKET);
  uint8_t ping[1] = {0x5C};
  CHECK(c && c->SendAll(ping));
  c.reset();  // the client's close: its start-up goes with it
  closesocket(peer);
  l.Close();  // the test's own start-up goes last
  CHECK(WinsockReleased());
}

int main() { return vx::check::RunAll(); }
