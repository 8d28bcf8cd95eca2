#!/usr/bin/env bash
# The program as a person gets it: installed into a prefix, or from its
# Debian package; and the toolkit as a programmer gets it, to build on.
# Usage: install_test.sh CASE BUILD-FOLDER SOURCE-FOLDER X_PROBE
#   installed  cmake --install into a prefix; the program started from an
#              empty folder shows its images
#   package    the package built, checked by Debian's validators and lintian,
#              unpacked, and its program started the same way
#   toolkit    the demo built out of tree against the installed toolkit runs;
#              a project that finds the package, or builds the source tree as
#              a part of its own, keeps its own variables and flags
set -uo pipefail
case_name="$1" build="$2" source="$3" probe="$4"
. "$(dirname "$0")/lib.sh"

tmp="$(mktemp -d)"
trap 'stop_xvfb; rm -rf "$tmp" "$E2E_LOG"' EXIT
mkdir -p "$tmp/empty"

# plays_from_empty PROGRAM: answers No and checks the first picture: the
# cube's colours and the controls' images (a tile without its image is
# white; with it, dark), then leaves with Escape.
plays_from_empty() {
  start_xvfb
  start_cube "$1" Escape "$tmp/empty"
  expect_pixels "the first picture" 359,265,white 454,180,white 317,359,blue 483,359,red 704,372,grey 762,489,grey
  grep -q "images not found" "$E2E_LOG" && fail "the program did not find its images"
  leave
}

case "$case_name" in
  installed)
    cmake --install "$build" --prefix "$tmp/prefix" >/dev/null || fail "install"
    plays_from_empty "$tmp/prefix/games/zoze"
    # Started in a folder holding images of its own, the program reads those,
    # not the installed ones: here a green sticker image, which turns the
    # white stickers green.
    mkdir -p "$tmp/own/immagini"
    cp "$tmp/prefix/share/zoze/zoze.ico" "$tmp/own/"
    cp "$tmp/prefix/share/zoze/immagini/"*.tga "$tmp/own/immagini/"
    { printf '\0\0\2\0\0\0\0\0\0\0\0\0\4\0\4\0\40\10'; for _ in $(seq 16); do printf '\0\377\0\377'; done; } \
      > "$tmp/own/immagini/colore.tga"
    start_cube "$tmp/prefix/games/zoze" Escape "$tmp/own"
    expect_pixels "the picture with the folder's own images" 359,265,green 454,180,green
    leave
    ;;
  package)
    cpack --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$E2E_LOG" 2>&1 || fail "cpack"
    deb="$(ls "$tmp"/package/zoze_*_*.deb)"
    dpkg-deb -x "$deb" "$tmp/root" || fail "dpkg-deb"
    desktop-file-validate "$tmp"/root/usr/share/applications/*.desktop >"$E2E_LOG" 2>&1 || fail "desktop-file-validate"
    appstreamcli validate --no-net --pedantic "$tmp"/root/usr/share/metainfo/*.xml >"$E2E_LOG" 2>&1 ||
      fail "appstreamcli validate"
    lintian --fail-on error,warning "$deb" >"$E2E_LOG" 2>&1 || fail "lintian"
    for size in 16 24 32 48 64 128 256; do
      [ -f "$tmp/root/usr/share/icons/hicolor/${size}x${size}/apps/org.zozedivelak.zoze.png" ] || fail "no ${size}px icon"
    done
    plays_from_empty "$tmp/root/usr/games/zoze"
    ;;
  toolkit)
    cmake --install "$build" --prefix "$tmp/prefix" >/dev/null || fail "install"
    cmake -S "$source/examples" -B "$tmp/demo" -DCMAKE_PREFIX_PATH="$tmp/prefix" >"$E2E_LOG" 2>&1 ||
      fail "configuring the demo against the installed toolkit"
    cmake --build "$tmp/demo" -j2 >"$E2E_LOG" 2>&1 || fail "building the demo against the installed toolkit"
    start_xvfb
    run_in "$tmp/demo" "$tmp/demo/vitrum_demo"
    wait_for demo_window || fail "no demo window"
    WIN=$(demo_window)
    wait_for "$probe" check "$WIN" 44,72,blue || fail "the demo's first frame shows no button"
    leave
    # A project with SDL2_ and X11_ variables and compile options of its own:
    # finding the package, or building the tree as its part, changes none.
    mkdir -p "$tmp/host"
    cat > "$tmp/host/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(host CXX)
set(SDL2_LIBRARIES mine)
set(X11_FOUND mine)
add_compile_options(-DHOST_OWN)
if(HOST_PART)
  add_subdirectory("$source" zoze)
else()
  find_package(Vitrum CONFIG REQUIRED)
endif()
get_directory_property(options COMPILE_OPTIONS)
if(NOT SDL2_LIBRARIES STREQUAL "mine" OR NOT X11_FOUND STREQUAL "mine" OR NOT options STREQUAL "-DHOST_OWN")
  message(FATAL_ERROR "the host's own settings changed: \${SDL2_LIBRARIES} \${X11_FOUND} \${options}")
endif()
EOF
    for part in OFF ON; do
      cmake -S "$tmp/host" -B "$tmp/host-$part" -DHOST_PART=$part -DCMAKE_PREFIX_PATH="$tmp/prefix" >"$E2E_LOG" 2>&1 ||
        fail "a host project (the toolkit built as its part: $part)"
    done
    cmake --build "$tmp/host-ON" -j2 --target zoze >"$E2E_LOG" 2>&1 || fail "building the tree as a part of a host"
    ;;
  *) fail "unknown case $case_name" ;;
esac
echo "passed: $case_name"
