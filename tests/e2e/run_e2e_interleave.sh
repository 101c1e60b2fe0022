#!/usr/bin/env bash
# End-to-end tests of ClientCfg under Wine's heap checking (freed memory filled with 0xFEEEFEEE,
# so a use after free faults): while a dialog that a page opened is up, the adapter is unplugged,
# "Exit" comes, or "Switch to AP Mode" is asked for. The program survives each, or ends cleanly
# when told to; the sheet and the dialog stay until the dialog is closed, and the action is
# carried out after it. An open profile editor is closed by Exit and the hand-over themselves.
# Usage: tests/e2e/run_e2e_interleave.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR   (after scripts/wine-env.sh)
set -uo pipefail
suite=interleave
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/clientcfg.sh"

# The simulator, restarted for each hand-over on the same ports.
# The restart points $clientcfg at the suite's folder with ModeSwitch.exe: it is pointed back here.
sim_one() { start_sim --one-adapter && clientcfg=$work/ClientCfg.exe; }
sim_one && install_sim_platform || exit 1
# The program in a folder of its own: its security.ini points the one-button set-up at this
# run's service, and with no mode-switch program beside it a hand-over starts nothing else.
cp "$win/src/win32/apps/ClientCfg.exe" "$work/ClientCfg.exe"
printf '[Option]\r\nSERVER_PORT=%s\r\n' "$qsport" >"$work/security.ini"
clientcfg=$work/ClientCfg.exe
log=$work/clientcfg.log
: >"$log"

regroot='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}\0007'
# The adapter key as the driver's installation leaves it, with two profiles: one file, one start
# of regedit (the key is deleted first).
{
  echo REGEDIT4
  echo
  echo "[-$regroot]"
  sed 1d src/sim/install/virtual_adapters.reg
  echo
  echo "[$regroot\\Profile\\Station\\Home]"
  for v in SSID=HomeNet NetworkType=1 AuthenType=7 Encryption=6 "WPAPSK=correct horse battery"; do
    echo "\"${v%%=*}\"=\"${v#*=}\""
  done
  echo
  # PEAP whose tunnel password is typed for each connection.
  echo "[$regroot\\Profile\\Station\\Otp]"
  for v in SSID=CorpSecure NetworkType=1 AuthenType=6 Encryption=6 AuthenProtocol=0 TunnelProtocol=6 \
    PasswordMode=0 ID=alice TunnelID=alice TunnelPassword=wonderland; do
    echo "\"${v%%=*}\"=\"${v#*=}\""
  done
} >"$work/fresh.reg"
fresh_registry() { "$VX_WINE" regedit /S "$work/fresh.reg" && sim_devices; }  # the device's entries again

# The maker's access point stays out of range but for the key dialog: joined to it, the Site
# Survey page would offer its one-button set-up in the middle of the other cases.
maker_range() { ctl "{\"cmd\":\"range\",\"network\":\"Arventa-AP\",\"inRange\":$1}" >/dev/null; }

start() {  # [true]: the maker's access point in range from the start
  maker_range "${1:-false}"
  echo "== start" >>"$log"
  env WINEDEBUG=warn+heap "$VX_WINE" "$clientcfg" >>"$log" 2>&1 &
  client=$!
  within 30 tray_has "ARVENTA"
}
alive() { kill -0 "$client" 2>/dev/null; }
crash='page fault|unhandled|err:heap|assertion failed'  # what Wine prints for a crash or a broken heap
crash_free() {
  ! grep -E -i "$crash" "$log" >/dev/null || { grep -E -i "$crash" "$log" | head -5 >&2; return 1; }
}
ended_cleanly() {  # the program ends by itself, with exit code 0 and no crash text
  within 15 bash -c "! kill -0 $client 2>/dev/null" || return 1
  wait "$client"
  local rc=$?
  [ "$rc" -eq 0 ] || { echo "  exit code $rc" >&2; return 1; }
  crash_free
}
end_if_running() {
  alive && drv post ClientCfg 0x111 32776 0
  within 15 bash -c "! kill -0 $client 2>/dev/null" || kill "$client" 2>/dev/null
  wait "$client" 2>/dev/null
}

sheet=$(text_of en 102)
secprof=$(text_of en 2201)
hidden=$(text_of en 2308)
seltool=$(text_of en 2310)
keydlg=$(text_of en 2400)
add=$(text_of en 185)
edit=$(text_of en 314)
dot1x=$(text_of en 289)
selcert=$(text_of en 2702)
otpdlg=$(text_of en 2050)

list=$(idc SURVEY_LIST)
listed() { drv items "$sheet" "$list" | grep -- "$1" >/dev/null; }
profile_page() { page "$sheet" 0; }
press_on_row() { drv select "$sheet" "$list" "$1" "${2:-0}" && drv click "$sheet" "$(idc SURVEY_CONNECT)"; }
connect() { within 10 listed "$1" && within 10 press_on_row "$@"; }  # the buttons wait while a join is under way
cancel_sheet() { drv post "$1" 0x471 5 0; }  # PSM_PRESSBUTTON: Cancel

# Each dialog: how it is opened (from an open sheet), how a user closes it, and whether a
# profile editor is at the bottom of it (Exit and the hand-over close that one themselves).
open_secprof() { connect HomeNet && opened "$secprof"; }
close_secprof() { cancel_sheet "$secprof"; }
open_hidden() { connect 00-1A-2B-3C-4D-04 1 && opened "$hidden"; }
close_hidden() { drv click "$hidden" 2; }
open_seltool() { within 10 listed HomeNet && drv click "$sheet" 5000 && opened "$seltool"; }
close_seltool() { drv click "$seltool" 2; }
open_keydlg() {  # joined to the open maker access point, the page offers the set-up by itself
  if ! joined Arventa-AP; then  # the sheet goes; the join comes first, then a list that shows it
    drv post "$sheet" 0x111 2 0
    drv gone "$sheet" 5
    maker_range true
    within 20 joined Arventa-AP && open_sheet || return 1
  fi
  opened "$keydlg" 30
}
close_keydlg() { drv click "$keydlg" 2 && drv gone "$keydlg" 5 && maker_range false; }
open_add() { profile_page && drv click "$sheet" "$(idc PROF_ADD)" && opened "$add"; }
close_add() { cancel_sheet "$add"; }
open_edit() {
  profile_page && drv select "$sheet" "$(idc PROF_LIST)" Home && drv click "$sheet" "$(idc PROF_EDIT)" &&
    opened "$edit"
}
close_edit() { cancel_sheet "$edit"; }
open_certs() {  # "Add Profile" > "802.1x Setting" > "Select Certificate"
  open_add || return 1
  page "$add" 1
  drv choose "$add" "$(idc ASEC_AUTH)" WPA2 && drv click "$add" "$(idc ASEC_8021X_SETTING)" && opened "$dot1x" &&
    drv choose "$dot1x" "$(idc DAUTH_METHOD)" "$(text_of en 2704)" && drv click "$dot1x" "$(idc DAUTH_MORE)" &&
    opened "$selcert"
}
close_certs() { drv click "$selcert" 2 && drv gone "$selcert" 5 && cancel_sheet "$dot1x" && drv gone "$dot1x" 5; }
open_box() {  # a validation box over "Add Profile"
  open_add && drv set-text "$add" "$(idc SCFG_NAME)" "   " && drv click "$add" 1 &&
    [ "$(drv box-up 5)" = "$(text_of en 190)" ]
}
close_box() { box 5 1 >/dev/null; }
open_otp() {  # activating the PEAP profile asks for the password of this connection
  profile_page && drv select "$sheet" "$(idc PROF_LIST)" Otp && drv click "$sheet" "$(idc PROF_ACTIVATE)" &&
    opened "$otpdlg"
}
close_otp() { drv click "$otpdlg" 2; }
editor_of() {  # the profile editor at the bottom of the dialog, or the dialog itself, if any
  case $1 in
    secprof) echo "$secprof" ;;
    add | certs | box) echo "$add" ;;
    edit) echo "$edit" ;;
  esac
}
is_editor() { case $1 in secprof | add | edit) return 0 ;; esac; return 1; }
up() {  # the dialog (the innermost one) is on the screen
  case $1 in
    secprof) drv shown "$secprof" 1 ;; hidden) drv shown "$hidden" 1 ;; seltool) drv shown "$seltool" 1 ;;
    keydlg) drv shown "$keydlg" 1 ;; add) drv shown "$add" 1 ;; edit) drv shown "$edit" 1 ;;
    certs) drv shown "$selcert" 1 ;; otp) drv shown "$otpdlg" 1 ;; box) drv box-up 1 >/dev/null ;;
  esac
}
# The key dialog comes first (the run starts joined to the maker's access point), the one-time
# password last (its activation leaves its profile the live one).
dialogs=(${VX_INTERLEAVE_DIALOGS:-keydlg secprof hidden seltool add edit certs box otp})
maker_first() { [ "${dialogs[0]}" = keydlg ] && echo true || echo false; }
waiting_with() { alive && up "$1" && drv wait "$sheet" 1; }  # the program, the dialog, the sheet
tray_lacks() { ! tray_has "$1"; }

# Unplugged under each dialog, in one run: ticks wait while the dialog is up; once it is closed
# the sheet goes and the tray says "Not exist"; plugged back in, the next dialog follows.
fresh_registry
check "starts under heap checking" start "$(maker_first)"
[ "$(maker_first)" = true ] && within 20 joined Arventa-AP
for d in "${dialogs[@]}"; do
  open_sheet
  if ! check "$d: the dialog opens" "open_$d"; then
    end_if_running
    start >/dev/null
    continue
  fi
  [ "$d" = certs ] && shot interleave-certs-en
  unplug
  throughout 3 tray_lacks "Not exist"  # a tick of the main loop comes and goes
  check "$d, unplugged: the program lives on with the dialog and the sheet" waiting_with "$d"
  check "$d, unplugged: the tray waits for the dialog" tray_lacks "Not exist"
  "close_$d"
  editor=$(editor_of "$d")
  [ -n "$editor" ] && ! drv gone "$editor" 2 && cancel_sheet "$editor"
  check "$d, unplugged: the sheet goes after the dialog" drv gone "$sheet" 6
  check "$d, unplugged: then the tray says \"Not exist\"" within 4 tray_has "Not exist"
  check "$d, unplugged: no fault under heap checking" crash_free
  replug
  within 10 tray_has "Disconnected"
done
end_if_running

# Exit and the hand-over under each dialog: each ends the program, so each gets a start. "Add
# Profile" alone is left out here: "Edit Profile" is the same editor sheet, and the box and the
# certificate cases open theirs over "Add Profile".
for action in exit switch; do
  fresh_registry
  for d in "${dialogs[@]}"; do
    [ "$d" = add ] && continue
    if [ "$action" = switch ]; then  # the adapter and its key as before the last hand-over
      sim_one >/dev/null
      fresh_registry
    fi
    start "$([ "$d" = keydlg ] && echo true || echo false)" >/dev/null
    [ "$d" = keydlg ] && within 20 joined Arventa-AP
    open_sheet
    if ! check "$d, $action: the dialog opens" "open_$d"; then
      end_if_running
      continue
    fi
    if [ "$action" = exit ]; then drv post ClientCfg 0x111 32776 0; else drv post ClientCfg 0x111 32781 0; fi
    editor=$(editor_of "$d")
    if is_editor "$d"; then
      # The profile editor is closed for the action, which follows at once.
      check "$d, $action: the profile editor closes by itself" drv gone "$editor" 10
    else
      check "$d, $action: the program waits with the dialog and the sheet" throughout 1 waiting_with "$d"
      [ "$action" = switch ] && check "$d, switch: the adapter is still a station" state_has '"opMode":0'
      "close_$d"
      [ -n "$editor" ] && check "$d, $action: then the profile editor closes by itself" drv gone "$editor" 10
    fi
    check "$d, $action: the program ends cleanly after the dialog" ended_cleanly
    if [ "$action" = switch ]; then
      check "$d, switch: the adapter was handed over" state_has '"opMode":1'
      check "$d, switch: OpMode 1 is stored" test "$(reg_value OpMode)" = 1
    fi
    end_if_running
  done
done

# HotspotCfg: each box and dialog of its pages while the adapter goes, Exit comes or "Switch to
# Station Mode" is chosen. The sheet and the dialog stay until the dialog is closed; then the sheet
# goes, or the program ends cleanly.
cp "$win/src/win32/apps/HotspotCfg.exe" "$work/HotspotCfg.exe"
ap=$(text_of en 3001) apsec=$(text_of en 3150)
start_ap() {
  env WINEDEBUG=warn+heap "$VX_WINE" "$work/HotspotCfg.exe" >>"$log" 2>&1 &
  client=$!
  drv wait "$ap" 20 && within 10 settled "$ap"
}
end_ap() { alive && drv post HotspotCfg 0x111 32776 0 && within 15 bash -c "! kill -0 $client"; kill "$client" 2>/dev/null; }
on() { page "$ap" "$1" && drv "${@:2}"; }  # on page N, a driver verb
box_up() { [ -n "$(drv box-up 5)" ]; }
ap_waits() { alive && drv wait "$ap" 1 && if [ "$1" = ap_security ]; then drv shown "$apsec" 1; else box_up; fi; }
gone_cleanly() { drv gone "$ap" 10 && crash_free; }
open_ap_ssid() { on 0 set-text "$ap" "$(idc APC_SSID)" "" && drv click "$ap" "$(idc APC_APPLY)" && box_up; }
open_ap_security() { on 0 click "$ap" "$(idc APC_SECURITY)" && opened "$apsec"; }
open_ap_psk() { open_ap_security && drv choose "$apsec" "$(idc APS_AUTH)" WPA-PSK && drv set-text "$apsec" "$(idc APS_PSK)" short && drv click "$apsec" 1 && box_up; }
open_ap_acl() { on 1 choose "$ap" "$(idc ACL_POLICY)" "#1" && drv click "$ap" "$(idc ACL_APPLY)" && box_up; }
open_ap_wds() { on 2 set-text "$ap" "$(idc WDS_MAC)" 0016CB01 && drv click "$ap" "$(idc WDS_ADD)" && box_up; }
sim_one >/dev/null
fresh_registry
for action in "unplug:unplug" "exit:drv post HotspotCfg 0x111 32776 0" "switch:drv post HotspotCfg 0x111 32778 0"; do
  for d in ap_ssid ap_security ap_psk ap_acl ap_wds; do
    a=${action%%:*}
    alive || start_ap
    check "$d, $a: the dialog opens" "open_$d" || { end_ap; continue; }
    ${action#*:} >/dev/null
    check "$d, $a: the program waits with the dialog and the sheet" throughout 2 ap_waits "$d"
    if [ $d = ap_security ]; then drv click "$apsec" 2; else box 5 1 >/dev/null && [ $d = ap_psk ] && drv click "$apsec" 2; fi
    if [ $a = unplug ]; then
      check "$d, unplugged: the sheet goes after the dialog, no fault" gone_cleanly
      replug && within 10 tray_has "Status :" && drv post HotspotCfg 0x111 32774 0 && drv wait "$ap" 10
    else
      check "$d, $a: the program ends cleanly after the dialog" ended_cleanly
      [ $a = exit ] || check "$d, switch: OpMode 0 is stored" test "$(reg_value OpMode)" = 0
    fi
  done
done
end_ap

echo "e2e-interleave: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
