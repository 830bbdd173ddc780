#!/usr/bin/env bash
# Builds the Windows program (and the test driver) with mingw-w64 into build/win32.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -f "$root/build/win32/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$root/build/win32" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
fi
cmake --build "$root/build/win32" -j"$(nproc)" >/dev/null
