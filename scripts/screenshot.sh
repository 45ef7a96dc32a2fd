#!/usr/bin/env bash
# Runs a Windows program on the current (virtual) display, waits for its first
# window, saves a picture of the screen and ends the program.
#   screenshot.sh PROGRAM [ARGUMENTS...]
# The picture goes to $KESTRUP_SCREENSHOT (default build/screenshot.png).
set -euo pipefail
. "$(dirname "$0")/common.sh"

program=$1; shift
shot=${KESTRUP_SCREENSHOT:-$KESTRUP_BUILD/screenshot.png}
ensure_prefix
# A server left from a session without this display would keep the program
# from opening windows on it.
"$(wineserver_binary)" -k </dev/null >/dev/null 2>&1 || true
"$(wine_loader)" "$program" "$@" </dev/null >/dev/null 2>&1 &
pid=$!
class=$(basename "$program" | tr 'A-Z' 'a-z')

for _ in $(seq 1 600); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" && status=0 || status=$?
    say "$(basename "$program") ended without showing a window (exit code $status)"
    exit 0
  fi
  if xwininfo -root -tree 2>/dev/null | grep -qi "\"$class\""; then
    sleep 3
    import -window root "$shot"
    say "screenshot of what the tool shows: $shot"
    "$(wineserver_binary)" -k || true
    exit 0
  fi
  sleep 0.5
done
say "no window appeared"
"$(wineserver_binary)" -k || true
exit 1
