#include <windows.h>

#include <vector>

#include "win32/ports/file_info_win.h"
#include "win32/ports/wide.h"

namespace vx {
namespace {

// The whole version resource of a file; empty when it has none.
std::vector<uint8_t> VersionBlock(const std::string& path) {
  std::wstring wide = Widen(path);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &handle);
  std::vector<uint8_t> block;
  if (size == 0) return block;
  block.resize(size);
  if (!GetFileVersionInfoW(wide.c_str(), 0, size, block.data())) block.clear();
  return block;
}

}  // namespace

std::string Win32FileInfo::SystemDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return Narrow(std::wstring_view(buffer, n));
}

std::string Win32FileInfo::ProgramFile() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return Narrow(buffer);
    }
    buffer.resize(buffer.size() * 2);  // the path was cut off
  }
}

std::optional<FileVersion> Win32FileInfo::FixedVersion(const std::string& path) {
  std::vector<uint8_t> block = VersionBlock(path);
  if (block.empty()) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  FileVersion v;
  v.major = HIWORD(info->dwFileVersionMS);
  v.minor = LOWORD(info->dwFileVersionMS);
  v.build = HIWORD(info->dwFileVersionLS);
  v.revision = LOWORD(info->dwFileVersionLS);
  return v;
}

std::optional<std::string> Win32FileInfo::VersionString(const std::string& path, const std::string& name) {
  std::vector<uint8_t> block = VersionBlock(path);
  if (block.empty()) return std::nullopt;
  struct Translation {
    WORD language;
    WORD codePage;
  }* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                      &length) ||
      length < sizeof(Translation))
    return std::nullopt;
  // The block in the user interface's language (the Chinese legal notice on a Chinese system),
  // else the first.
  const size_t count = length / sizeof(Translation);
  const LANGID ui = GetUserDefaultUILanguage();
  size_t chosen = 0;
  for (size_t i = 0; i < count; ++i)
    if (translations[i].language == ui) {
      chosen = i;
      break;
    }
  wchar_t sub[128];
  swprintf(sub, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations[chosen].language,
           translations[chosen].codePage, Widen(name).c_str());
  wchar_t* text = nullptr;
  UINT chars = 0;
  if (!VerQueryValueW(block.data(), sub, reinterpret_cast<void**>(&text), &chars) || !text) return std::nullopt;
  std::wstring_view value(text, chars);
  while (!value.empty() && value.back() == L'\0') value.remove_suffix(1);
  return Narrow(value);
}

std::optional<FileDate> Win32FileInfo::LastWriteDate(const std::string& path) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  FILETIME written = {};
  BOOL ok = GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  FILETIME local = {};
  SYSTEMTIME t = {};
  if (!ok || !FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t)) return std::nullopt;
  return FileDate{t.wYear, t.wMonth, t.wDay};
}

}  // namespace vx
