#!/usr/bin/env bash
# What the simulated adapters' driver package leaves in the Wine prefix: the adapter keys' live
# values, and the driver file (a stand-in holding only its version resource) under the names
# the utilities look for: kc30.sys (PCI, and the access point utility), kd40.sys (the USB
# stick) and kc30usb.sys (the access point utility's USB name).
# With wlansim's PORT, also the simulated platform the programs reach without any simulation
# switch: the world's adapters as device entries, the miniport stand-in as a running kernel
# driver service and the supplicant library (tests: vxsim-platform), and the world's certificates in
# the current user's stores (scripts/sim-certs.sh). The driver lives as long as
# the prefix's wineserver, so the server is started afresh as a persistent one: whatever ran in
# the prefix ends, and the caller's `wineserver -k` ends the driver.
# Usage: scripts/sim-install.sh WIN_BUILD_DIR [PORT], with scripts/wine-env.sh sourced.
set -eu
build=${1:?usage: sim-install.sh WIN_BUILD_DIR [PORT]}
port=${2:-}
# A test lane keeps a persistent server for its prefix already (tests/e2e/lane.sh).
if [ -n "$port" ] && [ "$WINEPREFIX" != "${VX_LANE_PREFIX:-}" ]; then
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p
fi
"$VX_WINE" regedit /S src/sim/install/virtual_adapters.reg
drivers="$WINEPREFIX/drive_c/windows/system32/drivers"
mkdir -p "$drivers"
for name in kc30.sys kd40.sys kc30usb.sys; do
  cp "$build/src/sim/install/vxsimdrv.sys" "$drivers/$name"
done
if [ -n "$port" ]; then
  "$VX_WINE" "$build/src/sim/install/vxsim-platform.exe" install "$port"
  bash "$(dirname "$0")/sim-certs.sh" "$build"
fi
