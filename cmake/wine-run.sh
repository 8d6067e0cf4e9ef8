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
# Wine's own fonts (fonts-wine), which this Wine does not find by itself: with
# them it draws "MS Shell Dlg" in Tahoma, as Windows does, and its caption buttons.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for font in /usr/share/wine/fonts/*; do
    if [ -f "$font" ] && [ ! -e "$fonts/${font##*/}" ]; then
        mkdir -p "$fonts" && ln -s "$font" "$fonts/${font##*/}"
    fi
done
# KORVEL_WINE_DPI=120 or 144: the program runs on a screen of that DPI (the
# prefix's setting, put back afterwards; Windows tests run one at a time).
if [ -n "${KORVEL_WINE_DPI:-}" ]; then
    key='HKCU\Control Panel\Desktop'
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$KORVEL_WINE_DPI" /f >/dev/null 2>&1
    trap 'wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true' EXIT INT TERM
fi
if [ -z "$DISPLAY" ]; then
    set -- xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
else
    set -- wine "$@"
fi
[ -n "${KORVEL_WINE_DPI:-}" ] || exec "$@"
"$@"
