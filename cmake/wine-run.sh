#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest: a private prefix per build tree,
# and an X display (Xvfb) when none is given. Wine's own messages (its err
# channel) are kept aside and shown when the program fails without a word.
#   cmake/wine-run.sh PROGRAM [ARGS...]
#   cmake/wine-run.sh --ready   makes the prefix ready and checks that it runs a program
set -u
: "${WINEPREFIX:=${KORVEL_WINEPREFIX:-$HOME/.cache/korvelconfig/wineprefix}}"
export WINEPREFIX
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

prepare() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        WINEDEBUG=-all wineboot --init >/dev/null 2>&1
        wineserver -w
    fi
    # Under Xvfb there is no window manager, and Wine waits up to two seconds for one
    # whenever a managed window is hidden or destroyed: the windows stay unmanaged.
    if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
    fi
    # Wine's own fonts (fonts-wine), which this Wine does not find by itself: with
    # them it draws "MS Shell Dlg" in Tahoma, as Windows does, and its caption buttons.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    mkdir -p "$fonts"
    for font in /usr/share/wine/fonts/*; do
        [ -f "$font" ] && ln -sf "$font" "$fonts/${font##*/}" 2>/dev/null
    done
}

if [ "${1:-}" = "--ready" ]; then
    # A server and Wine's own background programs that stay until the server is
    # ended (wineserver -k), holding no program's output open. The server's own
    # output goes nowhere: it lists all its objects whenever a COM port's terminal
    # hangs up.
    wineserver -k 2>/dev/null
    wineserver -w
    prepare
    wineserver -p </dev/null >/dev/null 2>&1
    WINEDEBUG=-all wine cmd /c exit </dev/null >/dev/null 2>&1
    said=$(WINEDEBUG=-all,err+all wine cmd /c echo ready 2>&1)
    if [ "$(printf '%s' "$said" | tr -d '\r' | tail -n 1)" != ready ] ||
        ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" || [ ! -e "$WINEPREFIX/drive_c/windows/Fonts/tahoma.ttf" ]; then
        printf 'The Wine prefix %s is not ready. Wine said:\n%s\n' "$WINEPREFIX" "$said" >&2
        exit 1
    fi
    echo "Wine prefix ready: $WINEPREFIX"
    exit 0
fi

prepare
# A server that outlives each program a while, started here (if none runs) so that
# it holds no program's output open.
wineserver -p10 </dev/null >/dev/null 2>&1
cleanup=
# KORVEL_WINE_DPI=120 or 144: the program runs on a screen of that DPI (the
# prefix's setting, put back afterwards; Windows tests run one at a time).
if [ -n "${KORVEL_WINE_DPI:-}" ]; then
    key='HKCU\Control Panel\Desktop'
    WINEDEBUG=-all wine reg add "$key" /v LogPixels /t REG_DWORD /d "$KORVEL_WINE_DPI" /f >/dev/null 2>&1
    cleanup="WINEDEBUG=-all wine reg delete '$key' /v LogPixels /f >/dev/null 2>&1"
fi
name=${1##*/}
[ -n "${DISPLAY:-}" ] && set -- wine "$@" || set -- xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"

# The program's output passes as it comes; Wine's lines ("0024:err:...") go aside.
aside=$(mktemp -d)
trap 'eval "$cleanup"; rm -rf "$aside"' EXIT
exec {out}> >(tee "$aside/printed")
printer=$!
exec {err}> >(awk -v aside="$aside/wine" -v printed="$aside/printed-errors" \
    '/^[0-9a-f]+:(err|fixme|warn|trace):/ { print > aside; next }
     { print > "/dev/stderr"; print > printed; fflush() }')
filter=$!
WINEDEBUG="${WINEDEBUG:+$WINEDEBUG,}err+all" "$@" >&$out 2>&$err &
program=$!
exec {out}>&- {err}>&-
trap 'kill -TERM "$program" 2>/dev/null' TERM INT HUP
status=0
wait "$program" || status=$?
[ "$status" -le 128 ] || wait "$program" || status=$?
[ "$status" -eq 0 ] && exit 0
# Wine's background programs, when this one started them, hold the output open
# as long as they run: what was printed has come through within a moment.
for _ in $(seq 10); do
    kill -0 "$printer" 2>/dev/null || kill -0 "$filter" 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$aside/printed" ] && [ ! -s "$aside/printed-errors" ]; then
    echo "wine-run.sh: $name ended with $status and printed nothing. Wine's own error output:" >&2
    if [ -s "$aside/wine" ]; then cat "$aside/wine" >&2; else echo "(none)" >&2; fi
fi
exit "$status"
