#!/usr/bin/env bash
# Installs what is missing, builds the Linux, sanitizer and Windows presets and runs
# every test: native, under ASan+UBSan, and the Windows programs under Wine in Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

jobs=$(nproc)

echo "=== layers"
python3 scripts/check-layers.py

# A Wine prefix of our own; its server ends with the run.
export WINEPREFIX="$PWD/build/wineprefix"
export WINEDEBUG=-all
xvfb_pid=
xvfb_dir=
trap '[ -z "$xvfb_pid" ] || kill $xvfb_pid 2>/dev/null; wineserver -k 2>/dev/null || true; [ -z "$xvfb_dir" ] || rm -rf "$xvfb_dir"' EXIT

# One X server for every test that shows a window (Wine, Qt on xcb, end to end).
# Xvfb picks a free display itself, so runs side by side never share one.
if [ -z "${DISPLAY:-}" ]; then
    . scripts/xvfb.sh
    xvfb_dir=$(mktemp -d)
    start_xvfb "$xvfb_dir" 1280x1024
fi

for preset in linux linux-asan windows; do
    echo "=== $preset"
    # Made ready and checked before the first Windows test: its server and Wine's
    # own background programs stay up until the end.
    [ "$preset" != windows ] || cmake/wine-run.sh --ready
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done

echo "=== packages"
scripts/package.sh
tests/e2e/check_packages.sh

echo "=== artwork"
python3 resources/check_artwork.py

echo "=== fuzz (short run)"
tools/fuzz/run-fuzz.sh 10

echo "All tests passed."
