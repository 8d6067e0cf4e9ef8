#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target KorvelConfig
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine build/windows/KorvelConfig.exe
