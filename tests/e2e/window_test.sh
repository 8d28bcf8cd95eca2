#!/usr/bin/env bash
# The program as a person starts and ends it. Usage: window_test.sh CASE PROGRAM [WM_CLOSE]
set -uo pipefail
case_name="$1" program="$2" wm_close="${3:-}"
. "$(dirname "$0")/lib.sh"

# answer_and_check ANSWER GEOMETRY: answers the question, checks the window,
# leaves with Escape.
answer_and_check() {
  start_xvfb
  start_cube "$program" "$1"
  expect_geometry "$2"
  # The icon file's 32-pixel image is the window's icon (its 256-pixel one
  # is within what an icon may be).
  if [ -z "${E2E_WINE:-}" ]; then
    xprop -id "$WIN" _NET_WM_ICON | grep -q "Icon (32 x 32)" || fail "the window has no icon"
  fi
  press "$WIN" Escape
  wait_exit; [ "$EXIT_CODE" = 0 ] || fail "exit code after Escape"
}

case "$case_name" in
  windowed) answer_and_check Escape 799x600+560+240 ;;
  fullscreen) answer_and_check Return 1919x1080+0+0 ;;
  close)
    start_xvfb
    start_cube "$program" Escape
    "$wm_close" "$WIN" || fail "could not send the close request"
    wait_exit; [ "$EXIT_CODE" = 0 ] || fail "exit code after closing"
    ;;
  nodisplay)
    (cd "$(dirname "$program")" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "./$(basename "$program")") >"$E2E_LOG" 2>&1 &
    CUBE_PID=$!
    wait_exit; [ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE without a display"
    grep -q "Errore di registro per la rispettiva applicazione!" "$E2E_LOG" || fail "no message: $(cat "$E2E_LOG")"
    ;;
  *) fail "unknown case $case_name" ;;
esac
echo "passed: $case_name"
