#!/usr/bin/env bash
# Runs a command (a test program under Wine) in a prefix of its own, a fresh
# copy of the prepared prefix $WINEPREFIX (made first when missing), with its
# own wineserver and virtual display, so that commands run side by side never
# see each other's settings or windows:
#   in-own-prefix.sh FOLDER COMMAND [ARGUMENT...]
# FOLDER takes the copy, the folders behind drives K: and L:, and the file
# that the standard error of everything the command starts goes to
# (KESTRUP_WINE_STDERR). The copy is removed when the command passes.
set -euo pipefail
here=$(dirname "$0")
. "$here/../../scripts/common.sh"

folder=$1
shift
{ flock 9; ensure_prefix; } 9>"$WINEPREFIX.lock"
prepared=$WINEPREFIX
export WINEPREFIX="$folder/prefix" KESTRUP_WINE_STDERR="$folder/wine-stderr.txt" KESTRUP_DRIVE_L="$folder/drive-l"
wineserver=$(wineserver_binary)
# The wineserver of an earlier run that a timeout killed.
[ -d "$WINEPREFIX" ] && "$wineserver" -k </dev/null >/dev/null 2>&1 || true
rm -rf "$folder"
mkdir -p "$folder/drive-k"
cp -a "$prepared" "$WINEPREFIX"
# Drive K: is a folder, for programs in a drive's root. Drive L: comes late:
# a test makes its folder when the drive is to come; until then Windows sees
# no drive L:.
ln -sfn "$folder/drive-k" "$WINEPREFIX/dosdevices/k:"
ln -sfn "$KESTRUP_DRIVE_L" "$WINEPREFIX/dosdevices/l:"

# The display server takes the first free number and says which.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$folder/display" </dev/null >/dev/null 2>&1 &
display_server=$!
trap 'passed=$?
  set +e
  "$wineserver" -k </dev/null >/dev/null 2>&1 && "$wineserver" -w </dev/null >/dev/null 2>&1
  kill $display_server 2>/dev/null
  [ $passed != 0 ] || rm -rf "$WINEPREFIX"' EXIT
until [ -s "$folder/display" ]; do
  kill -0 $display_server 2>/dev/null || { say "the virtual display did not start"; exit 1; }
  sleep 0.1
done
export DISPLAY=:$(cat "$folder/display")
# A warm, persistent wineserver; with its standard streams redirected away,
# or one that inherits ctest's output pipe keeps it open and ctest never ends.
"$wineserver" -p </dev/null >/dev/null 2>&1
"$(wine_loader)" cmd /c exit </dev/null >/dev/null 2>&1

"$here/with-stderr-to.sh" "$KESTRUP_WINE_STDERR" "$@"
