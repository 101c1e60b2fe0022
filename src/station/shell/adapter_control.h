// Adapter-wide matters the hidden main dialog settles for every page: the channels the adapter
// may use, the software radio, and the hand-over of the adapter to the access point utility.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "driver/channels.h"
#include "driver/oid_channel.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "station/shell/zero_config.h"

namespace vx {

struct ChannelPlan {
  uint32_t regionWord = 0;  // fixed bits cleared
  bool bgRegionChangeable = true;
  bool aRegionChangeable = true;
  uint32_t wirelessMode = 0;
  bool has5GHz = false;
  bool ieee80211h = false;
  std::vector<uint32_t> channels;  // at most 38
  uint32_t checkedChannel = 0;
};

struct AdapterControlHooks {
  std::function<void()> exitUtility;          // closes the sheet, removes the tray, ends the dialog
  std::function<void()> reapplyLiveSettings;  // activation of the live values with advanced values
  std::function<void()> clearSurveyState;     // the site survey's two state words
  std::function<void()> queueScan;
  std::function<void()> refreshSurvey;
  std::function<void(uint32_t icon)> showRadioIcon;  // 244 on, 245 off
  // "Use AVConfig as Configuration utility": takes the adapter from the zero-configuration service.
  std::function<void()> takeFromZeroConfig;
};

class AdapterControl {
 public:
  static constexpr uint32_t kRadioOnIcon = 244;
  static constexpr uint32_t kRadioOffIcon = 245;
  static constexpr const char* kModeSwitchCommand =
      "\"ModeSwitch.exe\" ON ClientCfg HotspotCfg \"Veltrix Wireless\" PCI";

  AdapterControl(RegistryPort& reg, OidChannel& channel, ProcessPort& process, ZeroConfig& zeroConfig,
                 AdapterControlHooks hooks = {});

  AdapterControlHooks& Hooks() { return hooks_; }
  ChannelPlan& Plan() { return plan_; }
  const ChannelPlan& Plan() const { return plan_; }

  // What the rest of the shell tells this object before it acts.
  void SetAdapter(std::string settingsRoot, int family) {
    root_ = std::move(settingsRoot);
    family_ = family;
  }
  void SetOsKind(int kind) { osKind_ = kind; }
  void SetAdministrator(bool admin) { admin_ = admin; }
  void SetZeroConfigState(int state) { zeroConfigState_ = state; }

  // The 5 GHz flag from the network types the driver supports.
  void ReadHas5GHz();
  void ReadIeee80211h();
  bool BuildChannelList();
  void FirstRunInit();

  bool RadioOn() const { return radioOn_; }
  void SetRadioOn(bool on) { radioOn_ = on; }
  bool HardwareRadioOn() const { return hardwareRadioOn_; }
  void SetHardwareRadioOn(bool on) { hardwareRadioOn_ = on; }
  void QueryRadio();
  void ToggleRadio();
  void RefreshRadioButton();

  // True when the mode-switch program was started.
  bool SwitchToAccessPoint();
  bool SwitchingToAp() const { return switchingToAp_; }

 private:
  RegKey Root() const { return Hklm(root_); }
  void ReapplyAfterRadioOn();

  RegistryPort& reg_;
  OidChannel& channel_;
  ProcessPort& process_;
  ZeroConfig& zeroConfig_;
  AdapterControlHooks hooks_;
  ChannelPlan plan_;
  std::string root_;
  int family_ = -1;
  int osKind_ = 0;
  bool admin_ = true;
  int zeroConfigState_ = kZeroConfigOff;
  bool radioOn_ = true;
  bool hardwareRadioOn_ = true;
  bool switchingToAp_ = false;
};

}  // namespace vx
