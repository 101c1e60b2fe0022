// ClientCfg: the station utility.
// clang-format off
#include "win32/ui/win32_dialogs.h"  // first: keeps the port's MessageBox name intact
// clang-format on

#include <windows.h>

#include <memory>
#include <string>

#include "driver/os_version.h"
#include "net/socket.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "station/shell/hide_dlg.h"
#include "station/shell/startup.h"
#include "win32/apps/adapter_ports.h"
#include "win32/apps/instance.h"
#include "win32/apps/station_pages.h"
#include "win32/apps/station_sheet.h"
#include "win32/ports/wide.h"
#include "win32/ports/win32_ports.h"
#include "win32/ports/win32_services.h"
#include "win32/supplicant/aegis_library.h"
#include "win32/ui/hidden_dialog.h"
#include "win32/ui/ui_init.h"
#include "win32/ui/win32_tray.h"

int WINAPI wWinMain(HINSTANCE module, HINSTANCE, PWSTR commandLine, int) {
  vx::Win32Strings strings(module);
  vx::InstanceMutex mutex(L"KC30");
  if (mutex.AlreadyRunning()) {
    std::wstring text = vx::Widen(strings.Get(vx::IDS_ALREADY_RUNNING));
    if (text.empty()) text = L"ARVENTA Wireless LAN Card Configuration Utility is already running";
    MessageBoxW(nullptr, text.c_str(), L"", MB_OK);
    return 0;
  }
  vx::InstallDebugTraceSink();
  vx::InitUi();

  vx::Win32System system;
  vx::Win32Registry registry;
  vx::Win32Timers timers;
  vx::Win32Services services;
  vx::Win32Process process;
  vx::Win32Dialogs dialogs(module);
  vx::Win32Tray tray(module);
  vx::AdapterPorts adapter = vx::MakeAdapterPorts(vx::AdapterPortUse::Station);

  const uint16_t language = system.DefaultUiLanguage();
  const int kind = vx::DetectOsVersion(system, vx::Program::Station);
  vx::CleanStartMenuShortcuts(process, system, kind, language);

  vx::HiddenMainDialog window(module, vx::kIddHideDlg);
  vx::StationPorts ports{registry, *adapter.device,     *adapter.setup, timers,  system, services,
                         process,  *adapter.supplicant, tray,           dialogs, strings};
  // The one-button set-up's worker wakes the UI thread with this message.
  constexpr UINT kWorkerWake = WM_APP + 1;
  vx::TcpClient tcp;
  vx::SurveyShared surveyShared;
  vx::StationSheet* openSheet = nullptr;
  auto sheetFactory = [&](vx::HideDlg& shell) -> std::unique_ptr<vx::MainSheetView> {
    HWND hwnd = window.Hwnd();
    vx::SurveyServices services{tcp, surveyShared, [hwnd] { PostMessageW(hwnd, kWorkerWake, 0, 0); }};
    auto sheet = std::make_unique<vx::StationSheet>(
        module, hwnd, shell, vx::MakeStationPages(shell, *adapter.ipInfo, *adapter.certs, services));
    openSheet = sheet.get();
    return sheet;
  };
  vx::HideDlg shell(ports, sheetFactory, vx::IsShowupCommand(vx::Narrow(commandLine ? commandLine : L"")));
  shell.ZeroConfiguration().StopZeroConfig(true);

  shell.onEnd = [&] { window.End(0); };
  window.AttachTray(tray);
  window.onInit = [&](HWND hwnd) {
    SetWindowTextW(hwnd, L"ClientCfg");  // never shown; a name lets tools find the utility
    dialogs.SetFallbackOwner(hwnd);
    shell.OnInitDialog();
  };
  window.onTray = [&](UINT mouse) { shell.OnTrayNotify(mouse); };
  window.onCommand = [&](int command) { shell.OnCommand(static_cast<uint32_t>(command)); };
  window.onDestroy = [&] { shell.OnDestroy(); };
  window.onMessage = [&](UINT msg, WPARAM, LPARAM, INT_PTR& result) {
    if (msg != kWorkerWake) return false;
    if (shell.Sheet() == openSheet && openSheet) openSheet->DrainWorkerMessages();
    result = 0;
    return true;
  };
  window.Run();
  // Ends here, destroying none of the ports above: a one-button worker left inside a connection
  // attempt when its page went may still be using them until the process is gone.
  ExitProcess(0);
}
