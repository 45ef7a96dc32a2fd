#!/usr/bin/env bash
# Runs install-deps.sh on a PATH of a few tools, so that every package is
# missing, against a stand-in apt-get that fails as many installs as a row
# says, and checks the installs asked for. Changes nothing on the machine.
set -u
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
for tool in bash env id dirname grep sed head ls; do ln -s "$(command -v "$tool")" "$work/$tool"; done
stub() { printf '#!/bin/sh\n%s\n' "$2" >"$work/$1" && chmod +x "$work/$1"; }
stub sudo 'exec "$@"'
stub dpkg 'echo i386'
stub locale 'echo ja_JP.utf8'
stub apt-get "[ \"\$1\" = update ] || { echo \"\$*\" >>'$work/installs'; [ \$(grep -c '' '$work/installs') -gt \$FAILS ]; }"

# check FAILS EXPECTED_EXIT: one install; after a failed one, once more with
# the release's own versions, and no more.
failed=0
check() {
  rm -f "$work/installs"
  FAILS=$1 PATH=$work "$script" >/dev/null 2>&1
  local rc=$? actual first expected
  actual=$(cat "$work/installs" 2>/dev/null) first=${actual%%$'\n'*} expected=$first
  [ "$1" = 0 ] || expected+=$'\n'${first/--no-install-recommends /--no-install-recommends -t $codename }
  [ "$rc" = "$2" ] && [ "$actual" = "$expected" ] && [[ $first = "install -y -q --no-install-recommends "?* ]] ||
    { failed=1; printf 'FAIL %s failed installs: expected exit %s and\n%s\ngot exit %s and\n%s\n' "$1" "$2" "$expected" "$rc" "$actual"; }
}
check 0 0
check 1 0
check 2 1
exit $failed
