#!/usr/bin/env bash
# Runs ctest with a warm, persistent wineserver. The server is started with its
# standard streams redirected away: one that inherits ctest's output pipe keeps
# it open and ctest never ends.
set -euo pipefail
. "$(dirname "$0")/common.sh"

: "${WINEPREFIX:?}"
ensure_prefix
# Drive K: is a folder of the build, for programs in a drive's root.
mkdir -p "$KESTRUP_BUILD/drive-k"
ln -sfn "$KESTRUP_BUILD/drive-k" "$WINEPREFIX/dosdevices/k:"
# Drive L: comes late: a folder of the build that a test makes when the drive
# is to come; until then Windows sees no drive L:.
rm -rf "$KESTRUP_BUILD/drive-l"
ln -sfn "$KESTRUP_BUILD/drive-l" "$WINEPREFIX/dosdevices/l:"
wineserver=$(wineserver_binary)
"$wineserver" -p </dev/null >/dev/null 2>&1
trap '"$wineserver" -k </dev/null >/dev/null 2>&1 || true' EXIT
"$(wine_loader)" cmd /c exit </dev/null >/dev/null 2>&1

cd "$KESTRUP_BUILD"
ctest --output-on-failure "$@"
