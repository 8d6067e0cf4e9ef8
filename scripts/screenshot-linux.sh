#!/bin/sh
# Takes a picture of the Linux dialog: runs the program in a private Xvfb (xcb),
# waits for its window and writes docs/screenshot-linux.png, cut to the window.
#   scripts/screenshot-linux.sh [path/to/korvelconfig] [output.png]
# Needs Xvfb, xdotool and ImageMagick (import, convert).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/linux/korvelconfig}
output=${2:-$root/docs/screenshot-linux.png}
[ -x "$program" ] || { echo "no program at $program (build the linux preset first)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

. "$root/scripts/xvfb.sh"
start_xvfb "$work"

# A runtime directory of its own, so a running instance does not refuse this one.
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
program_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvel Config V1\.12$' | head -n 1)
[ -n "$window" ] || { echo "the dialog did not appear" >&2; cat "$work/program.log" >&2; exit 1; }
sleep 1 # let it paint

eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root "$work/screen.png"
mkdir -p "$(dirname "$output")"
convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
echo "wrote $output (${WIDTH}x${HEIGHT})"
