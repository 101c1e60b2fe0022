#!/usr/bin/env bash
# The main job: the station utility under Wine against the built-in simulated adapter. Starts the
# simulator host (wlansim), installs the utilities with their setup program into Program Files
# (where the setup cannot run, a 64-bit-only kernel, the programs are copied there as it would),
# puts the simulated platform into the Wine prefix (device entries, the miniport stand-in and the
# stand-in libraries: scripts/sim-install.sh), and runs the installed ClientCfg, as a user's logon
# starts it, until it is ended from its tray menu ("Exit"). Arguments go to ClientCfg ("showup"
# opens the sheet at once). After a hand-over to access point mode it goes on while HotspotCfg
# runs, until neither utility runs any more.
#
# With a display of its own (DISPLAY set and answering) the windows show there. Without one it
# uses a virtual display: Xvfb on the number DISPLAY names, or on :99 (used as it is when one runs
# there already). That display is served to a browser on this machine with noVNC: x11vnc shares
# it, websockify serves noVNC's page and carries the browser's connection to x11vnc, both on
# 127.0.0.1 only. It prints the address to open and keeps build/screenshots/run-latest.png fresh.
# Ports: VX_VNC_PORT (default 5901), VX_WEB_PORT (default 6080), the simulator's VX_SIM_PORT
# (default 4510) and its one-button service's VX_QS_PORT (default 1500), or the next free ones.
# (A security.ini beside the installed ClientCfg names the one-button service's port.)
# Everything it started ends with the job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j"$jobs" --target wlansim wlanctl

# Whether there is a display of the user's own is decided before wine-env.sh would start one.
if [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  virtual=0
else
  virtual=1
  export DISPLAY=${DISPLAY:-:99}
fi

started=()
finish() {  # last started, first ended: the display goes after what uses it
  local i
  [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true  # the simulated platform's server
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    kill "${started[i]}" 2>/dev/null || true
    wait "${started[i]}" 2>/dev/null || true
  done
}
trap finish EXIT
trap 'exit 130' INT TERM

if [ "$virtual" = 1 ] && ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  started+=($!)
  for _ in $(seq 100); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
    sleep 0.1
  done
fi
source scripts/wine-env.sh
cmake --preset "$VX_WIN_PRESET" >/dev/null
cmake --build --preset "$VX_WIN_PRESET" -j"$jobs" --target ClientCfg HotspotCfg ModeSwitch vxsim-platform \
  vxsim-certs vx_sim_driver_file
win=build/$VX_WIN_PRESET
setup=
if [ "$VX_WIN_PRESET" = win32-release ] && command -v makensis >/dev/null; then
  cmake --build --preset win32-release -j"$jobs" --target installer
  setup=$(ls "$win"/ArventaWLAN-Setup-*.exe | tail -1)
fi

port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
free_port_from() {
  local p=$1
  until port_free "$p"; do p=$((p + 1)); done
  echo "$p"
}

if [ "$virtual" = 1 ]; then
  vnc_port=$(free_port_from "${VX_VNC_PORT:-5901}")
  x11vnc -display "$DISPLAY" -localhost -rfbport "$vnc_port" -noipv6 -nopw -forever -shared -quiet \
    >build/x11vnc.log 2>&1 &
  started+=($!)
  for _ in $(seq 100); do
    port_free "$vnc_port" || break
    sleep 0.1
  done
  web_port=$(free_port_from "${VX_WEB_PORT:-6080}")
  websockify --web /usr/share/novnc "127.0.0.1:$web_port" "127.0.0.1:$vnc_port" >build/websockify.log 2>&1 &
  started+=($!)
  for _ in $(seq 100); do
    port_free "$web_port" || break
    sleep 0.1
  done
  # A fresh picture of the display for those who look at files rather than browsers; written
  # beside and renamed, so a reader never sees half a file.
  shots=build/screenshots
  mkdir -p "$shots"
  refresh_screenshot() {
    local nap=
    trap '[ -z "$nap" ] || kill "$nap" 2>/dev/null; exit 0' TERM
    while :; do
      import -display "$DISPLAY" -window root "$shots/run-latest.tmp.png" 2>/dev/null &&
        mv -f "$shots/run-latest.tmp.png" "$shots/run-latest.png"
      sleep "${VX_SCREENSHOT_SECONDS:-3}" &
      nap=$!
      wait "$nap"
    done
  }
  refresh_screenshot &
  started+=($!)
  echo "== the virtual display $DISPLAY in a browser on this machine:"
  echo "   http://127.0.0.1:$web_port/vnc.html?autoconnect=true&resize=scale"
  echo "   (noVNC's page on 127.0.0.1:$web_port passes on to the VNC server on 127.0.0.1:$vnc_port)"
  echo "   (build/screenshots/run-latest.png shows it too, renewed every ${VX_SCREENSHOT_SECONDS:-3} s)"
fi

port=$(free_port_from "${VX_SIM_PORT:-4510}")
qsport=$(free_port_from "${VX_QS_PORT:-1500}")
build/native-asan/src/sim/host/wlansim --port "$port" --autosecurity-port "$qsport" &
started+=($!)
for _ in $(seq 100); do
  port_free "$port" || break
  sleep 0.1
done
# The simulated platform, on a wineserver of the job's own that keeps the driver up.
env -u VX_LANE_PREFIX bash scripts/sim-install.sh "$win" "$port"
if [ -n "$setup" ]; then
  "$VX_WINE" "$setup" /S  # a 32-bit setup's Program Files is "Program Files (x86)" in a 64-bit prefix
  exe=$(find "$WINEPREFIX/drive_c" -path '*/Arventa/Wireless LAN Utility/ClientCfg.exe' | head -1)
else
  exe="$WINEPREFIX/drive_c/Program Files/Arventa/Wireless LAN Utility/ClientCfg.exe"
  mkdir -p "$(dirname "$exe")"
  cp "$win/src/win32/apps/ClientCfg.exe" "$win/src/win32/apps/HotspotCfg.exe" "$(dirname "$exe")/"
fi
instdir=$(dirname "$exe")
instdir_win=$(winepath -w "$instdir")
# What the driver package puts beside the utilities: the mode-switch program.
cp "$win/src/win32/apps/ModeSwitch.exe" "$instdir/"
printf '[Option]\r\nSERVER_PORT=%s\r\n' "$qsport" >"$instdir/security.ini"
echo "== ClientCfg under Wine on DISPLAY=$DISPLAY, installed in $instdir_win, simulator on 127.0.0.1:$port"
echo "   (control it with: build/native-asan/tests/e2e/wlanctl --port $port '{\"cmd\":\"state\"}')"
"$VX_WINE" "$instdir_win\\ClientCfg.exe" "$@" || true
# After a hand-over HotspotCfg runs on (and may hand back): the job lasts while either does.
while pgrep -s 0 -f '(ClientCfg|HotspotCfg|ModeSwitch)\.exe' >/dev/null; do sleep 1; done
