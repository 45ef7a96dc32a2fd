#!/usr/bin/env bash
# Feeds backports-entry.sh sample package source configurations and checks
# the entry it derives (or its refusal). Needs no root.
set -u
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/backports-entry.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

# check NAME EXPECTED_EXIT EXPECTED_OUTPUT: runs on the folder $work/NAME.
check() {
  local actual rc
  actual=$("$script" bookworm "$work/$1" 2>&1); rc=$?
  if [ "$rc" = "$2" ] && [ "$actual" = "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s: expected exit %s and\n%s\ngot exit %s and\n%s\n' "$1" "$2" "$3" "$rc" "$actual"
  fi
}
etc() { mkdir -p "$work/$1/sources.list.d"; }

etc deb822
cat > "$work/deb822/sources.list.d/debian.sources" <<'X'
Types: deb
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main

# Types: deb
# URIs: http://commented.example/debian
# Suites: bookworm

Types: deb-src deb
URIs: http://mirror.example/debian http://mirror2.example/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
X
check deb822 0 "sources
Types: deb
URIs: http://mirror.example/debian http://mirror2.example/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"

etc disabled
printf 'Types: deb\nURIs: http://off.example/debian\nSuites: bookworm\nEnabled: no\n' \
  > "$work/disabled/sources.list.d/off.sources"
printf '# deb http://old.example/debian bookworm main\ndeb [arch=i386,amd64] http://classic.example/debian bookworm main\n' \
  > "$work/disabled/sources.list"
check disabled 0 "list
deb [arch=i386,amd64] http://classic.example/debian bookworm-backports main"

etc both
printf 'deb http://classic.example/debian bookworm main\n' > "$work/both/sources.list"
printf 'Types: deb\nURIs: http://modern.example/debian\nSuites: bookworm\n' > "$work/both/sources.list.d/a.sources"
check both 0 "sources
Types: deb
URIs: http://modern.example/debian
Suites: bookworm-backports
Components: main"

etc none
printf 'deb http://other.example/debian trixie main\n' > "$work/none/sources.list"
check none 1 "no package source for 'bookworm' was found in $work/none; add the suite bookworm-backports (component main) of your Debian mirror by hand"

echo "backports-entry: $passed passed, $failed failed"
[ "$failed" = 0 ]
