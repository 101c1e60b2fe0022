// Station profiles: named sets of REG_SZ values under the adapter key's "Profile\Station"
// subkeys, and the live copy of the active one in the adapter key itself.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/ui.h"

namespace vx {

class AdapterDiscovery;

// One profile as the editor holds it. Defaults are the editor's; a value absent from the
// registry keeps them.
struct StationProfile {
  std::string name;  // the subkey name; not a value
  std::string ssid;
  int32_t channel = 1;
  int32_t networkType = 1;   // 0 ad hoc, 1 infrastructure
  int32_t preambleType = 2;  // 0 long, 2 automatic
  int32_t acPowerCam = 0;
  int32_t psMode = 0;  // 0 CAM, 1 power saving
  int32_t txPower = 0;
  int32_t useRts = 0;
  int32_t rtsThresh = 2347;
  int32_t useFrag = 0;
  int32_t fragThresh = 2346;
  int32_t authenType = 0;
  int32_t encryption = 1;
  int32_t leapEnabled = 0;
  std::string leapUserName;
  std::string leapPassword;
  std::string wpaPsk;
  int32_t wepKeyUse = 0;                // 0..3 here; stored as 1..4
  std::array<int32_t, 4> wepKeyType{};  // kWepKeyHex or kWepKeyAscii
  std::array<std::string, 4> wepKey;    // as entered: hex digits or characters by type
  int32_t use8021x = 0;
  int32_t authenProtocol = 0;
  int32_t tunnelProtocol = 3;
  std::string id;
  std::string password;
  std::string tunnelId;
  std::string tunnelPassword;
  int32_t sessionResumption = 0;
  int32_t passwordMode = 1;
  int32_t useClientCert = 0;
  int32_t useServerCert = 0;
  std::vector<uint8_t> clientCert;
  std::vector<uint8_t> serverCert;
  std::string serverName;
  int32_t nameRule = 0;
  int32_t intermediateCert = 0;
  // The advanced page's values.
  int32_t wirelessMode = 0;
  int32_t txBurst = 0;
  int32_t turboRate = 0;
  int32_t bgProtection = 0;
  int32_t shortSlot = 0;
  int32_t adhocOfdm = 0;
  int32_t transRate = 0;

  bool operator==(const StationProfile&) const = default;
};

// Registry value names of the profile record.
namespace regstr {
inline constexpr const char* kCurProfile = "CurProfile";
inline constexpr const char* kSsid = "SSID";
inline constexpr const char* kChannel = "Channel";
inline constexpr const char* kNetworkType = "NetworkType";
inline constexpr const char* kPreambleType = "PreambleType";
inline constexpr const char* kAcPowerCam = "ACPowerCam";
inline constexpr const char* kPsMode = "PSMode";
inline constexpr const char* kTxPower = "TXPower";
inline constexpr const char* kUseRts = "UseRts";
inline constexpr const char* kRtsThresh = "RtsThresh";
inline constexpr const char* kUseFrag = "UseFrag";
inline constexpr const char* kFragThresh = "FragThresh";
inline constexpr const char* kAuthenType = "AuthenType";
inline constexpr const char* kEncryption = "Encryption";
inline constexpr const char* kLeapEnabled = "LeapEnabled";
inline constexpr const char* kLeapUserName = "LeapUserName";
inline constexpr const char* kLeapPassword = "LeapPassword";
inline constexpr const char* kWpaPsk = "WPAPSK";
inline constexpr const char* kWepKeyUse = "WEPKeyUse";
inline constexpr std::array<const char*, 4> kWepKeyType = {"WEPKey1Type", "WEPKey2Type", "WEPKey3Type",
                                                           "WEPKey4Type"};
inline constexpr std::array<const char*, 4> kWepKey = {"WEPKey1", "WEPKey2", "WEPKey3", "WEPKey4"};
inline constexpr const char* kUse8021x = "Use8021X";
inline constexpr const char* kAuthenProtocol = "AuthenProtocol";
inline constexpr const char* kTunnelProtocol = "TunnelProtocol";
inline constexpr const char* kId = "ID";
inline constexpr const char* kPassword = "Password";
inline constexpr const char* kTunnelId = "TunnelID";
inline constexpr const char* kTunnelPassword = "TunnelPassword";
inline constexpr const char* kSessionResumption = "SessionResumption";
inline constexpr const char* kPasswordMode = "PasswordMode";
inline constexpr const char* kUseClientCert = "UseClientCert";
inline constexpr const char* kUseServerCert = "UseServerCert";
inline constexpr const char* kClientCertLen = "ClientCertLen";
inline constexpr const char* kClientCertData = "ClientCertData";
inline constexpr const char* kServerCertLen = "ServerCertLen";
inline constexpr const char* kServerCertData = "ServerCertData";
inline constexpr const char* kServerName = "ServerName";
inline constexpr const char* kNameRule = "NameRule";
inline constexpr const char* kIntermediateCert = "IntermediateCert";
inline constexpr const char* kWirelessMode = "WirelessMode";
inline constexpr const char* kTxBurst = "TXBurst";
inline constexpr const char* kTurboRate = "TurboRate";
inline constexpr const char* kBgProtection = "BGProtection";
inline constexpr const char* kShortSlot = "ShortSlot";
inline constexpr const char* kAdhocOfdm = "AdhocOfdm";
inline constexpr const char* kTransRate = "TransRate";
inline constexpr const char* kCountryRegion = "CountryRegion";
inline constexpr const char* kCountryRegionABand = "CountryRegionABand";
inline constexpr const char* kCcx2Control = "CCX2Control";
}  // namespace regstr

inline constexpr size_t kMaxProfileNameLength = 32;
inline constexpr const char* kProfileNamePrefix = "PROF";  // string table entry 189
inline constexpr const char* kAutoSecuSuffix = "_AutoSecu";

// Leading and trailing blanks removed.
std::string TrimProfileName(std::string_view name);

enum class NameCheck { Ok, Empty, Invalid, Duplicate };

// The profile of a network for Connect and the one-button set-up.
struct NetworkProfileName {
  std::string name;  // the existing profile's stored spelling, or the name a new one gets
  bool exists = false;
};

// Whether an SSID can be a profile name as it stands: UTF-8 without control characters, no '\',
// no blanks at either end, not empty.
bool SsidIsProfileName(std::string_view ssid);
// The name made for an SSID that cannot be one: the SSID as the UI shows it (`shown`), each '\'
// replaced by '_', blanks trimmed, cut to `maxCharacters`; for an SSID of blanks only, the escapes
// of its bytes.
std::string ProfileNameFromSsid(std::string_view ssid, const StringTable& shown, size_t maxCharacters);

// A profile as stored: every value of the record in record order, as REG_SZ text.
std::vector<RegNamedValue> ProfileValues(const StationProfile& p);

// Results of ProfileExists, numbered as the callers test them.
enum class ProfileLookup { Found = 0, NotFound = 1, NoContainer = 2 };

// The proposed name of a new profile: the prefix and one more than the highest number after the
// prefix among `names` that begin with it in any case (non-numeric rest counts as 0).
std::string NextProfileName(const std::vector<std::string>& names,
                            std::string_view prefix = kProfileNamePrefix);

class ProfileStore {
 public:
  using RootSource = std::function<std::string()>;
  // Starts activation of the live values (the link's SetOidFromReg).
  using ActivationHook = std::function<void(bool advanced)>;

  ProfileStore(RegistryPort& reg, RootSource root, ActivationHook activate = {});
  ProfileStore(RegistryPort& reg, const AdapterDiscovery& discovery, ActivationHook activate = {});

  void SetActivationHook(ActivationHook activate) { activate_ = std::move(activate); }

  RegKey AdapterKey() const;
  RegKey ContainerKey() const;
  RegKey ProfileKey(std::string_view name) const;

  // Subkey names of the container in enumeration order; empty when it cannot be opened.
  std::vector<std::string> ListProfiles();
  // nullopt only when the profile key cannot be opened.
  std::optional<StationProfile> ReadProfile(std::string_view name);
  // Writes every value in record order under profile.name (trimmed), all or none: false, with the
  // key as it was, when a write is refused, the key cannot be created or the name is unusable.
  bool WriteProfile(const StationProfile& profile);
  // "SSID" of a profile, empty when the key or value is missing.
  std::string ProfileSsid(std::string_view name);
  ProfileLookup ProfileExists(std::string_view name);
  // Whether `name` (trimmed) may be stored: not empty, usable as a key name, and not the name of
  // another profile. `openingName` is the name the editor opened, which the new name may keep in
  // any case.
  NameCheck CheckProfileName(std::string_view name, std::string_view openingName = {});
  // Deletes the profile with all its values and subkeys. When the container cannot be opened,
  // `error` receives the text for the error box and nothing is deleted.
  bool DeleteProfile(std::string_view name, std::string* error = nullptr);
  // Makes a profile the active one: "CurProfile", the copy into the adapter key, activation. The
  // live record is replaced whole (defaults for what the profile lacks); when a write is refused
  // the live values stay as they were and nothing is activated.
  bool SelectProfile(std::string_view name, bool advanced);
  // Live values back to joining any open infrastructure network with no credential left, in the
  // adapter key and its "Default" copy; the caller starts activation. All or none.
  bool ClearLiveProfile();
  std::string CurrentProfileName();
  // The profile of the network `ssid` (raw bytes) with `suffix` ("_AutoSecu" or none). An SSID
  // that is a usable name names it (ignoring case, as profile names compare). Any other gets a
  // derived name; different networks deriving the same name are told apart by " (2)", " (3)"...,
  // and only a profile whose "SSID" holds exactly these bytes is the network's (whatever its name,
  // as long as it ends in `suffix`: a name derived under another UI language differs). Empty name
  // when no free name is left.
  NetworkProfileName ProfileForNetwork(std::string_view ssid, const StringTable& shown,
                                       std::string_view suffix = {});

 private:
  RegistryPort& reg_;
  RootSource root_;
  ActivationHook activate_;
};

}  // namespace vx
