# shellcheck shell=bash
# Sourced by the whole-program tests: start the cube under a private X
# server, answer its question, find its window, end it.
#
# With E2E_WINE set, the program is a Windows one run by Wine. One Wine
# session serves one display, so such tests use the display the test run
# gives them; and Wine takes only real key presses (XTEST) into the window
# that has the focus.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/xvfb.sh"

# What the tests rely on, whatever the desktop they run on says: SDL's
# choice of driver on the tests' own X server, no Wayland, the C locale.
unset WAYLAND_DISPLAY SDL_VIDEODRIVER LC_ALL LC_MESSAGES LC_CTYPE LANGUAGE
export LANG=C.UTF-8

if [ -n "${E2E_WINE:-}" ]; then
  E2E_RUN=wine
  start_xvfb() { [ -n "${DISPLAY:-}" ] || { echo "Wine tests need a display" >&2; return 1; }; }
else
  E2E_RUN=
fi

# start_window_manager: openbox on the test's X server, once it manages.
start_window_manager() {
  openbox --sm-disable >/dev/null 2>&1 </dev/null &
  wait_for wm_ready || fail "openbox did not start"
}
wm_ready() { x_query xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }

# press WINDOW KEY: the key pressed into the window, as a person would.
press() {
  if [ -n "${E2E_WINE:-}" ]; then
    timeout -k 1 5 xdotool windowfocus "$1" 2>/dev/null
    timeout -k 1 5 xdotool key "$2"
  else
    timeout -k 1 5 xdotool key --window "$1" "$2"
  fi
}

# run_in FOLDER PROGRAM: starts PROGRAM (a path) in FOLDER in the background,
# its output in the log, and sets CUBE_PID.
run_in() {
  local folder="$1" program
  program="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
  watchdog
  (cd "$folder" && exec $E2E_RUN "$program") >"$E2E_LOG" 2>&1 &
  CUBE_PID=$!
}

fail() {
  echo "FAIL: $*" >&2
  echo "--- program output:" >&2; cat "$E2E_LOG" >&2
  [ -n "${DISPLAY:-}" ] && x_query xwininfo -root -tree | grep -E "\"" >&2
  exit 1
}

# wait_for CMD...: retries CMD for up to 10 s (wait_for_short: half a
# second).
wait_for() { retry 200 "$@"; }
wait_for_short() { retry 10 "$@"; }
retry() {
  local tries="$1"
  shift
  for _ in $(seq 1 "$tries"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}

# x_query CMD...: the output of CMD, a walk over the window tree, from a
# walk that reached its end: one that dies with an X error (a window went
# away under it, as the box and Wine's windows do) is repeated, never taken
# for a tree without the window looked for. Each walk is bounded in time:
# an X client waits without end while another (Wine) holds the server.
x_query() {
  local err="$E2E_LOG.x" out rc
  for _ in $(seq 1 20); do
    out="$(timeout -k 1 5 "$@" 2>"$err")"
    rc=$?
    if ! grep -q "X Error" "$err"; then
      rm -f "$err"
      [ -z "$out" ] || printf '%s\n' "$out"
      return $rc
    fi
  done
  rm -f "$err"
  return 1
}

# box_picture WINDOW FILE: a screenshot of the box once it is drawn (two in
# a row alike, not blank).
box_picture() {
  local last="$2.last"
  for _ in $(seq 1 40); do
    sleep 0.1
    timeout -k 1 5 import -window "$1" "$2" 2>/dev/null || continue
    if [ -f "$last" ] && [ "$(compare -metric AE "$2" "$last" null: 2>&1)" = 0 ] &&
      [ "$(convert "$2" -format "%[fx:standard_deviation > 0]" info:)" = 1 ]; then
      rm -f "$last"
      return 0
    fi
    mv "$2" "$last"
  done
  rm -f "$last"
  return 1
}

# window_named NAME: the first window of that name (a box by its caption).
window_named() { x_query xwininfo -root -tree | awk -v name="\"$1\"" 'index($0, name) {print $1; exit}' | grep .; }
box_window() { window_named "Video!"; }
main_window() { x_query xdotool search --name "Zoze di velak v1.0" | head -1 | grep .; }
demo_window() { x_query xdotool search --name "^Vitrum demo" | head -1 | grep .; }

# start_cube PROGRAM ANSWER [FOLDER]: starts the program in FOLDER (its own
# by default), answers the question with ANSWER (Return = Yes, Escape = No)
# and sets CUBE_PID and WIN.
start_cube() {
  local program="$1" answer="$2" folder="${3:-$(dirname "$1")}"
  run_in "$folder" "$program"
  wait_for box_window || fail "no question box"
  # Wine's box answers to its buttons' letters.
  [ -z "${E2E_WINE:-}" ] || case "$answer" in Return) answer=y ;; Escape) answer=n ;; esac
  # The box may take a moment to listen after it appears: repeat the key
  # until it is answered.
  local box
  box=$(box_window)
  for _ in $(seq 1 50); do
    press "$box" "$answer" 2>/dev/null
    wait_for_short main_window && break
  done
  WIN=$(main_window) || fail "no main window"
}

# window_geometry: prints "WIDTHxHEIGHT+X+Y" of $WIN.
window_geometry() {
  timeout -k 1 5 xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}'
}

# frame_geometry: "WIDTHxHEIGHT+X+Y" of the frame a window manager put
# round $WIN; frame_centred WIDTHxHEIGHT: $WIN has that size, its frame
# centred on the 1920 x 1080 screen to half a pixel; fitted OUTER CLIENT
# HEIGHT: the window's outer rectangle OUTER ("WIDTHxHEIGHT+X+Y") lies on
# the screen at least HEIGHT tall, its client area CLIENT 4:3 less the
# placing column.
frame_geometry() { WIN="$(timeout -k 1 5 xwininfo -id "$WIN" -tree | awk '/Parent window id/{print $4}')" window_geometry; }
frame_centred() {
  local w h x y
  [ "$(window_geometry | cut -d+ -f1)" = "$1" ] || return 1
  IFS='x+' read -r w h x y <<<"$(frame_geometry)"
  [ $(((2 * x + w - 1920) ** 2)) -le 1 ] && [ $(((2 * y + h - 1080) ** 2)) -le 1 ]
}
fitted() {
  local w h x y cw ch
  IFS='x+' read -r w h x y <<<"$1"
  IFS='x+' read -r cw ch _ <<<"$2"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1920 ] && [ $((y + h)) -le 1080 ] && [ "$h" -ge "$3" ] &&
    [ $(((cw + 1) * 3 - ch * 4)) -le 4 ] && [ $((ch * 4 - (cw + 1) * 3)) -le 4 ]
}

# expect_geometry WIDTHxHEIGHT+X+Y: waits until $WIN, the client area, has
# that size and its top-left corner at (X, Y), centred on the screen. Under
# Wine the X window is the client area alone, centred with a frame that no
# window manager draws: the corner lies up to a caption's height lower.
expect_geometry() {
  geometry_is() {
    local want="$1" got
    got="$(window_geometry)"
    [ "$got" = "$want" ] && return 0
    [ -n "${E2E_WINE:-}" ] || return 1
    local ws="${want%%+*}" gs="${got%%+*}" wx wy gx gy
    IFS=+ read -r _ wx wy <<<"$want"
    IFS=+ read -r _ gx gy <<<"$got"
    [ "$ws" = "$gs" ] && [ "$gx" = "$wx" ] && [ "$gy" -ge "$wy" ] && [ "$gy" -le $((wy + 40)) ]
  }
  wait_for geometry_is "$1" || fail "geometry $(window_geometry), not $1"
}

# The start picture in a 799 x 600 window at 100 %: window pixels of
# sticker centres under the start view (45, 225) and their colours.
START_PICTURE="359,265,white 400,214,white 454,180,white 317,359,blue 310,304,blue 429,404,red 483,359,red 531,319,red"

# scaled SCALE X,Y[,COLOUR] ...: the points (probes) of a window at 100 %
# where a window at SCALE has them, SCALED_X and SCALED_Y pixels from its
# corner (0).
scaled() {
  local s="$1"
  shift
  awk -v s="$s" -v ox="${SCALED_X:-0}" -v oy="${SCALED_Y:-0}" 'BEGIN { for (i = 1; i < ARGC; i++) { n = split(ARGV[i], f, ",")
    printf "%s%d,%d%s", (i > 1 ? " " : ""), ox + f[1] * s, oy + f[2] * s, (n > 2 ? "," f[3] : "") } print "" }' "$@"
}

# set_desktop_scale DPI: the scale an X11 desktop publishes (96 is 100 %).
set_desktop_scale() {
  timeout -k 1 5 xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$1"
}

# expect_pixels WHAT X,Y,COLOUR ...: waits until $WIN shows those colours,
# looked at by the script's $probe; WHAT names the picture when it fails.
expect_pixels() {
  local what="$1"
  shift
  wait_for "$probe" check "$WIN" "$@" || { "$probe" check "$WIN" "$@"; fail "$what is not as expected"; }
}

# broken_copy FOLDER: the program's files in FOLDER, its first image broken.
broken_copy() {
  mkdir -p "$1"
  cp -r "$(dirname "$program")/immagini" "$(dirname "$program")/zoze.ico" "$1/"
  printf '\0\0\2\0\0\0\0\0\0\0\0\0\4\0\4\0\40\10' > "$1/immagini/uno.tga"
}

# expect_owned BOX: the box belongs to $WIN, so window managers keep it
# above the window.
expect_owned() {
  xprop -id "$1" WM_TRANSIENT_FOR | grep -q "$(printf '%#x' "$WIN")" ||
    fail "the box is not the window's: $(xprop -id "$1" WM_TRANSIENT_FOR)"
}

# leave: Escape ends the program, with exit code 0.
leave() {
  press "$WIN" Escape
  wait_exit
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after Escape"
}

# wait_exit [TICKS]: waits up to 10 s (TICKS of 50 ms) for the program and
# sets EXIT_CODE.
wait_exit() {
  for _ in $(seq 1 "${1:-200}"); do
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

# A test still running 45 s after it started the program (none takes 10)
# hangs: the processes and windows then go to its output, to show where.
# The watchdog holds none of the test's streams open and ends with it. A
# benchmark, which runs for minutes, sets E2E_NO_WATCHDOG.
watchdog() {
  [ -z "${E2E_NO_WATCHDOG:-}${WATCHDOG_PID:-}" ] || return 0
  local test_pid=$$ log="/proc/$$/fd/2"
  (
    for _ in $(seq 1 45); do
      sleep 1
      kill -0 "$test_pid" 2>/dev/null || exit 0
    done
    {
      echo "--- still running after 45 s; the processes:"
      ps -e --forest -o pid,stat,wchan:24,etime,args | grep -v -E "\[.*\]$"
      echo "--- the window tree:"
      timeout -k 1 5 xwininfo -root -tree | grep -E "\"" || echo "(no answer from the X server)"
    } >"$log" 2>&1
  ) </dev/null >/dev/null 2>&1 &
  WATCHDOG_PID=$!
}

E2E_LOG="$(mktemp)"
trap 'stop_xvfb; rm -f "$E2E_LOG"' EXIT
