// The simulated radio world: the networks a station can see and join, and the stations that try
// to join the adapter when it runs as an access point. Plain data, copied freely.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/hex.h"

namespace vx::sim {

// The board maker's OUI; networks flagged `maker` carry it in their BSSID.
constexpr std::array<uint8_t, 3> kMakerOui = {0x00, 0x0C, 0xE7};

enum class Security {
  Open,
  Wep,            // static WEP with `wepKey`
  WpaPsk,         // WPA element only
  Wpa2Psk,        // RSN element only
  WpaWpa2Psk,     // both elements
  WpaEnterprise,  // WPA with 802.1X, `accounts`
  Wpa2Enterprise,
  WpaNone,  // ad hoc with a pre-shared key
  Wep8021x,  // dynamic WEP: 802.1X (or LEAP) with `accounts`, keys from the authentication
};

enum class Cipher { Tkip, Aes, TkipAes };

enum class EapMethod { Peap, Tls, Ttls, Md5, Leap };

// An 802.1X account of an enterprise network.
struct Account {
  EapMethod method = EapMethod::Peap;
  std::string identity;
  std::string password;  // TLS: ignored, the identity alone must match
};

struct Network {
  std::string ssid;
  MacAddress bssid{};
  uint32_t channel = 6;
  int32_t rssi = -55;  // dBm
  Security security = Security::Open;
  Cipher cipher = Cipher::Tkip;
  std::vector<uint8_t> wepKey;  // 5 or 13 bytes
  std::string passphrase;       // WPA-PSK / WPA-None, 8..63 characters
  std::optional<std::array<uint8_t, 32>> psk;  // instead of a passphrase
  std::vector<Account> accounts;
  bool hidden = false;
  bool adhoc = false;
  bool inRange = true;
  bool maker = false;             // runs the one-button security service
  uint16_t beaconPeriod = 100;    // TU
  std::array<uint8_t, 4> ipAddress{};  // the access point's own address, network order
  std::string apName;             // name in the one-button support reply
  uint16_t supportFlags = 0x0003;  // one-button support flags: bit 0 WEP, bit 1 WPA-PSK

  bool IsWpa() const;  // any WPA or RSN security
  bool Is5GHz() const { return channel > 14; }
};

// A station that tries to join the adapter in access point mode.
struct Station {
  MacAddress mac{};
  std::string ssid;        // empty: any SSID
  std::string passphrase;  // for a WPA-PSK access point
  std::vector<uint8_t> wepKey;
  bool present = true;      // in range and wanting to associate
  bool powerSaving = false;
  bool idle = false;        // stops sending; aged out after kAgeOutTicks
  int32_t rssi = -50;
};

// A certificate of the station's stores as the certificate pages show it.
struct Certificate {
  std::string issuedTo;
  std::string issuedBy;
  std::string friendlyName;
  uint16_t year = 2030;  // not-after date
  uint8_t month = 1;
  uint8_t day = 1;
  std::array<uint8_t, 20> sha1{};
  bool operator==(const Certificate&) const = default;
};

// One of the two stores (personal "my", trusted roots "root"); an unreadable store cannot be opened.
struct CertificateStore {
  bool readable = true;
  std::vector<Certificate> certificates;
  bool operator==(const CertificateStore&) const = default;
};

struct World {
  std::vector<Network> networks;
  std::vector<Station> stations;
  uint16_t autoSecurityPort = 1500;  // TCP port of the one-button service of `maker` networks
  CertificateStore personalCertificates;
  CertificateStore rootCertificates;

  Network* FindNetwork(const std::string& ssid);
  Network* FindNetwork(const MacAddress& bssid);
};

// The built-in world: the maker's open access point, a WPA2-PSK home network, a mixed
// WPA/WPA2 TKIP+AES network, WEP, hidden, ad hoc, 5 GHz and WPA2-Enterprise networks, and three
// stations for access point mode, and the certificates of the enterprise networks.
// docs/SIMULATOR.md lists its contents.
World DefaultWorld();

// Whether year-month-day names a day of the Gregorian calendar (years 1601..9999).
bool IsCalendarDate(int year, int month, int day);

// Centre frequency in kHz of a 2.4 or 5 GHz channel; 0 for an unknown channel.
uint32_t ChannelToFrequency(uint32_t channel);
// 0 when the frequency is no known channel.
uint32_t FrequencyToChannel(uint32_t kHz);

}  // namespace vx::sim
