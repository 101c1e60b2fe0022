#!/usr/bin/env bash
# The import audit (tools/imports/audit_imports.sh) against import tables written out the way
# objdump prints them: what passes, what fails and what it says.
set -uo pipefail
audit=$(cd "$(dirname "$0")/../.." && pwd)/tools/imports/audit_imports.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() {  # name, then a command that must succeed
  local name=$1
  shift
  if "$@"; then echo "[PASS] $name"; passed=$((passed + 1)); else echo "[FAIL] $name"; failed=$((failed + 1)); fi
}
# objdump -p FILE stands in as "cat FILE".
printf '#!/bin/sh\ncat "$2"\n' >"$work/objdump"
chmod +x "$work/objdump"
table() {  # file, then "DLL function" lines (function "#N" for an import by ordinal)
  local file=$work/$1 dll= line
  shift
  {
    printf 'MajorOSystemVersion\t%s\nMinorOSystemVersion\t0\n' "${OS_MAJOR:-5}"
    printf 'MajorSubsystemVersion\t%s\nMinorSubsystemVersion\t%s\n' "${SUB_MAJOR:-5}" "${SUB_MINOR:-0}"
    printf 'The Import Tables (interpreted .idata section contents)\n'
    printf ' vma:            Hint    Time      Forward  DLL       First\n'
    printf ' 00044000\t0004403c 00000000 00000000 00044b14 000441ec\n\n'
    for line in "$@"; do
      if [ "${line%% *}" != "$dll" ]; then
        dll=${line%% *}
        printf '\tDLL Name: %s\n\tvma:  Hint/Ord Member-Name Bound-To\n' "$dll"
      fi
      case ${line#* } in
        '#'*) printf '\t443ba\t %4s  <none>\n' "${line#* #}" ;;
        *) printf '\t443ba\t  136  %s\n' "${line#* }" ;;
      esac
    done
    printf '\nPE File Base Relocations (interpreted .reloc section contents)\n'
    printf '\treloc   77 offset  2c0 [322c0] HIGHLOW\n'
  } >"$file"
  echo "$file"
}
run() { OBJDUMP=$work/objdump HEADERS_CC=${HEADERS_CC:-none} bash "$audit" "$@" >"$work/out" 2>&1; }
says() { grep -F -- "$1" "$work/out" >/dev/null || { cat "$work/out" >&2; return 1; }; }

good=$(table good.exe "KERNEL32.dll CloseHandle" "KERNEL32.dll GetUserDefaultUILanguage" "msvcrt.dll _fstat64" \
  "USER32.dll TrackMouseEvent" "COMCTL32.dll InitCommonControlsEx")
check "functions that Windows 2000 SP4 has pass" run "$good"
check "the count is reported" says "good.exe imports 5 functions from 4 DLLs, all present in Windows 2000 SP4"

runtime=$(table runtime.exe "KERNEL32.dll AddVectoredExceptionHandler" "KERNEL32.dll CloseHandle" \
  "KERNEL32.dll GetTickCount64")
check "the runtime's newer imports fail" bash -c "! OBJDUMP=$work/objdump HEADERS_CC=none bash '$audit' '$runtime' >'$work/out' 2>&1"
check "each one named with its DLL and the Windows that brought it" \
  says "FAIL runtime.exe: KERNEL32.DLL!GetTickCount64: first in Windows Vista"
check "vectored handling named as XP's" says "KERNEL32.DLL!AddVectoredExceptionHandler: first in Windows XP"
check "the tally counts the two" says "runtime.exe imports 3 functions from 1 DLLs, 2 of them not available"

unknown=$(table unknown.exe "KERNEL32.dll CloseHandle" "IPHLPAPI.dll GetAdaptersInfo" "KERNEL32.dll #17")
run "$unknown"
check "a function nobody reviewed fails" says "IPHLPAPI.DLL!GetAdaptersInfo: not among the functions reviewed"
check "an import by ordinal fails" says "KERNEL32.DLL!#17: imported by ordinal 17"
check "the lines after the import tables are not taken for imports" bash -c "! grep -q reloc '$work/out'"

vista=$(SUB_MAJOR=6 table vista.exe "KERNEL32.dll CloseHandle")
run "$vista"
check "a header asking for subsystem 6.0 fails" says "FAIL vista.exe: its PE header asks for subsystem version 6.0; Windows 2000 is 5.0"
xp=$(SUB_MINOR=1 table xp.exe "KERNEL32.dll CloseHandle")
run "$xp"
check "and one asking for 5.1" says "FAIL xp.exe: its PE header asks for subsystem version 5.1"
nt4=$(OS_MAJOR=4 SUB_MAJOR=4 table nt4.exe "KERNEL32.dll CloseHandle")
check "a header of 4.0 passes" run "$nt4"

empty=$(table empty.exe)
check "a table without imports fails, as a sign it was not read" bash -c "! OBJDUMP=$work/objdump HEADERS_CC=none bash '$audit' '$empty' >'$work/out'"
check "and says so" says "FAIL empty.exe: no imports found"

printf 'not a program\n' >"$work/broken.exe"
printf '#!/bin/sh\necho "file format not recognized" >&2\nexit 1\n' >"$work/objdump-fails"
chmod +x "$work/objdump-fails"
check "an unreadable program is named" bash -c "OBJDUMP=$work/objdump-fails HEADERS_CC=none bash '$audit' '$work/broken.exe' | grep -q 'FAIL broken.exe: cannot read its import table: file format not recognized'"
check "an unreadable program fails the audit" bash -c "! OBJDUMP=$work/objdump-fails HEADERS_CC=none bash '$audit' '$work/broken.exe' >/dev/null"

# With the MinGW-w64 headers at hand, an unreviewed function is placed by the first
# _WIN32_WINNT that declares it.
if command -v i686-w64-mingw32-gcc >/dev/null; then
  later=$(table later.exe "KERNEL32.dll GetFinalPathNameByHandleW" "KERNEL32.dll CloseHandle")
  HEADERS_CC=i686-w64-mingw32-gcc run "$later"
  check "the headers place an unreviewed function" \
    says "KERNEL32.DLL!GetFinalPathNameByHandleW: not among the functions reviewed as present in Windows 2000 SP4 (tools/imports/win2000sp4.txt); the MinGW-w64 headers declare it only from _WIN32_WINNT 0x0600 (Windows Vista)"
  check "and pass what they declare for Windows 2000" bash -c "! grep -q CloseHandle '$work/out'"
else
  echo "[SKIP] header declarations (no i686-w64-mingw32-gcc)"
fi

echo "import audit test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
