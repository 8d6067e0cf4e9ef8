#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, if any is missing.
# Usage: scripts/install-deps.sh [run|package|test]
#   run: what building the Linux program needs; package: that, the Windows cross build and the
#   packaging tools; test: everything.
set -euo pipefail

run_packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev qt6-base-dev qt6-qpa-plugins libgl-dev
              libxcb1-dev)
package_packages=(
    "${run_packages[@]}"
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    dpkg-dev file zip desktop-file-utils appstream
)
test_packages=(
    "${package_packages[@]}"
    libgtest-dev libgmock-dev googletest
    clang libclang-rt-14-dev
    unzip
    wine wine64
    xvfb xauth x11-utils xdotool xclip imagemagick fonts-dejavu-core fonts-wine
    socat python3 procps strace
    at-spi2-core python3-pyatspi dbus-x11
)

case "${1:-test}" in
run) wanted=("${run_packages[@]}") ;;
package) wanted=("${package_packages[@]}") ;;
*) wanted=("${test_packages[@]}") ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
