#!/usr/bin/env bash
# The program as a player who sets SDL_VIDEODRIVER=wayland meets it: on
# weston (its X11 backend, inside the test's own X server) at SCALE 1 or 2.
# The question comes up (SDL's X11 box on that server), the
# window's app id is the desktop entry's, the start picture is drawn at the
# output's pixels (a GL surface of SCALE times the window), a held turn
# control turns the layer, a drag turns the view; answered Yes, the window
# is a full-screen surface of the output; Escape ends with 0.
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
# An output of 1280 x 800 points, room for the window at any scale; weston's
# X window is as many pixels as it has.
start_xvfb "$((1280 * scale))x$((800 * scale))"
weston --backend=x11-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --debug --no-config \
  --width=1280 --height=800 --scale="$scale" >"$runtime/weston.log" 2>&1 &
WESTON_PID=$!
weston_window() { x_query xwininfo -root -tree | awk '/"Weston Compositor/ {print $1; exit}' | grep .; }
wait_for test -S "$runtime/$WAYLAND_DISPLAY" && wait_for weston_window ||
  { echo "skipped: weston cannot start here"; cat "$runtime/weston.log"; exit 0; }

# toplevel: "X1 Y1 X2 Y2 APP-ID" of the program's window in the output's
# points, from weston's scene graph.
toplevel() {
  timeout -k 1 5 weston-debug scene-graph 2>/dev/null | awk '
    /top-level window .Zoze di velak v1.0. of / { found = match($0, / of [^,]+,/); id = substr($0, RSTART + 4, RLENGTH - 5); next }
    found && /position:/ { gsub(/[(),]/, " "); print $2, $3, $5, $6, id; exit }'
}
# at X,Y[,COLOUR] ...: window pixels at the scale, as points of weston's
# X window, where the window stands.
at() { awk -v s="$scale" -v ox="$ox" -v oy="$oy" 'BEGIN { for (i = 1; i < ARGC; i++) { n = split(ARGV[i], f, ",")
  printf "%s%d,%d%s", (i > 1 ? " " : ""), ox + f[1] * s, oy + f[2] * s, (n > 2 ? "," f[3] : "") } print "" }' "$@"; }

start_on_weston() {
  (cd "$(dirname "$program")" && exec env SDL_VIDEODRIVER=wayland WAYLAND_DEBUG=client \
    "./$(basename "$program")") >"$E2E_LOG" 2>&1 &
  CUBE_PID=$!
  wait_for box_window || fail "no question box"
  local box
  box=$(box_window)
  for _ in $(seq 1 50); do
    press "$box" "$1" 2>/dev/null
    wait_for_short test -n "$(toplevel)" && break
  done
  WIN=$(weston_window)
  read -r x1 y1 x2 y2 app <<<"$(toplevel)"
  [ -n "${app:-}" ] || fail "no window on weston"
  ox=$((x1 * scale)) oy=$((y1 * scale))
}

start_on_weston Escape
[ "$app" = org.zozedivelak.zoze ] || fail "app id $app, not the desktop entry's"
grep -q "set_buffer_scale($scale)" "$E2E_LOG" || [ "$scale" = 1 ] || fail "the GL surface is not drawn at the output's scale"
# The pointer comes into weston's window from outside once.
xdotool mousemove 0 0 mousemove --window "$WIN" $(at 400,300 | tr , ' ')
probe_window="$WIN"
expect_pixels "the start picture" $(at $START_PICTURE)
"$probe" hold "$probe_window" "$(at 704,372)" 30 $(at 429,404,yellow 359,265,red 321,239,red 400,294,red 285,214,red) ||
  fail "no quarter turn within 30 s"
IFS=, read -r px py <<<"$(at 100,500)"
xdotool mousemove --window "$WIN" "$px" "$py" mousedown 1
# A quarter turn about the vertical: 90 pixels at one degree a pixel.
for dx in 30 60 90; do xdotool mousemove --window "$WIN" $((px + dx)) "$py"; done
xdotool mouseup 1
expect_pixels "the turned view" $(at 317,359,orange 269,319,orange 483,359,blue 542,263,blue)
leave

start_on_weston Return
[ "$x1,$y1,$x2,$y2" = 0,0,1280,800 ] || fail "full screen is $x1,$y1 to $x2,$y2 in points, not the output"
leave
echo "passed: wayland at scale $scale"
