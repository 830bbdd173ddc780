#!/usr/bin/env bash
# Builds both configurations and runs every test: the native unit tests (with
# AddressSanitizer and UBSan) and the end-to-end tests of the real program under Wine.
# With --unit, only the native unit tests: no Windows build, no Wine, a few seconds; the
# packages are set up only when the native tools are missing. JOBS limits the parallel jobs
# of the build and of the unit tests (default: one per CPU).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}

if [ "${1:-}" = --unit ]; then
  if ! command -v cmake g++ >/dev/null || [ ! -e /usr/include/gtest/gtest.h ]; then
    bash "$root/scripts/setup.sh"
  fi
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/build/native" -j"$jobs" --target unit_tests >/dev/null
  cd "$root/build/native"
  exec ctest -L '^unit$' --output-on-failure -j"$jobs"
fi
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"

native="$root/build/native"
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Debug \
  -DOLVEX_WIN32_EXE="$root/build/win32/OlvexCleaner.exe" \
  -DOLVEX_WIN32_DRIVER="$root/build/win32/driver.exe" \
  -DOLVEX_WIN32_CONSOLE_EXE="$root/build/win32/olvex.exe" \
  -DOLVEX_WIN32_SQLITE_DLL="$root/build/win32/OlvexSqlite.dll" \
  -DOLVEX_WIN32_UNIT_TESTS="$root/build/win32-tests/unit_tests.exe" >/dev/null
cmake --build "$native" -j"$(nproc)" >/dev/null

cd "$native"
# Unit tests first (seconds), then the program under Wine; one summary for all.
ctest --output-on-failure -j2 --timeout 600
