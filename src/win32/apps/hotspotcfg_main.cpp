// HotspotCfg: the software access point utility.
// clang-format off
#include "win32/ui/win32_dialogs.h"  // first: keeps the port's MessageBox name intact
// clang-format on

#include <windows.h>

#include <memory>
#include <string>

#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "softap/shell/ap_hide_dlg.h"
#include "softap/shell/ap_sheet_pages.h"
#include "softap/shell/ap_startup.h"
#include "win32/apps/adapter_ports.h"
#include "win32/apps/ap_page_views.h"
#include "win32/apps/ap_sheet.h"
#include "win32/apps/instance.h"
#include "win32/ports/bridge_win.h"
#include "win32/ports/file_info_win.h"
#include "win32/ports/wide.h"
#include "win32/ports/win32_ports.h"
#include "win32/ports/win32_services.h"
#include "win32/ui/hidden_dialog.h"
#include "win32/ui/ui_init.h"
#include "win32/ui/view_registry.h"
#include "win32/ui/win32_tray.h"

namespace {

// The application's help path: the program's own path with ".HLP" in place of ".EXE".
std::string HelpPath() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string p = vx::Narrow(std::wstring(path, n));
  size_t dot = p.find_last_of('.');
  if (dot != std::string::npos && p.find_first_of("\\/", dot) == std::string::npos) p.erase(dot);
  return p + ".HLP";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE module, HINSTANCE, PWSTR commandLine, int) {
  vx::Win32Strings strings(module);
  vx::InstanceMutex mutex(L"KC30");
  if (mutex.AlreadyRunning()) {
    std::wstring text = vx::Widen(strings.Get(vx::IDS_AP_ALREADY_RUNNING));
    if (text.empty()) text = L"HotspotCfg is already running";
    MessageBoxW(nullptr, text.c_str(), L"", MB_OK);  // no title a tool could take for the utility
    return 0;
  }
  vx::InstallDebugTraceSink();
  vx::InitUi();

  vx::Win32System system;
  vx::Win32Registry registry;
  vx::Win32Timers systemTimers;
  vx::RefreshingTimers timers(systemTimers);  // ticks change models; the views follow
  vx::Win32Services services;
  vx::Win32Process process;
  vx::Win32Dialogs dialogs(module);
  vx::Win32Tray tray(module);
  vx::Win32FileInfo files;
  vx::AdapterPorts adapter = vx::MakeAdapterPorts(vx::AdapterPortUse::AccessPoint);

  const uint16_t language = system.DefaultUiLanguage();
  vx::CleanApStartMenuShortcuts(process, system, language);
  const std::string helpFile = vx::ApHelpFileName(HelpPath(), language);
  (void)helpFile;  // the pages offer no help; the name is kept as the utility always formed it

  vx::HiddenMainDialog window(module, vx::kIddApHideDlg);
  vx::ApPorts ports{registry, *adapter.device, *adapter.bridge, *adapter.setup,
                    timers,   system,          services,        process,
                    tray,     dialogs,         strings};
  auto sheetFactory = [&](vx::ApHideDlg& dlg,
                          const std::vector<vx::ApPage>& pages) -> std::unique_ptr<vx::ApSheetView> {
    return std::make_unique<vx::ApSheet>(module, window.Hwnd(), dlg, pages,
                                         vx::ApSheetExtras{files, *adapter.ipInfo, vx::LocalFromUtc});
  };
  vx::ApHideDlg shell(ports, sheetFactory,
                      !vx::IsTrayOnlyCommand(vx::Narrow(commandLine ? commandLine : L"")));
  vx::HexKeyFilter hexKeys;

  // Exit and the hand-over may come from a timer, once a page's box has closed.
  shell.onEnd = [&] { window.End(shell.EndResult()); };
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  window.AttachTray(tray);
  window.onInit = [&](HWND hwnd) {
    SetWindowTextW(hwnd, L"HotspotCfg");  // never shown; a name lets tools find the utility
    dialogs.SetFallbackOwner(hwnd);
    shell.OnInitDialog();
  };
  window.onTray = [&](UINT mouse) { shell.OnTrayNotify(mouse); };
  window.onCommand = [&](int command) { shell.OnCommand(static_cast<uint32_t>(command)); };
  window.onMessage = [&](UINT msg, WPARAM, LPARAM, INT_PTR& result) {
    if (taskbarCreated == 0 || msg != taskbarCreated) return false;
    // The shell decides whether its icon comes back (not after Exit).
    shell.OnTaskbarCreated();
    result = TRUE;
    return true;
  };
  window.Run();
  return 0;
}
