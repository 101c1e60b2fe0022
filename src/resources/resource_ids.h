// Resource IDs of both programs: dialog templates, icons, bitmaps, menus. Read by windres and by
// C++ (the constants below), so the models name resources without including <windows.h>.
#pragma once

// Dialog templates. Each dialog's controls sit in its own band (see its header in dialogs/).
#define VX_IDD_HIDDEN_SSID 197
#define VX_IDD_ONE_TIME_PASSWORD 236
#define VX_IDD_HIDE_DLG 2000
#define VX_IDD_SELECT_CARD 2010
#define VX_IDD_AP_HIDE_DLG 3000

// Station tray and sheet icons.
#define VX_IDI_TRAY_NORMAL 156
#define VX_IDI_TRAY_WEAK 159
#define VX_IDI_TRAY_GOOD 161
#define VX_IDI_TRAY_DISCONNECTED 163
#define VX_IDI_PROFILE_CONNECTED 174
#define VX_IDI_TRAY_NOT_PRESENT 179
#define VX_IDI_PROFILE_IDLE 185
#define VX_IDI_TRAY_WEP_ERROR 204
#define VX_IDI_RADIO_ON 244
#define VX_IDI_RADIO_OFF 245
#define VX_IDI_SURVEY_INFRASTRUCTURE 2390
#define VX_IDI_SURVEY_ADHOC 2391
// Access point tray and sheet icons.
#define VX_IDI_AP_LOST 3030
#define VX_IDI_AP_GOOD 3031
#define VX_IDI_AP_NORMAL 3032
#define VX_IDI_AP_WEAK 3033
#define VX_IDI_AP_NOT_PRESENT 3034

// Bitmaps; magenta (0xFF00FF) is their transparent colour.
#define VX_IDB_QUICKSECURE 187
#define VX_IDB_RADIO_ON 188
#define VX_IDB_RADIO_OFF 189
// The same drawings half as large again, for 144 DPI and more: the ID plus this.
#define VX_IDB_LARGE 1000
#define VX_IDB_QUICKSECURE_48 1187
#define VX_IDB_RADIO_ON_48 1188
#define VX_IDB_RADIO_OFF_48 1189

// Tray menus: the popup is the menu's first item. Command IDs are in menus/menu_ids.h.
#define VX_IDR_MENU_ZERO_CONFIG 223
#define VX_IDR_MENU_AVCONFIG 224
#define VX_IDR_MENU_PLAIN 228
#define VX_IDR_MENU_AVCONFIG_SWITCH 230
#define VX_IDR_MENU_SWITCH 231
#define VX_IDR_MENU_ZERO_CONFIG_SWITCH 232
#define VX_IDR_AP_MENU 3040

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {

inline constexpr uint32_t kIddHiddenSsid = VX_IDD_HIDDEN_SSID;
inline constexpr uint32_t kIddOneTimePassword = VX_IDD_ONE_TIME_PASSWORD;
inline constexpr uint32_t kIddHideDlg = VX_IDD_HIDE_DLG;
inline constexpr uint32_t kIddSelectCard = VX_IDD_SELECT_CARD;
inline constexpr uint32_t kIddApHideDlg = VX_IDD_AP_HIDE_DLG;

inline constexpr uint32_t kIconTrayNormal = VX_IDI_TRAY_NORMAL;
inline constexpr uint32_t kIconTrayWeak = VX_IDI_TRAY_WEAK;
inline constexpr uint32_t kIconTrayGood = VX_IDI_TRAY_GOOD;
inline constexpr uint32_t kIconTrayDisconnected = VX_IDI_TRAY_DISCONNECTED;
inline constexpr uint32_t kIconProfileConnected = VX_IDI_PROFILE_CONNECTED;
inline constexpr uint32_t kIconTrayNotPresent = VX_IDI_TRAY_NOT_PRESENT;
inline constexpr uint32_t kIconProfileIdle = VX_IDI_PROFILE_IDLE;
inline constexpr uint32_t kIconTrayWepError = VX_IDI_TRAY_WEP_ERROR;
inline constexpr uint32_t kIconRadioOn = VX_IDI_RADIO_ON;
inline constexpr uint32_t kIconRadioOff = VX_IDI_RADIO_OFF;
inline constexpr uint32_t kIconSurveyInfrastructure = VX_IDI_SURVEY_INFRASTRUCTURE;
inline constexpr uint32_t kIconSurveyAdhoc = VX_IDI_SURVEY_ADHOC;
inline constexpr uint32_t kIconApLost = VX_IDI_AP_LOST;
inline constexpr uint32_t kIconApGood = VX_IDI_AP_GOOD;
inline constexpr uint32_t kIconApNormal = VX_IDI_AP_NORMAL;
inline constexpr uint32_t kIconApWeak = VX_IDI_AP_WEAK;
inline constexpr uint32_t kIconApNotPresent = VX_IDI_AP_NOT_PRESENT;

inline constexpr uint32_t kBitmapQuickSecure = VX_IDB_QUICKSECURE;
inline constexpr uint32_t kBitmapRadioOn = VX_IDB_RADIO_ON;
inline constexpr uint32_t kBitmapRadioOff = VX_IDB_RADIO_OFF;

inline constexpr uint32_t kMenuZeroConfig = VX_IDR_MENU_ZERO_CONFIG;
inline constexpr uint32_t kMenuAvConfig = VX_IDR_MENU_AVCONFIG;
inline constexpr uint32_t kMenuPlain = VX_IDR_MENU_PLAIN;
inline constexpr uint32_t kMenuAvConfigSwitch = VX_IDR_MENU_AVCONFIG_SWITCH;
inline constexpr uint32_t kMenuSwitch = VX_IDR_MENU_SWITCH;
inline constexpr uint32_t kMenuZeroConfigSwitch = VX_IDR_MENU_ZERO_CONFIG_SWITCH;
inline constexpr uint32_t kMenuAp = VX_IDR_AP_MENU;

}  // namespace vx
#endif
