#!/usr/bin/env bash
# The share of one core the cube program uses (the process and all its
# threads, from /proc) over SECONDS in each state: idle in a window, idle
# full screen, the pointer moving over the cube (away from the controls) at
# 20 motions a second, a view drag at the same rate, and a turn control
# held. Each state is run with the program as built (resting while nothing
# moves) and with its baseline build that draws every frame, alternating,
# on a private X server. Prints figures, asserts nothing.
# Usage: idle_bench.sh PROGRAM BASELINE [SECONDS]
set -uo pipefail
program="$1" baseline="$2" seconds="${3:-10}"
E2E_NO_WATCHDOG=1
. "$(dirname "$0")/../tests/e2e/lib.sh"

ticks_per_second=$(getconf CLK_TCK)

# cpu_ticks PID: user and system time of the process and its threads.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# moves X0 Y X1: xdotool arguments moving the pointer from X0 to X1 along
# row Y at 20 motions a second for the measured time.
moves() {
  local x0="$1" y="$2" x1="$3" n=$((seconds * 20)) i args=()
  for ((i = 0; i < n; i++)); do
    args+=(mousemove --window "$WIN" $((x0 + (x1 - x0) * (i % 40) / 40)) "$y" sleep 0.05)
  done
  echo "${args[@]}"
}

# measure PROGRAM ANSWER STATE: starts the program, brings it into STATE,
# and prints the share of one core it used over the measured time.
measure() {
  local binary="$1" answer="$2" state="$3" t0 t1 driver=""
  start_cube "$binary" "$answer"
  sleep 1
  case "$state" in
    moving) xdotool mousemove --window "$WIN" 250 330 ;;
    dragging) xdotool mousemove --window "$WIN" 100 500 mousedown 1 ;;
    held) xdotool mousemove --window "$WIN" 704 372 mousedown 1 ;;
  esac
  case "$state" in
    moving)
      # shellcheck disable=SC2046
      xdotool $(moves 250 330 550) &
      driver=$!
      ;;
    dragging)
      # shellcheck disable=SC2046
      xdotool $(moves 100 500 300) &
      driver=$!
      ;;
  esac
  t0=$(cpu_ticks "$CUBE_PID")
  sleep "$seconds"
  t1=$(cpu_ticks "$CUBE_PID")
  [ -n "$driver" ] && { kill "$driver" 2>/dev/null; wait "$driver" 2>/dev/null; }
  case "$state" in dragging | held) xdotool mouseup 1 ;; esac
  press "$WIN" Escape
  wait_exit
  awk -v t=$((t1 - t0)) -v hz="$ticks_per_second" -v s="$seconds" 'BEGIN {printf "%5.1f %%", 100 * t / hz / s}'
}

start_xvfb
echo "share of one core over $seconds s (resting build, then the build that draws every frame)"
for state in idle-window idle-fullscreen moving dragging held; do
  answer=Escape
  [ "$state" = idle-fullscreen ] && answer=Return
  kind="${state%%-*}"
  resting=$(measure "$program" "$answer" "$kind")
  drawing=$(measure "$baseline" "$answer" "$kind")
  printf '%-16s %s   %s\n' "$state" "$resting" "$drawing"
done
