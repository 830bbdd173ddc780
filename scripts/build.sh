#!/usr/bin/env bash
# Builds the Windows program, its console companion olvex.exe and its test tools (driver, cache seeder) with mingw-w64 into
# build/win32, and the unit tests' Windows build into build/win32-tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
configure() {  # folder, thread model
  if [ ! -f "$root/$1/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$root/$1" -DCMAKE_BUILD_TYPE=Release -DOLVEX_MINGW_THREADS="$2" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
  fi
}
configure build/win32 win32
cmake --build "$root/build/win32" -j"$(nproc)" >/dev/null
if [ "${1:-}" != --program-only ]; then
  configure build/win32-tests posix
  cmake --build "$root/build/win32-tests" -j"$(nproc)" >/dev/null
fi
