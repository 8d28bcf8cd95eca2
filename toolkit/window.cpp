// Window settings, creation, placement and tear-down, the fatal-error report,
// the status bar, and the Win32-style window functions the window procedure
// relies on (send, post, default handling, destruction, capture).
// Owns the window state: handles, size, full-screen form, the class record.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "childwindow.h"
#include "imagefile.h"
#include "platform.h"
#include "vitrum.h"

LONGWORD HWINDOW = 0;
LONGWORD DCWINDOW = 0;
LONGWORD RCWINDOW = 0;
LONGINT SETTYPECURSOR = 0;
const char* CURSORFILE = nullptr;
LONGINT SETTYPEICON = 0;
const char* ICONFILE = nullptr;
const char* SETTITLENAME = nullptr;
LONGINT WIDTH = 0;
LONGINT HEIGHT = 0;
LONGINT BITS = 0;
BOOLEAN FULLSCREEN = false;
BOOLEAN ACTIVE = false;
LONGINT PIXEL_FORMAT_FLAGS = 0;
BOOLEAN SHOWMENUBAR = false;
VTRPROCEDURE CREATEMENUBAR = nullptr;
BOOLEAN SHOWSTATUSBAR = false;
LONGWORD HSTATUS = 0;
LONGWORD AWND = 0;
checked_array<char, 0, 260> FILENAME{};
checked_array<LONGINT, 1, 20> STATUSITEM{};
checked_array<LONGINT, 1, 20> EDGES{};
LONGINT MAXSTATUSITEM = 0;
std::string VTRVERSION = "1.0";
TWINDOWCLASS WINDOWCLASSEX{};

// Set by the vertex path; cleared here before any drawing.
extern BOOLEAN GLVERT3FREMOVE;
extern BOOLEAN GLVERT3FENABLEEDIT;

namespace {

constexpr LONGWORD main_window = 1;
constexpr LONGWORD button_face = 0x00F0F0F0;
constexpr LONGINT pfd_stereo = 0x2;
constexpr LONGINT pfd_base_flags = 0x1067;
// Icon and cursor files claiming more than this on a side are not loaded.
constexpr std::int64_t largest_icon = 256;

TWINDOWCLASS main_class{};
bool main_window_destroyed = false;
LONGWORD capture_window = 0;

// Frame pacing: one frame per refresh of the display, so that animations
// counted in frames run at the same speed everywhere. The display paces the
// swaps where it takes a swap interval and keeps to it; where it refuses
// one, or takes it and still swaps at once (as remote and virtual displays
// do, and minimised windows on some), the toolkit sleeps instead, until the
// swaps wait for the display again.
using frame_clock = std::chrono::steady_clock;
constexpr int swaps_to_change_hands = 30;
bool toolkit_paces = false;
int swaps_against = 0;  // successive swaps that say the other side should pace
frame_clock::duration frame_period{};
frame_clock::time_point last_swap{};
frame_clock::time_point next_frame{};

void start_pacing() {
  toolkit_paces = !platform_set_swap_interval(1);
  const int rate = platform_refresh_rate();
  frame_period = std::chrono::nanoseconds(1000000000 / (rate > 0 ? rate : 60));
  last_swap = next_frame = frame_clock::now();
  swaps_against = 0;
}

// Counts a swap that says the other side should pace; after enough in a
// row, it does.
void count_against(bool against, frame_clock::time_point now) {
  swaps_against = against ? swaps_against + 1 : 0;
  if (swaps_against < swaps_to_change_hands) return;
  toolkit_paces = !toolkit_paces;
  swaps_against = 0;
  next_frame = now;
}

// Swaps while the display paces: a display that keeps swapping far sooner
// than it refreshes is not pacing.
void swap_paced_by_display() {
  platform_swap();
  const frame_clock::time_point now = frame_clock::now();
  count_against(now - last_swap < frame_period / 2, now);
  last_swap = now;
}

// Swaps, then waits for the next frame's turn. A frame that ran late starts
// the count again rather than letting the following frames rush to catch
// up. Swaps that wait by themselves mean the display paces again.
void swap_paced_by_toolkit() {
  const frame_clock::time_point start = frame_clock::now();
  platform_swap();
  const frame_clock::time_point now = frame_clock::now();
  count_against(now - start > frame_period / 2, now);
  last_swap = now;
  if (!toolkit_paces) return;
  next_frame += frame_period;
  if (next_frame > now) {
    std::this_thread::sleep_until(next_frame);
  } else if (now - next_frame > frame_period) {
    next_frame = now;
  }
}

// FILE when it claims an image an icon or cursor can be; null otherwise, so
// that a broken file is refused before anything is decoded.
const char* icon_sized(const char* file) {
  std::int64_t width, height;
  return vtr_image_extent(file, &width, &height) && width <= largest_icon && height <= largest_icon ? file : nullptr;
}

}  // namespace

void OGLWINDOWSETTING(LONGINT TYPECURSOR, const char* CURFILE, LONGINT TYPEICON, const char* ICOFILE) {
  if (MOUSEFREE) platform_set_cursor_pos(WIDTH / 2, HEIGHT / 2);
  SETTYPECURSOR = TYPECURSOR;
  CURSORFILE = CURFILE;
  SETTYPEICON = TYPEICON;
  ICONFILE = ICOFILE;
  GLVERT3FREMOVE = false;
  GLVERT3FENABLEEDIT = false;
}

BOOLEAN CREATEOGLWINDOW(const char* APPNAME, LONGINT APPWIDTH, LONGINT APPHEIGHT, LONGINT APPBITS, BOOLEAN APPFULLSCREEN) {
  SETTITLENAME = APPNAME;
  WIDTH = APPWIDTH;
  HEIGHT = APPHEIGHT;
  BITS = APPBITS;
  FULLSCREEN = APPFULLSCREEN;
  if (!WINDOWREGISTER()) THROWERROR("Errore di registro per la rispettiva applicazione!");
  HWINDOW = WINDOWCREATE(APPNAME);
  if (SHOWMENUBAR) CREATEMENUBAR();
  if (SHOWSTATUSBAR) HSTATUS = CREATESTATUSBAR(HWINDOW);
  if (HWINDOW == 0) THROWERROR("Impossibile creare la finestra per la rispettiva applicazione!");
  if (!WINDOWINIT(HWINDOW)) THROWERROR("la rispettiva applicazione non è stata inizilizata!");
  return true;
}

// Registration starts the platform and fills the class record with the
// cursor, the icon and the background. A platform that cannot start (no
// display, no video driver) fails here.
BOOLEAN WINDOWREGISTER() {
  const char* reason = nullptr;
  if (!platform_init(&reason)) {
    std::fprintf(stderr, "Vitrum: the platform could not start: %s\n", reason ? reason : "unknown reason");
    return false;
  }
  main_class.CLASSNAME = "GLWindow";
  main_class.BACKGROUND = button_face;
  // A kind outside the tables leaves the class without cursor or icon.
  main_class.CURSOR =
      SETTYPECURSOR == FILECURSOR ? platform_file_cursor(icon_sized(CURSORFILE)) : platform_system_cursor(SETTYPECURSOR);
  main_class.ICON = SETTYPEICON == FILEICON ? platform_file_icon(icon_sized(ICONFILE)) : nullptr;
  // The image-button class needs no platform resources of its own.
  if (!WINDOWCLASSEX.CLASSNAME) WINDOWCLASSEX = {"IMAGEBUTTON", platform_system_cursor(ARROW), nullptr, 0};
  return true;
}

LONGWORD WINDOWCREATE(const char* PCAPPLICATIONNAME) {
  if (FULLSCREEN) platform_screen_size(&WIDTH, &HEIGHT);
  // Bits for every buffer, as preferences; the platform keeps the demands.
  const bool stereo = ((PIXEL_FORMAT_FLAGS | pfd_base_flags) & pfd_stereo) != 0;
  const platform_pixel_request pixels{BITS, BITS, BITS, BITS, BITS, stereo};
  if (!platform_create_window(PCAPPLICATIONNAME, WIDTH, HEIGHT, FULLSCREEN, pixels, main_class.CURSOR, main_class.ICON))
    return 0;
  main_window_destroyed = false;
  vtr_send_message(main_window, WM_CREATE, 0, 0);
  vtr_send_message(main_window, WM_PAINT, 0, 0);
  return main_window;
}

BOOLEAN WINDOWINIT(LONGWORD HPARENT) {
  if (HPARENT != main_window || !platform_window_exists()) return false;
  DCWINDOW = HPARENT;
  if (!platform_create_context()) return false;
  RCWINDOW = 1;
  start_pacing();
  return true;
}

LONGWORD CREATESTATUSBAR(LONGWORD PARENT) {
  std::snprintf(FILENAME.data(), FILENAME.size(), "%s", "Percorso file");
  // A strip along the bottom of the parent's client area, drawn by the
  // toolkit over the GL picture; it needs a window to live in.
  AWND = PARENT != 0 ? VTR_STATUS_WINDOW : 0;
  if (AWND != 0) {
    vtr_set_status_text(0, FILENAME.data());
    for (LONGINT i = 1; i <= MAXSTATUSITEM; ++i) EDGES[i] = STATUSITEM[i];
  }
  return AWND;
}

void POSITIONWINDOW(LONGINT X, LONGINT Y) {
  const LONGINT cx = WIDTH - (HEIGHT != 0 ? WIDTH / HEIGHT : 0);
  const LONGINT cy = HEIGHT - (WIDTH != 0 ? HEIGHT / WIDTH : 0);
  platform_set_window_rect(X, Y, cx, cy);
}

void DELETEOGLWINDOW() {
  platform_delete_context();
  RCWINDOW = 0;
  DCWINDOW = 0;
  vtr_destroy_window(HWINDOW);
  platform_destroy_window();
}

void THROWERROR(const char* PCERRORMESSAGE) {
  std::fprintf(stderr, "Error: %s\n", PCERRORMESSAGE);
  std::fflush(stderr);
  if (vtr_message_box_handler != vtr_stderr_message_box) vtr_message_box(PCERRORMESSAGE, "Error", MB_OK);
  // A set-up failure is a failure: launchers and scripts must see it.
  std::exit(1);
}

const char* vtr_program_folder() { return platform_program_folder(); }

void vtr_screen_size(LONGINT* width, LONGINT* height) {
  int w = 0, h = 0;
  platform_screen_size(&w, &h);
  *width = w;
  *height = h;
}

void vtr_swap_buffers() {
  vtr_draw_children();
  if (toolkit_paces) {
    swap_paced_by_toolkit();
  } else {
    swap_paced_by_display();
  }
}

LONGINT vtr_send_message(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam) {
  if (window == main_window) return GLWNDPROC(window, message, wparam, lparam);
  if (vtr_is_child(window)) return HOVERBUTTONHANDLER(window, message, wparam, lparam);
  return 0;
}

void vtr_post_message(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam) {
  platform_post_message({window, message, wparam, lparam});
}

LONGINT vtr_def_window_proc(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam) {
  switch (message) {
    case WM_CLOSE:
      vtr_destroy_window(window);
      return 0;
    case WM_RBUTTONUP: {
      int x = GET_X_LPARAM(lparam), y = GET_Y_LPARAM(lparam);
      platform_client_to_screen(&x, &y);
      return vtr_send_message(window, WM_CONTEXTMENU, static_cast<LONGINT>(window), MAKELPARAM(x, y));
    }
    case WM_CONTEXTMENU:
      // A child leaves its context menu to its parent.
      return vtr_is_child(window) ? vtr_send_message(HWINDOW, message, wparam, lparam) : 0;
    default:
      return 0;
  }
}

void vtr_destroy_window(LONGWORD window) {
  if (vtr_is_child(window)) {
    vtr_destroy_child(window);
    return;
  }
  if (window != main_window || main_window_destroyed) return;
  main_window_destroyed = true;
  vtr_send_message(window, WM_DESTROY, 0, 0);
  vtr_destroy_all_children();
  HSTATUS = AWND = 0;
  // The surface stays until the context is released; the user sees the
  // window go at once.
  platform_hide_window();
}

LONGWORD vtr_capture() { return capture_window; }

void vtr_set_capture(LONGWORD window) {
  capture_window = window;
  platform_set_capture(true);
}

void vtr_release_capture() {
  capture_window = 0;
  platform_set_capture(false);
}

void vtr_update_window(LONGWORD) {}
