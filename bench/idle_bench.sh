#!/usr/bin/env bash
# What the cube program costs over SECONDS in each state: idle in a window,
# idle full screen, the pointer moving over the cube (away from the
# controls) at 20 motions a second, a button held still on the background,
# a view drag at 20 motions a second, and a turn control held. For each,
# the share of one core (the process and all its threads, from /proc), its
# wake-ups a second (voluntary and involuntary context switches of all its
# threads) and the frames it shows a second (its swaps, counted by
# COUNTER, a library loaded into it). Each state is run with the program as
# built (resting while nothing moves) and with its baseline build that draws
# every frame, alternating, on a private X server. Prints figures, asserts
# nothing.
# Usage: idle_bench.sh PROGRAM BASELINE COUNTER [SECONDS]
set -uo pipefail
program="$1" baseline="$2" counter="$3" seconds="${4:-10}"
E2E_NO_WATCHDOG=1
. "$(dirname "$0")/../tests/e2e/lib.sh"

ticks_per_second=$(getconf CLK_TCK)
swaps="$(mktemp)"
E2E_RUN="env LD_PRELOAD=$counter ZOZE_SWAP_COUNTER=$swaps"

# cpu_ticks PID: user and system time of the process and its threads.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# switches PID: context switches of all its threads.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {n += $2} END {print n}'; }
# swapped: the frames the program has shown.
swapped() { od -An -t u8 "$swaps" | tr -d ' '; }

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
# and prints its share of a core, wake-ups and frames a second.
measure() {
  local binary="$1" answer="$2" state="$3" t0 t1 w0 w1 f0 f1 driver=""
  : > "$swaps"
  start_cube "$binary" "$answer"
  sleep 1
  case "$state" in
    moving) xdotool mousemove --window "$WIN" 250 330 ;;
    still | dragging) xdotool mousemove --window "$WIN" 100 500 mousedown 1 ;;
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
  sleep 0.5
  t0=$(cpu_ticks "$CUBE_PID") w0=$(switches "$CUBE_PID") f0=$(swapped)
  sleep "$seconds"
  t1=$(cpu_ticks "$CUBE_PID") w1=$(switches "$CUBE_PID") f1=$(swapped)
  [ -n "$driver" ] && { kill "$driver" 2>/dev/null; wait "$driver" 2>/dev/null; }
  case "$state" in still | dragging | held) xdotool mouseup 1 ;; esac
  press "$WIN" Escape
  wait_exit
  awk -v t=$((t1 - t0)) -v hz="$ticks_per_second" -v s="$seconds" -v w=$((w1 - w0)) -v f=$((f1 - f0)) \
    'BEGIN {printf "%6.1f %% %7.1f %6.1f", 100 * t / hz / s, w / s, f / s}'
}

start_xvfb
echo "over $seconds s: share of one core, wake-ups a second, frames shown a second"
printf '%-16s %-28s %s\n' "" "resting build" "every-frame build"
for state in idle-window idle-fullscreen moving still dragging held; do
  answer=Escape
  [ "$state" = idle-fullscreen ] && answer=Return
  kind="${state%%-*}"
  resting=$(measure "$program" "$answer" "$kind")
  drawing=$(measure "$baseline" "$answer" "$kind")
  printf '%-16s %-28s %s\n' "$state" "$resting" "$drawing"
done
rm -f "$swaps"
