#!/usr/bin/env bash
# Signs files (the executable, the installer package) with an organisation's
# code-signing certificate, in place, with Debian's osslsigncode:
#   scripts/sign.sh --cert CERT.pem --key KEY.pem [--pass PASSWORD_FILE] [--timestamp URL] FILE...
#   scripts/sign.sh --pkcs12 CERT.pfx [--pass PASSWORD_FILE] [--timestamp URL] FILE...
# A timestamp server (--timestamp, for example your certificate authority's)
# keeps the signature valid after the certificate expires.
# To verify: osslsigncode verify -CAfile YOUR_CA.pem FILE (here), or on
# Windows the file's Properties, Digital Signatures, or signtool verify /pa FILE.
set -euo pipefail

usage() { sed -n 's/^#   //p' "$0" >&2; exit 2; }
credentials=()
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --cert) credentials+=(-certs "$2"); shift 2 ;;
    --key) credentials+=(-key "$2"); shift 2 ;;
    --pkcs12) credentials+=(-pkcs12 "$2"); shift 2 ;;
    --pass) extra+=(-readpass "$2"); shift 2 ;;
    --timestamp) extra+=(-ts "$2"); shift 2 ;;
    --) shift; break ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ ${#credentials[@]} -gt 0 ] && [ $# -gt 0 ] || usage

for file in "$@"; do
  osslsigncode sign "${credentials[@]}" "${extra[@]}" -h sha256 -n "vaxo Kestrup" \
    -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
  echo "signed $file"
done
