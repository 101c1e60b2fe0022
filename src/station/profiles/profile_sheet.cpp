#include "station/profiles/profile_sheet.h"

#include "base/hex.h"
#include "resources/string_ids.h"
#include "station/profiles/wep_key_text.h"

namespace vx {

ProfileSheetBase::ProfileSheetBase(ProfileEditorContext& ctx, StationProfile initial, std::string openingName,
                                   bool isNew)
    : ctx_(ctx),
      facts_(ctx.facts ? ctx.facts() : ProfileEditorFacts{}),
      initial_(std::move(initial)),
      openingName_(std::move(openingName)),
      isNew_(isNew),
      config_(ctx.strings, SysConfigHooks{[this] { return facts_.channels; }, ctx.scanSsids,
                                          [this] { return facts_.driverVersion; }, [this] { return Ok(); }}),
      security_(ctx.strings, ctx.dialogs, ctx.certs,
                AuthSecuHooks{[this] { return config_.NetworkType(); },
                              [this] { return facts_.supplicantAvailable; }, [this] { return facts_.osKind; },
                              [this] { return Ok(); }}),
      advanced_(ctx.reg, ctx.channel, ctx.strings,
                AdvPageHooks{
                    [this] {
                      return AdvPageFacts{facts_.settingsRoot, facts_.has5GHz, facts_.osKind, facts_.wow64};
                    },
                    [this] { return storedName_.empty() ? openingName_ : storedName_; },
                    [this] { return config_.NetworkType(); }, ctx.setWirelessMode, ctx.storeStaConfig}) {
  advanced_.caption = ctx.strings.Get(IDS_PAGE_ADVANCED);
}

void ProfileSheetBase::OnInit() {
  hideHelp = false;
  saved_ = false;
  config_.Load(initial_);
  security_.Load(initial_);
  // The pages' controls exist from here on, so OK reads the same values whichever pages the user
  // opened.
  config_.OnInit();
  security_.OnInit();
  advanced_.OnInit();
}

void ProfileSheetBase::Box(uint32_t id, uint32_t flags) {
  ctx_.dialogs.MessageBox(Text(id), Text(IDS_APP_TITLE), flags);
}

StationProfile ProfileSheetBase::Gather() {
  StationProfile p = initial_;
  config_.CopyTo(p);
  security_.CopyTo(p);
  advanced_.CopyTo(p);
  return p;
}

bool ProfileSheetBase::CheckLeap(StationProfile& p) {
  if (!p.leapEnabled) return true;
  p.leapUserName = TrimProfileName(p.leapUserName);
  security_.SetLeapUserName(p.leapUserName);
  if (p.leapUserName.empty() || p.leapPassword.empty()) {
    Box(IDS_LEAP_ID_PASSWORD_REQUIRED, kMbIconError);
    RequestFrontPage(&security_);
    return false;
  }
  return true;
}

bool ProfileSheetBase::Store(const StationProfile& p) {
  if (!CheckAnsi(p)) return false;
  if (ctx_.store.WriteProfile(p)) return true;
  // Nothing was stored; the sheet stays open with the data as entered.
  Box(IDS_PROFILE_NOT_SAVED, kMbIconError);
  return false;
}

bool ProfileSheetBase::CheckAnsi(const StationProfile& p) {
  if (!ctx_.toAnsi) return true;
  for (const std::string* text : {&p.leapUserName, &p.leapPassword, &p.id, &p.password, &p.tunnelId,
                                  &p.tunnelPassword, &p.serverName}) {
    if (!ctx_.toAnsi(*text)) {
      Box(IDS_TEXT_NOT_IN_CODE_PAGE, kMbIconError);
      RequestFrontPage(&security_);
      return false;
    }
  }
  return true;
}

// ---- add / edit

std::unique_ptr<CProfileSheet> CProfileSheet::ForAdd(ProfileEditorContext& ctx, const std::string& ssid,
                                                     int32_t encryption, int32_t authentication,
                                                     int32_t networkType, int32_t channel) {
  StationProfile p;
  p.name = NextProfileName(ctx.store.ListProfiles(), ctx.strings.Get(IDS_PROFILE_PREFIX).empty()
                                                         ? std::string(kProfileNamePrefix)
                                                         : ctx.strings.Get(IDS_PROFILE_PREFIX));
  p.ssid = ssid;
  p.encryption = encryption;
  p.authenType = authentication;
  p.networkType = networkType;
  p.channel = channel;
  auto sheet = std::unique_ptr<CProfileSheet>(new CProfileSheet(ctx, std::move(p), std::string(), true));
  sheet->title = ctx.strings.Get(IDS_ADD_PROFILE);
  return sheet;
}

std::unique_ptr<CProfileSheet> CProfileSheet::ForEdit(ProfileEditorContext& ctx, const std::string& name) {
  StationProfile p;
  if (auto stored = ctx.store.ReadProfile(name)) p = std::move(*stored);
  p.name = name;
  auto sheet = std::unique_ptr<CProfileSheet>(new CProfileSheet(ctx, std::move(p), name, false));
  sheet->title = ctx.strings.Get(IDS_EDIT_PROFILE);
  return sheet;
}

bool CProfileSheet::Ok() {
  if (saved_) return true;
  StationProfile p = Gather();
  if (p.name.empty()) {
    Box(IDS_ENTER_PROFILE_NAME, kMbOk);
    RequestFrontPage(&config_);
    return false;
  }
  if (ctx_.store.CheckProfileName(p.name) == NameCheck::Invalid) {
    Box(IDS_PROFILE_NAME_INVALID, kMbOk);
    RequestFrontPage(&config_);
    return false;
  }
  if (p.networkType == 0 && p.ssid.empty()) {
    Box(IDS_ENTER_SSID, kMbOk);
    RequestFrontPage(&config_);
    return false;
  }
  if (!security_.ValidateSecurity(false)) {
    RequestFrontPage(&security_);
    return false;
  }
  if (!CheckLeap(p)) return false;

  if (isNew_ || !EqualsIgnoreCase(p.name, openingName_)) {
    if (!isNew_ && ctx_.dialogs.MessageBox(Text(IDS_CREATE_ANOTHER_PROFILE), Text(IDS_APP_TITLE),
                                           kMbOkCancel | kMbIconQuestion) != kIdOk) {
      RequestFrontPage(&config_);
      return false;
    }
    if (ctx_.store.ProfileExists(p.name) == ProfileLookup::Found) {
      Box(IDS_DUPLICATE_PROFILE_NAME, kMbOk);
      RequestFrontPage(&config_);
      return false;
    }
  }
  if (!Store(p)) return false;
  storedName_ = p.name;
  SaveAdvanced();
  profile_ = std::move(p);
  saved_ = true;
  return true;
}

// ---- connect

int RunProfileEditor(ProfileEditorContext& ctx, ProfileSheetBase& sheet) {
  ProfileSheetBase* outer = ctx.openEditor;
  ctx.openEditor = &sheet;
  int result = ctx.dialogs.RunModal(sheet);
  ctx.openEditor = outer;
  return result;
}

void CloseProfileEditor(ProfileEditorContext& ctx) {
  if (ctx.openEditor) ctx.openEditor->RequestClose(kIdCancel);
}

RawWepKey RawKeyOf(int32_t type, const std::string& text) {
  RawWepKey key;
  std::vector<uint8_t> bytes;
  if (type == kWepKeyAscii) {
    bytes.assign(text.begin(), text.end());
  } else if (auto decoded = DecodeHex(text)) {
    bytes = std::move(*decoded);
  }
  if (bytes.size() > key.bytes.size()) bytes.resize(key.bytes.size());
  std::copy(bytes.begin(), bytes.end(), key.bytes.begin());
  key.length = static_cast<uint8_t>(bytes.size());
  return key;
}

namespace {

StationProfile ConnectProfile(const std::string& name, const std::string& ssid, int32_t networkType,
                              int32_t authentication, int32_t encryption, int32_t channel) {
  StationProfile p;
  p.name = name;
  p.ssid = ssid;
  p.networkType = networkType;
  p.authenType = authentication;
  p.encryption = encryption;
  p.channel = channel;
  return p;
}

}  // namespace

CProfileSheet2::CProfileSheet2(ProfileEditorContext& ctx, const std::string& ssid, int32_t networkType,
                               int32_t authentication, int32_t encryption, int32_t channel,
                               bool sheetWritesAdvanced)
    : CProfileSheet2(ctx, ssid, ssid, networkType, authentication, encryption, channel, sheetWritesAdvanced) {
}

CProfileSheet2::CProfileSheet2(ProfileEditorContext& ctx, const std::string& name, const std::string& ssid,
                               int32_t networkType, int32_t authentication, int32_t encryption,
                               int32_t channel, bool sheetWritesAdvanced)
    : ProfileSheetBase(ctx, ConnectProfile(name, ssid, networkType, authentication, encryption, channel),
                       name, true),
      sheetWritesAdvanced_(sheetWritesAdvanced) {
  title = ctx.strings.Get(IDS_SECURITY_PROFILE);
}

bool CProfileSheet2::Ok() {
  if (saved_) return true;
  if (!security_.ValidateSecurity(true)) {
    RequestFrontPage(&security_);
    return false;
  }
  StationProfile p = Gather();
  // The network's name is the profile's, whatever the hidden configuration page holds.
  p.name = initial_.name;
  p.ssid = initial_.ssid;
  if (!CheckLeap(p)) return false;

  wepInUse_ = security_.WepKeysInUse();
  rawKeys_ = {};
  if (wepInUse_)
    for (int n = 0; n < 4; ++n) rawKeys_[static_cast<size_t>(n)] = RawKeyOf(p.wepKeyType[n], p.wepKey[n]);

  if (!Store(p)) return false;
  storedName_ = p.name;
  SaveAdvanced();
  profile_ = std::move(p);
  saved_ = true;
  return true;
}

}  // namespace vx
