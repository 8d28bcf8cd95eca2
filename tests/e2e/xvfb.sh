# shellcheck shell=bash
# Sourced: start_xvfb [WIDTHxHEIGHT] starts a private X server of that
# size (1920x1080) on a display number the server picks itself, exports
# DISPLAY and sets XVFB_PID;
# stop_xvfb ends it. The server must not reset when its last client leaves:
# a reset between the question box and the window makes the program fail
# to connect.
start_xvfb() {
  local fdfile
  fdfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 "${1:-1920x1080}x24" -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 200); do
    if [ -s "$fdfile" ]; then
      export DISPLAY=":$(head -1 "$fdfile")"
      rm -f "$fdfile"
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$fdfile"
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait "${XVFB_PID:-}" 2>/dev/null || true
}
