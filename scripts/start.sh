#!/usr/bin/env bash
# Installs what is missing, builds, and starts build/Kestrup.exe under Wine with
# the given arguments (for example: /run 0). Without a display the tool runs on
# a virtual one and a screenshot of what it shows is saved.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$KESTRUP_ROOT/scripts/install-deps.sh"
build_all
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-kestrup}"
exe="$KESTRUP_BUILD/Kestrup.exe"

if [ -n "${DISPLAY:-}" ] && xwininfo -root >/dev/null 2>&1; then
  ensure_prefix
  exec "$(wine_loader)" "$exe" "$@"
fi

say "no display: running on a virtual one"
exec xvfb-run -a -s "-screen 0 1024x768x24" "$KESTRUP_ROOT/scripts/screenshot.sh" "$exe" "$@"
