// The profile sheets' "Authentication and Security" page: authentication mode and cipher, the
// pre-shared key, the four WEP keys with their entry form and size, LEAP, and the way to the
// 802.1X settings sheet. It checks what the sheet is about to store.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "driver/oid_codes.h"
#include "platform/cert_store.h"
#include "platform/ui.h"
#include "resources/dialogs/auth_secu_page.h"
#include "station/dot1x/dot1x_settings.h"

namespace vx {

struct StationProfile;

// "Encryption" values.
enum : int32_t { kEncWep = 0, kEncNone = 1, kEncTkip = 4, kEncAes = 6 };

// The systems that know WPA2 (kinds 7, 8, 10 and 11).
bool OsOffersWpa2(int osKind);
// The authentication combo position of a stored mode on this system (ad hoc: 5 is position 2).
int AuthIndexOfMode(int32_t mode, bool leap, int osKind);
// A mode made to fit the network type: ad hoc WPA-PSK is WPA-None and ad hoc WPA is Open;
// infrastructure WPA-None is WPA-PSK.
int32_t ModeForNetworkType(int32_t mode, int networkType);

struct AuthSecuHooks {
  std::function<int()> networkType;  // 0 ad hoc, 1 infrastructure
  std::function<bool()> supplicantAvailable;
  std::function<int()> osKind;
  // The owning sheet's OK (true once saved).
  std::function<bool()> sheetOk;
};

class CAuthSecuPage : public DialogModel {
 public:
  static constexpr size_t kMaxPsk = 64;
  static constexpr size_t kMaxLeapText = 256;

  CAuthSecuPage(const StringTable& strings, DialogPort& dialogs, CertStorePort& certs, AuthSecuHooks hooks);

  uint32_t TemplateId() const override { return kIddAuthSecu; }
  void OnInit() override;
  void OnSetActive() override;
  bool OnKillActive() override;
  void OnCommand(int controlId, UiEvent event) override;
  bool OnOk() override;

  // The page's fields from a profile (or, for a new one, from the given mode and cipher).
  void Load(const StationProfile& profile);
  // The fields into the profile, with the derivations that depend on the network type.
  void CopyTo(StationProfile& profile) const;
  // The 802.1X check, with its message; true when complete.
  bool Validate8021X();
  // The security check at the sheet's OK; `connectSheet` adds the key size rule of the connect
  // sheet. Shows the first failure and returns false.
  bool ValidateSecurity(bool connectSheet);

  // State the sheets and tests read.
  int32_t AuthMode() const { return ModeForNetworkType(authMode_, NetworkType()); }
  bool Leap() const { return leap_ && NetworkType() == 1; }
  bool Use8021x() const { return use8021x_; }
  int EncryptionIndex() const { return encIndex_; }
  const Dot1xSettings& Dot1x() const { return dot1x_; }
  const std::string& LeapUserName() const { return leapUser_; }
  const std::string& LeapPassword() const { return leapPassword_; }
  void SetLeapUserName(std::string name) { leapUser_ = std::move(name); }
  // The text of key n as its type shows it.
  std::string KeyText(int n) const { return keyType_[n] == 1 ? ascii_[n] : hex_[n]; }
  int32_t KeyType(int n) const { return keyType_[n]; }
  int DefaultKey() const { return defaultKey_; }
  bool LeapTkipOffered() const { return leapTkip_; }
  // WEP is in use for the keys: Shared, or Open with WEP, unless 802.1X other than MD5 runs.
  bool WepKeysInUse() const;
  // Brings the fields up to date with the controls (after the user typed).
  void Pull();

 private:
  std::string Text(uint32_t id) const { return strings_.Get(id); }
  int NetworkType() const { return hooks_.networkType ? hooks_.networkType() : 1; }
  bool Supplicant() const { return hooks_.supplicantAvailable && hooks_.supplicantAvailable(); }
  int Os() const { return hooks_.osKind ? hooks_.osKind() : 0; }
  bool Infra() const { return NetworkType() == 1; }
  int AuthIndex() const;
  void FitToNetworkType();
  std::vector<uint32_t> AuthItems() const;
  std::vector<uint32_t> EncItems() const;
  void SetAuthFromIndex(int index);
  void Push();
  void ApplyVisibility();
  void ApplyEncryptionRules();
  void CutKey(int n);
  void Open8021xSheet();
  bool WpaFamily() const;  // WPA, WPA2 in infrastructure
  bool OpenOrShared() const;
  bool CheckWepKey(int n, bool isDefault, bool connectSheet);
  void Box(uint32_t id, uint32_t flags);

  const StringTable& strings_;
  DialogPort& dialogs_;
  CertStorePort& certs_;
  AuthSecuHooks hooks_;
  bool initialised_ = false;
  int pushedNetworkType_ = -1;

  int32_t authMode_ = kAuthOpen;
  bool leap_ = false;
  int encIndex_ = 0;
  bool use8021x_ = false;
  Dot1xSettings dot1x_;
  int defaultKey_ = 0;
  std::array<std::string, 4> hex_;
  std::array<std::string, 4> ascii_;
  std::array<int32_t, 4> keyType_{};
  std::array<int, 4> keySize_{};  // 0 64 bits, 1 128 bits
  std::string psk_;
  std::string leapUser_;
  std::string leapPassword_;
  int leapCipher_ = 0;  // 0 WEP, 1 TKIP
  bool leapTkip_ = false;  // TKIP for LEAP is not offered
};

}  // namespace vx
