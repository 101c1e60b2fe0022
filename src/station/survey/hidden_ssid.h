// "Hidden SSID" (template 197): asks for the name of a network that hides it.
#pragma once
#include <string>

#include "common/ui/dialog_model.h"
#include "driver/records.h"
#include "platform/ui.h"
#include "resources/dialogs/hidden_ssid_dialog.h"

namespace vx {

// What Connect remembers of a hidden network: the SSID typed for it and the BSSID it was typed
// for. Cleared by every Connect to a visible network.
struct HiddenNetworkRecord {
  SsidRecord ssid;  // all zero when clear
  MacAddress bssid{};
  bool Set() const { return ssid.length != 0; }
  void Clear() { *this = {}; }
};

class CHiddenSsidDialog : public DialogModel {
 public:
  static constexpr size_t kMaxSsid = 32;
  CHiddenSsidDialog(DialogPort& dialogs, const StringTable& strings) : dialogs_(dialogs), strings_(strings) {}
  uint32_t TemplateId() const override { return kIddHiddenSsid; }
  void OnInit() override;
  // An empty name shows "Please enter SSID" and keeps the dialog.
  bool OnOk() override;
  const std::string& Ssid() const { return ssid_; }

 private:
  DialogPort& dialogs_;
  const StringTable& strings_;
  std::string ssid_;
};

}  // namespace vx
