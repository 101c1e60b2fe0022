// The real ports for services, programs and files, and IP information.
#pragma once
#include "platform/ip_info.h"
#include "platform/process.h"
#include "platform/service.h"

namespace vx {

class Win32Services : public ServicePort {
 public:
  std::optional<uint32_t> QueryState(const std::string& name) override;
  bool Stop(const std::string& name) override;
  bool Start(const std::string& name) override;
  bool SetStartType(const std::string& name, uint32_t startType) override;
};

class Win32Process : public ProcessPort {
 public:
  bool Exec(const std::string& commandLine, int showState) override;
  std::string ProgramFolder() override;
  bool FileReadable(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool OpenUrl(const std::string& url) override;
};

class Win32IpInfo : public IpInfoPort {
 public:
  // The IP helper library, loaded at each call as older systems may lack it; tests name one that
  // is missing or that lacks GetAdaptersInfo.
  explicit Win32IpInfo(const wchar_t* library = L"iphlpapi.dll") : library_(library) {}
  bool GetAdapters(std::vector<AdapterIpInfo>& adapters) override;

 private:
  const wchar_t* library_;
};

// The process token holds the built-in Administrators group (S-1-5-32-544).
bool TokenInAdministrators();

}  // namespace vx
