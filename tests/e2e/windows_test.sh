#!/usr/bin/env bash
# The Windows program as a Windows user meets it, under Wine:
#   scaled   on a screen at 150 % the window is 1.5 times as large and shows
#            the same picture, sharp
#   crowded  on a screen at 250 % without room for that, it is as large as
#            fits, still 4:3
#   folder   unpacked into a folder whose name holds Latin, Greek and CJK
#            letters, it finds its images started inside it and elsewhere
#   owned    a box over the window stays in front of it and takes the keys
#   msi      the installer installs silently, its Start-menu shortcut starts
#            the game, and removing it leaves no file behind
# Usage: windows_test.sh CASE PROGRAM X_PROBE [MSI]
set -uo pipefail
case_name="$1" program="$2" probe="$3" msi="${4:-}"
export E2E_WINE=1
. "$(dirname "$0")/lib.sh"

tmp="$(mktemp -d)"
cleanup() {
  if [ -n "${PRIVATE_PREFIX:-}" ]; then
    WINEPREFIX="$PRIVATE_PREFIX" wineserver -k 2>/dev/null
    WINEPREFIX="$PRIVATE_PREFIX" timeout 15 wineserver -w 2>/dev/null
    stop_xvfb
  fi
  rm -rf "$tmp" "$E2E_LOG"
}
trap cleanup EXIT

# private_session [SCALE]: a Wine session of its own, on a copy of the test
# run's prefix and on a display of its own, so that what the test changes
# there (the screen's scale, what is installed) stays with it and no other
# session shares its screen. SCALE, in pixels per inch, is written into the
# copy before the session starts, which reads it once: setting it through
# a running session would take a restart, and the wait for a session's end
# can last for ever.
private_session() {
  PRIVATE_PREFIX="$tmp/prefix"
  timeout 120 cp -a "$WINEPREFIX" "$PRIVATE_PREFIX" || fail "could not copy the Wine prefix"
  export WINEPREFIX="$PRIVATE_PREFIX"
  if [ -n "${1:-}" ]; then
    set_scale "$WINEPREFIX/user.reg" "$1" || fail "could not set the screen's scale"
  fi
  . "$here/xvfb.sh"
  unset XVFB_PID
  start_xvfb || fail "no display for the private session"
  setsid wineserver -p > /dev/null 2>&1 < /dev/null
}

# set_scale USER.REG DPI: the desktop's LogPixels set to DPI in a registry
# file of a session that is not running.
set_scale() {
  awk -v value="$(printf '"LogPixels"=dword:%08x' "$2")" '
    function put() { if (pending) { print value; pending = 0; done = 1 } }
    /^\[/ { put(); inside = index($0, "[Control Panel\\\\Desktop] ") == 1
             if (inside) { print; pending = 1; next } }
    pending && /^#/ { print; next }
    { put() }
    inside && /^"LogPixels"=/ { next }
    { print }
    END { put(); exit !done }' "$1" > "$1.new" && mv "$1.new" "$1"
}

# expect_start_picture SCALE: the start picture, its pixels scaled.
expect_start_picture() {
  # shellcheck disable=SC2046
  expect_pixels "the start picture" $(scaled "$1" $START_PICTURE)
}

case "$case_name" in
  scaled)
    private_session 144
    start_cube "$program" Escape
    # 1200 x 900, placed as 1199 x 900 and centred with its frame: the client
    # area's left edge lies exactly where a centred 1200-pixel box begins.
    expect_geometry 1199x900+360+90
    IFS=+ read -r _ x _ <<<"$(window_geometry)"
    [ "$x" = 360 ] || fail "window not centred: client area at x = $x"
    expect_start_picture 1.5
    leave
    ;;
  crowded)
    private_session 240
    start_cube "$program" Escape
    # The X window is the client area here, its frame nowhere.
    fitted "$(window_geometry)" "$(window_geometry)" 961 ||
      fail "window $(window_geometry): off the screen, short of it or not 4:3"
    expect_pixels "the first frame" 10,10,grey
    leave
    ;;
  folder)
    folder="$tmp/Jürgen Γιώργος 游戏"
    mkdir -p "$folder" "$tmp/elsewhere"
    cp -r "$program" "$(dirname "$program")/immagini" "$(dirname "$program")/zoze.ico" "$folder/"
    for start in "$folder" "$tmp/elsewhere"; do
      start_cube "$folder/$(basename "$program")" Escape "$start"
      expect_geometry 799x600+560+240
      expect_start_picture 1
      grep -q "images not found" "$E2E_LOG" && fail "the images were not found from $start"
      leave
    done
    ;;
  owned)
    # A box about a broken image, shown over the game's window, belongs to
    # it: a click on the window leaves the box in front, and Return typed
    # then answers the box.
    broken_copy "$tmp/broken"
    start_cube "$program" Escape "$tmp/broken"
    wait_for window_named ERROR || fail "no box about the broken image"
    expect_owned "$(window_named ERROR)"
    timeout -k 1 5 xdotool mousemove --window "$WIN" 400 300 click 1
    sleep 0.5
    timeout -k 1 5 xdotool key Return
    no_error_box() { ! window_named ERROR; }
    wait_for no_error_box || fail "Return typed after a click on the window did not reach the box"
    leave
    ;;
  msi)
    [ -f "$msi" ] || fail "no installer at $msi"
    private_session
    timeout 60 wine msiexec /i "$(winepath -w "$msi")" /qn > /dev/null 2>&1 || fail "msiexec /i failed"
    installed="$WINEPREFIX/drive_c/Program Files/Zoze di velak"
    for f in zoze.exe zoze.ico README.txt LICENSE.txt immagini/colore.tga immagini/posz.tga; do
      [ -f "$installed/$f" ] || fail "not installed: $f"
    done
    shortcut="$(find "$WINEPREFIX/drive_c" -name 'Zoze di velak.lnk' | head -1)"
    [ -n "$shortcut" ] || fail "no Start-menu shortcut"
    entry="$(timeout 30 wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r')"
    grep -q "DisplayName.*Zoze di velak" <<<"$entry" || fail "no entry in the installed programs"
    grep -q "Publisher.*The Zoze di velak developers" <<<"$entry" || fail "the entry names no publisher"
    grep -q "DisplayVersion.*1\.0" <<<"$entry" || fail "the entry names no version"
    # The shortcut starts the game in its own folder, where its images are.
    E2E_RUN="wine start /wait /unix"
    start_cube "$shortcut" Escape "$tmp"
    expect_start_picture 1
    leave
    # Started through the shell, the game may still be closing.
    window_gone() { ! main_window; }
    wait_for window_gone || fail "the game did not end"
    timeout 60 wine msiexec /x "$(winepath -w "$msi")" /qn > /dev/null 2>&1 || fail "msiexec /x failed"
    left="$(find "$installed" -type f 2>/dev/null; find "$WINEPREFIX/drive_c" -name 'Zoze di velak.lnk')"
    [ -z "$left" ] || fail "left behind: $left"
    timeout 30 wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | grep -q "Zoze di velak" &&
      fail "the entry stays in the installed programs"
    ;;
  *) fail "unknown case $case_name" ;;
esac
echo "passed: $case_name"
