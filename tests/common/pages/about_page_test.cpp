// The About page: versions and dates, the driver file by program and system, the lines hidden
// when the driver does not answer, the MAC address and the IP configuration.
#include "common/pages/about_page.h"

#include <gtest/gtest.h>

#include <map>

#include "common/pages/oid_script.h"
#include "resources/strings/string_tables.h"

namespace vx {
namespace {

class FakeFiles : public FileInfoPort {
 public:
  std::string SystemDirectory() override { return "C:\\WINDOWS\\system32"; }
  std::string ProgramFile() override { return "C:\\Program Files\\Arventa\\ClientCfg.exe"; }
  std::optional<FileVersion> FixedVersion(const std::string& path) override {
    reads.push_back({path, redirected});
    auto it = versions.find(path);
    if (it == versions.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::string> VersionString(const std::string&, const std::string& name) override {
    if (name == "LegalCopyright") return legal;
    return std::nullopt;
  }
  std::optional<FileDate> LastWriteDate(const std::string& path) override {
    auto it = dates.find(path);
    if (it == dates.end()) return std::nullopt;
    return it->second;
  }
  struct Read {
    std::string path;
    bool redirected;
  };
  std::map<std::string, FileVersion> versions;
  std::map<std::string, FileDate> dates;
  std::optional<std::string> legal;
  std::vector<Read> reads;
  bool redirected = true;  // WOW64 file-system redirection state
};

class FakeSystem : public SystemPort {
 public:
  explicit FakeSystem(FakeFiles& files) : files_(files) {}
  std::optional<OsVersionInfo> GetVersion(bool) override { return std::nullopt; }
  uint16_t DefaultUiLanguage() override { return 1033; }
  std::optional<std::string> GetEnv(const std::string&) override { return std::nullopt; }
  std::optional<bool> IsWow64Process() override { return true; }
  bool EnableWow64FsRedirection(bool enable) override {
    files_.redirected = enable;
    ++switches;
    return true;
  }
  int switches = 0;

 private:
  FakeFiles& files_;
};

class FakeIp : public IpInfoPort {
 public:
  bool GetAdapters(std::vector<AdapterIpInfo>& out) override {
    ++calls;
    out = adapters;
    return available;
  }
  std::vector<AdapterIpInfo> adapters;
  bool available = true;
  int calls = 0;
};

class FakeProcess : public ProcessPort {
 public:
  bool Exec(const std::string&, int) override { return false; }
  std::string ProgramFolder() override { return ""; }
  bool FileReadable(const std::string&) override { return false; }
  bool RemoveFile(const std::string&) override { return false; }
  bool RemoveFolder(const std::string&) override { return false; }
  bool OpenUrl(const std::string& url) override {
    urls.push_back(url);
    return true;
  }
  std::vector<std::string> urls;
};

AdapterIpInfo Ip(std::vector<uint8_t> mac, std::string address, std::string name = "") {
  AdapterIpInfo a;
  a.adapterName = std::move(name);
  a.hardwareAddress = std::move(mac);
  a.address = address;
  a.mask = "255.255.255.0";
  a.gateway = "192.168.1.1";
  return a;
}

class About : public ::testing::Test {
 protected:
  OidScript s;
  FakeFiles files;
  FakeSystem system{files};
  FakeIp ip;
  FakeProcess process;
  AboutPorts Ports() { return {s.channel, s.clock, files, system, ip, process, EnglishStrings()}; }

  void SetUp() override {
    s.answers[OID_802_3_CURRENT_ADDRESS] = {0x00, 0x0C, 0xE7, 0x30, 0x00, 0x01};
    s.answers[VX_OID_802_11_QUERY_EEPROM_VERSION] = {1, 2, 0, 0};
    s.answers[VX_OID_802_11_QUERY_FIRMWARE_VERSION] = {2, 6, 0, 0};
    files.versions[files.ProgramFile()] = {1, 2, 3, 4};
    files.dates[files.ProgramFile()] = {2024, 3, 7};
    files.versions["C:\\WINDOWS\\system32\\drivers\\kc30.sys"] = {5, 1, 2600, 10};
    files.dates["C:\\WINDOWS\\system32\\drivers\\kc30.sys"] = {2023, 11, 21};
    files.legal = "Copyright (C) Arventa";
  }
  static AboutFacts Station(int kind, int family, bool wow64 = false) {
    AboutFacts f;
    f.osKind = kind;
    f.familyIndex = family;
    f.wow64 = wow64;
    return f;
  }
};

TEST_F(About, DriverFileByProgramAndSystemKind) {
  const std::string sys = "C:\\S";
  EXPECT_EQ(DriverFilePath(Station(11, 4), sys), "C:\\S\\drivers\\kc30.sys");
  EXPECT_EQ(DriverFilePath(Station(8, 1), sys), "C:\\S\\drivers\\ka10usb.sys");
  EXPECT_EQ(DriverFilePath(Station(7, 5), sys), "C:\\S\\drivers\\kd40.sys");
  EXPECT_EQ(DriverFilePath(Station(4, 4), sys), "C:\\S\\kc309x.sys");
  EXPECT_EQ(DriverFilePath(Station(2, 4), sys), std::nullopt);
  EXPECT_EQ(DriverFilePath(Station(11, -1), sys), std::nullopt);
  EXPECT_EQ(DriverFilePath(Station(11, 6), sys), std::nullopt);

  AboutFacts ap;
  ap.program = Program::AccessPoint;
  ap.osKind = 7;
  EXPECT_EQ(DriverFilePath(ap, sys), "C:\\S\\drivers\\kc30.sys");
  ap.usb = true;
  EXPECT_EQ(DriverFilePath(ap, sys), "C:\\S\\drivers\\kc30usb.sys");
  ap.osKind = 5;
  EXPECT_EQ(DriverFilePath(ap, sys), "C:\\S\\kc30usb.sys");
  ap.usb = false;
  EXPECT_EQ(DriverFilePath(ap, sys), "C:\\S\\kc309x.sys");
  ap.osKind = 0;
  EXPECT_EQ(DriverFilePath(ap, sys), std::nullopt);
}

TEST_F(About, VersionsDatesAndMac) {
  CAboutPage page{Ports(), Station(8, 4)};
  page.OnInit();
  EXPECT_EQ(page.Control(about::kUtilityVersion).text, "1.2.3.4.04\n");
  EXPECT_EQ(page.Control(about::kUtilityDate).text, "03-07-2024");
  EXPECT_EQ(page.Control(about::kDriverVersion).text, "5.1.2600.10\n");
  EXPECT_EQ(page.Control(about::kDriverDate).text, "11-21-2023");
  EXPECT_EQ(page.Control(about::kLegal).text, "Copyright (C) Arventa");
  EXPECT_EQ(page.Control(about::kEeprom).text, "1.2\n");
  EXPECT_EQ(page.Control(about::kFirmware).text, "2.6\n");
  EXPECT_TRUE(page.Control(about::kFirmwareLabel).visible);
  EXPECT_EQ(page.Control(about::kMac).text, "00-0C-E7-30-00-01");
  EXPECT_EQ(page.Control(about::kEepromLabel).text, "EEPROM Version :");
  EXPECT_EQ(system.switches, 0);  // no WOW64 below kind 10
}

TEST_F(About, UnansweredLinesAreHiddenWithTheirLabels) {
  s.answers.erase(VX_OID_802_11_QUERY_EEPROM_VERSION);
  s.answers.erase(VX_OID_802_11_QUERY_FIRMWARE_VERSION);
  s.answers.erase(OID_802_3_CURRENT_ADDRESS);
  files.versions.clear();
  CAboutPage page{Ports(), Station(8, 4)};
  page.OnInit();
  EXPECT_FALSE(page.Control(about::kEeprom).visible);
  EXPECT_FALSE(page.Control(about::kEepromLabel).visible);
  EXPECT_FALSE(page.Control(about::kFirmware).visible);
  EXPECT_FALSE(page.Control(about::kFirmwareLabel).visible);
  EXPECT_EQ(page.Control(about::kMac).text, "");
  EXPECT_EQ(page.Control(about::kUtilityVersion).text, "");
  EXPECT_EQ(page.Control(about::kDriverVersion).text, "");
  EXPECT_EQ(page.Control(about::kDriverDate).text, "");
}

TEST_F(About, FirmwareOnlyForTheFamiliesThatHaveOne) {
  CAboutPage usb{Ports(), Station(8, 1)};
  usb.OnInit();
  EXPECT_FALSE(usb.Control(about::kFirmware).visible);
  EXPECT_FALSE(usb.Control(about::kFirmwareLabel).visible);
  EXPECT_TRUE(usb.Control(about::kEeprom).visible);
}

TEST_F(About, DriverReadWithRedirectionOffUnderWow64) {
  files.versions["C:\\WINDOWS\\system32\\drivers\\kc30.sys"] = {6, 0, 1, 2};
  CAboutPage page{Ports(), Station(11, 4, true)};
  page.OnInit();
  EXPECT_EQ(page.Control(about::kDriverVersion).text, "6.0.1.2\n");
  bool driverReadUnredirected = false;
  for (const auto& r : files.reads)
    if (r.path.find("drivers") != std::string::npos) driverReadUnredirected = !r.redirected;
  EXPECT_TRUE(driverReadUnredirected);
  EXPECT_TRUE(files.redirected);  // switched on again afterwards
  EXPECT_EQ(system.switches, 2);
}

TEST_F(About, IpConfigurationOfThisAdapterRefreshedWhileShown) {
  ip.adapters = {Ip({0x00, 0x0C, 0xE7, 0x30, 0x00, 0x02}, "10.0.0.5"),
                 Ip({0x00, 0x0C, 0xE7, 0x30, 0x00, 0x01, 0x00, 0x00}, "10.0.0.6"),  // 8 bytes: not ours
                 Ip({0x00, 0x0C, 0xE7, 0x30, 0x00, 0x01}, "0.0.0.0")};
  CAboutPage page{Ports(), Station(8, 4)};
  page.OnInit();
  page.OnSetActive();
  EXPECT_EQ(page.Control(about::kIp).text, "0.0.0.0");
  EXPECT_EQ(page.Control(about::kGateway).text, "192.168.1.1");

  ip.adapters[2].address = "192.168.1.100";
  ip.adapters[0].address = "10.9.9.9";
  s.clock.Advance(5000);
  EXPECT_EQ(page.Control(about::kIp).text, "192.168.1.100");
  EXPECT_EQ(page.Control(about::kMask).text, "255.255.255.0");

  page.OnKillActive();
  EXPECT_EQ(s.clock.ActiveTimers(), 0u);
  int calls = ip.calls;
  s.clock.Advance(20000);
  EXPECT_EQ(ip.calls, calls);

  ip.adapters.clear();
  page.OnSetActive();
  EXPECT_EQ(page.Control(about::kIp).text, "");
  EXPECT_EQ(page.Control(about::kGateway).text, "");
}

TEST_F(About, SourcesWithoutHardwareAddressMatchByInstanceId) {
  ip.adapters = {Ip({}, "172.16.0.2", "{OTHER}"), Ip({}, "172.16.0.3", "{6a0c}")};
  AboutFacts f = Station(8, 4);
  f.instanceId = "{6A0C}";
  CAboutPage page{Ports(), f};
  page.OnInit();
  EXPECT_EQ(page.Control(about::kIp).text, "172.16.0.3");
}

TEST_F(About, WebLinkOpensTheBrowser) {
  CAboutPage page{Ports(), Station(8, 4)};
  page.OnInit();
  page.OnCommand(about::kWebLink, UiEvent::Clicked);
  ASSERT_EQ(process.urls.size(), 1u);
  EXPECT_EQ(process.urls[0], EnglishStrings().Get(IDS_ABOUT_WEB_ADDRESS));
}

}  // namespace
}  // namespace vx
