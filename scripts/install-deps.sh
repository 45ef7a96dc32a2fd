#!/usr/bin/env bash
# Installs from Debian's packages whatever the build, the tests and running the
# tool need and the machine lacks. Quick when everything is there.
set -euo pipefail
. "$(dirname "$0")/common.sh"

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

declare -A wanted=(
  [cmake]=cmake
  [ninja]=ninja-build
  [i686-w64-mingw32-g++-posix]=g++-mingw-w64-i686-posix
  [i686-w64-mingw32-windres]=binutils-mingw-w64-i686
  [xvfb-run]=xvfb
  [xauth]=xauth
  [import]=imagemagick
  [xwininfo]=x11-utils
)
missing=()
for tool in "${!wanted[@]}"; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("${wanted[$tool]}")
done
[ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
[ -x /usr/lib/wine/wine ] || missing+=(wine wine32:i386)

if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Some kernels run no 32-bit Linux programs (no IA-32 emulation); Wine's
# 32-bit loader then runs under qemu's user-mode emulator instead.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if [ ! -x /usr/bin/qemu-i386-static ]; then
    say "this kernel runs no 32-bit programs: installing qemu-user-static"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    say "registering qemu-i386 for 32-bit programs"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      as_root tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 || { say "Wine's 32-bit loader still does not run"; exit 1; }
fi
