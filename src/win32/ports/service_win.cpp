#include <windows.h>

#include "win32/ports/wide.h"
#include "win32/ports/win32_services.h"

namespace vx {
namespace {

// Opens the manager and one service, closes both when it leaves scope.
struct ServiceHandles {
  SC_HANDLE manager = nullptr;
  SC_HANDLE service = nullptr;
  ServiceHandles(const std::string& name, DWORD access) {
    manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager) service = OpenServiceW(manager, Widen(name).c_str(), access);
  }
  ~ServiceHandles() {
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
  }
};

}  // namespace

std::optional<uint32_t> Win32Services::QueryState(const std::string& name) {
  ServiceHandles h(name, SERVICE_QUERY_STATUS);
  if (!h.service) return std::nullopt;
  SERVICE_STATUS status = {};
  if (!QueryServiceStatus(h.service, &status)) return std::nullopt;
  return status.dwCurrentState;
}

bool Win32Services::Stop(const std::string& name) {
  ServiceHandles h(name, SERVICE_ALL_ACCESS);
  if (!h.service) return false;
  SERVICE_STATUS status = {};
  return ControlService(h.service, SERVICE_CONTROL_STOP, &status) != FALSE;
}

bool Win32Services::Start(const std::string& name) {
  ServiceHandles h(name, SERVICE_ALL_ACCESS);
  return h.service && StartServiceW(h.service, 0, nullptr) != FALSE;
}

bool Win32Services::SetStartType(const std::string& name, uint32_t startType) {
  ServiceHandles h(name, SERVICE_ALL_ACCESS);
  if (!h.service) return false;
  return ChangeServiceConfigW(h.service, SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr) != FALSE;
}

}  // namespace vx
