#!/usr/bin/env bash
# Builds and tests, all of it or the parts named:
#   native     the native build with sanitizers and its tests
#   windows    the shipped Windows i686 build, its import audit, the Windows-side tests under Wine
#   e2e        every end-to-end suite; e2e:NAME one of them (names: bash scripts/test.sh list)
#   fuzz       the fuzz targets, bounded (FUZZ_SECONDS per target, default 20)
# Without names, everything (CI runs that). Each part builds only what it needs. The builds and
# the tests that need no display come first; then the end-to-end suites, the Windows-side tests
# and the fuzzing run side by side in VX_LANES lanes (default 4; tests/e2e/lane.sh), longest
# first. At the end: a table of the parts with their checks passed and failed and their seconds,
# the log of each failing part, and "N passed, N failed" as the last line; the exit status is
# not zero when anything failed. Logs: build/lanes/.
set -uo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
export VX_RUN=$$  # carried by everything the run starts, so that all of it can be ended
trap 'trap "" INT TERM; bash tests/e2e/lane.sh --sweep "VX_RUN=$VX_RUN"; rm -rf build/lanes/*/prefix; exit 130' INT TERM
VX_WINE_VARS_ONLY=1 source scripts/wine-env.sh
native=build/native-asan
win=build/$VX_WIN_PRESET
e2e="bash tests/e2e/run_e2e"

# The end-to-end suites, longest first: name, bound in seconds, command. Under Wine's Windows
# 2000 and XP personalities only where 32-bit Wine runs.
suites=()
for s in "interleave 1500 ${e2e}_interleave.sh $native $win" \
  "survey 900 ${e2e}_survey.sh $native $win" \
  "pages 900 ${e2e}_pages.sh $native $win" \
  "installer 900 ${e2e}_installer.sh $native build/win32-release" \
  "profiles 900 ${e2e}_profiles.sh $native $win" \
  "ap-xp 600 ${e2e}_ap.sh $native $win winxp" \
  "ap 600 ${e2e}_ap.sh $native $win" \
  "bad-input 600 ${e2e}_bad_input.sh $native $win" \
  "client-xp 600 ${e2e}.sh $native $win winxp" \
  "client-2000 600 ${e2e}.sh $native $win win2k" \
  "client 600 ${e2e}.sh $native $win" \
  "ssids 600 ${e2e}_ssids.sh $native $win" \
  "novnc 600 ${e2e}_novnc.sh $native $win"; do
  [[ $s == *" win2k" || $s == *" winxp" ]] && [ "$VX_WIN_PRESET" != win32-release ] && continue
  suites+=("$s")
done
if [ "${1:-}" = list ]; then
  printf 'native\nwindows\ne2e\nfuzz\n'
  printf 'e2e:%s\n' "${suites[@]%% *}"
  exit 0
fi

# What was asked for: all parts, or those named.
want_native=0 want_windows=0 want_fuzz=0 picked=()
for arg in "${@:-native windows e2e fuzz}"; do
  for name in $arg; do
    case $name in
      native) want_native=1 ;;
      windows) want_windows=1 ;;
      fuzz) want_fuzz=1 ;;
      e2e) picked+=("${suites[@]}") ;;
      e2e:*)
        found=
        for s in "${suites[@]}"; do [ "${s%% *}" = "${name#e2e:}" ] && found=$s; done
        [ -n "$found" ] || { echo "no end-to-end suite \"${name#e2e:}\" (bash scripts/test.sh list)"; exit 2; }
        picked+=("$found")
        ;;
      *) echo "no part \"$name\": native, windows, e2e, e2e:NAME, fuzz (bash scripts/test.sh list)"; exit 2 ;;
    esac
  done
done

mkdir -p build/lanes
rm -f build/lanes/*.result build/lanes/*.log
parts=()
# Checks of a part from its log: ctest's summary, else the [PASS]/[FAIL] lines; a part that
# failed without saying which check counts as one failed check, one that passed silently as one.
counts() {  # name -> "passed failed"
  local log=build/lanes/$1.log status total=0 bad=0 p f
  read -r status _ <"build/lanes/$1.result"
  if read -r total bad < <(sed -n 's/.*tests passed, \([0-9]*\) tests\? failed out of \([0-9]*\).*/\2 \1/p' "$log" | tail -1); then
    p=$((total - bad)) f=$bad
  else
    p=$(grep -c '^\[PASS\]' "$log") f=$(grep -c '^\[FAIL\]' "$log")
  fi
  [ "$status" != 0 ] && [ "$f" = 0 ] && f=1
  [ "$status" = 0 ] && [ "$p" = 0 ] && [ "$f" = 0 ] && p=1
  echo "$p $f"
}
step() {  # name command...: a part that runs here, one after another
  local name=$1 begun=$SECONDS status
  shift
  parts+=("$name")
  "$@" >"build/lanes/$name.log" 2>&1
  status=$?
  echo "$status $((SECONDS - begun))" >"build/lanes/$name.result"
  echo "== $name: status $status after $((SECONDS - begun)) s"
  return "$status"
}
build() {  # preset [targets]
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$(nproc)" ${2:+--target $2}
}

step setup bash scripts/setup.sh
if [ "$want_native" = 1 ]; then
  step native:build build native-asan && step native:tests ctest --preset native-asan -j"$(nproc)"
elif [ ${#picked[@]} -gt 0 ]; then
  step native:build build native-asan "wlansim wlanctl"
fi
if [ "$want_windows" = 1 ] || [ ${#picked[@]} -gt 0 ]; then
  step windows:build build win32-release
  if [ "$VX_WIN_PRESET" != win32-release ]; then  # this kernel cannot run 32-bit code: wine64
    step windows:build64 build "$VX_WIN_PRESET"
  fi
  if [ "$want_windows" = 1 ]; then
    step windows:imports bash tools/imports/audit_imports.sh build/win32-release/src/win32/apps/ClientCfg.exe \
      build/win32-release/src/win32/apps/HotspotCfg.exe
    step windows:shipped bash tools/shipped/check_shipped.sh build/win32-release/src/win32/apps/ClientCfg.exe \
      build/win32-release/src/win32/apps/HotspotCfg.exe
  fi
  # One Wine prefix made ready once (booted, fonts set: scripts/wine-env.sh); each lane copies it.
  template=$PWD/build/wineprefix-template-$VX_WIN_PRESET
  parts+=(windows:prefix)
  WINEPREFIX=$template VX_LANE_NO_SERVER=windows:prefix bash tests/e2e/lane.sh windows:prefix 600 \
    bash -c 'source scripts/wine-env.sh' >/dev/null
fi

# The lanes: the longest parts first, each lane taking the next part as it finishes one.
queue=() others=()
for s in "${picked[@]}"; do queue+=("e2e:$s"); done
[ "$want_fuzz" = 1 ] && others+=("fuzz 900 bash scripts/fuzz.sh ${FUZZ_SECONDS:-20}")
[ "$want_windows" = 1 ] && others+=("windows:tests 900 ctest --preset $VX_WIN_PRESET")
queue=("${queue[@]:0:3}" "${others[@]}" "${queue[@]:3}")  # they take about as long as the third suite
for q in "${queue[@]}"; do parts+=("${q%% *}"); done
if [ ${#queue[@]} -gt 0 ]; then
  printf '%s\n' "${queue[@]}" | VX_TEMPLATE=${template:-} VX_LANE_NO_SERVER="e2e:novnc fuzz" \
    xargs -L 1 -P "${VX_LANES:-4}" bash tests/e2e/lane.sh
fi
# The screenshots as one contact sheet per language: build/screenshots/gallery-en.png, -zh.png.
[ ${#picked[@]} -gt 0 ] && step e2e:gallery bash tests/e2e/gallery.sh build/screenshots

# The summary.
echo
printf '%-20s %8s %8s %8s\n' part passed failed seconds
total_passed=0 total_failed=0 failing=()
for name in "${parts[@]}"; do
  if [ ! -f "build/lanes/$name.result" ]; then  # never ran
    echo "[FAIL] $name did not run" >>"build/lanes/$name.log"
    echo "1 0" >"build/lanes/$name.result"
  fi
  c=$(counts "$name")
  printf '%-20s %8d %8d %8d\n' "$name" ${c% *} ${c#* } "$(cut -d' ' -f2 "build/lanes/$name.result")"
  total_passed=$((total_passed + ${c% *}))
  total_failed=$((total_failed + ${c#* }))
  [ "${c#* }" = 0 ] || failing+=("$name")
done
printf '%-20s %8s %8s %8d\n' "all (wall clock)" "" "" $((SECONDS - started))
for name in "${failing[@]}"; do
  echo
  echo "==== the log of $name (build/lanes/$name.log)"
  cat "build/lanes/$name.log"
done
bash tests/e2e/lane.sh --sweep "VX_RUN=$VX_RUN"
echo
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" = 0 ]
