// Stands for a library a user planted: loading it leaves a mark in the environment.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableW(L"VX_PLANTED_LOADED", L"1");
  return TRUE;
}
