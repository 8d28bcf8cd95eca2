#!/usr/bin/env bash
# A person plays: answers No, holds the X turn control until the right layer
# has made one quarter turn, drags the view round, looks at the colours and
# leaves with Escape. With E2E_SCALE (1.5, say) the desktop publishes that
# scale: the window, and every place looked at or clicked, are as much
# larger, and a drag turns the view as far for as many pixels.
# Usage: play_test.sh PROGRAM X_PROBE [SCREENSHOT-FOLDER]
# The probes' lists are split into words on purpose:
# shellcheck disable=SC2046
set -uo pipefail
program="$1" probe="$2" shots="${3:-}"
. "$(dirname "$0")/lib.sh"
scale="${E2E_SCALE:-1}"

start_xvfb
[ "$scale" = 1 ] || set_desktop_scale "$(awk -v s="$scale" 'BEGIN {print 96 * s}')" || fail "could not set the scale"
start_cube "$program" Escape
# 800 x 600 at the scale, a column less once placed, centred on the screen.
expect_geometry "$(awk -v s="$scale" 'BEGIN { w = int(800 * s + 0.5); h = int(600 * s + 0.5)
  printf "%dx%d+%d+%d", w - int(w / h), h, 960 - w / 2, 540 - h / 2 }')"

# The first frames may take a while (a sanitizer build starts slowly).
expect_pixels "the solved cube" $(scaled "$scale" $START_PICTURE)

# Hold the first X control (layer 2, +6 a step) until the top row of the
# right layer shows the back face's red and the back face of the layer the
# bottom's yellow: only the layer standing square after a committed quarter
# turn shows both. The top row of the right layer, the rest of the top, the
# right (+X) face and the back (-Z) face, layers 2, 1, 0.
"$probe" hold "$WIN" "$(scaled "$scale" 704,372)" 30 $(scaled "$scale" 429,404,yellow 359,265,red 321,239,red 400,294,red 285,214,red) ||
  fail "no quarter turn within 30 s"
expect_pixels "the turned cube" $(scaled "$scale" 359,265,red 321,239,red 400,294,red 400,214,white 454,180,white 317,359,blue 429,404,yellow 483,359,red 531,319,red)
[ -n "$shots" ] && import -window "$WIN" "$shots/after-turn.png"

# Drag the view a quarter turn about the vertical axis: 90 pixels at one
# degree a pixel. The front (+Z) face comes into view on the left, with the
# turned layer's column white; the right (+X) face moves to the right.
IFS=, read -r x y <<<"$(scaled "$scale" 100,500)"
xdotool mousemove --window "$WIN" "$x" "$y" mousedown 1
for dx in 30 60 90; do xdotool mousemove --window "$WIN" $((x + dx)) "$y"; done
xdotool mouseup 1
expect_pixels "the turned view" $(scaled "$scale" 317,359,orange 269,319,orange 371,404,white 373,450,white 483,359,blue 542,263,blue 461,252,red 515,214,red 346,180,white)
[ -n "$shots" ] && import -window "$WIN" "$shots/after-drag.png"

leave
echo "passed: play at scale $scale"
