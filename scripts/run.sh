#!/usr/bin/env bash
# Installs what is missing, builds the Linux program and starts it.
# (The Windows program: scripts/run-windows.sh, under Wine.)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target korvelconfig
exec build/linux/korvelconfig "$@"
