#!/usr/bin/env bash
# End-to-end checks of what the pages show, in English and Traditional Chinese, against the
# simulator: ClientCfg's Link Status (the link, rates, quality, signal and noise, and the dBm
# switch), Statistics (the driver's counters, and Reset Counter), About (the version resource and
# the simulated driver's answers), Advanced (Tx turbo rate, the RF caption following the sheet's
# radio button) and the lists' columns, styles and icons; HotspotCfg's Mac Table, Event Log, WDS
# (stored and sent) and About, both with the simulated driver file's version. Screenshots go to
# build/screenshots/contents-*.png.
# Usage: tests/e2e/run_e2e_pages.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR   (after scripts/wine-env.sh)
set -uo pipefail
suite=pages
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/clientcfg.sh"
hotspotcfg=$win/src/win32/apps/HotspotCfg.exe
# The driver package's files, among them the driver file whose version About shows.
bash scripts/sim-install.sh "$win"
driver_file="$WINEPREFIX/drive_c/windows/system32/drivers/kc30.sys"
driver_version=$(drv file-version "$win/src/sim/install/vxsimdrv.sys")  # the file copied there
check "the stand-in driver file carries a version" test -n "$driver_version"

# --- Reading the simulator and the string tables

# A string table text with its escapes undone (\s a blank, \n a line feed).
says() { text_of "$1" "$2" | sed -e 's/\\s/ /g' -e 's/\\n/\n/g'; }
# The simulator's answer to the last successful query of an OID ("0x0d020212"), in hex.
answer() {
  ctl '{"cmd":"log"}' | tr 'A-F' 'a-f' | grep -o '{[^{}]*}' | grep "\"oid\":\"$1\"" | grep '"set":false' |
    grep '"ok":true' | tail -1 | sed -n 's/.*"data":"\([0-9a-f]*\)".*/\1/p'
}
# An unsigned little-endian number: le HEX OFFSET BYTES.
le() {
  local hex=$1 out="" i
  for ((i = $3 - 1; i >= 0; i--)); do out+=${hex:$((($2 + i) * 2)):2}; done
  echo $((16#${out:-0}))
}
# A set the driver took, with these hex digits in its data.
log_has() {
  ctl '{"cmd":"log"}' | tr 'A-F' 'a-f' | grep -o '{[^{}]*}' | grep "\"oid\":\"$1\"" | grep '"set":true' |
    grep '"ok":true' | grep -q -- "$2"
}
state_field() { state | grep -o "\"$1\":[^,}]*" | head -1 | cut -d: -f2- | tr -d '"'; }
percent_of_dbm() {
  awk -v d="$1" 'BEGIN { if (d >= -50) p = 100; else if (d >= -80) p = int((d + 80) * 2.6 + 24);
                         else if (d >= -90) p = int((d + 90) * 2.6); else p = 0; print p }'
}
level_word() {  # Good, Normal or Weak by the link thresholds, in the language $1
  if [ "$2" -ge 71 ]; then says "$1" 2517; elif [ "$2" -ge 41 ]; then says "$1" 2515; else says "$1" 2518; fi
}

# --- Reading the windows

text_is() {  # window control expected
  local got
  got=$(drv text "$1" "$2" | words)
  [ "$got" = "$3" ]
}
# check_text DESCRIPTION WINDOW CONTROL EXPECTED [SECONDS]: the control reads EXPECTED in time.
check_text() {
  local what=$1 window=$2 id=$3 want=$4 seconds=${5:-6}
  if within "$seconds" text_is "$window" "$id" "$want"; then
    check "$what" true
  else
    echo "  reads \"$(drv text "$window" "$id")\", expected \"$want\""
    check "$what" false
  fi
}
row_listed() { [ -n "$(row_index "$@")" ]; }
rows_at_least() { [ "$(drv items "$1" "$2" | wc -l)" -ge "$3" ]; }  # window id count
answered() { [ -n "$(answer "$1")" ]; }  # OID: the driver answered a query of it
# A tick of the Statistics page after the log was cleared: it asked for each of its counters.
counters_ticked() {
  ctl '{"cmd":"log","clear":true}' >/dev/null
  within 10 answered 0x0d020212 && within 5 answered 0x00020102 && within 5 answered 0x00020105
}
# The list's columns are their shares of its client width:
# columns_follow WINDOW ID exact|whole TENTHS... where "exact" is trunc(width / 10 x factor),
# "whole" trunc(trunc(width / 10) x factor), and TENTHS the factors times ten (2.3 is 23).
columns_follow() {
  local window=$1 id=$2 rule=$3
  shift 3
  drv columns "$window" "$id" | awk -F'\t' -v tenths="$*" -v whole="$([ "$rule" = whole ] && echo 1 || echo 0)" '
    NR == 1 { width = $2; n = split(tenths, f, " "); next }
    { i = NR - 1; want = whole ? int(int(width / 10) * f[i] / 10) : int(width * f[i] / 100)
      if ($1 != want) { bad = 1; print "  column " i " is " $1 ", expected " want > "/dev/stderr" } }
    END { exit (bad || NR - 1 != n || width < 100) }'
}
list_style_has() { drv list-look "$1" "$2" | awk -v want="$3" '/^style/ { s = strtonum_hex($2) } END { exit !(and_bits(s, want) == want) }
  function strtonum_hex(h,   i, v, c) { v = 0; h = tolower(substr(h, 3)); for (i = 1; i <= length(h); i++) { c = index("0123456789abcdef", substr(h, i, 1)) - 1; v = v * 16 + c } return v }
  function and_bits(a, b,   r, bit) { r = 0; bit = 1; while (a > 0 && b > 0) { if (a % 2 && b % 2) r += bit; a = int(a / 2); b = int(b / 2); bit *= 2 } return r }'; }
dotted() { drv text "$1" "$2" | grep -Eq '^([0-9]+\.){3}[0-9]+$'; }
has_image_list() { drv list-look "$1" "$2" | grep -qx "images yes"; }
row_image() { drv list-look "$1" "$2" | awk -v r="$3" '$1 == "row" && $2 == r {print $4}'; }
image_is() { [ "$(row_image "$1" "$2" "$3")" = "$4" ]; }
mac_rows_are() { [ "$(drv items "$1" "$2" | cut -f1 | sort)" = "$(cat "$3")" ]; }
texts_are() {  # window id file: the list's rows read as the file's lines
  [ "$(drv items "$1" "$2")" = "$(cat "$3")" ]
}
row_index() {  # window id text [column]: the row whose column reads text
  drv items "$1" "$2" | awk -F'\t' -v t="$3" -v c="$((${4:-0} + 1))" '$c == t {print NR - 1; exit}'
}

# The built-in world with its open access point made an ordinary one: a maker's access point would
# offer the one-button set-up, which is not what these pages are about.
net=PagesNet
"$native/src/sim/host/wlansim" --print-world |
  sed -e 's/"00:0C:E7:10:20:30"/"00:1A:2B:3C:4D:20"/' -e 's/"maker": true/"maker": false/' \
    -e "s/\"Arventa-AP\"/\"$net\"/" >"$work/world.json"
start_sim --one-adapter --no-autosecurity --world "$work/world.json" && install_sim_platform || exit 1
fresh_registry() {
  "$VX_WINE" reg delete "$root" /f >/dev/null 2>&1
  "$VX_WINE" regedit /S src/sim/install/virtual_adapters.reg
}
associated() { state | grep -q '"associated":true'; }
not_associated() { state | grep -q '"associated":false'; }

# --- ClientCfg

client_pages() {  # language
  local lang=$1 sheet
  sheet=$(says "$lang" 102)
  ctl '{"cmd":"rssi","network":"'"$net"'","rssi":-65}' >/dev/null
  drv post ClientCfg 0x111 32774 0
  check "$lang: the sheet opens" drv wait "$sheet" 10
  within 10 settled "$sheet"

  # Link Status against the simulator's link. The sheet is new, so the first figures are not
  # averaged with older ones; the signal holds still, so later ones equal them.
  page "$sheet" 1
  local ssid bssid ip channel rssi
  ssid=$(state_field ssid)
  bssid=$(state_field bssid | tr ':' '-')
  ip=$(ctl '{"cmd":"world"}' | grep -o "{[^{}]*\"ssid\":\"$net\"[^{}]*}" | sed -n 's/.*"ip":"\([^"]*\)".*/\1/p')
  channel=$(state_field channel)
  rssi=$(state_field rssi)
  check_text "$lang: Link Status names the network, its access point and address" "$sheet" "$(idc LS_STATUS)" \
    "$ssid <--> $bssid [$ip]"
  check_text "$lang: the channel and its frequency" "$sheet" "$(idc LS_CHANNEL)" \
    "$channel <--> $((channel == 14 ? 2484000 : (2407 + 5 * channel) * 1000)) KHz"
  local link rate signal signal2 second noise quality
  link=$(answer 0x0d710102)
  rate=$(answer 0x0d71011b)
  second=$(answer 0x0d710125)
  noise=$(answer 0x0d71011a)
  check_text "$lang: Tx rate is the driver's, in Mbps" "$sheet" "$(idc LS_TX_MBPS)" \
    "$(awk -v r="$(le "$link" 0 4)" 'BEGIN {printf "%.1f", r / 2}')"
  check_text "$lang: Rx rate is the driver's rate index, in Mbps" "$sheet" "$(idc LS_RX_MBPS)" \
    "$(echo 1 2 5.5 11 6 9 12 18 24 36 48 54 | awk -v i="$(le "$rate" 0 4)" '{printf "%.1f", $(i + 1)}')"
  quality=$(( ($(le "$link" 4 4) * 12 + 100) / 10 ))
  quality=$((quality > 100 ? 100 : quality))
  check_text "$lang: link quality from the driver's figure" "$sheet" "$(idc LS_QUALITY_VALUE)" "$quality%"
  check_text "$lang: its word" "$sheet" "$(idc LS_QUALITY_WORD)" "$(level_word "$lang" "$quality")"
  signal=$(percent_of_dbm "$rssi")
  check_text "$lang: signal strength is the simulator's $rssi dBm in percent" "$sheet" "$(idc LS_SIGNAL_VALUE)" "$signal%"
  check_text "$lang: its word" "$sheet" "$(idc LS_SIGNAL_WORD)" "$(level_word "$lang" "$signal")"
  signal2=$(le "$second" 0 4)
  signal2=$((signal2 > 2147483647 ? signal2 - 4294967296 : signal2))
  check_text "$lang: the second chain's signal" "$sheet" "$(idc LS_SIGNAL2_VALUE)" "$(percent_of_dbm "$signal2")%"
  local raw
  raw=$(le "$noise" 0 4)
  check_text "$lang: the noise level in percent" "$sheet" "$(idc LS_NOISE_VALUE)" \
    "$(awk -v r="$raw" 'BEGIN {p = int((r * 10 - 430) / 3); print (p < 0 ? 0 : (p > 100 ? 100 : p))}')%"
  local event power
  event=$(le "$(answer 0x0d71011d)" 0 4)
  power=$(le "$(answer 0x0d710118)" 0 4)
  if [ "$power" = 4294967295 ] || [ "$power" = 100 ]; then power=100%; elif [ "$power" -ge 7 ]; then power=$power%; else
    power=$(says "$lang" 204); fi
  check_text "$lang: Extra Info names the driver's link event and transmit power" "$sheet" "$(idc LS_EXTRA)" \
    "$(says "$lang" $((2520 + event))) [$(says "$lang" 2531):$power]"
  look_at "contents-link-status-$lang" "$sheet"
  drv click "$sheet" "$(idc LS_DBM)"
  check_text "$lang: the dBm box shows the signal in dBm" "$sheet" "$(idc LS_SIGNAL_VALUE)" "$rssi dBm"
  check_text "$lang: and the second chain's" "$sheet" "$(idc LS_SIGNAL2_VALUE)" "$signal2 dBm"
  check_text "$lang: and the noise" "$sheet" "$(idc LS_NOISE_VALUE)" "$((raw - 143)) dBm"
  look_at "contents-link-status-dbm-$lang" "$sheet"
  drv click "$sheet" "$(idc LS_DBM)"
  check_text "$lang: unchecked, percent again" "$sheet" "$(idc LS_SIGNAL_VALUE)" "$signal%"

  # The lists: columns from the real width, the Parts' styles, the icons marking a row.
  page "$sheet" 2
  within 15 surveyed
  local list row
  list=$(idc SURVEY_LIST)
  check "$lang: Site Survey columns share the list's width" columns_follow "$sheet" "$list" exact 23 22 8 7 13 13 16
  check "$lang: Site Survey list has grid lines, full-row select and info tips" list_style_has "$sheet" "$list" 0x421
  check "$lang: Site Survey list has its image list" has_image_list "$sheet" "$list"
  row=$(row_index "$sheet" "$list" "$bssid" 1)
  check "$lang: the connected row carries the infrastructure icon" within 6 image_is "$sheet" "$list" "${row:-x}" 0
  check "$lang: the open network's encryption in the table's words" \
    test "$(drv items "$sheet" "$list" | sed -n "$((${row:-0} + 1))p" | cut -f5)" = "$(says "$lang" 123)"
  # Connect makes the open network a profile, the active one.
  drv select "$sheet" "$list" "$bssid" 1 && drv click "$sheet" "$(idc SURVEY_CONNECT)"
  within 15 associated
  page "$sheet" 0
  list=$(idc PROF_LIST)
  within 10 row_listed "$sheet" "$list" "$net"
  check "$lang: Profile columns share the list's width" columns_follow "$sheet" "$list" whole 17 21 12 18 15 17
  check "$lang: Profile list has grid lines, full-row select, flat scroll bars" list_style_has "$sheet" "$list" 0x121
  check "$lang: Profile list has its image list" has_image_list "$sheet" "$list"
  row=$(row_index "$sheet" "$list" "$net")
  check "$lang: the active profile's row shows icon 174 while associated" within 6 image_is "$sheet" "$list" "${row:-x}" 0

  # Statistics against the driver's counters, the link down so that they hold still.
  ctl '{"cmd":"range","network":"'"$net"'","inRange":false}' >/dev/null
  within 10 not_associated
  page "$sheet" 3
  counters_ticked && counters_ticked  # two ticks of the page
  local stats ok nobuf tx retry
  stats=$(answer 0x0d020212)
  ok=$(answer 0x00020102)
  nobuf=$(answer 0x00020105)
  tx=$(le "$stats" 8 8)
  retry=$(le "$stats" 32 8)
  check "$lang: the simulator sent its counters" test -n "$stats" -a -n "$ok" -a -n "$nobuf"
  check "$lang: transmitted frames equal the simulator's" test "$tx" = "$(state_field txFrames)"
  local want=("$tx" "$((tx - retry))" "$retry" "$(le "$stats" 24 8)" "$(le "$stats" 48 8)" "$(le "$stats" 56 8)"
    "$(le "$ok" 0 4)" "$(le "$stats" 96 8)" "$(le "$nobuf" 0 4)" "$(le "$stats" 72 8)")
  local i shown
  for i in 0 1 2 3 4 5 6 7 8 9; do
    check_text "$lang: statistics row $i is the driver's counter" "$sheet" "$(idc ST_VALUE_$i)" "${want[$i]}" 1
  done
  check "$lang: the counters are not all zero before the reset" test "$tx" -gt 0
  look_at "contents-statistics-$lang" "$sheet"
  drv click "$sheet" "$(idc ST_RESET)"
  check "$lang: Reset Counter asks the driver to reset" within 5 log_has 0x0df10103 ""
  shown=$(for i in 0 1 2 3 4 5 6 7 8 9; do drv text "$sheet" "$(idc ST_VALUE_$i)"; done | sort -u)
  check "$lang: Reset Counter shows zero in every row" test "$shown" = 0
  counters_ticked && counters_ticked
  stats=$(answer 0x0d020212)
  check "$lang: the driver's counters are zero" test "$(le "$stats" 8 8)$(le "$stats" 32 8)$(le "$stats" 96 8)" = 000
  shown=$(for i in 0 1 2 3 4 5 6 7 8 9; do drv text "$sheet" "$(idc ST_VALUE_$i)"; done | sort -u)
  check "$lang: later ticks still show zero" test "$shown" = 0
  ctl '{"cmd":"range","network":"'"$net"'","inRange":true}' >/dev/null
  check "$lang: the network comes back" within 25 associated

  # Advanced: "Tx turbo rate" shown; the RF caption follows the sheet's own radio button.
  page "$sheet" 4
  check "$lang: Advanced shows \"Tx turbo rate\"" text_is "$sheet" "$(idc ADV_TURBO_RATE)" "$(says "$lang" 229)"
  drv click "$sheet" 12321  # the sheet's radio button in Apply's place
  check_text "$lang: the sheet's radio button turns RF off on the page too" "$sheet" "$(idc ADV_RADIO)" "$(says "$lang" 111)" 4
  look_at "contents-advanced-rf-off-$lang" "$sheet"
  drv click "$sheet" 12321
  check_text "$lang: and on again" "$sheet" "$(idc ADV_RADIO)" "$(says "$lang" 112)" 4
  check "$lang: the radio comes back and joins" within 25 associated

  # About: the program's version resource and the simulated driver's answers.
  ctl '{"cmd":"log","clear":true}' >/dev/null  # About reads the driver when it first opens
  page "$sheet" 5
  local version mac eeprom firmware
  version=$(drv file-version "$clientcfg")
  check_text "$lang: About shows the program's version resource" "$sheet" "$(idc ABOUT_UTILITY_VERSION)" "$version.04"
  check_text "$lang: and its file date" "$sheet" "$(idc ABOUT_UTILITY_DATE)" "$(date -r "$clientcfg" +%m-%d-%Y)"
  mac=$(answer 0x01010102)
  eeprom=$(answer 0x0d710119)
  firmware=$(answer 0x0d710129)
  check_text "$lang: the adapter's MAC address" "$sheet" "$(idc ABOUT_MAC)" \
    "$(echo "$mac" | tr 'a-f' 'A-F' | sed 's/../&-/g; s/-$//')"
  check_text "$lang: the driver's EEPROM version" "$sheet" "$(idc ABOUT_EEPROM)" "$(le "$eeprom" 0 1).$(le "$eeprom" 1 1)"
  check_text "$lang: the driver's firmware version" "$sheet" "$(idc ABOUT_FIRMWARE)" \
    "$(le "$firmware" 0 1).$(le "$firmware" 1 1)"
  check_text "$lang: the driver file's version" "$sheet" "$(idc ABOUT_DRIVER_VERSION)" "$driver_version"
  check_text "$lang: and its date" "$sheet" "$(idc ABOUT_DRIVER_DATE)" "$(date -r "$driver_file" +%m-%d-%Y)"
  check "$lang: the adapter's address from the system's list" within 8 dotted "$sheet" "$(idc ABOUT_IP)"
  look_at "contents-about-$lang" "$sheet"
}

# --- HotspotCfg

ap_pages() {  # language
  local lang=$1 sheet
  sheet=$(says "$lang" 3001)
  check "$lang: the access point sheet opens at start" drv wait "$sheet" 40
  within 10 settled "$sheet"

  # Mac Table: the stations the world has associated, with their power saving.
  page "$sheet" 3
  local list stations
  list=$(idc MT_LIST)
  check "$lang: Mac Table has grid lines, full-row select and info tips" list_style_has "$sheet" "$list" 0x421
  check "$lang: Mac Table columns share the list's width" columns_follow "$sheet" "$list" whole 50 15 34
  state | grep -o '"stations":\[[^]]*\]' | grep -o '[0-9A-F:]\{17\}' | tr ':' '-' | sort >"$work/stations"
  check "$lang: stations associate" test -s "$work/stations"
  check "$lang: the Mac Table rows are the associated stations" within 8 mac_rows_are "$sheet" "$list" "$work/stations"
  check "$lang: a power-saving station reads \"$(says "$lang" 3303)\"" \
    test "$(drv items "$sheet" "$list" | awk -F'\t' '$1 == "00-1B-63-04-05-06" {print $3}')" = "$(says "$lang" 3303)"
  check "$lang: the others read \"$(says "$lang" 3304)\"" \
    test "$(drv items "$sheet" "$list" | awk -F'\t' '$1 == "00-16-CB-01-02-03" {print $3}')" = "$(says "$lang" 3304)"
  look_at "contents-mac-table-$lang" "$sheet"

  # Event Log: one row per event of the driver's table, in order, with local time and message.
  page "$sheet" 4
  within 10 answered 0x0d71010a
  ctl '{"cmd":"log"}' | tr 'A-F' 'a-f' | grep -o '{[^{}]*}' | grep '"oid":"0x0d71010a"' |
    grep '"set":false' | grep '"ok":true' | sed -n 's/.*"data":"\([0-9a-f]*\)".*/\1/p' | while read -r table; do
      n=$(le "$table" 0 4)
      for ((e = 0; e < n; e++)); do
        off=$((8 + 16 * e))
        secs=$(($(le "$table" "$off" 8) / 10000000 - 11644473600))
        mac=$(echo "${table:$(((off + 8) * 2)):12}" | tr 'a-f' 'A-F' | sed 's/../&-/g; s/-$//')
        type=$(le "$table" $((off + 14)) 2)
        case $type in
          0) text=$(says "$lang" 3310) ;;
          [1-5]) text=" $mac $(says "$lang" $((3310 + type)))" ;;
          *) text="" ;;
        esac
        printf '%s\t%s\n' "$(date -d "@$secs" '+%Y / %m / %d - %H : %M : %S')" "$text"
      done
    done >"$work/events"
  check "$lang: the driver reported events" test -s "$work/events"
  if within 8 texts_are "$sheet" "$(idc EL_LIST)" "$work/events"; then
    check "$lang: the Event Log rows are the driver's events" true
  else
    diff <(drv items "$sheet" "$(idc EL_LIST)") "$work/events" | sed 's/^/  /'
    check "$lang: the Event Log rows are the driver's events" false
  fi
  check "$lang: Event Log columns share the list's width" columns_follow "$sheet" "$(idc EL_LIST)" whole 40 59
  look_at "contents-event-log-$lang" "$sheet"

  # WDS: two peers added and applied: stored in ApDefault and the adapter key, and sent.
  page "$sheet" 2
  drv click "$sheet" "$(idc WDS_ENABLE)"
  within 5 enabled "$sheet" "$(idc WDS_MAC)"
  check "$lang: the WDS address edit takes twelve digits" test "$(drv limit "$sheet" "$(idc WDS_MAC)")" = 12
  local peer n=0
  for peer in 0073FF123456 00AABBCCDD0E; do
    drv set-text "$sheet" "$(idc WDS_MAC)" "$peer"
    drv click "$sheet" "$(idc WDS_ADD)"
    n=$((n + 1))
    within 5 rows_at_least "$sheet" "$(idc WDS_LIST)" "$n"
  done
  check "$lang: the WDS list shows the peers with dashes" \
    test "$(drv items "$sheet" "$(idc WDS_LIST)" | tr '\n' ' ')" = "00-73-FF-12-34-56 00-AA-BB-CC-DD-0E "
  ctl '{"cmd":"log","clear":true}' >/dev/null
  drv click "$sheet" "$(idc WDS_APPLY)"
  check "$lang: APPLY sends both peers to the driver" within 5 log_has 0x0df10112 0073ff123456.*00aabbccdd0e
  local stored
  stored=$("$VX_WINE" reg query "$root\\ApDefault" /v WdsList 2>/dev/null | tr -d '\r' | awk '$1 == "WdsList" {print $3}')
  check "$lang: ApDefault stores the peers" test "$stored" = '0073FF123456\000AABBCCDD0E'
  check "$lang: ApDefault stores WDS enabled" test "$(reg_value WdsEnable ApDefault)" = 0
  check "$lang: the adapter key holds the same list" \
    test "$("$VX_WINE" reg query "$root" /v WdsList 2>/dev/null | tr -d '\r' | awk '$1 == "WdsList" {print $3}')" = "$stored"
  look_at "contents-wds-$lang" "$sheet"

  # About: the program's own version resource.
  page "$sheet" 6
  check_text "$lang: About shows HotspotCfg's version resource" "$sheet" "$(idc ABOUT_UTILITY_VERSION)" \
    "$(drv file-version "$hotspotcfg").04"
  check_text "$lang: and the driver file's version" "$sheet" "$(idc ABOUT_DRIVER_VERSION)" "$driver_version"
  look_at "contents-ap-about-$lang" "$sheet"
}

for lang in en zh; do
  env_lang=()
  [ "$lang" = zh ] && env_lang=(LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8)
  fresh_registry
  replug  # the driver as it loads: station mode, and the device's entries again
  if ! check "$lang: ClientCfg starts and joins" start_client "${env_lang[@]}" || ! within 15 associated; then
    stop_client
    continue
  fi
  client_pages "$lang"
  # The hand-over; ModeSwitch starts HotspotCfg in the same language.
  ctl '{"cmd":"log","clear":true}' >/dev/null
  drv post ClientCfg 0x111 32781 0
  if drv wait HotspotCfg 40; then
    check "$lang: the switch hands over to HotspotCfg" true
    ap_pages "$lang"
  else
    check "$lang: the switch hands over to HotspotCfg" false
  fi
  drv post HotspotCfg 0x111 32776 0
  drv gone HotspotCfg 10
  stop_client  # ended by the hand-over already, or ended now
  unplug
done

# Two adapters: the choice between them, each fact behind its label from the string table.
start_sim --no-autosecurity --world "$work/world.json" || exit 1
starts_with() { case "$1" in "$2"*) return 0 ;; *) echo "  \"$1\" does not begin with \"$2\"" >&2; return 1 ;; esac; }
for lang in en zh; do
  env_lang=()
  [ "$lang" = zh ] && env_lang=(LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8)
  fresh_registry && sim_devices
  env "${env_lang[@]}" "$VX_WINE" "$clientcfg" >/dev/null 2>&1 &
  client=$!
  chooser=$(says "$lang" 2030)
  if check "$lang: two adapters: \"$chooser\" asks which" drv shown "$chooser" 20; then
    within 10 settled "$chooser"
    i=0
    for field in CARD_DESCRIPTION CARD_HARDWARE_ID CARD_LOCATION CARD_MANUFACTURER; do
      check "$lang: the adapter's $field behind its label" \
        starts_with "$(drv text "$chooser" "$(idc "$field")")" "$(says "$lang" $((2031 + i)))"
      i=$((i + 1))
    done
    data_words=$sim_card_words look_at "contents-select-card-$lang" "$chooser"
    drv click "$chooser" 1
    check "$lang: OK takes the chosen adapter" within 20 tray_has "ARVENTA"
  fi
  stop_client
done

echo "e2e-pages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
