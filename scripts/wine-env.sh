# Sourced by the scripts that run Windows programs: a private Wine prefix, a virtual display, and
# the Windows build that can run here. Some sandboxed kernels cannot execute 32-bit code at all;
# there the x86_64 build of the same sources runs under wine64 instead of the i686 one.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# VX_WIN64_ONLY=1 runs as such a kernel would, where 32-bit code runs too.
if [ "${VX_WIN64_ONLY:-0}" != 1 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  export VX_WIN_PRESET=win32-release
  export VX_WINE=wine
else
  export VX_WIN_PRESET=win64-test
  export VX_WINE=/usr/lib/wine/wine64
  export WINELOADER=/usr/lib/wine/wine64
fi
export WINEPREFIX=${WINEPREFIX:-$(pwd)/build/wineprefix-${VX_WIN_PRESET}}
# With VX_WINE_VARS_ONLY=1 the variables alone: the test command's lanes bring their own display.
[ "${VX_WINE_VARS_ONLY:-0}" = 1 ] && return 0
export DISPLAY=${DISPLAY:-:99}
if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  for _ in $(seq 50); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
    sleep 0.1
  done
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$VX_WINE" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
# Legible screenshots: smoothed fonts in the test prefix (as on a desktop with ClearType), and
# for the Traditional Chinese faces WenQuanYi Micro Hei, which asks to be smoothed at every size.
# (Zen Hei, the other Chinese font here, asks in its gasp table for unsmoothed outlines at
# dialog and menu sizes, which drops strokes whatever the smoothing setting.) The English dialog
# face ("MS Shell Dlg", that is Tahoma, not installed here) is named as the DejaVu Sans it falls
# back to (Tahoma's linked fonts include PMingLiU, which would otherwise stand in for it), and
# DejaVu Sans is linked to Micro Hei, so Chinese names show in the English windows too.
if ! grep -q '"PMingLiU"="WenQuanYi Micro Hei"' "$WINEPREFIX/user.reg" 2>/dev/null ||
  ! grep -q '"FontSmoothingType"=dword:00000002' "$WINEPREFIX/user.reg" 2>/dev/null ||
  ! grep -q '"DejaVu Sans"=str(7):"wqy-microhei.ttc' "$WINEPREFIX/system.reg" 2>/dev/null; then
  printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Control Panel\Desktop]' '"FontSmoothing"="2"' \
    '"FontSmoothingType"=dword:00000002' '"FontSmoothingGamma"=dword:00000578' \
    '"FontSmoothingOrientation"=dword:00000001' '' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"PMingLiU"="WenQuanYi Micro Hei"' '"Tahoma"="DejaVu Sans"' >"$WINEPREFIX/fonts.reg"
  "$VX_WINE" regedit /S "$WINEPREFIX/fonts.reg" >/dev/null 2>&1 || true
  "$VX_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v 'DejaVu Sans' \
    /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
  wineserver -w || true
fi
