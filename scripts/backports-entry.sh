#!/usr/bin/env bash
# Prints the package source entry for CODENAME-backports, made from the
# machine's own source of the release's main suite: the same URIs (and
# signing key or options), in the same format, suite CODENAME-backports,
# component main. The first line printed is the format, "sources" (deb822)
# or "list" (one-line), the entry follows.
#   scripts/backports-entry.sh CODENAME [APT_ETC]     (APT_ETC: /etc/apt)
# Exits 1 with a message when no source serves CODENAME.
set -euo pipefail

codename=${1:?usage: backports-entry.sh CODENAME [APT_ETC]}
etc=${2:-/etc/apt}

from_deb822() {
  awk -v suite="$codename" '
    function flush() {
      if (is_deb && has_suite && enabled && uris != "") {
        print "sources"
        print "Types: deb"
        print "URIs: " uris
        print "Suites: " suite "-backports"
        print "Components: main"
        if (signed != "") print "Signed-By: " signed
        found = 1
        exit
      }
      is_deb = 0; has_suite = 0; enabled = 1; uris = ""; signed = ""
    }
    BEGIN { enabled = 1 }
    /^[ \t]*#/ { next }
    /^[ \t]*$/ { flush(); next }
    {
      field = tolower($1); sub(/:$/, "", field)
      value = $0; sub(/^[^:]*:[ \t]*/, "", value)
      if (field == "types") { n = split(value, t, /[ \t]+/); for (i = 1; i <= n; i++) if (t[i] == "deb") is_deb = 1 }
      else if (field == "suites") { n = split(value, s, /[ \t]+/); for (i = 1; i <= n; i++) if (s[i] == suite) has_suite = 1 }
      else if (field == "enabled") enabled = tolower(value) != "no"
      else if (field == "uris") uris = value
      else if (field == "signed-by") signed = value
    }
    END { if (!found) flush() }
  ' "$@"
}

from_one_line() {
  awk -v suite="$codename" '
    /^[ \t]*deb[ \t]/ {
      line = $0; sub(/^[ \t]*deb[ \t]+/, "", line)
      options = ""
      if (line ~ /^\[/) { options = substr(line, 1, index(line, "]")); line = substr(line, index(line, "]") + 1); sub(/^[ \t]+/, "", line) }
      split(line, f, /[ \t]+/)
      if (f[2] == suite) {
        print "list"
        print "deb " (options != "" ? options " " : "") f[1] " " suite "-backports main"
        exit
      }
    }
  ' "$@"
}

shopt -s nullglob
deb822=("$etc"/sources.list.d/*.sources)
one_line=()
[ -f "$etc/sources.list" ] && one_line+=("$etc/sources.list")
one_line+=("$etc"/sources.list.d/*.list)

entry=""
for file in "${deb822[@]}"; do
  entry=$(from_deb822 "$file")
  [ -n "$entry" ] && break
done
if [ -z "$entry" ]; then
  for file in "${one_line[@]}"; do
    entry=$(from_one_line "$file")
    [ -n "$entry" ] && break
  done
fi
if [ -z "$entry" ]; then
  echo "no package source for '$codename' was found in $etc; add the suite $codename-backports (component main) of your Debian mirror by hand" >&2
  exit 1
fi
printf '%s\n' "$entry"
