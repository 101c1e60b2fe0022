// The socket layer over loopback: connect, exact receives, time-outs and a server that stops
// while clients are still connected.
#include "net/socket.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(SocketTest, ServerEchoesToSeveralClients) {
  TcpServer server([](Socket& s) {
    uint8_t buf[64];
    int n;
    while ((n = s.Receive(buf, 5000)) > 0)
      if (!s.SendAll(std::span<const uint8_t>(buf, static_cast<size_t>(n)))) return;
  });
  ASSERT_TRUE(server.Start(0));
  ASSERT_NE(server.Port(), 0);
  TcpClient client;
  auto a = client.Connect("127.0.0.1", server.Port(), 2000);
  auto b = client.Connect("127.0.0.1", server.Port(), 2000);
  ASSERT_TRUE(a && b);
  std::vector<uint8_t> hello = {'h', 'i'};
  ASSERT_TRUE(b->SendAll(hello));
  ASSERT_TRUE(a->SendAll(hello));
  uint8_t got[8];
  EXPECT_EQ(a->Receive(got, 2000), 2);
  EXPECT_EQ(b->Receive(got, 2000), 2);
  EXPECT_EQ(a->Receive(got, 50), -1);  // nothing more: time-out
  server.Stop();                      // ends the connections it serves
  EXPECT_EQ(a->Receive(got, 2000), 0);
}

TEST(SocketTest, ConnectFailuresAndBadAddresses) {
  uint16_t port = 0;
  {
    Socket l = ListenTcp(0, &port);
    ASSERT_TRUE(l.Valid());
  }  // closed again: nobody listens on the port now
  TcpClient client;
  EXPECT_FALSE(client.Connect("127.0.0.1", port, 1000));
  EXPECT_FALSE(client.Connect("not an address", 80, 1000));
  EXPECT_FALSE(client.Connect("127.0.0.256", 80, 1000));
}

TEST(SocketTest, ReceiveExactWaitsForEveryByte) {
  uint16_t port = 0;
  Socket listener = ListenTcp(0, &port);
  ASSERT_TRUE(listener.Valid());
  Socket c = ConnectTcp("127.0.0.1", port, 2000);
  Socket s = AcceptTcp(listener, 2000);
  ASSERT_TRUE(c.Valid() && s.Valid());
  ASSERT_TRUE(c.SendAll(std::vector<uint8_t>{1, 2}));
  ASSERT_TRUE(c.SendAll(std::vector<uint8_t>{3}));
  std::vector<uint8_t> out(3);
  ASSERT_TRUE(s.ReceiveExact(out, 2000));
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3}));
  c.Close();
  EXPECT_FALSE(s.ReceiveExact(out, 2000));
  EXPECT_FALSE(AcceptTcp(listener, 10).Valid());
}

}  // namespace
}  // namespace vx
