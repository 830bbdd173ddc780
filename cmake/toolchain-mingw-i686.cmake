# Cross-compiles the 32-bit Windows build with mingw-w64; tests run under Wine.
# The win32 thread model: the posix one links libwinpthread, which imports functions that
# Windows 95, 98 and NT 4.0 do not have, and the loader refuses a program for one of them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(OLVEX_MINGW_THREADS win32 CACHE STRING "Thread model of the mingw-w64 compilers")
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${OLVEX_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${OLVEX_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
