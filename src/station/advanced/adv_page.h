// The profile sheets' "Advanced" page: wireless mode, ad hoc wireless mode, B/G protection,
// transmit rate, TX burst, and the switch for the system-wide TCP window size. Its values are
// stored in the profile and, when the sheet is saved, also pushed to the driver and into the
// live values.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "common/ui/dialog_model.h"
#include "driver/oid_channel.h"
#include "driver/records.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "resources/dialogs/adv_page.h"
#include "station/advanced/advanced_rules.h"

namespace vx {

struct StationProfile;

inline constexpr const char* kTcpipKey = "SYSTEM\\CurrentControlSet\\Services\\Tcpip";
inline constexpr const char* kTcpWindowSizeValue = "TcpWindowSize";
inline constexpr uint32_t kTcpWindowSize = 32768;

// The key of the TCP window switch: the 64-bit view for a 32-bit program on a 64-bit system
// from kind 10 on, where the 32-bit view would miss the system's own key.
RegKey TcpipKey(int osKind, bool wow64);

struct AdvPageFacts {
  std::string settingsRoot;
  bool has5GHz = false;
  int osKind = 0;
  bool wow64 = false;
};

struct AdvPageHooks {
  std::function<AdvPageFacts()> facts;
  // The name of the profile the sheet edits (after OK: the name it is stored under).
  std::function<std::string()> profileName;
  // The sheet's network type: 0 ad hoc, 1 infrastructure.
  std::function<int()> networkType;
  std::function<void(uint32_t mode)> setWirelessMode;
  std::function<void(const ConfigWords&)> storeStaConfig;
};

// The page's seven stored values.
struct ProfileAdvancedValues {
  uint32_t wirelessMode = 0;
  uint32_t txBurst = 0;
  uint32_t turboRate = 0;
  uint32_t bgProtection = 0;
  uint32_t shortSlot = 0;
  uint32_t adhocOfdm = 0;
  uint32_t transRate = 0;
  bool operator==(const ProfileAdvancedValues&) const = default;
};

class CAdvPage : public DialogModel {
 public:
  CAdvPage(RegistryPort& reg, OidChannel& channel, const StringTable& strings, AdvPageHooks hooks);

  uint32_t TemplateId() const override { return kIddProfileAdvanced; }
  void OnInit() override;
  void OnSetActive() override;
  void OnCommand(int controlId, UiEvent event) override;

  // The profile sheet's save (its OK): TCP window switch, live values, driver, profile key.
  void Save();
  // The values the controls hold, after the mode rules that Save applies.
  ProfileAdvancedValues Values() const;
  void CopyTo(StationProfile& profile) const;
  void WriteProfileValues(const RegKey& profileKey) const;
  AdvPageHooks& Hooks() { return hooks_; }

 private:
  std::string Text(uint32_t id) const { return strings_.Get(id); }
  void Load();
  void UpdateEnabling();
  void WirelessModeRules();
  void AdhocModeRules();
  void SetRateList(advanced::RateList list);
  bool Adhoc() const { return hooks_.networkType && hooks_.networkType() == 0; }
  bool Checked(int id) const;
  int Selection(int id) const;

  RegistryPort& reg_;
  OidChannel& channel_;
  const StringTable& strings_;
  AdvPageHooks hooks_;
  AdvPageFacts facts_;
  advanced::ModeList modes_;
};

}  // namespace vx
