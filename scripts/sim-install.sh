#!/usr/bin/env bash
# What the simulated adapters' driver package leaves in the Wine prefix: the adapter keys' live
# values, and the driver file (a stand-in holding only its version resource) under the names
# the utilities look for: kc30.sys (PCI, and the access point utility), kd40.sys (the USB
# stick) and kc30usb.sys (the access point utility's USB name).
# Usage: scripts/sim-install.sh WIN_BUILD_DIR, with scripts/wine-env.sh sourced.
set -eu
build=${1:?usage: sim-install.sh WIN_BUILD_DIR}
"$VX_WINE" regedit /S src/sim/install/virtual_adapters.reg
drivers="$WINEPREFIX/drive_c/windows/system32/drivers"
mkdir -p "$drivers"
for name in kc30.sys kd40.sys kc30usb.sys; do
  cp "$build/src/sim/install/vxsimdrv.sys" "$drivers/$name"
done
