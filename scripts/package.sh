#!/usr/bin/env bash
# Writes the release packages to dist/: the Debian package of the Linux program and the zip of
# the Windows program. Debian 12; installs what it misses.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh package
jobs=$(nproc)

cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs" --target korvelconfig korvel_man_page
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target KorvelConfig
version=$(sed -n 's/^#define KORVEL_VERSION "\(.*\)"$/\1/p' build/linux/generated/korvel_version.h)

# What goes out is valid as its readers check it.
desktop-file-validate resources/org.korvelconfig.KorvelConfig.desktop
appstreamcli validate --no-net --pedantic resources/org.korvelconfig.KorvelConfig.metainfo.xml

mkdir -p dist
(cd build/linux && cpack -G DEB >/dev/null)

# Windows users open text files with Notepad: CR LF line ends.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/windows/KorvelConfig.exe "$stage/"
sed 's/$/\r/' README.md >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
zip="dist/KorvelConfig-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -X -9 "$OLDPWD/$zip" KorvelConfig.exe README.txt LICENSE.txt)

ls -l "dist/korvelconfig_${version}_amd64.deb" "$zip"
