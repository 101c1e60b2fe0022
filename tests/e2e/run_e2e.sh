#!/usr/bin/env bash
# End-to-end tests of ClientCfg under Wine against the simulator host: what a user does from the
# tray, checked against what the simulator saw. Screenshots go to build/screenshots/.
# Usage: tests/e2e/run_e2e.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR   (after scripts/wine-env.sh)
set -uo pipefail
native=$1
win=$2
shots=build/screenshots
mkdir -p "$shots"
port=$((4700 + RANDOM % 200))
root='HKLM\System\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}\0007'
clientcfg=$win/src/win32/apps/ClientCfg.exe

source "$(dirname "$0")/lib.sh"
associated() { state | grep -q '"associated":true'; }
not_associated() { state | grep -q '"associated":false'; }
reg_value() { "$VX_WINE" reg query "$root" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'; }

start_client() {  # extra environment in "$@"
  env VX_SIM=127.0.0.1:$port "$@" "$VX_WINE" "$clientcfg" >/dev/null 2>&1 &
  client=$!
  within 20 tray_has "ARVENTA"
}
stop_client() {
  drv post ClientCfg 0x111 32776 0
  wait "$client" 2>/dev/null
}

"$native/src/sim/host/wlansim" --one-adapter --port "$port" --no-autosecurity >/tmp/wlansim-e2e.log 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wineserver -k 2>/dev/null' EXIT
within 10 ctl '{"cmd":"state"}' || { echo "wlansim did not start"; exit 1; }
fresh_registry() {  # the adapter key as the driver's installation leaves it
  "$VX_WINE" reg delete "$root" /f >/dev/null 2>&1
  "$VX_WINE" regedit /S src/sim/install/virtual_adapters.reg
}
fresh_registry

check "starts in the tray and joins the open network" start_client
check "associated within 10 s" within 10 associated

# A second copy says so and ends; the first keeps its tray.
env VX_SIM=127.0.0.1:$port "$VX_WINE" "$clientcfg" >/dev/null 2>&1 &
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

# The tray menu and the sheet, for a person to look at.
drv post ClientCfg 1124 161 0x204
sleep 2
look_at_menu tray-menu-en
check "tray menu offers the switch to access point mode" within 3 bash -c "'$native/tests/e2e/wlanctl' --port $port '{\"cmd\":\"notes\"}' | grep -q '\"menu\":\"232\"'"
drv key 0x1B
drv post ClientCfg 0x111 32774 0
check "the sheet opens from the tray" drv wait "Arventa Client Utility" 10
sleep 2
look_at sheet-en "Arventa Client Utility"
# Every page of the sheet, photographed and checked (PSM_SETCURSEL by index).
pages="0:profile 1:link-status 3:statistics 4:advanced 5:about 2:survey"
for page in $pages; do
  drv post "Arventa Client Utility" 0x465 "${page%%:*}" 0
  sleep 2.5  # a tick of the page's timer, so its values are shown
  look_at "page-${page#*:}-en" "Arventa Client Utility"
done

# Unplugged with the sheet open: the sheet closes and the tray says so within a tick.
ctl '{"cmd":"unplug"}' >/dev/null
check "unplug closes the sheet" drv gone "Arventa Client Utility" 8  # two ticks and a loaded machine
check "unplug shows \"Not exist\"" within 4 tray_has "Not exist"
ctl '{"cmd":"replug"}' >/dev/null
check "replug shows \"Disconnected\"" within 4 tray_has "Disconnected"
check "replug initialises again and joins" within 20 associated

# The network leaves and comes back: the last profile is applied again.
ctl '{"cmd":"range","network":"Arventa-AP","inRange":false}' >/dev/null
check "link goes with the network" within 6 not_associated
ctl '{"cmd":"range","network":"Arventa-AP","inRange":true}' >/dev/null
check "last profile re-applied when it returns" within 20 associated

# Traditional Chinese: the same tray menu and sheet.
stop_client
if start_client LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8; then
  drv post ClientCfg 1124 161 0x204
  sleep 2
  look_at_menu tray-menu-zh
  drv key 0x1B
  drv post ClientCfg 0x111 32774 0
  zh_caption=$(awk -F'\t' '$1 == 102 {print $3}' src/resources/strings/strings.zh-TW.txt)
  check "the Chinese sheet opens" drv wait "$zh_caption" 10
  sleep 2
  look_at sheet-zh "$zh_caption"
  for page in $pages; do
    drv post "$zh_caption" 0x465 "${page%%:*}" 0
    sleep 2.5
    look_at "page-${page#*:}-zh" "$zh_caption"
  done
  check "Chinese tray text" within 10 tray_has "無線網路卡"
  stop_client
else
  check "starts in Chinese" false
fi

start_client >/dev/null
within 10 associated
# The hand-over to access point mode.
drv post ClientCfg 0x111 32781 0
check "switch ends the station utility" within 15 bash -c "! kill -0 $client 2>/dev/null"
check "switch sets the driver to access point mode" within 5 bash -c "$(declare -f ctl state); native='$native' port=$port state | grep -q '\"opMode\":1'"
check "switch writes OpMode 1" test "$(reg_value OpMode)" = 1
check "switch saved the live values as Default" bash -c "'$VX_WINE' reg query '$root\\Default' /v NetworkType >/dev/null 2>&1"

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
