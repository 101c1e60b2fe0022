#!/usr/bin/env bash
# End-to-end tests of what stretches ClientCfg's windows, under Wine against the simulator host:
# 64 networks in range, SSIDs of 32 bytes (the widest letters among them), a LEAP password of
# 256 characters and Chinese profile names. In both languages nothing may be clipped or lie on
# another control, the lists scroll, and what was typed arrives whole. The dialogs no other
# suite opens are looked at here too: the one-time password of PEAP with a token card, and the
# adapter choice when the host has two adapters. ClientCfg also runs with its supplicant library
# missing and with one that lacks an export, and meets what can come back from the driver: a list
# too big for its buffer, a card pulled out mid-scan or between its open and its request.
# Screenshots go to build/screenshots/.
# Usage: tests/e2e/run_e2e_bad_input.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR   (after scripts/wine-env.sh)
set -uo pipefail
suite=bad-input
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/clientcfg.sh"

# 32 bytes each, in the widest letters: the only open network (the station joins it at start; it
# gives its address, the longest status line), the maker's access point already on WPA-PSK
# (Connect asks for its key in the QuickSecure key dialog), and a LEAP network whose account's
# password has 256 characters.
open_ssid=WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW
maker_ssid=MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM
leap_ssid=Campus-LEAP-Network-32-Bytes-Max
leap_password=$(printf 'leap-%03d' $(seq 1 32))  # 256 characters
profile_name="校園無線網路設定檔"
token_ssid=Neighbour-Network-Number-04-of64  # WPA2-Enterprise
for s in "$open_ssid" "$maker_ssid" "$leap_ssid"; do [ ${#s} = 32 ] || { echo "not 32 bytes: $s"; exit 1; }; done
[ ${#leap_password} = 256 ] || { echo "the LEAP password has ${#leap_password} characters"; exit 1; }

# The world: those three and 61 secured networks more, 64 rows in the survey.
{
  echo '{"networks": ['
  echo "  {\"ssid\": \"$open_ssid\", \"bssid\": \"02:00:00:00:01:00\", \"channel\": 6, \"rssi\": -40, \"security\": \"open\","
  echo "   \"ip\": \"192.168.200.254\"},"
  echo "  {\"ssid\": \"$maker_ssid\", \"maker\": true, \"bssid\": \"00:0C:E7:77:88:99\", \"channel\": 11, \"rssi\": -50,"
  echo "   \"security\": \"wpa-psk\", \"passphrase\": \"maker network key\"},"
  echo "  {\"ssid\": \"$leap_ssid\", \"bssid\": \"02:00:00:00:01:02\", \"channel\": 1, \"rssi\": -45, \"security\": \"wep-8021x\","
  echo "   \"accounts\": [{\"method\": \"leap\", \"identity\": \"erin\", \"password\": \"$leap_password\"}]},"
  securities=(wpa2-psk wpa-psk wep wpa-wpa2-psk wpa2-enterprise)
  for i in $(seq 3 63); do
    sec=${securities[$((i % 5))]}
    key="\"passphrase\": \"network key $i\""
    [ "$sec" = wep ] && key='"wepKey": "1234567890"'
    [ "$sec" = wpa2-enterprise ] && key='"accounts": []'
    printf '  {"ssid": "Neighbour-Network-Number-%02d-of64", "bssid": "02:00:00:00:01:%02X", "channel": %d, "rssi": %d, "security": "%s", %s}%s\n' \
      "$i" "$i" $((1 + i % 11)) $((-55 - i % 35)) "$sec" "$key" "$([ "$i" = 63 ] && echo || echo ,)"
  done
  echo ']}'
} >"$work/world.json"

start_one_adapter_sim "$work/world.json"

rows() { drv items "$sheet" "$(idc SURVEY_LIST)"; }
has_rows() { [ "$(rows | wc -l)" -eq "$1" ]; }
scrolls() { drv scrolls "$sheet" "$(idc SURVEY_LIST)" | grep -x vertical >/dev/null; }
shows_ssid() { drv items "$sheet" "$(idc SURVEY_LIST)" | cut -f1 | grep -x -- "$1" >/dev/null; }
status_has() { drv text "$sheet" "$(idc LS_STATUS)" | grep -F -- "$1" >/dev/null; }
key_dialog_names() { drv text "$keydlg" "$(idc QS3_KEY_AP_TEXT)" | grep -F -- "SSID = $1" >/dev/null; }
profile_row() { drv items "$sheet" "$(idc PROF_LIST)" | cut -f1 | grep -x -- "$1" >/dev/null; }
sheet_page() { page "$sheet" "$1"; }

check "starts and joins the open network of 32 bytes" start_client
check "joined \"$open_ssid\"" within 20 joined "$open_ssid"
sheet=$(text_of en 102)
add=$(text_of en 185)
keydlg=$(text_of en 2400)
check "the sheet opens on Site Survey" open_sheet
check "the survey lists all 64 networks" within 10 has_rows 64
check "the survey list scrolls" scrolls
check "the 32-byte names are listed whole" shows_ssid "$maker_ssid"
look_at survey-64-networks-en "$sheet"
# The maker's access point on WPA-PSK without a profile: its name of 32 wide letters in the key
# dialog; Cancel stores nothing.
drv select "$sheet" "$(idc SURVEY_LIST)" "$maker_ssid" && drv click "$sheet" "$(idc SURVEY_CONNECT)"
if check "Connect to the maker's secured access point asks for its key" opened "$keydlg"; then
  check "the key dialog names the access point whole" key_dialog_names "$maker_ssid"
  look_at qs3-key-long-ssid-en "$keydlg"
  drv click "$keydlg" 2
  drv gone "$keydlg" 5
fi
check "Cancel stores no profile" not_stored "${maker_ssid}_AutoSecu"
sheet_page 1
check "Link Status names the 32-byte network whole" within 6 status_has "$open_ssid <--> 02-00-00-00-01-00"
look_at link-status-long-ssid-en "$sheet"

# A LEAP profile with a Chinese name and a password of 256 characters: stored whole, and the
# network's account (the same 256 characters) lets the station in.
sheet_page 0
drv click "$sheet" "$(idc PROF_ADD)"
if check "Add opens \"Add Profile\"" opened "$add"; then
  drv set-text "$add" "$(idc SCFG_NAME)" "$profile_name"
  drv set-text "$add" "$(idc SCFG_SSID)" "$leap_ssid"
  look_at profile-long-ssid-en "$add"
  page "$add" 1
  drv choose "$add" "$(idc ASEC_AUTH)" LEAP
  drv set-text "$add" "$(idc ASEC_LEAP_ID)" erin
  drv set-text "$add" "$(idc ASEC_LEAP_PASSWORD)" "$leap_password"
  look_at profile-leap-en "$add"
  drv click "$add" 1
  drv gone "$add" 5
fi
check "the Chinese profile name is stored" profile_exists "$profile_name"
check "the LEAP password is stored whole (256 characters)" \
  test "$(reg_value LeapPassword "Profile\\Station\\$profile_name")" = "$leap_password"
check "the Profile page lists the Chinese name" profile_row "$profile_name"
look_at profile-chinese-name-en "$sheet"
drv select "$sheet" "$(idc PROF_LIST)" "$profile_name" && drv click "$sheet" "$(idc PROF_ACTIVATE)"
check "the 256-character password joins the LEAP network" within 20 joined "$leap_ssid"

# PEAP with a token card: the 802.1X sheet shows the password mode; activated, the profile asks
# for a one-time password.
dot1x=$(text_of en 289)
otp=$(text_of en 2050)
drv click "$sheet" "$(idc PROF_ADD)"
if opened "$add"; then
  drv set-text "$add" "$(idc SCFG_NAME)" Token
  drv set-text "$add" "$(idc SCFG_SSID)" "$token_ssid"
  page "$add" 1
  drv choose "$add" "$(idc ASEC_AUTH)" WPA2
  drv click "$add" "$(idc ASEC_8021X_SETTING)"
  if check "\"802.1x Setting\" opens" opened "$dot1x"; then
    drv choose "$dot1x" "$(idc DAUTH_METHOD)" PEAP
    drv choose "$dot1x" "$(idc DAUTH_PROTOCOL)" "$(text_of en 2709)"
    drv click "$dot1x" "$(idc DAUTH_SOFT_TOKEN)"
    drv set-text "$dot1x" "$(idc DAUTH_ID)" dave
    drv set-text "$dot1x" "$(idc DAUTH_TUNNEL_ID)" dave
    look_at dot1x-token-card-en "$dot1x"
    drv click "$dot1x" 1
    drv gone "$dot1x" 5
  fi
  drv click "$add" 1
  drv gone "$add" 5
fi
drv select "$sheet" "$(idc PROF_LIST)" Token && drv click "$sheet" "$(idc PROF_ACTIVATE)"
if check "the token card profile asks for a one-time password" opened "$otp"; then
  look_at one-time-password-en "$otp"
  drv click "$otp" 2
  check "Cancel closes the one-time password dialog" drv gone "$otp" 5
fi
# Back to the LEAP profile, which the Chinese run starts with.
drv select "$sheet" "$(idc PROF_LIST)" "$profile_name" && drv click "$sheet" "$(idc PROF_ACTIVATE)"
within 20 joined "$leap_ssid"
stop_client

# The same windows in Chinese.
if start_client LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8; then
  sheet=$(text_of zh 102)
  edit=$(text_of zh 314)
  check "the Chinese sheet opens on Site Survey" open_sheet
  check "the Chinese survey lists all 64 networks" within 10 has_rows 64
  look_at survey-64-networks-zh "$sheet"
  sheet_page 1
  check "the Chinese Link Status names the network whole" within 6 status_has "$leap_ssid"
  look_at link-status-long-ssid-zh "$sheet"
  sheet_page 0
  check "the Chinese Profile page lists the Chinese name" profile_row "$profile_name"
  look_at profile-chinese-name-zh "$sheet"
  drv select "$sheet" "$(idc PROF_LIST)" "$profile_name" && drv click "$sheet" "$(idc PROF_EDIT)"
  if check "Edit opens the Chinese \"Edit Profile\"" opened "$edit"; then
    look_at profile-long-ssid-zh "$edit"
    page "$edit" 1
    look_at profile-leap-zh "$edit"
    drv post "$edit" 0x471 5 0  # PSM_PRESSBUTTON: Cancel
    drv gone "$edit" 5
  fi
  drv select "$sheet" "$(idc PROF_LIST)" Token && drv click "$sheet" "$(idc PROF_EDIT)"
  if opened "$edit"; then
    page "$edit" 1
    dot1x=$(text_of zh 289)
    drv click "$edit" "$(idc ASEC_8021X_SETTING)"
    if check "the Chinese 802.1X sheet with the token card" opened "$dot1x"; then
      look_at dot1x-token-card-zh "$dot1x"
      drv post "$dot1x" 0x471 5 0
      drv gone "$dot1x" 5
    fi
    drv post "$edit" 0x471 5 0
    drv gone "$edit" 5
  fi
  otp=$(text_of zh 2050)
  drv select "$sheet" "$(idc PROF_LIST)" Token && drv click "$sheet" "$(idc PROF_ACTIVATE)"
  if check "the Chinese one-time password dialog" opened "$otp"; then
    look_at one-time-password-zh "$otp"
    drv click "$otp" 2
    drv gone "$otp" 5
  fi
  stop_client
else
  check "starts in Chinese" false
fi

# The driver boundary: a list that outgrows the program's buffer, a card pulled out between the
# program's open and its request, and one pulled out in the middle of a scan. The program goes
# on, and carries on once the card is back.
sheet=$(text_of en 102)
{  # the world's networks stay in range, so the link holds whichever the station joined
  head -n -1 "$work/world.json" | sed '$s/}$/},/'
  for i in $(seq 1 699); do  # with them some 80 KiB of list, over the program's 64 KiB
    printf '{"ssid": "Crowd-%03d", "bssid": "02:00:00:01:%02X:%02X", "channel": %d, "rssi": -60, "security": "open"}%s\n' \
      "$i" $((i / 256)) $((i % 256)) $((1 + i % 11)) "$([ "$i" = 699 ] || echo ,)"
  done
  echo ']}'
} >"$work/crowd.json"
oid_failed() { ctl '{"cmd":"log"}' | grep -o '{[^{}]*}' | grep "\"oid\":\"$1\"" | grep -q '"ok":false'; }
scan_asked() { ctl '{"cmd":"log"}' | grep -o '{[^{}]*}' | grep '"oid":"0x0D81011A"' | grep -q '"ok":true'; }
alive() { kill -0 "$client" 2>/dev/null; }
present() { ! tray_has "Not exist"; }
back_again() { within 20 present && alive; }
sheet_gone_alive() { drv gone "$sheet" 10 && alive; }
not_there_alive() { within 15 tray_has "Not exist" && alive; }
fresh_adapter  # no profile of the cases above (the token card's asks for a password at each start)
if check "driver boundary: ClientCfg reaches the tray" start_client && within 20 joined "$open_ssid" && open_sheet; then
  ctl "{\"cmd\":\"load\",\"path\":\"$PWD/$work/crowd.json\"}" >/dev/null
  ctl '{"cmd":"log","clear":true}' >/dev/null
  drv click "$sheet" "$(idc SURVEY_RESCAN)"
  check "a list over the buffer: the driver answers that the buffer is too small" within 15 oid_failed 0x0D010217
  check "... the program lives on with the last good list" within 10 has_rows 64
  ctl "{\"cmd\":\"load\",\"path\":\"$PWD/$work/world.json\"}" >/dev/null
  ctl '{"cmd":"log","clear":true}' >/dev/null
  within 15 surveyed && drv click "$sheet" "$(idc SURVEY_RESCAN)"  # Rescan waits for the last scan
  within 10 scan_asked && unplug  # before the list is read, 3 s after the scan was asked for
  check "unplugged in the middle of a scan: the tray says \"Not exist\"" within 15 tray_has "Not exist"
  check "... the sheet goes and the program lives on" sheet_gone_alive
  replug
  check "... plugged back in, it carries on" back_again
  ctl '{"cmd":"unplug","afterOpen":true}' >/dev/null
  check "pulled out between the open and the request: it goes at the program's next open" \
    within 10 state_has '"plugged":false'
  sim_devices  # gone from the device entries too, as Plug and Play removes it
  check "... the tray says \"Not exist\" and the program lives on" not_there_alive
  replug
  check "... plugged back in, it carries on" back_again
fi
stop_client

# The supplicant library missing, or lacking an export: the program runs without it and calls
# nothing of it. (The library is where vxsim-platform put it: the system folder of the build's
# bitness.)
sysdir=system32
[ "$VX_WIN_PRESET" = win32-release ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && sysdir=syswow64
aegis=$WINEPREFIX/drive_c/windows/$sysdir/AegisE5.dll
supplicant_calls() { ctl '{"cmd":"supplicant"}' | grep -o '"call"' | wc -l; }
for variant in missing partial; do
  rm -f "$aegis"
  [ $variant = partial ] && cp "$win/src/sim/supplicant/AegisE5-partial.dll" "$aegis"
  calls=$(supplicant_calls)
  check "supplicant library $variant: ClientCfg reaches the tray" start_client
  check "supplicant library $variant: it runs on" bash -c "sleep 5; kill -0 $client"
  check "supplicant library $variant: nothing of it is called" test "$(supplicant_calls)" = "$calls"
  stop_client
done
cp "$win/src/sim/supplicant/AegisE5.dll" "$aegis"

# Two adapters in the host: the adapter choice comes before the tray, in both languages.
start_sim --no-autosecurity --world "$work/world.json" || exit 1
install_sim_platform
for lang in en zh; do
  env=()
  [ "$lang" = zh ] && env=(LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8)
  choose=$(text_of $lang 2030)
  env "${env[@]}" "$VX_WINE" "$clientcfg" >/dev/null 2>&1 &
  client=$!
  if check "two adapters: \"$choose\" comes up" opened "$choose"; then
    data_words=$sim_card_words look_at select-card-$lang "$choose"
    drv click "$choose" 1
    check "the chosen adapter's utility reaches the tray" within 20 tray_has ARVENTA
  fi
  stop_client
done

echo "e2e-bad-input: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
