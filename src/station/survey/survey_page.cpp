#include "station/survey/survey_page.h"

#include <algorithm>

#include "common/settings/registry_values.h"
#include "common/text/shown_text.h"
#include "common/ui/list_columns.h"
#include "driver/oid_codes.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "station/shell/hide_dlg.h"
#include "station/survey/network_selection.h"
#include "station/survey/survey_list.h"

namespace vx {
namespace {

bool SameSsid(const SsidRecord& a, const SsidRecord& b) { return a.length == b.length && a.ssid == b.ssid; }

bool ContainsIgnoreCase(const std::string& text, std::string_view part) {
  return ToUpperAscii(text).find(ToUpperAscii(part)) != std::string::npos;
}

// "%s <--> %s" and its like, filled without a formatter reading arguments it was not given.
std::string FillText(std::string format, std::initializer_list<std::string> values) {
  size_t at = 0;
  for (const std::string& v : values) {
    at = format.find("%s", at);
    if (at == std::string::npos) break;
    format.replace(at, 2, v);
    at += v.size();
  }
  return format;
}

}  // namespace

int SecurityClass(const std::string& auth) {
  if (auth.find("WPA2-PSK") != std::string::npos) return 5;
  if (auth.find("WPA2") != std::string::npos) return 4;
  if (auth.find("WPA-PSK") != std::string::npos) return 2;
  if (auth.find("WPA-NONE") != std::string::npos) return 3;
  if (auth.find("WPA") != std::string::npos) return 1;
  return 0;
}

SecurityChoice MapSecurity(const SurveyRow& row, MappingUse use, int osKind) {
  int cls = SecurityClass(row.texts[kColumnAuthentication]);
  bool nativeWpa2 = osKind == 7 || osKind == 8 || osKind == 10 || osKind == 11;
  SecurityChoice c;
  switch (cls) {
    case 0:
      if (row.privacy) {
        c.authMode = use == MappingUse::Connect ? kAuthShared : kAuthOpen;
        c.encryption = kEncWepEnabled;
      } else {
        c.authMode = kAuthOpen;
        c.encryption = kEncDisabled;
      }
      return c;
    case 1:
      c.authMode = kAuthWpa;
      break;
    case 2:
      c.authMode = kAuthWpaPsk;
      break;
    case 3:
      c.authMode = kAuthWpaNone;
      break;
    case 4:
      c.authMode = nativeWpa2 ? kAuthWpa2 : kAuthWpa;
      break;
    default:
      c.authMode = nativeWpa2 ? kAuthWpa2Psk : kAuthWpaPsk;
      break;
  }
  const std::string& enc = row.texts[kColumnEncryption];
  if (use == MappingUse::Connect)
    c.encryption = EqualsIgnoreCase(enc, "TKIP") ? kEncTkipEnabled : kEncAesEnabled;
  else
    c.encryption = ContainsIgnoreCase(enc, "AES") ? kEncAesEnabled : kEncTkipEnabled;
  return c;
}

SurveyContext MakeSurveyContext(HideDlg& shell, TcpPort& tcp, IpInfoPort& ipInfo, SurveyShared& shared,
                                TimerPort* timers) {
  StationPorts& p = shell.Ports();
  HideDlg* s = &shell;
  SurveyContext c{shell.Channel(), shell.Link(), shell.Profiles(), p.registry, timers ? *timers : p.timers,
                  p.dialogs,       p.strings,    p.process,        tcp,        ipInfo,
                  shared};
  c.accessPointMode = [s] { return s->Control().SwitchingToAp(); };
  c.managesAdapter = [s] { return s->ZeroConfigStateValue() != kZeroConfigControls; };
  c.administrator = [s] { return s->Administrator(); };
  c.supplicantOpen = [s] { return s->Supplicant().Usable(); };
  c.currentBssid = [s] { return s->CurrentBssid(); };
  c.currentSsid = [s] { return s->CurrentSsid(); };
  c.wepError = [s] { return s->Link().WepError(); };
  c.osKind = [s] { return s->OsKind(); };
  c.adapterName = [s] { return s->Discovery().Selected().netCfgInstanceId; };
  c.screenReader = [&p] { return p.system.ScreenReaderRunning(); };
  return c;
}

CSiteSurvPage::CSiteSurvPage(SurveyContext context, SurveyHooks hooks)
    : ctx_(std::move(context)),
      hooks_(std::move(hooks)),
      timers_(ctx_.timers, [this](int id) { Tick(id); }),
      flow_(ctx_.shared.setup, timers_, ctx_.dialogs, ctx_.strings, ctx_.registry, ctx_.profiles,
            ctx_.process),
      workerConfig_{ctx_.tcp, ctx_.ipInfo, ctx_.channel.Device(), "", ctx_.process.ProgramFolder()} {
  flow_.Hooks().rescan = [this] { Rescan(); };
  flow_.Hooks().makeProfileCurrent = [this](const std::string& name) { MakeCurrent(name); };
  flow_.Hooks().setStatusRefresh = [this](bool on) { SetStatusRefresh(on); };
  workerConfig_.showSsid = [&strings = ctx_.strings](const std::string& ssid) {
    return ShownSsid(ssid, strings);
  };
  std::string format = Text(IDS_QS3_AP_TEXT);
  if (!format.empty()) workerConfig_.apTextFormat = format;
  caption = Text(IDS_PAGE_SITE_SURVEY);
}

CSiteSurvPage::~CSiteSurvPage() {
  timers_.StopAll();
  flow_.StopWorker();
}

void CSiteSurvPage::SetListWidth(int pixels) {
  listWidth_ = pixels > 0 ? pixels : kDefaultListWidth;
  auto& list = Control(survey::kList);
  SetSurveyColumnWidths(list, listWidth_);
  if (list.columns.size() > kSurveyColumnCount)
    list.columns.back().width = ShareOfWidth(listWidth_, kStatusTenths);
}

void CSiteSurvPage::OnListWidth(int id, int pixels) {
  if (id == survey::kList) SetListWidth(pixels);
}

void CSiteSurvPage::OnInit() {
  auto& list = Control(survey::kList);
  PrepareSurveyList(list, ctx_.strings, listWidth_);
  if (ctx_.screenReader && ctx_.screenReader())
    list.columns.push_back({Text(IDS_COL_STATUS), ShareOfWidth(listWidth_, kStatusTenths)});
  bool hasCurrent = hooks_.sheetHasCurrentProfile && hooks_.sheetHasCurrentProfile();
  if (!hasCurrent) {
    requestedSsid_ = SsidRecord::From(ReadText(ctx_.registry, ctx_.profiles.AdapterKey(), regstr::kSsid, ""));
    joinBySsid_ = true;
    joinByBssid_ = false;
  }
  refillPending_ = true;
  UpdateButtons();
  timers_.Start(kStatusTimer, kStatusTimerMs);
  Control(survey::kRescan).text = Text(IDS_BTN_RESCAN);
  Control(survey::kConnect).text = Text(IDS_BTN_CONNECT);
  Control(survey::kAddProfile).text = Text(IDS_BTN_ADD_TO_PROFILE);
  Control(survey::kStatus).readOnly = true;
  if (!scanCopy_) scanCopy_ = MakeScanBuffer();
  Refill();
  // The worker gets copies: rediscovery rewrites the originals on this thread.
  workerConfig_.devicePath = ctx_.channel.DevicePath();
  workerConfig_.adapterName = ctx_.adapterName ? ctx_.adapterName() : std::string();
  flow_.StartWorker(workerConfig_);
}

void CSiteSurvPage::OnSetActive() { Refill(); }

std::string CSiteSurvPage::DisplayText(size_t column, const std::string& text) const {
  return SurveyCellText(ctx_.strings, column, text);
}

int CSiteSurvPage::SelectedRow() const {
  auto it = Controls().find(survey::kList);
  if (it == Controls().end()) return -1;
  int sel = it->second.selection;
  return sel >= 0 && static_cast<size_t>(sel) < rows_.size() ? sel : -1;
}

void CSiteSurvPage::SelectRow(int row) { Control(survey::kList).selection = row; }

void CSiteSurvPage::Refill() {
  if (!scanCopy_) scanCopy_ = MakeScanBuffer();
  // The selected network stays selected when it is still listed.
  std::optional<MacAddress> selected;
  if (int sel = SelectedRow(); sel >= 0) selected = rows_[static_cast<size_t>(sel)].bssid;
  CopyScanBuffer(&ctx_.link.BssidList(), *scanCopy_);
  DecodeScanList(*scanCopy_, rows_);
  shownSsid_.clear();
  for (const auto& r : rows_) shownSsid_.push_back(r.texts[kColumnSsid]);  // bytes up to the first NUL
  int newSel = -1;
  if (selected)
    for (size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].bssid == *selected) {
        newSel = static_cast<int>(i);
        break;
      }
  SelectRow(newSel);
  ShowRows();
  flow_.CompletionCheck(rows_);
}

void CSiteSurvPage::ShowRows() {
  auto& list = Control(survey::kList);
  list.rows.clear();
  for (size_t i = 0; i < rows_.size(); ++i) {
    ListRow r;
    for (size_t c = 0; c < kSurveyColumnCount; ++c)
      r.cells.push_back(c == kColumnSsid ? ShownSsid(shownSsid_[i], ctx_.strings)
                                         : DisplayText(c, rows_[i].texts[c]));
    list.rows.push_back(std::move(r));
  }
}

void CSiteSurvPage::Queue(Action action) {
  if (ctx_.link.QueueAction(std::move(action))) ctx_.link.ActionExec();
}

void CSiteSurvPage::Tick(int id) {
  if (ctx_.shared.statusRefreshEnabled) {
    StatusUpdate();
    UpdateButtons();
  }
  if (flow_.OnTimer(id)) {
  } else if (id == kTimerJoinCheck) {
    OnJoinCheck();
  } else if (id == kTimerRejoin) {
    OnRejoin();
  }
  if (id == kStatusTimer) flow_.DrainMessages();
}

void CSiteSurvPage::OnTimer(int timerId) { Tick(timerId); }

void CSiteSurvPage::StatusUpdate() {
  if (refillPending_) {
    if (ctx_.link.ScanPending()) return;
    Refill();
    refillPending_ = false;
  }
  if (ctx_.accessPointMode && ctx_.accessPointMode()) {
    joinBySsid_ = false;
    joinByBssid_ = false;
  }
  if (ctx_.shared.liveProfileChanged) FollowLiveProfile();
  uint32_t media = kMediaConnected;  // a failed query reads as connected, as the zeroed buffer did
  ctx_.channel.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS, media);
  bool manages = ctx_.managesAdapter ? ctx_.managesAdapter() : true;
  MacAddress bssid = ctx_.currentBssid ? ctx_.currentBssid() : MacAddress{};
  bool connected = media == kMediaConnected && manages && bssid != MacAddress{};
  int row = -1;
  std::string status;
  if (connected) {
    disconnectedTicks_ = -3;
    refillPending_ = true;
    SsidRecord current = ctx_.currentSsid ? ctx_.currentSsid() : SsidRecord{};
    if (joinBySsid_) {
      // Only a typed name replaces the requested one; a cleared record would wipe it.
      if (ctx_.shared.hidden.Set()) requestedSsid_ = ctx_.shared.hidden.ssid;
      if (current.length != 0 && requestedSsid_.length != 0 && !SameSsid(current, requestedSsid_))
        Queue(Action::AssociateSsid(requestedSsid_));
    } else if (joinByBssid_ && bssid != requestedBssid_) {
      Queue(Action::AssociateBssid(requestedBssid_));
    }
    const std::string shown = ShownSsid(current.Text(), ctx_.strings);
    if (ctx_.wepError && ctx_.wepError())
      status = FillText("%s <--> %s -- %s", {Text(IDS_CONNECTED), shown, Text(IDS_WEP_ERROR)});
    else
      status = FillText("%s <--> %s", {Text(IDS_CONNECTED), shown});
    std::array<uint8_t, 32> config{};
    ctx_.channel.Query(OID_802_11_CONFIGURATION, config);
    auto channel = ChannelFromFrequency(DecodeConfiguration(config).dsConfig);
    row = ConnectedSurveyRow(rows_, bssid, channel);
    if (row >= 0) refillPending_ = false;
    if (row < 0) {
      if (ctx_.shared.missCount < kMaxMisses) {
        ++ctx_.shared.missCount;
      } else {
        ctx_.link.QueueScan();
        ctx_.shared.missCount = 0;
      }
    }
  } else if (manages) {
    status = Text(IDS_DISCONNECTED);
    int t = disconnectedTicks_;
    if (t == 0 || t % 30 == 0) {
      refillPending_ = true;
      ctx_.link.QueueScan();
    } else if (t % 5 == 0 && ctx_.shared.setup.setupIdle && joinByBssid_) {
      Queue(Action::AssociateBssid(requestedBssid_));
      if (t > 4) {
        joinBySsid_ = true;
        joinByBssid_ = false;
      }
    }
    ++disconnectedTicks_;
  } else {
    status = Text(IDS_RF_OFF);
  }
  Control(survey::kStatus).text = status;
  MarkConnectedRow(row, connected);
}

// Re-sending the last Connect's BSSID would take the adapter back to that network with the
// settings of another profile (or of none), which it cannot join. The page keeps the live
// settings' SSID instead, as it does when it opens without a current profile; an empty SSID
// keeps nothing.
void CSiteSurvPage::FollowLiveProfile() {
  ctx_.shared.liveProfileChanged = false;
  requestedSsid_ = SsidRecord::From(ReadText(ctx_.registry, ctx_.profiles.AdapterKey(), regstr::kSsid, ""));
  joinBySsid_ = true;
  joinByBssid_ = false;
  if (ctx_.shared.hidden.Set() && !SameSsid(ctx_.shared.hidden.ssid, requestedSsid_))
    ctx_.shared.hidden.Clear();
}

void CSiteSurvPage::MarkConnectedRow(int row, bool connected) {
  auto& list = Control(survey::kList);
  if (list.rows.size() != rows_.size()) ShowRows();
  for (auto& r : list.rows) r.image = -1;
  ShowRowStatus(list, kSurveyColumnCount, {});
  if (!connected || row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
  uint32_t infrastructure = kInfraInfrastructure;
  ctx_.channel.QueryU32(OID_802_11_INFRASTRUCTURE_MODE, infrastructure);
  ListRow& shown = list.rows[static_cast<size_t>(row)];
  shown.image = infrastructure == kInfraAdhoc ? kSurveyImageAdhoc : kSurveyImageInfrastructure;
  const std::string words = Text(IDS_CONNECTED);  // either image: the network joined
  ShowRowStatus(list, kSurveyColumnCount, {words, words});
  MacAddress bssid{};
  ctx_.channel.Query(OID_802_11_BSSID, bssid);
  const HiddenNetworkRecord& hidden = ctx_.shared.hidden;
  std::string name;
  if (hidden.Set() && hidden.bssid == bssid) {
    name = hidden.ssid.Text();
  } else {
    std::vector<uint8_t> ssid(kSsidRecordSize, 0);
    ctx_.channel.Query(OID_802_11_SSID, ssid);
    name = DecodeSsid(ssid).Text();
  }
  shownSsid_[static_cast<size_t>(row)] = name;
  shown.cells[kColumnSsid] = ShownSsid(name, ctx_.strings);
  uint32_t auth = kAuthOpen;
  uint32_t encryption = kEncDisabled;
  ctx_.channel.QueryU32(OID_802_11_AUTHENTICATION_MODE, auth);
  ctx_.channel.QueryU32(OID_802_11_WEP_STATUS, encryption);
  flow_.Trigger(bssid, infrastructure, auth, encryption);
}

void CSiteSurvPage::UpdateButtons() {
  bool manages = ctx_.managesAdapter ? ctx_.managesAdapter() : true;
  bool apMode = ctx_.accessPointMode && ctx_.accessPointMode();
  bool supplicant = ctx_.supplicantOpen && ctx_.supplicantOpen();
  bool admin = ctx_.administrator ? ctx_.administrator() : true;
  int sel = SelectedRow();
  int cls = sel >= 0 ? SecurityClass(rows_[static_cast<size_t>(sel)].texts[kColumnAuthentication]) : 0;
  Control(survey::kRescan).enabled = manages && !refillPending_;
  bool connectOff =
      apMode || refillPending_ || !manages || rows_.empty() || (!supplicant && cls >= 1 && cls <= 5);
  Control(survey::kConnect).enabled = !connectOff;
  Control(survey::kAddProfile).enabled = !connectOff && admin;
  if (!supplicant && cls >= 1 && cls <= 3 && !ctx_.shared.bindingMessageShown) {
    ctx_.shared.bindingMessageShown = true;
    ctx_.dialogs.MessageBox(Text(IDS_BIND_8021X_ONLY), Text(IDS_APP_TITLE), kMbOk | kMbIconInformation);
  }
}

void CSiteSurvPage::Rescan() {
  Control(survey::kRescan).enabled = false;
  Control(survey::kConnect).enabled = false;
  Control(survey::kAddProfile).enabled = false;
  Control(survey::kStatus).text = Text(IDS_RESCANNING);
  refillPending_ = true;
  ctx_.link.QueueScan();
}

void CSiteSurvPage::MakeCurrent(const std::string& name) {
  if (hooks_.makeProfileCurrent)
    hooks_.makeProfileCurrent(name);
  else
    ctx_.profiles.SelectProfile(name, true);
}

// A stored profile made current joins its own network: the page keeps that (the live SSID) from
// now on, not the network of an earlier Connect, which it would otherwise take the adapter back to
// with this profile's settings.
void CSiteSurvPage::MakeStoredCurrent(const std::string& name) {
  MakeCurrent(name);
  ctx_.shared.liveProfileChanged = true;
}

StationProfile CSiteSurvPage::Prefill(const SurveyRow& row, const std::string& ssid,
                                      const SecurityChoice& security) const {
  StationProfile p;
  p.name = ssid;
  p.ssid = ssid;
  p.encryption = static_cast<int32_t>(security.encryption);
  p.authenType = static_cast<int32_t>(security.authMode);
  p.networkType = row.infrastructureMode == kInfraAdhoc ? 0 : 1;
  p.channel = static_cast<int32_t>(row.ChannelOrFallback());
  return p;
}

void CSiteSurvPage::Connect() {
  flow_.ResetForConnect();
  bool apMode = ctx_.accessPointMode && ctx_.accessPointMode();
  if (apMode) return;
  int sel = SelectedRow();
  if (sel < 0) {
    ctx_.dialogs.MessageBox(Text(IDS_NO_SELECTED_ITEM), Text(IDS_APP_TITLE), kMbOk | kMbIconWarning);
    return;
  }
  if (rows_.empty()) return;
  UpdateButtons();
  const SurveyRow entry = rows_[static_cast<size_t>(sel)];
  int cls = SecurityClass(entry.texts[kColumnAuthentication]);
  bool supplicant = ctx_.supplicantOpen && ctx_.supplicantOpen();
  if (!supplicant && cls >= 1 && cls <= 5) return;
  timers_.Stop(kTimerJoinCheck);

  bool hidden = entry.infrastructureMode != kInfraAdhoc && entry.ssid.length == 0;
  SsidRecord typed;
  if (hidden) {
    CHiddenSsidDialog dialog(ctx_.dialogs, ctx_.strings);
    SetStatusRefresh(false);
    int result = ctx_.dialogs.RunModal(dialog);
    SetStatusRefresh(true);
    if (result != kIdOk || dialog.Ssid().empty()) return;
    typed = SsidRecord::From(dialog.Ssid());
    requestedSsid_ = typed;
    ctx_.shared.hidden.ssid = typed;
    ctx_.shared.hidden.bssid = entry.bssid;
  } else {
    ctx_.shared.hidden.Clear();
  }
  const SsidRecord& ssidRecord = hidden ? typed : entry.ssid;
  std::string ssid = ssidRecord.Text();
  int osKind = ctx_.osKind ? ctx_.osKind() : 0;
  SecurityChoice security = MapSecurity(entry, MappingUse::Connect, osKind);

  ActivationRecord record;
  record.networkType = entry.infrastructureMode;
  record.preamble = 2;
  record.rtsThreshold = 2347;
  record.fragThreshold = 0;
  record.txPowerStep = 0;
  record.powerMode = 0;
  record.acPowerCam = 0;
  record.bSetAdvance = false;
  record.profileExtension.leapEnabled = false;
  record.adhocFrequency = entry.frequencyKhz;

  bool admin = ctx_.administrator ? ctx_.administrator() : true;
  StationProfile prefill = Prefill(entry, ssid, security);
  // The network's profile: named like the SSID, or, for an SSID that cannot be a key name (a '\',
  // bytes that are not UTF-8), by a name derived from it that keeps the SSID's exact bytes.
  const NetworkProfileName own = ctx_.profiles.ProfileForNetwork(ssid, ctx_.strings);
  prefill.name = own.name;
  if (entry.privacy != 0 || (cls >= 1 && cls <= 5)) {
    if (!admin) return;
    if (own.exists) {
      MakeStoredCurrent(own.name);
      timers_.Start(kTimerJoinCheck, kJoinCheckMs);
      return;
    }
    const NetworkProfileName autoSecu = ctx_.profiles.ProfileForNetwork(ssid, ctx_.strings, kAutoSecuSuffix);
    if (autoSecu.exists) {
      MakeStoredCurrent(autoSecu.name);
      timers_.Start(kTimerJoinCheck, kJoinCheckMs);
      return;
    }
    if (IsMakerBssid(entry.bssid) && cls == 2) {
      auto passPhrase = flow_.AskPassPhrase(
          FormatApText(workerConfig_.apTextFormat, ssidRecord, entry.bssid, workerConfig_.showSsid));
      if (!passPhrase) return;
      uint32_t encryption =
          EqualsIgnoreCase(entry.texts[kColumnEncryption], "TKIP") ? kEncTkipEnabled : kEncAesEnabled;
      flow_.SaveAndApply(ssid, *passPhrase, encryption);
      return;
    }
    flow_.CancelWorker();
    if (!hooks_.runSecurityProfileSheet) return;
    SetStatusRefresh(false);
    auto stored = hooks_.runSecurityProfileSheet(prefill);
    SetStatusRefresh(true);
    if (!stored) return;
    std::string name = stored->name.empty() ? own.name : stored->name;
    ctx_.shared.madeByConnect.push_back(name);
    MakeCurrent(name);
    if (hooks_.addProfileRow) hooks_.addProfileRow(name);
    // The keys and 802.1X settings are read back as activation reads them from the live values.
    if (auto live = ctx_.link.BuildActivationRecord(false)) {
      record.wepKey = live->wepKey;
      record.wpaNoneKey = live->wpaNoneKey;
      record.psk = live->psk;
      record.profileExtension = live->profileExtension;
      record.use8021X = live->use8021X;
      record.authenProtocol = live->authenProtocol;
      record.tunnelProtocol = live->tunnelProtocol;
      record.sessionResumption = live->sessionResumption;
      record.useClientCert = live->useClientCert;
      record.useServerCert = live->useServerCert;
      record.intermediateCert = live->intermediateCert;
      record.nameRule = live->nameRule;
      record.id = live->id;
      record.password = live->password;
      record.tunnelId = live->tunnelId;
      record.tunnelPassword = live->tunnelPassword;
      record.serverName = live->serverName;
      record.passwordMode = live->passwordMode;
      record.serverCert = live->serverCert;
      record.clientCert = live->clientCert;
    }
  } else {
    if (own.exists) {
      if (auto existing = ctx_.profiles.ReadProfile(own.name)) {
        existing->name = own.name;
        ctx_.profiles.WriteProfile(*existing);
      }
      MakeStoredCurrent(own.name);
      timers_.Start(kTimerJoinCheck, kJoinCheckMs);
      return;
    }
    if (ctx_.profiles.WriteProfile(prefill)) {
      ctx_.shared.madeByConnect.push_back(prefill.name);
      MakeCurrent(prefill.name);
      if (hooks_.addProfileRow) hooks_.addProfileRow(prefill.name);
    }
  }

  record.authMode = security.authMode;
  record.encryption = security.encryption;
  record.disassociateFirst = true;
  Control(survey::kStatus).text = Text(IDS_CONNECTING);
  requestedSsid_ = ssidRecord;
  requestedBssid_ = entry.bssid;
  record.ssid = ssidRecord;
  if (entry.infrastructureMode == kInfraAdhoc || hidden) {
    record.useBssid = false;
    joinBySsid_ = true;
    joinByBssid_ = false;
  } else {
    record.bssid = entry.bssid;
    record.useBssid = true;
    joinByBssid_ = true;
    joinBySsid_ = false;
  }
  Queue(Action::Activate(std::move(record)));
}

void CSiteSurvPage::OnJoinCheck() {
  timers_.Stop(kTimerJoinCheck);
  uint32_t media = kMediaConnected;
  ctx_.channel.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS, media);
  if (media == kMediaConnected) return;
  std::string name =
      hooks_.activeProfileName ? hooks_.activeProfileName() : ctx_.profiles.CurrentProfileName();
  if (name.empty()) return;
  // Only a profile that Connect made (from the keys typed into "Security Profile") goes: one the
  // user stored, or another one still current because making this one current failed, is the
  // user's own, with credentials and certificate choices that a rejoin cannot bring back.
  const bool made = std::any_of(ctx_.shared.madeByConnect.begin(), ctx_.shared.madeByConnect.end(),
                                [&](const std::string& n) { return EqualsIgnoreCase(n, name); });
  if (!made || !EqualsIgnoreCase(ctx_.profiles.CurrentProfileName(), name)) return;
  rejoinSsid_ = ctx_.profiles.ProfileSsid(name);
  // Its keys leave the live values with it; the rejoin below brings the next ones.
  if (!ctx_.profiles.ClearLiveProfile()) return;
  if (hooks_.deleteProfileRow) hooks_.deleteProfileRow(name);
  ctx_.profiles.DeleteProfile(name);
  timers_.Start(kTimerRejoin, kRejoinMs);
}

void CSiteSurvPage::OnRejoin() {
  timers_.Stop(kTimerRejoin);
  SetStatusRefresh(false);
  int row = rows_.empty() ? -1 : 0;
  for (size_t i = 0; i < shownSsid_.size(); ++i)
    if (shownSsid_[i] == rejoinSsid_) {
      row = static_cast<int>(i);
      break;
    }
  SelectRow(row);
  Connect();
  SetStatusRefresh(true);
}

void CSiteSurvPage::AddProfile() {
  bool apMode = ctx_.accessPointMode && ctx_.accessPointMode();
  bool admin = ctx_.administrator ? ctx_.administrator() : true;
  if (apMode || !admin) return;
  int sel = SelectedRow();
  if (sel < 0) {
    ctx_.dialogs.MessageBox(Text(IDS_NO_SELECTED_ITEM), Text(IDS_APP_TITLE), kMbOk | kMbIconWarning);
    return;
  }
  const SurveyRow& row = rows_[static_cast<size_t>(sel)];
  int osKind = ctx_.osKind ? ctx_.osKind() : 0;
  StationProfile prefill = Prefill(row, row.ssid.Text(), MapSecurity(row, MappingUse::AddProfile, osKind));
  prefill.name.clear();  // the add sheet proposes its own name
  if (!hooks_.runAddProfileSheet) return;
  SetStatusRefresh(false);
  bool confirmed = hooks_.runAddProfileSheet(prefill);
  SetStatusRefresh(true);
  if (confirmed && hooks_.showProfilePage) hooks_.showProfilePage();
}

void CSiteSurvPage::OnCommand(int controlId, UiEvent event) {
  if (controlId == survey::kRescan && event == UiEvent::Clicked) {
    Rescan();
  } else if (controlId == survey::kConnect && event == UiEvent::Clicked) {
    Connect();
  } else if (controlId == survey::kList && event == UiEvent::DoubleClicked) {
    Connect();
  } else if (controlId == survey::kAddProfile && event == UiEvent::Clicked) {
    AddProfile();
  } else if (controlId == survey::kList && event == UiEvent::SelectionChanged) {
    UpdateButtons();
  }
}

void CSiteSurvPage::RunNetworkSelection() {
  CNetworkSelectionDialog dialog(ctx_);
  SetStatusRefresh(false);
  int result = ctx_.dialogs.RunModal(dialog);
  SetStatusRefresh(true);
  if (result != kIdOk) return;
  Refill();
  int row = rows_.empty() ? -1 : 0;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].texts[kColumnBssid] == dialog.ChosenBssid()) {
      row = static_cast<int>(i);
      break;
    }
  SelectRow(row);
  Connect();
}

void CSiteSurvPage::StartShowup(size_t networkCount) {
  if (networkCount < 2) {
    Refill();
    SelectRow(rows_.empty() ? -1 : 0);
    Connect();
  } else {
    RunNetworkSelection();
  }
}

void CSiteSurvPage::ClearState() {
  rows_.clear();
  shownSsid_.clear();
  Control(survey::kList).rows.clear();
  SelectRow(-1);
  joinBySsid_ = false;
  joinByBssid_ = false;
  refillPending_ = true;
}

}  // namespace vx
