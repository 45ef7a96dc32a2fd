#!/usr/bin/env bash
# Prints what an executable's bytes are made of: each section's share of the
# file, the resources' bitmaps, and the total besides them.
#   scripts/size-anatomy.sh EXE [LIMIT]
# With LIMIT (bytes), fails when the file is larger than that.
set -euo pipefail

exe=${1:?usage: size-anatomy.sh EXE [LIMIT]}
limit=${2:-}
objdump=i686-w64-mingw32-objdump
total=$(stat -c %s "$exe")

# (awk here may be mawk, which reads no hexadecimal numbers by itself.)
hex='function hex(s,  i, n) { sub(/^0x/, "", s); n = 0
       for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
       return n }'

# Resource leaves below type 2 (RT_BITMAP), as objdump walks the directory.
bitmaps=$("$objdump" -p "$exe" | awk "$hex"'
  /^[0-9a-f]+   Entry: ID: / { sub(",", "", $4); type = hex($4) }
  / Leaf: Addr: / && type == 2 { sub(",", "", $6); sum += hex($6) }
  END { print sum + 0 }')

echo "$(basename "$exe"): $total bytes; bitmaps $bitmaps; everything else $((total - bitmaps))"
"$objdump" -h "$exe" | awk "$hex"'$2 ~ /^\./ && $3 ~ /^[0-9a-f]+$/ {
  printf "  %-9s %7d bytes\n", $2, hex($3) }'

if [ -n "$limit" ] && [ "$total" -gt "$limit" ]; then
  echo "$(basename "$exe") is $total bytes, more than the $limit allowed" >&2
  exit 1
fi
