// Window settings, class registration, creation, placement and tear-down,
// the fatal-error report, and the buffer swap with its frame pacing.
// Owns the window state: handles, size, full-screen form, the class
// records, the reason a set-up step failed, and the pacing schedule.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "imagefile.h"
#include "internal.h"
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
LONGINT PIXEL_FORMAT_FLAGS = 0;
BOOLEAN SHOWMENUBAR = false;
VTRPROCEDURE CREATEMENUBAR = nullptr;
BOOLEAN SHOWSTATUSBAR = false;
BOOLEAN MOUSEFREE = false;
std::string VTRVERSION = "1.0";
TWINDOWCLASS WINDOWCLASSEX{};

// Set by the vertex path; cleared here before any drawing.
extern BOOLEAN GLVERT3FREMOVE;
extern BOOLEAN GLVERT3FENABLEEDIT;

namespace {

// A box through the platform. One closed without an answer answers as its
// Escape button does: No to a question, OK to a message.
LONGINT platform_box(const char* text, const char* caption, LONGWORD style) {
  const LONGINT answer = platform_message_box(text, caption, style);
  if (answer != -1) return answer;
  return (style & 0xF) == MB_YESNO ? IDNO : IDOK;
}

}  // namespace

// Every box of the program goes through the platform once the toolkit's
// window code is linked.
static const bool boxes_through_platform = (vtr_message_box_handler = platform_box, true);

namespace {

constexpr LONGWORD button_face = 0x00F0F0F0;
constexpr LONGINT pfd_stereo = 0x2;
constexpr LONGINT pfd_base_flags = 0x1067;
// Icon and cursor files claiming more than this on a side are not loaded.
constexpr std::int64_t largest_icon = 256;

TWINDOWCLASS main_class{};
// The client size the application asked for, at 100 %.
LONGINT asked_width = 0, asked_height = 0;
// Why the last set-up step failed, in the platform's words.
std::string failure_reason;

void keep_reason(const char* step, const char* reason) {
  failure_reason = std::string(step) + ": " + (reason && *reason ? reason : "no reason given");
}

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
frame_clock::time_point last_swap{};  // or the last frame skipped
frame_clock::time_point next_frame{};
bool frame_skipped = false;       // the frame in progress is counted, not shown
bool skipped_since_swap = false;  // what follows a skipped frame says nothing of the display

// Who paces changes hands: the toolkit sleeps precisely only while it paces.
void set_pacer(bool toolkit) {
  toolkit_paces = toolkit;
  platform_precise_sleeps(toolkit);
}

void start_pacing() {
  set_pacer(!platform_set_swap_interval(1));
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
  set_pacer(!toolkit_paces);
  swaps_against = 0;
  next_frame = now;
}

// Swaps while the display paces: a display that keeps swapping far sooner
// than it refreshes is not pacing. (A swap after a skipped frame comes a
// refresh after it by the toolkit's clock and tells nothing.)
void swap_paced_by_display() {
  platform_swap();
  const frame_clock::time_point now = frame_clock::now();
  count_against(!skipped_since_swap && now - last_swap < frame_period / 2, now);
  last_swap = now;
  if (skipped_since_swap) platform_precise_sleeps(false);
  skipped_since_swap = false;
}

// Waits for the next frame's turn by the toolkit's schedule. A frame that
// ran late starts the count again rather than letting the following frames
// rush to catch up.
void wait_for_turn(frame_clock::time_point now) {
  next_frame += frame_period;
  if (next_frame > now) {
    std::this_thread::sleep_until(next_frame);
  } else if (now - next_frame > frame_period) {
    next_frame = now;
  }
}

// Swaps, then waits for the next frame's turn. Swaps that wait by
// themselves mean the display paces again.
void swap_paced_by_toolkit() {
  const frame_clock::time_point start = frame_clock::now();
  platform_swap();
  const frame_clock::time_point now = frame_clock::now();
  count_against(now - start > frame_period / 2, now);
  last_swap = now;
  if (toolkit_paces) wait_for_turn(now);
}

// A frame counted but not shown takes the time a shown one would: its turn
// by the toolkit's schedule where the toolkit paces, a refresh after the
// frame before where the display does (by precise sleeps, as no swap waits).
void keep_turn() {
  const frame_clock::time_point now = frame_clock::now();
  if (toolkit_paces) {
    wait_for_turn(now);
    return;
  }
  platform_precise_sleeps(true);
  const frame_clock::time_point turn = last_swap + frame_period;
  if (turn > now) std::this_thread::sleep_until(turn);
  last_swap = turn > now ? turn : now;
  skipped_since_swap = true;
}

// The size placing gives a window of W x H: a column (or row) less, as the
// integer ratio of the sides says.
void placed_size(LONGINT w, LONGINT h, LONGINT* cx, LONGINT* cy) {
  *cx = w - (h != 0 ? w / h : 0);
  *cy = h - (w != 0 ? h / w : 0);
}

// The largest scale not above SCALE at which the window, its client area
// the size the application asked for at that scale, placed, with its frame,
// fits the screen's work area; SCALE where nothing is known of the area.
double fitted_scale(double scale) {
  int left, top, right, bottom, x, y, width, height;
  platform_frame_size(&left, &top, &right, &bottom);
  platform_work_area(&x, &y, &width, &height);
  if (width <= 0 || height <= 0 || asked_width <= 0 || asked_height <= 0) return scale;
  auto fits = [&](double s) {
    LONGINT cx, cy;
    placed_size(static_cast<LONGINT>(std::lround(asked_width * s)), static_cast<LONGINT>(std::lround(asked_height * s)), &cx,
                &cy);
    return cx + left + right <= width && cy + top + bottom <= height;
  };
  // From the sides left for the client area, then down a pixel at a time.
  double s = std::min({scale, (width - left - right + 1.0) / asked_width, (height - top - bottom) / double(asked_height)});
  constexpr double smallest = 0.05;
  while (s > smallest && !fits(s)) s -= 1.0 / std::max(asked_width, asked_height);
  return std::max(s, smallest);
}

// The client area the application asked for at the window's scale.
void size_for_scale() {
  WIDTH = vtr_scaled(asked_width);
  HEIGHT = vtr_scaled(asked_height);
}

// On a monitor of another scale the window keeps its corner where the
// system put it and the client area the application asked for, at the new
// scale as far as it fits; the next frame's viewport, projection and picks
// follow WIDTH and HEIGHT. Full screen keeps the screen's size.
void rescale(double scale) {
  if (FULLSCREEN) {
    vtr_set_window_scale(scale);
    platform_screen_size(&WIDTH, &HEIGHT);
    return;
  }
  vtr_set_window_scale(fitted_scale(scale));
  size_for_scale();
  LONGINT cx, cy;
  placed_size(WIDTH, HEIGHT, &cx, &cy);
  int x, y, width, height;
  platform_get_window_rect(&x, &y, &width, &height);
  platform_set_window_rect(x, y, cx, cy, false);
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
  WIDTH = asked_width = APPWIDTH;
  HEIGHT = asked_height = APPHEIGHT;
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

// Registration starts the platform and fills the class records with the
// cursor, the icon, the background and the window procedure. A platform
// that cannot start (no display, no video driver) fails here.
BOOLEAN WINDOWREGISTER() {
  const char* reason = nullptr;
  if (!platform_init(FULLSCREEN, &reason)) {
    keep_reason("the platform could not start", reason);
    return false;
  }
  // The classes' procedures are registered by the files that hold them.
  main_class.CLASSNAME = VTR_MAIN_CLASS;
  main_class.PROCEDURE = vtr_class_procedure(VTR_MAIN_CLASS);
  main_class.BACKGROUND = button_face;
  // A kind outside the tables leaves the class without cursor or icon.
  const bool system_kind = SETTYPECURSOR >= ARROW && SETTYPECURSOR <= HELP && SETTYPECURSOR != FILECURSOR;
  main_class.CURSOR = SETTYPECURSOR == FILECURSOR ? platform_file_cursor(icon_sized(CURSORFILE))
                      : system_kind               ? platform_system_cursor(SETTYPECURSOR)
                                                  : nullptr;
  main_class.ICON = SETTYPEICON == FILEICON ? platform_file_icon(icon_sized(ICONFILE)) : nullptr;
  if (!main_class.PROCEDURE) {
    keep_reason("the window class", "no procedure for it");
    return false;
  }
  // The image-button class, where the program has image buttons; its
  // success does not count.
  WINDOWCLASSEX = {SZHOVERCLASS, vtr_class_procedure(SZHOVERCLASS), platform_system_cursor(ARROW), nullptr, 0};
  return true;
}

LONGWORD WINDOWCREATE(const char* PCAPPLICATIONNAME) {
  // A scaled screen shows the window, the status bar and the buttons as
  // much larger as the desktop asks; full screen is the screen's size.
  vtr_set_window_scale(platform_display_scale());
  vtr_on_rescale(rescale);
  if (FULLSCREEN) {
    platform_screen_size(&WIDTH, &HEIGHT);
  } else {
    size_for_scale();
  }
  const char* reason = nullptr;
  if (!platform_create_window(PCAPPLICATIONNAME, WIDTH, HEIGHT, FULLSCREEN, main_class.CURSOR, main_class.ICON,
                              &reason)) {
    keep_reason("the window could not be made", reason);
    return 0;
  }
  // A window too large for the screen at the desktop's scale (its frame is
  // known now) is made smaller, as large as fits.
  if (!FULLSCREEN) {
    const double scale = fitted_scale(vtr_window_scale());
    if (scale != vtr_window_scale()) {
      vtr_set_window_scale(scale);
      size_for_scale();
      platform_set_window_rect(0, 0, WIDTH, HEIGHT, false);
    }
  }
  const LONGWORD window = vtr_create_window(main_class.CLASSNAME, 0, 0, 0, WIDTH, HEIGHT, 0);
  vtr_send_message(window, WM_PAINT, 0, 0);
  return window;
}

BOOLEAN WINDOWINIT(LONGWORD HPARENT) {
  const char* reason = "no such window";
  if (HPARENT == 0 || vtr_is_child(HPARENT) || !platform_window_exists()) {
    keep_reason("the GL context could not be made", reason);
    return false;
  }
  // Every size as asked first; where the platform takes sizes as hard
  // requirements, then only what the program draws with: double buffering,
  // RGBA and a depth buffer.
  const bool stereo = ((PIXEL_FORMAT_FLAGS | pfd_base_flags) & pfd_stereo) != 0;
  const platform_pixel_request wanted{BITS, BITS, BITS, BITS, stereo}, demanded{0, 0, 24, 0, false};
  bool chosen = false;
  for (const platform_pixel_request& pixels : {wanted, demanded})
    if ((chosen = platform_set_pixel_format(pixels, &reason))) break;
  if (!chosen) {
    keep_reason("no pixel format could be chosen", reason);
    return false;
  }
  if (!platform_create_context(&reason)) {
    keep_reason("the GL context could not be made", reason);
    return false;
  }
  DCWINDOW = HPARENT;
  RCWINDOW = 1;
  start_pacing();
  return true;
}

void POSITIONWINDOW(LONGINT X, LONGINT Y) {
  LONGINT cx, cy;
  placed_size(WIDTH, HEIGHT, &cx, &cy);
  // (X, Y) is where a WIDTH x HEIGHT client area would be centred; the
  // window the user sees, frame and caption included, takes that centre.
  // A window that fits the work area stays inside it. It is shown once it
  // stands there.
  int left, top, right, bottom, ax, ay, aw, ah;
  platform_frame_size(&left, &top, &right, &bottom);
  platform_work_area(&ax, &ay, &aw, &ah);
  int x = X - (left + right) / 2, y = Y - (top + bottom) / 2;
  const int outer_width = cx + left + right, outer_height = cy + top + bottom;
  if (!FULLSCREEN && outer_width <= aw && outer_height <= ah) {
    x = std::clamp(x, ax, ax + aw - outer_width);
    y = std::clamp(y, ay, ay + ah - outer_height);
  }
  platform_set_window_rect(x, y, cx, cy, true);
  platform_show_window();
}

void DELETEOGLWINDOW() {
  set_pacer(false);
  platform_delete_context();
  RCWINDOW = 0;
  DCWINDOW = 0;
  vtr_destroy_window(HWINDOW);
  platform_destroy_window();
}

void THROWERROR(const char* PCERRORMESSAGE) {
  // The box says what failed; standard error also says why, when a set-up
  // step left its reason.
  if (failure_reason.empty()) {
    std::fprintf(stderr, "Error: %s\n", PCERRORMESSAGE);
  } else {
    std::fprintf(stderr, "Error: %s (%s)\n", PCERRORMESSAGE, failure_reason.c_str());
  }
  std::fflush(stderr);
  if (vtr_message_box_handler != vtr_stderr_message_box) vtr_message_box(PCERRORMESSAGE, "Error", MB_OK);
  // A set-up failure is a failure: launchers and scripts must see it.
  std::exit(1);
}

const char* vtr_program_folder() { return platform_program_folder(); }

void vtr_set_app_id(const char* ID) { platform_set_app_id(ID); }

void vtr_screen_size(LONGINT* width, LONGINT* height) {
  int w = 0, h = 0;
  platform_screen_size(&w, &h);
  *width = w;
  *height = h;
}

void vtr_reset_window() {
  if (HWINDOW != 0 || platform_window_exists()) DELETEOGLWINDOW();
  HWINDOW = DCWINDOW = RCWINDOW = 0;
  SETTYPECURSOR = SETTYPEICON = 0;
  CURSORFILE = ICONFILE = SETTITLENAME = nullptr;
  WIDTH = HEIGHT = BITS = PIXEL_FORMAT_FLAGS = 0;
  FULLSCREEN = SHOWMENUBAR = SHOWSTATUSBAR = MOUSEFREE = false;
  CREATEMENUBAR = nullptr;
  VTRVERSION = "1.0";
  WINDOWCLASSEX = {};
  main_class = {};
  asked_width = asked_height = 0;
  failure_reason.clear();
  swaps_against = 0;
  frame_skipped = skipped_since_swap = false;
  vtr_message_box_handler = platform_box;
}

void vtr_skip_frame() { frame_skipped = true; }

void vtr_swap_buffers() {
  if (frame_skipped) {
    frame_skipped = false;
    keep_turn();
    return;
  }
  vtr_draw_children();
  if (toolkit_paces) {
    swap_paced_by_toolkit();
  } else {
    swap_paced_by_display();
  }
}
