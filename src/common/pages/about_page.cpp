#include "common/pages/about_page.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "driver/discovery.h"
#include "driver/oid_codes.h"
#include "driver/records.h"
#include "resources/string_ids.h"

namespace vx {

std::optional<std::string> DriverFilePath(const AboutFacts& f, const std::string& sys) {
  if (f.program == Program::AccessPoint) {
    if (f.osKind > 6) return sys + (f.usb ? "\\drivers\\kc30usb.sys" : "\\drivers\\kc30.sys");
    if (f.osKind >= 3) return sys + (f.usb ? "\\kc30usb.sys" : "\\kc309x.sys");
    return std::nullopt;
  }
  if (f.familyIndex < 0 || f.familyIndex >= static_cast<int>(kAdapterFamilies.size())) return std::nullopt;
  const AdapterFamily& family = kAdapterFamilies[static_cast<size_t>(f.familyIndex)];
  if (f.osKind >= 8) return sys + "\\drivers\\" + family.driverFileNt51;
  if (f.osKind == 7) return sys + "\\drivers\\" + family.driverFileNt50;
  if (f.osKind >= 3) return sys + "\\" + family.driverFile9x;
  return std::nullopt;
}

std::string UtilityVersionText(const FileVersion& v) {
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d.%02d\n", v.major, v.minor, v.build, v.revision, 4);
  return text;
}

std::string DriverVersionText(const FileVersion& v) {
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d\n", v.major, v.minor, v.build, v.revision);
  return text;
}

std::string DateText(const FileDate& d) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", d.month, d.day, d.year);
  return text;
}

CAboutPage::CAboutPage(AboutPorts ports, AboutFacts facts) : ports_(ports), facts_(std::move(facts)) {}

CAboutPage::~CAboutPage() { KillTimer(); }

void CAboutPage::KillTimer() {
  if (timer_) ports_.timers.Kill(timer_);
  timer_ = 0;
}

void CAboutPage::ReadVersions() {
  std::string program = ports_.files.ProgramFile();
  if (auto v = ports_.files.FixedVersion(program)) Control(about::kUtilityVersion).text = UtilityVersionText(*v);
  if (auto legal = ports_.files.VersionString(program, "LegalCopyright")) Control(about::kLegal).text = *legal;
  if (auto d = ports_.files.LastWriteDate(program)) Control(about::kUtilityDate).text = DateText(*d);
}

void CAboutPage::ReadDriver() {
  auto path = DriverFilePath(facts_, ports_.files.SystemDirectory());
  if (!path) return;
  // A 32-bit program on a 64-bit system would otherwise read the 32-bit system folder.
  const bool redirectOff = facts_.osKind >= 10 && facts_.wow64;
  if (redirectOff) ports_.system.EnableWow64FsRedirection(false);
  if (auto v = ports_.files.FixedVersion(*path)) {
    Control(about::kDriverVersion).text = DriverVersionText(*v);
    if (auto d = ports_.files.LastWriteDate(*path)) Control(about::kDriverDate).text = DateText(*d);
  }
  if (redirectOff) ports_.system.EnableWow64FsRedirection(true);
}

void CAboutPage::ShowVersionLine(uint32_t oid, int label, int value) {
  std::array<uint8_t, 4> version{};
  bool ok = ports_.channel.Query(oid, version);
  Control(label).visible = ok;
  Control(value).visible = ok;
  Control(value).text = ok ? FormatVersion(version) + "\n" : std::string();
}

void CAboutPage::OnInit() {
  ReadVersions();
  ReadDriver();
  ShowVersionLine(VX_OID_802_11_QUERY_EEPROM_VERSION, about::kEepromLabel, about::kEeprom);

  MacAddress mac{};
  mac_.reset();
  if (ports_.channel.Query(OID_802_3_CURRENT_ADDRESS, mac)) mac_ = mac;
  Control(about::kMac).text = mac_ ? FormatMac(*mac_) : std::string();

  const std::pair<int, uint32_t> labels[] = {
      {about::kUtilityVersionLabel, IDS_ABOUT_UTILITY_VERSION}, {about::kUtilityDateLabel, IDS_ABOUT_UTILITY_DATE},
      {about::kDriverVersionLabel, IDS_ABOUT_DRIVER_VERSION},   {about::kDriverDateLabel, IDS_ABOUT_DRIVER_DATE},
      {about::kEepromLabel, IDS_ABOUT_EEPROM_VERSION},          {about::kFirmwareLabel, IDS_ABOUT_FIRMWARE_VERSION},
      {about::kMacLabel, IDS_ABOUT_MAC_ADDRESS},                {about::kIpLabel, IDS_ABOUT_IP_ADDRESS},
      {about::kMaskLabel, IDS_ABOUT_SUBNET_MASK},               {about::kGatewayLabel, IDS_ABOUT_DEFAULT_GATEWAY},
      {about::kWebLink, IDS_ABOUT_WEB_LINK},
  };
  for (const auto& [id, text] : labels) Control(id).text = ports_.strings.Get(text);

  if (facts_.familyIndex == kFamilyKC30 || facts_.familyIndex == kFamilyKD40) {
    ShowVersionLine(VX_OID_802_11_QUERY_FIRMWARE_VERSION, about::kFirmwareLabel, about::kFirmware);
  } else {
    Control(about::kFirmwareLabel).visible = false;
    Control(about::kFirmware).visible = false;
  }
  RefreshNetwork();
}

void CAboutPage::RefreshNetwork() {
  for (int id : {about::kIp, about::kMask, about::kGateway}) Control(id).text.clear();
  if (!mac_) return;
  std::vector<AdapterIpInfo> adapters;
  if (!ports_.ipInfo.GetAdapters(adapters)) return;
  for (const AdapterIpInfo& a : adapters) {
    bool match = a.hardwareAddress.empty()
                     ? !facts_.instanceId.empty() && EqualsIgnoreCase(a.adapterName, facts_.instanceId)
                     : a.hardwareAddress.size() == 6 &&
                           std::equal(a.hardwareAddress.begin(), a.hardwareAddress.end(), mac_->begin());
    if (!match) continue;
    Control(about::kIp).text = a.address;
    Control(about::kMask).text = a.mask;
    Control(about::kGateway).text = a.gateway;
  }
}

void CAboutPage::OnSetActive() {
  RefreshNetwork();
  KillTimer();
  timer_ = ports_.timers.Start(kNetworkTimerMs, [this](TimerId) { RefreshNetwork(); });
}

bool CAboutPage::OnKillActive() {
  KillTimer();
  return true;
}

void CAboutPage::OnTimer(int timerId) {
  if (timerId == kPageTimer) RefreshNetwork();
}

void CAboutPage::OnCommand(int controlId, UiEvent event) {
  if (controlId == about::kWebLink && event == UiEvent::Clicked)
    ports_.process.OpenUrl(ports_.strings.Get(IDS_ABOUT_WEB_ADDRESS));
}

}  // namespace vx
