#!/usr/bin/env bash
# The main job as a newcomer without a display meets it: scripts/run.sh on a virtual display of
# its own, served to a browser with noVNC. Checks that the printed address answers with noVNC's
# page and that its WebSocket reaches the display's VNC server, that nothing the job started
# listens beyond 127.0.0.1, that build/screenshots/run-latest.png is renewed, and that every
# process the job started has ended once ClientCfg is ended from its tray menu.
# Usage: tests/e2e/run_e2e_novnc.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR   (after scripts/wine-env.sh)
set -uo pipefail
suite=novnc
source "$(dirname "$0")/lib.sh"

# A display number and ports that nothing uses.
for n in $(shuf -i 150-299); do
  [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ] && break
done
display=:$n
log=$work/run.log
latest=build/screenshots/run-latest.png
rm -f "$latest"
wineserver -k 2>/dev/null
# The job in a session of its own, so that whatever it starts can be found afterwards.
env -u DISPLAY setsid env DISPLAY="$display" VX_SIM_PORT=$((20000 + RANDOM % 1000)) \
  VX_QS_PORT=$((21000 + RANDOM % 1000)) VX_VNC_PORT=$((16000 + RANDOM % 1000)) \
  VX_WEB_PORT=$((17000 + RANDOM % 1000)) VX_SCREENSHOT_SECONDS=1 bash scripts/run.sh >"$log" 2>&1 &
job=$!
in_session() { pgrep -s "$job"; }
end_session() { in_session | xargs -r kill 2>/dev/null; }
tidy=end_session
leads_session() { [ "$(ps -o sid= -p "$job" | tr -d ' ')" = "$job" ]; }
check "the job leads a session of its own" within 10 leads_session

check "run.sh prints the address to open" within 300 grep -q 'http://127.0.0.1:[0-9]*/vnc.html' "$log"
url=$(grep -o 'http://127.0.0.1:[0-9]*/vnc.html[^ ]*' "$log" | head -1)
web_port=$(sed 's#http://127.0.0.1:\([0-9]*\)/.*#\1#' <<<"$url")
vnc_port=$(sed -n 's/.*VNC server on 127.0.0.1:\([0-9]*\).*/\1/p' "$log" | head -1)
echo "  ($url, VNC on port $vnc_port, display $display)"
export DISPLAY=$display
check "the address answers with noVNC's page" bash -c "curl -s --max-time 10 '$url' | grep -q '<title>noVNC</title>'"
# What the page's script does next: a WebSocket to websockify, which must carry the VNC
# server's greeting.
vnc_greeting() {
  local got
  exec 3<>"/dev/tcp/127.0.0.1/$web_port" || return 1
  printf 'GET /websockify HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\nSec-WebSocket-Protocol: binary\r\n\r\n' "$web_port" >&3
  got=$(timeout 3 cat <&3 | tr -d '\0')
  exec 3>&-
  [[ $got == *"101 Switching Protocols"* && $got == *"RFB 003."* ]] || { echo "  got: $got" >&2; return 1; }
}
check "its WebSocket reaches the VNC server of the display" vnc_greeting
# The built-in world has two adapters: ClientCfg asks which one, as it would a user.
select_card=$(text_of en 2030)
check "the job's ClientCfg asks which adapter to use" drv wait "$select_card" 90
drv click "$select_card" 1 >/dev/null
port=$(sed -n 's/.*simulator on 127.0.0.1:\([0-9]*\).*/\1/p' "$log" | head -1)
check "the job's ClientCfg reaches the tray" within 30 tray_has "ARVENTA"
# Every listening TCP socket of the job's processes is on 127.0.0.1.
loopback_only() {
  local pids listening
  pids=$(in_session | paste -sd'|')
  listening=$(ss -ltnpH | grep -E "pid=($pids)," | awk '{print $4}')
  [ -n "$listening" ] || return 1
  echo "  listening: $(echo $listening)"
  ! grep -qv '^127\.0\.0\.1:' <<<"$listening"
}
check "whatever the job serves listens on 127.0.0.1 only" loopback_only
check "run-latest.png shows the display" within 20 bash -c "[ \"\$(identify -format %wx%h '$latest' 2>/dev/null)\" = 1024x768 ]"
first=$(stat -c %i "$latest" 2>/dev/null)
check "run-latest.png is renewed" within 20 bash -c "[ \"\$(stat -c %i '$latest')\" != '$first' ]"

drv post ClientCfg 0x111 32776 0
check "Exit in the tray menu ends the job" within 60 bash -c "! kill -0 $job 2>/dev/null"
kill -0 "$job" 2>/dev/null || wait "$job"
check "every process the job started has ended" within 20 bash -c "! pgrep -s $job >/dev/null"
check "the virtual display is gone" test ! -e "/tmp/.X11-unix/X${display#:}"
check "noVNC's port is closed" bash -c "! (exec 3<>/dev/tcp/127.0.0.1/$web_port) 2>/dev/null"

echo "novnc: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
