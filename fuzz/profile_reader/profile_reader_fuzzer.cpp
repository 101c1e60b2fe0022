// Arbitrary registry values under a profile key and the adapter key: the profile reader, the
// store's write-read round trip, activation from the live values and the access point copy must
// neither crash nor read outside their data.
//
// Input: records of [name index u8][type u8][length u16 LE][data], until the input ends.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/byte_reader.h"
#include "common/settings/ap_defaults.h"
#include "common/settings/registry_values.h"
#include "fakes/fake_device.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_supplicant.h"
#include "fakes/virtual_clock.h"
#include "station/profiles/profile_store.h"
#include "station/profiles/station_link.h"

namespace {

using namespace vx;

constexpr const char* kRoot = "SYSTEM\\Adapter";
constexpr const char* kNames[] = {
    "SSID", "Channel", "NetworkType", "PreambleType", "ACPowerCam", "PSMode", "TXPower", "UseRts", "RtsThresh",
    "UseFrag", "FragThresh", "AuthenType", "Encryption", "LeapEnabled", "LeapUserName", "LeapPassword", "WPAPSK",
    "WEPKeyUse", "WEPKey1Type", "WEPKey2Type", "WEPKey3Type", "WEPKey4Type", "WEPKey1", "WEPKey2", "WEPKey3",
    "WEPKey4", "Use8021X", "AuthenProtocol", "TunnelProtocol", "ID", "Password", "TunnelID", "TunnelPassword",
    "SessionResumption", "PasswordMode", "UseClientCert", "UseServerCert", "ClientCertLen", "ClientCertData",
    "ServerCertLen", "ServerCertData", "ServerName", "NameRule", "IntermediateCert", "WirelessMode", "TXBurst",
    "TurboRate", "BGProtection", "ShortSlot", "AdhocOfdm", "TransRate", "CountryRegion", "CountryRegionABand",
    "CCX2Control", "AccessControlList", "WdsList", "Unknown"};
constexpr uint32_t kTypes[] = {kRegSz, kRegExpandSz, kRegBinary, kRegDword, kRegMultiSz, kRegNone};

RegValue MakeValue(uint32_t type, std::span<const uint8_t> data) {
  std::string text(data.begin(), data.end());
  switch (type) {
    case kRegSz:
    case kRegExpandSz: {
      RegValue v = RegValue::Sz(text);
      v.type = type;
      return v;
    }
    case kRegDword: {
      ByteReader r(data);
      return RegValue::Dword(r.U32());
    }
    case kRegMultiSz: {
      std::vector<std::string> list;
      std::string cur;
      for (char c : text) {
        if (c == '\0') {
          list.push_back(cur);
          cur.clear();
        } else {
          cur.push_back(c);
        }
      }
      if (!cur.empty()) list.push_back(cur);
      return RegValue::MultiSz(list);
    }
    default:
      return RegValue::Binary(std::vector<uint8_t>(data.begin(), data.end()), type);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeRegistry reg;
  RegKey adapter = Hklm(kRoot);
  reg.CreateKey(adapter);
  ProfileStore store(reg, [] { return std::string(kRoot); });
  RegKey profile = store.ProfileKey("P");
  reg.CreateKey(profile);

  ByteReader in(std::span<const uint8_t>(data, size));
  while (in.remaining() >= 4) {
    uint8_t name = in.U8();
    uint8_t type = in.U8();
    uint16_t length = in.U16();
    auto bytes = in.Span(std::min<size_t>(length, in.remaining()));
    RegValue v = MakeValue(kTypes[type % std::size(kTypes)], bytes);
    const char* n = kNames[name % std::size(kNames)];
    reg.SetValue(profile, n, v);
    reg.SetValue(adapter, n, v);
  }

  // What the reader makes of the values survives a write and a second read unchanged.
  auto first = store.ReadProfile("P");
  if (!first) std::abort();
  StationProfile copy = *first;
  copy.name = "Q";
  if (!store.WriteProfile(copy)) std::abort();
  auto second = store.ReadProfile("Q");
  if (!second) std::abort();
  StationProfile expected = copy;
  if (expected.leapEnabled) expected.use8021x = 0;  // never stored with LEAP
  if (!(*second == expected)) std::abort();

  // Activation from the same values, with every optional path open.
  FakeDevice device;
  device.openable["dev"] = true;
  VirtualClock clock;
  OidChannel channel(device, clock, Program::Station);
  channel.SetDevicePath("dev");
  FakeSupplicant supplicant;
  StationLink link(reg, channel, clock, supplicant, [] { return std::string(kRoot); });
  link.Facts().supplicantAvailable = true;
  link.Facts().has5GHz = (size & 1) != 0;
  link.Facts().driverVersion = 0x0501;
  link.Hooks().requestOneTimePassword = [](const std::string& id) { return OneTimePassword{id, "otp"}; };
  link.SetOidFromReg(true);
  link.SetOidFromReg(false);
  link.ActionExec();

  ApSettingsStore ap(reg, [] { return std::string(kRoot); });
  reg.CreateKey(ap.MasterKey());
  CopyKeyValues(reg, profile, ap.MasterKey());
  ap.Apply();
  return 0;
}
