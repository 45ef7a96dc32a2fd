#!/usr/bin/env bash
# Installs from Debian's packages whatever the build, the tests and running the
# tool need and the machine lacks. Quick when everything is there.
set -euo pipefail
. "$(dirname "$0")/common.sh"

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# A mirror caught mid-sync fails one list or another; the install that follows
# says whether what could be read is enough.
update_package_lists() {
  as_root apt-get update -q || say "some package lists could not be read; going on with those there are"
}

apt_install() { as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"; }

# A mirror caught mid-sync may leave the security suite's amd64 list read and
# its i386 one not: a library's amd64 and i386 packages then come in versions
# that cannot go together. The release's own versions can.
install_packages() {
  apt_install "$@" && return
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 1
  say "the install failed; once more with $codename's own versions"
  apt_install -t "$codename" "$@"
}

declare -A wanted=(
  [cmake]=cmake
  [ninja]=ninja-build
  [i686-w64-mingw32-g++-posix]=g++-mingw-w64-i686-posix
  [i686-w64-mingw32-g++-win32]=g++-mingw-w64-i686-win32
  [i686-w64-mingw32-windres]=binutils-mingw-w64-i686
  [xvfb-run]=xvfb
  [xauth]=xauth
  [import]=imagemagick
  [xwininfo]=x11-utils
  [xdotool]=xdotool
  [clang++]=clang
  [wixl]=wixl
  [msibuild]=msitools
  [osslsigncode]=osslsigncode
  [openssl]=openssl
  [zip]=zip
  [locale-gen]=locales
  [xmllint]=libxml2-utils
)
missing=()
for tool in "${!wanted[@]}"; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("${wanted[$tool]}")
done
[ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
[ -x /usr/lib/wine/wine ] || missing+=(wine wine32:i386)
# A 64-bit prefix, where the program runs under WoW64 as on most PCs.
[ -x /usr/lib/wine/wine64 ] || missing+=(wine64)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || missing+=(libclang-rt-14-dev)

if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  update_package_lists
  install_packages "${missing[@]}"
fi

# The tests run a second time in a double-byte code page (932), which Wine
# takes from a Japanese locale.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  say "generating the locale ja_JP.UTF-8"
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi

# Some kernels run no 32-bit Linux programs (no IA-32 emulation); Wine's
# 32-bit loader then runs under qemu's user-mode emulator. qemu before 8 does
# not honour MAP_FIXED_NOREPLACE, which costs Wine close to a minute of address
# space probing at every process start, so a newer qemu is taken from
# backports where the release's own is older.
qemu_is_recent() {
  local major
  major=$(/usr/bin/qemu-i386-static --version 2>/dev/null | sed -n 's/.*version \([0-9]*\).*/\1/p' | head -n 1)
  [ -n "$major" ] && [ "$major" -ge 8 ]
}

if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if ! qemu_is_recent; then
    say "this kernel runs no 32-bit programs: installing qemu's user-mode emulator"
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    release=()
    if [ "$codename" = bookworm ]; then
      if ! grep -rqs "$codename-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
        # The same mirror that serves the release, in the same format.
        entry=$("$KESTRUP_ROOT/scripts/backports-entry.sh" "$codename")
        format=$(head -n 1 <<<"$entry")
        tail -n +2 <<<"$entry" |
          as_root tee "/etc/apt/sources.list.d/kestrup-$codename-backports.$format" >/dev/null
      fi
      update_package_lists
      release=(-t bookworm-backports)
    fi
    apt_install "${release[@]}" qemu-user-static
    # A registration made with the older emulator still holds it open.
    [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && echo -1 | as_root tee /proc/sys/fs/binfmt_misc/qemu-i386 >/dev/null
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
