#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time from its seed corpus.
# Usage: scripts/fuzz.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake --preset fuzz >/dev/null
targets=()
for dir in fuzz/*/; do [ -f "$dir/CMakeLists.txt" ] && targets+=(--target "$(basename "$dir")"); done
[ ${#targets[@]} -gt 0 ] || exit 0
cmake --build --preset fuzz -j"$(nproc)" "${targets[@]}"
status=0
for dir in fuzz/*/; do
  name=$(basename "$dir")
  bin=build/fuzz/fuzz/$name/$name
  [ -x "$bin" ] || continue
  work=$(mktemp -d)
  cp -r "$dir"corpus/. "$work"/ 2>/dev/null || true
  echo "== fuzz $name for ${seconds}s"
  if ! "$bin" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 "$work" >"$work.log" 2>&1; then
    status=1
    tail -n 60 "$work.log"
    echo "[FAIL] fuzz $name"
  else
    tail -n 6 "$work.log"
    echo "[PASS] fuzz $name"
  fi
  rm -f "$work.log"
  rm -rf "$work"
done
exit $status
