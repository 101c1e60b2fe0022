// The site survey's hooks over the profile editor: the "Security Profile" sheet for Connect, the
// profile list page's add sheet for Add to Profile, and the list kept in step with the store.
#pragma once
#include "station/profiles/profile_page.h"
#include "station/profiles/profile_sheet.h"
#include "station/survey/survey_page.h"

namespace vx {

// `profilePage` may be null (the page is absent while the zero-configuration service runs the
// adapter); the store then does what the page would.
SurveyHooks ProfileEditorSurveyHooks(ProfileEditorContext& editor, CProfilePage* profilePage);

// The profile list page's hand-made activations hold the one-button offer back; they and a
// deleted active profile end the site survey's keeping of the network of its last Connect.
inline ProfilePageHooks WithManualActivation(ProfilePageHooks hooks, SurveyShared& shared) {
  auto chosen = std::move(hooks.profileChosenByHand);
  hooks.profileChosenByHand = [chosen, &shared] {
    shared.setup.manualActivation = true;
    shared.liveProfileChanged = true;
    if (chosen) chosen();
  };
  auto cleared = std::move(hooks.liveProfileCleared);
  hooks.liveProfileCleared = [cleared, &shared] {
    shared.liveProfileChanged = true;
    if (cleared) cleared();
  };
  return hooks;
}

}  // namespace vx
