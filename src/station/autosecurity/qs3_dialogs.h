// The one-button set-up's two dialogs: the key dialog, where the user defines the pass phrase,
// and the modeless, always-on-top wait window that shows progress and the outcome.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "common/ui/dialog_model.h"
#include "platform/ui.h"
#include "resources/dialogs/qs3_key_dialog.h"
#include "resources/dialogs/qs3_wait_dialog.h"

namespace vx {

inline constexpr size_t kMinPassPhrase = 8;
inline constexpr size_t kMaxPassPhrase = 63;

// "QuickSecure 3: Define Security Key".
class CQs3KeyDialog : public DialogModel {
 public:
  // An instruction of more characters than this makes the dialog kEnlargement pixels taller.
  static constexpr size_t kLongInstruction = 190;
  static constexpr int kEnlargement = 90;

  CQs3KeyDialog(DialogPort& dialogs, const StringTable& strings, std::string apText);
  uint32_t TemplateId() const override { return kIddQs3Key; }
  void OnInit() override;
  // 8 to 63 characters, else the message and the whole text selected for retyping.
  bool OnOk() override;

  const std::string& PassPhrase() const { return passPhrase_; }
  bool Enlarged() const { return enlarged_; }

 private:
  DialogPort& dialogs_;
  const StringTable& strings_;
  std::string apText_;
  std::string passPhrase_;
  bool enlarged_ = false;
};

// The wait window: created hidden, shown with a text, its OK button shown only with the outcome.
class CQs3WaitWindow : public DialogModel {
 public:
  explicit CQs3WaitWindow(const StringTable& strings) : strings_(strings) {}
  uint32_t TemplateId() const override { return kIddQs3Wait; }
  void OnInit() override;
  // OK takes the window off the screen.
  bool OnOk() override;
  void OnCancel() override { Hide(); }

  void ShowProgress();  // "Please wait...", no OK button
  void ShowFailure();   // the failure text with its OK button
  void Hide();
  bool Shown() const { return shown_; }
  // Called whenever the window is to appear or go; the view shows or hides the real window.
  std::function<void(bool shown)> onShownChanged;

 private:
  void SetShown(bool shown);
  const StringTable& strings_;
  bool shown_ = false;
};

}  // namespace vx
