# Shared settings of the project's scripts; sourced, not run.
# shellcheck shell=bash

KESTRUP_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KESTRUP_BUILD=${KESTRUP_BUILD:-$KESTRUP_ROOT/build}

export WINEARCH=${WINEARCH:-win32}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

say() { printf '%s\n' "kestrup: $*" >&2; }

wine_loader() {
  if [ -x /usr/lib/wine/wine ]; then echo /usr/lib/wine/wine
  else command -v wine || command -v wine-stable; fi
}

wineserver_binary() {
  if [ -x /usr/lib/wine/wineserver ]; then echo /usr/lib/wine/wineserver
  else command -v wineserver || command -v wineserver-stable; fi
}

# Configures (once) and builds the tool and the tests.
build_all() {
  if [ ! -f "$KESTRUP_BUILD/build.ninja" ]; then
    cmake -S "$KESTRUP_ROOT" -B "$KESTRUP_BUILD" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$KESTRUP_ROOT/cmake/mingw-i686.cmake" >/dev/null
  fi
  cmake --build "$KESTRUP_BUILD"
}

# Creates a prefix of $WINEARCH (win32, or win64 where the 32-bit program runs
# under WoW64) at $WINEPREFIX when it is missing. Without a window manager
# Wine stalls whenever a window is hidden, unless it stops managing its
# windows; a crash must not wait for a debugger's dialog nobody can answer.
ensure_prefix() {
  local wine
  wine=$(wine_loader)
  [ "$WINEARCH" = win64 ] && wine=/usr/lib/wine/wine64
  if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$WINEPREFIX/.kestrup-ready" ]; then
    say "creating the $WINEARCH Wine prefix $WINEPREFIX (once; slow on machines that emulate 32-bit code)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    "$(wineserver_binary)" -w
    touch "$WINEPREFIX/.kestrup-ready"
  fi
}

# The program's version, major.minor.patch, from the one place that holds it.
kestrup_version() {
  local part major minor patch
  for part in MAJOR MINOR PATCH; do
    printf -v "${part,,}" '%s' "$(sed -n "s/^#define KESTRUP_VERSION_$part \([0-9]*\)$/\1/p" "$KESTRUP_ROOT/ui/version.h")"
  done
  echo "$major.$minor.$patch"
}
