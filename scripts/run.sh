#!/usr/bin/env bash
# The main job: the station utility under Wine against the built-in simulated adapter. Starts the
# simulator host (wlansim), gives the simulated adapters their installed registry keys, and runs
# ClientCfg in simulation mode until it is ended from its tray menu ("Exit"). Arguments go to
# ClientCfg ("showup" opens the sheet at once). After a hand-over to access point mode it goes on
# while HotspotCfg runs, until the last Windows program of its Wine prefix has ended.
#
# With a display of its own (DISPLAY set and answering) the windows show there. Without one it
# uses a virtual display: Xvfb on the number DISPLAY names, or on :99 (used as it is when one runs
# there already). That display is served to a browser on this machine with noVNC: x11vnc shares
# it, websockify serves noVNC's page and carries the browser's connection to x11vnc, both on
# 127.0.0.1 only. It prints the address to open and keeps build/screenshots/run-latest.png fresh.
# Ports: VX_VNC_PORT (default 5901), VX_WEB_PORT (default 6080), the simulator's VX_SIM_PORT
# (default 4510) and its one-button service's VX_QS_PORT (default 1500), or the next free ones.
# (ClientCfg looks for that service on 1500 unless a security.ini beside it says otherwise.)
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
cmake --build --preset "$VX_WIN_PRESET" -j"$jobs" --target ClientCfg HotspotCfg ModeSwitch

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
build/native-asan/src/sim/host/wlansim --port "$port" --autosecurity-port "$(free_port_from "${VX_QS_PORT:-1500}")" &
started+=($!)
bash scripts/sim-install.sh "build/$VX_WIN_PRESET"
exe=build/$VX_WIN_PRESET/src/win32/apps/ClientCfg.exe
echo "== ClientCfg under Wine on DISPLAY=$DISPLAY, simulator on 127.0.0.1:$port"
echo "   (control it with: build/native-asan/tests/e2e/wlanctl --port $port '{\"cmd\":\"state\"}')"
VX_SIM=127.0.0.1:$port "$VX_WINE" "$exe" "$@" || true
# After a hand-over HotspotCfg runs on (and may hand back): the job lasts while any of them does.
wineserver -w
