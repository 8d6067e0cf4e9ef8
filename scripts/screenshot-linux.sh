#!/bin/sh
# Takes a picture of the Linux dialog: runs the program in a private Xvfb (xcb),
# waits for its window and writes docs/screenshot-linux.png (at scale 2:
# docs/screenshot-linux-2x.png), cut to the window.
#   scripts/screenshot-linux.sh [path/to/korvelconfig] [output.png] [scale]
# Needs Xvfb, xdotool, ImageMagick (import, convert) and fonts-dejavu-core.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/linux/korvelconfig}
scale=${3:-1}
default_output=$root/docs/screenshot-linux.png
[ "$scale" = 1 ] || default_output=$root/docs/screenshot-linux-${scale}x.png
output=${2:-$default_output}
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
start_xvfb "$work" 1600x1200

# A network namespace of its own, where the instance lock (an abstract socket) is
# free, so a running instance does not refuse this one.
alone=
for try in "unshare -n" "unshare -rn"; do
    if $try true 2>/dev/null; then alone=$try; break; fi
done
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale $alone "$program" >"$work/program.log" 2>&1 &
program_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvel Config V1\.12$' | head -n 1)
[ -n "$window" ] || { echo "the dialog did not appear" >&2; cat "$work/program.log" >&2; exit 1; }
sleep 1 # let it paint

eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root "$work/screen.png"
mkdir -p "$(dirname "$output")"
convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
echo "wrote $output (${WIDTH}x${HEIGHT})"
