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
# A text of the string tables: text en|zh ID.
text_of() {
  local table=src/resources/strings/strings.en-US.txt
  [ "$1" = zh ] && table=src/resources/strings/strings.zh-TW.txt
  awk -F'\t' -v id="$2" '$1 == id {print $3}' "$table"
}
# The first message box's text, answered with a button (default OK): box TIMEOUT [BUTTON].
box() { drv box-text "$@"; }
box_says() {  # expected text, [button]: a box with that text appears within 5 s
  local got
  got=$(box 5 "${2:-1}")
  [ "$got" = "$1" ] || { echo "  box said: \"$got\"" >&2; return 1; }
}
