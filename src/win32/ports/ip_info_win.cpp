#include <iphlpapi.h>
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <vector>

#include "win32/ports/win32_services.h"
#include "win32/runtime/system_library.h"

namespace vx {

bool Win32IpInfo::GetAdapters(std::vector<AdapterIpInfo>& adapters) {
  adapters.clear();
  HMODULE lib = LoadSystemLibrary(library_);
  if (!lib) return false;
  using Fn = DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG);
  auto getInfo = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, "GetAdaptersInfo")));
  bool ok = false;
  if (getInfo) {
    ULONG size = 0;
    std::vector<uint8_t> buffer;
    DWORD r = ERROR_BUFFER_OVERFLOW;
    for (int tries = 0; tries < 4 && r == ERROR_BUFFER_OVERFLOW; ++tries) {
      buffer.resize(size ? size : sizeof(IP_ADAPTER_INFO));
      size = static_cast<ULONG>(buffer.size());
      r = getInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()), &size);
    }
    if (r == ERROR_SUCCESS) {
      ok = true;
      for (auto* a = reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()); a; a = a->Next) {
        AdapterIpInfo info;
        info.adapterName = a->AdapterName;
        info.hardwareAddress.assign(
            a->Address, a->Address + std::min<UINT>(a->AddressLength, MAX_ADAPTER_ADDRESS_LENGTH));
        info.address = a->IpAddressList.IpAddress.String;
        info.mask = a->IpAddressList.IpMask.String;
        info.gateway = a->GatewayList.IpAddress.String;
        info.dhcpServer = a->DhcpServer.IpAddress.String;
        info.dhcpEnabled = a->DhcpEnabled != 0;
        adapters.push_back(std::move(info));
      }
    } else if (r == ERROR_NO_DATA) {
      ok = true;
    }
  }
  FreeLibrary(lib);
  return ok;
}

}  // namespace vx
