#!/usr/bin/env bash
# The packages as users get them (after scripts/package.sh): the Debian package unpacked into a
# scratch root starts from there and names its version; the .exe from the zip is within 256 KiB
# and passes the Windows end-to-end test.
set -euo pipefail
cd "$(dirname "$0")/../.."
version=$(sed -n 's/^#define KORVEL_VERSION "\(.*\)"$/\1/p' build/linux/generated/korvel_version.h)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

deb="dist/korvelconfig_${version}_amd64.deb"
dpkg-deb -x "$deb" "$scratch/root"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' # found by dpkg-shlibdeps
[ "$("$scratch/root/usr/bin/korvelconfig" --version)" = "KorvelConfig $version" ]

unzip -q "dist/KorvelConfig-$version-win64.zip" -d "$scratch/zip"
size=$(stat -c %s "$scratch/zip/KorvelConfig.exe")
[ "$size" -le 262144 ] || { echo "KorvelConfig.exe is $size bytes, more than 256 KiB"; exit 1; }
python3 tests/e2e/windows_e2e.py cmake/wine-run.sh "$scratch/zip/KorvelConfig.exe"
echo "packages: $deb and the zip ($size-byte .exe) pass"
