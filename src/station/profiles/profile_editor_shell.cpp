#include "station/profiles/profile_editor_shell.h"

#include "station/survey/scan_list.h"

namespace vx {

ProfileEditorContext MakeProfileEditorContext(HideDlg& shell, CertStorePort& certs) {
  StationPorts& ports = shell.Ports();
  StationLink& link = shell.Link();
  return ProfileEditorContext{
      ports.registry,
      shell.Channel(),
      shell.Profiles(),
      ports.strings,
      ports.dialogs,
      certs,
      [&shell] {
        ProfileEditorFacts f;
        const AdapterSelection& adapter = shell.Discovery().Selected();
        const ChannelPlan& plan = shell.Control().Plan();
        f.settingsRoot = adapter.settingsRoot;
        f.osKind = shell.OsKind();
        f.wow64 = shell.Wow64();
        f.supplicantAvailable = shell.Link().Facts().supplicantAvailable;
        f.has5GHz = plan.has5GHz;
        f.driverVersion = shell.Link().Facts().driverVersion;
        f.channels.family = adapter.familyIndex;
        f.channels.bgCode = plan.regionWord & 0xFF;
        f.channels.aCode = (plan.regionWord >> 8) & 0xFF;
        f.channels.wirelessMode = shell.Link().WirelessMode();
        f.screenReader = shell.Ports().system.ScreenReaderRunning();
        return f;
      },
      [&link] {
        std::vector<SurveyRow> rows;
        DecodeScanList(link.BssidList(), rows);
        std::vector<std::string> ssids;
        for (const auto& r : rows) ssids.push_back(r.ssid.Text());
        return ssids;
      },
      [&link](uint32_t mode) { link.SetWirelessMode(mode); },
      [&link](const ConfigWords& w) { link.SetLastStaConfig(w); },
      [&link](bool advanced) { link.SetOidFromReg(advanced); },
      [&link] { return link.Applied(); },
      nullptr,
      [&ports](std::string_view utf8) { return ports.system.ToAnsi(utf8); },
  };
}

}  // namespace vx
