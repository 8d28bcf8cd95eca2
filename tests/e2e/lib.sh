# Sourced by the whole-program tests: start the cube under a private X
# server, answer its question, find its window, end it.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/xvfb.sh"

fail() {
  echo "FAIL: $*" >&2
  echo "--- program output:" >&2; cat "$E2E_LOG" >&2
  [ -n "${DISPLAY:-}" ] && xwininfo -root -tree 2>/dev/null | grep -E "\"" >&2
  exit 1
}

# wait_for CMD...: retries CMD for up to 10 s.
wait_for() {
  for _ in $(seq 1 200); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}

wait_for_short() {
  for _ in $(seq 1 10); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}

box_window() { xwininfo -root -tree | awk '/"Video!"/{print $1; exit}' | grep .; }
main_window() { xdotool search --name "Zoze di velak v1.0" 2>/dev/null | head -1 | grep .; }

# start_cube PROGRAM ANSWER [FOLDER]: starts the program in FOLDER (its own
# by default), answers the question with ANSWER (Return = Yes, Escape = No)
# and sets CUBE_PID and WIN.
start_cube() {
  local program="$1" answer="$2" folder="${3:-$(dirname "$1")}"
  program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"
  (cd "$folder" && exec "$program") >"$E2E_LOG" 2>&1 &
  CUBE_PID=$!
  wait_for box_window || fail "no question box"
  # The box may take a moment to listen after it appears: repeat the key
  # until it is answered.
  local box
  box=$(box_window)
  for _ in $(seq 1 50); do
    xdotool key --window "$box" "$answer" 2>/dev/null
    wait_for_short main_window && break
  done
  main_window >/dev/null || fail "no main window"
  WIN=$(main_window)
}

# window_geometry: prints "WIDTHxHEIGHT+X+Y" of $WIN.
window_geometry() {
  xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}'
}

# expect_geometry GEOMETRY: waits until $WIN has been placed there.
expect_geometry() {
  geometry_is() { [ "$(window_geometry)" = "$1" ]; }
  wait_for geometry_is "$1" || fail "geometry $(window_geometry), not $1"
}

# wait_exit: waits up to 10 s for the program and sets EXIT_CODE.
wait_exit() {
  for _ in $(seq 1 200); do
    kill -0 "$CUBE_PID" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$CUBE_PID" 2>/dev/null; then
    kill "$CUBE_PID"
    EXIT_CODE="still running"
    return
  fi
  wait "$CUBE_PID"
  EXIT_CODE=$?
}

E2E_LOG="$(mktemp)"
trap 'stop_xvfb; rm -f "$E2E_LOG"' EXIT
