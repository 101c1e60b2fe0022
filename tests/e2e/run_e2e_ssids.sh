#!/usr/bin/env bash
# End-to-end tests of network names that are raw bytes: a world of SSIDs in Big5, in Latin-1,
# with control characters, of 32 bytes 0xFF, and with a backslash (open and WPA2-PSK), each joined
# through ClientCfg's Site Survey Connect. The simulator must see the exact bytes; the stored
# profile's "SSID" must hold them (read past the program, as UTF-16 units); the list shows each
# name in the code page of the UI language; and the station joins each again after the network
# was lost, and again from its stored profile. No fixed port or /tmp file: no lock needed.
# Usage: tests/e2e/run_e2e_ssids.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR   (after scripts/wine-env.sh)
set -uo pipefail
suite=ssids
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/clientcfg.sh"

# The networks: name for the messages, BSSID, SSID bytes in hex, security, pass phrase, the profile
# name an English utility derives, the stored UTF-16 units, the English and Chinese list texts.
BIG5=B54CBD75204150                    # "無線 AP" in Big5
LATIN1=436166E9204C6F756E6765           # "Café Lounge" in Latin-1
CONTROL=43746C01091F4E6574              # "Ctl", 0x01, tab, 0x1F, "Net"
FF=$(printf 'FF%.0s' $(seq 32))         # 32 bytes 0xFF
QUOTED=4D7920224E657422205C2331         # My "Net" \#1
BACKSLASH=6261636B5C736C617368          # back\slash
ff_units=$(printf 'DCFF %.0s' $(seq 32)); ff_units=${ff_units% }
ff_en=$(printf '\xc3\xbf%.0s' $(seq 32))
ff_zh=$(printf '\\xFF%.0s' $(seq 32))
cat >"$work/world.json" <<EOF
{"networks": [
  {"ssidHex": "$BIG5", "bssid": "00:1A:2B:5C:00:01", "channel": 1, "rssi": -50, "security": "open"},
  {"ssidHex": "$LATIN1", "bssid": "00:1A:2B:5C:00:02", "channel": 6, "rssi": -52, "security": "wpa2-psk",
   "passphrase": "latin one key"},
  {"ssidHex": "$CONTROL", "bssid": "00:1A:2B:5C:00:03", "channel": 11, "rssi": -54, "security": "open"},
  {"ssidHex": "$FF", "bssid": "00:1A:2B:5C:00:04", "channel": 3, "rssi": -56, "security": "wpa2-psk",
   "passphrase": "all ones key"},
  {"ssidHex": "$QUOTED", "bssid": "00:1A:2B:5C:00:05", "channel": 9, "rssi": -58, "security": "wpa2-psk",
   "passphrase": "backslash key"},
  {"ssidHex": "$BACKSLASH", "bssid": "00:1A:2B:5C:00:06", "channel": 4, "rssi": -60, "security": "open"}
]}
EOF

list=$(idc SURVEY_LIST)
rows() { drv items "$sheet" "$list"; }
ssid_of_row() { rows | awk -F'\t' -v b="$1" '$2 == b {print $1}'; }  # the SSID column of a BSSID's row
row_reads() { [ "$(ssid_of_row "$1")" = "$2" ]; }
press_connect() { drv select "$sheet" "$list" "$1" 1 && drv click "$sheet" "$(idc SURVEY_CONNECT)"; }
# The buttons wait while a join is under way, as they do for a user.
connect() { within 10 press_connect "$1"; }
joined_hex() { local s; s=$(state); [[ $s == *"\"associated\":true"* && $s == *"\"ssidHex\":\"$1\""* ]]; }
lost() { ! state_has '"associated":true'; }
units_of() { drv reg-units "${root#HKLM\\}\\Profile\\Station\\$1" SSID; }
stored() { [ "$(units_of "$1")" = "$2" ]; }
range() { ctl "{\"cmd\":\"range\",\"network\":\"$1\",\"inRange\":$2}" >/dev/null; }
give_key() {  # "Security Profile" asks for the pass phrase
  opened "$secprof" || return 1
  drv set-text "$secprof" "$(idc ASEC_PSK)" "$1"
  drv click "$secprof" 1
  drv gone "$secprof" 5
}
no_window() { ! drv shown "$1" "${2:-3}"; }

start_one_adapter_sim "$work/world.json"

sheet=$(text_of en 102)
secprof=$(text_of en 2201)
check "starts" start_client
check "the sheet opens on Site Survey" open_sheet
look_at survey-ssids-en "$sheet"
check "Big5 bytes read in code page 1252" row_reads 00-1A-2B-5C-00-01 $'\xc2\xb5L\xc2\xbdu AP'
check "Latin-1 bytes read in code page 1252" row_reads 00-1A-2B-5C-00-02 $'Caf\xc3\xa9 Lounge'
check "control characters show as escapes" row_reads 00-1A-2B-5C-00-03 'Ctl\x01\x09\x1FNet'
check "32 bytes 0xFF read in code page 1252" row_reads 00-1A-2B-5C-00-04 "$ff_en"
check "a backslash shows as it is" row_reads 00-1A-2B-5C-00-05 'My "Net" \#1'

# Each network through Connect: the exact bytes reach the driver, the profile keeps them under a
# name a key can have, and the list of profiles shows that name.
join_one() {  # label BSSID hex profile units [pass phrase]
  local label=$1 bssid=$2 hex=$3 name=$4 units=$5 key=${6:-}
  connect "$bssid"
  [ -n "$key" ] && { check "$label: \"Security Profile\" asks for the key" give_key "$key"; }
  check "$label: joined with the exact bytes" within 20 joined_hex "$hex"
  check "$label: the profile \"$name\" keeps the bytes" within 5 stored "$name" "$units"
}
join_one "Big5" 00-1A-2B-5C-00-01 "$BIG5" $'\xc2\xb5L\xc2\xbdu AP' "DCB5 004C DCBD 0075 0020 0041 0050"
join_one "Latin-1" 00-1A-2B-5C-00-02 "$LATIN1" $'Caf\xc3\xa9 Lounge' \
  "0043 0061 0066 DCE9 0020 004C 006F 0075 006E 0067 0065" "latin one key"
join_one "control characters" 00-1A-2B-5C-00-03 "$CONTROL" "Ctl_x01_x09_x1FNet" \
  "0043 0074 006C 0001 0009 001F 004E 0065 0074"
join_one "32 x 0xFF" 00-1A-2B-5C-00-04 "$FF" "$ff_en" "$ff_units" "all ones key"
join_one "backslash, WPA2-PSK" 00-1A-2B-5C-00-05 "$QUOTED" 'My "Net" _#1' \
  "004D 0079 0020 0022 004E 0065 0074 0022 0020 005C 0023 0031" "backslash key"
join_one "backslash, open" 00-1A-2B-5C-00-06 "$BACKSLASH" "back_slash" \
  "0062 0061 0063 006B 005C 0073 006C 0061 0073 0068"

# The profile list shows the names the networks were given.
profile_listed() { drv items "$sheet" "$(idc PROF_LIST)" | cut -f1 | grep -x -F -- "$1" >/dev/null; }
page "$sheet" 0  # the Profile page
for name in 'My "Net" _#1' back_slash Ctl_x01_x09_x1FNet $'Caf\xc3\xa9 Lounge'; do
  check "the profile list shows \"$name\"" profile_listed "$name"
done
look_at profiles-ssids-en "$sheet"
page "$sheet" 2  # back to Site Survey

# Lost and back: the network leaves range and returns; the station joins the same bytes again.
range 00:1A:2B:5C:00:06 false
check "the open backslash network is lost" within 10 lost
range 00:1A:2B:5C:00:06 true
check "and joined again when it returns" within 40 joined_hex "$BACKSLASH"

# Each stored profile joins again through Connect, without a sheet; the secured one after the
# adapter was unplugged and plugged in again.
for pair in "00-1A-2B-5C-00-01 $BIG5" "00-1A-2B-5C-00-03 $CONTROL"; do
  set -- $pair
  connect "$1"
  check "Connect joins $2 again from its profile" within 20 joined_hex "$2"
done
connect 00-1A-2B-5C-00-04
check "the 0xFF profile joins without a sheet" no_window "$secprof" 2
check "the 0xFF network is joined again" within 20 joined_hex "$FF"
# The survey's join watchdog looks 5 s after Connect: a link gone by then counts as a failed join
# (the profile is dropped and "Security Profile" asks again). The adapter goes after that look.
throughout 6 joined_hex "$FF"
ctl '{"cmd":"unplug"}' >/dev/null
check "unplugged, the link is gone" within 10 lost
ctl '{"cmd":"replug"}' >/dev/null
check "plugged in again, the station joins the 0xFF bytes again" within 60 joined_hex "$FF"
stop_client

# The Chinese utility reads the same bytes in code page 950.
if start_client LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8; then
  sheet=$(text_of zh 102)
  check "the Chinese sheet opens" open_sheet
  look_at survey-ssids-zh "$sheet"
  check "Big5 bytes read in code page 950" row_reads 00-1A-2B-5C-00-01 "無線 AP"
  check "a lead byte without its trail shows as an escape" row_reads 00-1A-2B-5C-00-02 'Caf\xE9 Lounge'
  check "bytes 0xFF show as escapes" row_reads 00-1A-2B-5C-00-04 "$ff_zh"
  stop_client
else
  check "starts in Chinese" false
fi

echo "e2e-ssids: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
