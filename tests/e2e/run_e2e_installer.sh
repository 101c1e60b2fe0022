#!/usr/bin/env bash
# The setup program under Wine, in a fresh 32-bit prefix of its own so that it proves a clean
# install: silent install and what it leaves (files, shortcuts, the uninstall entry), the
# installed ClientCfg in the tray, refusals while it runs, without administrator rights and into
# a folder that cannot be written, an upgrade in place, the pages in both languages
# (screenshots in build/screenshots/installer-*), and an uninstall that keeps the adapter's
# profiles. The setup is a 32-bit program: where this kernel cannot run 32-bit code, only the
# checks of the file itself run and the rest is reported as skipped.
# Usage: tests/e2e/run_e2e_installer.sh NATIVE_BUILD_DIR I686_BUILD_DIR   (after scripts/wine-env.sh)
set -uo pipefail
suite=installer
source "$(dirname "$0")/lib.sh"
skipped=0
finish() {
  if [ "$skipped" -gt 0 ]; then
    echo "installer: $passed passed, $failed failed, $skipped skipped"
  else
    echo "installer: $passed passed, $failed failed"
  fi
  [ "$failed" -eq 0 ]
  exit
}

# --- the file itself --------------------------------------------------------------------------
clientcfg_built=$win/src/win32/apps/ClientCfg.exe
hotspotcfg_built=$win/src/win32/apps/HotspotCfg.exe
file_version=$(strings -el "$clientcfg_built" 2>/dev/null | sed -n '/^FileVersion$/{n;p;q}')
version=${file_version%.0}
setup=$win/ArventaWLAN-Setup-$version.exe
check "the setup program is named by ClientCfg's version resource ($file_version)" test -f "$setup"
[ -f "$setup" ] || finish
# Windows 2000 is NT 5.0: the headers must not ask for more.
header_at_most_5() {
  i686-w64-mingw32-objdump -p "$1" |
    awk '$1 == "MajorOSystemVersion" || $1 == "MajorSubsystemVersion" {if ($2 > 5) bad = 1} END {exit bad}'
}
check "the setup program's header admits Windows 2000" header_at_most_5 "$setup"

if [ "$VX_WIN_PRESET" != win32-release ]; then
  echo "== this kernel cannot run 32-bit code, and the setup program is a 32-bit program:"
  echo "   its install, upgrade, refusal and uninstall tests cannot run here and are skipped"
  skipped=$((skipped + 1))
  finish
fi

# --- a fresh 32-bit Windows of its own ---------------------------------------------------------
export WINEARCH=win32
export WINEPREFIX=$PWD/$work/prefix
# No desktop menu entries in the host's home for the Start-menu shortcuts made here.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
c=$WINEPREFIX/drive_c
locked=$c/Locked
instdir="$c/Program Files/Arventa/Wireless LAN Utility"
unlock() {
  [ -d "$locked" ] && chattr -i "$locked" 2>/dev/null
  [ -f "$instdir/ClientCfg.exe" ] && chattr -i "$instdir/ClientCfg.exe" 2>/dev/null
  return 0
}
wineserver -k 2>/dev/null
unlock
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$VX_WINE" wineboot -i >/dev/null 2>&1
wineserver -w
start_sim --one-adapter --no-autosecurity || exit 1
tidy=unlock
"$VX_WINE" regedit /S src/sim/install/virtual_adapters.reg

instdir_win='C:\Program Files\Arventa\Wireless LAN Utility'
menu="$c/ProgramData/Microsoft/Windows/Start Menu/Programs"
folder="$menu/Arventa Wireless LAN"
startup_link="$menu/StartUp/Arventa Wireless LAN Utility.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ArventaWLAN'
client_en=$(text_of en 102)
hotspot_en=$(text_of en 3001)
client_zh=$(text_of zh 102)
hotspot_zh=$(text_of zh 3001)
title_en="Arventa Wireless LAN Utility Setup"
title_zh="Arventa Wireless LAN Utility 安裝"
untitle_en="Arventa Wireless LAN Utility Uninstall"
untitle_zh="Arventa Wireless LAN Utility 解除安裝"

# Runs a Windows program and prints its exit code; a hung run is ended.
code_of() { timeout 180 "$VX_WINE" "$@" >/dev/null 2>&1; echo $?; }
standard_user() { code_of "$win/tests/e2e/as_standard_user.exe" "$1"; }  # one command line
# The uninstaller run in place (not from its copy in TEMP), so that its exit code is seen. NSIS
# reads "_?=" up to the end of the line, unquoted: the path goes as words that Wine joins with
# single blanks, which is how it is written.
read -ra in_place_dir <<<"_?=$instdir_win"
in_place=("$instdir_win\\Uninstall.exe" /S "${in_place_dir[@]}")
in_place_line="\"$instdir_win\\Uninstall.exe\" /S _?=$instdir_win"
reg_value() {  # key name
  "$VX_WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v n="$2" '$1 == n {$1 = $2 = ""; sub(/^ +/, ""); print}'
}
has_key() { "$VX_WINE" reg query "$1" >/dev/null 2>&1; }
no_key() { ! has_key "$1"; }
# Every file and folder the setup may touch, with size, change time and inode, and its key.
snapshot() {
  find "$c/Program Files" "$menu" "$c/Locked" -printf '%p %s %C@ %i\n' 2>/dev/null | sort
  "$VX_WINE" reg query "$key" 2>/dev/null | tr -d '\r'
}
unchanged() { [ "$(snapshot)" = "$1" ]; }
links_to() { [ -f "$1" ] && grep -aqF "$instdir_win\\$2" "$1"; }
# The programs, the uninstaller and nothing else (no stand-ins from the driver package).
installed_files() { [ "$(ls "$instdir" 2>/dev/null | tr '\n' ' ')" = "ClientCfg.exe HotspotCfg.exe Uninstall.exe " ]; }
nothing_installed() {
  [ ! -e "$c/Program Files/Arventa" ] && [ ! -e "$folder" ] && [ ! -e "$startup_link" ] && no_key "$key"
}
menu_links() { ls "$folder" 2>/dev/null | sort | tr '\n' '|'; }
box_up() { drv box-up "$1" >/dev/null; }  # seconds: a message box is up (and left up)
settled_page() { local t; t=$(page_title "$1") && within 10 settled "$t"; }  # title: before a picture
clock_past() { [ "$(date +%s)" -gt "$1" ]; }
# A setup window's title gains a blank on the pages after the first.
page_title() {
  local t
  for t in "$1" "$1 "; do
    drv wait "$t" 0 >/dev/null && { echo "$t"; return 0; }
  done
  return 1
}
wait_page() {  # title, text of the Next button (&Next >, &Install, &Finish ...), seconds
  local seconds=$3 t
  for _ in $(seq $((seconds * 2))); do
    t=$(page_title "$1") && [ "$(drv text "$t" 1)" = "$2" ] && return 0
    sleep 0.5
  done
  echo "  no page with \"$2\" in \"$1\"" >&2
  return 1
}
next_page() { drv post "$(page_title "$1")" 0x111 1 0; }
quiet_uninstall() {  # the way Add or Remove Programs runs it; the uninstaller runs on from a copy
  local command
  command=$(reg_value "$key" QuietUninstallString)
  [ -n "$command" ] || return 1
  eval "timeout 120 \"\$VX_WINE\" $command" >/dev/null 2>&1
  timeout 120 wineserver -w
}
start_installed_client() {  # on the simulated platform, as a user's logon starts it
  install_sim_platform || return 1
  "$VX_WINE" "$instdir_win\\ClientCfg.exe" >/dev/null 2>&1 &
  client=$!
  within 30 tray_has "ARVENTA"
}
ends_with() {  # pid code: a program started in the background ends within 60 s with this code
  local code
  if ! within 60 bash -c "! kill -0 $1 2>/dev/null"; then
    echo "  still running" >&2
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 1
  fi
  wait "$1"
  code=$?
  [ "$code" = "$2" ] || { echo "  exit code $code" >&2; return 1; }
}
stop_client() {
  drv post ClientCfg 0x111 32776 0
  within 15 bash -c "! kill -0 $client 2>/dev/null" || { echo "  ClientCfg did not end" >&2; kill "$client"; }
  wait "$client" 2>/dev/null
}

# --- refusals on a clean machine ---------------------------------------------------------------
before=$(snapshot)
check "without administrator rights the setup ends with code 5" test "$(standard_user "$setup /S")" = 5
check "... and changes nothing" unchanged "$before"
mkdir -p "$locked"
if chattr +i "$locked" 2>/dev/null; then
  echo "  (C:\\Locked is immutable: no folder can be made in it)"
else
  rmdir "$locked"
  : >"$locked"
  echo "  (C:\\Locked is a file: no folder can be made under it)"
fi
before=$(snapshot)
check "into a folder that cannot be written the setup ends with code 4" \
  test "$(code_of "$setup" /S '/D=C:\Locked\Arventa')" = 4
check "... and leaves nothing" bash -c "[ \"\$1\" = \"\$2\" ]" _ "$before" "$(snapshot)"
check "... no shortcut, no entry" nothing_installed

# --- a silent install --------------------------------------------------------------------------
check "a silent install succeeds" test "$(code_of "$setup" /S)" = 0
check "the programs and the uninstaller are in Program Files\\Arventa" installed_files
check "the installed programs are the built ones" \
  bash -c "cmp -s '$clientcfg_built' '$instdir/ClientCfg.exe' && cmp -s '$hotspotcfg_built' '$instdir/HotspotCfg.exe'"
check "Start menu: ClientCfg's shortcut" links_to "$folder/$client_en.lnk" ClientCfg.exe
check "Start menu: HotspotCfg's shortcut" links_to "$folder/$hotspot_en.lnk" HotspotCfg.exe
check "Start menu: the uninstaller's shortcut" links_to "$folder/Uninstall Arventa Wireless LAN Utility.lnk" Uninstall.exe
check "Startup: the maker's entry starts ClientCfg at logon" links_to "$startup_link" ClientCfg.exe
check "uninstall entry: DisplayName" test "$(reg_value "$key" DisplayName)" = "Arventa Wireless LAN Utility"
check "uninstall entry: DisplayVersion is the programs' version" test "$(reg_value "$key" DisplayVersion)" = "$version"
check "uninstall entry: Publisher" test "$(reg_value "$key" Publisher)" = Arventa
check "uninstall entry: DisplayIcon" test "$(reg_value "$key" DisplayIcon)" = "$instdir_win\\ClientCfg.exe,0"
check "uninstall entry: UninstallString" test "$(reg_value "$key" UninstallString)" = "\"$instdir_win\\Uninstall.exe\""
check "uninstall entry: QuietUninstallString" \
  test "$(reg_value "$key" QuietUninstallString)" = "\"$instdir_win\\Uninstall.exe\" /S"
size_matches() {  # EstimatedSize is in KiB
  local kib bytes
  kib=$(($(reg_value "$key" EstimatedSize)))
  bytes=$(cat "$instdir"/* | wc -c)
  [ $((bytes / 1024 - kib)) -ge -2 ] && [ $((bytes / 1024 - kib)) -le 2 ]
}
check "uninstall entry: EstimatedSize is the installed size" size_matches

# --- the installed ClientCfg, and what a running utility refuses -------------------------------
check "the installed ClientCfg.exe reaches the tray" start_installed_client
# Its start-up clears the chip maker's shortcuts only.
check "the maker's start-up entry is still there once it runs" links_to "$startup_link" ClientCfg.exe
before=$(snapshot)
check "a second silent install while it runs ends with code 3" test "$(code_of "$setup" /S)" = 3
check "... without changing a file, shortcut or entry" unchanged "$before"
"$VX_WINE" "$setup" >/dev/null 2>&1 &
shown_setup=$!
running_box() {  # button: 2 Cancel, 4 Retry
  local got
  got=$(box 20 "$1")
  [[ $got == "$client_en or $hotspot_en is running."* ]] || { echo "  box said: \"$got\"" >&2; return 1; }
}
box_up 20
shot installer-running-en
check "run by hand, the setup asks to exit the utility" running_box 2
check "... and Cancel ends it with code 3" ends_with "$shown_setup" 3
check "... without changing anything" unchanged "$before"
check "the uninstaller refuses too while it runs (code 3)" \
  test "$(code_of "${in_place[@]}")" = 3
check "... and removes nothing" unchanged "$before"
check "the utility is still in the tray" tray_has "ARVENTA"

# --- by hand: Retry once the utility is ended, the pages in English ----------------------------
"$VX_WINE" "$setup" >/dev/null 2>&1 &
shown_setup=$!
box_up 20
stop_client
check "the same question again, and Retry once the utility has ended goes on" running_box 4
check "English: the welcome page" wait_page "$title_en" "&Next >" 20
settled_page "$title_en"
shot installer-welcome-en
next_page "$title_en"
check "English: the folder page" wait_page "$title_en" "&Install" 10
offered_folder() { local t; t=$(drv text "$(page_title "$title_en")" 1019); echo "${t%\\}"; }
check "English: the folder page offers the installed folder" test "$(offered_folder)" = "$instdir_win"
settled_page "$title_en"
shot installer-directory-en
drv set-text "$(page_title "$title_en")" 1019 'C:\Locked\Arventa' >/dev/null
next_page "$title_en"
not_writable_box() {
  local got
  got=$(box 15)
  [[ $got == "Setup cannot write to the folder"*'C:\Locked\Arventa'* ]] || { echo "  box said: \"$got\"" >&2; return 1; }
}
box_up 15
shot installer-not-writable-en
check "English: a folder that cannot be written is refused with a message" not_writable_box
check "... and the folder page stays" wait_page "$title_en" "&Install" 5
drv set-text "$(page_title "$title_en")" 1019 "$instdir_win" >/dev/null
next_page "$title_en"
check "English: the finish page after installing" wait_page "$title_en" "&Finish" 90
settled_page "$title_en"
shot installer-finish-en
next_page "$title_en"
check "English: Finish ends the setup with code 0" ends_with "$shown_setup" 0

# --- the uninstaller without administrator rights; what the adapter keeps ---------------------
before=$(snapshot)
check "without administrator rights the uninstaller ends with code 5" \
  test "$(standard_user "$in_place_line")" = 5
check "... and removes nothing" unchanged "$before"

# A profile of the adapter, and the station defaults ClientCfg saved when it ended.
"$VX_WINE" reg add "$root\\Profile\\Station\\Before Uninstall" /v SSID /d HomeNet /f >/dev/null 2>&1
check "ClientCfg saved its station defaults" has_key "$root\\Default"

# --- an upgrade in place -----------------------------------------------------------------------
old_change=$(stat -c %Z "$instdir/ClientCfg.exe")
within 5 clock_past "$old_change"  # a later change time, to the second
check "a second silent install upgrades in place" test "$(code_of "$setup" /S)" = 0
check "... rewriting the programs" test "$(stat -c %Z "$instdir/ClientCfg.exe")" != "$old_change"
check "... into the folder of the first install" test "$(reg_value "$key" InstallLocation)" = "$instdir_win"
check "... with one set of shortcuts" \
  test "$(menu_links)" = "$client_en.lnk|$hotspot_en.lnk|Uninstall Arventa Wireless LAN Utility.lnk|"

# --- the pages, in Traditional Chinese ---------------------------------------------------------
LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8 "$VX_WINE" "$setup" >/dev/null 2>&1 &
shown_setup=$!
check "Chinese: the welcome page" wait_page "$title_zh" "下一步(&N) >" 20
settled_page "$title_zh"
shot installer-welcome-zh
next_page "$title_zh"
check "Chinese: the folder page" wait_page "$title_zh" "安裝(&I)" 10
settled_page "$title_zh"
shot installer-directory-zh
next_page "$title_zh"
check "Chinese: the finish page after installing" wait_page "$title_zh" "完成(&F)" 90
settled_page "$title_zh"
shot installer-finish-zh
next_page "$title_zh"
check "Chinese: Finish ends the setup with code 0" ends_with "$shown_setup" 0
check "Chinese: the shortcuts carry the Chinese titles, the English ones are gone" \
  test "$(menu_links)" = "$(printf '%s\n' "$client_zh.lnk" "$hotspot_zh.lnk" "解除安裝 Arventa Wireless LAN Utility.lnk" | sort | tr '\n' '|')"

# --- a program file that cannot be removed keeps the entry for another try ---------------------
if chattr +i "$instdir/ClientCfg.exe" 2>/dev/null; then
  check "uninstall with a program file that cannot be removed ends with code 6" test "$(code_of "${in_place[@]}")" = 6
  chattr -i "$instdir/ClientCfg.exe"
  kept_for_retry() { [ -n "$(menu_links)" ] && [ -f "$startup_link" ] && has_key "$key"; }
  check "... and keeps the shortcuts, start-up entry and uninstall entry" kept_for_retry
  check "installing again repairs it" test "$(code_of "$setup" /S)" = 0
  check "... with every program back" installed_files
else
  echo "[SKIP] no immutable files here (chattr +i refused): the uninstaller's code 6 is not tested"
  skipped=$((skipped + 1))
fi

# --- a silent uninstall keeps the adapter's settings -------------------------------------------
# The simulated platform's persistent server goes first: the uninstaller is waited for by the
# server's end.
wineserver -k 2>/dev/null
check "the silent uninstall from the entry's QuietUninstallString runs" quiet_uninstall
check "no file, folder, shortcut, start-up entry or uninstall entry is left" nothing_installed
check "the profile made before the uninstall is still in the registry" \
  test "$(reg_value "$root\\Profile\\Station\\Before Uninstall" SSID)" = HomeNet
check "the adapter's station defaults are still there" has_key "$root\\Default"
check "the adapter's live settings are still there" test -n "$(reg_value "$root" NetworkType)"

# --- an uninstall when the program files are already gone --------------------------------------
uninstall_gone() {  # language: en or zh
  local title=$untitle_en expected="The program files were already gone from" env=()
  local uninstall="&Uninstall" close="&Close"
  if [ "$1" = zh ]; then
    title=$untitle_zh
    expected="程式檔案已不在"
    env=(LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8)
    uninstall="解除安裝(&U)"
    close="關閉(&C)"
  fi
  [ "$(code_of "$setup" /S)" = 0 ] || return 1
  rm -f "$instdir/ClientCfg.exe" "$instdir/HotspotCfg.exe"
  env "${env[@]}" "$VX_WINE" "$instdir_win\\Uninstall.exe" >/dev/null 2>&1 &
  wait_page "$title" "$uninstall" 20 || return 1
  settled_page "$title"
  shot "installer-uninstall-$1"
  next_page "$title"
  box_up 20
  shot "installer-already-gone-$1"
  local got
  got=$(box 30)
  [[ $got == "$expected"* ]] || { echo "  box said: \"$got\"" >&2; return 1; }
  wait_page "$title" "$close" 20 || return 1
  next_page "$title"
  timeout 60 wineserver -w
}
check "English: uninstalling when the program files are gone says so" uninstall_gone en
check "... and removes the rest" nothing_installed
check "Chinese: uninstalling when the program files are gone says so" uninstall_gone zh
check "... and removes the rest" nothing_installed

# --- Windows 2000 ------------------------------------------------------------------------------
"$VX_WINE" reg add 'HKCU\Software\Wine' /v Version /d win2k /f >/dev/null 2>&1
check "Windows 2000: a silent install succeeds" test "$(code_of "$setup" /S)" = 0
check "Windows 2000: the programs are installed" installed_files
check "Windows 2000: the start-up entry is made" links_to "$startup_link" ClientCfg.exe
check "Windows 2000: the uninstall entry is written" test "$(reg_value "$key" DisplayVersion)" = "$version"
check "Windows 2000: the silent uninstall removes them" quiet_uninstall
check "... all of them" nothing_installed

finish
