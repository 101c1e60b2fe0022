// The main sheet's "Profile" page: the stored profiles with the active one marked by an icon
// that follows the connection, and Add, Delete, Edit and Activate.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "platform/timer.h"
#include "resources/dialogs/profile_page.h"
#include "station/profiles/profile_sheet.h"

namespace vx {

struct ProfilePageHooks {
  // Activate chose a profile by hand (the one-button flow keeps out of it then).
  std::function<void()> profileChosenByHand;
  // Delete removed the active profile and left the adapter's own settings open, for any network.
  std::function<void()> liveProfileCleared;
};

class CProfilePage : public DialogModel {
 public:
  static constexpr int kStatusTimer = 2;
  static constexpr uint32_t kStatusTimerMs = 2000;
  // Images of the list's image list (icons 174 and 185).
  static constexpr int kImageConnected = 0;
  static constexpr int kImageIdle = 1;
  // The list's width the column factors apply to until the view tells its own, in pixels.
  static constexpr int kListWidth = 470;

  CProfilePage(ProfileEditorContext& ctx, TimerPort& timers, ProfilePageHooks hooks = {});
  ~CProfilePage() override;
  CProfilePage(const CProfilePage&) = delete;
  CProfilePage& operator=(const CProfilePage&) = delete;

  uint32_t TemplateId() const override { return kIddProfilePage; }
  void OnInit() override;
  void OnListWidth(int id, int pixels) override;
  void OnCommand(int controlId, UiEvent event) override;
  void OnTimer(int timerId) override;
  // Column widths from the list's width in pixels: (width / 10) x factor.
  void SetListWidth(int pixels);

  // Rebuilds the list from the store, correcting channels the region no longer allows.
  void FillList();
  // The site survey's "Add to Profile" (and Add with an empty SSID, None, Open, infrastructure,
  // channel 1). True when a profile was added.
  bool AddProfile(const std::string& ssid, int32_t encryption, int32_t authentication, int32_t networkType,
                  int32_t channel);
  void EditSelected();
  void DeleteSelected();
  void ActivateSelected();
  // Timer 2: the active row's image.
  void RefreshStatusIcon();

  const std::string& ActiveName() const { return activeName_; }

 private:
  std::string Text(uint32_t id) const { return ctx_.strings.Get(id); }
  ListRow RowOf(const StationProfile& p) const;
  // The status column, when the list has one: the active row's image in words.
  void ShowStatus();
  ListRow ReadRow(const std::string& name);
  int Selected() const;
  std::string RowName(int row) const;
  int ActiveRow() const;
  void EnableButtons();
  void Box(uint32_t id, uint32_t flags = kMbOk);
  int RunSheet(ProfileSheetBase& sheet);

  ProfileEditorContext& ctx_;
  TimerPort& timers_;
  ProfilePageHooks hooks_;
  TimerId timer_ = 0;
  std::string activeName_;
  int listWidth_ = kListWidth;
};

// Profile list texts, shared with the rows the page builds.
std::string AuthenticationText(const StringTable& strings, int32_t authenType, bool leap, bool use8021x);
std::string EncryptionText(const StringTable& strings, int32_t encryption);

}  // namespace vx
