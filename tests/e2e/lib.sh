# Shared by the end-to-end scripts: control of the simulator, the window driver, screenshots and
# the pass/fail tally. The caller sets native, win, port and shots first.
passed=0
failed=0

ctl() { "$native/tests/e2e/wlanctl" --port "$port" "$1"; }
# Wide arguments reach the driver intact under a UTF-8 locale (titles may be Chinese).
# Its output loses the carriage returns of the Windows C runtime.
drv() { LC_ALL=C.UTF-8 "$VX_WINE" "$win/tests/e2e/e2e_driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
notes() { ctl '{"cmd":"notes"}'; }
tray() { notes | sed -n 's/.*"tray":"\([^"]*\)".*/\1/p'; }
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
  fi
}
# Waits up to $1 seconds for a command to succeed.
within() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 4))); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.25
  done
  return 1
}
tray_has() { tray | grep -- "$1" >/dev/null; }
# A control's dialog ID from the resource headers: idc PROF_ADD -> 1683.
idc() { awk -v n="VX_IDC_$1" '$1 == "#define" && $2 == n {print $3}' src/resources/dialogs/*.h; }
# A text of the string tables as a window shows it, without its access key: text en|zh ID.
text_of() {
  local table=src/resources/strings/strings.en-US.txt
  [ "$1" = zh ] && table=src/resources/strings/strings.zh-TW.txt
  awk -F'\t' -v id="$2" '$1 == id {print $3}' "$table" | words
}
# A control's text without its access key: "Co&nnect" and "連線(&C)" read "Connect" and "連線".
words() { sed -e 's/(&[^)])//g' -e 's/&\(.\)/\1/g'; }
# The first message box's text, answered with a button (default OK): box TIMEOUT [BUTTON].
box() { drv box-text "$@"; }
box_says() {  # expected text, [button]: a box with that text appears within 5 s
  local got
  got=$(box 5 "${2:-1}")
  [ "$got" = "$1" ] || { echo "  box said: \"$got\"" >&2; return 1; }
}

# Tools a suite needs: a missing one fails the suite at once, so no check is quietly skipped.
# The simulator with one adapter in the world file given, without the one-button service (other
# suites may hold its port), and the adapter's keys as its driver leaves them: sets $sim.
start_one_adapter_sim() {
  "$native/src/sim/host/wlansim" --one-adapter --no-autosecurity --port "$port" --world "$1" \
    >"$work/wlansim.log" 2>&1 &
  sim=$!
  trap 'kill $sim 2>/dev/null; wineserver -k 2>/dev/null' EXIT
  within 10 ctl '{"cmd":"state"}' || { echo "wlansim did not start"; cat "$work/wlansim.log"; exit 1; }
  "$VX_WINE" reg delete "$root" /f >/dev/null 2>&1
  bash scripts/sim-install.sh "$win"
}
need_tools() {
  local tool missing=0
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "[FAIL] the tool \"$tool\" is missing (scripts/setup.sh installs it)"; missing=1; }
  done
  [ "$missing" = 0 ] || exit 1
}
need_tools import convert perl

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
