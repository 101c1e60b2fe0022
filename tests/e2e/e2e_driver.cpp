// Drives the real programs from outside for the end-to-end scripts: finds their windows, sends
// them the messages a user's clicks would, and reports what is on screen.
//   e2e_driver post TITLE MESSAGE WPARAM LPARAM      post a message to a top-level window
//   e2e_driver wait TITLE SECONDS                    wait until a window with this title exists
//   e2e_driver gone TITLE SECONDS                    wait until no such window exists
//   e2e_driver box-text SECONDS                      print the text of the first message box, press OK
//   e2e_driver key VK                                send a key press to the foreground window
// Titles match exactly. Exit code 0 on success, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
  if (!w.empty()) w.pop_back();
  return w;
}

std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
  if (!s.empty()) s.pop_back();
  return s;
}

HWND FindTitle(const std::wstring& title) { return FindWindowW(nullptr, title.c_str()); }

struct BoxSearch {
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd) && GetDlgItem(hwnd, 0xFFFF)) {
    reinterpret_cast<BoxSearch*>(lp)->box = hwnd;
    return FALSE;
  }
  return TRUE;
}

bool WaitFor(const std::wstring& title, double seconds, bool present) {
  DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
  do {
    if ((FindTitle(title) != nullptr) == present) return true;
    Sleep(100);
  } while (GetTickCount() < end);
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** wargv) {
  // Wide arguments: titles may be Chinese whatever the console code page.
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(Utf8(wargv[i]));
  std::vector<const char*> pointers;
  for (const auto& a : args) pointers.push_back(a.c_str());
  const char* const* argv = pointers.data();
  if (argc < 2) return 2;
  std::string verb = argv[1];
  if (verb == "post" && argc == 6) {
    HWND w = FindTitle(Wide(argv[2]));
    if (!w) return 1;
    return PostMessageW(w, static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)),
                        static_cast<WPARAM>(std::strtoul(argv[4], nullptr, 0)),
                        static_cast<LPARAM>(std::strtoul(argv[5], nullptr, 0)))
               ? 0
               : 1;
  }
  if ((verb == "wait" || verb == "gone") && argc == 4) return WaitFor(Wide(argv[2]), std::atof(argv[3]), verb == "wait") ? 0 : 1;
  if (verb == "box-text" && argc == 3) {
    DWORD end = GetTickCount() + static_cast<DWORD>(std::atof(argv[2]) * 1000);
    do {
      BoxSearch s;
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
      if (s.box) {
        wchar_t text[1024] = {};
        GetDlgItemTextW(s.box, 0xFFFF, text, 1024);
        std::printf("%s\n", Utf8(text).c_str());
        std::fflush(stdout);
        PostMessageW(s.box, WM_COMMAND, IDOK, 0);
        return 0;
      }
      Sleep(100);
    } while (GetTickCount() < end);
    return 1;
  }
  if (verb == "key" && argc == 3) {
    WORD vk = static_cast<WORD>(std::strtoul(argv[2], nullptr, 0));
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, in, sizeof(INPUT)) == 2 ? 0 : 1;
  }
  return 2;
}
