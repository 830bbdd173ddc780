#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages only.
# Idempotent: packages already present are not asked for again.
set -euo pipefail

need=(wine wine32:i386 wine64 g++-mingw-w64-i686 g++-mingw-w64-i686-posix g++ cmake make libgtest-dev xvfb imagemagick python3 x11-utils fonts-comic-neue fonts-wine chromium fonts-dejavu-core)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
