// "Peap Setting - One Time Password": the tunnelled name and a password typed for one activation.
#pragma once
#include <string>

#include "common/ui/dialog_model.h"
#include "platform/ui.h"
#include "resources/dialogs/one_time_password_dialog.h"
#include "resources/string_ids.h"

namespace vx {

class OneTimePasswordDialog : public DialogModel {
 public:
  static constexpr uint32_t kTemplate = kIddOneTimePassword;
  static constexpr int kIdentityEdit = kIdcOtpIdentity;
  static constexpr int kPasswordEdit = kIdcOtpPassword;

  OneTimePasswordDialog(std::string identity, DialogPort& dialogs, const StringTable& strings)
      : identity_(std::move(identity)), dialogs_(dialogs), strings_(strings) {}
  uint32_t TemplateId() const override { return kTemplate; }
  void OnInit() override {
    Control(kIdentityEdit).text = identity_;
    Control(kPasswordEdit).text.clear();
  }
  // Both texts are needed; the dialog stays open on the empty one.
  bool OnOk() override {
    if (Identity().empty()) return Refuse(IDS_MUST_INPUT_IDENTITY, kIdentityEdit);
    if (Password().empty()) return Refuse(IDS_MUST_INPUT_PASSWORD, kPasswordEdit);
    return true;
  }
  std::string Identity() { return Control(kIdentityEdit).text; }
  std::string Password() { return Control(kPasswordEdit).text; }

 private:
  bool Refuse(uint32_t message, int field) {
    dialogs_.MessageBox(strings_.Get(message), strings_.Get(IDS_OTP_TITLE), kMbOk | kMbIconWarning);
    RequestFocus(field);
    return false;
  }
  std::string identity_;
  DialogPort& dialogs_;
  const StringTable& strings_;
};

}  // namespace vx
