#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages only.
# Idempotent: packages already present are not asked for again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

need=(wine wine32:i386 wine64 g++-mingw-w64-i686 g++-mingw-w64-i686-posix g++ cmake make libgtest-dev xvfb imagemagick python3 x11-utils fonts-comic-neue fonts-wine chromium fonts-dejavu-core)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine's 32-bit loader must start; on a kernel without 32-bit support it is emulated.
$SUDO bash "$root/scripts/i386-emulation.sh"
