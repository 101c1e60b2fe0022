#!/usr/bin/env bash
# Reads the import tables of Windows programs and fails on any imported function that Windows
# 2000 SP4 does not export, naming the program, the DLL, the function and why, and on a PE header
# that asks for a later system or subsystem than NT 5.0. The reference is
# tools/imports/win2000sp4.txt (what 2000 SP4 has) with newer-than-win2000.txt (what it lacks, for
# the reason given); every system function found is also looked up in the declarations the
# MinGW-w64 headers make for _WIN32_WINNT=0x0500.
# Usage: tools/imports/audit_imports.sh PROGRAM.exe...
# OBJDUMP names the objdump to use (default i686-w64-mingw32-objdump), HEADERS_CC the compiler
# whose headers are consulted (default i686-w64-mingw32-gcc; "none" leaves them out).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
cc=${HEADERS_CC:-i686-w64-mingw32-gcc}
[ $# -gt 0 ] || { echo "usage: $0 PROGRAM.exe..." >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The names of the functions the headers declare for one _WIN32_WINNT level, one per line.
declared_at() {
  local level=$1 out=$work/declared-$1
  if [ ! -f "$out" ]; then
    printf '#include <%s>\n' winsock2.h windows.h commctrl.h shellapi.h shlwapi.h setupapi.h wincrypt.h \
      winver.h winsvc.h >"$work/probe.c"
    "$cc" -D_WIN32_WINNT="$level" -DWINVER="$level" -fsyntax-only -aux-info "$work/aux-$level" \
      "$work/probe.c" 2>/dev/null || return 1
    awk '{ while (match($0, /[A-Za-z_][A-Za-z0-9_]* \(/)) {
             print substr($0, RSTART, RLENGTH - 2); $0 = substr($0, RSTART + RLENGTH) } }' \
      "$work/aux-$level" | sort -u >"$out"
  fi
  cat "$out"
}
headers=yes
if [ "$cc" = none ] || ! command -v "$cc" >/dev/null 2>&1 || ! declared_at 0x0500 >"$work/declared"; then
  headers=no
  : >"$work/declared"
  echo "import audit: no MinGW-w64 compiler ($cc): the header declarations are not consulted"
fi
# The first later level whose headers declare a function, with the Windows it stands for.
first_declared() {
  local level
  for level in 0x0501:XP 0x0502:"Server 2003" 0x0600:Vista 0x0601:7 0x0602:8 0x0603:8.1 0x0A00:10; do
    # grep reads to the end: with pipefail, an early stop would fail the writer.
    if declared_at "${level%%:*}" | grep -x -- "$1" >/dev/null; then
      echo "${level%%:*} (Windows ${level#*:})"
      return
    fi
  done
  echo none
}

problems=0
for program in "$@"; do
  name=$(basename "$program")
  if ! "$objdump" -p "$program" >"$work/dump" 2>"$work/err"; then
    echo "FAIL $name: cannot read its import table: $(head -1 "$work/err")"
    problems=$((problems + 1))
    continue
  fi
  # The loader compares the subsystem version with the system's own (Windows 2000: 5.0).
  for field in OSystem Subsystem; do
    label=subsystem
    [ "$field" = OSystem ] && label=operating-system
    version=$(awk -v f="$field" '$1 == "Major" f "Version" { major = $2 } $1 == "Minor" f "Version" { minor = $2 }
                                 END { if (major != "") print major "." minor }' "$work/dump")
    if [ -z "$version" ]; then
      echo "FAIL $name: no $label version in its PE header"
      problems=$((problems + 1))
    elif [ "${version%%.*}" -gt 5 ] || { [ "${version%%.*}" -eq 5 ] && [ "${version#*.}" -gt 0 ]; }; then
      echo "FAIL $name: its PE header asks for $label version $version; Windows 2000 is 5.0"
      problems=$((problems + 1))
    fi
  done
  # DLL and function of every import; an import by ordinal shows as "#<ordinal>".
  awk '/^\tDLL Name: / { dll = toupper($3); next }
       /^[^\t]/ { dll = "" }
       dll != "" && /^\t[0-9a-fA-F]+\t/ {
         fn = $NF
         if (fn == "<none>") fn = "#" $(NF - 1)
         print dll, fn
       }' "$work/dump" | sort -u >"$work/imports"
  count=$(wc -l <"$work/imports")
  dlls=$(cut -d' ' -f1 "$work/imports" | sort -u | wc -l)
  if [ "$count" -eq 0 ]; then  # every Windows program imports something: the table was not read
    echo "FAIL $name: no imports found in objdump's output"
    problems=$((problems + 1))
    continue
  fi
  # One pass picks the imports in trouble, with the kind of trouble and what the lists say.
  awk -v headers="$headers" '
    FILENAME == ARGV[1] { if ($1 !~ /^#/ && NF >= 3) known[$1 " " $2] = $3; next }
    FILENAME == ARGV[2] { if ($1 !~ /^#/ && NF >= 3) { k = $1 " " $2; $1 = $2 = ""; sub(/^ +/, ""); newer[k] = $0 }; next }
    FILENAME == ARGV[3] { declared[$1] = 1; next }
    {
      k = $1 " " $2; sys = $1 != "MSVCRT.DLL"; undeclared = headers == "yes" && sys && !($2 in declared)
      if ($2 ~ /^#/) print "ordinal", k
      else if (k in newer) print "newer", k, newer[k]
      else if (!(k in known)) print (undeclared ? "unknown-later" : (headers == "yes" && sys ? "unknown-declared" : "unknown")), k
      else if (undeclared) print "known-later", k
    }' "$here/win2000sp4.txt" "$here/newer-than-win2000.txt" "$work/declared" "$work/imports" >"$work/verdicts" ||
    { echo "FAIL $name: the audit could not sort its imports"; problems=$((problems + 1)); continue; }
  bad=0
  while read -r kind dll fn info; do
    case $kind in
      ordinal) why="imported by ordinal ${fn#\#}, which cannot be checked; import it by name" ;;
      newer) why="first in Windows $info, so Windows 2000 SP4's $dll lacks it; reach it with GetProcAddress and a fallback" ;;
      unknown*) why="not among the functions reviewed as present in Windows 2000 SP4 (tools/imports/win2000sp4.txt)" ;;
      known-later) why="listed as present in Windows 2000 SP4, but the MinGW-w64 headers declare it only from _WIN32_WINNT $(first_declared "$fn"): check the entry" ;;
    esac
    case $kind in
      unknown-later) why="$why; the MinGW-w64 headers declare it only from _WIN32_WINNT $(first_declared "$fn")" ;;
      unknown-declared) why="$why; the MinGW-w64 headers declare it for _WIN32_WINNT 0x0500, but they also declare much that is newer: check the release that introduced it before adding it" ;;
    esac
    echo "FAIL $name: $dll!$fn: $why"
    bad=$((bad + 1))
  done <"$work/verdicts"
  if [ "$bad" -eq 0 ]; then
    echo "import audit: $name imports $count functions from $dlls DLLs, all present in Windows 2000 SP4"
  else
    echo "import audit: $name imports $count functions from $dlls DLLs, $bad of them not available on Windows 2000 SP4"
  fi
  problems=$((problems + bad))
done
[ "$problems" -eq 0 ]
