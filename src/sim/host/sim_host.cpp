#include "sim/host/sim_host.h"

#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "sim/protocol/host_protocol.h"
#include "sim/world/world_json.h"

namespace vx::sim {
namespace {

using nlohmann::json;

std::vector<uint8_t> ErrorReply(const std::string& text) {
  ByteWriter w;
  w.U8(kReplyError);
  WriteString(w, text);
  return w.Take();
}

ByteWriter OkReply() {
  ByteWriter w;
  w.U8(kReplyOk);
  return w;
}

std::string Hex32(uint32_t v) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%08X", v);
  return text;
}

json StateJson(const AdapterState& s) {
  json j;
  j["plugged"] = s.plugged;
  j["opMode"] = s.opMode;
  j["softwareRadio"] = s.softwareRadioOn;
  j["hardwareRadio"] = s.hardwareRadioOn;
  j["associated"] = s.associated;
  j["wepMismatch"] = s.wepMismatch;
  j["ssid"] = s.ssid;
  j["ssidHex"] = EncodeHex(std::vector<uint8_t>(s.ssid.begin(), s.ssid.end()));  // exact, when not UTF-8
  j["bssid"] = FormatMac(s.bssid, ':');
  j["channel"] = s.channel;
  j["infrastructureMode"] = s.infrastructureMode;
  j["authMode"] = s.authMode;
  j["encryption"] = s.encryption;
  j["linkEvent"] = s.linkEvent;
  j["phyMode"] = s.phyMode;
  j["countryRegion"] = s.countryRegion;
  j["rssi"] = s.rssi;
  j["txFrames"] = s.txFrames;
  j["rxFrames"] = s.rxFrames;
  j["ticks"] = s.ticks;
  j["stations"] = json::array();
  for (const auto& m : s.associatedStations) j["stations"].push_back(FormatMac(m, ':'));
  return j;
}

// Members of a control command, read without exceptions.
const json* Member(const json& j, const char* key) { return j.contains(key) ? &j[key] : nullptr; }
bool GetInt(const json& j, const char* key, long long& out) {
  const json* m = Member(j, key);
  if (!m || !m->is_number_integer()) return false;
  out = m->get<long long>();
  return true;
}
bool GetBool(const json& j, const char* key, bool& out) {
  const json* m = Member(j, key);
  if (!m || !m->is_boolean()) return false;
  out = m->get<bool>();
  return true;
}
bool GetString(const json& j, const char* key, std::string& out) {
  const json* m = Member(j, key);
  if (!m || !m->is_string()) return false;
  out = m->get<std::string>();
  return true;
}

std::string Dump(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }
std::string Fail(const std::string& error) { return Dump({{"ok", false}, {"error", error}}); }

// Current time as a Windows FILETIME, so event times read as today's.
uint64_t NowFiletime() {
  using namespace std::chrono;
  auto s = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
  return (static_cast<uint64_t>(s) + 11644473600ull) * 10000000ull;
}

}  // namespace

SimHost::SimHost(World world, HostOptions options)
    : options_(std::move(options)), server_([this](Socket& s) { Serve(s); }) {
  std::vector<VirtualAdapter*> raw;
  std::vector<DevicePort*> ports;
  for (const AdapterHardware& hw : options_.adapters) {
    adapters_.push_back(std::make_unique<VirtualAdapter>(hw, world));
    adapters_.back()->SetClockBase(NowFiletime());
    raw.push_back(adapters_.back().get());
    ports.push_back(adapters_.back().get());
  }
  ports.push_back(&bridge_);
  router_ = std::make_unique<DeviceRouter>(ports);
  supplicant_ = std::make_unique<SimSupplicant>(raw);
  ipInfo_ = std::make_unique<SimIpInfo>(raw);
  setup_ = std::make_unique<SimDeviceSetup>(raw);
}

SimHost::~SimHost() { Stop(); }

bool SimHost::Start() {
  if (!server_.Start(options_.port)) {
    error_ = "cannot listen on 127.0.0.1:" + std::to_string(options_.port);
    return false;
  }
  if (options_.autoSecurity) {
    uint16_t port = static_cast<uint16_t>(options_.autoSecurityPort);
    if (options_.autoSecurityPort < 0)
      port = adapters_.empty() ? 1500 : adapters_[0]->GetWorld().autoSecurityPort;
    autoSecurity_ = std::make_unique<TcpServer>([this](Socket& s) { ServeAutoSecurity(s); });
    if (!autoSecurity_->Start(port)) {
      error_ = "cannot listen on 127.0.0.1:" + std::to_string(port) + " for the one-button security service";
      server_.Stop();
      return false;
    }
  }
  if (options_.tickThread)
    ticker_ = std::thread([this] {
      auto next = std::chrono::steady_clock::now();
      while (!stop_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (std::chrono::steady_clock::now() < next + std::chrono::seconds(1)) continue;
        next += std::chrono::seconds(1);
        std::lock_guard lock(worldMutex_);
        for (auto& a : adapters_) a->Tick();
      }
    });
  return true;
}

void SimHost::Stop() {
  stop_ = true;
  if (ticker_.joinable()) ticker_.join();
  server_.Stop();
  if (autoSecurity_) autoSecurity_->Stop();
}

void SimHost::Serve(Socket& client) {
  std::vector<uint8_t> request;
  while (true) {
    uint32_t announced = 0;
    FrameResult r = ReadFrame(client, request, announced, &stop_);
    if (r == FrameResult::TooLarge) {
      // The stream cannot be resynchronised after a refused frame: say why and close.
      auto reply = ErrorReply("frame of " + std::to_string(announced) + " bytes exceeds the limit of " +
                              std::to_string(kMaxFrame) + " bytes");
      WriteFrame(client, reply);
      return;
    }
    if (r != FrameResult::Ok) return;
    if (!WriteFrame(client, Handle(request))) return;
  }
}

std::vector<uint8_t> SimHost::Handle(std::span<const uint8_t> request) {
  ByteReader r(request);
  uint8_t command = r.U8();
  if (!r.ok()) return ErrorReply("empty request");
  if (command == kCmdControl) {  // Control takes the lock itself
    std::string text = ReadString(r);
    if (!r.ok() || r.remaining()) return ErrorReply("malformed control request");
    ByteWriter w = OkReply();
    WriteString(w, Control(text));
    return w.Take();
  }
  std::lock_guard lock(worldMutex_);
  switch (command) {
    case kCmdDeviceOpen: {
      std::string path = ReadString(r, 1024);
      if (!r.ok() || r.remaining()) return ErrorReply("malformed device open request");
      auto h = router_->Open(path);
      ByteWriter w = OkReply();
      w.U8(h ? 1 : 0).U32(router_->LastError());
      // A card pulled out between the program's open and its request.
      for (auto& a : adapters_)
        if (h && EqualsIgnoreCase(path, a->DevicePath()) && unplugAfterOpen_.erase(a.get())) a->Unplug();
      return w.Take();
    }
    case kCmdDeviceControl: {
      std::string path = ReadString(r, 1024);
      uint32_t ioctl = r.U32();
      std::vector<uint8_t> in = ReadBlob(r, 1024);
      std::vector<uint8_t> out = ReadBlob(r, kMaxFrame - 64);
      if (!r.ok() || r.remaining()) return ErrorReply("malformed device control request");
      // As the real device: opened for this one request and closed again.
      auto h = router_->Open(path);
      if (!h) return OkReply().U8(0).U32(0).U32(router_->LastError()).Take();
      uint32_t returned = 0;
      bool ok = h->Control(ioctl, in, out, returned);
      uint32_t error = ok ? 0 : router_->LastError();
      for (auto& a : adapters_)
        if (EqualsIgnoreCase(path, a->DevicePath()) && !ok) error = a->LastError();
      ByteWriter w = OkReply();
      w.U8(ok ? 1 : 0).U32(returned).U32(error);
      WriteBlob(w, out);
      return w.Take();
    }
    case kCmdEnumerate: {
      std::vector<NetDevice> devices;
      bool ok = setup_->EnumerateNetDevices(devices);
      ByteWriter w = OkReply();
      w.U8(ok ? 1 : 0).U32(static_cast<uint32_t>(devices.size()));
      for (const NetDevice& d : devices) {
        for (const std::string* s :
             {&d.hardwareId, &d.driverKey, &d.friendlyName, &d.description, &d.location, &d.manufacturer})
          WriteString(w, *s);
        w.U8(d.netCfgInstanceId ? 1 : 0);
        WriteString(w, d.netCfgInstanceId.value_or(""));
      }
      return w.Take();
    }
    case kCmdIpInfo: {
      std::vector<AdapterIpInfo> list;
      bool ok = ipInfo_->GetAdapters(list);
      ByteWriter w = OkReply();
      w.U8(ok ? 1 : 0).U32(static_cast<uint32_t>(list.size()));
      for (const AdapterIpInfo& a : list) {
        for (const std::string* s : {&a.adapterName, &a.address, &a.mask, &a.gateway, &a.dhcpServer})
          WriteString(w, *s);
        w.U8(a.dhcpEnabled ? 1 : 0);
        WriteString(w, std::string(a.hardwareAddress.begin(), a.hardwareAddress.end()));
      }
      return w.Take();
    }
    case kCmdSupplicant:
      return Supplicant(r);
    case kCmdCertificates: {
      uint8_t code = r.U8();
      if (!r.ok() || r.remaining() || (code != kStoreMy && code != kStoreRoot))
        return ErrorReply("malformed certificates request");
      // The world a "load" installed last: every adapter holds the same one.
      World world = adapters_.empty() ? World{} : adapters_[0]->GetWorld();
      const CertificateStore& store = code == kStoreMy ? world.personalCertificates : world.rootCertificates;
      ByteWriter w = OkReply();
      w.U8(store.readable ? 1 : 0).U32(store.readable ? static_cast<uint32_t>(store.certificates.size()) : 0);
      if (store.readable)
        for (const Certificate& c : store.certificates) {
          for (const std::string* s : {&c.issuedTo, &c.issuedBy, &c.friendlyName}) WriteString(w, *s);
          w.U16(c.year).U8(c.month).U8(c.day);
          WriteBlob(w, c.sha1);
        }
      return w.Take();
    }
    default:
      return ErrorReply("unknown command " + std::to_string(command));
  }
}

std::vector<uint8_t> SimHost::Supplicant(ByteReader& r) {
  uint8_t call = r.U8();
  auto text = [&] { return ReadString(r, 4096); };
  auto hash = [&] { return ReadBlob(r, 4096); };
  auto tunnel = [&] {
    TunnelCredentials c;
    c.identity = text();
    c.caCertificate = hash();
    c.clientCertificate = hash();
    c.tunnelProtocol = r.U32();
    c.tunnelIdentity = text();
    c.tunnelPassword = text();
    c.serverSettings = text();
    return c;
  };
  bool result = true;
  SupplicantEvent event;
  SimSupplicant& s = *supplicant_;
  // Arguments are decoded completely before the call, so a malformed request changes nothing.
  switch (call) {
    case kSupOpenGlobal: {
      std::string key = text();
      if (!r.ok()) break;
      result = s.OpenGlobal(key);
      break;
    }
    case kSupBindAdapter: {
      MacAddress mac{};
      r.Bytes(mac);
      if (!r.ok()) break;
      result = s.BindAdapter(mac);
      break;
    }
    case kSupConfigResumption: {
      uint32_t v = r.U32();
      if (r.ok()) s.ConfigResumption(v);
      break;
    }
    case kSupAuthenticateStop:
      s.AuthenticateStop();
      break;
    case kSupConfigWpa: {
      uint8_t v = r.U8();
      if (r.ok()) s.ConfigWpa(v != 0);
      break;
    }
    case kSupSet8021xValues: {
      uint32_t a = r.U32(), b = r.U32(), c = r.U32(), d = r.U32();
      if (r.ok()) s.Set8021xValues(a, b, c, d);
      break;
    }
    case kSupConfigLeap:
    case kSupConfigMd5: {
      std::string id = text(), pw = text();
      if (!r.ok()) break;
      if (call == kSupConfigLeap)
        s.ConfigLeap(id, pw);
      else
        s.ConfigMd5(id, pw);
      break;
    }
    case kSupConfigPeap:
    case kSupConfigTtls: {
      TunnelCredentials c = tunnel();
      if (!r.ok()) break;
      if (call == kSupConfigPeap)
        s.ConfigPeap(c);
      else
        s.ConfigTtls(c);
      break;
    }
    case kSupConfigTls: {
      std::string id = text();
      CertificateHash ca = hash(), client = hash();
      std::string server = text();
      if (r.ok()) s.ConfigTls(id, ca, client, server);
      break;
    }
    case kSupConfigWpaPassphrase: {
      std::string p = text(), ssid = text();
      if (r.ok()) s.ConfigWpaPassphrase(p, ssid);
      break;
    }
    case kSupConfigWpaKey: {
      std::array<uint8_t, 32> key{};
      r.Bytes(key);
      std::string ssid = text();
      if (r.ok()) s.ConfigWpaKey(key, ssid);
      break;
    }
    case kSupAuthenticate:
      s.Authenticate();
      break;
    case kSupQuery:
      event = s.Query();
      break;
    case kSupRelease:
      s.Release();
      break;
    default:
      return ErrorReply("unknown supplicant call " + std::to_string(call));
  }
  if (!r.ok() || r.remaining()) return ErrorReply("malformed supplicant call " + std::to_string(call));
  return OkReply().U8(result ? 1 : 0).U32(static_cast<uint32_t>(event.kind)).U32(event.number).Take();
}

std::string SimHost::Control(const std::string& text) {
  json j = json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) return Fail("the control request is not a JSON object");
  std::string cmd;
  if (!GetString(j, "cmd", cmd)) return Fail("the control request has no \"cmd\" text");
  std::lock_guard lock(worldMutex_);
  long long index = 0;
  if (j.contains("adapter") &&
      (!GetInt(j, "adapter", index) || index < 0 || index >= (long long)adapters_.size()))
    return Fail("\"adapter\" must be an index below " + std::to_string(adapters_.size()));
  VirtualAdapter& a = *adapters_[static_cast<size_t>(index)];
  std::string name;
  bool flag = false;
  long long number = 0;

  if (cmd == "load") {
    WorldLoad load;
    std::string path;
    if (GetString(j, "path", path))
      load = LoadWorldFile(path);
    else if (const json* w = Member(j, "world"))
      load = ParseWorldJson(Dump(*w));
    else
      return Fail("load needs \"path\" or \"world\"");
    if (!load.ok) return Fail(load.error);
    for (auto& ad : adapters_) ad->SetWorld(load.world);
    return Dump({{"ok", true}});
  }
  if (cmd == "world")
    return Dump({{"ok", true}, {"world", json::parse(WorldToJson(a.GetWorld()), nullptr, false)}});
  if (cmd == "unplug" || cmd == "replug") {
    bool afterOpen = false;
    if (cmd == "unplug" && GetBool(j, "afterOpen", afterOpen) && afterOpen) {
      unplugAfterOpen_.insert(&a);
      return Dump({{"ok", true}});
    }
    cmd == "unplug" ? a.Unplug() : a.Replug();
    return Dump({{"ok", true}});
  }
  if (cmd == "range" || cmd == "rssi") {
    if (!GetString(j, "network", name)) return Fail(cmd + " needs \"network\" (SSID or BSSID)");
    bool found = false;
    if (cmd == "range") {
      if (!GetBool(j, "inRange", flag)) return Fail("range needs \"inRange\": true or false");
      for (auto& ad : adapters_) found = ad->SetNetworkInRange(name, flag);
    } else {
      if (!GetInt(j, "rssi", number) || number < -120 || number > 0)
        return Fail("rssi needs \"rssi\" in -120..0");
      for (auto& ad : adapters_) found = ad->SetNetworkRssi(name, static_cast<int32_t>(number));
    }
    return found ? Dump({{"ok", true}}) : Fail("no network \"" + name + "\"");
  }
  if (cmd == "station") {
    std::string macText;
    auto mac = GetString(j, "mac", macText) ? ParseMac(macText) : std::nullopt;
    if (!mac) return Fail("station needs \"mac\"");
    bool present = false, idle = false, ps = false;
    bool hasPresent = GetBool(j, "present", present), hasIdle = GetBool(j, "idle", idle),
         hasPs = GetBool(j, "powerSaving", ps);
    bool found = false;
    for (auto& ad : adapters_)
      found = ad->ModifyStation(*mac, [&](Station& s) {
        if (hasPresent) s.present = present;
        if (hasIdle) s.idle = idle;
        if (hasPs) s.powerSaving = ps;
      });
    return found ? Dump({{"ok", true}}) : Fail("no station " + macText);
  }
  if (cmd == "hardwareRadio") {
    if (!GetBool(j, "on", flag)) return Fail("hardwareRadio needs \"on\"");
    a.SetHardwareRadio(flag);
    return Dump({{"ok", true}});
  }
  if (cmd == "fail") {
    long long times = -1;
    if (!GetInt(j, "oid", number) || number < 0 || number > 0xFFFFFFFFll)
      return Fail("fail needs \"oid\" (a number)");
    GetInt(j, "times", times);
    a.FailOid(static_cast<uint32_t>(number), static_cast<int>(times));
    return Dump({{"ok", true}});
  }
  if (cmd == "clearFailures") {
    a.ClearFailures();
    return Dump({{"ok", true}});
  }
  if (cmd == "tick") {
    if (!GetInt(j, "seconds", number) || number < 1 || number > 3600)
      return Fail("tick needs \"seconds\" in 1..3600");
    for (auto& ad : adapters_) ad->Tick(static_cast<int>(number));
    return Dump({{"ok", true}});
  }
  if (cmd == "state")
    return Dump({{"ok", true}, {"state", StateJson(a.State())}, {"mac", FormatMac(a.Hardware().mac, ':')}});
  if (cmd == "log") {
    json log = json::array();
    for (const OidLogEntry& e : a.OidLog())
      log.push_back({{"oid", Hex32(e.oid)},
                     {"set", e.set},
                     {"ok", e.ok},
                     {"length", e.length},
                     {"data", EncodeHex(e.data)}});
    if (GetBool(j, "clear", flag) && flag) a.ClearOidLog();
    return Dump({{"ok", true}, {"log", log}});
  }
  if (cmd == "bridge") {
    if (GetBool(j, "present", flag)) bridge_.SetPresent(flag);
    if (GetBool(j, "bridging", flag)) bridge_.SetBridging(flag);
    if (GetInt(j, "version", number)) bridge_.SetVersion(static_cast<uint32_t>(number));
    json requests = json::array();
    for (const auto& r : bridge_.Requests())
      requests.push_back({{"code", Hex32(r.code)}, {"in", EncodeHex(r.in)}, {"ok", r.ok}});
    return Dump({{"ok", true}, {"bridging", bridge_.Bridging()}, {"requests", requests}});
  }
  if (cmd == "supplicant") {
    json details = json::array();
    for (const SimSupplicant::Call& c : supplicant_->CallDetails()) {
      json d = {{"call", c.name}};
      for (const auto& [name, value] : c.args) d[name] = value;
      details.push_back(d);
    }
    return Dump({{"ok", true}, {"calls", supplicant_->Calls()}, {"details", details}});
  }
  return Fail("unknown command \"" + cmd + "\"");
}

// The cooperating access point's one-button security service: GET_SECURITY_SUPPORT,
// SET_WPA_PSK (pass phrase scrambled with the BSSID) and APPLY_SECURITY, which switches the
// network to WPA-PSK with the pass phrase received.
void SimHost::ServeAutoSecurity(Socket& client) {
  std::vector<uint8_t> buffer;
  uint8_t chunk[512];
  while (!stop_) {
    if (!client.WaitReadable(200)) continue;
    int n = client.Receive(chunk, 0);
    if (n <= 0) return;
    buffer.insert(buffer.end(), chunk, chunk + n);
    while (buffer.size() >= 2) {
      if (buffer[0] != 0x5C) return;  // not this protocol
      uint8_t command = buffer[1];
      size_t need = command == 0x01   ? 2
                    : command == 0x02 ? (buffer.size() >= 9 ? 9 + buffer[8] : 9)
                    : command == 0x04 ? 10
                                      : 0;
      if (need == 0) return;
      if (buffer.size() < need) break;
      std::vector<uint8_t> request(buffer.begin(), buffer.begin() + static_cast<long>(need));
      buffer.erase(buffer.begin(), buffer.begin() + static_cast<long>(need));
      std::vector<uint8_t> reply;
      {
        std::lock_guard lock(worldMutex_);
        World world = adapters_.empty() ? World{} : adapters_[0]->GetWorld();
        MacAddress bssid{};
        if (command != 0x01) std::copy_n(request.begin() + 2, 6, bssid.begin());
        const Network* ap = nullptr;
        for (const Network& net : world.networks)
          if (net.maker && (command == 0x01 || net.bssid == bssid)) {
            ap = &net;
            break;
          }
        if (command == 0x01) {
          std::string name = ap ? (ap->apName.empty() ? ap->ssid : ap->apName) : "";
          uint16_t flags = ap ? ap->supportFlags : 0;
          reply = {0x5B,
                   0x81,
                   uint8_t(flags >> 8),
                   uint8_t(flags),
                   uint8_t(name.size() >> 8),
                   uint8_t(name.size())};
          reply.insert(reply.end(), name.begin(), name.end());
        } else if (command == 0x02) {
          std::string passphrase;
          for (size_t i = 0; i < request[8]; ++i) passphrase.push_back(char(request[9 + i] ^ bssid[i % 6]));
          pendingPassphrases_[bssid] = passphrase;
          reply = {0x5B, 0x82, 0x00};
        } else {
          auto it = pendingPassphrases_.find(bssid);
          if (ap && request[8] == 2 && it != pendingPassphrases_.end()) {
            std::string passphrase = it->second;
            for (auto& a : adapters_)
              a->ModifyNetwork(FormatMac(bssid), [&](Network& net) {
                net.security = Security::WpaPsk;
                net.cipher = Cipher::Tkip;
                net.passphrase = passphrase;
                net.psk.reset();
              });
            pendingPassphrases_.erase(it);
          }
          reply = {0x5B, 0x84, 0x00};
        }
      }
      if (!client.SendAll(reply)) return;
    }
  }
}

}  // namespace vx::sim
