#!/usr/bin/env bash
# Fails on any quoted #include under src/ that runs up or across the layers of src/layers.txt,
# naming the file, the line and the rule it breaks.
set -euo pipefail
src=$(cd "$(dirname "$0")/../../src" && pwd)
cd "$src"
find . -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' -o -name '*.rch' -o -name '*.in' \) |
  sort | sed 's#^\./##' |
  xargs awk '
    FNR == NR {
      if ($0 ~ /^[ \t]*(#|$)/) next
      ++level
      for (i = 1; i <= NF; i++) { rank[$i] = level; line[level] = line[level] " " $i }
      next
    }
    FNR == 1 {
      split(FILENAME, part, "/")
      own = part[1]
      dir = FILENAME; sub(/\/[^\/]*$/, "", dir)
      if (!(own in rank)) { printf "src/%s: folder \"%s\" is not in src/layers.txt\n", FILENAME, own; bad++; nextfile }
    }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
      inc = $0; sub(/^[^"]*"/, "", inc); sub(/".*$/, "", inc)
      target = inc
      if (inc ~ /^\.\.?\//) {           # relative to the including file
        path = dir "/" inc
        n = split(path, seg, "/"); m = 0
        for (i = 1; i <= n; i++) {
          if (seg[i] == "." || seg[i] == "") continue
          if (seg[i] == "..") { if (m > 0) m--; continue }
          out[++m] = seg[i]
        }
        target = (m > 0) ? out[1] : ""
      } else if (index(inc, "/") == 0) {
        target = own                    # a header beside the file
      } else {
        split(inc, seg, "/"); target = seg[1]
        if (!(target in rank)) target = own   # a path below the file s own folder
      }
      if (target == own) next
      if (!(target in rank)) next
      if (rank[target] < rank[own]) next
      why = (rank[target] == rank[own]) ? "the two sit side by side" : target " sits above " own
      printf "src/%s:%d: %s includes \"%s\", but %s (src/layers.txt)\n", FILENAME, FNR, own, inc, why
      bad++
    }
    END {
      if (bad) { printf "%d include(s) break the layers\n", bad; exit 1 }
      print "layers: every include runs down"
    }
  ' "$src/layers.txt"
