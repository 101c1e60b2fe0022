// The two profile editor sheets. `CProfileSheet` adds or edits a profile with its
// configuration, security and advanced pages; `CProfileSheet2` ("Security Profile") asks the
// site survey's connect for the keys of a scanned network, with the security and advanced pages
// only. Both check everything at OK, store the profile and report it to the caller.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ui/sheet_model.h"
#include "driver/oid_channel.h"
#include "driver/records.h"
#include "platform/cert_store.h"
#include "platform/registry.h"
#include "platform/supplicant.h"
#include "platform/ui.h"
#include "station/advanced/adv_page.h"
#include "station/profiles/auth_secu_page.h"
#include "station/profiles/profile_store.h"
#include "station/profiles/sys_config_page.h"

namespace vx {

class ProfileSheetBase;

// What the sheets need to know of the adapter and the system when they open.
struct ProfileEditorFacts {
  std::string settingsRoot;
  int osKind = 0;
  bool wow64 = false;
  bool supplicantAvailable = false;
  bool has5GHz = false;
  uint32_t driverVersion = 0;
  ChannelFacts channels;
  bool screenReader = false;  // the profile list then names the active profile in words
};

// Everything the editor reaches: ports, the store and the shell's shared state.
struct ProfileEditorContext {
  RegistryPort& reg;
  OidChannel& channel;
  ProfileStore& store;
  const StringTable& strings;
  DialogPort& dialogs;
  CertStorePort& certs;
  std::function<ProfileEditorFacts()> facts;
  // SSIDs of the last scan result, in list order.
  std::function<std::vector<std::string>()> scanSsids;
  // The wireless mode and station configuration block the advanced page sends.
  std::function<void(uint32_t mode)> setWirelessMode;
  std::function<void(const ConfigWords&)> storeStaConfig;
  // Activation of the live values (SetOidFromReg).
  std::function<void(bool advanced)> setOidFromReg;
  // A profile has been applied since start (the status icon waits for it).
  std::function<bool()> linkApplied;
  // The editor sheet open now (RunProfileEditor), which the main sheet closes before it goes.
  ProfileSheetBase* openEditor = nullptr;
  // The system's ANSI code page, which the library's credentials are sent in (unset: any text).
  AnsiText toAnsi;
};

// Shared by both sheets: the three page objects, the opening name and the saved state.
class ProfileSheetBase : public SheetModel {
 public:
  void OnInit() override;
  bool OnOk() override { return Ok(); }
  // The sheet's OK; true once the profile is stored (later calls do nothing more).
  virtual bool Ok() = 0;

  bool Saved() const { return saved_; }
  // The profile as stored (valid after a successful OK).
  const StationProfile& Profile() const { return profile_; }
  const std::string& OpeningName() const { return openingName_; }
  bool IsNew() const { return isNew_; }

  CSysConfigPage& ConfigPage() { return config_; }
  CAuthSecuPage& SecurityPage() { return security_; }
  CAdvPage& AdvancedPage() { return advanced_; }

 protected:
  ProfileSheetBase(ProfileEditorContext& ctx, StationProfile initial, std::string openingName, bool isNew);
  std::string Text(uint32_t id) const { return ctx_.strings.Get(id); }
  void Box(uint32_t id, uint32_t flags);
  // The pages' fields as a profile (the advanced values included).
  StationProfile Gather();
  // LEAP needs a name and password; false (with the message) otherwise.
  bool CheckLeap(StationProfile& p);
  void SaveAdvanced() { advanced_.Save(); }
  // WriteProfile, or the "not saved" message and false.
  bool Store(const StationProfile& p);
  // The 802.1X and LEAP credentials reach the library in the system's ANSI code page; false
  // (with the message, the security page in front) when one holds a character it lacks.
  bool CheckAnsi(const StationProfile& p);

  ProfileEditorContext& ctx_;
  ProfileEditorFacts facts_;
  StationProfile initial_;
  StationProfile profile_;
  std::string openingName_;
  std::string storedName_;  // the name the advanced page writes under
  bool isNew_;
  bool saved_ = false;
  CSysConfigPage config_;
  CAuthSecuPage security_;
  CAdvPage advanced_;
};

class CProfileSheet : public ProfileSheetBase {
 public:
  // Add: a new profile with the proposed name and the given values (Add passes an empty SSID,
  // encryption None, Open, infrastructure and channel 1).
  static std::unique_ptr<CProfileSheet> ForAdd(ProfileEditorContext& ctx, const std::string& ssid,
                                               int32_t encryption, int32_t authentication,
                                               int32_t networkType, int32_t channel);
  // Edit: the stored profile of that name.
  static std::unique_ptr<CProfileSheet> ForEdit(ProfileEditorContext& ctx, const std::string& name);

  std::vector<DialogModel*> Pages() override { return {&config_, &security_, &advanced_}; }
  bool Ok() override;

 private:
  using ProfileSheetBase::ProfileSheetBase;
};

// One WEP key as the connect flow hands it to the driver: up to 13 bytes and their count.
struct RawWepKey {
  uint8_t length = 0;
  std::array<uint8_t, 13> bytes{};
  bool operator==(const RawWepKey&) const = default;
};

class CProfileSheet2 : public ProfileSheetBase {
 public:
  // `ssid` names the profile and is its SSID. `sheetWritesAdvanced`: the site survey's mode in
  // which the sheet itself stores and sends the advanced values.
  CProfileSheet2(ProfileEditorContext& ctx, const std::string& ssid, int32_t networkType,
                 int32_t authentication, int32_t encryption, int32_t channel,
                 bool sheetWritesAdvanced = false);
  // A network whose SSID (raw bytes) cannot be a profile name is stored under `name`.
  CProfileSheet2(ProfileEditorContext& ctx, const std::string& name, const std::string& ssid,
                 int32_t networkType, int32_t authentication, int32_t encryption, int32_t channel,
                 bool sheetWritesAdvanced = false);

  std::vector<DialogModel*> Pages() override { return {&security_, &advanced_}; }
  bool Ok() override;

  // After OK: whether static WEP is in use, and the four keys as raw bytes (zeros when empty).
  bool WepInUse() const { return wepInUse_; }
  const std::array<RawWepKey, 4>& RawWepKeys() const { return rawKeys_; }
  bool SheetWritesAdvanced() const { return sheetWritesAdvanced_; }

 private:
  bool sheetWritesAdvanced_;
  bool wepInUse_ = false;
  std::array<RawWepKey, 4> rawKeys_{};
};

// Runs an editor sheet modally through the context's dialog port, named as the open editor
// meanwhile. Returns the dialog's result.
int RunProfileEditor(ProfileEditorContext& ctx, ProfileSheetBase& sheet);
// Asks the open editor sheet, if any, to close as with Cancel (its view carries the request out
// once no dialog of its own is open above it).
void CloseProfileEditor(ProfileEditorContext& ctx);

// The key as raw bytes: ASCII as its characters, hex decoded; at most 13 bytes.
RawWepKey RawKeyOf(int32_t type, const std::string& text);

}  // namespace vx
