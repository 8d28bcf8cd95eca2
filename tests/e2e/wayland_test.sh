#!/usr/bin/env bash
# The program as a player who sets SDL_VIDEODRIVER=wayland meets it, on
# weston (its X11 backend in the test's own X server) at SCALE 1 or 2: the
# question (SDL's X11 box on that server), the desktop entry's app id, the
# picture drawn at the output's pixels (a GL surface SCALE times the
# window), a held turn control, a drag; answered Yes, a full-screen surface
# of the output; Escape ends with 0.
# Usage: wayland_test.sh SCALE PROGRAM X_PROBE
# The probes' lists are split into words on purpose:
# shellcheck disable=SC2046
set -uo pipefail
scale="$1" program="$2" probe="$3"
. "$(dirname "$0")/lib.sh"

command -v weston >/dev/null || { echo "skipped: weston is not installed"; exit 0; }
runtime="$(mktemp -d)"
trap 'kill "${WESTON_PID:-}" 2>/dev/null; stop_xvfb; rm -rf "$runtime" "$E2E_LOG"' EXIT
export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=zoze-test
E2E_RUN="env SDL_VIDEODRIVER=wayland WAYLAND_DEBUG=client"
# An output of 1280 x 800 points; weston's X window has as many pixels.
start_xvfb "$((1280 * scale))x$((800 * scale))"
weston --backend=x11-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --debug --no-config \
  --width=1280 --height=800 --scale="$scale" >"$runtime/weston.log" 2>&1 &
WESTON_PID=$!
weston_window() { x_query xwininfo -root -tree | awk '/"Weston Compositor/ {print $1; exit}' | grep .; }
wait_for test -S "$runtime/$WAYLAND_DISPLAY" && wait_for weston_window ||
  { echo "skipped: weston cannot start here"; cat "$runtime/weston.log"; exit 0; }

# The program's window on weston: "X1 Y1 X2 Y2 APP-ID" in the output's
# points, from weston's scene graph; the main window is weston's X window
# once it is there, the probes' points as many pixels from its corner.
toplevel() {
  timeout -k 1 5 weston-debug scene-graph 2>/dev/null | awk '
    /top-level window .Zoze di velak v1.0. of / { found = match($0, / of [^,]+,/); id = substr($0, RSTART + 4, RLENGTH - 5); next }
    found && /position:/ { gsub(/[(),]/, " "); print $2, $3, $5, $6, id; exit }' | grep .
}
main_window() { toplevel >/dev/null && weston_window; }
start_on_weston() {
  start_cube "$program" "$1"
  read -r x1 y1 x2 y2 app <<<"$(toplevel)"
  SCALED_X=$((x1 * scale)) SCALED_Y=$((y1 * scale))
}

start_on_weston Escape
[ "$app" = org.zozedivelak.zoze ] || fail "app id $app, not the desktop entry's"
[ "$scale" = 1 ] || grep -q "set_buffer_scale($scale)" "$E2E_LOG" || fail "the picture is not drawn at the output's scale"
# The pointer comes into weston's window from outside once.
xdotool mousemove 0 0 mousemove --window "$WIN" $(scaled "$scale" 400,300 | tr , ' ')
expect_pixels "the start picture" $(scaled "$scale" $START_PICTURE)
"$probe" hold "$WIN" "$(scaled "$scale" 704,372)" 30 $(scaled "$scale" 429,404,yellow 359,265,red 321,239,red) ||
  fail "no quarter turn within 30 s"
# A quarter turn about the vertical: 90 pixels at one degree a pixel.
IFS=, read -r px py <<<"$(scaled "$scale" 100,500)"
xdotool mousemove --window "$WIN" "$px" "$py" mousedown 1
for dx in 30 60 90; do xdotool mousemove --window "$WIN" $((px + dx)) "$py"; done
xdotool mouseup 1
expect_pixels "the turned view" $(scaled "$scale" 317,359,orange 269,319,orange 483,359,blue 542,263,blue)
leave

start_on_weston Return
[ "$x1,$y1,$x2,$y2" = 0,0,1280,800 ] || fail "full screen is $x1,$y1 to $x2,$y2 in points, not the output"
leave
echo "passed: wayland at scale $scale"
