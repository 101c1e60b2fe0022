#include "station/autosecurity/autosecurity_flow.h"

#include "common/settings/registry_values.h"
#include "driver/oid_codes.h"
#include "resources/string_ids.h"

namespace vx {
namespace {

bool StartsWithIgnoreCase(const std::string& text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoreCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

}  // namespace

std::optional<std::string> StoreAutoSecuProfile(RegistryPort& reg, ProfileStore& profiles,
                                                const StringTable& shown, const std::string& ssid,
                                                const std::string& passPhrase, uint32_t encryption) {
  std::string cut = ssid.substr(0, 32);
  std::string name = profiles.ProfileForNetwork(cut, shown, kAutoSecuSuffix).name;
  if (name.empty()) return std::nullopt;
  // The pass phrase is stored with the rest or not at all: a profile without it would be
  // selected and activated as an open one.
  auto sz = [](const char* n, std::string v) { return RegNamedValue{n, RegValue::Sz(std::move(v))}; };
  const std::vector<RegNamedValue> values = {
      sz(regstr::kSsid, cut),          sz(regstr::kNetworkType, "1"),
      sz(regstr::kAuthenType, "4"),    sz(regstr::kEncryption, std::to_string(encryption)),
      sz(regstr::kWpaPsk, passPhrase), sz(regstr::kTunnelProtocol, "3"),
      sz(regstr::kPreambleType, "2"),  sz(regstr::kAuthenProtocol, "0")};
  if (!WriteValuesWhole(reg, profiles.ProfileKey(name), values)) return std::nullopt;
  RegKey adapter = profiles.AdapterKey();
  if (!reg.KeyExists(adapter)) return std::nullopt;
  WriteText(reg, adapter, regstr::kCurProfile, name);
  return name;
}

AutoSecurityFlow::AutoSecurityFlow(AutoSecuritySetup& setup, PageTimers& timers, DialogPort& dialogs,
                                   const StringTable& strings, RegistryPort& reg, ProfileStore& profiles,
                                   ProcessPort& process, AutoSecurityFlowHooks hooks)
    : setup_(setup),
      timers_(timers),
      dialogs_(dialogs),
      strings_(strings),
      reg_(reg),
      profiles_(profiles),
      process_(process),
      hooks_(std::move(hooks)),
      waitWindow_(strings) {}

AutoSecurityFlow::~AutoSecurityFlow() { StopWorker(); }

void AutoSecurityFlow::StartWorker(AutoSecurityWorkerConfig config) {
  if (worker_) return;
  worker_ = std::make_unique<AutoSecurityWorker>(std::move(config), messages_);
  worker_->Start();
}

void AutoSecurityFlow::StopWorker() {
  if (!worker_) return;
  worker_->Stop();
  worker_.reset();
}

void AutoSecurityFlow::Post(WorkerMessage m) {
  if (hooks_.observePost) hooks_.observePost(m);
  if (worker_) worker_->Post(std::move(m));
}

void AutoSecurityFlow::DrainMessages() {
  messages_.Drain([this](const UiMessage& m) {
    switch (m.id) {
      case kMsgApFound:
        OnApFound(m);
        break;
      case kMsgKeyDone:
        OnKeyDone(m.keyResult);
        break;
      case kMsgProfileSaved:
        OnProfileSaved(m);
        break;
      default:
        break;
    }
  });
}

void AutoSecurityFlow::ShowFailure() {
  timers_.Stop(kTimerSetupTimeout);
  timers_.Stop(kTimerRescanAfterKey);
  waitWindow_.ShowFailure();
  setup_.setupIdle = true;
  setup_.inProgress = false;
}

void AutoSecurityFlow::Trigger(const MacAddress& bssid, uint32_t infrastructureMode, uint32_t authMode,
                               uint32_t encryption) {
  if (infrastructureMode != kInfraInfrastructure || !IsMakerBssid(bssid)) return;
  AutoSecuritySetup& s = setup_;
  if (bssid != s.lastSeenBssid) {
    s.canceled = false;
    s.started = s.inProgress;
    s.succeeded = false;
    s.discoveryCount = 0;
    s.lastKeyResult = true;
  }
  if (s.canceled || s.started || s.manualActivation || !s.lastKeyResult) {
    if (!s.succeeded && s.started && authMode != kAuthOpen && s.lastKeyResult) {
      s.succeeded = true;
      timers_.Stop(kTimerSetupTimeout);
      timers_.Stop(kTimerRescanAfterKey);
      timers_.Start(kTimerAfterSuccess, kAfterSuccessMs);
    } else if (!s.lastKeyResult) {
      ShowFailure();
      s.lastKeyResult = true;
    }
  } else if (authMode == kAuthOpen && encryption == kEncDisabled &&
             s.discoveryCount < kMaxDiscoveryRequests) {
    Post({kMsgDiscover});
    ++s.discoveryCount;
  }
  s.lastSeenBssid = bssid;
}

void AutoSecurityFlow::CompletionCheck(const std::vector<SurveyRow>& rows) {
  if (!setup_.started || setup_.succeeded) return;
  for (const SurveyRow& row : rows) {
    if (row.bssid != apBssid_ || !StartsWithIgnoreCase(row.texts[kColumnAuthentication], "WPA")) continue;
    uint32_t encryption =
        StartsWithIgnoreCase(row.texts[kColumnEncryption], "AES") ? kEncAesEnabled : kEncTkipEnabled;
    Post({kMsgSaveProfile, encryption});
  }
}

bool AutoSecurityFlow::OnTimer(int id) {
  switch (id) {
    case kTimerRescanAfterKey:
      if (hooks_.rescan) hooks_.rescan();
      return true;
    case kTimerSetupTimeout:
      ShowFailure();
      return true;
    case kTimerAfterSuccess:
      timers_.Stop(kTimerAfterSuccess);
      waitWindow_.Hide();
      setup_.setupIdle = true;
      setup_.inProgress = false;
      process_.OpenUrl(kBrowserUrl);
      return true;
    default:
      return false;
  }
}

std::optional<std::string> AutoSecurityFlow::AskPassPhrase(const std::string& apText) {
  CQs3KeyDialog dialog(dialogs_, strings_, apText);
  SetStatusRefresh(false);
  int result = dialogs_.RunModal(dialog);
  SetStatusRefresh(true);
  if (result != kIdOk || dialog.PassPhrase().empty()) return std::nullopt;
  return dialog.PassPhrase();
}

void AutoSecurityFlow::OnApFound(const UiMessage& m) {
  if (setup_.canceled) return;
  apBssid_ = m.bssid;
  auto passPhrase = AskPassPhrase(m.apText);
  if (!passPhrase) {
    Post({kMsgCancel});
    setup_.canceled = true;
    return;
  }
  setup_.started = true;
  setup_.inProgress = true;
  setup_.setupIdle = false;
  WorkerMessage send{kMsgSendKey};
  send.passPhrase = passPhrase->substr(0, kMaxPassPhrase);
  Post(std::move(send));
  waitWindow_.ShowProgress();
  timers_.Start(kTimerSetupTimeout, kSetupTimeoutMs);
}

void AutoSecurityFlow::OnKeyDone(bool result) {
  setup_.lastKeyResult = result;
  timers_.Start(kTimerRescanAfterKey, kRescanAfterKeyMs);
}

bool AutoSecurityFlow::SaveAndApply(const std::string& ssid, const std::string& passPhrase,
                                    uint32_t encryption) {
  auto name = StoreAutoSecuProfile(reg_, profiles_, strings_, ssid, passPhrase, encryption);
  if (!name) {
    dialogs_.MessageBox(strings_.Get(IDS_PROFILE_NOT_SAVED), strings_.Get(IDS_APP_TITLE), kMbIconError);
    return false;
  }
  if (hooks_.makeProfileCurrent)
    hooks_.makeProfileCurrent(*name);
  else
    profiles_.SelectProfile(*name, true);
  return true;
}

void AutoSecurityFlow::OnProfileSaved(const UiMessage& m) {
  SaveAndApply(m.ssid, m.passPhrase, m.encryption);
}

}  // namespace vx
