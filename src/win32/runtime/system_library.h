// Libraries the programs load at run time come from the system folder by full path: a bare name
// would also be searched for in the current folder and along PATH, where a user of a program
// that runs as an administrator could plant a library of that name.
#pragma once
#include <windows.h>

#include <string>

namespace vx {

// The full path of `name` in the system folder; empty when the folder cannot be told.
inline std::wstring SystemLibraryPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::wstring path(folder, n);
  if (path.back() != L'\\') path += L'\\';
  return path + name;
}

// Loads `name` from the system folder only: a full path is not searched for.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  const std::wstring path = SystemLibraryPath(name);
  return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

}  // namespace vx
