// A stand-in for the Windows zero-configuration service "WZCSVC", which Wine does not have: a
// service that runs until it is told to stop, so the end-to-end tests can watch what ClientCfg
// does with it. Started by the service manager without arguments; from a command line it
// installs, removes, starts or stops the service, sets it to start automatically ("auto") or
// reports it ("query" prints e.g. "running auto").
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

const wchar_t kName[] = L"WZCSVC";
SERVICE_STATUS_HANDLE g_status = nullptr;
HANDLE g_stop = nullptr;

void Report(DWORD state) {
  SERVICE_STATUS s{};
  s.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  s.dwCurrentState = state;
  s.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  SetServiceStatus(g_status, &s);
}

void WINAPI Control(DWORD control) {
  if (control == SERVICE_CONTROL_STOP) {
    Report(SERVICE_STOP_PENDING);
    SetEvent(g_stop);
  }
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
  g_status = RegisterServiceCtrlHandlerW(kName, Control);
  if (!g_status) return;
  g_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_RUNNING);
  WaitForSingleObject(g_stop, INFINITE);
  Report(SERVICE_STOPPED);
}

// Waits up to 20 s for the service to reach a state.
bool Reach(SC_HANDLE service, DWORD state) {
  for (int i = 0; i < 200; ++i) {
    SERVICE_STATUS s{};
    if (QueryServiceStatus(service, &s) && s.dwCurrentState == state) return true;
    Sleep(100);
  }
  return false;
}

const char* StateName(DWORD state) {
  switch (state) {
    case SERVICE_STOPPED: return "stopped";
    case SERVICE_START_PENDING: return "starting";
    case SERVICE_STOP_PENDING: return "stopping";
    case SERVICE_RUNNING: return "running";
    default: return "other";
  }
}

const char* StartName(DWORD start) {
  switch (start) {
    case SERVICE_AUTO_START: return "auto";
    case SERVICE_DEMAND_START: return "demand";
    case SERVICE_DISABLED: return "disabled";
    default: return "other";
  }
}

int Command(const wchar_t* command) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return 2;
  int result = 1;
  if (std::wcscmp(command, L"install") == 0) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    SC_HANDLE s = CreateServiceW(manager, kName, L"Wireless Zero Configuration (stand-in)", SERVICE_ALL_ACCESS,
                                 SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, path,
                                 nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!s && GetLastError() == ERROR_SERVICE_EXISTS) s = OpenServiceW(manager, kName, SERVICE_ALL_ACCESS);
    if (s) {
      result = 0;
      CloseServiceHandle(s);
    }
  } else if (SC_HANDLE s = OpenServiceW(manager, kName, SERVICE_ALL_ACCESS)) {
    SERVICE_STATUS status{};
    if (std::wcscmp(command, L"remove") == 0) {
      if (ControlService(s, SERVICE_CONTROL_STOP, &status)) Reach(s, SERVICE_STOPPED);
      result = DeleteService(s) ? 0 : 1;
    } else if (std::wcscmp(command, L"start") == 0) {
      StartServiceW(s, 0, nullptr);
      result = Reach(s, SERVICE_RUNNING) ? 0 : 1;
    } else if (std::wcscmp(command, L"stop") == 0) {
      ControlService(s, SERVICE_CONTROL_STOP, &status);
      result = Reach(s, SERVICE_STOPPED) ? 0 : 1;
    } else if (std::wcscmp(command, L"auto") == 0) {
      result = ChangeServiceConfigW(s, SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr)
                   ? 0
                   : 1;
    } else if (std::wcscmp(command, L"query") == 0) {
      BYTE buffer[8192];
      auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer);
      DWORD needed = 0;
      if (QueryServiceStatus(s, &status) && QueryServiceConfigW(s, config, sizeof buffer, &needed)) {
        std::printf("%s %s\n", StateName(status.dwCurrentState), StartName(config->dwStartType));
        result = 0;
      }
    }
    CloseServiceHandle(s);
  }
  CloseServiceHandle(manager);
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) return Command(argv[1]);
  SERVICE_TABLE_ENTRYW table[] = {{const_cast<wchar_t*>(kName), ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
