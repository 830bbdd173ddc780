#!/usr/bin/env bash
# Starts Olvex Cleaner on a Wine prefix of its own (never ~/.wine).
#   scripts/run.sh [--version NAME] [--screenshot FILE]
# NAME is a Wine version setting (winxp by default; win2k, win98, winme, win95, nt40,
# win2003 ...). With a display the window opens there; without one, or with --screenshot,
# the program runs under Xvfb, a picture of its main window is saved, and it exits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=winxp
shot=
while [ $# -gt 0 ]; do
  case "$1" in
    --version) version=$2; shift 2 ;;
    --screenshot) shot=$2; shift 2 ;;
    *) echo "usage: $0 [--version NAME] [--screenshot FILE]" >&2; exit 2 ;;
  esac
done

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" --program-only

sandbox="$root/.sandbox"
mkdir -p "$sandbox"/{home,data,config,cache,tmp}
export HOME="$sandbox/home" XDG_DATA_HOME="$sandbox/data" XDG_CONFIG_HOME="$sandbox/config"
export XDG_CACHE_HOME="$sandbox/cache" TMPDIR="$sandbox/tmp"
export WINEPREFIX="$sandbox/prefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

headless=0
if [ -n "$shot" ] || [ -z "${DISPLAY:-}" ]; then headless=1; fi
[ -n "$shot" ] || shot="$root/olvex-main-window.png"

xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
if [ "$headless" = 1 ]; then
  for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  trap cleanup EXIT
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/.olvex-ready" ]; then
  echo "Preparing the sandbox Wine prefix in $WINEPREFIX ..."
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  # Windows placed where the program puts them, without a window manager's frame.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # The windows are designed in Comic Sans MS; Comic Neue is its free look-alike.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Comic Sans MS' /d 'Comic Neue' /f >/dev/null 2>&1
  # Wine's own fonts (Marlett draws the title bar buttons, Tahoma the dialogs) come with
  # fonts-wine, in a folder this Wine build does not read: the prefix gets them.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  touch "$WINEPREFIX/.olvex-ready"
fi
wine winecfg /v "$version" >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/olvex"
cp "$root/build/win32/OlvexCleaner.exe" "$root/build/win32/OlvexSqlite.dll" \
  "$root/build/win32/driver.exe" "$WINEPREFIX/drive_c/olvex/"

if [ "$headless" = 0 ]; then
  exec wine 'C:\olvex\OlvexCleaner.exe'
fi

wine 'C:\olvex\OlvexCleaner.exe' &
app=$!
drive() { wine 'C:\olvex\driver.exe' "$@"; }
form=
for _ in $(seq 100); do
  listing=$(drive windows 2>/dev/null || true)
  form=$(printf '%s\n' "$listing" | awk -F'\t' '$2 == 1 && $1 ~ /^Form/ {print $1; exit}')
  [ -n "$form" ] && break
  sleep 0.2
done
[ -n "$form" ] || { echo "the program showed no window" >&2; exit 1; }
sleep 1  # let it paint
read -r left top width height < <(drive rect "$form")
import -window root -crop "${width}x${height}+${left}+${top}" +repage "$shot"
echo "Saved a picture of $form ($version) to $shot"
drive close "$form" >/dev/null 2>&1 || true
wait "$app" || true
