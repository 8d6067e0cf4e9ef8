# Sourced by the screenshot scripts: start_xvfb WORKDIR [WIDTHxHEIGHT] starts a
# private Xvfb on a free display (Xvfb picks it and writes it to fd 3), sets
# xvfb_pid and exports DISPLAY.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${2:-1024x768}x24" -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
    xvfb_pid=$!
    tries=0
    until [ -s "$1/display" ]; do
        tries=$((tries + 1))
        [ "$tries" -le 100 ] || { echo "Xvfb did not start" >&2; cat "$1/xvfb.log" >&2; exit 1; }
        sleep 0.1
    done
    DISPLAY=:$(cat "$1/display")
    export DISPLAY
}
