#!/usr/bin/env bash
# Builds the tool and its tests, runs a short fuzzing pass over the
# command-line splitter, and runs every test under Wine, in private prefixes
# below the build folder, on a virtual display: in a 64-bit prefix (the 32-bit
# program under WoW64, as on most PCs) in the system's code page, then in a
# 32-bit prefix in code page 932.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$KESTRUP_ROOT/scripts/install-deps.sh"
build_all
"$KESTRUP_ROOT/scripts/fuzz.sh" "${KESTRUP_FUZZ_RUNS:-50000}"
# The second run's prefix is made while the first run, which mostly waits on
# countdowns, takes its time.
export WINEPREFIX="$KESTRUP_BUILD/wineprefix"
ensure_prefix &
second_prefix=$!
WINEARCH=win64 WINEPREFIX="$KESTRUP_BUILD/wineprefix64" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$KESTRUP_ROOT/scripts/ctest-in-wine.sh" "$@"
wait "$second_prefix"
# Once more with the test programs in a double-byte code page (932), where the
# second byte of a character may be a backslash; their folders then have such
# characters in their names. The tool itself runs in UTF-8 either way.
say "the tests once more in code page 932"
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$KESTRUP_ROOT/scripts/ctest-in-wine.sh" "$@"
