#include "sim/adapter/world.h"

#include <algorithm>
#include <string_view>

namespace vx::sim {

bool Network::IsWpa() const {
  return security != Security::Open && security != Security::Wep && security != Security::Wep8021x;
}

Network* World::FindNetwork(const std::string& ssid) {
  for (auto& n : networks)
    if (n.ssid == ssid) return &n;
  return nullptr;
}

Network* World::FindNetwork(const MacAddress& bssid) {
  for (auto& n : networks)
    if (n.bssid == bssid) return &n;
  return nullptr;
}

uint32_t ChannelToFrequency(uint32_t channel) {
  if (channel >= 1 && channel <= 13) return 2407000 + 5000 * channel;
  if (channel == 14) return 2484000;
  if ((channel >= 34 && channel <= 48 && channel % 2 == 0) || (channel >= 52 && channel <= 64 && channel % 4 == 0) ||
      (channel >= 100 && channel <= 140 && channel % 4 == 0) || (channel >= 149 && channel <= 165 && (channel - 149) % 4 == 0))
    return 5000000 + 5000 * channel;
  return 0;
}

uint32_t FrequencyToChannel(uint32_t kHz) {
  for (uint32_t c = 1; c <= 165; ++c)
    if (ChannelToFrequency(c) == kHz) return c;
  return 0;
}

bool IsCalendarDate(int year, int month, int day) {
  if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

World DefaultWorld() {
  World w;
  auto net = [&](std::string ssid, MacAddress bssid, uint32_t channel, int32_t rssi, Security security) -> Network& {
    Network n;
    n.ssid = std::move(ssid);
    n.bssid = bssid;
    n.channel = channel;
    n.rssi = rssi;
    n.security = security;
    w.networks.push_back(n);
    return w.networks.back();
  };

  Network& maker = net("Arventa-AP", {0x00, 0x0C, 0xE7, 0x10, 0x20, 0x30}, 6, -48, Security::Open);
  maker.maker = true;
  maker.apName = "Arventa AP";
  maker.ipAddress = {192, 168, 1, 1};

  Network& home = net("HomeNet", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01}, 1, -58, Security::Wpa2Psk);
  home.cipher = Cipher::Aes;
  home.passphrase = "correct horse battery";
  home.ipAddress = {192, 168, 1, 1};

  Network& mixed = net("Office-Mixed", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02}, 11, -66, Security::WpaWpa2Psk);
  mixed.cipher = Cipher::TkipAes;
  mixed.passphrase = "office passphrase 2006";

  Network& wep = net("OldWep", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x03}, 3, -71, Security::Wep);
  wep.wepKey = {0x12, 0x34, 0x56, 0x78, 0x9A};

  Network& hidden = net("HiddenLab", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x04}, 9, -62, Security::Wpa2Psk);
  hidden.cipher = Cipher::Aes;
  hidden.hidden = true;
  hidden.passphrase = "hidden lab key";

  Network& adhoc = net("GameRoom", {0x02, 0x11, 0x22, 0x33, 0x44, 0x55}, 4, -60, Security::Open);
  adhoc.adhoc = true;

  Network& five = net("FastLane5G", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x05}, 36, -57, Security::Wpa2Psk);
  five.cipher = Cipher::Aes;
  five.passphrase = "five gigahertz";

  Network& corp = net("CorpSecure", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x06}, 6, -64, Security::Wpa2Enterprise);
  corp.cipher = Cipher::Aes;
  corp.accounts = {{EapMethod::Peap, "alice", "wonderland"}, {EapMethod::Tls, "bob", ""},
                   {EapMethod::Ttls, "carol", "secret"}, {EapMethod::Md5, "dave", "md5pass"}};

  Network& campus = net("Campus-LEAP", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x07}, 1, -69, Security::Wep8021x);
  campus.accounts = {{EapMethod::Leap, "erin", "leappass"}, {EapMethod::Md5, "frank", "md5frank"}};

  Station phone;
  phone.mac = {0x00, 0x16, 0xCB, 0x01, 0x02, 0x03};
  phone.passphrase = "softap passphrase";
  Station laptop;
  laptop.mac = {0x00, 0x1B, 0x63, 0x04, 0x05, 0x06};
  laptop.passphrase = "softap passphrase";
  laptop.powerSaving = true;
  Station intruder;
  intruder.mac = {0x00, 0x1F, 0x3A, 0x07, 0x08, 0x09};
  intruder.passphrase = "wrong guess";
  w.stations = {phone, laptop, intruder};

  // CorpSecure's server and its users' certificates come from the company's own root; the
  // campus network's from a second authority.
  auto cert = [](std::string to, std::string by, std::string friendly, uint16_t year, uint8_t month, uint8_t day,
                 std::string_view hash) {
    Certificate c{std::move(to), std::move(by), std::move(friendly), year, month, day, {}};
    auto bytes = DecodeHex(hash);
    if (bytes && bytes->size() == c.sha1.size()) std::copy(bytes->begin(), bytes->end(), c.sha1.begin());
    return c;
  };
  w.rootCertificates.certificates = {
      cert("Arventa Corp Root CA", "Arventa Corp Root CA", "Arventa Corp Root", 2031, 12, 31,
           "5633E2930985B24F572C6E2F80782A7DCD6525CF"),
      cert("Campus Trust CA", "Campus Trust CA", "Campus Trust", 2029, 6, 30, "1882E4F4A496B25017B971C7BE589E3A02BC6D04"),
  };
  w.personalCertificates.certificates = {
      cert("alice", "Arventa Corp Root CA", "Alice (CorpSecure)", 2027, 3, 31, "522B276A356BDF39013DFABEA2CD43E141ECC9E8"),
      cert("bob", "Arventa Corp Root CA", "Bob (CorpSecure TLS)", 2027, 3, 31, "48181ACD22B3EDAEBC8A447868A7DF7CE629920A"),
  };
  return w;
}

}  // namespace vx::sim
