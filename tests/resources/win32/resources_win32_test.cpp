// The compiled resources as the programs will load them: every string of both tables in both
// languages, the tray menus, icons, bitmaps, dialogs, version and manifest.
#include <windows.h>

#include <string>

#include "resources/dialogs/one_time_password_dialog.h"
#include "resources/dialogs/select_card_dialog.h"
#include "resources/menus/menu_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings/string_tables.h"
#include "win32/check.h"

namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);

std::wstring Wide(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), n);
  return w;
}

const void* Resource(LPCWSTR type, UINT id, WORD lang, DWORD* size = nullptr) {
  HRSRC r = FindResourceExW(nullptr, type, MAKEINTRESOURCEW(id), lang);
  if (!r) return nullptr;
  if (size) *size = SizeofResource(nullptr, r);
  return LockResource(LoadResource(nullptr, r));
}

// A string from the table block of one language: blocks hold 16 counted UTF-16 strings.
bool TableString(UINT id, WORD lang, std::wstring& out) {
  auto* p = static_cast<const WCHAR*>(Resource(RT_STRING, id / 16 + 1, lang));
  if (!p) return false;
  for (UINT i = 0; i < id % 16; ++i) p += 1 + *p;
  out.assign(p + 1, *p);
  return true;
}

TEST_CASE("every string of both tables is in the resources, byte for byte") {
  struct {
    std::span<const vx::StringEntry> entries;
    WORD lang;
  } tables[] = {{vx::EnglishEntries(), kEnglish}, {vx::ChineseEntries(), kChinese}};
  for (const auto& t : tables)
    for (const auto& e : t.entries) {
      std::wstring got;
      bool ok = TableString(e.id, t.lang, got) && got == Wide(e.text);
      if (!ok) std::printf("  string %u (%s) differs\n", e.id, e.name);
      CHECK(ok);
    }
}

TEST_CASE("LoadStringW finds the tray texts") {
  WCHAR buf[256];
  CHECK(LoadStringW(GetModuleHandleW(nullptr), vx::IDS_TRAY_DISCONNECTED, buf, 256) > 0);
  CHECK(LoadStringW(GetModuleHandleW(nullptr), vx::IDS_MENU_EXIT, buf, 256) > 0);
}

// The popup's command IDs in order, and its first item's text.
std::wstring MenuShape(UINT menuId, WORD lang, std::wstring* first = nullptr) {
  const void* tmpl = Resource(RT_MENU, menuId, lang);
  if (!tmpl) return L"missing";
  HMENU menu = LoadMenuIndirectW(tmpl);
  HMENU popup = GetSubMenu(menu, 0);
  std::wstring shape;
  for (int i = 0; popup && i < GetMenuItemCount(popup); ++i) shape += std::to_wstring(GetMenuItemID(popup, i)) + L" ";
  if (first && popup) {
    WCHAR text[256] = {};
    GetMenuStringW(popup, 0, text, 256, MF_BYPOSITION);
    *first = text;
  }
  DestroyMenu(menu);
  return shape;
}

#ifdef VX_TEST_CLIENTCFG
TEST_CASE("station tray menus carry their commands in both languages") {
  for (WORD lang : {kEnglish, kChinese}) {
    CHECK(MenuShape(228, lang) == L"32774 32776 ");
    CHECK(MenuShape(231, lang) == L"32774 32781 32776 ");
    CHECK(MenuShape(223, lang) == L"32774 32777 32776 ");
    CHECK(MenuShape(232, lang) == L"32774 32777 32781 32776 ");
    CHECK(MenuShape(224, lang) == L"32774 32780 32776 ");
    CHECK(MenuShape(230, lang) == L"32774 32780 32781 32776 ");
  }
  std::wstring en, zh;
  MenuShape(228, kEnglish, &en);
  MenuShape(228, kChinese, &zh);
  CHECK(en == L"Launch Config Utilities ");
  CHECK(zh == Wide(vx::ChineseStrings().Get(vx::IDS_MENU_LAUNCH).c_str()));
  HMENU loaded = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(vx::kMenuZeroConfigSwitch));
  CHECK(loaded != nullptr);
  if (loaded) DestroyMenu(loaded);
}

TEST_CASE("station icons and bitmaps load") {
  HINSTANCE self = GetModuleHandleW(nullptr);
  for (UINT id : {156u, 159u, 161u, 163u, 179u, 204u, 244u, 245u, 174u, 185u, 2390u, 2391u}) {
    HICON icon = LoadIconW(self, MAKEINTRESOURCEW(id));
    CHECK(icon != nullptr);
    HICON small = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
    CHECK(small != nullptr);
    if (small) DestroyIcon(small);
  }
  for (UINT id : {187u, 188u, 189u}) {
    HBITMAP bmp = LoadBitmapW(self, MAKEINTRESOURCEW(id));
    BITMAP info = {};
    CHECK(bmp && GetObjectW(bmp, sizeof info, &info) && info.bmWidth == 32 && info.bmHeight == 32);
    if (bmp) DeleteObject(bmp);
  }
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::wstring DialogCaption(UINT id, WORD lang, int control) {
  auto* tmpl = static_cast<const DLGTEMPLATE*>(Resource(RT_DIALOG, id, lang));
  if (!tmpl) return L"missing";
  HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl, nullptr, NoDialogProc, 0);
  if (!dlg) return L"not created";
  WCHAR text[256] = {};
  GetWindowTextW(dlg, text, 256);
  std::wstring caption = text;
  if (control && !GetDlgItem(dlg, control)) caption += L" (control missing)";
  DestroyWindow(dlg);
  return caption;
}

TEST_CASE("station dialogs are created in both languages") {
  CHECK(DialogCaption(236, kEnglish, vx::kIdcOtpPassword) == L"Peap Setting - One Time Password");
  CHECK(DialogCaption(236, kChinese, vx::kIdcOtpIdentity) == Wide(vx::ChineseStrings().Get(vx::IDS_OTP_TITLE).c_str()));
  CHECK(DialogCaption(197, kEnglish, IDOK) == L"Hidden SSID");
  CHECK(DialogCaption(vx::kIddSelectCard, kEnglish, vx::kIdcCardManufacturer) == L"Select wireless lan card");
  CHECK(DialogCaption(vx::kIddHideDlg, kChinese, 0) == L"");
}
#endif

#ifdef VX_TEST_HOTSPOTCFG
TEST_CASE("access point tray menu, icons and dialogs") {
  std::wstring en;
  CHECK(MenuShape(vx::kMenuAp, kEnglish, &en) == L"32774 32778 32776 ");
  CHECK(MenuShape(vx::kMenuAp, kChinese) == L"32774 32778 32776 ");
  CHECK(en == L"Lanuch Config Utilities ");
  HINSTANCE self = GetModuleHandleW(nullptr);
  for (UINT id : {vx::kIconApLost, vx::kIconApGood, vx::kIconApNormal, vx::kIconApWeak, vx::kIconApNotPresent})
    CHECK(LoadIconW(self, MAKEINTRESOURCEW(id)) != nullptr);
  CHECK(Resource(RT_DIALOG, vx::kIddApHideDlg, kEnglish) != nullptr);
  CHECK(Resource(RT_DIALOG, vx::kIddSelectCard, kChinese) != nullptr);
}
#endif

TEST_CASE("version resource and manifest") {
  WCHAR path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD handle = 0, size = GetFileVersionInfoSizeW(path, &handle);
  CHECK(size > 0);
  std::string data(size, '\0');
  CHECK(GetFileVersionInfoW(path, 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  CHECK(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) && fixed);
  if (fixed) {
    CHECK(fixed->dwFileVersionMS == MAKELONG(0, 3) && fixed->dwFileVersionLS == 0);
    CHECK(fixed->dwProductVersionMS == MAKELONG(0, 3));
  }
  WCHAR* product = nullptr;
  CHECK(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904b0\\ProductName", reinterpret_cast<void**>(&product), &len) &&
        std::wstring(product) == L"Arventa Wireless LAN Utility");
  WCHAR* company = nullptr;
  CHECK(VerQueryValueW(data.data(), L"\\StringFileInfo\\040404b0\\CompanyName", reinterpret_cast<void**>(&company), &len) &&
        std::wstring(company) == L"Arventa");
  DWORD manifestSize = 0;
  auto* manifest = static_cast<const char*>(Resource(RT_MANIFEST, 1, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &manifestSize));
  CHECK(manifest && std::string(manifest, manifestSize).find("Microsoft.Windows.Common-Controls") != std::string::npos);
  CHECK(manifest && std::string(manifest, manifestSize).find("asInvoker") != std::string::npos);
  CHECK(manifest && std::string(manifest, manifestSize).find("<dpiAware") != std::string::npos);
}

}  // namespace

int main() { return vx::check::RunAll(); }
