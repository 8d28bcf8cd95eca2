#!/usr/bin/env bash
# A person plays: answers No, holds the X turn control until the right layer
# has made one quarter turn, drags the view round, looks at the colours and
# leaves with Escape. Usage: play_test.sh PROGRAM X_PROBE [SCREENSHOT-FOLDER]
set -uo pipefail
program="$1" probe="$2" shots="${3:-}"
. "$(dirname "$0")/lib.sh"

start_xvfb
start_cube "$program" Escape
expect_geometry 799x600+560+240

# Window pixels of sticker centres under the start view (45, 225): the top
# row of the right layer, the rest of the top, the right (+X) face and the
# back (-Z) face, layers 2, 1, 0.
top_right_row="359,265 321,239 400,294 285,214"
# The first frames may take a while (a sanitizer build starts slowly).
solved="359,265,white 400,214,white 454,180,white 317,359,blue 310,304,blue 429,404,red 483,359,red 531,319,red"
wait_for "$probe" check "$WIN" $solved || { "$probe" check "$WIN" $solved; fail "the solved cube is not as expected"; }

# Hold the first X control (layer 2, +6 a step) until the top row of the
# right layer shows the back face's red and the back face of the layer the
# bottom's yellow: only the layer standing square after a committed quarter
# turn shows both.
probes="429,404,yellow"
for p in $top_right_row; do probes="$probes $p,red"; done
"$probe" hold "$WIN" 704,372 30 $probes || fail "no quarter turn within 30 s"
turned="359,265,red 321,239,red 400,294,red 400,214,white 454,180,white 317,359,blue 429,404,yellow 483,359,red 531,319,red"
wait_for "$probe" check "$WIN" $turned || { "$probe" check "$WIN" $turned; fail "the turned cube is not as expected"; }
[ -n "$shots" ] && import -window "$WIN" "$shots/after-turn.png"

# Drag the view a quarter turn about the vertical axis: 90 pixels at one
# degree a pixel. The front (+Z) face comes into view on the left, with the
# turned layer's column white; the right (+X) face moves to the right.
xdotool mousemove --window "$WIN" 100 500 mousedown 1
for x in 130 160 190; do xdotool mousemove --window "$WIN" "$x" 500; done
xdotool mouseup 1
dragged="317,359,orange 269,319,orange 371,404,white 373,450,white 483,359,blue 542,263,blue 461,252,red 515,214,red 346,180,white"
wait_for "$probe" check "$WIN" $dragged || { "$probe" check "$WIN" $dragged; fail "the turned view is not as expected"; }
[ -n "$shots" ] && import -window "$WIN" "$shots/after-drag.png"

press "$WIN" Escape
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after Escape"
echo "passed: play"
