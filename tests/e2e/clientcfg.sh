# Shared by the end-to-end scripts of ClientCfg's pages (after lib.sh): the program started and
# ended the way a user does, and what the simulator and registry show.
clientcfg=$win/src/win32/apps/ClientCfg.exe

state_has() { state | grep -- "$1" >/dev/null; }
joined() { local s; s=$(state); [[ $s == *"\"associated\":true"* && $s == *"\"ssid\":\"$1\""* ]]; }
reg_value() {  # name [subkey]
  local key=$root${2:+\\$2}
  "$VX_WINE" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {$1 = $2 = ""; sub(/^ +/, ""); print}'
}
profile_exists() { "$VX_WINE" reg query "$root\\Profile\\Station\\$1" >/dev/null 2>&1; }
not_stored() { ! profile_exists "$1"; }

# The sheet opened from the tray: it opens on Site Survey, whose first scan fills the list and
# then enables Rescan.
open_sheet() {
  drv post ClientCfg 0x111 32774 0
  drv wait "$sheet" 10 && within 15 surveyed
}
surveyed() { enabled "$sheet" "$(idc SURVEY_RESCAN)"; }

start_client() {  # extra environment in "$@"
  env "$@" "$VX_WINE" "$clientcfg" >/dev/null 2>&1 &
  client=$!
  within 20 tray_has "ARVENTA"
}
stop_client() {  # Exit from the tray menu; a program that does not end is ended
  drv post ClientCfg 0x111 32776 0
  within 15 bash -c "! kill -0 $client 2>/dev/null" || { echo "  ClientCfg did not end" >&2; kill "$client"; }
  wait "$client" 2>/dev/null
}
