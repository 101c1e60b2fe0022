#include "sim/world/world_json.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "base/utf8.h"

namespace vx::sim {
namespace {

using nlohmann::json;

// Reads one object's members by name; the first problem found is kept with its path.
class Reader {
 public:
  Reader(const json& j, std::string path, std::string& error) : j_(j), path_(std::move(path)), error_(error) {
    if (!j_.is_object()) Fail("", "expected an object");
  }
  bool Has(const char* key) const { return j_.is_object() && j_.contains(key); }
  void Fail(const std::string& key, const std::string& what) {
    if (error_.empty()) error_ = (path_.empty() ? key : key.empty() ? path_ : path_ + "." + key) + ": " + what;
  }
  void String(const char* key, std::string& out) {
    if (!Has(key)) return;
    if (!j_[key].is_string()) return Fail(key, "expected a string");
    out = j_[key].get<std::string>();
  }
  void Bool(const char* key, bool& out) {
    if (!Has(key)) return;
    if (!j_[key].is_boolean()) return Fail(key, "expected true or false");
    out = j_[key].get<bool>();
  }
  template <typename T>
  void Int(const char* key, T& out, long long lo, long long hi) {
    if (!Has(key)) return;
    if (!j_[key].is_number_integer()) return Fail(key, "expected an integer");
    long long v = j_[key].get<long long>();
    if (v < lo || v > hi) return Fail(key, "out of range " + std::to_string(lo) + ".." + std::to_string(hi));
    out = static_cast<T>(v);
  }
  void Mac(const char* key, MacAddress& out) {
    std::string text;
    String(key, text);
    if (!Has(key) || !j_[key].is_string()) return;
    auto mac = ParseMac(text);
    if (!mac) return Fail(key, "expected a MAC address such as 00:0C:E7:10:20:30");
    out = *mac;
  }
  void Hex(const char* key, std::vector<uint8_t>& out) {
    std::string text;
    String(key, text);
    if (text.empty()) return;
    auto bytes = DecodeHex(text);
    if (!bytes) return Fail(key, "expected hexadecimal digits");
    out = *bytes;
  }
  template <size_t N>
  bool Choice(const char* key, const std::pair<const char*, int> (&names)[N], int& out) {
    std::string text;
    String(key, text);
    if (!Has(key) || !j_[key].is_string()) return false;
    for (const auto& [name, value] : names)
      if (text == name) {
        out = value;
        return true;
      }
    std::string list;
    for (const auto& n : names) list += std::string(list.empty() ? "" : ", ") + n.first;
    Fail(key, "unknown value \"" + text + "\" (one of " + list + ")");
    return false;
  }
  // Members not in `known` are typing mistakes more often than extensions.
  template <size_t N>
  void OnlyKnown(const char* const (&known)[N]) {
    if (!j_.is_object()) return;
    for (const auto& item : j_.items())
      if (std::find(std::begin(known), std::end(known), item.key()) == std::end(known))
        Fail(item.key(), "unknown member");
  }
  const json& j_;
  std::string path_;
  std::string& error_;
};

const std::pair<const char*, int> kSecurities[] = {
    {"open", int(Security::Open)},
    {"wep", int(Security::Wep)},
    {"wpa-psk", int(Security::WpaPsk)},
    {"wpa2-psk", int(Security::Wpa2Psk)},
    {"wpa-wpa2-psk", int(Security::WpaWpa2Psk)},
    {"wpa-enterprise", int(Security::WpaEnterprise)},
    {"wpa2-enterprise", int(Security::Wpa2Enterprise)},
    {"wpa-none", int(Security::WpaNone)},
    {"wep-8021x", int(Security::Wep8021x)},
};
const std::pair<const char*, int> kCiphers[] = {{"tkip", int(Cipher::Tkip)}, {"aes", int(Cipher::Aes)},
                                                {"tkip+aes", int(Cipher::TkipAes)}};
const std::pair<const char*, int> kMethods[] = {{"peap", int(EapMethod::Peap)}, {"tls", int(EapMethod::Tls)},
                                                {"ttls", int(EapMethod::Ttls)}, {"md5", int(EapMethod::Md5)},
                                                {"leap", int(EapMethod::Leap)}};

template <typename E, size_t N>
std::string NameOf(const std::pair<const char*, int> (&names)[N], E value) {
  for (const auto& n : names)
    if (n.second == int(value)) return n.first;
  return "";
}

Network ReadNetwork(const json& j, const std::string& path, std::string& error) {
  Network n;
  Reader r(j, path, error);
  static const char* const known[] = {"ssid", "ssidHex", "bssid", "channel", "rssi", "security", "cipher", "wepKey",
                                      "passphrase", "psk", "accounts", "hidden", "adhoc", "inRange", "maker",
                                      "beaconPeriod", "ip", "apName", "supportFlags"};
  r.OnlyKnown(known);
  r.String("ssid", n.ssid);
  if (n.ssid.size() > 32) r.Fail("ssid", "longer than 32 bytes");
  // The raw form: any bytes, also those that are no UTF-8 and so cannot be a JSON string.
  if (r.Has("ssidHex")) {
    if (r.Has("ssid")) r.Fail("ssidHex", "give \"ssid\" or \"ssidHex\", not both");
    std::vector<uint8_t> raw;
    r.Hex("ssidHex", raw);
    if (raw.size() > 32) r.Fail("ssidHex", "longer than 32 bytes");
    n.ssid.assign(raw.begin(), raw.end());
  }
  r.Bool("maker", n.maker);
  if (n.maker) std::copy(kMakerOui.begin(), kMakerOui.end(), n.bssid.begin());
  r.Mac("bssid", n.bssid);
  r.Int("channel", n.channel, 1, 165);
  if (r.Has("channel") && ChannelToFrequency(n.channel) == 0) r.Fail("channel", "not a 2.4 or 5 GHz channel");
  r.Int("rssi", n.rssi, -120, 0);
  int v = 0;
  if (r.Choice("security", kSecurities, v)) n.security = Security(v);
  if (r.Choice("cipher", kCiphers, v)) n.cipher = Cipher(v);
  if (!r.Has("cipher") && (n.security == Security::Wpa2Psk || n.security == Security::Wpa2Enterprise))
    n.cipher = Cipher::Aes;
  if (!r.Has("cipher") && n.security == Security::WpaWpa2Psk) n.cipher = Cipher::TkipAes;
  r.Hex("wepKey", n.wepKey);
  if (!n.wepKey.empty() && n.wepKey.size() != 5 && n.wepKey.size() != 13) r.Fail("wepKey", "expected 10 or 26 digits");
  if (n.security == Security::Wep && n.wepKey.empty()) r.Fail("wepKey", "a WEP network needs its key");
  r.String("passphrase", n.passphrase);
  std::vector<uint8_t> psk;
  r.Hex("psk", psk);
  if (!psk.empty()) {
    if (psk.size() != 32) r.Fail("psk", "expected 64 digits");
    else {
      n.psk.emplace();
      std::copy(psk.begin(), psk.end(), n.psk->begin());
    }
  }
  bool needsKey = n.security == Security::WpaPsk || n.security == Security::Wpa2Psk ||
                  n.security == Security::WpaWpa2Psk || n.security == Security::WpaNone;
  if (needsKey && !n.psk && (n.passphrase.size() < 8 || n.passphrase.size() > 63))
    r.Fail("passphrase", "a pre-shared key network needs a passphrase of 8 to 63 characters or a psk");
  if (r.Has("accounts")) {
    const json& list = j["accounts"];
    if (!list.is_array()) r.Fail("accounts", "expected an array");
    else
      for (size_t i = 0; i < list.size(); ++i) {
        Reader a(list[i], path + ".accounts[" + std::to_string(i) + "]", error);
        static const char* const accountKeys[] = {"method", "identity", "password"};
        a.OnlyKnown(accountKeys);
        Account account;
        if (a.Choice("method", kMethods, v)) account.method = EapMethod(v);
        a.String("identity", account.identity);
        a.String("password", account.password);
        n.accounts.push_back(account);
      }
  }
  r.Bool("hidden", n.hidden);
  r.Bool("adhoc", n.adhoc);
  r.Bool("inRange", n.inRange);
  r.Int("beaconPeriod", n.beaconPeriod, 20, 1000);
  std::string ip;
  r.String("ip", ip);
  if (!ip.empty()) {
    unsigned a, b, c, d;
    char tail;
    if (std::sscanf(ip.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4 || a > 255 || b > 255 || c > 255 || d > 255)
      r.Fail("ip", "expected a dotted IPv4 address");
    else
      n.ipAddress = {uint8_t(a), uint8_t(b), uint8_t(c), uint8_t(d)};
  }
  r.String("apName", n.apName);
  r.Int("supportFlags", n.supportFlags, 0, 0xFFFF);
  return n;
}

Station ReadStation(const json& j, const std::string& path, std::string& error) {
  Station s;
  Reader r(j, path, error);
  static const char* const known[] = {"mac", "ssid", "passphrase", "wepKey", "present", "powerSaving", "idle", "rssi"};
  r.OnlyKnown(known);
  if (!r.Has("mac")) r.Fail("mac", "missing");
  r.Mac("mac", s.mac);
  r.String("ssid", s.ssid);
  r.String("passphrase", s.passphrase);
  r.Hex("wepKey", s.wepKey);
  r.Bool("present", s.present);
  r.Bool("powerSaving", s.powerSaving);
  r.Bool("idle", s.idle);
  r.Int("rssi", s.rssi, -120, 0);
  return s;
}

Certificate ReadCertificate(const json& j, const std::string& path, std::string& error) {
  Certificate c;
  Reader r(j, path, error);
  static const char* const known[] = {"issuedTo", "issuedBy", "notAfter", "friendlyName", "sha1"};
  r.OnlyKnown(known);
  for (const char* required : {"issuedTo", "issuedBy", "notAfter", "sha1"})
    if (!r.Has(required)) r.Fail(required, "missing");
  r.String("issuedTo", c.issuedTo);
  r.String("issuedBy", c.issuedBy);
  r.String("friendlyName", c.friendlyName);
  std::string date;
  r.String("notAfter", date);
  if (r.Has("notAfter") && j["notAfter"].is_string()) {
    auto number = [&](size_t from, size_t n) {
      int v = 0;
      for (size_t i = from; i < from + n; ++i) {
        if (date[i] < '0' || date[i] > '9') return -1;
        v = v * 10 + (date[i] - '0');
      }
      return v;
    };
    bool shaped = date.size() == 10 && date[4] == '-' && date[7] == '-';
    int year = shaped ? number(0, 4) : -1, month = shaped ? number(5, 2) : -1, day = shaped ? number(8, 2) : -1;
    if (!IsCalendarDate(year, month, day))
      r.Fail("notAfter", "expected a date such as 2030-12-31");
    else {
      c.year = uint16_t(year);
      c.month = uint8_t(month);
      c.day = uint8_t(day);
    }
  }
  std::vector<uint8_t> hash;
  r.Hex("sha1", hash);
  if (r.Has("sha1") && j["sha1"].is_string()) {
    if (hash.size() != c.sha1.size()) r.Fail("sha1", "expected 40 hexadecimal digits");
    else std::copy(hash.begin(), hash.end(), c.sha1.begin());
  }
  return c;
}

// "certificates": {"my": [...], "root": [...]}; a store given as null cannot be opened.
void ReadCertificates(const json& j, World& world, std::string& error) {
  Reader r(j, "certificates", error);
  static const char* const known[] = {"my", "root"};
  r.OnlyKnown(known);
  for (const char* name : {"my", "root"}) {
    if (!r.Has(name)) continue;
    CertificateStore& store = name[0] == 'm' ? world.personalCertificates : world.rootCertificates;
    const json& list = j[name];
    if (list.is_null()) {
      store.readable = false;
      continue;
    }
    if (!list.is_array()) {
      r.Fail(name, "expected an array or null");
      continue;
    }
    for (size_t i = 0; i < list.size(); ++i)
      store.certificates.push_back(
          ReadCertificate(list[i], std::string("certificates.") + name + "[" + std::to_string(i) + "]", error));
  }
}

json CertificatesJson(const CertificateStore& store) {
  if (!store.readable) return nullptr;
  json list = json::array();
  for (const Certificate& c : store.certificates) {
    char date[16];
    std::snprintf(date, sizeof date, "%04u-%02u-%02u", unsigned(c.year), unsigned(c.month), unsigned(c.day));
    json o = {{"issuedTo", c.issuedTo}, {"issuedBy", c.issuedBy}, {"notAfter", date}, {"sha1", EncodeHex(c.sha1)}};
    if (!c.friendlyName.empty()) o["friendlyName"] = c.friendlyName;
    list.push_back(o);
  }
  return list;
}

}  // namespace

WorldLoad ParseWorldJson(std::string_view text) {
  WorldLoad out;
  json j = json::parse(text.begin(), text.end(), nullptr, false);
  if (j.is_discarded()) {
    out.error = "not valid JSON";
    return out;
  }
  Reader r(j, "", out.error);
  static const char* const known[] = {"networks", "stations", "autoSecurityPort", "certificates"};
  r.OnlyKnown(known);
  r.Int("autoSecurityPort", out.world.autoSecurityPort, 1, 65535);
  if (r.Has("certificates")) ReadCertificates(j["certificates"], out.world, out.error);
  for (const char* member : {"networks", "stations"}) {
    if (!r.Has(member)) continue;
    const json& list = j[member];
    if (!list.is_array()) {
      r.Fail(member, "expected an array");
      continue;
    }
    for (size_t i = 0; i < list.size(); ++i) {
      std::string path = std::string(member) + "[" + std::to_string(i) + "]";
      if (member[0] == 'n')
        out.world.networks.push_back(ReadNetwork(list[i], path, out.error));
      else
        out.world.stations.push_back(ReadStation(list[i], path, out.error));
    }
  }
  out.ok = out.error.empty();
  if (!out.ok) out.world = World{};
  return out;
}

WorldLoad LoadWorldFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    WorldLoad out;
    out.error = "cannot read world file " + path;
    return out;
  }
  std::stringstream text;
  text << in.rdbuf();
  WorldLoad out = ParseWorldJson(text.str());
  if (!out.ok) out.error = path + ": " + out.error;
  return out;
}

std::string WorldToJson(const World& w) {
  json j;
  j["autoSecurityPort"] = w.autoSecurityPort;
  j["networks"] = json::array();
  for (const Network& n : w.networks) {
    json o;
    if (IsValidUtf8(n.ssid))
      o["ssid"] = n.ssid;
    else
      o["ssidHex"] = EncodeHex(std::vector<uint8_t>(n.ssid.begin(), n.ssid.end()));
    o["bssid"] = FormatMac(n.bssid, ':');
    o["channel"] = n.channel;
    o["rssi"] = n.rssi;
    o["security"] = NameOf(kSecurities, n.security);
    if (n.IsWpa()) o["cipher"] = NameOf(kCiphers, n.cipher);
    if (!n.wepKey.empty()) o["wepKey"] = EncodeHex(n.wepKey);
    if (!n.passphrase.empty()) o["passphrase"] = n.passphrase;
    if (n.psk) o["psk"] = EncodeHex(*n.psk);
    if (!n.accounts.empty()) {
      o["accounts"] = json::array();
      for (const Account& a : n.accounts)
        o["accounts"].push_back({{"method", NameOf(kMethods, a.method)}, {"identity", a.identity}, {"password", a.password}});
    }
    o["hidden"] = n.hidden;
    o["adhoc"] = n.adhoc;
    o["inRange"] = n.inRange;
    o["maker"] = n.maker;
    o["beaconPeriod"] = n.beaconPeriod;
    char ip[20];
    std::snprintf(ip, sizeof ip, "%u.%u.%u.%u", n.ipAddress[0], n.ipAddress[1], n.ipAddress[2], n.ipAddress[3]);
    o["ip"] = ip;
    if (!n.apName.empty()) o["apName"] = n.apName;
    o["supportFlags"] = n.supportFlags;
    j["networks"].push_back(o);
  }
  j["stations"] = json::array();
  for (const Station& s : w.stations) {
    json o;
    o["mac"] = FormatMac(s.mac, ':');
    o["ssid"] = s.ssid;
    o["passphrase"] = s.passphrase;
    if (!s.wepKey.empty()) o["wepKey"] = EncodeHex(s.wepKey);
    o["present"] = s.present;
    o["powerSaving"] = s.powerSaving;
    o["idle"] = s.idle;
    o["rssi"] = s.rssi;
    j["stations"].push_back(o);
  }
  j["certificates"] = {{"my", CertificatesJson(w.personalCertificates)}, {"root", CertificatesJson(w.rootCertificates)}};
  return j.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace vx::sim
