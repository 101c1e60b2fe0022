#!/usr/bin/env bash
# The main job: builds the station utility for Windows and runs it under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine-env.sh
cmake --preset "$VX_WIN_PRESET" >/dev/null
cmake --build --preset "$VX_WIN_PRESET" -j"$(nproc)" --target ClientCfg
exe=build/$VX_WIN_PRESET/src/win32/apps/ClientCfg.exe
echo "== running $exe under Wine (DISPLAY=$DISPLAY)"
"$VX_WINE" "$exe" "$@"
