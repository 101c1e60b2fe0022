// TEST FIXTURE, never shipped: a stand-in for the IP helper "iphlpapi.dll" as the station and
// access point utilities see it in a test prefix. Only GetAdaptersInfo, the one function they
// use, relayed to wlansim: the simulated adapters have no interface in the host, so Wine's own IP
// helper cannot report them, and it never reports a DHCP server for any interface.
// vxsim-platform puts it in the system folder and makes it the utilities' own (a per-program
// DLL override), so every other program of the prefix keeps Wine's.
#include <winsock2.h>
// <iphlpapi.h> needs the socket types first.
#include <iphlpapi.h>
#include <windows.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "sim/client/installed_port.h"
#include "sim/client/sim_client.h"

namespace {

std::mutex lock;

void Copy(char (&to)[16], const std::string& from) {
  std::memset(to, 0, sizeof to);
  std::memcpy(to, from.data(), std::min(from.size(), sizeof to - 1));
}

void Fill(IP_ADAPTER_INFO& out, const vx::AdapterIpInfo& in, DWORD index) {
  std::memset(&out, 0, sizeof out);
  std::strncpy(out.AdapterName, in.adapterName.c_str(), MAX_ADAPTER_NAME_LENGTH + 3);
  std::strncpy(out.Description, "Simulated wireless adapter", MAX_ADAPTER_DESCRIPTION_LENGTH + 3);
  out.AddressLength =
      static_cast<UINT>(std::min<size_t>(in.hardwareAddress.size(), MAX_ADAPTER_ADDRESS_LENGTH));
  std::memcpy(out.Address, in.hardwareAddress.data(), out.AddressLength);
  out.Index = index;
  out.Type = IF_TYPE_IEEE80211;
  out.DhcpEnabled = in.dhcpEnabled;
  Copy(out.IpAddressList.IpAddress.String, in.address);
  Copy(out.IpAddressList.IpMask.String, in.mask);
  Copy(out.GatewayList.IpAddress.String, in.gateway);
  Copy(out.GatewayList.IpMask.String, in.gateway.empty() ? "" : "255.255.255.255");
  Copy(out.DhcpServer.IpAddress.String, in.dhcpServer);
  Copy(out.DhcpServer.IpMask.String, in.dhcpServer.empty() ? "" : "255.255.255.255");
}

}  // namespace

extern "C" DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG size) {
  if (!size) return ERROR_INVALID_PARAMETER;
  std::lock_guard guard(lock);
  // The utilities load and free the library at each call; kept loaded, its runtime and Winsock
  // are not torn down and brought up again each time (which the x86_64 runtime does not survive).
  static const bool pinned = [] {
    HMODULE self = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                              reinterpret_cast<LPCWSTR>(&Fill), &self) != 0;
  }();
  (void)pinned;
  auto port = vx::sim::InstalledSimPort();
  if (!port) return ERROR_NOT_SUPPORTED;
  vx::sim::SimConnection connection(vx::sim::SimEndpoint{"127.0.0.1", *port});
  std::vector<vx::AdapterIpInfo> adapters;
  if (!vx::sim::RemoteIpInfo(connection).GetAdapters(adapters)) return ERROR_NOT_SUPPORTED;
  if (adapters.empty()) return ERROR_NO_DATA;
  const ULONG needed = static_cast<ULONG>(adapters.size() * sizeof(IP_ADAPTER_INFO));
  if (!info || *size < needed) {
    *size = needed;
    return ERROR_BUFFER_OVERFLOW;
  }
  for (size_t i = 0; i < adapters.size(); ++i) {
    Fill(info[i], adapters[i], static_cast<DWORD>(i + 1));
    info[i].Next = i + 1 < adapters.size() ? &info[i + 1] : nullptr;
  }
  return ERROR_SUCCESS;
}
