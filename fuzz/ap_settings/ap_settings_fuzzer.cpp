// Arbitrary access point values in the working copy and arbitrary driver answers: the channel
// check, the activation and the opening of the configuration, access control and WDS pages must
// neither crash nor read outside their data.
//
// Input: records of [index u8][type u8][length u16 LE][data], until the input ends. Indices below
// the name table set a registry value of that name; indices from 200 on give the answer of one
// driver query.
#include <cstdint>
#include <map>
#include <span>

#include "base/byte_reader.h"
#include "driver/oid_codes.h"
#include "fakes/fake_device.h"
#include "fakes/fake_registry.h"
#include "fakes/scripted_ui.h"
#include "fakes/virtual_clock.h"
#include "resources/strings/string_tables.h"
#include "softap/acl_wds/mac_list_page.h"
#include "softap/config/ap_activation.h"
#include "softap/config/config_page.h"

namespace {

using namespace vx;

constexpr const char* kRoot = "SYSTEM\\Adapter";
constexpr const char* kNames[] = {
    "SSID", "WirelessMode", "TransRate", "TXPower", "Channel", "AutoChannelSelect", "BGProtection", "PreambleType",
    "BeaconPeriod", "RtsThresh", "FragThresh", "TXBurst", "TurboRate", "NoForwarding", "HideSSID", "ShortSlot",
    "AuthenType", "Encryption", "WPAPSK", "RekeyMethod", "RekeyInterval", "RadiusIP", "RadiusPort", "RadiusKey",
    "WEPKeyUse", "WEPKey1", "WEPKey2", "WEPKey3", "WEPKey4", "WEPKey1Type", "WEPKey2Type", "WEPKey3Type",
    "WEPKey4Type", "AccessControlPolicy", "AccessControlList", "WdsEnable", "WdsList"};
constexpr uint32_t kQueries[] = {
    VX_OID_802_11_QUERY_COUNTRY_REGION, VX_OID_802_11_QUERY_PHY_MODE, OID_802_11_CONFIGURATION,
    VX_OID_802_11_QUERY_PREAMBLE,       OID_802_11_RTS_THRESHOLD,     OID_802_11_FRAGMENTATION_THRESHOLD,
    VX_OID_802_11_QUERY_AP_CONFIG,      VX_OID_802_11_QUERY_RADIUS_DATA, VX_OID_802_11_QUERY_REKEY_INFO,
    OID_802_3_CURRENT_ADDRESS,          OID_802_11_NETWORK_TYPES_SUPPORTED};
constexpr uint32_t kTypes[] = {kRegSz, kRegMultiSz, kRegDword, kRegBinary};

RegValue MakeValue(uint32_t type, std::span<const uint8_t> data) {
  std::string text(data.begin(), data.end());
  if (type == kRegMultiSz) {
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
  if (type == kRegDword) {
    ByteReader r(data);
    return RegValue::Dword(r.U32());
  }
  if (type == kRegBinary) return RegValue::Binary({data.begin(), data.end()});
  return RegValue::Sz(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeRegistry reg;
  reg.CreateKey(Hklm(kRoot));
  reg.CreateKey(Hklm(std::string(kRoot) + "\\ApDefault"));
  std::map<uint32_t, std::vector<uint8_t>> answers;
  ByteReader in(std::span<const uint8_t>(data, size));
  while (in.remaining() >= 4) {
    uint8_t index = in.U8();
    uint8_t type = in.U8();
    uint16_t length = in.U16();
    auto body = in.Span(std::min<size_t>(length, in.remaining()));
    if (index < std::size(kNames)) {
      RegValue v = MakeValue(kTypes[type % std::size(kTypes)], body);
      reg.SetValue(Hklm(kRoot), kNames[index], v);
      reg.SetValue(Hklm(std::string(kRoot) + "\\ApDefault"), kNames[index], v);
    } else if (index >= 200 && index - 200u < std::size(kQueries)) {
      answers[kQueries[index - 200]].assign(body.begin(), body.end());
    }
  }

  FakeDevice device;
  device.openable["dev"] = true;
  device.handler = [&](const FakeDevice::Request& r, std::span<uint8_t> out, uint32_t& n) {
    auto it = answers.find(r.oid);
    if (it == answers.end()) return !(r.oid & kOidSetBit) ? false : true;
    size_t k = std::min(out.size(), it->second.size());
    std::copy(it->second.begin(), it->second.begin() + static_cast<long>(k), out.begin());
    n = static_cast<uint32_t>(k);
    return true;
  };
  VirtualClock clock;
  OidChannel channel(device, clock, Program::AccessPoint);
  channel.SetDevicePath("dev");
  ApActivation activation(reg, channel, [] { return std::string(kRoot); });
  activation.ReadBands();
  activation.CheckChannel();
  activation.ActivateFromRegistry();

  ScriptedUi ui;
  ApPageContext ctx{reg, channel, activation, ui, EnglishStrings(), [] { return std::string(kRoot); }, false};
  CConfigPage config(ctx);
  config.OnInit();
  config.Apply();
  CAccessControlPage acl(ctx);
  acl.OnInit();
  acl.Apply();
  CWdsPage wds(ctx);
  wds.OnInit();
  wds.Apply();
  return 0;
}
