// "Peap Setting - One Time Password": the tunnelled name and a password typed for one activation.
#pragma once
#include <string>

#include "common/ui/dialog_model.h"
#include "resources/dialogs/one_time_password_dialog.h"

namespace vx {

class OneTimePasswordDialog : public DialogModel {
 public:
  static constexpr uint32_t kTemplate = kIddOneTimePassword;
  static constexpr int kIdentityEdit = kIdcOtpIdentity;
  static constexpr int kPasswordEdit = kIdcOtpPassword;

  explicit OneTimePasswordDialog(std::string identity) : identity_(std::move(identity)) {}
  uint32_t TemplateId() const override { return kTemplate; }
  void OnInit() override {
    Control(kIdentityEdit).text = identity_;
    Control(kPasswordEdit).text.clear();
  }
  std::string Identity() { return Control(kIdentityEdit).text; }
  std::string Password() { return Control(kPasswordEdit).text; }

 private:
  std::string identity_;
};

}  // namespace vx
