#!/usr/bin/env bash
# Fuzzes the command-line splitter natively with libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, from the committed corpus, for a fixed
# number of runs (default 200000), and prints the runs done and the crashes.
#   scripts/fuzz.sh [RUNS]
set -euo pipefail
. "$(dirname "$0")/common.sh"

runs=${1:-200000}
out="$KESTRUP_BUILD/fuzz"
mkdir -p "$out/corpus" "$out/crashes"
rm -f "$out"/crashes/*

src="$KESTRUP_ROOT"
binary="$out/command_line_fuzzer"
if [ ! -x "$binary" ] || [ -n "$(find "$src/app" "$src/framework/CommandLineInfo.h" "$src/tests/fuzz" -newer "$binary" -name '*.[ch]*' 2>/dev/null)" ]; then
  clang++ -std=c++17 -g -O1 -I "$src" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$src/tests/fuzz/CommandLineFuzzer.cpp" "$src/app/AutostartCommandLineInfo.cpp" "$src/app/RunSwitch.cpp" \
    -o "$binary"
fi

cp -n "$src"/tests/fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
log="$out/last-run.log"
status=0
"$binary" -runs="$runs" -max_len=4096 -artifact_prefix="$out/crashes/" "$out/corpus" >"$log" 2>&1 || status=$?
done_runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
crashes=$(find "$out/crashes" -type f | wc -l)
echo "fuzz: ${done_runs:-0} runs of the command-line splitter, $crashes crashes found"
if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
  tail -n 30 "$log"
  exit 1
fi
