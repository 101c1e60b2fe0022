# Sourced by the end-to-end suites that run under one of Wine's Windows personalities (after
# lib.sh): Wine reports the Windows version named by the value "Version" of HKCU\Software\Wine
# to every program started after it is set. A suite sets it in its own prefix and puts back what
# was there when it ends, so the other suites keep Wine's default.
personality=
personality_kind=
saved_version=
personality_begin() {  # win2k | winxp
  case $1 in
    win2k) personality_kind=7 ;;  # NT 5.0
    winxp) personality_kind=8 ;;  # NT 5.1
    *) echo "unknown Windows personality \"$1\" (win2k or winxp)" >&2; return 1 ;;
  esac
  personality=$1
  saved_version=$("$VX_WINE" reg query 'HKCU\Software\Wine' /v Version 2>/dev/null | tr -d '\r' |
    awk '$1 == "Version" {print $3}')
  "$VX_WINE" reg add 'HKCU\Software\Wine' /v Version /d "$personality" /f >/dev/null 2>&1
  echo "== under Wine's \"$personality\" personality: operating-system kind $personality_kind expected"
}
personality_end() {
  [ -n "$personality" ] || return 0
  if [ -n "$saved_version" ]; then
    "$VX_WINE" reg add 'HKCU\Software\Wine' /v Version /d "$saved_version" /f >/dev/null 2>&1
  else
    "$VX_WINE" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
  fi
  personality=
}
# The Windows version a program is told, read inside it by the probe: 5.0 under win2k, 5.1 under
# winxp, the versions its kind comes from.
sees_personality() {  # window title
  local want=5.1
  [ "$personality" = win2k ] && want=5.0
  [ "$(drv inspect "$1" | awk -F'\t' '$1 == "os" {print $2}')" = "$want" ]
}
