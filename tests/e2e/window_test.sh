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
  # is within what an icon may be); docks know the window by its class,
  # which the desktop entry names; the frame offers moving, minimising and
  # closing only (the Motif hints' functions: 0x2c).
  if [ -z "${E2E_WINE:-}" ]; then
    xprop -id "$WIN" _NET_WM_ICON | grep -q "Icon (32 x 32)" || fail "the window has no icon"
    class="$(sed -n 's/^StartupWMClass=//p' "$here/../../data/org.zozedivelak.zoze.desktop")"
    xprop -id "$WIN" WM_CLASS | grep -q "\"$class\"\$" || fail "class $(xprop -id "$WIN" WM_CLASS), not $class"
    if [ "$1" = Escape ]; then
      xprop -id "$WIN" _MOTIF_WM_HINTS | grep -q "= 0x3, 0x2c," || fail "frame: $(xprop -id "$WIN" _MOTIF_WM_HINTS)"
    fi
  fi
  leave
}

case "$case_name" in
  windowed) answer_and_check Escape 799x600+560+240 ;;
  fullscreen)
    # Under Wine the X window is the whole window: the client area covers
    # the screen and the thin border lies just outside it.
    if [ -n "${E2E_WINE:-}" ]; then answer_and_check Return 1921x1082+-1+-1; else answer_and_check Return 1919x1080+0+0; fi
    ;;
  close)
    start_xvfb
    start_cube "$program" Escape
    "$wm_close" "$WIN" || fail "could not send the close request"
    wait_exit; [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after closing"
    ;;
  language)
    # The box answers in the desktop's language where its locale is
    # installed (here one of the test's own): the Italian box differs from
    # the English one, and LC_ALL, first of the three, makes it English.
    start_xvfb
    locales="$(mktemp -d)"
    localedef -i it_IT -f UTF-8 "$locales/it_IT.UTF-8" >/dev/null 2>&1 || fail "no Italian locale could be made"
    for run in "it LANG=it_IT.UTF-8" "en LANG=C.UTF-8" "both LC_ALL=C.UTF-8 LANG=it_IT.UTF-8"; do
      read -r lang settings <<<"$run"
      # shellcheck disable=SC2086
      (cd "$(dirname "$program")" && exec env LOCPATH="$locales" $settings "./$(basename "$program")") >"$E2E_LOG" 2>&1 &
      CUBE_PID=$!
      wait_for box_window || fail "no question box for $lang"
      box_picture "$(box_window)" "$locales/$lang.png" || fail "the box for $lang was not drawn"
      kill "$CUBE_PID"
      wait_exit
    done
    italian="$(compare -metric AE "$locales/it.png" "$locales/en.png" null: 2>&1)"
    first="$(compare -metric AE "$locales/both.png" "$locales/en.png" null: 2>&1)"
    rm -rf "$locales"
    [ "$italian" != 0 ] || fail "the Italian box is English"
    [ "$first" = 0 ] || fail "LC_ALL did not come first"
    ;;
  signals)
    # A signal ends the program within a second at any moment, and its box
    # goes with it: at the question (SIGTERM) and under an error box about a
    # broken image (SIGINT) at once, as a shell reports it; in the frame loop
    # (SIGHUP) through the close path.
    start_xvfb
    broken="$(mktemp -d)"
    broken_copy "$broken"
    ends_within_a_second() {
      kill -s "$1" "$CUBE_PID"
      wait_exit 20
      [ "$EXIT_CODE" = "$2" ] || fail "exit code $EXIT_CODE a second after SIG$1, not $2"
      wait_for_short no_box || fail "a box outlived its program after SIG$1"
    }
    no_box() { ! window_named "Video!" && ! window_named ERROR; }
    run_in "$(dirname "$program")" "$program"
    wait_for box_window || fail "no question box"
    ends_within_a_second TERM 143
    start_cube "$program" Escape "$broken"
    wait_for window_named ERROR || fail "no box about the broken image"
    expect_owned "$(window_named ERROR)"
    ends_within_a_second INT 130
    rm -rf "$broken"
    start_cube "$program" Escape
    ends_within_a_second HUP 0
    # A storm of signals on the close path ends it as the first would.
    start_cube "$program" Escape
    storm_end=$((SECONDS + 2))
    while [ $SECONDS -lt $storm_end ]; do kill -s TERM "$CUBE_PID" 2>/dev/null; done
    wait_exit
    [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after a storm of SIGTERM, not 0"
    ;;
  desktop)
    # What a desktop with a window manager (openbox) does to the program.
    start_xvfb
    start_window_manager
    # A question closed by the window manager answers as Escape does: No,
    # a window, its frame centred on the screen; a scale that is no plain
    # number is 100 %; a copy of the program under another name keeps the
    # class its desktop entry names.
    copy="$(mktemp -d)"
    cp -r "$(dirname "$program")/immagini" "$(dirname "$program")/zoze.ico" "$copy/"
    cp "$program" "$copy/cubo"
    set_desktop_scale 144abc
    run_in "$copy" "$copy/cubo"
    wait_for box_window || fail "no question box"
    "$wm_close" "$(box_window)" || fail "could not close the question"
    wait_for main_window || fail "no main window after the question was closed"
    WIN=$(main_window)
    wait_for frame_centred 799x600 || fail "frame $(frame_geometry) not centred round a 799x600 client"
    xprop -id "$WIN" WM_CLASS | grep -q '"zoze"$' || fail "class $(xprop -id "$WIN" WM_CLASS) for a renamed copy"
    # A press the desktop takes away ends: a turn control held, the window
    # minimised, the button released meanwhile, the window restored, and the
    # layer stands still.
    xdotool mousemove --window "$WIN" 704 372 mousedown 1 sleep 0.5 windowminimize "$WIN" sleep 0.3 mouseup 1
    wmctrl -i -a "$WIN"
    sleep 0.5
    import -window "$WIN" "$copy/a.png" && sleep 1 && import -window "$WIN" "$copy/b.png" || fail "no screenshots"
    moved="$(compare -metric AE "$copy/a.png" "$copy/b.png" null: 2>&1)"
    [ "$moved" = 0 ] || fail "the layer went on turning after its press was taken away ($moved pixels changed)"
    leave
    # At 200 % a 1920 x 1080 screen has no room for the window: it is as
    # large as fits, its frame on the screen, still 4:3.
    set_desktop_scale 192
    start_cube "$program" Escape
    frame_fits() { fitted "$(frame_geometry)" "$(window_geometry)" 1080; }
    wait_for frame_fits || fail "frame $(frame_geometry) round $(window_geometry): off the screen, short of it or not 4:3"
    leave
    set_desktop_scale 96
    # A signal while the images load ends the program, though a box about a
    # broken image would follow.
    broken_copy "$copy"
    { printf '\0\0\2\0\0\0\0\0\0\0\0\0\0\20\0\20\40\10'; head -c 67108864 /dev/zero; } > "$copy/immagini/colore.tga"
    run_in "$copy" "$program"
    wait_for box_window || fail "no question box"
    press "$(box_window)" Escape
    wait_for main_window || fail "no main window"
    kill -s TERM "$CUBE_PID"
    wait_exit 60
    rm -rf "$copy"
    [ "$EXIT_CODE" = 143 ] || fail "exit code $EXIT_CODE after SIGTERM while loading, not 143"
    ! window_named ERROR || fail "a box came up after the signal"
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
