#!/usr/bin/env bash
# The benchmarks, built optimised (preset native-release): the passphrase-to-key mapping against
# OpenSSL's PBKDF2 in the same run, and the decoding of a full 65,536-byte BSSID list. Prints
# Google Benchmark's table, then the figures in a few lines with the machine they came from.
# Arguments go to the benchmark program, for example --benchmark_repetitions=5.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake --preset native-release >/dev/null
cmake --build --preset native-release -j"$jobs" --target vx_bench
out=build/native-release/bench
"$out/vx_bench" --benchmark_out="$out/figures.json" --benchmark_out_format=json "$@"

# One figure per benchmark: the median where repetitions ran, else the single run. CPU time,
# which a busy machine disturbs less than wall time.
figure() {  # benchmark field
  jq -r --arg n "$1" --arg f "$2" '
    [.benchmarks[] | select(.run_name == $n and .aggregate_name == "median")] +
    [.benchmarks[] | select(.run_name == $n and .run_type == "iteration")] | .[0][$f] // empty' \
    "$out/figures.json"
}
ours=$(figure BM_PassphraseToPsk cpu_time)
ref=$(figure BM_OpenSslPbkdf2HmacSha1 cpu_time)
decode=$(figure BM_DecodeFullScanList cpu_time)
entries=$(figure BM_DecodeFullScanList entries)
cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
echo
echo "== figures: $(nproc) cores${cpu:+ ($cpu)}, load average $(cut -d' ' -f1-3 /proc/loadavg), CPU time"
printf 'passphrase to key (PBKDF2-HMAC-SHA1, 4096 iterations, 32 bytes): %.0f us; OpenSSL %.0f us (ours / OpenSSL = %.2f)\n' \
  "$ours" "$ref" "$(awk -v a="$ours" -v b="$ref" 'BEGIN {print a / b}')"
printf 'full BSSID list (65,536 bytes, %d entries): %.1f us a decode, %.0f MB/s\n' \
  "$entries" "$decode" "$(awk -v t="$decode" 'BEGIN {print 65536 / t}')"
