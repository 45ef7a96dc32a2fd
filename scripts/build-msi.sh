#!/usr/bin/env bash
# Builds the installer package from an executable:
#   scripts/build-msi.sh KESTRUP_EXE OUTPUT_MSI [VERSION]
# VERSION (major.minor.patch) defaults to the program's own, from ui/version.h.
set -euo pipefail
. "$(dirname "$0")/common.sh"

exe=${1:?usage: build-msi.sh KESTRUP_EXE OUTPUT_MSI [VERSION]}
msi=${2:?usage: build-msi.sh KESTRUP_EXE OUTPUT_MSI [VERSION]}
version=${3:-$(kestrup_version)}
msi=$(cd "$(dirname "$msi")" && pwd)/$(basename "$msi")
# wixl takes the files by names relative to the folder it runs in.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/Kestrup.exe"
cp "$KESTRUP_ROOT/ui/res/kestrup.ico" "$stage/kestrup.ico"
cd "$stage"
wixl --arch x86 -D "Version=$version" -D SourceExe=Kestrup.exe -D SourceIcon=kestrup.ico \
  -o "$msi" "$KESTRUP_ROOT/scripts/installer/Kestrup.wxs"

# What wixl cannot write:
# - the refusal of a downgrade: an error action (type 19) right after the
#   search for related products has found a newer one, in both sequences;
# - the same version counting as an upgrade (VersionMax inclusive, 0x200), so
#   that another build of it (a product code of its own) replaces it;
# - the event source's message file as REG_EXPAND_SZ ("#%"), and its key
#   removed whole on uninstall (the name "-").
refusal="A newer version of vaxo Kestrup is already installed."
upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$KESTRUP_ROOT/scripts/installer/Kestrup.wxs")
source_key='SYSTEM\CurrentControlSet\Services\EventLog\Application\vaxo Kestrup'
msibuild "$msi" \
  -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'" \
  -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('{$upgrade_code}', '$version', 513, 'WIX_UPGRADE_DETECTED')" \
  -q "UPDATE \`Registry\` SET \`Value\` = '#%[INSTALLDIR]Kestrup.exe' WHERE \`Name\` = 'EventMessageFile'" \
  -q "INSERT INTO \`Registry\` (\`Registry\`, \`Root\`, \`Key\`, \`Name\`, \`Component_\`) VALUES ('EventSourceKey', 2, '$source_key', '-', 'Program')" \
  -q "INSERT INTO \`CustomAction\` (\`Action\`, \`Type\`, \`Target\`) VALUES ('RefuseDowngrade', 19, '$refusal')" \
  -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES ('RefuseDowngrade', 'WIX_DOWNGRADE_DETECTED', 26)" \
  -q "INSERT INTO \`InstallUISequence\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES ('RefuseDowngrade', 'WIX_DOWNGRADE_DETECTED', 26)"
