#!/usr/bin/env bash
# Builds the tool and its tests, runs a short fuzzing pass over the
# command-line splitter, and runs every test under Wine, in a private 32-bit
# prefix below the build folder, on a virtual display.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$KESTRUP_ROOT/scripts/install-deps.sh"
build_all
"$KESTRUP_ROOT/scripts/fuzz.sh" "${KESTRUP_FUZZ_RUNS:-50000}"
export WINEPREFIX="$KESTRUP_BUILD/wineprefix"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$KESTRUP_ROOT/scripts/ctest-in-wine.sh" "$@"
