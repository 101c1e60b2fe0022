// "Authentication & Security" of the access point: a modal dialog over a copy of the
// configuration page's security values, copied back only on OK.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "platform/ui.h"

namespace vx {

struct ApSecurityValues {
  int32_t authenType = 0;
  int32_t encryption = 1;
  std::string wpaPsk;
  int32_t wepKeyUse = 1;
  std::array<std::string, 4> wepKey;      // as stored: hexadecimal digits
  std::array<int32_t, 4> wepKeyType{};   // 0 hexadecimal, 1 ASCII
  int32_t radiusIp = 0;                   // the address value, first octet most significant
  int32_t radiusPort = 0;
  std::string radiusKey;
  int32_t rekeyMethod = 0;  // 0 time (10 s units), 1 traffic (thousands of packets)
  int32_t rekeyInterval = 60;
  bool operator==(const ApSecurityValues&) const = default;
};

class ApSecurityDialog : public DialogModel {
 public:
  ApSecurityDialog(ApSecurityValues values, bool usb, DialogPort& dialogs, const StringTable& strings);
  uint32_t TemplateId() const override;
  void OnInit() override;
  void OnCommand(int id, UiEvent event) override;
  bool OnOk() override;

  // The values as stored after OK.
  const ApSecurityValues& Values() const { return values_; }
  int AuthPosition() const;

 private:
  enum AuthItem { kOpen = 0, kShared = 1, kWpaPsk = 2 };
  void FillEncryption(bool keepStored);
  void ApplyEnabling();
  void ShowKey(int slot);
  void LimitKey(int slot, bool cut);
  size_t KeyLimit(int slot) const;
  bool HexType(int slot) const;
  const std::string& KeyText(int slot);
  bool WepInUse();

  ApSecurityValues values_;
  bool usb_;
  DialogPort& dialogs_;
  const StringTable& strings_;
  std::vector<int32_t> encryptionOfItem_;
};

}  // namespace vx
