// The add/edit sheet's "Configuration" page: profile name, SSID (with the last scan's names),
// power mode, network type, preamble, transmit power, RTS and fragmentation thresholds and the
// ad hoc channel.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "platform/ui.h"
#include "resources/dialogs/sys_config_page.h"

namespace vx {

struct StationProfile;

// What the channel lists are built from: the adapter family and the current region codes.
struct ChannelFacts {
  int family = -1;
  uint32_t bgCode = 0;
  uint32_t aCode = 0;
  uint32_t wirelessMode = 0;  // the current wireless mode
};

// The allowed channels for a network type: infrastructure follows the wireless mode, ad hoc
// its ad hoc wireless mode (-1 none, 3 A only, 4 A/B/G).
std::vector<uint32_t> ProfileChannels(const ChannelFacts& facts, int networkType, int adhocMode);

struct SysConfigHooks {
  std::function<ChannelFacts()> channels;
  // SSIDs of the last scan result in list order (empty for a hidden network).
  std::function<std::vector<std::string>()> scanSsids;
  std::function<uint32_t()> driverVersion;
  std::function<bool()> sheetOk;
};

class CSysConfigPage : public DialogModel {
 public:
  static constexpr int kRtsMax = 2347;
  static constexpr int kFragMin = 256;
  static constexpr int kFragMax = 2346;

  CSysConfigPage(const StringTable& strings, SysConfigHooks hooks);

  uint32_t TemplateId() const override { return kIddSysConfig; }
  void OnInit() override;
  bool OnKillActive() override;
  void OnCommand(int controlId, UiEvent event) override;
  bool OnOk() override;

  void Load(const StationProfile& profile);
  // The fields into the profile; the channel from the combo (infrastructure: its first entry).
  void CopyTo(StationProfile& profile);
  void Pull();

  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  // The SSID's bytes (the edit shows them as network names are shown).
  const std::string& Ssid() const { return ssid_; }
  int NetworkType() const { return networkType_; }
  int Channel() const;

 private:
  std::string Text(uint32_t id) const { return strings_.Get(id); }
  void Push();
  void ApplyNetworkType();
  void FillChannels();
  std::string SsidOf(const std::string& text) const;

  const StringTable& strings_;
  SysConfigHooks hooks_;
  bool initialised_ = false;

  std::string name_;
  std::string ssid_;
  bool profileHasSsid_ = false;
  std::vector<std::string> itemSsids_;  // the bytes of each entry of the SSID list
  int psMode_ = 0;
  bool acPowerCam_ = false;
  int networkType_ = 1;
  int preambleIndex_ = 0;  // 0 Auto (stored 2), 1 Long (stored 0)
  int txPower_ = 0;
  bool useRts_ = false;
  int rts_ = kRtsMax;
  bool useFrag_ = false;
  int frag_ = kFragMax;
  int channel_ = 1;
  int adhocMode_ = -1;
  std::vector<uint32_t> channels_;
};

}  // namespace vx
