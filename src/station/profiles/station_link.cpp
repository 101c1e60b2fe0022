#include "station/profiles/station_link.h"

#include <algorithm>
#include <cstdio>

#include "base/hex.h"
#include "common/passphrase/passphrase.h"
#include "common/settings/registry_values.h"
#include "driver/discovery.h"
#include "driver/oid_codes.h"
#include "platform/trace.h"
#include "station/dot1x/credentials.h"
#include "station/profiles/profile_store.h"
#include "station/profiles/wep_key_text.h"

namespace vx {
namespace {

enum : uint32_t { kMethodPeap = 0, kMethodTls = 1, kMethodTtls = 2, kMethodMd5 = 3 };
constexpr uint32_t kTunnelNeedingOneTimePassword = 6;
constexpr uint32_t kDriverVersionWithPowerSaveLevel = 0x0500;

}  // namespace

StationLink::StationLink(RegistryPort& reg, OidChannel& channel, TimerPort& timers,
                         SupplicantPort& supplicant, RootSource root, StationLinkHooks hooks)
    : reg_(reg),
      channel_(channel),
      timers_(timers),
      supplicant_(supplicant),
      root_(std::move(root)),
      hooks_(std::move(hooks)),
      bssidList_(MakeScanBuffer()) {}

StationLink::StationLink(RegistryPort& reg, OidChannel& channel, TimerPort& timers,
                         SupplicantPort& supplicant, const AdapterDiscovery& discovery,
                         StationLinkHooks hooks)
    : StationLink(
          reg, channel, timers, supplicant, [&discovery] { return discovery.Selected().settingsRoot; },
          std::move(hooks)) {}

StationLink::~StationLink() {
  timers_.Kill(scanTimer_);
  timers_.Kill(wepTimer_);
}

std::optional<ActivationRecord> StationLink::BuildActivationRecord(bool advanced) {
  applied_ = true;
  RegKey key = Hklm(root_());
  if (!reg_.KeyExists(key)) return std::nullopt;
  ActivationRecord r;
  auto num = [&](const char* name) { return ReadInt(reg_, key, name, 0); };
  auto text = [&](const char* name) { return ReadText(reg_, key, name, ""); };

  std::string ssid = text(regstr::kSsid);
  r.ssid = SsidRecord::From(ssid);
  lastSsid_ = ssid;
  r.networkType = static_cast<uint32_t>(num(regstr::kNetworkType));
  r.ccx2Control = ReadWord(reg_, key, regstr::kCcx2Control).value_or(0);

  if (advanced) {
    r.bSetAdvance = true;
    int32_t mode = num(regstr::kWirelessMode);
    if (mode < 0 || mode > 4 || (!facts_.has5GHz && (mode == 2 || mode == 3))) mode = 0;
    wirelessMode_ = static_cast<uint32_t>(mode);
    std::array<uint8_t, 32> sta{};
    channel_.Query(VX_OID_802_11_QUERY_STA_CONFIG, sta);
    r.staConfig = DecodeConfigWords(sta);
    // Without a stored region the adapter keeps the one it has.
    r.countryRegion = facts_.regionWord;
    if (auto bg = ReadIntIfPresent(reg_, key, regstr::kCountryRegion)) {
      r.countryRegion = static_cast<uint32_t>(*bg);
      if (auto a = ReadIntIfPresent(reg_, key, regstr::kCountryRegionABand))
        r.countryRegion += 256u * static_cast<uint32_t>(*a);
    }
    auto word = [&](const char* name, int field) {
      if (auto v = ReadIntIfPresent(reg_, key, name))
        r.staConfig[static_cast<size_t>(field)] = static_cast<uint32_t>(*v);
    };
    word(regstr::kTxBurst, kStaTxBurst);
    word(regstr::kTurboRate, kStaTurboRate);
    word(regstr::kShortSlot, kStaShortSlot);
    word(regstr::kAdhocOfdm, kStaAdhocOfdm);
    if (mode == 0 || mode == 3)
      word(regstr::kBgProtection, kStaBgProtection);
    else
      r.staConfig[kStaBgProtection] = 0;
    r.desiredRates = AdvancedDesiredRates(wirelessMode_, ReadIntIfPresent(reg_, key, regstr::kTransRate));
    lastStaConfig_ = r.staConfig;
  } else if (r.networkType == kInfraAdhoc) {
    r.adhocRates = true;
    std::array<uint8_t, 32> sta{};
    channel_.Query(VX_OID_802_11_QUERY_STA_CONFIG, sta);
    r.staConfig = DecodeConfigWords(sta);
    int32_t ofdm = ReadInt(reg_, key, regstr::kAdhocOfdm, static_cast<int32_t>(r.staConfig[kStaAdhocOfdm]));
    r.staConfig[kStaAdhocOfdm] = static_cast<uint32_t>(ofdm);
    AdhocRateChoice rates = AdhocRates(ofdm);
    r.desiredRates = rates.desired;
    r.rateSet = rates.rateSet;
  }

  r.preamble = static_cast<uint32_t>(num(regstr::kPreambleType));
  if (r.preamble == 1) r.preamble = 2;
  r.rtsThreshold = num(regstr::kUseRts) ? static_cast<uint32_t>(num(regstr::kRtsThresh)) : 2347;
  r.fragThreshold = num(regstr::kUseFrag) ? static_cast<uint32_t>(num(regstr::kFragThresh)) : 0;
  r.authMode = static_cast<uint32_t>(num(regstr::kAuthenType));
  if (r.authMode > kAuthWpa2Psk) r.authMode = kAuthOpen;
  r.encryption = static_cast<uint32_t>(num(regstr::kEncryption));

  ProfileExtension& ext = r.profileExtension;
  ext.leapEnabled = num(regstr::kLeapEnabled) != 0;
  if (ext.leapEnabled) ext.cckm = (r.ccx2Control & 2) != 0;
  ext.leapUserName = text(regstr::kLeapUserName);
  ext.leapPassword = text(regstr::kLeapPassword);
  if (ext.leapEnabled &&
      !((r.ccx2Control & 1) && (r.encryption == kEncTkipEnabled || r.encryption == kEncWepEnabled)))
    r.encryption = kEncWepEnabled;
  r.use8021X = !ext.leapEnabled && num(regstr::kUse8021x) != 0;

  if (facts_.supplicantAvailable && (r.authMode == kAuthWpa || r.authMode == kAuthWpa2 || r.use8021X)) {
    r.authenProtocol = static_cast<uint32_t>(num(regstr::kAuthenProtocol));
    r.tunnelProtocol = static_cast<uint32_t>(num(regstr::kTunnelProtocol));
    r.id = text(regstr::kId);
    r.password = text(regstr::kPassword);
    r.tunnelId = text(regstr::kTunnelId);
    r.tunnelPassword = text(regstr::kTunnelPassword);
    r.sessionResumption = num(regstr::kSessionResumption);
    r.passwordMode = static_cast<uint32_t>(num(regstr::kPasswordMode));
    auto cert = [&](const char* lenName, const char* dataName) {
      auto bytes = DecodeHex(text(dataName)).value_or(std::vector<uint8_t>{});
      auto len = ReadIntIfPresent(reg_, key, lenName);
      if (len && *len >= 0 && static_cast<size_t>(*len) < bytes.size())
        bytes.resize(static_cast<size_t>(*len));
      return bytes;
    };
    r.useClientCert = num(regstr::kUseClientCert) != 0;
    if (r.useClientCert) r.clientCert = cert(regstr::kClientCertLen, regstr::kClientCertData);
    r.useServerCert = num(regstr::kUseServerCert) != 0;
    if (r.useServerCert) r.serverCert = cert(regstr::kServerCertLen, regstr::kServerCertData);
    r.serverName = text(regstr::kServerName);
    r.nameRule = static_cast<uint32_t>(num(regstr::kNameRule));
    r.intermediateCert = static_cast<uint32_t>(num(regstr::kIntermediateCert));
  }

  if (r.authMode == kAuthWpaPsk || r.authMode == kAuthWpaNone || r.authMode == kAuthWpa2Psk) {
    r.psk = text(regstr::kWpaPsk);
    if (r.authMode == kAuthWpaNone) {
      std::optional<std::vector<uint8_t>> key32;
      if (r.psk.size() == 64) {
        key32 = DecodeHex(r.psk);
      } else if (r.psk.size() <= 63 && ssid.size() <= 32) {
        Psk derived = PassphraseToPsk(r.psk, ssid);
        key32 = std::vector<uint8_t>(derived.begin(), derived.end());
      }
      if (key32) r.wpaNoneKey = EncodeAddKey(kTransmitKeyBit, *key32);
    }
  } else if ((r.authMode == kAuthShared || r.encryption == kEncWepEnabled) && !ext.leapEnabled) {
    int32_t transmit = num(regstr::kWepKeyUse);
    for (size_t i = 0; i < 4; ++i) {
      std::string stored = text(regstr::kWepKey[i]);
      if (stored.size() < 2) continue;
      // A text of a length no key has cannot be decoded without reading past it: no key.
      auto material = WepKeyMaterial(stored);
      if (!material) continue;
      uint32_t index =
          static_cast<uint32_t>(i) | (transmit == static_cast<int32_t>(i) + 1 ? kTransmitKeyBit : 0);
      r.wepKey[i] = EncodeAddKey(index, *material);
    }
  }

  r.txPowerStep = static_cast<uint32_t>(num(regstr::kTxPower));
  if (r.networkType != kInfraAdhoc) {
    int32_t ps = num(regstr::kPsMode);
    r.powerMode = ps == 1 ? 2 : (ps == 2 ? 2 : 0);
    if (facts_.driverVersion > kDriverVersionWithPowerSaveLevel)
      r.acPowerCam = static_cast<uint32_t>(num(regstr::kAcPowerCam));
  } else {
    r.adhocFrequency = AdhocFrequencyForChannel(num(regstr::kChannel));
  }
  r.disassociateFirst = false;
  return r;
}

void StationLink::SetOidFromReg(bool advanced) {
  auto record = BuildActivationRecord(advanced);
  if (!record) return;
  if (QueueAction(Action::Activate(std::move(*record)))) ActionExec();
}

bool StationLink::QueueAction(Action action) {
  if (action.kind == ActionKind::Activate) {
    requeueSuppressed_ = false;
    lastActivation_ = action.record;
    if (hooks_.onNewActivation) hooks_.onNewActivation();
  }
  return queue_.Push(std::move(action));
}

void StationLink::QueueScan() {
  if (QueueAction(Action::Scan())) ActionExec();
}

bool StationLink::RequeueLastActivation() {
  if (!lastActivation_) return false;
  ActivationRecord copy = *lastActivation_;
  copy.bSetAdvance = false;
  requeueSuppressed_ = false;
  lastActivation_ = copy;
  return queue_.Push(Action::Activate(std::move(copy)));
}

void StationLink::ActionExec() {
  // A modal step inside an activation (the one-time password) lets timers and pages call back
  // in; the outer run carries on with whatever they queued.
  if (executing_) return;
  executing_ = true;
  if (scanPending_) {
    uint32_t returned = 0;
    // A failed query leaves the list as the driver left it: the last good list stays readable.
    channel_.OidQueryInformation(OID_802_11_BSSID_LIST, *bssidList_, returned);
    scanPending_ = false;
    if (!queue_.empty()) queue_.PopFront();
    if (hooks_.onScanListFetched) hooks_.onScanListFetched();
  }
  while (!queue_.empty()) {
    const Action& head = queue_.front();
    if (head.kind == ActionKind::Scan) {
      channel_.Set(OID_802_11_BSSID_LIST_SCAN, std::span<uint8_t>());
      scanPending_ = true;
      queue_.MarkHeadStarted();
      timers_.Kill(scanTimer_);
      scanTimer_ = timers_.Start(kScanTimerMs, [this](TimerId id) { OnTick(id); });
      break;
    }
    Action a = queue_.PopFront();
    switch (a.kind) {
      case ActionKind::Activate:
        Activate(a.record);
        break;
      case ActionKind::AssociateSsid: {
        wepError_ = false;
        channel_.Set(OID_802_11_SSID, EncodeSsid(a.ssid));
        if (wepArmed_) TakeWepBaseline();
        break;
      }
      case ActionKind::AssociateBssid: {
        wepError_ = false;
        channel_.Set(OID_802_11_BSSID, Bytes(a.bssid.begin(), a.bssid.end()));
        if (wepArmed_) TakeWepBaseline();
        break;
      }
      case ActionKind::Scan:
        break;
    }
  }
  executing_ = false;
}

void StationLink::Activate(ActivationRecord& r) {
  supplicant_.ConfigResumption(1);
  supplicant_.AuthenticateStop();
  supplicant_.ConfigWpa(false);
  supplicantInUse_ = false;
  dot1xAnswer_.reset();

  if (wepArmed_) KillWepTimer();
  if (r.disassociateFirst) channel_.Set(OID_802_11_DISASSOCIATE, std::span<uint8_t>());
  channel_.SetU32(OID_802_11_RELOAD_DEFAULTS, 0);
  channel_.SetU32(OID_802_11_INFRASTRUCTURE_MODE, r.networkType);
  channel_.SetU32(VX_OID_802_11_SET_PREAMBLE, r.networkType == kInfraAdhoc ? r.preamble : 2);
  channel_.SetU32(OID_802_11_RTS_THRESHOLD, r.rtsThreshold);
  channel_.SetU32(OID_802_11_FRAGMENTATION_THRESHOLD, r.fragThreshold);
  channel_.SetU32(OID_802_11_AUTHENTICATION_MODE, r.authMode);
  channel_.SetU32(OID_802_11_WEP_STATUS, r.encryption);
  channel_.SetU32(VX_OID_802_11_SET_TX_POWER, static_cast<uint32_t>(TxPowerPercent(r.txPowerStep)));
  supplicant_.Set8021xValues(5, 10, 5, 7);

  bool eapAuth = r.authMode == kAuthWpa || r.authMode == kAuthWpa2 ||
                 ((r.authMode == kAuthOpen || r.authMode == kAuthShared) && r.use8021X);
  if (facts_.supplicantAvailable && eapAuth) ConfigureDot1x(r);

  channel_.Set(VX_OID_802_11_SET_PROFILE_EXTENSION, EncodeProfileExtension(r.profileExtension));

  if (r.authMode == kAuthWpaPsk || r.authMode == kAuthWpa2Psk) {
    supplicantInUse_ = true;
    auto key = r.psk.size() == 64 ? DecodeHex(r.psk) : std::nullopt;
    if (key) {
      std::array<uint8_t, 32> k{};
      std::copy(key->begin(), key->end(), k.begin());
      supplicant_.ConfigWpaKey(k, r.ssid.Text());
    } else {
      supplicant_.ConfigWpaPassphrase(r.psk, r.ssid.Text());
    }
    supplicant_.Authenticate();
  } else if (r.authMode == kAuthWpaNone) {
    if (r.wpaNoneKey) channel_.Set(OID_802_11_ADD_KEY, *r.wpaNoneKey, 1);
    r.wpaNoneKey.reset();
  } else if (r.authMode == kAuthShared || r.encryption == kEncWepEnabled) {
    for (uint32_t i = 0; i < 4; ++i) {
      if (r.wepKey[i])
        channel_.Set(OID_802_11_ADD_KEY, *r.wepKey[i]);
      else
        channel_.Set(OID_802_11_REMOVE_KEY, EncodeRemoveKey(i));
      r.wepKey[i].reset();
    }
  }

  if (r.networkType != kInfraAdhoc) {
    channel_.SetU32(OID_802_11_POWER_MODE, r.powerMode);
    if (facts_.driverVersion > kDriverVersionWithPowerSaveLevel)
      channel_.SetU32(VX_OID_802_11_SET_POWER_SAVE_LEVEL, r.acPowerCam);
  } else {
    SendConfigurationFrequency(r.adhocFrequency);
  }

  if (r.bSetAdvance) {
    channel_.SetU32(VX_OID_802_11_SET_PHY_MODE, wirelessMode_);
    channel_.Set(VX_OID_802_11_SET_STA_CONFIG, EncodeConfigWords(r.staConfig));
    SendRegion(r.countryRegion);
    channel_.Set(OID_802_11_DESIRED_RATES, Bytes(r.desiredRates.begin(), r.desiredRates.end()));
    channel_.Set(VX_OID_802_11_SET_RATE_SET, EncodeRateSet(StationRateSet(wirelessMode_)));
    channel_.SetU32(VX_OID_802_11_SET_CCX2_CONTROL, r.ccx2Control);
  } else if (r.adhocRates) {
    channel_.Set(VX_OID_802_11_SET_STA_CONFIG, EncodeConfigWords(r.staConfig));
    SendRegion(facts_.regionWord);
    channel_.Set(OID_802_11_DESIRED_RATES, Bytes(r.desiredRates.begin(), r.desiredRates.end()));
    channel_.Set(VX_OID_802_11_SET_RATE_SET, EncodeRateSet(r.rateSet));
  } else {
    // Without a block seen from the driver there is nothing to send back; zeros would switch
    // off what the driver has on.
    if (lastStaConfig_) channel_.Set(VX_OID_802_11_SET_STA_CONFIG, EncodeConfigWords(*lastStaConfig_));
    SendRegion(facts_.regionWord);
    channel_.Set(VX_OID_802_11_SET_RATE_SET, EncodeRateSet(StationRateSet(wirelessMode_)));
  }

  if (r.useBssid) {
    SendConfigurationFrequency(r.adhocFrequency);
    channel_.Set(OID_802_11_BSSID, Bytes(r.bssid.begin(), r.bssid.end()));
  } else {
    channel_.Set(OID_802_11_SSID, EncodeSsid(r.ssid));
  }

  wepError_ = false;
  if ((r.authMode == kAuthOpen || r.authMode == kAuthShared) && r.encryption == kEncWepEnabled &&
      r.networkType == kInfraInfrastructure) {
    wepArmed_ = true;
    wepFirstEvaluation_ = true;
    TakeWepBaseline();
    StartWepTimer();
  } else {
    wepArmed_ = false;
  }
}

void StationLink::ConfigureDot1x(ActivationRecord& r) {
  supplicantInUse_ = true;
  std::string tunnelId = r.tunnelId;
  std::string tunnelPassword = r.tunnelPassword;
  if (r.authenProtocol == kMethodPeap && r.tunnelProtocol == kTunnelNeedingOneTimePassword &&
      r.passwordMode == 0 && hooks_.requestOneTimePassword) {
    if (std::optional<OneTimePassword> otp = hooks_.requestOneTimePassword(tunnelId)) {
      tunnelId = otp->identity;
      tunnelPassword = otp->password;
    }
  }
  if (r.authenProtocol == kMethodPeap || r.authenProtocol == kMethodTls || r.authenProtocol == kMethodTtls) {
    bool inRange = r.sessionResumption >= 0 && r.sessionResumption <= 4;
    supplicant_.ConfigResumption(inRange ? static_cast<uint32_t>(r.sessionResumption) + 1 : 1);
  }
  supplicant_.ConfigWpa(r.authMode == kAuthWpa || r.authMode == kAuthWpa2);
  Dot1xCredentials c;
  c.identity = r.id;
  if (r.useServerCert) c.caCertificate = r.serverCert;
  if (r.useClientCert) c.clientCertificate = r.clientCert;
  c.tunnelProtocol = r.tunnelProtocol;
  if (r.authenProtocol == kMethodMd5) {
    c.password = r.password;
  } else {
    c.tunnelIdentity = tunnelId;
    c.tunnelPassword = tunnelPassword;
  }
  c.serverSettings = r.serverName;
  const uint32_t method = MethodFromAuthenProtocol(r.authenProtocol);
  if (!UtilConfigCredentials(supplicant_, method, c, hooks_.toAnsi)) return;
  // A later request of the library is answered with exactly these, the one-time password included.
  dot1xAnswer_ = Dot1xAnswer{method, std::move(c)};
  supplicant_.Authenticate();
}

void StationLink::AnswerCredentialsAgain() {
  if (dot1xAnswer_)
    UtilConfigCredentials(supplicant_, dot1xAnswer_->method, dot1xAnswer_->credentials, hooks_.toAnsi);
}

void StationLink::SendRegion(uint32_t region) {
  if (!facts_.bgRegionChangeable && !facts_.aRegionChangeable) return;
  channel_.SetU32(VX_OID_802_11_SET_COUNTRY_REGION, region);
  if (hooks_.onRegionApplied) hooks_.onRegionApplied();
}

void StationLink::SendConfigurationFrequency(uint32_t frequency) {
  std::array<uint8_t, kConfigurationSize> buffer{};
  ConfigurationRecord config;
  if (channel_.Query(OID_802_11_CONFIGURATION, buffer)) config = DecodeConfiguration(buffer);
  config.dsConfig = frequency;
  channel_.Set(OID_802_11_CONFIGURATION, EncodeConfiguration(config));
}

void StationLink::TakeWepBaseline() {
  std::array<uint8_t, StatisticsRecord::kSize> stats{};
  channel_.Query(OID_802_11_STATISTICS, stats);
  wepBaseTx_ = DecodeStatistics(stats).transmittedFragmentCount;
  uint32_t rcv = 0;
  channel_.QueryU32(OID_GEN_RCV_OK, rcv);
  wepBaseRcv_ = rcv;
}

void StationLink::StartWepTimer() {
  timers_.Kill(wepTimer_);
  wepTimer_ = timers_.Start(kWepTimerMs, [this](TimerId id) { OnTick(id); });
}

void StationLink::KillWepTimer() {
  timers_.Kill(wepTimer_);
  wepTimer_ = 0;
}

void StationLink::EvaluateWepCheck() {
  uint64_t tx = wepBaseTx_;
  uint32_t rcv = wepBaseRcv_;
  std::array<uint8_t, StatisticsRecord::kSize> stats{};
  if (channel_.Query(OID_802_11_STATISTICS, stats)) tx = DecodeStatistics(stats).transmittedFragmentCount;
  channel_.QueryU32(OID_GEN_RCV_OK, rcv);
  if (wepFirstEvaluation_) {
    wepFirstEvaluation_ = false;
    // A counter that went backwards (driver reset) says nothing about the key.
    wepError_ = tx >= wepBaseTx_ && tx - wepBaseTx_ >= 10 && rcv == wepBaseRcv_;
    wepArmed_ = wepError_;
  } else if (rcv != wepBaseRcv_) {
    wepError_ = false;
    wepArmed_ = false;
  }
  wepBaseTx_ = tx;
  wepBaseRcv_ = rcv;
  if (!wepArmed_ && !wepError_) KillWepTimer();
}

void StationLink::OnLinkDown() {
  wepError_ = false;
  KillWepTimer();
  if (wepArmed_) {
    StartWepTimer();
    TakeWepBaseline();
  }
}

void StationLink::ScanTimerTick() {
  if (hooks_.oneTimePasswordOpen && hooks_.oneTimePasswordOpen()) return;
  timers_.Kill(scanTimer_);
  scanTimer_ = 0;
  ActionExec();
}

void StationLink::OnTick(TimerId id) {
  int timer = id == scanTimer_ ? 2 : (id == wepTimer_ ? 3 : 0);
  if (timer == 0) {
    timers_.Kill(id);
    return;
  }
  if (hooks_.onTimer) {
    hooks_.onTimer(timer);
    return;
  }
  if (timer == 2) {
    ScanTimerTick();
    return;
  }
  uint32_t media = kMediaDisconnected;
  std::array<uint8_t, 6> bssid{};
  channel_.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS, media);
  channel_.Query(OID_802_11_BSSID, bssid);
  bool linked = media == kMediaConnected && bssid != std::array<uint8_t, 6>{};
  if (!linked)
    OnLinkDown();
  else if (wepArmed_ || wepError_)
    EvaluateWepCheck();
}

void StationLink::Reset() {
  queue_.Clear();
  lastActivation_.reset();
  dot1xAnswer_.reset();
  scanPending_ = false;
  timers_.Kill(scanTimer_);
  scanTimer_ = 0;
}

}  // namespace vx
