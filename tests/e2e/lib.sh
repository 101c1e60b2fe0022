# Shared by the end-to-end scripts: their start and end, control of the simulator, the window
# driver, screenshots and the pass/fail tally. A suite sets $suite, then sources this with its
# arguments NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [win2k|winxp] (after scripts/wine-env.sh); its
# screenshots go to build/screenshots (a folder of their own under a personality), its files to
# build/e2e-SUITE[-PERSONALITY], so that suites can run side by side.
native=$1
win=$2
shots=build/screenshots${3:+/$3}
work=build/e2e-$suite${3:+-$3}
mkdir -p "$shots" "$work"
root='HKLM\System\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}\0007'
passed=0
failed=0

ctl() { "$native/tests/e2e/wlanctl" --port "$port" "$1"; }
# Wide arguments reach the driver intact under a UTF-8 locale (titles may be Chinese).
# Its output loses the carriage returns of the Windows C runtime.
drv() { LC_ALL=C.UTF-8 "$VX_WINE" "$win/tests/e2e/e2e_driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
# The tips of the icons in the notification area (Wine's explorer), as pointing at them shows.
# In a 64-bit prefix explorer is a 64-bit program, looked into by the x86_64 driver.
tray() {
  local driver=$win/tests/e2e/e2e_driver.exe
  [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && [ -f "$win/tests/e2e/x64/e2e_driver.exe" ] &&
    driver=$win/tests/e2e/x64/e2e_driver.exe
  LC_ALL=C.UTF-8 "$VX_WINE" "$driver" inspect-tray 2>/dev/null | tr -d '\r' | awk -F'\t' '$1 == "text" && $4 == "tip" {print $5}'
}
state() { ctl '{"cmd":"state"}'; }
shot() { import -window root "$shots/$1.png" 2>/dev/null || true; }
check() {  # name, then a command that must succeed
  local name=$1
  shift
  if "$@"; then
    echo "[PASS] $name"
    passed=$((passed + 1))
  else
    echo "[FAIL] $name"
    failed=$((failed + 1))
    return 1
  fi
}
# Microseconds since the epoch: the clock of the waits below, whatever their commands take.
now_us() { echo "${EPOCHREALTIME/./}"; }
# Waits for a command to succeed: $1 seconds of tries a quarter second apart, and, where the
# command itself is slow (a loaded machine, a probe waiting on a window), no more than three times
# $1 in all. Says what it waited for when the time runs out.
within() {
  local seconds=$1 end=$(($(now_us) + $1 * 3000000))
  shift
  for _ in $(seq $((seconds * 4))); do
    "$@" >/dev/null 2>&1 && return 0
    [ "$(now_us)" -ge "$end" ] && break
    sleep 0.25
  done
  echo "  waited ${seconds} s in vain for: $*" >&2
  return 1
}
# A command keeps succeeding for $1 seconds: what must not change, watched.
throughout() {
  local end=$(($(now_us) + $1 * 1000000))
  shift
  while [ "$(now_us)" -lt "$end" ]; do
    "$@" >/dev/null 2>&1 || { echo "  no longer true: $*" >&2; return 1; }
    sleep 0.25
  done
}
# A window done with drawing itself: its visible controls and their texts read the same twice.
settled() {
  local before
  before=$(drv controls "$1") && [ -n "$before" ] && sleep 0.2 && [ "$(drv controls "$1")" = "$before" ]
}
# What is on the screen changes after a command (a click, typing) and then settles.
changes() {  # title command...
  local before
  before=$(drv controls "$1")
  "${@:2}" && within 10 changed "$1" "$before" && within 10 settled "$1"
}
changed() { [ "$(drv controls "$1")" != "$2" ]; }
# A dialog is on the screen and has settled.
opened() { drv shown "$1" "${2:-15}" && within 10 settled "$1"; }
# A page of a property sheet brought to the front (PSM_SETCURSEL, handled before "send" returns)
# and settled.
page() { drv send "$1" 0x465 "$2" 0 && within 10 settled "$1"; }
# The same, and a tick of the program's timers after it, which asks the driver again: the page
# shows the driver's values.
page_ticked() { page "$@" && a_tick && within 10 settled "$1"; }
# A tick of the program's timers: after the simulator's log is cleared, it asks the driver again.
a_tick() {
  ctl '{"cmd":"log","clear":true}' >/dev/null
  within 10 queried
}
queried() { ctl '{"cmd":"log"}' | grep -q '"set":false'; }
enabled() { drv state "$1" "$2" | grep -q '^enabled'; }  # title id
# A pop-up menu (the tray icon's) is on the screen, or is not.
menu_up() { drv inspect-menu >/dev/null; }
menu_down() { ! menu_up; }
tray_has() { tray | grep -- "$1" >/dev/null; }
# A control's dialog ID from the resource headers: idc PROF_ADD -> 1683.
idc() { awk -v n="VX_IDC_$1" '$1 == "#define" && $2 == n {print $3}' src/resources/dialogs/*.h; }
# A text of the string tables as a window shows it, without its access key: text en|zh ID.
text_of() {
  local table=src/resources/strings/strings.en-US.txt
  [ "$1" = zh ] && table=src/resources/strings/strings.zh-TW.txt
  awk -F'\t' -v id="$2" '$1 == id {print $3}' "$table" | words
}
# A control's text without its access key: "Co&nnect" and "連線(&C)" read "Connect" and "連線";
# an "&" before no letter or digit is no key ("Authentication & Security", a window title).
words() { sed -e 's/(&[[:alnum:]])//g' -e 's/&\([[:alnum:]]\)/\1/g'; }
# The first message box's text, answered with a button (default OK): box TIMEOUT [BUTTON].
box() { drv box-text "$@"; }
box_says() {  # expected text, [button]: a box with that text appears within 5 s
  local got
  got=$(box 5 "${2:-1}")
  [ "$got" = "$1" ] || { echo "  box said: \"$got\"" >&2; return 1; }
}

# The simulated platform in the prefix (scripts/sim-install.sh): the programs reach it through
# SetupAPI, the miniport stand-in and the stand-in libraries, as they would a real adapter.
# Unplug and replug change the device entries as Plug and Play would.
install_sim_platform() { bash scripts/sim-install.sh "$win" "$port"; }
# A certificate of the world's (scripts/sim-certs.sh) by its SHA-1 thumbprint, in lower case.
cert_hash() { openssl x509 -inform DER -in "$win/sim-certs/$1.der" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g' | tr 'A-F' 'a-f'; }
sim_devices() { "$VX_WINE" "$win/src/sim/install/vxsim-platform.exe" devices "$port" >/dev/null 2>&1; }
unplug() { ctl "{\"cmd\":\"unplug\",\"adapter\":${1:-0}}" >/dev/null && sim_devices; }
replug() { ctl "{\"cmd\":\"replug\",\"adapter\":${1:-0}}" >/dev/null && sim_devices; }

# The simulator, on free ports: the control port, and the one-button service's unless it is
# left out (--no-autosecurity). Sets $sim, $port and $qsport; a restart keeps the ports.
start_sim() {  # wlansim options
  stop_sim
  : >"$work/wlansim.log"  # emptied here: a restart must not read the last one's ports
  "$native/src/sim/host/wlansim" --port "${port:-0}" --autosecurity-port "${qsport:-0}" "$@" >>"$work/wlansim.log" 2>&1 &
  sim=$!
  if ! within 10 grep -q "serving on" "$work/wlansim.log"; then
    echo "wlansim did not start:"
    cat "$work/wlansim.log"
    return 1
  fi
  port=$(sed -n 's/.*serving on 127.0.0.1:\([0-9]*\).*/\1/p' "$work/wlansim.log")
  qsport=$(sed -n 's/.*one-button security on 127.0.0.1:\([0-9]*\).*/\1/p' "$work/wlansim.log")
  programs_up
}
# The programs run from a folder of the suite's own, whose security.ini points ClientCfg's
# one-button set-up at this run's service, or without one at a port nothing listens on: never at
# the service of another run on the programs' default port.
programs_up() {
  local p=$qsport
  while [ -z "$p" ]; do
    p=$((22000 + RANDOM % 8000))
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null && p=
  done
  mkdir -p "$work/apps"
  # By content, not by date: a folder last filled from the other build (i686, x86_64) holds
  # newer files; and a program still running from it is not written over with itself.
  local f
  for f in "$win"/src/win32/apps/*.exe; do cmp -s "$f" "$work/apps/${f##*/}" || cp "$f" "$work/apps/"; done
  printf '[Option]\r\nSERVER_PORT=%s\r\n' "$p" >"$work/apps/security.ini"
  clientcfg=$work/apps/ClientCfg.exe
  hotspotcfg=$work/apps/HotspotCfg.exe
}
stop_sim() {
  [ -n "${sim:-}" ] || return 0
  kill "$sim" 2>/dev/null
  wait "$sim" 2>/dev/null
  sim=
}
# The adapter key as the driver's installation leaves it, the driver package's files and the
# simulated platform.
fresh_adapter() {
  "$VX_WINE" reg delete "$root" /f >/dev/null 2>&1
  install_sim_platform
}
# The start of a suite against the simulated adapter: the simulator, and the adapter as installed.
sim_up() {  # wlansim options
  start_sim "$@" || exit 1
  fresh_adapter
}
# The simulator with one adapter in the world file given, without the one-button service.
start_one_adapter_sim() {
  sim_up --one-adapter --no-autosecurity --world "$1"
}
# At the end of a suite: its own tidying ($tidy), the simulator, and the programs of its Wine
# prefix, but not a server the lane it runs in keeps for the prefix (the lane ends that).
tidy=
suite_end() {
  [ -z "$tidy" ] || $tidy
  stop_sim
  [ "$WINEPREFIX" = "${VX_LANE_PREFIX:-}" ] || wineserver -k 2>/dev/null
}
trap suite_end EXIT

# Tools a suite needs: a missing one fails the suite at once, so no check is quietly skipped.
need_tools() {
  local tool missing=0
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "[FAIL] the tool \"$tool\" is missing (scripts/setup.sh installs it)"; missing=1; }
  done
  [ "$missing" = 0 ] || exit 1
}
need_tools import convert perl openssl

# Looking at a window as a user would: "look_at NAME TITLE" photographs the window titled TITLE as
# NAME.png (NAME ends in -en or -zh), then checks that no label, button, tab, list header or
# cell of it is cut or lies on another control, and, in Chinese, that it shows no Latin-letter
# word outside tests/e2e/latin-allowed.txt and the run's data (the world's names and addresses,
# the stored profiles' names, and $data_words).
data_words=""
# What the adapter choice shows of the simulator's two adapters: their names, hardware ID and
# place are the system's (the simulator's device set-up), data in any language.
sim_card_words="Arventa 802.11g PCI Wireless LAN Card
Arventa 802.11a/g USB Wireless LAN Adapter
VEN_1A5C DEV_0C30 SUBSYS_00301A5C REV_01
PCI bus 2, device 4, function 0"
look_at() {
  local name=$1 title=$2 report
  if ! report=$(drv inspect "$title"); then
    check "$name: the window \"$title\" can be inspected" false
    return
  fi
  shot_window "$name" "$report"
  check "$name: nothing clipped or overlapping" nothing_clipped "$report"
  check "$name: access keys, Tab and labels" keyboard_ready "$report"
  [[ $name == *-zh ]] && check "$name: every text translated" translated "$report"
}
# The same for the pop-up menu on the screen (the tray's): its items in Chinese are translated.
look_at_menu() {
  local name=$1 report
  if ! report=$(drv inspect-menu); then
    check "$name: the menu can be inspected" false
    return
  fi
  shot_window "$name" "$report"
  [[ $name == *-zh ]] && check "$name: every text translated" translated "$report"
}
# The screen cut to the window the report describes.
shot_window() {
  local rect left top right bottom
  rect=$(awk -F'\t' '$1 == "window" {print $2; exit}' <<<"$2")
  shot "$1"
  [ -n "$rect" ] || return 0
  read -r left top right bottom <<<"$rect"
  left=$((left > 0 ? left : 0))
  top=$((top > 0 ? top : 0))
  convert "$shots/$1.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shots/$1.png" 2>/dev/null || true
}
nothing_clipped() {
  local found
  found=$(awk -F'\t' '
    $1 == "clipped" { printf "  clipped in \"%s\", control %s (%s): \"%s\" needs %s\n", $2, $3, $4, $5, $6 }
    $1 == "overlap" { printf "  controls %s and %s overlap in \"%s\"\n", $3, $4, $2 }' <<<"$1")
  [ -z "$found" ] && return 0
  echo "$found" >&2
  return 1
}
keyboard_ready() {
  local found
  found=$(awk -F'\t' '
    $1 == "nokey" { printf "  no access key in \"%s\": %s %s \"%s\"\n", $2, $4, $3, $5 }
    $1 == "samekey" { printf "  access key %s twice in \"%s\": %s \"%s\" and %s \"%s\"\n", $4, $2, $3, $5, $6, $7 }
    $1 == "notab" { printf "  control %s in \"%s\" is no tab stop\n", $3, $2 }
    $1 == "nolabel" { printf "  field %s in \"%s\" has no label just before it\n", $3, $2 }
    $1 == "nogroup" { printf "  radio group at %s in \"%s\" lacks WS_GROUP\n", $3, $2 }' <<<"$1")
  [ -z "$found" ] && return 0
  echo "$found" >&2
  return 1
}
translated() {
  local data
  data=$(mktemp)
  { run_words; printf '%s\n' $data_words; } >"$data"
  perl tests/e2e/untranslated.pl tests/e2e/latin-allowed.txt "$data" <<<"$1" >&2
  local rc=$?
  rm -f "$data"
  return $rc
}
# What the run itself names: the world's networks, stations, accounts and certificates, and the
# profiles stored for the simulated adapter.
run_words() {
  ctl '{"cmd":"world"}' | grep -o '"\(ssid\|bssid\|apName\|mac\|identity\|issuedTo\|issuedBy\|friendlyName\)":"[^"]*"' |
    sed 's/^"[^"]*":"//; s/"$//'
  "$VX_WINE" reg query 'HKLM\System\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}\0007\Profile\Station' 2>/dev/null |
    tr -d '\r' | sed -n 's/.*\\Profile\\Station\\//p'
}
