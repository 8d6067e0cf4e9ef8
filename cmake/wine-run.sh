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
# Under Xvfb there is no window manager, and Wine waits up to two seconds for one
# whenever a managed window is hidden or destroyed: the windows stay unmanaged.
if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w || true
fi
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
