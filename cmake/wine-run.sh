#!/bin/sh
# Runs a Windows program under Wine for ctest: a private prefix per build tree,
# quiet Wine, and an X display (Xvfb) when none is given.
set -e
: "${WINEPREFIX:=${KORVEL_WINEPREFIX:-$HOME/.cache/korvelconfig/wineprefix}}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
fi
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
