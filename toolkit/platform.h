// The toolkit's view of the platform: plain functions, no platform types.
// Only the toolkit calls these; applications talk to vitrum.h. The platform
// reports events as window messages with Win32 numbers and never changes the
// toolkit's state itself.
#pragma once

#include <cstdint>
#include <vector>

#include "vtrtypes.h"

// One message as the pump hands it to a window procedure.
struct platform_message {
  LONGWORD window;
  LONGINT message;
  LONGINT wparam;
  LONGINT lparam;
};

// What the GL context should have. The demands (double buffering, RGBA,
// depth) are always made; the preferences are tried first and dropped when
// the platform cannot meet them.
struct platform_pixel_request {
  int color_bits;
  int alpha_bits;
  int accum_bits;
  int depth_bits;
  int stencil_bits;
  bool stereo;
};

// Starts the video and timer subsystems. False, with a reason, when no real
// display can be opened (an offscreen or dummy driver counts only when it was
// asked for explicitly).
bool platform_init(const char** reason);
// The folder holding the running program, in UTF-8 without a trailing
// separator; empty when it cannot be known. Needs no platform_init.
const char* platform_program_folder();
// Shows a modal box; returns IDOK, IDYES, IDNO, or 0 when none could be shown.
LONGINT platform_message_box(const char* text, const char* caption, LONGWORD style);

// Cursor kinds 1..16 map onto the platform's system cursors; 0 for others.
void* platform_system_cursor(LONGINT kind);
void* platform_file_cursor(const char* file);
void* platform_file_icon(const char* file);

// The one top-level window with a GL-capable surface; true on success. The
// window starts at the screen's top-left corner and is shown.
bool platform_create_window(const char* title, int client_width, int client_height, bool borderless,
                            const platform_pixel_request& pixels, void* cursor, void* icon);
// Creates the GL context of the window and makes it current.
bool platform_create_context();
// Makes no context current and deletes the context.
void platform_delete_context();
// Hides the window: it is gone for the user, while the GL surface stays valid
// until platform_destroy_window.
void platform_hide_window();
void platform_destroy_window();
bool platform_window_exists();
// The window's top-left corner on the screen, frame included, and the size
// of its client area; the toolkit sizes client areas on every platform.
void platform_set_window_rect(int x, int y, int width, int height);
void platform_get_window_rect(int* x, int* y, int* width, int* height);
void platform_set_title(const char* title);
const char* platform_get_title();
void platform_screen_size(int* width, int* height);
// True when the display now paces the swaps (INTERVAL refreshes a swap).
bool platform_set_swap_interval(int interval);
// The refresh rate of the window's display in Hz, 0 when unknown.
int platform_refresh_rate();
void platform_swap();

// Takes at most one message's worth of events and translates it; never
// waits. Events without a message counterpart are passed over, and a run of
// pointer motions is taken as its last one. False when no message came.
bool platform_take_message(platform_message* out);
bool platform_message_pending();
// Queues a message behind the pending events (posting, not sending).
void platform_post_message(const platform_message& m);
void platform_set_capture(bool on);
bool platform_has_focus();
// True when the display may blank or start its screen saver while the
// program runs.
bool platform_screen_saver_allowed();
void platform_get_cursor_pos(int* x, int* y);
void platform_set_cursor_pos(int x, int y);
void platform_client_to_screen(int* x, int* y);
// Starts a repeating timer that posts WM_TIMER with wParam ID every MS
// milliseconds; restarting an ID replaces its timer.
void platform_start_timer(LONGINT id, LONGINT ms);

// A BMP file as 32-bit pixels (blue in the low byte, then green, red), rows
// top to bottom, with its bit depth and, for 8 bits or fewer, its colour
// table as it stands in the file (blue, green, red, reserved per entry).
struct platform_bitmap {
  int width = 0, height = 0, bits = 0;
  std::vector<std::uint32_t> pixels;
  std::vector<BYTE> table;
};
bool platform_load_bmp(const char* file, platform_bitmap* out);
// TEXT drawn in the toolkit's sans-serif font, black on transparent, as
// 32-bit pixels with alpha in the high byte; false when no font is found.
bool platform_render_text(const char* text, int point_size, platform_bitmap* out);

// For tests: queue input as the platform would receive it. HELD: the
// buttons held during a motion, as MK_ flags; BUTTON: 1 left, 2 middle,
// 3 right. A key is named by the virtual
// key of its position on a US layout; SYMBOL is what the layout prints on
// it, 0 for the US symbol.
void platform_push_mouse_motion(int x, int y, LONGINT held = 0);
void platform_push_mouse_button(int button, bool down, int x, int y);
void platform_push_key(LONGINT position, bool down, LONGINT symbol = 0, bool num_lock = true);
void platform_push_close_request();
