#include "driver/discovery.h"

#include <cstring>

#include "base/hex.h"
#include "driver/os_version.h"
#include "platform/trace.h"

namespace vx {

const std::array<AdapterFamily, 6> kAdapterFamilies = {{
    {"KA10", "ka109x.sys", "ka10.sys", "ka10.sys"},
    {"KA10U98", "ka10u98.sys", "ka10usb.sys", "ka10usb.sys"},
    {"KB20", "kb209x.sys", "kb20.sys", "kb20.sys"},
    {"KB20U98", "kb20u98.sys", "kb20usb.sys", "kb20usb.sys"},
    {"KC30", "kc309x.sys", "kc30.sys", "kc30.sys"},
    {"KD40", "kd40u98.sys", "kd40.sys", "kd40.sys"},
}};

namespace {

const HardwareIdEntry kPciIds[] = {
    {"PCI\\VEN_1A5C&DEV_0A10", 0},
    {"PCI\\VEN_1A5C&DEV_0C30", kFamilyKC30},
    {"PCI\\VEN_1A5C&DEV_0C31", kFamilyKC30},
    {"PCI\\VEN_1A5C&DEV_0C38", kFamilyKC30},
};

// The first sixteen USB sticks of the older family and the three of the newest are the ones
// whose drivers can run as an access point.
const HardwareIdEntry kUsbIds[] = {
    {"USB\\VID_1A5C&PID_A101", 1}, {"USB\\VID_1A5C&PID_A102", 1}, {"USB\\VID_1A5C&PID_A103", 1},
    {"USB\\VID_1A5C&PID_A104", 1}, {"USB\\VID_1A5C&PID_A105", 1}, {"USB\\VID_1A5C&PID_A106", 1},
    {"USB\\VID_1A5C&PID_A107", 1}, {"USB\\VID_1A5C&PID_A108", 1}, {"USB\\VID_1A5C&PID_A109", 1},
    {"USB\\VID_1A5C&PID_A10A", 1}, {"USB\\VID_1A5C&PID_A10B", 1}, {"USB\\VID_1A5C&PID_A10C", 1},
    {"USB\\VID_1A5C&PID_A10D", 1}, {"USB\\VID_1A5C&PID_A10E", 1}, {"USB\\VID_1A5C&PID_A10F", 1},
    {"USB\\VID_1A5C&PID_A110", 1}, {"USB\\VID_1A5C&PID_D401", kFamilyKD40},
    {"USB\\VID_1A5C&PID_D402", kFamilyKD40}, {"USB\\VID_1A5C&PID_D403", kFamilyKD40},
    // Station utility only:
    {"USB\\VID_2B1E&PID_3301", 1}, {"USB\\VID_2B1E&PID_3302", 1}, {"USB\\VID_2B1E&PID_3303", 1},
    {"USB\\VID_2B1E&PID_3304", 1}, {"USB\\VID_2B1E&PID_3305", 1},
};
constexpr size_t kApUsbCount = 19;
static_assert(std::size(kPciIds) == 4 && std::size(kUsbIds) == 24);

bool PrefixMatches(const std::string& upperId, const char* prefix) {
  return std::strncmp(upperId.c_str(), prefix, kHardwareIdLength) == 0;
}

}  // namespace

std::span<const HardwareIdEntry> PciIds(Program) { return kPciIds; }

std::span<const HardwareIdEntry> UsbIds(Program program) {
  std::span<const HardwareIdEntry> all(kUsbIds);
  return program == Program::AccessPoint ? all.first(kApUsbCount) : all;
}

SelectCardDialog::SelectCardDialog(std::vector<NetDevice> devices) : devices_(std::move(devices)) {}

std::vector<std::string> SelectCardDialog::Items() const {
  std::vector<std::string> items;
  for (const auto& d : devices_) items.push_back(d.friendlyName.empty() ? d.description : d.friendlyName);
  return items;
}

void SelectCardDialog::OnSelChange(int index) {
  if (index >= 0 && static_cast<size_t>(index) < devices_.size()) selection_ = index;
}


AdapterDiscovery::AdapterDiscovery(DeviceSetupPort& setup, DevicePort& device, OidChannel& channel,
                                   Program program)
    : setup_(setup), device_(device), channel_(channel), program_(program) {}

AdapterDiscovery::Match AdapterDiscovery::MatchHardwareId(const std::string& hardwareId) const {
  std::string id = ToUpperAscii(hardwareId);
  auto usb = UsbIds(program_);
  for (size_t i = 0; i < usb.size(); ++i)
    if (PrefixMatches(id, usb[i].prefix)) return {IdTable::Usb, static_cast<int>(i), usb[i].family};
  auto pci = PciIds(program_);
  for (size_t i = 0; i < pci.size(); ++i)
    if (PrefixMatches(id, pci[i].prefix)) return {IdTable::Pci, static_cast<int>(i), pci[i].family};
  return {};
}

std::string AdapterDiscovery::NinexDeviceName(const Match& m) const {
  if (program_ == Program::AccessPoint) return m.table == IdTable::Usb ? "KC30U98" : "KC30";
  return kAdapterFamilies[static_cast<size_t>(m.family)].key;
}

bool AdapterDiscovery::DiscoverAdapter(int osKind, const ChooseCard& choose) {
  std::vector<NetDevice> devices;
  if (!setup_.EnumerateNetDevices(devices)) return false;

  std::vector<NetDevice> reachable;
  for (const auto& d : devices) {
    Match m = MatchHardwareId(d.hardwareId);
    if (m.table == IdTable::None) continue;
    std::string path;
    if (Is9xReachable(osKind)) {
      path = "\\\\.\\" + NinexDeviceName(m);
    } else if (IsNt5OrLater(osKind)) {
      if (!d.netCfgInstanceId) {
        Trace("RegQueryValueEx 'REGSTR_NETCFG_INSTANCEID' failed\n");
        continue;
      }
      path = "\\\\.\\" + *d.netCfgInstanceId;
    } else {
      continue;
    }
    if (!device_.Open(path)) {
      Trace("Create file failed: GetLastError returned %u\n", device_.LastError());
      continue;
    }
    reachable.push_back(d);
  }
  if (reachable.empty()) return false;

  size_t chosen = 0;
  if (reachable.size() > 1) {
    SelectCardDialog dialog(reachable);
    int line = choose ? choose(dialog) : dialog.Selection();
    if (line >= 0 && static_cast<size_t>(line) < reachable.size()) chosen = static_cast<size_t>(line);
  }
  const NetDevice& device = reachable[chosen];

  Match m = MatchHardwareId(device.hardwareId);
  AdapterSelection next = selected_;
  next.isUsb = ToUpperAscii(device.hardwareId).rfind("USB", 0) == 0;
  next.table = m.table;
  next.entryIndex = m.entry;
  next.familyIndex = program_ == Program::AccessPoint ? -1 : m.family;

  if (IsNt5OrLater(osKind)) {
    if (!device.netCfgInstanceId) return false;
    next.netCfgInstanceId = *device.netCfgInstanceId;
    next.devicePath = "\\\\.\\" + next.netCfgInstanceId;
  } else {
    next.devicePath = "\\\\.\\" + NinexDeviceName(m);
  }

  const char* classRoot =
      IsNt5OrLater(osKind) ? "System\\CurrentControlSet\\Control\\Class" : "System\\CurrentControlSet\\Services\\Class";
  std::string root = std::string(classRoot) + "\\" + device.driverKey;
  // Compared with the last adapter selected, not the current root: the main loop empties the
  // root before it rediscovers, and a change must still be seen then.
  if (!lastRoot_.empty() && !EqualsIgnoreCase(lastRoot_, root)) next.adapterChanged = true;
  lastRoot_ = root;
  next.settingsRoot = root;

  selected_ = std::move(next);
  channel_.SetDevicePath(selected_.devicePath);
  return true;
}

}  // namespace vx
