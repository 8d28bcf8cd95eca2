#!/usr/bin/env bash
# A person tries the toolkit demo's image buttons: hovers the first over its
# disc and over its transparent corner, presses and releases it, and reads
# the status bar. Usage: demo_test.sh DEMO X_PROBE [SCREENSHOT-FOLDER]
set -uo pipefail
demo="$1" probe="$2" shots="${3:-}"
. "$(dirname "$0")/lib.sh"

start_xvfb
run_in "$(dirname "$demo")" "$demo"
wait_for demo_window || fail "no demo window"
WIN=$(demo_window)

# Button 1 stands at (24, 24), 96 x 96: a disc; its corner is transparent.
# Normal blue, hover green, pressed orange; the status bar's second part
# runs from x 220 to 440 along the bottom 22 rows of the 480-row window.
status_dark() {
  import -window "$WIN" "$E2E_LOG.png"
  convert "$E2E_LOG.png" -crop 200x16+230+460 -colorspace gray -threshold 40% -format "%[fx:mean]" info:
}
wait_for "$probe" check "$WIN" 44,72,blue 24,24,grey || fail "button at rest"
[ "$(status_dark)" = 1 ] || fail "the status bar's second part is not empty at start"

# Over the transparent corner nothing lights up; the disc then does.
xdotool mousemove --window "$WIN" 27 27
xdotool mousemove --window "$WIN" 72 80
wait_for "$probe" check "$WIN" 44,72,green || fail "no hover image over the disc"
[ -n "$shots" ] && import -window "$WIN" "$shots/demo-hover.png"
xdotool mousemove --window "$WIN" 27 27
wait_for "$probe" check "$WIN" 44,72,blue 27,27,grey || fail "the transparent corner kept the button lit"
xdotool mousemove --window "$WIN" 72 80
wait_for "$probe" check "$WIN" 44,72,green || fail "no hover image over the disc"
xdotool mousedown 1
wait_for "$probe" check "$WIN" 44,72,orange || fail "no pressed image"
[ -n "$shots" ] && import -window "$WIN" "$shots/demo-pressed.png"
xdotool mouseup 1
text_shown() { [ "$(status_dark)" != 1 ]; }
wait_for text_shown || fail "no text in the status bar after the click"
[ -n "$shots" ] && import -window "$WIN" "$shots/demo-clicked.png"
xdotool getwindowname "$WIN" | grep -q "^Vitrum demo" || fail "title"

leave
rm -f "$E2E_LOG.png"
echo "passed: demo"
