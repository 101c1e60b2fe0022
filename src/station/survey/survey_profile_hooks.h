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

// The profile list page's hand-made activations hold the one-button offer back.
inline ProfilePageHooks WithManualActivation(ProfilePageHooks hooks, SurveyShared& shared) {
  auto previous = std::move(hooks.profileChosenByHand);
  hooks.profileChosenByHand = [previous, &shared] {
    shared.setup.manualActivation = true;
    if (previous) previous();
  };
  return hooks;
}

}  // namespace vx
