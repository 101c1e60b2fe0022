#include "station/survey/survey_profile_hooks.h"

namespace vx {

SurveyHooks ProfileEditorSurveyHooks(ProfileEditorContext& editor, CProfilePage* page) {
  SurveyHooks h;
  ProfileEditorContext* ctx = &editor;
  h.runSecurityProfileSheet = [ctx](const StationProfile& p) -> std::optional<StationProfile> {
    CProfileSheet2 sheet(*ctx, p.name, p.ssid, p.networkType, p.authenType, p.encryption, p.channel);
    if (RunProfileEditor(*ctx, sheet) != kIdOk || !sheet.Saved()) return std::nullopt;
    return sheet.Profile();
  };
  h.makeProfileCurrent = [ctx, page](const std::string& name) {
    ctx->store.SelectProfile(name, true);
    if (page) page->FillList();
  };
  h.addProfileRow = [page](const std::string&) {
    if (page) page->FillList();
  };
  h.deleteProfileRow = [page](const std::string&) {
    if (page) page->FillList();
  };
  h.activeProfileName = [ctx, page] {
    if (page && !page->ActiveName().empty()) return page->ActiveName();
    return ctx->store.CurrentProfileName();
  };
  h.sheetHasCurrentProfile = [ctx, page] { return page && !ctx->store.CurrentProfileName().empty(); };
  h.runAddProfileSheet = [ctx, page](const StationProfile& p) {
    if (page) return page->AddProfile(p.ssid, p.encryption, p.authenType, p.networkType, p.channel);
    auto sheet = CProfileSheet::ForAdd(*ctx, p.ssid, p.encryption, p.authenType, p.networkType, p.channel);
    return RunProfileEditor(*ctx, *sheet) == kIdOk && sheet->Saved();
  };
  return h;
}

}  // namespace vx
