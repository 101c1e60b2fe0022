#!/usr/bin/env bash
# Runs one part of the tests in a lane of its own, so that parts can run side by side: a virtual
# display on a number Xvfb finds free, a copy of the prepared Wine prefix ($VX_TEMPLATE; without
# it, $WINEPREFIX as it is) with a wineserver of its own kept up for the whole part, and a bound
# on the time. (An end-to-end suite's simulator takes free ports itself, tests/e2e/lib.sh.)
# A part whose display or wineserver dies, or that outlasts its bound, fails with a message that
# says so. Whatever the lane started ends with it, Ctrl-C included; the prefix copy is removed.
# Usage: tests/e2e/lane.sh NAME SECONDS COMMAND...
#   output in build/lanes/NAME.log, result in build/lanes/NAME.result: "STATUS SECONDS"
#   VX_LANE_NO_SERVER: names of parts that get no wineserver kept (they wait for theirs to end)
# tests/e2e/lane.sh --sweep VAR=VALUE ends every process whose environment holds VAR=VALUE.
set -uo pipefail
cd "$(dirname "$0")/../.."

pids_of() {  # VAR=VALUE: the processes whose environment holds it, this shell aside (builtins only)
  local f pid vars
  for f in /proc/[0-9]*/environ; do
    pid=${f#/proc/}
    pid=${pid%/environ}
    [ "$pid" = $$ ] && continue
    mapfile -d "" vars 2>/dev/null <"$f" || continue
    [[ " ${vars[*]} " == *" $1 "* ]] && echo "$pid"
  done
}
sweep() {  # VAR=VALUE: TERM, and KILL for what is left a second later
  local signal pid left
  for signal in TERM KILL; do
    left=0
    for pid in $(pids_of "$1"); do kill -"$signal" "$pid" 2>/dev/null && left=1; done
    [ "$left" = 0 ] && return 0
    [ "$signal" = TERM ] && sleep 1
  done
}
if [ "${1:-}" = --sweep ]; then
  sweep "$2"
  exit 0
fi

name=$1
bound=$2
shift 2
dir=build/lanes/$name
log=build/lanes/$name.log
rm -rf "$dir" "$log" "build/lanes/$name.result"
mkdir -p "$dir"
begun=$SECONDS
export VX_LANE="$name-$$"  # carried by every process the lane starts: the sweep finds them all
fail() { echo "[FAIL] lane $name: $*" >>"$log"; }

xvfb= server= part=
finish() {
  trap '' INT TERM
  [ -n "$part" ] && kill -TERM "$part" 2>/dev/null  # timeout passes it on to the part's processes
  [ -n "$server" ] && wineserver -k 2>/dev/null
  sweep "VX_LANE=$VX_LANE"
  [ -n "${VX_TEMPLATE:-}" ] && rm -rf "$dir"
}
trap 'finish; exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
# Bounded at 30 s: it takes a tenth of a second, but once took over 10 s on a loaded machine.
for _ in $(seq 300); do [ -s "$dir/display" ] && break; sleep 0.1; done
if [ ! -s "$dir/display" ]; then
  kill -0 "$xvfb" 2>/dev/null && state="still starting" || state="ended"
  fail "no virtual display within 30 s (Xvfb $state): $(cat "$dir/xvfb.log")"
  finish
  echo "1 $((SECONDS - begun))" >"build/lanes/$name.result"
  exit 1
fi
export DISPLAY=:$(head -1 "$dir/display")
if [ -n "${VX_TEMPLATE:-}" ]; then
  export WINEPREFIX=$PWD/$dir/prefix
  cp -a "$VX_TEMPLATE" "$WINEPREFIX"
fi
export VX_LANE_PREFIX=$WINEPREFIX
if [[ " ${VX_LANE_NO_SERVER:-} " != *" $name "* ]]; then
  # Ready before any program of the prefix runs: a program that finds no server starts one of
  # its own, and whichever loses the race for the prefix's lock ends.
  for _ in 1 2 3; do
    wineserver -f -p &
    server=$!
    for _ in $(seq 100); do
      [ -S "/proc/$server/cwd/socket" ] && break 2
      kill -0 "$server" 2>/dev/null || break
      sleep 0.1
    done
  done
  # Wine's own services start with the first program of the prefix and live as long as its
  # server: started here, they do not hold on to the output of a program the part captures.
  "${VX_WINE:-wine}" wineboot </dev/null >/dev/null 2>&1
fi

echo "== $name on DISPLAY=$DISPLAY, WINEPREFIX=$WINEPREFIX" >"$log"
timeout -k 15 "$bound" "$@" >>"$log" 2>&1 &
part=$!
started=$SECONDS noted=
while kill -0 "$part" 2>/dev/null; do
  if ! kill -0 "$xvfb" 2>/dev/null; then
    fail "the virtual display $DISPLAY ended while the part ran; the part is ended"
    kill -TERM "$part"
  elif [ -n "$server" ] && ! kill -0 "$server" 2>/dev/null; then
    fail "the wineserver of $WINEPREFIX ended while the part ran; the part is ended"
    kill -TERM "$part"
  fi
  # Just before the bound: what the part was waiting on, for its log.
  if [ -z "$noted" ] && [ $((SECONDS - started)) -ge $((bound - 3)) ]; then
    noted=1
    echo "== running 3 s before the bound:" >>"$log"
    for pid in $(pids_of "VX_LANE=$VX_LANE"); do
      ps -o pid=,etimes=,args= -p "$pid" 2>/dev/null | cut -c1-200 >>"$log"
    done
  fi
  sleep 1
done
wait "$part"
status=$?
part=
[ "$status" = 124 ] && fail "still running after its bound of $bound s; it was ended"
finish
echo "$status $((SECONDS - begun))" >"build/lanes/$name.result"
echo "== $name: status $status after $((SECONDS - begun)) s"
[ "$status" = 0 ]  # 0 or 1: xargs would stop the other lanes at a status of 255
