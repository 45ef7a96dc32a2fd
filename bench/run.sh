#!/usr/bin/env bash
# Prints the launch timing of the countdown: for delays 1, 3 and 5 seconds,
# from the countdown window appearing to the window hiding (the program's
# start) and to the started program running, each against the nominal
# delay + 1 seconds, and the CPU time the tool used meanwhile.
# Runs under Wine on a virtual display in its own prefix below build/.
set -euo pipefail
. "$(dirname "$0")/../scripts/common.sh"

"$KESTRUP_ROOT/scripts/install-deps.sh"
build_all
export WINEPREFIX="$KESTRUP_BUILD/bench-prefix"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
to_windows() { printf 'Z:%s' "$1" | tr / '\\'; }

exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  . "$1/scripts/common.sh"
  ensure_prefix
  "$(wineserver_binary)" -p </dev/null >/dev/null 2>&1
  trap "\"$(wineserver_binary)\" -k </dev/null >/dev/null 2>&1 || true" EXIT
  "$(wine_loader)" cmd /c exit </dev/null >/dev/null 2>&1
  echo "Launch timing (Wine $("$(wine_loader)" --version), $(uname -m); nominal = delay + 1 s)"
  "$(wine_loader)" "$KESTRUP_BUILD/bench/launch_timing.exe" "$2" "$3" "$4" </dev/null
' bench "$KESTRUP_ROOT" "$(to_windows "$KESTRUP_BUILD/Kestrup.exe")" \
  "$(to_windows "$KESTRUP_BUILD/tests/probe.exe")" "$(to_windows "$work")"
