#!/usr/bin/env bash
# Prints the tool's figures, measured under Wine on a virtual display in a
# prefix of its own below build/:
#   - start-up: process creation to the settings dialog and to the countdown
#     being visible, each against its floor (the same template and resources
#     shown with plain Win32 calls in C), and against a minimal dialog
#     program; medians over RUNS runs (default 20);
#   - the countdown's start-up with 3 other countdowns on the screen;
#   - CPU per countdown tick, against the countdown's floor;
#   - size: the stripped executable's anatomy (sections, bitmaps, the rest)
#     and its imports;
#   - launch timing: for delays 1, 3 and 5 seconds, from the countdown
#     appearing to the program's start, against the nominal delay + 1 s, and
#     the tool's CPU time meanwhile;
#   - the tool kept resident while its program runs: CPU time over
#     RESIDENT_SECONDS (default 60) and private memory, against the
#     countdown's floor; then the same with a heartbeat every 10 s (to a
#     Python HTTP server on 127.0.0.1), with an alive file, with the
#     pointer hidden, and off hours.
#   bench/run.sh [RUNS]
set -euo pipefail
. "$(dirname "$0")/../scripts/common.sh"

runs=${1:-20}
"$KESTRUP_ROOT/scripts/install-deps.sh"
build_all >/dev/null
export WINEPREFIX="$KESTRUP_BUILD/bench-prefix"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
to_windows() { printf 'Z:%s' "$1" | tr / '\\'; }

exe="$KESTRUP_BUILD/Kestrup.exe"
echo "== Size"
"$KESTRUP_ROOT/scripts/size-anatomy.sh" "$exe"
echo "imports: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')"
echo "floor (minimal dialog program): $(stat -c %s "$KESTRUP_BUILD/bench/minimal_dialog.exe") bytes"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  . "$1/scripts/common.sh"
  ensure_prefix
  wine=$(wine_loader)
  "$(wineserver_binary)" -p </dev/null >/dev/null 2>&1
  trap "\"$(wineserver_binary)\" -k </dev/null >/dev/null 2>&1 || true" EXIT
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1
  key="HKCU\\software\\vaxo\\vaxo Kestrup V3.6\\Slot9"
  "$wine" reg add "$key" /v AppPath /d "C:\\windows\\notepad.exe" /f </dev/null >/dev/null 2>&1
  "$wine" reg add "$key" /v Delay /t REG_DWORD /d 100 /f </dev/null >/dev/null 2>&1

  echo
  echo "== Start-up to a visible window ($5 runs each, Wine $("$wine" --version), $(uname -m))"
  "$wine" "$KESTRUP_BUILD/bench/startup_timing.exe" "$5" \
    "minimal dialog" "\"$3\"" \
    "settings floor" "\"$7\"" \
    "settings dialog" "\"$2\"" \
    "countdown floor" "\"$8\" 100" \
    "countdown dialog" "\"$2\" /run 9" </dev/null | tee "$KESTRUP_BUILD/bench-startup.txt"
  awk "/^minimal/ {m=\$4} /^settings floor/ {sf=\$4} /^settings dialog/ {s=\$4}
       /^countdown floor/ {cf=\$4} /^countdown dialog/ {c=\$4}
       END { if (sf > 0 && cf > 0) printf \"ratio to the floors: settings %.2f, countdown %.2f (target 1.10 at most); to the minimal dialog: settings %.2f, countdown %.2f\n\", s/sf, c/cf, s/m, c/m }" \
    "$KESTRUP_BUILD/bench-startup.txt"

  echo
  echo "== Countdown start-up with 3 other countdowns on the screen (the search for a free place)"
  # One countdown a slot: the others count down slots of their own.
  others=""
  for slot in 10 11 12; do
    "$wine" reg add "${key%9}$slot" /v AppPath /d "C:\\windows\\notepad.exe" /f </dev/null >/dev/null 2>&1
    "$wine" reg add "${key%9}$slot" /v Delay /t REG_DWORD /d 100 /f </dev/null >/dev/null 2>&1
    "$wine" "$2" /run $slot </dev/null >/dev/null 2>&1 & others="$others $!"; sleep 1
  done
  sleep 2
  "$wine" "$KESTRUP_BUILD/bench/startup_timing.exe" "$5" "countdown beside 3" "\"$2\" /run 9" </dev/null |
    tee -a "$KESTRUP_BUILD/bench-startup.txt"
  kill -9 $others 2>/dev/null; wait $others 2>/dev/null
  awk "/^countdown dialog/ {c=\$4} /^countdown beside 3/ {b=\$5}
       END { if (c > 0) printf \"the search costs %.1f ms (one timer tick is 1000 ms)\n\", b - c }" \
    "$KESTRUP_BUILD/bench-startup.txt"

  echo
  echo "== CPU per countdown tick"
  "$wine" "$KESTRUP_BUILD/bench/tick_cost.exe" "$2" "$8" "$4" 3 </dev/null
  "$wine" reg delete "HKCU\\software\\vaxo" /f </dev/null >/dev/null 2>&1

  echo
  echo "== Launch timing (nominal = delay + 1 s)"
  "$wine" "$KESTRUP_BUILD/bench/launch_timing.exe" "$2" "$4" "$6" </dev/null

  echo
  echo "== Kept running: the tool while its program runs"
  seconds=${RESIDENT_SECONDS:-60}
  # Once as it is, once with a heartbeat every 10 s to a server on this
  # machine, once with an alive file, once with the screen options, once off hours
  # (no program runs).
  port=$((20000 + RANDOM % 20000))
  python3 -m http.server --bind 127.0.0.1 "$port" </dev/null >/dev/null 2>&1 & server=$!
  for url in "" "http://127.0.0.1:$port/" "alive.txt" "screen" offhours; do
    "$wine" "$KESTRUP_BUILD/bench/resident_cost.exe" "$2" "$8" "$4" "$seconds" $url </dev/null & resident=$!
    sleep $((seconds / 2 + 5))
    # Private memory as Linux counts it (anonymous pages) of the Wine process,
    # with the emulator where 32-bit code runs under qemu: the same for both.
    private_kb() { awk "/^RssAnon/ {print \$2}" "/proc/$(pgrep -f "$1" | head -n 1)/status" 2>/dev/null; }
    tool_kb=$(private_kb "Kestrup[.]exe\"? /run 9")
    floor_kb=$(private_kb "countdown_floor[.]exe\"? 100$")
    beating_floor_kb=$(private_kb "countdown_floor[.]exe\"? 100 http")
    # Where 32-bit code runs under qemu, the same anonymous memory split into
    # the 32-bit side (below 4 GB: the program, its DLLs, Wine) and the
    # cache of translated code of the emulator (its one executable anonymous
    # mapping above), which grows in 2 MB steps with the code ever run.
    split_kb() {
      awk "/^[0-9a-f]+-[0-9a-f]+ / { high = length(substr(\$1, 1, index(\$1, \"-\") - 1)) > 8; cache = high && \$2 ~ /x/ && NF == 5 }
           /qemu-/ { qemu = 1 }
           /^Anonymous:/ { if (!high) low += \$2; else if (cache) code += \$2 }
           END { if (qemu) print low, code }" "/proc/$(pgrep -f "$1" | head -n 1)/smaps" 2>/dev/null
    }
    tool_split=$(split_kb "Kestrup[.]exe\"? /run 9")
    floor_split=$(split_kb "countdown_floor[.]exe\"? 100$")
    wait $resident
    awk -v t="${tool_kb:-0}" -v f="${floor_kb:-0}" -v target="$(case $url in http*) echo 1.05;; esac)" "BEGIN { printf \"private memory: resident tool %d KiB, countdown floor %d KiB, ratio %.2f (target %s at most)\n\", t, f, (f > 0 ? t / f : -1), (target != \"\" ? target : \"1.00\") }"
    if [ -n "$beating_floor_kb" ]; then
      awk -v t="${tool_kb:-0}" -v f="$beating_floor_kb" "BEGIN { printf \"  against the floor making the same requests on a thread of its own: %d KiB, ratio %.2f\n\", f, t / f }"
    fi
    if [ -n "$tool_split" ] && [ -n "$floor_split" ]; then
      echo "$tool_split $floor_split" | awk "{ printf \"  of which, under qemu: the 32-bit side %d KiB against %d (ratio %.2f), the cache of translated code %d KiB against %d\n\", \$1, \$3, (\$3 > 0 ? \$1 / \$3 : -1), \$2, \$4 }"
    fi
    "$wine" reg delete "HKCU\\software\\vaxo" /f </dev/null >/dev/null 2>&1
  done
  kill $server
' bench "$KESTRUP_ROOT" "$(to_windows "$exe")" "$(to_windows "$KESTRUP_BUILD/bench/minimal_dialog.exe")" \
  "$(to_windows "$KESTRUP_BUILD/tests/probe.exe")" "$runs" "$(to_windows "$work")" \
  "$(to_windows "$KESTRUP_BUILD/bench/settings_floor.exe")" "$(to_windows "$KESTRUP_BUILD/bench/countdown_floor.exe")"
