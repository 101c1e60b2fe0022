#include "win32/apps/station_pages.h"

#include "common/pages/about_page.h"
#include "common/pages/statistic_page.h"
#include "station/monitor/link_status_page.h"
#include "station/profiles/profile_editor_shell.h"
#include "station/profiles/profile_page.h"
#include "station/survey/survey_profile_hooks.h"
#include "win32/ports/file_info_win.h"
#include "win32/ui/view_registry.h"

namespace vx {

StationPageSet MakeStationPages(HideDlg& shell, IpInfoPort& ipInfo, CertStorePort& certs,
                                SurveyServices services) {
  StationPorts& ports = shell.Ports();
  StationPageSet set;
  // Page timers change their models outside any window message; the views must follow.
  set.timers = std::make_unique<RefreshingTimers>(ports.timers);
  set.files = std::make_unique<Win32FileInfo>();
  TimerPort& timers = *set.timers;
  AdapterControl& control = shell.Control();

  set.editor = std::make_unique<ProfileEditorContext>(MakeProfileEditorContext(shell, certs));
  ProfilePageHooks profileHooks;
  auto profile = std::make_unique<CProfilePage>(*set.editor, timers,
                                                WithManualActivation(profileHooks, services.shared));
  CProfilePage* profilePage = profile.get();
  set.profilePage = profilePage;
  set.pages.push_back(std::move(profile));

  LinkStatusHooks link;
  link.managesAdapter = [&shell] { return shell.ZeroConfigStateValue() != kZeroConfigControls; };
  link.wepError = [&shell] { return shell.Link().WepError(); };
  link.hardwareRadioOn = [&control] { return control.HardwareRadioOn(); };
  link.setHardwareRadioOn = [&control](bool on) { control.SetHardwareRadioOn(on); };
  link.refreshRadioButton = [&control] { control.RefreshRadioButton(); };
  set.pages.push_back(std::make_unique<CLinkStatusPage>(shell.Channel(), timers, ports.strings, link));

  auto survey = std::make_unique<CSiteSurvPage>(
      MakeSurveyContext(shell, services.tcp, ipInfo, services.shared, &timers),
      ProfileEditorSurveyHooks(*set.editor, profilePage));
  survey->Flow().Messages().SetWake(services.wake);
  set.survey = survey.get();
  set.pages.push_back(std::move(survey));

  set.pages.push_back(std::make_unique<CStatisticPage>(shell.Channel(), timers, ports.strings));

  AdvanceHooks advance;
  advance.facts = [&shell, &control] {
    AdvanceFacts f;
    f.settingsRoot = shell.Discovery().Selected().settingsRoot;
    f.has5GHz = control.Plan().has5GHz;
    f.region =
        DecodeCountryRegion(control.Plan().regionWord | (control.Plan().bgRegionChangeable ? 0 : 0x80) |
                            (control.Plan().aRegionChangeable ? 0 : 0x8000));
    return f;
  };
  advance.setWirelessMode = [&shell, &control](uint32_t mode) {
    control.Plan().wirelessMode = mode;
    shell.Link().SetWirelessMode(mode);
  };
  advance.storeStaConfig = [&shell](const ConfigWords& words) { shell.Link().SetLastStaConfig(words); };
  advance.regionApplied = [&shell, &control] {
    control.BuildChannelList();
    shell.Link().Facts().regionWord = control.Plan().regionWord;
  };
  advance.toggleRadio = [&control] { control.ToggleRadio(); };
  advance.radioOn = [&control] { return control.RadioOn(); };
  auto advancePage =
      std::make_unique<CAdvancePage>(ports.registry, shell.Channel(), ports.dialogs, ports.strings, advance);
  set.advance = advancePage.get();
  set.pages.push_back(std::move(advancePage));

  AboutFacts about;
  about.program = Program::Station;
  about.osKind = shell.OsKind();
  about.wow64 = shell.Wow64();
  about.familyIndex = shell.Discovery().Selected().familyIndex;
  about.usb = shell.Discovery().Selected().isUsb;
  about.instanceId = shell.Discovery().Selected().netCfgInstanceId;
  set.pages.push_back(std::make_unique<CAboutPage>(
      AboutPorts{shell.Channel(), timers, *set.files, ports.system, ipInfo, ports.process, ports.strings},
      about));
  return set;
}

}  // namespace vx
