// Drives the real programs from outside for the end-to-end scripts: finds their windows, sends
// them the messages a user's clicks and typing would, and reports what is on screen.
//   e2e_driver post TITLE MESSAGE WPARAM LPARAM      post a message to a top-level window
//   e2e_driver send TITLE MESSAGE WPARAM LPARAM      send it, and return once it is handled
//   e2e_driver wait TITLE SECONDS                    wait until a window with this title exists
//   e2e_driver gone TITLE SECONDS                    wait until no such window exists
//   e2e_driver shown TITLE SECONDS                   wait until such a window is on the screen
//   e2e_driver hidden TITLE SECONDS                  wait until none is on the screen
//   e2e_driver box-text SECONDS [BUTTON]             print the text of the first message box and
//                                                    press BUTTON (default IDOK)
//   e2e_driver box-up SECONDS                        print the text of the first message box that
//                                                    is up within SECONDS, and leave it up
//   e2e_driver key VK                                send a key press to the foreground window
// Controls are found by dialog ID among the visible descendants of the window titled TITLE (a
// property sheet's hidden pages are skipped):
//   e2e_driver click TITLE ID                        press a button (check boxes toggle)
//   e2e_driver set-text TITLE ID TEXT                type into an edit or an editable combo box
//   e2e_driver choose TITLE ID TEXT                  choose a combo box or list box item by text
//                                                    ("#N": the Nth item, from 0)
//   e2e_driver select TITLE ID TEXT [COLUMN]         select the list view row whose COLUMN reads TEXT
//   e2e_driver activate TITLE ID TEXT [COLUMN]       the same, then double-click it
//   e2e_driver text TITLE ID                         print the control's text
//   e2e_driver items TITLE ID                        print combo/list box items or list view rows
//                                                    (columns separated by tabs)
//   e2e_driver state TITLE ID                        print "enabled"/"disabled" and "checked"
//   e2e_driver controls TITLE                        print every visible control: id, class, text
//   e2e_driver reg-units KEY NAME                    print the UTF-16 units of the text value NAME
//                                                    under HKLM\KEY in hexadecimal ("0041 DCFF"),
//                                                    as stored, whatever they are
//   e2e_driver rect TITLE [ID]                       print the window's (or control's) screen
//                                                    rectangle: left top right bottom
//   e2e_driver limit TITLE ID                        print an edit's text limit in characters
//   e2e_driver columns TITLE ID                      print a list view's client width, then per
//                                                    column its width and title (tab-separated)
//   e2e_driver list-look TITLE ID                    print a list view's extended style, whether
//                                                    it has a small image list, each row's image
//   e2e_driver file-version PATH                     print a file's fixed version: a.b.c.d
//   e2e_driver inspect TITLE                         print the window's visible texts and every
//                                                    label that does not fit its control, measured
//                                                    inside the program (e2e_probe.dll; its lines
//                                                    are described there)
//   e2e_driver inspect-menu                          the same for the pop-up menu on the screen
//   e2e_driver inspect-tray                          the same for the notification area: the tip
//                                                    of each icon it shows
//   e2e_driver scrolls TITLE ID                      print "vertical" and/or "horizontal" for the
//                                                    scroll bars a list shows
// Titles match exactly. Exit code 0 on success, 1 otherwise.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
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

std::wstring ClassOf(HWND hwnd) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return cls;
}

struct TitleSearch {
  std::wstring title;
  HWND visible = nullptr;
  HWND any = nullptr;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM lp) {
  auto& s = *reinterpret_cast<TitleSearch*>(lp);
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  if (s.title != text) return TRUE;
  if (!s.any) s.any = hwnd;
  // A message box may carry the title of the window it belongs to; the window is meant.
  bool box = ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, 0xFFFF);
  if (IsWindowVisible(hwnd) && !box) {
    s.visible = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The visible window of this title, else any window of it (the hidden main dialogs).
HWND FindTitle(const std::wstring& title) {
  TitleSearch s{title};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&s));
  return s.visible ? s.visible : s.any;
}

std::wstring TextOf(HWND hwnd) {
  // WM_GETTEXT is carried across processes; GetWindowText would not ask the other process.
  wchar_t text[4096] = {};
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

struct BoxSearch {
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
  if (ClassOf(hwnd) == L"#32770" && IsWindowVisible(hwnd) && GetDlgItem(hwnd, 0xFFFF)) {
    reinterpret_cast<BoxSearch*>(lp)->box = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The first message box on the screen within the time, or none; its text is printed.
HWND WaitForBox(double seconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
  do {
    BoxSearch s;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
    if (s.box) {
      std::printf("%s\n", Utf8(TextOf(GetDlgItem(s.box, 0xFFFF))).c_str());
      std::fflush(stdout);
      return s.box;
    }
    Sleep(100);
  } while (GetTickCount() < end);
  return nullptr;
}

bool Shown(const std::wstring& title) {
  HWND w = FindTitle(title);
  return w && IsWindowVisible(w);
}

bool WaitFor(const std::wstring& title, double seconds, bool present, bool onScreen = false) {
  DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
  do {
    if ((onScreen ? Shown(title) : FindTitle(title) != nullptr) == present) return true;
    Sleep(100);
  } while (GetTickCount() < end);
  return false;
}

// Visible descendants, in Z order of each parent.
BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
  if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> VisibleControls(HWND top) {
  std::vector<HWND> all;
  EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> shown;
  for (HWND h : all) {
    bool visible = true;  // a control on a hidden page is itself marked visible
    for (HWND p = GetParent(h); p && p != top; p = GetParent(p)) visible = visible && IsWindowVisible(p);
    if (visible) shown.push_back(h);
  }
  return shown;
}

HWND FindControl(const std::string& title, const char* idText) {
  HWND top = FindTitle(Wide(title));
  if (!top) {
    std::fprintf(stderr, "no window \"%s\"\n", title.c_str());
    return nullptr;
  }
  int id = static_cast<int>(std::strtol(idText, nullptr, 0));
  for (HWND h : VisibleControls(top))
    if (GetDlgCtrlID(h) == id) return h;
  std::fprintf(stderr, "no visible control %d in \"%s\"\n", id, title.c_str());
  return nullptr;
}

void Notify(HWND control, UINT code) {
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

// Memory inside the program that owns a list view: its messages take pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND owner, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  bool ok() const { return address_ != nullptr; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t n) {
    return offset + n <= size_ && WriteProcessMemory(process_, at(offset), data, n, nullptr);
  }
  bool Read(size_t offset, void* data, size_t n) {
    return offset + n <= size_ && ReadProcessMemory(process_, at(offset), data, n, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

constexpr size_t kTextOffset = 512;
constexpr int kTextChars = 1024;

std::wstring RowText(HWND list, RemoteBuffer& mem, int row, int column) {
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<LPWSTR>(mem.at(kTextOffset));
  item.cchTextMax = kTextChars;
  std::vector<wchar_t> text(kTextChars, L'\0');
  if (!mem.Write(0, &item, sizeof item) || !mem.Write(kTextOffset, text.data(), text.size() * sizeof(wchar_t)))
    return {};
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(mem.at(0)));
  mem.Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t));
  text.back() = L'\0';
  return text.data();
}

int Columns(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  int n = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  return n > 0 ? n : 1;
}

bool IsListView(HWND h) { return ClassOf(h) == WC_LISTVIEWW; }
bool IsCombo(HWND h) { return ClassOf(h) == L"ComboBox"; }
bool IsListBox(HWND h) { return ClassOf(h) == L"ListBox"; }

std::vector<std::wstring> BoxItems(HWND h) {
  const bool combo = IsCombo(h);
  int n = static_cast<int>(SendMessageW(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  std::vector<std::wstring> items;
  for (int i = 0; i < n; ++i) {
    wchar_t text[1024] = {};
    int len = static_cast<int>(SendMessageW(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0));
    if (len >= 0 && len < 1024) SendMessageW(h, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

int PrintItems(HWND h) {
  if (IsListView(h)) {
    RemoteBuffer mem(h, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!mem.ok()) return 1;
    int rows = static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
    int columns = Columns(h);
    for (int r = 0; r < rows; ++r) {
      std::wstring line;
      for (int c = 0; c < columns; ++c) line += (c ? L"\t" : L"") + RowText(h, mem, r, c);
      std::printf("%s\n", Utf8(line).c_str());
    }
    return 0;
  }
  if (!IsCombo(h) && !IsListBox(h)) return 1;
  for (const auto& item : BoxItems(h)) std::printf("%s\n", Utf8(item).c_str());
  return 0;
}

int Choose(HWND h, const std::wstring& wanted) {
  auto items = BoxItems(h);
  // "#N" picks the Nth item, for lists whose texts depend on the language.
  const long index = wanted.size() > 1 && wanted[0] == L'#' ? std::wcstol(wanted.c_str() + 1, nullptr, 10) : -1;
  for (size_t i = 0; i < items.size(); ++i) {
    if (index >= 0 ? static_cast<long>(i) != index : items[i] != wanted) continue;
    const bool combo = IsCombo(h);
    SendMessageW(h, combo ? CB_SETCURSEL : LB_SETCURSEL, i, 0);
    Notify(h, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    return 0;
  }
  std::fprintf(stderr, "no item \"%s\"\n", Utf8(wanted).c_str());
  return 1;
}

int SelectRow(HWND list, const std::wstring& wanted, int column, bool activate) {
  RemoteBuffer mem(list, kTextOffset + kTextChars * sizeof(wchar_t));
  if (!mem.ok()) return 1;
  int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < rows; ++r) {
    if (RowText(list, mem, r, column) != wanted) continue;
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!mem.Write(0, &item, sizeof item)) return 1;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(mem.at(0)));
    if (activate) {
      // The notification a double click sends its parent, built inside the program.
      NMITEMACTIVATE nm = {};
      nm.hdr.hwndFrom = list;
      nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
      nm.hdr.code = NM_DBLCLK;
      nm.iItem = r;
      if (!mem.Write(0, &nm, sizeof nm)) return 1;
      SendMessageW(GetParent(list), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(mem.at(0)));
    }
    return 0;
  }
  std::fprintf(stderr, "no row \"%s\"\n", Utf8(wanted).c_str());
  return 1;
}

void PrintRect(HWND h) {
  RECT rc{};
  GetWindowRect(h, &rc);
  std::printf("%ld %ld %ld %ld\n", static_cast<long>(rc.left), static_cast<long>(rc.top), static_cast<long>(rc.right),
              static_cast<long>(rc.bottom));
}

int PrintColumns(HWND list) {
  RemoteBuffer mem(list, kTextOffset + kTextChars * sizeof(wchar_t));
  if (!mem.ok()) return 1;
  RECT rc{};
  GetClientRect(list, &rc);
  std::printf("client\t%ld\n", static_cast<long>(rc.right - rc.left));
  for (int c = 0; c < Columns(list); ++c) {
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = reinterpret_cast<LPWSTR>(mem.at(kTextOffset));
    col.cchTextMax = kTextChars;
    std::vector<wchar_t> text(kTextChars, L'\0');
    if (!mem.Write(0, &col, sizeof col) || !mem.Write(kTextOffset, text.data(), text.size() * sizeof(wchar_t)))
      return 1;
    if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(mem.at(0)))) return 1;
    mem.Read(0, &col, sizeof col);
    mem.Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t));
    text.back() = L'\0';
    std::printf("%d\t%s\n", col.cx, Utf8(text.data()).c_str());
  }
  return 0;
}

int PrintListLook(HWND list) {
  RemoteBuffer mem(list, sizeof(LVITEMW));
  if (!mem.ok()) return 1;
  std::printf("style 0x%lx\n", static_cast<unsigned long>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)));
  std::printf("images %s\n", SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0) ? "yes" : "no");
  int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < rows; ++r) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = r;
    if (!mem.Write(0, &item, sizeof item)) return 1;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(mem.at(0)));
    mem.Read(0, &item, sizeof item);
    std::printf("row %d image %d\n", r, item.iImage);
  }
  return 0;
}

int PrintFileVersion(const std::string& path) {
  std::wstring w = Wide(path);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(w.c_str(), &ignored);
  if (!size) return 1;
  std::vector<char> data(size);
  if (!GetFileVersionInfoW(w.c_str(), 0, size, data.data())) return 1;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) || !fixed) return 1;
  std::printf("%u.%u.%u.%u\n", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
              static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)), static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
              static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
  return 0;
}

// Runs e2e_probe.dll's hook on the thread of the window and prints its report.
int Inspect(HWND top) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dll = path;
  dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"e2e_probe.dll";
  HMODULE probe = LoadLibraryW(dll.c_str());
  auto hook = probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "ProbeHook")))
                    : nullptr;
  if (!hook) {
    std::fprintf(stderr, "cannot load %s\n", Utf8(dll).c_str());
    return 1;
  }
  const DWORD self = GetCurrentProcessId();
  wchar_t name[64];
  std::swprintf(name, 64, L"vx-e2e-probe-%lu", static_cast<unsigned long>(self));
  constexpr DWORD kSize = 4 << 20;
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, name);
  std::swprintf(name, 64, L"vx-e2e-probe-done-%lu", static_cast<unsigned long>(self));
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, name);
  HHOOK hhook = SetWindowsHookExW(WH_GETMESSAGE, hook, probe, GetWindowThreadProcessId(top, nullptr));
  int rc = 1;
  if (mapping && done && hhook &&
      PostMessageW(top, RegisterWindowMessageW(L"vx-e2e-probe"), self, reinterpret_cast<LPARAM>(top)) &&
      WaitForSingleObject(done, 15000) == WAIT_OBJECT_0) {
    if (auto* view = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kSize))) {
      uint32_t n = 0;
      std::memcpy(&n, view, 4);
      std::fwrite(view + 4, 1, std::min<uint32_t>(n, kSize - 4), stdout);
      UnmapViewOfFile(view);
      rc = 0;
    }
  } else {
    std::fprintf(stderr, "the window did not answer the probe\n");
  }
  if (hhook) UnhookWindowsHookEx(hhook);
  if (done) CloseHandle(done);
  if (mapping) CloseHandle(mapping);
  return rc;
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
  if ((verb == "post" || verb == "send") && argc == 6) {
    HWND w = FindTitle(Wide(argv[2]));
    if (!w) return 1;
    auto message = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
    auto wparam = static_cast<WPARAM>(std::strtoul(argv[4], nullptr, 0));
    auto lparam = static_cast<LPARAM>(std::strtoul(argv[5], nullptr, 0));
    if (verb == "post") return PostMessageW(w, message, wparam, lparam) ? 0 : 1;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(w, message, wparam, lparam, SMTO_NORMAL, 10000, &result) ? 0 : 1;
  }
  if ((verb == "wait" || verb == "gone") && argc == 4) return WaitFor(Wide(argv[2]), std::atof(argv[3]), verb == "wait") ? 0 : 1;
  if ((verb == "shown" || verb == "hidden") && argc == 4)
    return WaitFor(Wide(argv[2]), std::atof(argv[3]), verb == "shown", true) ? 0 : 1;
  if (verb == "box-text" && (argc == 3 || argc == 4)) {
    int button = argc == 4 ? std::atoi(argv[3]) : IDOK;
    HWND box = WaitForBox(std::atof(argv[2]));
    if (!box) return 1;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    return 0;
  }
  if (verb == "box-up" && argc == 3) return WaitForBox(std::atof(argv[2])) ? 0 : 1;
  if (verb == "key" && argc == 3) {
    WORD vk = static_cast<WORD>(std::strtoul(argv[2], nullptr, 0));
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, in, sizeof(INPUT)) == 2 ? 0 : 1;
  }
  if (verb == "controls" && argc == 3) {
    HWND top = FindTitle(Wide(argv[2]));
    if (!top) return 1;
    for (HWND h : VisibleControls(top))
      std::printf("%d\t%s\t%s%s\n", GetDlgCtrlID(h), Utf8(ClassOf(h)).c_str(), Utf8(TextOf(h)).c_str(),
                  IsWindowEnabled(h) ? "" : "\t(disabled)");
    return 0;
  }
  if (verb == "reg-units" && argc == 4) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(argv[2]).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return 1;
    wchar_t data[512] = {};
    DWORD size = sizeof data - sizeof(wchar_t), type = 0;
    LONG r =
        RegQueryValueExW(key, Wide(argv[3]).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_SZ) return 1;
    size_t units = size / sizeof(wchar_t);
    while (units > 0 && data[units - 1] == L'\0') --units;
    for (size_t i = 0; i < units; ++i) std::printf(i ? " %04X" : "%04X", static_cast<unsigned>(data[i]));
    std::printf("\n");
    return 0;
  }
  if (verb == "file-version" && argc == 3) return PrintFileVersion(argv[2]);
  if (verb == "rect" && argc == 3) {
    HWND top = FindTitle(Wide(argv[2]));
    if (!top) return 1;
    PrintRect(top);
    return 0;
  }
  if (verb == "inspect-menu" && argc == 2) {
    HWND menu = nullptr;
    while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) && !IsWindowVisible(menu)) {
    }
    if (!menu) {
      std::fprintf(stderr, "no menu on the screen\n");
      return 1;
    }
    return Inspect(menu);
  }
  if (verb == "inspect-tray" && argc == 2) {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) {
      std::fprintf(stderr, "no notification area\n");
      return 1;
    }
    return Inspect(tray);
  }
  if (verb == "inspect" && argc == 3) {
    HWND top = FindTitle(Wide(argv[2]));
    if (!top) {
      std::fprintf(stderr, "no window \"%s\"\n", argv[2]);
      return 1;
    }
    return Inspect(top);
  }
  if (argc < 4) return 2;
  HWND control = FindControl(argv[2], argv[3]);
  if (!control) return 1;
  if (verb == "click" && argc == 4) {
    // A user cannot press a button of a disabled window either (one under a modal dialog).
    if (!IsWindowEnabled(control) || !IsWindowEnabled(GetAncestor(control, GA_ROOT))) {
      std::fprintf(stderr, "control %s is disabled\n", argv[3]);
      return 1;
    }
    return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
  }
  if (verb == "set-text" && argc == 5) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(argv[4]).c_str()));
    Notify(control, IsCombo(control) ? CBN_EDITCHANGE : EN_CHANGE);
    return 0;
  }
  if (verb == "choose" && argc == 5) return Choose(control, Wide(argv[4]));
  if ((verb == "select" || verb == "activate") && (argc == 5 || argc == 6))
    return IsListView(control) ? SelectRow(control, Wide(argv[4]), argc == 6 ? std::atoi(argv[5]) : 0, verb == "activate")
                               : 1;
  if (verb == "text" && argc == 4) {
    std::printf("%s\n", Utf8(TextOf(control)).c_str());
    return 0;
  }
  if (verb == "items" && argc == 4) return PrintItems(control);
  if (verb == "dropped" && argc == 4) return SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) ? 0 : 1;
  if (verb == "rect" && argc == 4) {
    PrintRect(control);
    return 0;
  }
  if (verb == "limit" && argc == 4) {
    std::printf("%lu\n", static_cast<unsigned long>(SendMessageW(control, EM_GETLIMITTEXT, 0, 0)));
    return 0;
  }
  if (verb == "columns" && argc == 4) return IsListView(control) ? PrintColumns(control) : 1;
  if (verb == "list-look" && argc == 4) return IsListView(control) ? PrintListLook(control) : 1;
  if (verb == "scrolls" && argc == 4) {
    LONG style = GetWindowLongW(control, GWL_STYLE);
    if (style & WS_VSCROLL) std::printf("vertical\n");
    if (style & WS_HSCROLL) std::printf("horizontal\n");
    return 0;
  }
  if (verb == "state" && argc == 4) {
    std::printf("%s%s\n", IsWindowEnabled(control) ? "enabled" : "disabled",
                SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? " checked" : "");
    return 0;
  }
  return 2;
}
