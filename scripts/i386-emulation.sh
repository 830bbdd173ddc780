#!/usr/bin/env bash
# Lets a machine whose kernel cannot run 32-bit x86 code run it anyway, so that Wine's 32-bit
# loader, and with it the program and its end-to-end tests, start there.
#
# Some virtual machines run 64-bit code only: their kernel refuses every 32-bit program with
# "Exec format error" (no compatibility mode, not even a 32-bit code segment). There, 32-bit
# programs are handed to QEMU's user-mode emulator through binfmt_misc. The emulator is taken
# from Debian's next release: the one of Debian 12 (QEMU 7.2) needs about a minute to start
# each Wine process, as Wine reserves its address space piece by piece; QEMU 10 starts one in
# a second or two. The package is statically linked and depends on nothing, so it is unpacked
# into a folder of its own and the system's packages and package sources stay as they were.
#
# Does nothing where 32-bit programs already run. Idempotent. Needs root (binfmt_misc).
set -euo pipefail

name=olvex-i386
entry=/proc/sys/fs/binfmt_misc/$name
home=/var/lib/olvex-i386-emulation
emulator=$home/root/usr/bin/qemu-i386
# An i386 ELF executable or shared object, as QEMU's own qemu-binfmt-conf.sh describes it.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

runs_32bit() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

if [ -e "$entry" ] && grep -qx enabled "$entry" && [ -x "$emulator" ]; then exit 0; fi
if runs_32bit; then exit 0; fi
if [ "$(id -u)" -ne 0 ]; then
  echo "$0: this kernel cannot run 32-bit programs; run as root to set up their emulation" >&2
  exit 1
fi

# The emulator's package, from Debian's archive through apt, signatures checked, with a
# package list of its own.
fetch_emulator() {
  local state=$home/apt
  mkdir -p "$state/lists/partial" "$state/cache/archives/partial" "$state/download"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
       "http://deb.debian.org/debian trixie main" > "$state/sources.list"
  local apt_options=(-o "Dir::Etc::SourceList=$state/sources.list"
                     -o "Dir::Etc::SourceParts=$state/no-parts"
                     -o "Dir::State::Lists=$state/lists" -o "Dir::Cache=$state/cache"
                     -o "APT::Architectures=amd64" -o "APT::Sandbox::User=root"
                     -o "Debug::NoLocking=true")
  apt-get "${apt_options[@]}" update -qq
  rm -f "$state/download"/*.deb
  (cd "$state/download" && apt-get "${apt_options[@]}" download -qq qemu-user)
  rm -rf "$home/root.new"
  dpkg-deb -x "$state/download"/qemu-user_*.deb "$home/root.new"
  rm -rf "$home/root"
  mv "$home/root.new" "$home/root"
}

[ -x "$emulator" ] || fetch_emulator

if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
[ -e "$entry" ] && echo -1 > "$entry"
# F: the emulator is opened now, so it is found from any mount namespace (Wine's sandboxes).
echo ":$name:M::$magic:$mask:$emulator:F" > /proc/sys/fs/binfmt_misc/register

if ! runs_32bit; then
  echo "$0: 32-bit programs still do not start under $emulator" >&2
  exit 1
fi
echo "32-bit programs run here through $("$emulator" --version | head -n1)"
