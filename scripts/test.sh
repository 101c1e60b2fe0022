#!/usr/bin/env bash
# Builds everything (native with sanitizers, the shipped Windows i686 build with its setup
# program, fuzz targets) and runs every test: native tests, the Windows-side tests under Wine,
# the end-to-end suites, bounded fuzzing.
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
echo "== import audit: every function the shipped programs import is in Windows 2000 SP4"
bash tools/imports/audit_imports.sh build/win32-release/src/win32/apps/ClientCfg.exe \
  build/win32-release/src/win32/apps/HotspotCfg.exe

source scripts/wine-env.sh
if [ "$VX_WIN_PRESET" != win32-release ]; then
  echo "== this kernel cannot run 32-bit code: Windows-side tests use the x86_64 build under wine64"
  cmake --preset "$VX_WIN_PRESET" >/dev/null
  cmake --build --preset "$VX_WIN_PRESET" -j"$jobs"
fi
echo "== Windows-side tests under Wine ($VX_WIN_PRESET)"
ctest --preset "$VX_WIN_PRESET"

# Every end-to-end suite runs even when one fails, so the contact sheets show every window.
e2e=0
echo "== end-to-end: ClientCfg under Wine against the simulator (screenshots in build/screenshots)"
bash tests/e2e/run_e2e.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
echo "== end-to-end: ClientCfg's profiles created, edited, activated and deleted, in both languages"
bash tests/e2e/run_e2e_profiles.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
echo "== end-to-end: ClientCfg's Site Survey: Connect, hidden networks, Add to Profile, QuickSecure 3"
bash tests/e2e/run_e2e_survey.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
echo "== end-to-end: network names of raw bytes joined, stored and joined again, in both languages"
bash tests/e2e/run_e2e_ssids.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
echo "== end-to-end: ClientCfg's dialogs meet unplug, Exit and the hand-over, under Wine's heap checking"
flock /tmp/vx-survey.lock bash tests/e2e/run_e2e_interleave.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
echo "== end-to-end: HotspotCfg under Wine against the simulator, and the hand-over both ways"
bash tests/e2e/run_e2e_ap.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
echo "== end-to-end: what the pages of both programs show, against the simulator, in both languages"
bash tests/e2e/run_e2e_pages.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
echo "== end-to-end: 64 networks, 32-byte SSIDs, a 256-character LEAP password, Chinese profile names"
bash tests/e2e/run_e2e_bad_input.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
if [ "$VX_WIN_PRESET" = win32-release ]; then
  echo "== end-to-end under Wine's Windows XP personality: ClientCfg, then HotspotCfg and the hand-over"
  bash tests/e2e/run_e2e.sh build/native-asan build/win32-release winxp || e2e=1
  bash tests/e2e/run_e2e_ap.sh build/native-asan build/win32-release winxp || e2e=1
  echo "== end-to-end under Wine's Windows 2000 personality: ClientCfg"
  bash tests/e2e/run_e2e.sh build/native-asan build/win32-release win2k || e2e=1
else
  echo "== [SKIP] end-to-end under Wine's Windows 2000 and XP personalities: they need 32-bit Wine," \
    "which this kernel cannot run"
fi
echo "== end-to-end: the setup program in a fresh Wine prefix: install, upgrade, refusals, uninstall"
bash tests/e2e/run_e2e_installer.sh build/native-asan build/win32-release || e2e=1
echo "== end-to-end: the main job (scripts/run.sh) on a virtual display served by noVNC"
flock /tmp/vx-survey.lock bash tests/e2e/run_e2e_novnc.sh build/native-asan "build/$VX_WIN_PRESET" || e2e=1
echo "== the screenshots as one contact sheet per language: build/screenshots/gallery-en.png, gallery-zh.png"
bash tests/e2e/gallery.sh build/screenshots

echo "== fuzz targets, bounded"
bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
[ "$e2e" = 0 ] || { echo "== end-to-end tests failed (see above)"; exit 1; }
