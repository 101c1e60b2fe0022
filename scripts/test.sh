#!/usr/bin/env bash
# Builds everything (native with sanitizers, the shipped Windows i686 build, fuzz targets) and
# runs every test: native tests, the Windows-side tests under Wine, bounded fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

echo "== native build and tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j"$jobs"
ctest --preset native-asan -j"$jobs"

echo "== Windows i686 build (shipped)"
cmake --preset win32-release >/dev/null
cmake --build --preset win32-release -j"$jobs"

source scripts/wine-env.sh
if [ "$VX_WIN_PRESET" != win32-release ]; then
  echo "== this kernel cannot run 32-bit code: Windows-side tests use the x86_64 build under wine64"
  cmake --preset "$VX_WIN_PRESET" >/dev/null
  cmake --build --preset "$VX_WIN_PRESET" -j"$jobs"
fi
echo "== Windows-side tests under Wine ($VX_WIN_PRESET)"
ctest --preset "$VX_WIN_PRESET"

echo "== end-to-end: ClientCfg under Wine against the simulator (screenshots in build/screenshots)"
bash tests/e2e/run_e2e.sh build/native-asan "build/$VX_WIN_PRESET"
echo "== end-to-end: ClientCfg's profiles created, edited, activated and deleted, in both languages"
bash tests/e2e/run_e2e_profiles.sh build/native-asan "build/$VX_WIN_PRESET"
echo "== end-to-end: ClientCfg's Site Survey: Connect, hidden networks, Add to Profile, QuickSecure 3"
bash tests/e2e/run_e2e_survey.sh build/native-asan "build/$VX_WIN_PRESET"
echo "== end-to-end: ClientCfg's dialogs meet unplug, Exit and the hand-over, under Wine's heap checking"
bash tests/e2e/run_e2e_interleave.sh build/native-asan "build/$VX_WIN_PRESET"
echo "== end-to-end: HotspotCfg under Wine against the simulator, and the hand-over both ways"
bash tests/e2e/run_e2e_ap.sh build/native-asan "build/$VX_WIN_PRESET"

echo "== fuzz targets, bounded"
bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
