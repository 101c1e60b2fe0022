#!/usr/bin/env bash
# The word rules of untranslated.pl, case by case: what a Chinese window may show in Latin letters
# (reviewed names, the run's data, numbers, addresses, units) and what it may not.
# Usage: untranslated_test.sh   (ctest runs it natively)
set -uo pipefail
here=$(dirname "$0")
data=$(mktemp)
trap 'rm -f "$data"' EXIT
printf '%s\n' "Arventa-AP" "Arventa Corp Root CA" >"$data"
printf 'Caf\xe9 Lounge\n' >>"$data"  # a profile name of raw bytes, as the registry lists it
passed=0
failed=0
verdict() {  # expected (shown|flagged), text
  local got=shown
  printf 'text\tdialog\t1\tstatic\t%s\n' "$2" | perl "$here/untranslated.pl" "$here/latin-allowed.txt" "$data" >/dev/null ||
    got=flagged
  if [ "$got" = "$1" ]; then
    passed=$((passed + 1))
  else
    echo "[FAIL] \"$2\": $got, expected $1"
    failed=$((failed + 1))
  fi
}
# Reviewed names and values.
verdict shown "802.11 B/G 混合"
verdict shown "僅 802.11 B"
verdict shown "WPA2-PSK"
verdict shown "TKIP;AES"
verdict shown "EAP-MSCHAP v2"
verdict shown "對等式 (Ad hoc)"
verdict shown "Copyright (C) Arventa. 版權所有。"
verdict shown "前往 https://www.arventa.com/tw/"
# Numbers, addresses and units.
verdict shown "00:0C:E7:10:20:30"
verdict shown "00-1A-2B-3C-4D-01"
verdict shown "6 <--> 2437000 KHz"
verdict shown "-48 dBm"
verdict shown "54 Mbps"
verdict shown "3.0.0.0.04\\n"
verdict shown "0x1A5C"
# The run's data, whole names split into their words.
verdict shown "Arventa-AP"
verdict shown "發行者：Arventa Corp Root CA"
# Network names the code page could not show, with their bytes escaped.
verdict shown "Caf\\xE9 Lounge"
verdict shown "已連線 <--> \\xFF\\xFF\\xFF"
verdict shown "Ctl\\x01\\x09\\x1FNet"
# English words of the interface.
verdict flagged "None"
verdict flagged "Infrastructure"
verdict flagged "Ad hoc"
verdict flagged "連線 Connected"
verdict flagged "Device Description : 裝置"
verdict flagged "v2"
verdict flagged "Copyright"
verdict flagged "ABC"  # letters that only look hexadecimal
verdict flagged "\\xFF Connected"  # an escape makes only its own word data
echo "untranslated words: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
