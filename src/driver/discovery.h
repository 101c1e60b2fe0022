// Finding the adapter: a present network device of a supported family whose driver answers,
// chosen by the user when there are several.
#pragma once
#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "driver/oid_channel.h"
#include "platform/device_setup.h"

namespace vx {

struct AdapterFamily {
  const char* key;  // also the 9x device name
  const char* driverFile9x;
  const char* driverFileNt50;
  const char* driverFileNt51;
};
extern const std::array<AdapterFamily, 6> kAdapterFamilies;
constexpr int kFamilyKC30 = 4;  // the PCI adapter that can switch to access point mode
constexpr int kFamilyKD40 = 5;

struct HardwareIdEntry {
  const char* prefix;  // compared on its first 21 characters
  int family;
};
enum class IdTable { None, Pci, Usb };
constexpr size_t kHardwareIdLength = 21;

std::span<const HardwareIdEntry> PciIds(Program program);
std::span<const HardwareIdEntry> UsbIds(Program program);

struct AdapterSelection {
  std::string devicePath;
  std::string netCfgInstanceId;
  std::string settingsRoot;  // under HKEY_LOCAL_MACHINE
  int familyIndex = -1;      // the access point utility keeps none
  IdTable table = IdTable::None;
  int entryIndex = -1;
  bool isUsb = false;
  bool adapterChanged = false;
};

// "Select wireless lan card": the devices that answered, the first one selected.
class SelectCardDialog {
 public:
  explicit SelectCardDialog(std::vector<NetDevice> devices);
  std::vector<std::string> Items() const;  // friendly name, else the description
  int Selection() const { return selection_; }
  void OnSelChange(int index);
  // The selected device, whose facts the dialog shows.
  const NetDevice& Current() const { return devices_[static_cast<size_t>(selection_)]; }

 private:
  std::vector<NetDevice> devices_;
  int selection_ = 0;
};

class AdapterDiscovery {
 public:
  // Runs the dialog modally and returns the line chosen with OK.
  using ChooseCard = std::function<int(SelectCardDialog&)>;

  AdapterDiscovery(DeviceSetupPort& setup, DevicePort& device, OidChannel& channel, Program program);

  // True when an adapter is selected and reachable; the channel's device path is set then.
  bool DiscoverAdapter(int osKind, const ChooseCard& choose);
  bool IsAdapterReachable() { return channel_.IsReachable(); }

  const AdapterSelection& Selected() const { return selected_; }
  void ClearAdapterChanged() { selected_.adapterChanged = false; }
  // Before a rediscovery after the device was lost, and when the hidden dialog ends.
  void ClearSettingsRoot() { selected_.settingsRoot.clear(); }
  void ClearInstanceId() { selected_.netCfgInstanceId.clear(); }
  // No adapter was found again.
  void ClearUsb() { selected_.isUsb = false; }

 private:
  struct Match {
    IdTable table = IdTable::None;
    int entry = -1;
    int family = -1;
  };
  Match MatchHardwareId(const std::string& hardwareId) const;
  std::string NinexDeviceName(const Match& m) const;

  DeviceSetupPort& setup_;
  DevicePort& device_;
  OidChannel& channel_;
  Program program_;
  AdapterSelection selected_;
  std::string lastRoot_;
};

}  // namespace vx
