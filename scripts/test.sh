#!/usr/bin/env bash
# Builds the tool and its tests and runs every test under Wine, in a private
# 32-bit prefix below the build folder, on a virtual display.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$KESTRUP_ROOT/scripts/install-deps.sh"
build_all
export WINEPREFIX="$KESTRUP_BUILD/wineprefix"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$KESTRUP_ROOT/scripts/ctest-in-wine.sh" "$@"
