// The toolkit's view of the platform: plain functions, no platform types.
// One file per platform implements them (platform_sdl2.cpp,
// platform_win32.cpp); only the toolkit calls them. A platform reports: it
// translates what happens into window messages with Win32 numbers and hands
// them over when asked, and it never changes the toolkit's state itself.
// Policy (which messages are merged, what is retried, which kinds are
// valid) is the toolkit's, written once above this line.
//
// There is one top-level window, the toolkit's main window; every message a
// platform reports is addressed to it. Everything runs on the GUI thread,
// except where a function says otherwise.
#pragma once

#include <cstddef>

#include "bmp.h"
#include "vtrtypes.h"

// One message for the main window.
struct platform_message {
  LONGINT message;
  LONGINT wparam;
  LONGINT lparam;
};

// What the window's GL surface should have. Double buffering, RGBA with 8
// bits a colour channel and a depth buffer of at least 24 bits are always
// asked for; the other sizes are asked for as given (0: none). A platform
// makes the surface with exactly this request or fails; the toolkit retries
// with a smaller one.
struct platform_pixel_request {
  int alpha_bits;
  int accum_bits;
  int depth_bits;
  int stencil_bits;
  bool stereo;
};

// Starts the platform (display connection, timers) for a window to come
// that covers the screen (FULL_SCREEN) or not. False, with a reason, when
// no display a person could see can be opened: a driver that draws
// nowhere counts only when it was asked for by name. Calling it again after
// a success does nothing.
bool platform_init(bool full_screen, const char** reason);
// While ON, the process's sleeps wake within a millisecond of their time,
// as frame pacing by sleeping needs; off, the system may wake them later
// and spend less.
void platform_precise_sleeps(bool on);
// The folder holding the running program, in UTF-8 without a trailing
// separator; empty when it cannot be known. Needs no platform_init.
const char* platform_program_folder();
// Shows a modal box, owned by the window once there is one (it stays above
// it and takes the keys), text and caption in UTF-8, style and answer with
// Win32 values (MB_OK or MB_YESNO, with MB_ICONQUESTION); returns IDOK,
// IDYES, IDNO, 0 when none could be shown, or -1 when it was closed
// without an answer. Works without platform_init.
LONGINT platform_message_box(const char* text, const char* caption, LONGWORD style);
// The name of the program's desktop entry without ".desktop" (null: none
// given), by which docks match its window to the entry; before
// platform_init.
void platform_set_app_id(const char* id);

// The system cursor of cursor kind KIND, which the toolkit has checked lies
// in 1..16 and is not the file cursor (7); kinds without a shape of their
// own on the platform show the arrow.
void* platform_system_cursor(LONGINT kind);
// A cursor, or an icon, read from FILE (UTF-8 name); null when it cannot be
// read. The toolkit has checked the size its header claims.
void* platform_file_cursor(const char* file);
void* platform_file_icon(const char* file);

// The screen's scale for the window about to be made, as the desktop sets
// it: 1 at 100 %, 1.5 at 150 %; 1 where the desktop says nothing.
double platform_display_scale();
// Makes the one top-level window, CLIENT_WIDTH x CLIENT_HEIGHT pixels of
// client area, captioned (close and minimise boxes, not resizable) or
// BORDERLESS, at the screen's top-left corner, with that cursor and icon
// (null: none). False, with a reason, when it cannot; nothing is left
// behind then.
bool platform_create_window(const char* title, int client_width, int client_height, bool borderless, void* cursor,
                            void* icon, const char** reason);
// Gives the window its GL surface, made exactly to PIXELS.
// False, with a reason, when no surface can be made so; the window stays as
// it was, and another request may follow.
bool platform_set_pixel_format(const platform_pixel_request& pixels, const char** reason);
// Creates the GL context of the window's surface and makes it current;
// false, with a reason, when it cannot.
bool platform_create_context(const char** reason);
// Makes no context current and deletes the context.
void platform_delete_context();
// Hides the window: it is gone for the user, while the GL surface stays valid
// until platform_destroy_window; or shows it. A window is made hidden and
// shown once it is placed (by the toolkit), or else at its first swap.
void platform_hide_window();
void platform_show_window();
void platform_destroy_window();
bool platform_window_exists();
bool platform_minimised();
// The thickness of the window's frame on each side of its client area (the
// caption counts in TOP), known before the window is shown where the
// system or its window manager tells; all 0 where it has none or it is not
// known.
void platform_frame_size(int* left, int* top, int* right, int* bottom);
// The part of the screen the window is (or will be) on that panels and
// task bars leave free, in screen pixels; the whole screen where nothing
// is said.
void platform_work_area(int* x, int* y, int* width, int* height);
// Places the window with its outer top-left corner, frame included, at (X,
// Y) of the screen and sizes its client area WIDTH x HEIGHT; raises it
// when RAISE and it is shown.
void platform_set_window_rect(int x, int y, int width, int height, bool raise);
// The outer top-left corner and the client area's size.
void platform_get_window_rect(int* x, int* y, int* width, int* height);
void platform_set_title(const char* title);
const char* platform_get_title();
void platform_screen_size(int* width, int* height);
// Asks the display to show a swap only after INTERVAL refreshes; true when
// it says it will (whether it keeps to it is the toolkit's to find out).
bool platform_set_swap_interval(int interval);
// The refresh rate of the window's display in Hz, 0 when unknown.
int platform_refresh_rate();
void platform_swap();

// Takes the next event that has a message, translates it and returns true;
// events without one are passed over (and get the system's default
// handling). False, at once, when none is queued: it never waits.
bool platform_take_message(platform_message* out);
// Takes the next event that has a message only when that message is a
// pointer motion; events without a message before it are passed over as
// above. False, leaving the queue and OUT as they are, when the next message
// is another or none is queued.
bool platform_take_motion(platform_message* out);
// True when any event is queued, with a message or not.
bool platform_message_pending();
// Waits until an event is queued and leaves it there; returns at once when
// one is. Every event ends the wait (input, a timer, the window uncovered or
// restored, focus, a close request), whether it has a message or not.
void platform_wait_event();
// Takes the pointer for the window while a button is held (true), or gives
// it back (false). A capture the system takes away is reported as
// WM_CAPTURECHANGED; one given back here is not.
void platform_set_capture(bool on);
bool platform_has_focus();
// True when the display may blank or start its screen saver while the
// program runs.
bool platform_screen_saver_allowed();
// The pointer's place on the screen, and moving it there. Where the system
// cannot move the pointer (Wayland), the first move holds the pointer for
// the window and from then on follows its motion from that place, until
// platform_release_pointer lets it go.
void platform_get_cursor_pos(int* x, int* y);
void platform_set_cursor_pos(int x, int y);
void platform_release_pointer();
void platform_client_to_screen(int* x, int* y);
// Starts a repeating timer that reports WM_TIMER with wParam ID every MS
// milliseconds; restarting an ID replaces its timer, and MS 0 stops it.
void platform_start_timer(LONGINT id, LONGINT ms);
// Timers running, for leak checks.
std::size_t platform_timer_count();

// TEXT (UTF-8) drawn in the system's sans-serif user-interface font at
// POINT_SIZE on a screen of that SCALE (1 at 100 %), black on transparent,
// as 32-bit pixels with alpha in the high byte; an empty text gives an
// empty image. False when no font is found.
bool platform_render_text(const char* text, int point_size, double scale, vtr_image* out);

// For tests, from any thread: queue input as the platform would receive it.
// HELD: the buttons held during a motion, as MK_ flags; BUTTON: 1 left, 2
// middle, 3 right. A key is named by the virtual key of its position on a
// US layout; SYMBOL is what the layout prints on it (0: the US symbol);
// ALT: the Alt key is held.
void platform_push_mouse_motion(int x, int y, LONGINT held = 0);
void platform_push_mouse_button(int button, bool down, int x, int y);
void platform_push_key(LONGINT position, bool down, LONGINT symbol = 0, bool num_lock = true, bool alt = false);
void platform_push_close_request();
// The window uncovered, as the system reports it.
void platform_push_expose();
// The keys given to another window, as the system reports it.
void platform_push_focus_lost();
