#!/usr/bin/env bash
# Builds a release and writes to dist/: Kestrup.exe, Kestrup-VERSION.msi,
# Kestrup-VERSION.zip (the executable and a short read-me) and SHA256SUMS.
# The version comes from ui/version.h. To sign the executable and the package,
# set KESTRUP_SIGN_CERT and KESTRUP_SIGN_KEY (or KESTRUP_SIGN_PKCS12), and
# optionally KESTRUP_SIGN_PASS (a password file) and KESTRUP_SIGN_TIMESTAMP
# (a timestamp server's address): see scripts/sign.sh.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$KESTRUP_ROOT/scripts/install-deps.sh"
version=$(kestrup_version)
build="$KESTRUP_ROOT/build-release"
dist="$KESTRUP_ROOT/dist"

cmake -S "$KESTRUP_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$KESTRUP_ROOT/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" --target Kestrup

rm -rf "$dist"
mkdir -p "$dist"
cp "$build/Kestrup.exe" "$dist/Kestrup.exe"

signing=()
if [ -n "${KESTRUP_SIGN_PKCS12:-}" ]; then signing+=(--pkcs12 "$KESTRUP_SIGN_PKCS12")
elif [ -n "${KESTRUP_SIGN_CERT:-}" ]; then signing+=(--cert "$KESTRUP_SIGN_CERT" --key "${KESTRUP_SIGN_KEY:?KESTRUP_SIGN_KEY goes with KESTRUP_SIGN_CERT}")
fi
if [ ${#signing[@]} -gt 0 ]; then
  [ -n "${KESTRUP_SIGN_PASS:-}" ] && signing+=(--pass "$KESTRUP_SIGN_PASS")
  [ -n "${KESTRUP_SIGN_TIMESTAMP:-}" ] && signing+=(--timestamp "$KESTRUP_SIGN_TIMESTAMP")
  "$KESTRUP_ROOT/scripts/sign.sh" "${signing[@]}" "$dist/Kestrup.exe"
fi

# The package takes the executable as released, signed when it is.
"$KESTRUP_ROOT/scripts/build-msi.sh" "$dist/Kestrup.exe" "$dist/Kestrup-$version.msi"
[ ${#signing[@]} -gt 0 ] && "$KESTRUP_ROOT/scripts/sign.sh" "${signing[@]}" "$dist/Kestrup-$version.msi"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$dist/Kestrup.exe" "$stage/Kestrup.exe"
sed "s/@VERSION@/$version/g" "$KESTRUP_ROOT/docs/readme.txt" | sed 's/$/\r/' > "$stage/README.txt"
(cd "$stage" && zip -q -X "$dist/Kestrup-$version.zip" Kestrup.exe README.txt)

(cd "$dist" && sha256sum Kestrup.exe "Kestrup-$version.msi" "Kestrup-$version.zip" > SHA256SUMS)
say "release $version in $dist:"
ls -l "$dist" >&2
