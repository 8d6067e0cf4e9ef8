#!/bin/sh
# Takes pictures of the Windows program under Wine: the main dialog
# (docs/screenshot-windows.png) and the symbol chooser, opened by a click into
# the Symbol field of Config 0 (docs/screenshot-chooser.png), each cut to its
# window. Runs the .exe in a private Xvfb with the test prefix (build/wineprefix),
# in Tahoma from fonts-wine, as Windows draws the dialog font.
#   scripts/screenshot-windows.sh [path/to/KorvelConfig.exe] [output-dir]
# Needs Wine, Xvfb, xdotool, ImageMagick (import, convert) and fonts-wine.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/windows/KorvelConfig.exe}
outdir=${2:-$root/docs}
[ -f "$program" ] || { echo "no program at $program (build the windows preset first)" >&2; exit 1; }

WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    # Wine's desktop process holds the display until the server ends.
    wineserver -w 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

. "$root/scripts/xvfb.sh"
start_xvfb "$work"

"$root/cmake/wine-run.sh" "$program" >"$work/program.log" 2>&1 &
program_pid=$!

# Crops the screen to a window: snap WINDOW FILE
snap() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root "$work/screen.png"
    mkdir -p "$(dirname "$2")"
    convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
    echo "wrote $2 (${WIDTH}x${HEIGHT})"
}

dialog=$(timeout 60 xdotool search --sync --onlyvisible --name '^Korvel Config V1\.12$' | head -n 1)
[ -n "$dialog" ] || { echo "the dialog did not appear" >&2; cat "$work/program.log" >&2; exit 1; }
sleep 1 # let it paint
snap "$dialog" "$outdir/screenshot-windows.png"

# The Symbol field of Config 0 is at 143, 12 (17 x 12 dialog units) in the
# 339 x 284 units of the dialog; Wine's frame is 3 px, its caption 19 px.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
x=$((3 + 151 * (WIDTH - 6) / 339))
y=$((22 + 18 * (HEIGHT - 25) / 284))
xdotool mousemove --window "$dialog" "$x" "$y" click 1
chooser=$(timeout 30 xdotool search --sync --onlyvisible --name '^Choose APRS-Symbol$' | head -n 1)
[ -n "$chooser" ] || { echo "the symbol chooser did not open" >&2; exit 1; }
sleep 1
snap "$chooser" "$outdir/screenshot-chooser.png"

# The chooser ends only with a pick: two presses on the picture. Then the dialog closes.
xdotool mousemove --window "$chooser" 30 45 click 1 sleep 0.3 click 1
sleep 0.5
xdotool windowfocus --sync "$dialog" key alt+F4
wait "$program_pid" || true
program_pid=
