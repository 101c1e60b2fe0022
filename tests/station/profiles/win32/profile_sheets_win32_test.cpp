// The profile editor's sheets and pages over the real view layer and the program's own
// templates, under Wine: every sheet opens with its pages, the controls show what the models
// hold, OK stores a profile, a bad key is refused with its message; each page is saved as a
// bitmap for a person to look at (argument 1: the folder, argument 2: a name suffix).
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
// First: it keeps MessageBox from turning into MessageBoxW in the port headers.
#include "win32/ui/win32_dialogs.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../../../win32/check.h"
#include "fakes/fake_cert_store.h"
#include "resources/strings/string_tables.h"
#include "station/dot1x/dot1x_sheet.h"
#include "station/profiles/profile_page.h"
#include "station/profiles/profile_sheet.h"
#include "win32/ports/cert_store_win.h"
#include "win32/ports/win32_ports.h"
#include "win32/ports/wide.h"

namespace vx {
namespace {

constexpr const char* kRoot = "SOFTWARE\\VxProfileViewTest\\0000";
std::wstring g_shots;
std::wstring g_suffix;

void SaveWindow(HWND hwnd, const std::wstring& name) {
  if (g_shots.empty() || !hwnd) return;
  // Paint what the last changes invalidated before the screen is read.
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT rc;
  GetWindowRect(hwnd, &rc);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof(bi);
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  bi.biCompression = BI_RGB;
  const DWORD stride = ((w * 3) + 3) & ~3u;
  std::vector<BYTE> pixels(stride * static_cast<DWORD>(h));
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi);
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
  std::wstring path = g_shots + L"\\" + name + g_suffix + L".bmp";
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    fwrite(&fh, sizeof(fh), 1, f);
    fwrite(&bi, sizeof(bi), 1, f);
    fwrite(pixels.data(), 1, pixels.size(), f);
    fclose(f);
  }
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

// Runs `steps` one per timer tick while a modal window of this thread is up; each gets the
// active window (the sheet, or a message box over it).
struct Driver {
  std::vector<std::function<void(HWND)>> steps;
  size_t next = 0;
  UINT_PTR timer = 0;
  static Driver*& Current() {
    static Driver* d = nullptr;
    return d;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Driver* d = Current();
    if (!d || d->next >= d->steps.size()) return;
    HWND active = GetActiveWindow();
    if (!active) return;
    d->steps[d->next++](active);
  }
  explicit Driver(std::vector<std::function<void(HWND)>> s) : steps(std::move(s)) {
    Current() = this;
    timer = SetTimer(nullptr, 0, 250, Tick);
  }
  ~Driver() {
    KillTimer(nullptr, timer);
    Current() = nullptr;
  }
  bool Done() const { return next == steps.size(); }
};

std::wstring TextOf(HWND h) {
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  return buf;
}
HWND Page(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
int TabCount(HWND sheet) {
  HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  return tab ? static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)) : 0;
}
void ShowTab(HWND sheet, int index) { SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0); }
void ChooseCombo(HWND page, int id, int index) {
  HWND combo = GetDlgItem(page, id);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}
int ComboCount(HWND page, int id) { return static_cast<int>(SendDlgItemMessageW(page, id, CB_GETCOUNT, 0, 0)); }
bool Visible(HWND page, int id) { return IsWindowVisible(GetDlgItem(page, id)) != FALSE; }
bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }
void Press(HWND sheet, int button) { PostMessageW(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0); }
// The text of a message box: its static control.
std::wstring BoxText(HWND box) { return TextOf(GetDlgItem(box, 0xFFFF)); }

struct World {
  Win32Registry reg;
  Win32Device device;
  Win32Timers timers;
  OidChannel channel{device, timers, Program::Station};
  ProfileStore store{reg, [] { return std::string(kRoot); }};
  const StringTable& strings = StringsForLanguage(GetUserDefaultUILanguage());
  Win32Dialogs dialogs{GetModuleHandleW(nullptr)};
  FakeCertStore certs;
  ProfileEditorFacts facts;
  ProfileEditorContext ctx{reg,     channel, store, strings, dialogs, certs, [this] { return facts; },
                           [] { return std::vector<std::string>{"HomeNet", "Office"}; }, {}, {}, {}, {}};
  World() {
    reg.DeleteTree(Hklm(kRoot));
    reg.CreateKey(Hklm(kRoot));
    channel.SetDevicePath("\\\\.\\VxNoSuchAdapter");
    facts.settingsRoot = kRoot;
    facts.osKind = 7;
    facts.supplicantAvailable = true;
    facts.driverVersion = 0x0501;
    facts.channels.family = 4;
    certs.stores[CertStoreName::My] = {{"alice", "Arventa Test CA", "2030/12/31", "Alice (test)", {0xA1, 0xA2}},
                                       {"bob", "Arventa Test CA", "2031/01/31", "", {0xB1}}};
    certs.stores[CertStoreName::Root] = {{"Arventa Test CA", "Arventa Test CA", "2035/01/01", "", {0xCA}}};
  }
  ~World() { reg.DeleteTree(Hklm("SOFTWARE\\VxProfileViewTest")); }
  std::string Value(const std::string& profile, const char* name) {
    auto v = reg.QueryValue(store.ProfileKey(profile), name);
    return v ? v->text : std::string("<absent>");
  }
};

check::Register addSheet("add sheet: pages, security lists, a refused key, OK stores", [] {
  World w;
  auto sheet = CProfileSheet::ForAdd(w.ctx, "", kEncNone, kAuthOpen, 1, 1);
  std::wstring boxText;
  Driver d({
      [&](HWND s) {
        CHECK(TabCount(s) == 3);
        CHECK(TextOf(s) == Widen(w.strings.Get(IDS_ADD_PROFILE)));
        CHECK(TextOf(GetDlgItem(Page(s), scfg::kName)) == L"PROF1");
        CHECK(!Visible(Page(s), scfg::kChannel));
        CHECK(!Enabled(Page(s), scfg::kPreamble));
        SaveWindow(s, L"add_configuration");
        ShowTab(s, 1);
      },
      [&](HWND s) {
        HWND p = Page(s);
        CHECK(ComboCount(p, asec::kAuth) == 7);
        ChooseCombo(p, asec::kAuth, 1);  // Shared: WEP, the default key is checked
        CHECK(ComboCount(p, asec::kEnc) == 1);
        CHECK(Enabled(p, asec::kKeyHex[0]));
        SetDlgItemTextW(p, asec::kKeyHex[0], L"12345");
        SaveWindow(s, L"add_security");
        Press(s, PSBTN_OK);
      },
      [&](HWND box) {
        boxText = BoxText(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      },
      [&](HWND s) {
        HWND p = Page(s);  // still open, still on the security page
        CHECK(GetDlgItem(p, asec::kAuth) != nullptr);
        SetDlgItemTextW(p, asec::kKeyHex[0], L"0123456789");
        ShowTab(s, 2);
      },
      [&](HWND s) {
        SaveWindow(s, L"add_advanced");
        Press(s, PSBTN_OK);
      },
  });
  int result = w.dialogs.RunModal(*sheet);
  CHECK(d.Done());
  CHECK(boxText == Widen(w.strings.Get(IDS_WEP_HEX_LENGTH)));
  CHECK(result == kIdOk);
  CHECK(w.Value("PROF1", "AuthenType") == "1");
  CHECK(w.Value("PROF1", "WEPKey1") == "0123456789");
});

check::Register dot1xSheet("802.1X sheet and certificate choice", [] {
  World w;
  Dot1xSettings s;
  s.authenProtocol = kEapTls;
  s.clientCert = {0xA1, 0xA2};
  C8021xSheet sheet(w.strings, w.dialogs, w.certs, s, false);
  Driver d({
      [&](HWND h) {
        CHECK(TabCount(h) == 2);
        CHECK(TextOf(h) == Widen(w.strings.Get(IDS_8021X_SETTING)));
        HWND p = Page(h);
        CHECK(ComboCount(p, dauth::kMethod) == 4);
        CHECK(TextOf(GetDlgItem(p, dauth::kCertLines[0])) == Widen(w.strings.Get(IDS_CERT_ISSUED_TO) + " : alice"));
        CHECK(!Enabled(p, dauth::kProtocol));
        SaveWindow(h, L"dot1x_authentication");
        PostMessageW(p, WM_COMMAND, MAKEWPARAM(dauth::kMore, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(p, dauth::kMore)));
      },
      [&](HWND dialog) {
        CHECK(SendDlgItemMessageW(dialog, kIdcCertificateList, LVM_GETITEMCOUNT, 0, 0) == 2);
        SaveWindow(dialog, L"select_certificate");
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      },
      [&](HWND h) { ShowTab(h, 1); },
      [&](HWND h) {
        CHECK(ComboCount(Page(h), dca::kIssuer) == 2);
        SaveWindow(h, L"dot1x_ca_server");
        Press(h, PSBTN_CANCEL);
      },
  });
  int result = w.dialogs.RunModal(sheet);
  CHECK(d.Done());
  CHECK(result == kIdCancel);
});

check::Register connectSheet("connect sheet: security and advanced only", [] {
  World w;
  CProfileSheet2 sheet(w.ctx, "HomeNet", 1, kAuthWpa2Psk, kEncAes, 1);
  Driver d({
      [&](HWND s) {
        CHECK(TabCount(s) == 2);
        CHECK(TextOf(s) == Widen(w.strings.Get(IDS_SECURITY_PROFILE)));
        CHECK(Enabled(Page(s), asec::kPsk));
        SetDlgItemTextW(Page(s), asec::kPsk, L"correct horse battery");
        SaveWindow(s, L"connect_security");
        ShowTab(s, 1);
      },
      [&](HWND s) {
        SaveWindow(s, L"connect_advanced");
        Press(s, PSBTN_OK);
      },
  });
  int result = w.dialogs.RunModal(sheet);
  CHECK(d.Done());
  CHECK(result == kIdOk);
  CHECK(w.Value("HomeNet", "WPAPSK") == "correct horse battery");
  CHECK(w.Value("HomeNet", "AuthenType") == "7");
});

// The list page in a sheet of its own, as the main sheet would show it.
struct OnePageSheet : SheetModel {
  explicit OnePageSheet(DialogModel& p) : page(p) { title = "Profile"; }
  std::vector<DialogModel*> Pages() override { return {&page}; }
  DialogModel& page;
};

check::Register profilePage("profile list page", [] {
  World w;
  StationProfile a;
  a.name = "Office";
  a.ssid = "OfficeNet";
  a.use8021x = 1;
  w.store.WriteProfile(a);
  StationProfile b;
  b.name = "Peer";
  b.ssid = "PeerNet";
  b.networkType = 0;
  b.channel = 6;
  w.store.WriteProfile(b);
  CProfilePage page(w.ctx, w.timers);
  OnePageSheet sheet(page);
  Driver d({
      [&](HWND s) {
        HWND p = Page(s);
        CHECK(SendDlgItemMessageW(p, prof::kList, LVM_GETITEMCOUNT, 0, 0) == 2);
        CHECK(Enabled(p, prof::kEdit));
        SaveWindow(s, L"profile_page");
        Press(s, PSBTN_CANCEL);
      },
  });
  w.dialogs.RunModal(sheet);
  CHECK(d.Done());
});

check::Register certStore("CryptoAPI stores: listed, and found again by hash", [] {
  Win32CertStore store;
  auto mine = store.List(CertStoreName::My);
  auto roots = store.List(CertStoreName::Root);
  CHECK(mine.has_value());
  CHECK(roots.has_value());
  std::printf("  ROOT holds %zu certificates\n", roots ? roots->size() : size_t{0});
  if (roots && !roots->empty()) {
    const CertificateDescription& first = roots->front();
    CHECK(first.hash.size() == 20);
    auto found = store.FindByHash(CertStoreName::Root, first.hash);
    CHECK(found.has_value() && *found == first);
  }
  CHECK(!store.FindByHash(CertStoreName::Root, std::vector<uint8_t>(20, 0)).has_value());
  CHECK(!store.FindByHash(CertStoreName::My, {}).has_value());
});

}  // namespace
}  // namespace vx

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) vx::g_shots = argv[1];
  if (argc > 2) vx::g_suffix = argv[2];
  return vx::check::RunAll();
}
