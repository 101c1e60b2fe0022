// A virtual wireless adapter that answers the miniport's OIDs as the real driver would, over a
// simulated radio world. It is a DevicePort: every Open of its device path gives a handle, and
// Control(kIoctlNdisQueryGlobalStats, 4-byte OID code, data) queries or sets (set bit in the code).
//
// Time does not pass by itself: Tick() advances the simulated clock by one second, moves traffic
// counters, ages out idle stations. All methods are thread-safe; handles must not outlive the
// adapter.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/device.h"
#include "sim/adapter/world.h"

namespace vx::sim {

// What makes one adapter: identity, hardware facts and driver versions.
struct AdapterHardware {
  std::string instanceId = "{6A0C2A1E-3B7D-4C55-9E61-0C1E7A300001}";  // NetCfgInstanceId
  std::string driverKey = "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";
  std::string hardwareId = "PCI\\VEN_1A5C&DEV_0C30&SUBSYS_00301A5C&REV_01";  // a KC30 card
  std::string description = "Arventa 802.11g PCI Wireless LAN Card";
  MacAddress mac = {0x00, 0x0C, 0xE7, 0x30, 0x00, 0x01};
  bool usb = false;
  bool aBand = false;                 // 5 GHz support (network type OFDM5, 5 GHz channels)
  uint32_t countryRegion = 0x0000;    // the word as queried; bits 7 and 15 mark fixed codes
  bool hardwareRadioOn = true;        // StaConfig word 5
  uint16_t driverVersion = 0x0501;    // NDIS version, (major << 8) | minor
  std::array<uint8_t, 2> eepromVersion = {1, 2};
  std::array<uint8_t, 2> firmwareVersion = {2, 6};
  uint32_t noiseRaw = 50;             // dBm = raw - 143
  // IP information the system reports for this adapter while it has a link. The gateway is the
  // loopback address, where the simulator's one-button security service listens.
  std::string ipAddress = "192.168.1.100";
  std::string ipMask = "255.255.255.0";
  std::string gateway = "127.0.0.1";
  std::string dhcpServer = "127.0.0.1";

  std::string DevicePath() const { return "\\\\.\\" + instanceId; }
};

// The two adapters of the default set-up, with hardware IDs from the discovery tables: the KC30
// PCI card (2.4 GHz, can run as access point) and a KD40 USB stick with the 5 GHz band.
AdapterHardware PciAdapterHardware();
AdapterHardware UsbAdapterHardware();

// The credentials the supplicant holds for the next association.
struct SupplicantCredentials {
  std::optional<std::string> passphrase;            // WPA-PSK pass phrase
  std::optional<std::array<uint8_t, 32>> psk;       // WPA-PSK 32-byte key
  std::string pskSsid;                              // the network the pass phrase or key is for
  std::optional<EapMethod> method;                  // 802.1X method configured
  std::string identity;
  std::string password;
  bool wpaWith8021x = false;
};

// One request as the adapter saw it. `data` is the set's input, or the query's answer.
struct OidLogEntry {
  uint32_t oid = 0;  // the code as sent (a set carries the set bit)
  bool set = false;
  bool ok = false;
  uint32_t length = 0;  // the buffer length offered
  std::vector<uint8_t> data;
};

// The adapter's state, as a snapshot for tests and the host's control interface.
struct AdapterState {
  bool plugged = true;
  uint32_t opMode = 0;  // 0 station, 1 access point
  bool softwareRadioOn = true;
  bool hardwareRadioOn = true;
  bool associated = false;
  bool wepMismatch = false;  // associated, but frames cannot be decrypted
  std::string ssid;          // of the association, or of the access point
  MacAddress bssid{};
  uint32_t channel = 0;
  uint32_t infrastructureMode = 1;
  uint32_t authMode = 0;
  uint32_t encryption = 1;
  uint32_t linkEvent = 1;
  uint32_t phyMode = 0;
  uint32_t countryRegion = 0;
  int32_t rssi = -100;
  std::array<std::vector<uint8_t>, 4> wepKeys;
  uint32_t transmitKey = 0;
  std::optional<std::array<uint8_t, 32>> pairwiseKey;  // WPA-None key, or the access point's PSK
  uint64_t txFrames = 0;
  uint64_t rxFrames = 0;
  std::array<uint8_t, 8> desiredRates{};
  bool apHidden = false;
  uint32_t aclPolicy = 0;
  std::vector<MacAddress> acl;
  std::vector<MacAddress> wdsPeers;
  std::vector<MacAddress> associatedStations;  // access point mode
  uint64_t ticks = 0;
};

class VirtualAdapter : public DevicePort {
 public:
  explicit VirtualAdapter(AdapterHardware hw = {}, World world = DefaultWorld());
  ~VirtualAdapter() override;
  VirtualAdapter(const VirtualAdapter&) = delete;
  VirtualAdapter& operator=(const VirtualAdapter&) = delete;

  // DevicePort. Opens only the adapter's own path (case-insensitive) while plugged in.
  std::unique_ptr<DeviceHandle> Open(const std::string& path) override;
  uint32_t LastError() const override;

  const AdapterHardware& Hardware() const { return hardware_; }
  std::string DevicePath() const { return hardware_.DevicePath(); }

  // The radio world. Setting it keeps the adapter's configuration and re-evaluates the link.
  void SetWorld(World world);
  World GetWorld() const;
  // Changes one network (by SSID, else by BSSID text) in place; false when none matches.
  bool ModifyNetwork(const std::string& ssidOrBssid, const std::function<void(Network&)>& change);
  bool SetNetworkInRange(const std::string& ssidOrBssid, bool inRange);
  bool SetNetworkRssi(const std::string& ssidOrBssid, int32_t rssi);
  bool ModifyStation(const MacAddress& mac, const std::function<void(Station&)>& change);

  // Fault injection.
  void Unplug();  // Open fails, open handles fail every request, the link drops
  void Replug();  // the driver loads again with its defaults
  void SetHardwareRadio(bool on);
  // The next `times` requests with this exact code fail (the set form carries the set bit);
  // times < 0 fails them until cleared.
  void FailOid(uint32_t code, int times = -1);
  void ClearFailures();

  // What the supplicant holds; re-evaluates a pending WPA association.
  void SetSupplicantCredentials(const SupplicantCredentials& credentials);
  SupplicantCredentials GetSupplicantCredentials() const;
  // Outcome of the last 802.1X authentication, for the supplicant's status: 0 none, 30 success,
  // 62 rejected.
  uint32_t LastEapStatus() const;

  // One simulated second.
  void Tick(int seconds = 1);
  // FILETIME of tick 0 (events carry base + ticks seconds).
  void SetClockBase(uint64_t filetime);

  AdapterState State() const;
  std::vector<OidLogEntry> OidLog() const;  // the last kMaxLog requests, oldest first
  void ClearOidLog();
  static constexpr size_t kMaxLog = 20000;
  // An idle station is aged out of the access point after this many seconds.
  static constexpr int kAgeOutTicks = 3;

 private:
  friend class VirtualAdapterHandle;
  struct Impl;
  bool Control(uint32_t ioctl, std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& returned,
               uint64_t generation);

  const AdapterHardware hardware_;
  mutable std::mutex mutex_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vx::sim
