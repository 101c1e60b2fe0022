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
"$out/vx_bench" --benchmark_out="$out/figures.csv" --benchmark_out_format=csv "$@"

cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
echo
echo "== figures ($(nproc) cores${cpu:+, $cpu}; $(uname -sr))"
# With repetitions the medians stand for each benchmark; otherwise the single run does.
awk -F, '
  NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
  {
    name = $1; gsub(/"/, "", name)
    base = name; sub(/_median$/, "", base)
    if (name != base) median[base] = 1
    else if (base ~ /_(mean|stddev|cv)$/ || median[base]) next
    t[base] = $col["real_time"]; unit[base] = $col["time_unit"]
    bps[base] = $col["bytes_per_second"]; entries[base] = $col["\"entries\""]
  }
  END {
    ours = t["BM_PassphraseToPsk"]; ref = t["BM_OpenSslPbkdf2HmacSha1"]
    if (ours != "" && ref != "")
      printf "passphrase to key (PBKDF2-HMAC-SHA1, 4096 iterations, 32 bytes): %.0f %s; OpenSSL %.0f %s; ours takes %.2f times as long\n",
             ours, unit["BM_PassphraseToPsk"], ref, unit["BM_OpenSslPbkdf2HmacSha1"], ours / ref
    d = t["BM_DecodeFullScanList"]
    if (d != "")
      printf "full BSSID list (65,536 bytes, %d entries): %.1f %s a decode, %.0f MB/s\n",
             entries["BM_DecodeFullScanList"], d, unit["BM_DecodeFullScanList"], bps["BM_DecodeFullScanList"] / 1e6
  }' "$out/figures.csv"
