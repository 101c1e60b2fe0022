#include "sim/adapter/virtual_adapter.h"

#include <algorithm>
#include <deque>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "common/passphrase/passphrase.h"
#include "driver/discovery.h"
#include "driver/oid_codes.h"
#include "driver/records.h"
#include "sim/adapter/scan_list.h"

namespace vx::sim {
namespace {

// Windows error codes a driver request fails with.
enum : uint32_t {
  kErrFileNotFound = 2,
  kErrGenFailure = 31,
  kErrNotSupported = 50,
  kErrInvalidParameter = 87,
  kErrInsufficientBuffer = 122,
  kErrDeviceNotConnected = 1167,
};

enum LinkEvent : uint32_t {
  kLinkUp = 0,
  kLinkDown = 1,
  kHwRadioOff = 2,
  kSwRadioOff = 3,
  kSharedAuthFail = 5,
  kAssocFailed = 6,
  kHandshakeTimeout = 8,
};

enum EventType : uint16_t { kEvRestart = 0, kEvAssociated = 1, kEvLeft = 2, kEvAgedOut = 3, kEvCountermeasure = 4, kEvBadPsk = 5 };

constexpr uint64_t kFiletimePerSecond = 10000000;
// 2026-01-01 00:00:00 UTC as FILETIME.
constexpr uint64_t kDefaultClockBase = 134116992000000000ull;

using Key32 = std::array<uint8_t, 32>;

// The mapping costs 4096 HMAC rounds and links are re-evaluated on every request: keep results.
std::optional<Key32> PassphrasePsk(const std::string& passphrase, const std::string& ssid) {
  if (passphrase.size() < 8 || passphrase.size() > 63 || ssid.size() > 32) return std::nullopt;
  static std::mutex cacheMutex;
  static std::map<std::pair<std::string, std::string>, Key32> cache;
  std::lock_guard lock(cacheMutex);
  auto [it, fresh] = cache.try_emplace({passphrase, ssid});
  if (fresh) {
    if (cache.size() > 256) {
      cache.clear();
      it = cache.try_emplace({passphrase, ssid}).first;
    }
    it->second = PassphraseToPsk(passphrase, ssid);
  }
  return it->second;
}

std::optional<Key32> NetworkPsk(const Network& n) {
  if (n.psk) return n.psk;
  return PassphrasePsk(n.passphrase, n.ssid);
}

bool Matches(const Network& n, const std::string& ssidOrBssid) {
  if (n.ssid == ssidOrBssid) return true;
  auto mac = ParseMac(ssidOrBssid);
  return mac && *mac == n.bssid;
}

uint8_t TxRateIndex(uint32_t phyMode, int32_t rssi) {
  if (phyMode == 1) return rssi >= -75 ? 3 : 2;  // 11 or 5.5 Mbit/s
  if (rssi >= -65) return 11;                    // 54
  if (rssi >= -75) return 8;                     // 24
  return 3;
}

constexpr uint8_t kRateUnits[12] = {2, 4, 11, 22, 12, 18, 24, 36, 48, 72, 96, 108};

}  // namespace

struct VirtualAdapter::Impl {
  struct ApClient {
    MacAddress mac{};
    uint8_t aid = 0;
    int idleTicks = 0;
  };

  explicit Impl(const AdapterHardware& s, World w) : hw(s), world(std::move(w)) { Reset(); }

  // The driver's state after loading.
  void Reset() {
    opMode = kOpModeStation;
    infraMode = kInfraInfrastructure;
    authMode = kAuthOpen;
    encryption = kEncDisabled;
    preamble = 0;
    rts = 2347;
    frag = 2346;
    powerMode = 0;
    powerSaveLevel = 0;
    txPower = 100;
    phyMode = hw.aBand ? 3 : 0;
    countryRegion = hw.countryRegion;
    ccx2 = 0;
    tuningEnable = 0;
    softRadio = true;
    staConfig = {0, 0, 0, 1, 0, 1, 0x00010002, 0x00000000};
    apConfig = {0, 0, 0, 0, 0, 1, 0x00000005, 0x00000000};
    configuration = ConfigurationRecord{};
    configuration.beaconPeriod = 100;
    configuration.dsConfig = ChannelToFrequency(6);
    std::fill(std::begin(desiredRates), std::end(desiredRates), 0);
    rateSet = RateSetForWirelessMode(0);
    profileExtension.assign(kProfileExtensionSize, 0);
    radius = {};
    rekey = {0, 3600};
    aclPolicy = 0;
    acl.clear();
    wds = {};
    bbp = {};
    rfTuning.assign(kRfTuningSize, 0);
    registers.clear();
    for (auto& k : keys) k.clear();
    txKey = 0;
    pairwiseKey.reset();
    targetKind = Target::None;
    link = Link{};
    linkEvent = kLinkDown;
    stats = StatisticsRecord{};
    rcvOk = rcvNoBuffer = 0;
    creds = {};
    eapStatus = 0;
    apStarted = false;
    apSsid.clear();
    clients.clear();
    refused.clear();
    pendingEvents.clear();
    Scan();
  }

  // ---- station link --------------------------------------------------------------------------

  enum class Target { None, Ssid, Bssid };
  struct Link {
    bool up = false;
    bool wepMismatch = false;
    bool ownIbss = false;
    Network net;  // the network joined (a copy; refreshed from the world on every evaluation)
  };
  struct Outcome {
    bool up = false;
    bool wepMismatch = false;
    uint32_t event = kLinkDown;
  };

  bool Visible(const Network& n) const {
    if (!n.inRange) return false;
    if (n.Is5GHz()) return hw.aBand && phyMode != 1 && phyMode != 4 && phyMode != 0;
    return phyMode != 2;
  }

  void Scan() {
    scanSnapshot.clear();
    if (!softRadio || !hw.hardwareRadioOn || !plugged) return;
    for (const Network& n : world.networks)
      if (Visible(n)) scanSnapshot.push_back(n);
  }

  std::optional<Key32> SupplicantPsk(const std::string& ssid) const {
    // The library negotiates for the network it was named, so a key for another one never fits.
    if (creds.pskSsid != ssid) return std::nullopt;
    if (creds.psk) return creds.psk;
    if (creds.passphrase) return PassphrasePsk(*creds.passphrase, ssid);
    return std::nullopt;
  }

  bool CipherOffered(const Network& n) const {
    if (encryption == kEncTkipEnabled) return n.cipher != Cipher::Aes;
    if (encryption == kEncAesEnabled) return n.cipher != Cipher::Tkip;
    return false;
  }

  Outcome CheckSecurity(const Network& n) {
    bool legacyAuth = authMode <= kAuthAutoSwitch;
    switch (n.security) {
      case Security::Open:
        if (!legacyAuth || authMode == kAuthShared) return {false, false, authMode == kAuthShared ? kSharedAuthFail : kAssocFailed};
        // A station that encrypts towards an open network associates but is not understood.
        return {true, encryption == kEncWepEnabled, kLinkUp};
      case Security::Wep: {
        if (!legacyAuth || encryption != kEncWepEnabled) return {false, false, kAssocFailed};
        bool keyOk = !n.wepKey.empty() && keys[txKey] == n.wepKey;
        if (!keyOk && authMode == kAuthShared) return {false, false, kSharedAuthFail};
        return {true, !keyOk, kLinkUp};
      }
      case Security::WpaPsk:
      case Security::Wpa2Psk:
      case Security::WpaWpa2Psk: {
        bool authOk = (authMode == kAuthWpaPsk && n.security != Security::Wpa2Psk) ||
                      (authMode == kAuthWpa2Psk && n.security != Security::WpaPsk);
        if (!authOk || !CipherOffered(n)) return {false, false, kAssocFailed};
        auto mine = SupplicantPsk(n.ssid);
        auto theirs = NetworkPsk(n);
        if (!mine || !theirs || *mine != *theirs) return {false, false, kHandshakeTimeout};
        return {true, false, kLinkUp};
      }
      case Security::WpaEnterprise:
      case Security::Wpa2Enterprise: {
        bool authOk = authMode == (n.security == Security::WpaEnterprise ? kAuthWpa : kAuthWpa2);
        if (!authOk || !CipherOffered(n)) return {false, false, kAssocFailed};
        bool accepted = EapAccepted(n);
        eapStatus = accepted ? 30 : 62;
        if (!accepted) return {false, false, kHandshakeTimeout};
        return {true, false, kLinkUp};
      }
      case Security::Wep8021x: {
        if (!legacyAuth || encryption != kEncWepEnabled) return {false, false, kAssocFailed};
        bool accepted = EapAccepted(n);
        eapStatus = accepted ? 30 : 62;
        if (!accepted) return {false, false, kLinkDown};
        return {true, false, kLinkUp};
      }
      case Security::WpaNone: {
        if (authMode != kAuthWpaNone || !CipherOffered(n)) return {false, false, kAssocFailed};
        auto theirs = NetworkPsk(n);
        // No handshake in an IBSS: a wrong key joins but nothing can be decrypted.
        return {true, !(theirs && pairwiseKey && *theirs == *pairwiseKey), kLinkUp};
      }
    }
    return {};
  }

  // The supplicant's credentials, or the LEAP name and password of the profile extension.
  bool EapAccepted(const Network& n) const {
    ByteReader ext(profileExtension);
    bool leap = ext.U8() == 1;
    ext.Seek(4);
    auto leapUser = ext.Span(256);
    uint32_t userLength = ext.U32();
    auto leapPassword = ext.Span(256);
    uint32_t passwordLength = ext.U32();
    for (const Account& a : n.accounts) {
      if (creds.method && a.method == *creds.method && a.identity == creds.identity &&
          (a.method == EapMethod::Tls || a.password == creds.password))
        return true;
      if (leap && ext.ok() && a.method == EapMethod::Leap && userLength <= 256 && passwordLength <= 256 &&
          a.identity == std::string(leapUser.begin(), leapUser.begin() + userLength) &&
          a.password == std::string(leapPassword.begin(), leapPassword.begin() + passwordLength))
        return true;
    }
    return false;
  }

  // The IBSS this adapter starts when no ad hoc network of the SSID is in range.
  Network OwnIbss() const {
    Network n;
    n.ssid = targetSsid;
    n.bssid = hw.mac;
    n.bssid[0] = static_cast<uint8_t>((n.bssid[0] | 0x02) & 0xFE);
    n.channel = FrequencyToChannel(configuration.dsConfig);
    if (n.channel == 0) n.channel = 1;
    n.rssi = -40;
    n.adhoc = true;
    if (authMode == kAuthWpaNone) {
      n.security = Security::WpaNone;
      n.cipher = encryption == kEncAesEnabled ? Cipher::Aes : Cipher::Tkip;
      n.psk = pairwiseKey;
    } else if (encryption == kEncWepEnabled) {
      n.security = Security::Wep;
      n.wepKey = keys[txKey];
    }
    return n;
  }

  void EvaluateStation() {
    Outcome o;
    const Network* found = nullptr;
    bool ownIbss = false;
    if (!hw.hardwareRadioOn) {
      o.event = kHwRadioOff;
    } else if (!softRadio) {
      o.event = kSwRadioOff;
    } else if (targetKind != Target::None) {
      for (const Network& n : world.networks) {
        if (!Visible(n)) continue;
        // An empty SSID joins any open infrastructure network in range, as drivers do.
        bool anyOpen = targetKind == Target::Ssid && targetSsid.empty() && infraMode != kInfraAdhoc && !n.adhoc &&
                       !n.hidden && n.security == Security::Open;
        bool targetOk = targetKind == Target::Ssid ? (anyOpen || (!targetSsid.empty() && n.ssid == targetSsid))
                                                   : n.bssid == targetBssid;
        bool modeOk = infraMode == kInfraAuto || n.adhoc == (infraMode == kInfraAdhoc);
        if (targetOk && modeOk && (!found || n.rssi > found->rssi)) found = &n;
      }
      if (found) {
        o = CheckSecurity(*found);
      } else if (infraMode == kInfraAdhoc && targetKind == Target::Ssid && !targetSsid.empty()) {
        ownIbss = true;
        o = {true, false, kLinkUp};
      }
    }
    bool wasUp = link.up;
    Link next;
    next.up = o.up;
    next.wepMismatch = o.wepMismatch;
    next.ownIbss = ownIbss;
    if (o.up) next.net = ownIbss ? (link.up && link.ownIbss ? link.net : OwnIbss()) : *found;
    bool sameNet = wasUp && next.up && next.net.bssid == link.net.bssid;
    link = next;
    if (o.up && !sameNet) linkEvent = kLinkUp;
    if (!o.up && (wasUp || targetKind != Target::None || o.event != kLinkDown)) linkEvent = o.event;
  }

  // ---- access point --------------------------------------------------------------------------

  uint64_t Now() const { return clockBase + ticks * kFiletimePerSecond; }

  void Event(const MacAddress& mac, uint16_t type) {
    pendingEvents.push_back({Now(), mac, type});
    while (pendingEvents.size() > 100) pendingEvents.pop_front();
  }

  void RestartAp() {
    for (const auto& c : clients) Event(c.mac, kEvLeft);
    clients.clear();
    refused.clear();
    Event({}, kEvRestart);
  }

  bool AclAllows(const MacAddress& mac) const {
    if (aclPolicy == 0 || acl.empty()) return true;
    bool listed = std::find(acl.begin(), acl.end(), mac) != acl.end();
    return aclPolicy == 1 ? listed : !listed;
  }

  // 0 accepted, 1 refused silently, 2 refused with the wrong-PSK event.
  int ApAdmits(const Station& s) const {
    if (!s.ssid.empty() && s.ssid != apSsid) return 1;
    if (!AclAllows(s.mac)) return 1;
    if (authMode == kAuthWpaPsk || authMode == kAuthWpa2Psk || authMode == 9) {
      auto psk = PassphrasePsk(s.passphrase, apSsid);
      return psk && pairwiseKey && *psk == *pairwiseKey ? 0 : 2;
    }
    if (encryption == kEncWepEnabled) return !s.wepKey.empty() && s.wepKey == keys[txKey] ? 0 : 1;
    return 0;
  }

  void EvaluateAp(bool tick) {
    if (opMode != kOpModeAccessPoint || !apStarted || !softRadio || !hw.hardwareRadioOn) {
      for (const auto& c : clients) Event(c.mac, kEvLeft);
      clients.clear();
      return;
    }
    // Departures and ageing first, so a station that leaves frees its AID.
    for (size_t i = 0; i < clients.size();) {
      const Station* s = FindStation(clients[i].mac);
      if (tick && s && s->idle) ++clients[i].idleTicks;
      uint16_t why = 0xFFFF;
      if (!s || !s->present || ApAdmits(*s) != 0)
        why = kEvLeft;
      else if (clients[i].idleTicks >= kAgeOutTicks)
        why = kEvAgedOut;
      if (why != 0xFFFF) {
        Event(clients[i].mac, why);
        if (why == kEvAgedOut) refused.insert(clients[i].mac);
        clients.erase(clients.begin() + static_cast<long>(i));
      } else {
        ++i;
      }
    }
    for (const Station& s : world.stations) {
      if (!s.present || refused.count(s.mac) || FindClient(s.mac) || clients.size() >= kMaxMacTableEntries) continue;
      int verdict = ApAdmits(s);
      if (verdict != 0) {
        if (verdict == 2) Event(s.mac, kEvBadPsk);
        refused.insert(s.mac);
        continue;
      }
      ApClient c;
      c.mac = s.mac;
      for (uint8_t aid = 1;; ++aid)
        if (std::none_of(clients.begin(), clients.end(), [&](const ApClient& x) { return x.aid == aid; })) {
          c.aid = aid;
          break;
        }
      clients.push_back(c);
      Event(s.mac, kEvAssociated);
    }
  }

  const Station* FindStation(const MacAddress& mac) const {
    for (const auto& s : world.stations)
      if (s.mac == mac) return &s;
    return nullptr;
  }
  const ApClient* FindClient(const MacAddress& mac) const {
    for (const auto& c : clients)
      if (c.mac == mac) return &c;
    return nullptr;
  }

  void Evaluate(bool tick = false) {
    if (opMode == kOpModeStation) {
      EvaluateStation();
      EvaluateAp(false);
    } else {
      if (link.up) linkEvent = kLinkDown;
      link = Link{};
      EvaluateAp(tick);
    }
  }

  // Refreshes the joined network from the world (signal, address) on every read.
  const Network* LinkNet() const { return link.up ? &link.net : nullptr; }

  int32_t CurrentRssi() const {
    if (opMode == kOpModeAccessPoint) {
      int32_t best = -100;
      for (const auto& c : clients)
        if (const Station* s = FindStation(c.mac)) best = std::max(best, s->rssi);
      return best;
    }
    return link.up ? link.net.rssi : -100;
  }

  void Traffic() {
    uint64_t peers = opMode == kOpModeAccessPoint ? clients.size() : (link.up ? 1 : 0);
    if (peers == 0) return;
    int32_t rssi = CurrentRssi();
    uint64_t tx = 10 * peers, rx = link.wepMismatch ? 0 : 8 * peers;
    stats.transmittedFragmentCount += tx;
    stats.multicastTransmittedFrameCount += peers;
    stats.retryCount += rssi < -70 ? 3 : 1;
    stats.multipleRetryCount += rssi < -70 ? 1 : 0;
    stats.rtsSuccessCount += peers;
    stats.ackFailureCount += rssi < -75 ? 2 : 0;
    stats.receivedFragmentCount += rx;
    stats.multicastReceivedFrameCount += rx ? peers : 0;
    stats.fcsErrorCount += rssi < -70 ? 2 : 0;
    rcvOk += static_cast<uint32_t>(rx);
  }

  AdapterHardware hw;
  World world;
  bool plugged = true;
  uint64_t generation = 0;
  uint32_t lastError = 0;

  uint32_t opMode, infraMode, authMode, encryption, preamble, rts, frag, powerMode, powerSaveLevel;
  int32_t txPower;
  uint32_t phyMode, countryRegion, ccx2, tuningEnable;
  bool softRadio;
  ConfigWords staConfig, apConfig;
  ConfigurationRecord configuration;
  uint8_t desiredRates[8];
  RateSetRecord rateSet;
  std::vector<uint8_t> profileExtension;
  RadiusRecord radius;
  RekeyRecord rekey;
  uint32_t aclPolicy;
  std::vector<MacAddress> acl;
  WdsRecord wds;
  std::array<uint8_t, 4> bbp;
  std::vector<uint8_t> rfTuning;
  std::map<std::pair<uint32_t, uint32_t>, uint32_t> registers;
  std::array<std::vector<uint8_t>, 4> keys;
  uint32_t txKey;
  std::optional<Key32> pairwiseKey;

  Target targetKind;
  std::string targetSsid;
  MacAddress targetBssid{};
  Link link;
  uint32_t linkEvent;
  std::vector<Network> scanSnapshot;

  StatisticsRecord stats;
  uint32_t rcvOk, rcvNoBuffer;

  SupplicantCredentials creds;
  uint32_t eapStatus;

  bool apStarted;
  std::string apSsid;
  std::vector<ApClient> clients;
  std::set<MacAddress> refused;
  std::deque<EventEntry> pendingEvents;

  uint64_t ticks = 0;
  uint64_t clockBase = kDefaultClockBase;

  std::map<uint32_t, int> failures;
  std::deque<OidLogEntry> log;
};

AdapterHardware PciAdapterHardware() {
  AdapterHardware s;
  s.hardwareId = std::string(PciIds(Program::Station)[1].prefix) + "&SUBSYS_00301A5C&REV_01";
  return s;
}

AdapterHardware UsbAdapterHardware() {
  AdapterHardware s;
  for (const auto& e : UsbIds(Program::Station))
    if (e.family == kFamilyKD40) {
      s.hardwareId = std::string(e.prefix) + "&REV_0001";
      break;
    }
  s.instanceId = "{6A0C2A1E-3B7D-4C55-9E61-0C1E7A300002}";
  s.driverKey = "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0011";
  s.description = "Arventa 802.11a/g USB Wireless LAN Adapter";
  s.mac = {0x00, 0x0C, 0xE7, 0x40, 0x00, 0x02};
  s.usb = true;
  s.aBand = true;
  s.ipAddress = "192.168.1.101";
  return s;
}

// ---- handle ------------------------------------------------------------------------------------

class VirtualAdapterHandle : public DeviceHandle {
 public:
  VirtualAdapterHandle(VirtualAdapter& adapter, uint64_t generation) : adapter_(adapter), generation_(generation) {}
  bool Control(uint32_t ioctl, std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& returned) override {
    return adapter_.Control(ioctl, in, out, returned, generation_);
  }

 private:
  VirtualAdapter& adapter_;
  uint64_t generation_;
};

VirtualAdapter::VirtualAdapter(AdapterHardware hw, World world)
    : hardware_(std::move(hw)), impl_(std::make_unique<Impl>(hardware_, std::move(world))) {}

VirtualAdapter::~VirtualAdapter() = default;

std::unique_ptr<DeviceHandle> VirtualAdapter::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (!impl_->plugged || !EqualsIgnoreCase(path, hardware_.DevicePath())) {
    impl_->lastError = kErrFileNotFound;
    return nullptr;
  }
  return std::make_unique<VirtualAdapterHandle>(*this, impl_->generation);
}

uint32_t VirtualAdapter::LastError() const {
  std::lock_guard lock(mutex_);
  return impl_->lastError;
}

// ---- requests ----------------------------------------------------------------------------------

namespace {

// The answer to one request, written into the caller's buffer only on success.
struct Reply {
  bool ok = false;
  uint32_t error = kErrNotSupported;
  std::vector<uint8_t> data;  // query answer
};

Reply Ok(std::vector<uint8_t> data = {}) { return {true, 0, std::move(data)}; }
Reply Fail(uint32_t error) { return {false, error, {}}; }
std::vector<uint8_t> U32(uint32_t v) { return ByteWriter().U32(v).Take(); }

}  // namespace

bool VirtualAdapter::Control(uint32_t ioctl, std::span<const uint8_t> in, std::span<uint8_t> out,
                             uint32_t& returned, uint64_t generation) {
  std::lock_guard lock(mutex_);
  Impl& d = *impl_;
  returned = 0;
  if (!d.plugged || generation != d.generation) {
    d.lastError = kErrDeviceNotConnected;
    return false;
  }
  if (ioctl != kIoctlNdisQueryGlobalStats || in.size() != 4) {
    d.lastError = kErrInvalidParameter;
    return false;
  }
  ByteReader codeReader(in);
  const uint32_t code = codeReader.U32();
  const bool isSet = (code & kOidSetBit) != 0;
  const ByteView data(out.data(), out.size());

  OidLogEntry entry;
  entry.oid = code;
  entry.set = isSet;
  entry.length = static_cast<uint32_t>(out.size());
  if (isSet) entry.data.assign(out.begin(), out.end());

  Reply reply;
  auto failIt = d.failures.find(code);
  if (failIt != d.failures.end()) {
    if (failIt->second > 0 && --failIt->second == 0) d.failures.erase(failIt);
    reply = Fail(kErrGenFailure);
  } else if (isSet) {
    // Fixed-size sets need at least their record; the rest of a longer buffer is ignored.
    auto need = [&](size_t n) { return data.size() >= n; };
    auto u32 = [&]() { ByteReader r(data); return r.U32(); };
    reply = Fail(kErrInvalidParameter);
    switch (code) {
      case OID_802_11_BSSID | kOidSetBit:
        if (need(6)) {
          d.targetKind = Impl::Target::Bssid;
          std::copy_n(data.begin(), 6, d.targetBssid.begin());
          reply = Ok();
        }
        break;
      case OID_802_11_SSID | kOidSetBit:
        if (need(kSsidRecordSize)) {
          SsidRecord s = DecodeSsid(data);
          if (s.length > 32) break;
          if (d.opMode == kOpModeAccessPoint) {
            d.apSsid = s.Text();
            d.apStarted = true;
            d.RestartAp();
          } else {
            d.targetKind = Impl::Target::Ssid;
            d.targetSsid = s.Text();
          }
          reply = Ok();
        }
        break;
      case OID_802_11_INFRASTRUCTURE_MODE | kOidSetBit:
        if (need(4) && u32() <= kInfraAuto) {
          d.infraMode = u32();
          reply = Ok();
        }
        break;
      case OID_802_11_DISASSOCIATE | kOidSetBit:
        d.targetKind = Impl::Target::None;
        reply = Ok();
        break;
      case OID_802_11_AUTHENTICATION_MODE | kOidSetBit:
        if (need(4) && u32() <= 9) {
          d.authMode = u32();
          reply = Ok();
        }
        break;
      case OID_802_11_BSSID_LIST_SCAN | kOidSetBit:
        d.Scan();
        reply = Ok();
        break;
      case OID_802_11_WEP_STATUS | kOidSetBit:
        if (need(4) && u32() <= 8) {
          d.encryption = u32();
          reply = Ok();
        }
        break;
      case OID_802_11_RELOAD_DEFAULTS | kOidSetBit:
        if (need(4) && u32() == 0) {
          for (auto& k : d.keys) k.clear();
          reply = Ok();
        }
        break;
      case OID_802_11_ADD_KEY | kOidSetBit: {
        auto key = DecodeAddKey(data);
        if (!key) break;
        size_t len = key->material.size();
        uint32_t index = key->keyIndex & 0xFF;
        if (len == 32) {
          d.pairwiseKey.emplace();
          std::copy_n(key->material.begin(), 32, d.pairwiseKey->begin());
          if (d.opMode == kOpModeAccessPoint) d.refused.clear();
          reply = Ok();
        } else if ((len == 5 || len == 13) && index < 4) {
          d.keys[index] = key->material;
          if (key->keyIndex & kTransmitKeyBit) d.txKey = index;
          reply = Ok();
        }
        break;
      }
      case OID_802_11_REMOVE_KEY | kOidSetBit: {
        auto index = DecodeRemoveKeyIndex(data);
        if (index && (*index & 0xFF) < 4) {
          d.keys[*index & 0xFF].clear();
          reply = Ok();
        }
        break;
      }
      case OID_802_11_FRAGMENTATION_THRESHOLD | kOidSetBit:
        if (need(4)) {
          d.frag = u32();
          reply = Ok();
        }
        break;
      case OID_802_11_RTS_THRESHOLD | kOidSetBit:
        if (need(4)) {
          d.rts = u32();
          reply = Ok();
        }
        break;
      case OID_802_11_DESIRED_RATES | kOidSetBit:
        if (need(kDesiredRatesSize)) {
          std::copy_n(data.begin(), 8, d.desiredRates);
          reply = Ok();
        }
        break;
      case OID_802_11_CONFIGURATION | kOidSetBit:
        if (need(kConfigurationSize)) {
          ConfigurationRecord c = DecodeConfiguration(data);
          if (c.dsConfig != 0 && FrequencyToChannel(c.dsConfig) == 0) break;
          d.configuration = c;
          reply = Ok();
        }
        break;
      case OID_802_11_POWER_MODE | kOidSetBit:
        if (need(4) && u32() <= 2) {
          d.powerMode = u32();
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_PREAMBLE:
        if (need(4) && u32() <= 2) {
          d.preamble = u32();
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_RESET_COUNTERS:
        d.stats = StatisticsRecord{};
        d.rcvOk = d.rcvNoBuffer = 0;
        reply = Ok();
        break;
      case VX_OID_802_11_SET_POWER_SAVE_LEVEL:
        if (need(4)) {
          d.powerSaveLevel = u32();
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_HARDWARE_REGISTER:
        if (need(kRegisterAccessSize)) {
          RegisterAccessRecord r = DecodeRegisterAccess(data);
          if (r.kind > kRegisterRf) break;
          d.registers[{r.kind, r.kind == kRegisterRf ? 0 : r.address}] = r.kind == kRegisterBbp ? r.value & 0xFF : r.value;
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_COUNTRY_REGION:
        if (need(4)) {
          uint32_t v = u32();
          uint32_t word = d.countryRegion;
          if (!(word & 0x80)) word = (word & ~0x7Fu) | (v & 0x7F);
          if (!(word & 0x8000)) word = (word & ~0x7F00u) | (v & 0x7F00);
          d.countryRegion = word;
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_RADIO:
        if (need(4)) {
          d.softRadio = u32() != 0;
          if (!d.softRadio) d.scanSnapshot.clear();
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_BBP_TUNING:
        if (need(4)) {
          std::copy_n(data.begin(), 4, d.bbp.begin());
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_PHY_MODE:
        if (need(4) && u32() <= 4 && (d.hw.aBand || (u32() != 2 && u32() != 3))) {
          d.phyMode = u32();
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_AP_CONFIG:
        if (need(kConfigRecordSize)) {
          ConfigWords w = DecodeConfigWords(data);
          std::copy_n(w.begin(), 6, d.apConfig.begin());  // words 6 and 7 are the driver's
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_ACL:
        if (need(kAccessControlSize)) {
          AccessControlRecord a = DecodeAccessControl(data);
          if (a.policy > 2) break;
          d.aclPolicy = a.policy;
          d.acl = a.macs;
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_STA_CONFIG:
        if (need(kConfigRecordSize)) {
          ConfigWords w = DecodeConfigWords(data);
          std::copy_n(w.begin(), 5, d.staConfig.begin());  // words 5 to 7 are the driver's
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_WDS:
        if (need(kWdsSize)) {
          d.wds = DecodeWds(data);
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_RADIUS_DATA:
        if (need(kRadiusSize)) {
          d.radius = DecodeRadius(data);
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_REKEY_INFO:
        if (need(kRekeySize)) {
          d.rekey = DecodeRekey(data);
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_GENERATE_MIC_ERROR:
        if (d.opMode == kOpModeAccessPoint) d.Event(d.hw.mac, kEvCountermeasure);
        reply = Ok();
        break;
      case VX_OID_802_11_SET_TX_POWER:
        if (need(4)) {
          int32_t p = static_cast<int32_t>(u32());
          if (p == -1 || (p >= 0 && p <= 100)) {
            d.txPower = p;
            reply = Ok();
          }
        }
        break;
      case VX_OID_802_11_SET_PROFILE_EXTENSION:
        if (need(kProfileExtensionSize)) {
          d.profileExtension.assign(data.begin(), data.begin() + kProfileExtensionSize);
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_CCX2_CONTROL:
        if (need(4)) {
          d.ccx2 = u32();
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_RF_TUNING:
        if (need(kRfTuningSize)) {
          d.rfTuning.assign(data.begin(), data.begin() + kRfTuningSize);
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_TUNING_ENABLE:
        if (need(4)) {
          d.tuningEnable = u32();
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_OP_MODE:
        if (need(4) && u32() <= kOpModeAccessPoint) {
          uint32_t mode = u32();
          if (mode != d.opMode) {
            d.opMode = mode;
            d.targetKind = Impl::Target::None;
            d.apStarted = false;
            d.clients.clear();
            if (mode == kOpModeAccessPoint) d.Event({}, kEvRestart);
          }
          reply = Ok();
        }
        break;
      case VX_OID_802_11_SET_RATE_SET:
        if (need(kRateSetSize)) {
          RateSetRecord r = DecodeRateSet(data);
          if (data[0] > 12 || data[13] > 12) break;
          d.rateSet = r;
          reply = Ok();
        }
        break;
      default:
        reply = Fail(kErrNotSupported);
        break;
    }
    if (reply.ok) d.Evaluate();
  } else {
    bool station = d.opMode == kOpModeStation;
    const Network* net = d.LinkNet();
    switch (code) {
      case OID_GEN_DRIVER_VERSION:
        reply = Ok(ByteWriter().U16(d.hw.driverVersion).Take());
        break;
      case OID_GEN_MEDIA_CONNECT_STATUS:
        reply = Ok(U32((station ? net != nullptr : d.apStarted) ? kMediaConnected : kMediaDisconnected));
        break;
      case OID_GEN_RCV_OK:
        reply = Ok(U32(d.rcvOk));
        break;
      case OID_GEN_RCV_NO_BUFFER:
        reply = Ok(U32(d.rcvNoBuffer));
        break;
      case OID_802_3_CURRENT_ADDRESS:
        reply = Ok(std::vector<uint8_t>(d.hw.mac.begin(), d.hw.mac.end()));
        break;
      case OID_802_11_BSSID:
        if (!station && d.apStarted)
          reply = Ok(std::vector<uint8_t>(d.hw.mac.begin(), d.hw.mac.end()));
        else if (net)
          reply = Ok(std::vector<uint8_t>(net->bssid.begin(), net->bssid.end()));
        else
          reply = Fail(kErrGenFailure);  // not associated
        break;
      case OID_802_11_SSID:
        reply = Ok(EncodeSsid(SsidRecord::From(station ? (net ? net->ssid : "") : d.apSsid)));
        break;
      case OID_802_11_INFRASTRUCTURE_MODE:
        reply = Ok(U32(d.infraMode));
        break;
      case OID_802_11_AUTHENTICATION_MODE:
        reply = Ok(U32(d.authMode));
        break;
      case OID_802_11_WEP_STATUS:
        reply = Ok(U32(d.encryption));
        break;
      case OID_802_11_NETWORK_TYPES_SUPPORTED: {
        std::vector<uint32_t> types = {kNetTypeDS, kNetTypeOFDM24};
        if (d.hw.aBand) types.push_back(kNetTypeOFDM5);
        reply = Ok(EncodeNetworkTypeList(types));
        break;
      }
      case OID_802_11_RSSI:
        reply = Ok(U32(static_cast<uint32_t>(d.CurrentRssi())));
        break;
      case OID_802_11_FRAGMENTATION_THRESHOLD:
        reply = Ok(U32(d.frag));
        break;
      case OID_802_11_RTS_THRESHOLD:
        reply = Ok(U32(d.rts));
        break;
      case OID_802_11_CONFIGURATION: {
        ConfigurationRecord c = d.configuration;
        if (station && net) {
          c.dsConfig = ChannelToFrequency(net->channel);
          c.beaconPeriod = net->beaconPeriod;
        }
        reply = Ok(EncodeConfiguration(c));
        break;
      }
      case OID_802_11_BSSID_LIST: {
        std::vector<uint8_t> list = BuildBssidList(d.scanSnapshot, d.ticks * 1000000);
        // A list that does not fit the offered buffer is a failed query.
        reply = list.size() <= data.size() ? Ok(std::move(list)) : Fail(kErrInsufficientBuffer);
        break;
      }
      case OID_802_11_STATISTICS:
        reply = data.size() >= static_cast<size_t>(kStatisticsSize) ? Ok(EncodeStatistics(d.stats))
                                                                     : Fail(kErrInsufficientBuffer);
        break;
      case VX_OID_802_11_QUERY_PREAMBLE:
        reply = Ok(U32(d.preamble));
        break;
      case VX_OID_802_11_QUERY_LINK_STATUS: {
        LinkStatusRecord s;
        int32_t rssi = d.CurrentRssi();
        bool up = station ? net != nullptr : !d.clients.empty();
        s.txRate = up ? kRateUnits[TxRateIndex(d.phyMode, rssi)] : 0;
        s.channelQuality = up ? static_cast<uint32_t>(std::clamp(2 * (rssi + 100), 0, 100)) : 0;
        s.txCounter = static_cast<uint32_t>(d.stats.transmittedFragmentCount);
        s.rxCounter = static_cast<uint32_t>(d.stats.receivedFragmentCount);
        reply = Ok(EncodeLinkStatus(s));
        break;
      }
      case VX_OID_802_11_QUERY_HARDWARE_REGISTER: {
        if (data.size() < static_cast<size_t>(kRegisterAccessSize)) {
          reply = Fail(kErrInsufficientBuffer);
          break;
        }
        // The caller names the register in the buffer; the driver fills in the value.
        RegisterAccessRecord r = DecodeRegisterAccess(data);
        if (r.kind > kRegisterRf) {
          reply = Fail(kErrInvalidParameter);
          break;
        }
        auto it = d.registers.find({r.kind, r.kind == kRegisterRf ? 0 : r.address});
        r.value = it == d.registers.end() ? 0 : it->second;
        reply = Ok(EncodeRegisterAccess(r));
        break;
      }
      case VX_OID_802_11_QUERY_COUNTRY_REGION:
        reply = Ok(U32(d.countryRegion));
        break;
      case VX_OID_802_11_QUERY_RADIO:
        reply = Ok(U32(d.softRadio ? 1 : 0));
        break;
      case VX_OID_802_11_QUERY_BBP_TUNING:
        reply = Ok(std::vector<uint8_t>(d.bbp.begin(), d.bbp.end()));
        break;
      case VX_OID_802_11_QUERY_EVENT_TABLE: {
        if (data.size() < static_cast<size_t>(kEventTableSize)) {
          reply = Fail(kErrInsufficientBuffer);
          break;
        }
        std::vector<EventEntry> batch;
        while (!d.pendingEvents.empty() && batch.size() < kMaxEventEntries) {
          batch.push_back(d.pendingEvents.front());
          d.pendingEvents.pop_front();
        }
        reply = Ok(EncodeEventTable(batch));
        break;
      }
      case VX_OID_802_11_QUERY_MAC_TABLE: {
        std::vector<MacTableEntry> entries;
        for (const auto& c : d.clients) {
          const Station* s = d.FindStation(c.mac);
          entries.push_back({c.mac, c.aid, static_cast<uint8_t>(s && s->powerSaving ? 1 : 0)});
        }
        reply = Ok(EncodeMacTable(entries));
        break;
      }
      case VX_OID_802_11_QUERY_PHY_MODE:
        reply = Ok(U32(d.phyMode));
        break;
      case VX_OID_802_11_QUERY_AP_CONFIG:
        reply = Ok(EncodeConfigWords(d.apConfig));
        break;
      case VX_OID_802_11_QUERY_STA_CONFIG: {
        ConfigWords w = d.staConfig;
        w[kStaHwRadio] = d.hw.hardwareRadioOn ? 1 : 0;
        reply = Ok(EncodeConfigWords(w));
        break;
      }
      case VX_OID_802_11_QUERY_RADIUS_DATA:
        reply = Ok(EncodeRadius(d.radius));
        break;
      case VX_OID_802_11_QUERY_REKEY_INFO:
        reply = Ok(EncodeRekey(d.rekey));
        break;
      case VX_OID_802_11_QUERY_TX_POWER:
        reply = Ok(U32(static_cast<uint32_t>(d.txPower)));
        break;
      case VX_OID_802_11_QUERY_EEPROM_VERSION:
        reply = Ok({d.hw.eepromVersion[0], d.hw.eepromVersion[1], 0, 0});
        break;
      case VX_OID_802_11_QUERY_FIRMWARE_VERSION:
        reply = Ok({d.hw.firmwareVersion[0], d.hw.firmwareVersion[1], 0, 0});
        break;
      case VX_OID_802_11_QUERY_NOISE_LEVEL:
        reply = Ok(U32(d.hw.noiseRaw));
        break;
      case VX_OID_802_11_QUERY_TX_RATE:
        reply = Ok(U32(net || !d.clients.empty() ? TxRateIndex(d.phyMode, d.CurrentRssi()) : 0));
        break;
      case VX_OID_802_11_QUERY_LINK_EVENT:
        reply = Ok(U32(d.linkEvent));
        break;
      case VX_OID_802_11_QUERY_AP_IP_ADDRESS:
        reply = Ok(net && !d.link.ownIbss ? std::vector<uint8_t>(net->ipAddress.begin(), net->ipAddress.end())
                       : std::vector<uint8_t>(4, 0));
        break;
      case VX_OID_802_11_QUERY_SECOND_RSSI:
        reply = Ok(U32(static_cast<uint32_t>(d.CurrentRssi() - 4)));
        break;
      case VX_OID_802_11_QUERY_OP_MODE:
        reply = Ok(U32(d.opMode));
        break;
      default:
        reply = Fail(kErrNotSupported);
        break;
    }
    // A buffer shorter than the record fails, as the driver reports the length it needs.
    if (reply.ok && reply.data.size() > data.size()) reply = Fail(kErrInsufficientBuffer);
    if (reply.ok) {
      std::copy(reply.data.begin(), reply.data.end(), out.begin());
      returned = static_cast<uint32_t>(reply.data.size());
      entry.data = reply.data;
    }
  }
  entry.ok = reply.ok;
  d.lastError = reply.ok ? 0 : reply.error;
  d.log.push_back(std::move(entry));
  while (d.log.size() > kMaxLog) d.log.pop_front();
  return reply.ok;
}

// ---- control -----------------------------------------------------------------------------------

void VirtualAdapter::SetWorld(World world) {
  std::lock_guard lock(mutex_);
  impl_->world = std::move(world);
  impl_->refused.clear();
  impl_->Evaluate();
}

World VirtualAdapter::GetWorld() const {
  std::lock_guard lock(mutex_);
  return impl_->world;
}

bool VirtualAdapter::ModifyNetwork(const std::string& ssidOrBssid, const std::function<void(Network&)>& change) {
  std::lock_guard lock(mutex_);
  bool any = false;
  for (Network& n : impl_->world.networks)
    if (Matches(n, ssidOrBssid)) {
      change(n);
      any = true;
    }
  if (any) impl_->Evaluate();
  return any;
}

bool VirtualAdapter::SetNetworkInRange(const std::string& ssidOrBssid, bool inRange) {
  return ModifyNetwork(ssidOrBssid, [&](Network& n) { n.inRange = inRange; });
}

bool VirtualAdapter::SetNetworkRssi(const std::string& ssidOrBssid, int32_t rssi) {
  return ModifyNetwork(ssidOrBssid, [&](Network& n) { n.rssi = rssi; });
}

bool VirtualAdapter::ModifyStation(const MacAddress& mac, const std::function<void(Station&)>& change) {
  std::lock_guard lock(mutex_);
  for (Station& s : impl_->world.stations)
    if (s.mac == mac) {
      change(s);
      impl_->refused.erase(mac);
      impl_->Evaluate();
      return true;
    }
  return false;
}

void VirtualAdapter::Unplug() {
  std::lock_guard lock(mutex_);
  impl_->plugged = false;
  ++impl_->generation;
  impl_->link = Impl::Link{};
  impl_->clients.clear();
}

void VirtualAdapter::Replug() {
  std::lock_guard lock(mutex_);
  if (impl_->plugged) return;
  impl_->plugged = true;
  impl_->Reset();
}

void VirtualAdapter::SetHardwareRadio(bool on) {
  std::lock_guard lock(mutex_);
  impl_->hw.hardwareRadioOn = on;
  impl_->Evaluate();
}

void VirtualAdapter::FailOid(uint32_t code, int times) {
  std::lock_guard lock(mutex_);
  if (times == 0)
    impl_->failures.erase(code);
  else
    impl_->failures[code] = times;
}

void VirtualAdapter::ClearFailures() {
  std::lock_guard lock(mutex_);
  impl_->failures.clear();
}

void VirtualAdapter::SetSupplicantCredentials(const SupplicantCredentials& credentials) {
  std::lock_guard lock(mutex_);
  impl_->creds = credentials;
  impl_->Evaluate();
}

SupplicantCredentials VirtualAdapter::GetSupplicantCredentials() const {
  std::lock_guard lock(mutex_);
  return impl_->creds;
}

uint32_t VirtualAdapter::LastEapStatus() const {
  std::lock_guard lock(mutex_);
  return impl_->eapStatus;
}

void VirtualAdapter::Tick(int seconds) {
  std::lock_guard lock(mutex_);
  for (int i = 0; i < seconds; ++i) {
    ++impl_->ticks;
    if (!impl_->plugged) continue;
    impl_->Evaluate(true);
    impl_->Traffic();
  }
}

void VirtualAdapter::SetClockBase(uint64_t filetime) {
  std::lock_guard lock(mutex_);
  impl_->clockBase = filetime;
}

AdapterState VirtualAdapter::State() const {
  std::lock_guard lock(mutex_);
  const Impl& d = *impl_;
  AdapterState s;
  s.plugged = d.plugged;
  s.opMode = d.opMode;
  s.softwareRadioOn = d.softRadio;
  s.hardwareRadioOn = d.hw.hardwareRadioOn;
  s.associated = d.opMode == kOpModeStation ? d.link.up : d.apStarted;
  s.wepMismatch = d.link.wepMismatch;
  if (d.opMode == kOpModeAccessPoint) {
    s.ssid = d.apSsid;
    s.bssid = d.hw.mac;
    s.channel = FrequencyToChannel(d.configuration.dsConfig);
  } else if (d.link.up) {
    s.ssid = d.link.net.ssid;
    s.bssid = d.link.net.bssid;
    s.channel = d.link.net.channel;
  }
  s.infrastructureMode = d.infraMode;
  s.authMode = d.authMode;
  s.encryption = d.encryption;
  s.linkEvent = d.linkEvent;
  s.phyMode = d.phyMode;
  s.countryRegion = d.countryRegion;
  s.rssi = d.CurrentRssi();
  s.wepKeys = d.keys;
  s.transmitKey = d.txKey;
  s.pairwiseKey = d.pairwiseKey;
  s.txFrames = d.stats.transmittedFragmentCount;
  s.rxFrames = d.stats.receivedFragmentCount;
  std::copy(std::begin(d.desiredRates), std::end(d.desiredRates), s.desiredRates.begin());
  s.apHidden = d.apConfig[kApHideSsid] != 0;
  s.aclPolicy = d.aclPolicy;
  s.acl = d.acl;
  s.wdsPeers = d.wds.peers;
  for (const auto& c : d.clients) s.associatedStations.push_back(c.mac);
  s.ticks = d.ticks;
  return s;
}

std::vector<OidLogEntry> VirtualAdapter::OidLog() const {
  std::lock_guard lock(mutex_);
  return {impl_->log.begin(), impl_->log.end()};
}

void VirtualAdapter::ClearOidLog() {
  std::lock_guard lock(mutex_);
  impl_->log.clear();
}

}  // namespace vx::sim
