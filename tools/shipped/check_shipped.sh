#!/usr/bin/env bash
# Fails when a program users install carries simulator code or debug sections: its link map
# (PROGRAM.exe.map, written by the build) must pull nothing from the simulator's libraries, its
# bytes must hold none of the simulator's names, and it must be stripped.
# Usage: tools/shipped/check_shipped.sh PROGRAM.exe...
set -uo pipefail
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
[ $# -gt 0 ] || { echo "usage: $0 PROGRAM.exe..." >&2; exit 2; }
problems=0
fail() { echo "FAIL $1"; problems=$((problems + 1)); }
for program in "$@"; do
  name=$(basename "$program")
  if [ ! -f "$program.map" ]; then
    fail "$name: no link map beside it ($program.map)"
  elif grep -E '(^|[/\\])(src[/\\]sim[/\\]|libvx_sim_)' "$program.map" | head -3 | grep -q .; then
    fail "$name links simulator code: $(grep -E '(^|[/\\])(src[/\\]sim[/\\]|libvx_sim_)' "$program.map" | head -1)"
  fi
  # The simulator's namespace as the compiler spells it, its switch and its program's name.
  for text in N2vx3sim VX_SIM wlansim; do
    if grep -a -q -- "$text" "$program"; then fail "$name contains \"$text\""; fi
  done
  if "$objdump" -h "$program" | grep -q ' \.debug_'; then fail "$name is not stripped (it has .debug_ sections)"; fi
  echo "$name: $(stat -c %s "$program") bytes"
done
[ "$problems" -eq 0 ] && echo "shipped programs: no simulator code, stripped"
exit $((problems > 0))
