// "About", shared by both programs: versions and dates of the utility and of the adapter's
// driver, the adapter's EEPROM and firmware versions, its MAC address and the IPv4
// configuration of its network interface, refreshed every 5 s while shown.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "base/hex.h"
#include "common/ui/dialog_model.h"
#include "driver/oid_channel.h"
#include "platform/file_info.h"
#include "platform/ip_info.h"
#include "platform/process.h"
#include "platform/system.h"
#include "platform/timer.h"
#include "platform/ui.h"
#include "resources/dialogs/about_page.h"

namespace vx {

// What the page needs to know about the adapter and the system.
struct AboutFacts {
  Program program = Program::Station;
  int osKind = 0;
  bool wow64 = false;
  int familyIndex = -1;      // the station's adapter family; -1 when none is known
  bool usb = false;          // the access point utility picks its driver file by it
  std::string instanceId;    // NetCfgInstanceId, for IP sources that give no hardware address
};

// The driver file by program and operating-system kind; nullopt when there is none to read.
std::optional<std::string> DriverFilePath(const AboutFacts& facts, const std::string& systemDirectory);
// "%d.%d.%d.%d.%02d\n" with 4 as the fifth number.
std::string UtilityVersionText(const FileVersion& v);
// "%d.%d.%d.%d\n"
std::string DriverVersionText(const FileVersion& v);
// "%m-%d-%Y"
std::string DateText(const FileDate& d);

struct AboutPorts {
  OidChannel& channel;
  TimerPort& timers;
  FileInfoPort& files;
  SystemPort& system;
  IpInfoPort& ipInfo;
  ProcessPort& process;
  const StringTable& strings;
};

class CAboutPage : public DialogModel {
 public:
  static constexpr uint32_t kNetworkTimerMs = 5000;
  static constexpr int kPageTimer = 0;

  CAboutPage(AboutPorts ports, AboutFacts facts);
  ~CAboutPage() override;
  CAboutPage(const CAboutPage&) = delete;
  CAboutPage& operator=(const CAboutPage&) = delete;

  uint32_t TemplateId() const override { return kIddAbout; }
  void OnInit() override;
  void OnSetActive() override;
  bool OnKillActive() override;
  void OnTimer(int timerId) override;
  void OnCommand(int controlId, UiEvent event) override;

  // Clears the three IP texts and fills them from the adapter whose hardware address is the
  // MAC address shown.
  void RefreshNetwork();
  bool TimerRunning() const { return timer_ != 0; }
  const std::optional<MacAddress>& Mac() const { return mac_; }

 private:
  void ReadVersions();
  void ReadDriver();
  void ShowVersionLine(uint32_t oid, int label, int value);
  void KillTimer();

  AboutPorts ports_;
  AboutFacts facts_;
  std::optional<MacAddress> mac_;
  TimerId timer_ = 0;
};

}  // namespace vx
