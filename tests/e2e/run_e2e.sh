#!/usr/bin/env bash
# End-to-end tests of ClientCfg under Wine against the simulator host: what a user does from the
# tray, checked against what the simulator saw. The program runs as installed, without any
# simulation switch: it finds the adapter through SetupAPI and reaches it through the miniport
# stand-in (scripts/sim-install.sh); its tray is read from Wine's notification area and its menus
# from the screen. Screenshots go to build/screenshots/.
# Usage: tests/e2e/run_e2e.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [win2k|winxp]   (after scripts/wine-env.sh)
# With a personality (32-bit Wine), Wine reports Windows 2000 or XP, and the suite also checks
# what differs between them: the kind, the Start-menu clean-up, the zero-configuration service,
# the WPA2-PSK authentication mode and ModeSwitch at the hand-over.
set -uo pipefail
suite=client
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/clientcfg.sh"
source "$(dirname "$0")/personality.sh"
associated() { state | grep -q '"associated":true'; }
not_associated() { state | grep -q '"associated":false'; }


sim_up --one-adapter --no-autosecurity
tidy=personality_tidy

# Under a personality: the chip-level installer's shortcuts in the all-users Start menu, and a
# stand-in for the zero-configuration service, running and starting automatically, without
# control of the adapter.
start_menu=
iface='HKLM\SOFTWARE\Microsoft\WZCSVC\Parameters\Interfaces\{6A0C2A1E-3B7D-4C55-9E61-0C1E7A300001}'
wzc() { "$VX_WINE" "$win/tests/e2e/wzc_service.exe" "$@" 2>/dev/null | tr -d '\r'; }
wzc_is() { [ "$(wzc query)" = "$1" ]; }
control_flags_are() {
  [ "$("$VX_WINE" reg query "$iface" /v ControlFlags 2>/dev/null | tr -d '\r' | awk '$1 == "ControlFlags" {print $3}')" = "$1" ]
}
set_control_flags() { "$VX_WINE" reg add "$iface" /v ControlFlags /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
personality_tidy() {
  [ -n "$personality" ] || return 0
  wzc remove >/dev/null
  "$VX_WINE" reg delete "$iface" /f >/dev/null 2>&1
  if [ -n "$start_menu" ]; then
    rm -rf "$start_menu/Veltrix Wireless" "$start_menu/Startup/Veltrix Wireless Utility.lnk"
  fi
  personality_end
}
if [ -n "${3:-}" ]; then
  personality_begin "$3" || exit 1
  all_users=$("$VX_WINE" cmd /c echo %ALLUSERSPROFILE% 2>/dev/null | tr -d '\r')
  start_menu=$("$VX_WINE" winepath -u "$all_users\\Start Menu\\Programs" 2>/dev/null | tr -d '\r')
  [ -n "$all_users" ] && [ -d "${start_menu%/Start Menu/Programs}" ] ||
    { echo "no all-users profile folder (\"$all_users\")"; exit 1; }
  mkdir -p "$start_menu/Veltrix Wireless" "$start_menu/Startup"
  : >"$start_menu/Veltrix Wireless/Veltrix Wireless Utility.lnk"
  : >"$start_menu/Startup/Veltrix Wireless Utility.lnk"
  wzc install && wzc auto && wzc start
  set_control_flags 0
fi
shortcuts_gone() { [ ! -e "$start_menu/Veltrix Wireless" ] && [ ! -e "$start_menu/Startup/Veltrix Wireless Utility.lnk" ]; }
shortcuts_kept() {
  [ -e "$start_menu/Veltrix Wireless/Veltrix Wireless Utility.lnk" ] && [ -e "$start_menu/Startup/Veltrix Wireless Utility.lnk" ]
}
# The tray menus by their items' commands (src/resources/menus/station_menus.layout).
menu_items_of() {
  case $1 in
    230) echo "32774 32780 32781 32776" ;;  # the service holds the adapter: take it back
    231) echo "32774 32781 32776" ;;        # no zero-configuration service
    232) echo "32774 32777 32781 32776" ;;  # the utility holds the adapter: hand it over
  esac
}
menu_shown_is() {  # the pop-up menu on the screen is this one
  [ "$(drv inspect-menu | awk -F'\t' '$1 == "text" {printf "%s%s", sep, $3; sep = " "}')" = "$(menu_items_of "$1")" ]
}
right_click_menu_is() {  # the tray menu a right click brings up (closed again) is this one
  drv post ClientCfg 1124 161 0x204
  within 5 menu_shown_is "$1"
  local shown=$?
  within 5 menu_up
  drv key 0x1B
  return $shown
}
check "starts in the tray and joins the open network" start_client
check "associated within 10 s" within 10 associated
if [ -n "$personality" ]; then
  # What the kind shows a user first: 2000 has no zero-configuration service, so no item for it.
  kind_menu=232
  [ "$personality_kind" = 7 ] && kind_menu=231
  check "ClientCfg goes by operating-system kind $personality_kind: its tray menu" right_click_menu_is $kind_menu
  if [ "$personality_kind" -ge 8 ]; then
    check "XP: the chip-level Start-menu shortcuts are removed" shortcuts_gone
  else
    check "2000: the chip-level Start-menu shortcuts are left alone" shortcuts_kept
  fi
  check "the zero-configuration service is stopped and set to start on demand at start" wzc_is "stopped demand"
fi

# A second copy says so and ends; the first keeps its tray.
"$VX_WINE" "$clientcfg" >/dev/null 2>&1 &
second=$!
text=$(drv box-text 15)
check "second copy shows \"already running\"" grep -q "already running" <<<"$text"
check "second copy ends" within 10 bash -c "! kill -0 $second 2>/dev/null"

# The tray follows the signal.
ctl '{"cmd":"rssi","network":"Arventa-AP","rssi":-50}' >/dev/null
check "tray Good at -50 dBm" within 6 tray_has "Status : Good (Arventa-AP)"
ctl '{"cmd":"rssi","network":"Arventa-AP","rssi":-65}' >/dev/null
check "tray Normal at -65 dBm" within 6 tray_has "status : Normal (Arventa-AP)"
ctl '{"cmd":"rssi","network":"Arventa-AP","rssi":-75}' >/dev/null
check "tray Weak at -75 dBm" within 6 tray_has "Status : Weak (Arventa-AP)"
ctl '{"cmd":"rssi","network":"Arventa-AP","rssi":-48}' >/dev/null

# Failed requests at the driver (three queries of the signal, OID_802_11_RSSI): DeviceIoControl
# fails, the program goes on and the tray shows the link again.
rssi_failed() { ctl '{"cmd":"log"}' | grep -o '{[^{}]*}' | grep '"oid":"0x0D010206"' | grep -q '"ok":false'; }
ctl '{"cmd":"log","clear":true}' >/dev/null
ctl '{"cmd":"fail","oid":218169862,"times":3}' >/dev/null
check "failed requests: three signal queries fail at the driver" within 10 rssi_failed
check "after failed requests the tray shows the link again" within 10 tray_has "Status : Good (Arventa-AP)"

# The tray menu and the sheet, for a person to look at.
drv post ClientCfg 1124 161 0x204
within 10 menu_up
look_at_menu tray-menu-en
# Windows 2000 has no zero-configuration service, so its menu lacks the service's items.
menu=232
[ "$personality_kind" = 7 ] && menu=231
check "tray menu offers the switch to access point mode" within 3 menu_shown_is $menu
drv key 0x1B
drv post ClientCfg 0x111 32774 0
check "the sheet opens from the tray" drv wait "Arventa Client Utility" 10
sheet="Arventa Client Utility"
within 15 surveyed
look_at sheet-en "Arventa Client Utility"
# Every page of the sheet, photographed and checked (PSM_SETCURSEL by index).
pages="0:profile 1:link-status 3:statistics 4:advanced 5:about 2:survey"
for page in $pages; do
  page_ticked "Arventa Client Utility" "${page%%:*}"  # a tick of the page's timer: its values are shown
  look_at "page-${page#*:}-en" "Arventa Client Utility"
done

# Unplugged with the sheet open: the sheet closes and the tray says so within a tick.
unplug
check "unplug closes the sheet" drv gone "Arventa Client Utility" 8  # two ticks and a loaded machine
check "unplug shows \"Not exist\"" within 4 tray_has "Not exist"
replug
check "replug shows \"Disconnected\"" within 4 tray_has "Disconnected"
check "replug initialises again and joins" within 20 associated

# The network leaves and comes back: the last profile is applied again.
ctl '{"cmd":"range","network":"Arventa-AP","inRange":false}' >/dev/null
check "link goes with the network" within 6 not_associated
ctl '{"cmd":"range","network":"Arventa-AP","inRange":true}' >/dev/null
check "last profile re-applied when it returns" within 20 associated

# A closed sheet stops: after OK, Cancel or the close box, ten seconds bring the driver only the
# main loop's requests (link, signal, network name and mode) and no window but the tray's.
others() { ctl '{"cmd":"log"}' | grep -o '"oid":"0x[0-9A-Fa-f]*"' | tr A-F a-f | sort -u | grep -v -E "0x($1)\""; }
windows() { xdotool search --onlyvisible --name . 2>/dev/null | wc -l; }
before=$(windows) sheet="Arventa Client Utility"
for how in "0x471 3:OK" "0x471 5:Cancel" "0x112 0xF060:the close box"; do
  drv post ClientCfg 0x111 32774 0 && drv wait "$sheet" 10
  for page in 1 3 2; do drv post "$sheet" 0x465 $page 0 && sleep 1.5; done  # each page's timer runs
  drv post "$sheet" ${how%%:*} 0 && drv gone "$sheet" 5 && ctl '{"cmd":"log","clear":true}' >/dev/null
  sleep 10
  check "closed by ${how#*:}: only the main loop's requests in 10 s" \
    test -z "$(others '00010114|0d010101|0d010102|0d010206|0d710125|0d010108|0d010118|0d01011b')"
  check "closed by ${how#*:}: no window but the tray's" test "$(windows)" = "$before"
done

# Traditional Chinese: the same tray menu and sheet.
stop_client
if start_client LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8; then
  drv post ClientCfg 1124 161 0x204
  within 10 menu_up
  look_at_menu tray-menu-zh
  drv key 0x1B
  drv post ClientCfg 0x111 32774 0
  zh_caption=$(awk -F'\t' '$1 == 102 {print $3}' src/resources/strings/strings.zh-TW.txt)
  check "the Chinese sheet opens" drv wait "$zh_caption" 10
  sheet=$zh_caption
  within 15 surveyed
  look_at sheet-zh "$zh_caption"
  for page in $pages; do
    page_ticked "$zh_caption" "${page%%:*}"
    look_at "page-${page#*:}-zh" "$zh_caption"
  done
  check "Chinese tray text" within 10 tray_has "無線網路卡"
  stop_client
else
  check "starts in Chinese" false
fi

# The same pages at 144 DPI in both languages, at 120 and at 110 (no multiple of 24), as Wine's
# LogPixels sets it when each program starts (no new server needed): nothing stretched, cut or
# overlapping, keys and labels as at 96. In Chinese a screen reader runs: Site Survey names the
# connected row.
desktop='HKCU\Control Panel\Desktop'
reader='HKCU\Control Panel\Accessibility\Blind Access'
says_connected() { drv items "$1" "$(idc SURVEY_LIST)" | awk -F'\t' -v w="$2" 'NF == 8 && $8 == w {n++} END {exit n != 1}'; }
for run in 144:en 144:zh 120:zh 110:en; do
  dpi=${run%:*} lang=${run#*:} caption=$(text_of "${run#*:}" 102) env=()
  [ "$lang" = zh ] && env=(LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8)
  "$VX_WINE" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  "$VX_WINE" reg add "$reader" /v On /d "$([ "$lang" = zh ] && echo 1 || echo 0)" /f >/dev/null 2>&1
  check "$lang: starts at $dpi DPI" start_client "${env[@]}" || continue
  drv post ClientCfg 0x111 32774 0
  drv wait "$caption" 10
  for page in $pages; do
    page_ticked "$caption" "${page%%:*}"
    look_at "page-${page#*:}-${dpi}dpi-$lang" "$caption"
  done
  [ "$lang" = zh ] && check "zh: a screen reader hears the connected row in words" within 6 says_connected "$caption" "$(text_of zh 2003)"
  stop_client
done
"$VX_WINE" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
"$VX_WINE" reg delete "$reader" /f >/dev/null 2>&1

start_client >/dev/null
within 10 associated

if [ -n "$personality" ]; then
  # The zero-configuration service comes up and holds the adapter. From XP on the utility leaves
  # the adapter to it, and takes it back or hands it over on the tray commands; Windows 2000 has
  # no such service, so the utility does not look.
  wzc start
  set_control_flags 32768
  a_tick && a_tick  # two ticks of the main loop
  if [ "$personality_kind" -ge 8 ]; then
    check "XP: the service holding the adapter gets the menu that gives it back" within 10 right_click_menu_is 230
    drv post ClientCfg 0x111 32780 0  # "Use AVConfig as Configuration utility"
    check "XP: taking the adapter back stops the service and sets it to start on demand" within 10 wzc_is "stopped demand"
    check "XP: then the menu offers the service again" within 10 right_click_menu_is 232
    set_control_flags 0
    drv post ClientCfg 0x111 32777 0  # "Use Zero Configuration as Configuration utility"
    check "XP: handing the adapter over sets the service's flag for it" within 10 control_flags_are 0x8000
    check "XP: and starts the service, to start automatically" within 10 wzc_is "running auto"
    drv post ClientCfg 0x111 32780 0
    within 10 wzc_is "stopped demand"
  else
    check "2000: the service is not looked at: the usual menu" right_click_menu_is 231
    wzc stop
  fi

  # A WPA2-PSK network joined from Site Survey: authentication mode 7 (WPA2-PSK) on 2000 and XP.
  sheet=$(text_of en 102)
  secprof=$(text_of en 2201)
  connect_row() { drv select "$sheet" "$(idc SURVEY_LIST)" "$1" 0 && drv click "$sheet" "$(idc SURVEY_CONNECT)"; }
  auth_mode_set() {  # OID_802_11_AUTHENTICATION_MODE set (its set form) and taken with this value
    ctl '{"cmd":"log"}' | tr 'A-F' 'a-f' | grep -o '{[^{}]*}' | grep '"oid":"0x0d810118"' | grep '"set":true' |
      grep '"ok":true' | grep -q "\"data\":\"$1\""
  }
  keydlg=$(text_of en 2400)
  open_sheet
  # Joined to the maker's open access point, the page offers its one-button set-up: not now.
  if drv shown "$keydlg" 10; then
    drv click "$keydlg" 2
    drv hidden "$keydlg" 5
  fi
  ctl '{"cmd":"log","clear":true}' >/dev/null
  within 10 connect_row HomeNet
  if check "Connect to WPA2-PSK HomeNet asks for its key" opened "$secprof" 10; then
    drv set-text "$secprof" "$(idc ASEC_PSK)" "correct horse battery"
    drv click "$secprof" 1
    drv gone "$secprof" 5
  fi
  check "the station joins HomeNet" within 15 joined HomeNet
  check "kind $personality_kind: the Connect sets authentication mode 7, WPA2-PSK" auth_mode_set 07000000
  check "and the adapter holds WPA2-PSK" bash -c "$(declare -f ctl state); native='$native' port=$port state | grep -q '\"authMode\":7'"
fi

# The hand-over to access point mode.
drv post ClientCfg 0x111 32781 0
check "switch ends the station utility" within 15 bash -c "! kill -0 $client 2>/dev/null"
check "switch sets the driver to access point mode" within 5 bash -c "$(declare -f ctl state); native='$native' port=$port state | grep -q '\"opMode\":1'"
check "switch writes OpMode 1" test "$(reg_value OpMode)" = 1
check "switch saved the live values as Default" bash -c "'$VX_WINE' reg query '$root\\Default' /v NetworkType >/dev/null 2>&1"
# ModeSwitch is started from XP on only.
no_hotspotcfg() { ! drv wait HotspotCfg 10; }
if [ "$personality_kind" = 7 ]; then
  check "2000: the hand-over starts no ModeSwitch, so HotspotCfg stays away" no_hotspotcfg
elif [ "$personality_kind" = 8 ]; then
  check "XP: the hand-over starts ModeSwitch, which brings HotspotCfg up" drv wait HotspotCfg 40
  drv post HotspotCfg 0x111 32776 0
fi

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
