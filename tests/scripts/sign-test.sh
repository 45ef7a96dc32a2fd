#!/usr/bin/env bash
# Signs the executable and the installer package with a throwaway self-signed
# certificate, verifies both signatures, and checks that the signed executable
# still passes the image tests and runs.
#   sign-test.sh KESTRUP_EXE KESTRUP_MSI APP_TESTS_EXE     (under the tests' Wine prefix)
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/scripts/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  local description=$1; shift
  if "$@" >"$work/out" 2>&1; then passed=$((passed + 1))
  else failed=$((failed + 1)); echo "FAIL $description:"; cat "$work/out"; fi
}

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestrup test signer" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
cp "$1" "$work/Kestrup.exe"
cp "$2" "$work/Kestrup.msi"
check "signing" "$root/scripts/sign.sh" --cert "$work/cert.pem" --key "$work/key.pem" \
  "$work/Kestrup.exe" "$work/Kestrup.msi"
check "the executable's signature" osslsigncode verify -CAfile "$work/cert.pem" -in "$work/Kestrup.exe"
check "the package's signature" osslsigncode verify -CAfile "$work/cert.pem" -in "$work/Kestrup.msi"
check "an unsigned file is told apart" bash -c '! osslsigncode verify -CAfile "$1" -in "$2"' _ "$work/cert.pem" "$1"
check "the signed executable's image" env KESTRUP_EXE="$work/Kestrup.exe" KESTRUP_README="$root/README.md" \
  "$(wine_loader)" "$3" --gtest_filter='ExecutableImageTest.*'
check "the signed executable runs" "$(wine_loader)" "$work/Kestrup.exe" /run

echo "signing: $passed passed, $failed failed"
[ "$failed" = 0 ]
