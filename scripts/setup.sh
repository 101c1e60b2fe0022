#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine. Safe to run again:
# it only installs what is missing.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  stale=1
fi

for p in cmake g++ clang libgtest-dev libgmock-dev googletest libbenchmark-dev libssl-dev \
         nlohmann-json3-dev g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
         wine wine64 wine32:i386 xvfb imagemagick fonts-wqy-zenhei fonts-wqy-microhei xauth x11-utils procps xdotool \
         nsis novnc websockify x11vnc curl iproute2 jq openssl; do
  have "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ] || [ -n "${stale:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  [ ${#need[@]} -gt 0 ] && apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
# The Traditional Chinese user interface is tested under Wine with the zh_TW locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_TW.utf8$'; then
  have locales || { apt-get update -qq; DEBIAN_FRONTEND=noninteractive apt-get install -y -qq locales; }
  grep -q '^zh_TW.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_TW.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
exit 0
