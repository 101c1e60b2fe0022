#include "station/autosecurity/security_ini.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(SecurityIni, ReadsValuesAsThePrivateProfileReaderDoes) {
  const std::string text =
      "; redirect\r\n[Other]\r\nSERVER_IP=1.1.1.1\r\n[option]\r\n  server_ip =  \"192.168.7.1\"  \r\n"
      "SERVER_IP=10.0.0.9\r\nSERVER_PORT=2500\r\n";
  EXPECT_EQ(IniValue(text, "Option", "SERVER_IP"), "192.168.7.1");  // first in its section, quotes gone
  EXPECT_EQ(IniValue(text, "Option", "SERVER_PORT"), "2500");
  EXPECT_EQ(IniValue(text, "Option", "MISSING"), "");
  EXPECT_EQ(IniValue("[Option]\nSERVER_IP=" + std::string(300, '9'), "Option", "SERVER_IP").size(), 127u);
  EXPECT_EQ(IniValue("SERVER_IP=1.2.3.4\n[Option]", "Option", "SERVER_IP"), "");  // outside any section
}

TEST(SecurityIni, RedirectsAndKeepsDefaultsForMissingOrBadValues) {
  ServerEndpoint none = ResolveServer(std::nullopt, "192.168.1.1");
  EXPECT_EQ(none.host, "192.168.1.1");
  EXPECT_EQ(none.port, 1500);

  ServerEndpoint both = ResolveServer("[Option]\nSERVER_IP=127.0.0.1\nSERVER_PORT=4321\n", "192.168.1.1");
  EXPECT_EQ(both.host, "127.0.0.1");
  EXPECT_EQ(both.port, 4321);

  ServerEndpoint empty = ResolveServer("[Option]\nSERVER_IP=\nSERVER_PORT=\n", "192.168.1.1");
  EXPECT_EQ(empty.host, "192.168.1.1");
  EXPECT_EQ(empty.port, 1500);

  for (const char* port : {"0", "65536", "99999999999999", "12ab", "-5", "0x10"})
    EXPECT_EQ(ResolveServer(std::string("[Option]\nSERVER_PORT=") + port, "g").port, 1500) << port;
  EXPECT_EQ(ResolveServer(std::string("\xff\xfe[Option\n\0\0=", 14), "g").host, "g");

  EXPECT_EQ(SecurityIniPath("C:\\Program Files\\Arventa"), "C:\\Program Files\\Arventa\\security.ini");
}

}  // namespace
}  // namespace vx
