#!/usr/bin/env bash
# The XML files under docs/ are well-formed, the subscription's query too, and
# each query names the program's event source and its message table's ids.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
source=$(sed -n 's/.*kEventSource\[\] = "\(.*\)";.*/\1/p' "$root/settings/RegistryNames.h")
ids=$(sed -n 's/^MessageId=\([0-9]*\).*/EventID=\1/p' "$root/ui/EventMessages.mc" | sort | tr '\n' ' ')
failed=0
for file in "$root"/docs/event-forwarding/*.xml; do
  # A subscription holds its query as text, a custom view as elements.
  query=$(xmllint --xpath 'string(/*[local-name()="Subscription"]/*[local-name()="Query"])' "$file") &&
    selects=$(xmllint --xpath '//*[local-name()="Select"]/text()' - <<<"${query:-$(cat "$file")}") ||
    { failed=1; echo "FAIL $file"; continue; }
  while read -r select; do
    [ "$(grep -o "Provider\[@Name='[^']*'\]" <<<"$select")" = "Provider[@Name='$source']" ] &&
      [ "$(grep -o 'EventID=[0-9]*' <<<"$select" | sort | tr '\n' ' ')" = "$ids" ] ||
      { failed=1; echo "FAIL $file: <$select> is not a query of <$source> for <$ids>"; }
  done <<<"$selects"
done
exit $failed
