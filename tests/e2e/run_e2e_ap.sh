#!/usr/bin/env bash
# End-to-end tests of HotspotCfg under Wine against the simulator host: the access point started
# from the tray, checked against what the simulated driver and bridge saw, and the way back to the
# station utility. Both programs run as installed, without any simulation switch, over the
# simulated platform (scripts/sim-install.sh). Screenshots go to build/screenshots/.
# Usage: tests/e2e/run_e2e_ap.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [win2k|winxp]   (after scripts/wine-env.sh)
# With a personality (32-bit Wine), Wine reports Windows 2000 or XP to both utilities.
set -uo pipefail
suite=ap
source "$(dirname "$0")/lib.sh"
regroot='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}\0007'
hotspotcfg=$win/src/win32/apps/HotspotCfg.exe
title="Arventa SoftAP Utility"
ssid=E2E-SoftAP
source "$(dirname "$0")/clientcfg.sh"
source "$(dirname "$0")/personality.sh"
need_tools xdotool
ap_running() { state | grep -q '"opMode":1' && state | grep -q "\"ssid\":\"$ssid\""; }

start_ap() {  # extra environment in "$@"; tray only ("-S"): the tests open the sheet themselves
  env "$@" "$VX_WINE" "$hotspotcfg" -s >/dev/null 2>&1 &
  ap_up 20
}
ap_up() { drv wait HotspotCfg "$1"; }
ap_gone() { drv gone HotspotCfg "$1"; }
stop_ap() {
  drv post HotspotCfg 0x111 32776 0
  ap_gone 10
}
# ClientCfg's "Switch to AP Mode": ModeSwitch starts HotspotCfg once ClientCfg has ended.
client_to_ap() {
  drv post ClientCfg 0x111 32781 0
  drv gone ClientCfg 15 && ap_up 40
}
log_has() {  # oid as logged, hex data: a successful set the driver took
  ctl '{"cmd":"log"}' | tr 'A-F' 'a-f' | grep -o '{[^{}]*}' | grep "\"oid\":\"$1\"" | grep '"set":true' |
    grep '"ok":true' | grep -q -- "$2"
}
bridge_has() { ctl '{"cmd":"bridge"}' | grep -q -- "$1"; }


start_sim --one-adapter --no-autosecurity || exit 1
tidy=personality_end
if [ -n "${3:-}" ]; then personality_begin "$3" || exit 1; fi

# A freshly installed adapter whose access point set was chosen before: "ApDefault" exists, so
# the station utility keeps it at the hand-over and the access point starts with its SSID and
# a reject list.
fresh_registry() {
  fresh_adapter
  {
    echo REGEDIT4
    echo
    echo "[$regroot\\ApDefault]"
    for v in "SSID=$ssid" WirelessMode=0 TXBurst=1 TransRate=0 TurboRate=0 BGProtection=0 ShortSlot=1 Channel=0 \
      PreambleType=0 TXPower=0 RtsThresh=2347 FragThresh=0 AuthenType=0 Encryption=1 WPAPSK= WEPKey1Type=0 \
      WEPKey2Type=0 WEPKey3Type=0 WEPKey4Type=0 WEPKeyUse=1 WEPKey1= WEPKey2= WEPKey3= WEPKey4= RekeyInterval=60 \
      RekeyMethod=0 RadiusIP= RadiusPort= RadiusKey= AccessControlPolicy=2 WdsEnable=1 AutoChannelSelect=0 \
      NoForwarding=0 HideSSID=0 BeaconPeriod=100; do
      echo "\"${v%%=*}\"=\"${v#*=}\""
    done
    # Rejected: the station with the wrong pass phrase.
    echo "\"AccessControlList\"=hex(7):$(printf '001F3A070809' | od -An -tx1 | tr -s ' \n' ',' | sed 's/^,//')00,00"
    echo '"WdsList"=hex(7):00,00'
  } >"$work/apdefault.reg"
  "$VX_WINE" regedit /S "$work/apdefault.reg"
}
fresh_registry
if [ -n "${3:-}" ]; then personality_begin "$3" || exit 1; fi

# The station utility hands the adapter over.
check "ClientCfg starts and joins" start_client
within 20 state_has '"associated":true'
check "ClientCfg's switch starts HotspotCfg through ModeSwitch" client_to_ap
if [ -n "$personality" ]; then
  check "HotspotCfg goes by operating-system kind $personality_kind: it is told Windows $personality" within 10 sees_personality HotspotCfg
fi
check "OpMode 1 written" test "$(reg_value OpMode)" = 1
check "the station values saved in Default" test "$(reg_value FragThresh Default)" = 2346

# The start sequence reached the driver and the bridge; the sheet opens at start.
check "driver in access point mode with the SSID of ApDefault" within 15 ap_running
check "ApDefault copied into the adapter key" test "$(reg_value SSID)" = "$ssid"
check "the bridge got its requests" bridge_has '"requests":\[[^]]'
check "bridging active" bridge_has '"bridging":true'
check "the sheet opens at start" drv wait "$title" 10
check "a station of the world associates" within 10 state_has '00:16:CB:01:02:03'
check "the reject list keeps its station out" bash -c "$(declare -f ctl state); native='$native' port=$port state | grep -v '00:1F:3A:07:08:09' | grep -q '00:1B:63:04:05:06'"
check "the tray shows the signal" within 6 tray_has "Status :"

# A second copy says so and ends; the first keeps running.
"$VX_WINE" "$hotspotcfg" >/dev/null 2>&1 &
second=$!
text=$(drv box-text 15)
check "second copy shows \"HotspotCfg is already running\"" grep -q "HotspotCfg is already running" <<<"$text"
check "second copy ends" within 10 bash -c "! kill -0 $second 2>/dev/null"
check "first copy keeps running" ap_up 1

# Cancel closes the sheet; the tray menu's launch command opens it again. A picture of each page.
drv post "$title" 0x471 5 0  # PSM_PRESSBUTTON, Cancel
check "Cancel closes the sheet" drv gone "$title" 5
drv post HotspotCfg 1124 161 0x204  # a right click on the tray icon
within 10 menu_up
look_at_menu ap-tray-menu-en
drv key 0x1B
within 5 menu_down
drv post HotspotCfg 0x111 32774 0
check "launch opens the sheet" drv wait "$title" 10
within 10 settled "$title"
look_at ap-sheet-en "$title"
pages=(config access-control wds mac-table event-log statistics about)
for i in 1 2 3 4 5 6; do
  page_ticked "$title" "$i"
  look_at "ap-${pages[$i]}-en" "$title"
done

# The in-place editor of the access list, by mouse and keyboard: a double click on the entry, a
# letter the filter refuses and one it takes, MODIFY, APPLY. The station is no longer rejected.
# A click where a control is on the screen: click_in WINDOW NAME [X Y [COUNT]], by default its
# middle; click_on clicks in the sheet.
click_in() {
  local l t r b
  read -r l t r b < <(drv rect "$1" "$(idc "$2")")
  xdotool mousemove "$((l + ${3:-(r - l) / 2}))" "$((t + ${4:-(b - t) / 2}))" click --repeat "${5:-1}" --delay 80 1
}
click_on() { click_in "$title" "$@"; }
page "$title" 1
changes "$title" click_on ACL_LIST 30 8 2  # the first entry of the list
xdotool key End BackSpace
changes "$title" xdotool type --delay 60 "qa"
look_at ap-acl-editor-en "$title"
changes "$title" click_on ACL_MODIFY
ctl '{"cmd":"log","clear":true}' >/dev/null
click_on ACL_APPLY
check "APPLY sends the edited access list" within 5 log_has 0x0df10110 001f3a07080a
# A refused station tries again when the access point restarts: the Config page's APPLY.
page "$title" 0
click_on APC_APPLY
check "the station is let in after the restart" within 10 state_has '00:1F:3A:07:08:09'
# A closed sheet stops: after OK, Cancel or the close box, ten seconds bring the driver only the
# main loop's requests (signal and events) and no window but the tray's.
others() { ctl '{"cmd":"log"}' | grep -o '"oid":"0x[0-9A-Fa-f]*"' | tr A-F a-f | sort -u | grep -v -E "0x($1)\""; }
windows() { xdotool search --onlyvisible --name . 2>/dev/null | wc -l; }
drv post "$title" 0x471 5 0 && drv gone "$title" 5 && before=$(windows)
for how in "0x471 3:OK" "0x471 5:Cancel" "0x112 0xF060:the close box"; do
  drv post HotspotCfg 0x111 32774 0 && drv wait "$title" 10
  for page in 3 4 5; do drv post "$title" 0x465 $page 0 && sleep 1; done  # Statistics polls last
  drv post "$title" ${how%%:*} 0 && drv gone "$title" 5 && ctl '{"cmd":"log","clear":true}' >/dev/null
  sleep 10
  check "closed by ${how#*:}: only the main loop's requests in 10 s" test -z "$(others '0d010206|0d71010a')"
  check "closed by ${how#*:}: no window but the tray's" test "$(windows)" = "$before"
done
drv post HotspotCfg 0x111 32774 0 && opened "$title" 10
# The security dialog: WEP chosen, letters outside the hexadecimal digits refused in a key.
click_on APC_SECURITY
security="Authentication & Security"
if check "the security dialog opens" opened "$security" 5; then
  click_in "$security" APS_AUTH "" 8
  within 5 drv dropped "$security" "$(idc APS_AUTH)"
  changes "$security" xdotool key Down Return
  click_in "$security" APS_KEY1_HEX 20
  changes "$security" xdotool type --delay 60 "12zz34g5"
  look_at ap-security-en "$security"
  drv key 0x1B
  # Left open, it would hold off the switch below and every check after it.
  check "Escape closes the security dialog" drv gone "$security" 5 || drv post "$security" 0x111 2 0
fi
check "the edited list is stored" bash -c "'$VX_WINE' reg query '$root\\ApDefault' /v AccessControlList | grep -q 001F3A07080A"
drv post "$title" 0x465 0 0

# Back to station mode: "Default" restored, OpMode 0, the driver in station mode, and ModeSwitch
# starts ClientCfg, whose tray the simulator hears of.
drv post HotspotCfg 0x111 32778 0
check "switch ends the access point utility" ap_gone 15
check "switch writes OpMode 0" test "$(reg_value OpMode)" = 0
check "switch restores the station values of Default" \
  bash -c "[ '$(reg_value FragThresh)' = 2346 ] && [ '$(reg_value SSID)' = '$(reg_value SSID Default)' ]"
check "ApDefault kept" test "$(reg_value SSID ApDefault)" = "$ssid"
check "switch sets the driver to station mode" within 5 state_has '"opMode":0'
check "ModeSwitch starts ClientCfg" within 40 tray_has "ARVENTA"
check "ClientCfg joins its network again" within 20 state_has '"associated":true'

# And over once more: the access point comes back with its own settings. Exit leaves the
# driver as it is: still an access point.
check "second hand-over to HotspotCfg" client_to_ap
check "access point again with the SSID of ApDefault" within 15 ap_running
check "Exit ends the utility" stop_ap
check "Exit leaves the access point running" ap_running

# Traditional Chinese, started by hand with "-S": no sheet until asked for.
zh_caption=$(awk -F'\t' '$1 == 3001 {print $3}' src/resources/strings/strings.zh-TW.txt)
if start_ap LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8; then
  check "\"-S\": no sheet at start" bash -c "! '$VX_WINE' '$win/tests/e2e/e2e_driver.exe' wait '$zh_caption' 3 2>/dev/null"
  drv post HotspotCfg 1124 161 0x204
  within 10 menu_up
  look_at_menu ap-tray-menu-zh
  drv key 0x1B
  within 5 menu_down
  drv post HotspotCfg 0x111 32774 0
  check "the Chinese sheet opens" drv wait "$zh_caption" 10
  within 10 settled "$zh_caption"
  look_at ap-sheet-zh "$zh_caption"
  for i in 1 2 3 4 5 6; do
    page_ticked "$zh_caption" "$i"
    look_at "ap-${pages[$i]}-zh" "$zh_caption"
  done
  page "$zh_caption" 0
  # The security dialog in Chinese, with the WEP keys shown.
  zh_security=$(text_of zh 3150)
  drv click "$zh_caption" "$(idc APC_SECURITY)"
  if check "the Chinese security dialog opens" drv wait "$zh_security" 5; then
    drv choose "$zh_security" "$(idc APS_ENCRYPTION)" "#1"
    within 10 settled "$zh_security"
    look_at ap-security-zh "$zh_security"
    drv click "$zh_security" 2
    check "Cancel closes the Chinese security dialog" drv gone "$zh_security" 5
  fi
  check "Chinese tray text" within 6 tray_has "無線網路卡"
else
  check "starts in Chinese" false
fi

# Unplugged with the sheet open: it closes within a tick; replugged, the settings go again and
# the sheet stays closed.
unplug
check "unplug closes the sheet" drv gone "$zh_caption" 6
check "unplug shows the adapter missing" within 4 tray_has "找不到網路卡"
ctl '{"cmd":"log","clear":true}' >/dev/null
replug
ssid_hex=$(printf %s "$ssid" | od -An -tx1 | tr -d ' \n')
ssid_set() { log_has 0x0d810102 "$ssid_hex"; }  # OID_802_11_SSID, set form
check "replug pushes the settings again" within 10 ssid_set
check "replug does not open the sheet" bash -c "! '$VX_WINE' '$win/tests/e2e/e2e_driver.exe' wait '$zh_caption' 3 2>/dev/null"
check "the tray follows the adapter again" within 6 tray_has "狀態"
stop_ap

# The pages at 144 DPI (Wine's LogPixels, read at start): nothing stretched, cut or overlapping.
for lang in en zh; do
  caption=$title env=() && [ $lang = zh ] && caption=$zh_caption env=(LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8)
  "$VX_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  check "$lang: starts at 144 DPI" start_ap "${env[@]}" && drv post HotspotCfg 0x111 32774 0 && drv wait "$caption" 10 &&
    for i in 0 1 2 3 4 5 6; do page_ticked "$caption" $i && look_at "ap-${pages[$i]}-144dpi-$lang" "$caption"; done
  stop_ap
done
"$VX_WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1

# By keyboard alone, no mouse: Enter on the tray icon (NIN_KEYSELECT) opens the sheet, then the SSID,
# WPA-PSK with AES and a pass phrase in the security dialog, OK by Enter, Apply: the driver takes them.
# Keys go to the window that has the focus; without a window manager, it is given to the window.
keys() { xdotool key --delay 300 "$@"; }
focus() { xdotool search --name "^$1\$" windowfocus --sync; }
psk=$(openssl kdf -keylen 32 -kdfopt digest:SHA1 -kdfopt pass:"keyboard only 42" -kdfopt salt:E2E-Keys \
  -kdfopt iter:4096 PBKDF2 | tr -d ':\n' | tr 'A-F' 'a-f')
keyed() { state_has '"authMode":4' && state_has '"encryption":6' && log_has 0x0d81011d "$psk" &&
  log_has 0x0d810102 "$(printf E2E-Keys | od -An -tx1 | tr -d ' \n')"; }
if start_ap; then
  drv post HotspotCfg 1124 161 0x401
  if check "keyboard: Enter on the tray icon opens the sheet" opened "$title"; then
    focus "$title"
    keys alt+i && xdotool type --delay 60 E2E-Keys && keys alt+v
    if check "keyboard: the security dialog opens by its key" opened "$security"; then
      focus "$security"
      keys alt+a End Tab Down alt+p && xdotool type --delay 60 "keyboard only 42" && keys Return
    fi
    check "keyboard: Enter is the security dialog's OK" drv gone "$security" 5 && focus "$title" && keys alt+p
    check "keyboard: the driver gets the new SSID, WPA-PSK with AES and the pass phrase's key" within 20 keyed
  fi
  stop_ap
fi

echo "e2e-ap: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
