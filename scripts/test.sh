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
trap '[ -z "$xvfb_pid" ] || kill $xvfb_pid 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT

# One X server for every test that shows a window (Wine, Qt on xcb, end to end).
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 99); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
    done
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY="$display"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
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
