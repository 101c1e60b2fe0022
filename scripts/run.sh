#!/usr/bin/env bash
# The main job: the station utility under Wine against the built-in simulated adapter. Starts the
# simulator host (wlansim), gives the simulated adapters their installed registry keys, and runs
# ClientCfg in simulation mode until it is ended from its tray menu ("Exit"). Arguments go to
# ClientCfg ("showup" opens the sheet at once).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j"$jobs" --target wlansim wlanctl
source scripts/wine-env.sh
cmake --preset "$VX_WIN_PRESET" >/dev/null
cmake --build --preset "$VX_WIN_PRESET" -j"$jobs" --target ClientCfg HotspotCfg ModeSwitch
port=${VX_SIM_PORT:-4510}
build/native-asan/src/sim/host/wlansim --port "$port" &
sim=$!
trap 'kill $sim 2>/dev/null' EXIT
"$VX_WINE" regedit /S src/sim/install/virtual_adapters.reg
exe=build/$VX_WIN_PRESET/src/win32/apps/ClientCfg.exe
echo "== ClientCfg under Wine on DISPLAY=$DISPLAY, simulator on 127.0.0.1:$port"
echo "   (control it with: build/native-asan/tests/e2e/wlanctl --port $port '{\"cmd\":\"state\"}')"
VX_SIM=127.0.0.1:$port "$VX_WINE" "$exe" "$@"
