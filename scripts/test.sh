#!/usr/bin/env bash
# Builds the tool and its tests, runs a short fuzzing pass over the
# command-line splitter, and runs every test (arguments go to ctest). The tests
# under Wine run twice, in private prefixes below the build folder: in a 64-bit
# prefix (the 32-bit program under WoW64, as on most PCs) in the system's code
# page, and in a 32-bit prefix in code page 932. They mostly wait on the real
# program, so they run side by side, in shards, each in its own copy of a
# prepared prefix on a virtual display of its own (see tests/CMakeLists.txt).
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$KESTRUP_ROOT/scripts/install-deps.sh"
# The prepared prefixes are made while the build runs.
WINEARCH=win64 WINEPREFIX="$KESTRUP_BUILD/wineprefix64" ensure_prefix &
wow64_prefix=$!
WINEARCH=win32 WINEPREFIX="$KESTRUP_BUILD/wineprefix" ensure_prefix &
cp932_prefix=$!
build_all
"$KESTRUP_ROOT/scripts/fuzz.sh" "${KESTRUP_FUZZ_RUNS:-50000}"
wait "$wow64_prefix"
wait "$cp932_prefix"
cd "$KESTRUP_BUILD"
# Shards at once: three a core, two where qemu emulates 32-bit code (then
# more make the real program's windows come too late for the tests' waits).
jobs=$((3 * $(nproc)))
[ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && jobs=$((2 * $(nproc)))
ctest --output-on-failure -j "${CTEST_PARALLEL_LEVEL:-$jobs}" "$@"
