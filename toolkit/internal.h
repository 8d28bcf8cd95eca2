// Inside the toolkit: what its files share that applications do not use.
// Not installed; applications include vitrum.h alone. Which file owns
// what is set out in docs/internal.md.
#pragma once

#include <cstddef>

#include "vitrum.h"

// ---------------------------------------------------------------------------
// The window runtime (winruntime.cpp): windows, classes and messages.

// Registers (or re-registers) class NAME: windows made of it are handled by
// PROCEDURE. False when the name is too long or the table is full.
bool vtr_register_class(const char* name, VTRWNDPROC procedure);
bool vtr_class_registered(const char* name);
// The procedure of class NAME; null when no such class is registered.
VTRWNDPROC vtr_class_procedure(const char* name);
// The class of the main window, registered by the file of its procedure.
constexpr const char* VTR_MAIN_CLASS = "GLWindow";
// The main window, 0 while there is none.
LONGWORD vtr_main_window();
// Makes a window of class CLASS_NAME and sends it WM_CREATE: the top-level
// window when PARENT is 0, otherwise a child of PARENT at (X, Y) of the
// parent's client area, WIDTH x HEIGHT, with child identifier ID. 0 when
// the class is unknown, the parent does not exist or the table is full.
LONGWORD vtr_create_window(const char* class_name, LONGWORD parent, LONGINT x, LONGINT y, LONGINT width,
                           LONGINT height, LONGINT id);
bool vtr_is_child(LONGWORD window);
// The parent of a child, 0 for the top-level window or none.
LONGWORD vtr_parent(LONGWORD window);
// Runs the destruction handling of the window once, then of its children,
// and forgets them; the top-level window also goes off the screen.
void vtr_destroy_window(LONGWORD window);
// Children alive, for leak checks.
std::size_t vtr_child_count();

// Hands a message to the window's procedure at once and returns its result;
// 0 for a window that does not exist.
LONGINT vtr_send_message(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam);
// Queues a message for the pump, from the GUI thread. Posted messages are
// taken before the platform's, in the order posted, as Win32 hands them out.
// False when the queue is full.
bool vtr_post_message(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam);
// The default handling of a message: a close request destroys the window,
// a right-button release asks for a context menu, a child passes that
// request on to its parent, and a new scale resizes the main window.
LONGINT vtr_def_window_proc(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam);
// The scale of the screen the main window is on (1.5 at 150 %): children
// and the status bar are sized by it, and so is every length given to
// them in pixels of a screen at 100 %.
void vtr_set_window_scale(double scale);
double vtr_window_scale();
// LENGTH at 100 %, in pixels of the main window's screen.
LONGINT vtr_scaled(LONGINT length);
// HANDLER sizes the main window for a new scale when the window moves to a
// monitor of another scale (WM_DPICHANGED, by its default handling).
void vtr_on_rescale(void (*handler)(double scale));
// Window that holds the pointer capture, 0 for none.
LONGWORD vtr_capture();
void vtr_set_capture(LONGWORD window);
void vtr_release_capture();

// Rectangle of a child in its parent's client coordinates (right and bottom
// exclusive); all 0 for the top-level window or none.
TRECT vtr_window_rect(LONGWORD window);
LONGINT vtr_child_id(LONGWORD window);
void vtr_move_window(LONGWORD window, LONGINT x, LONGINT y, LONGINT width, LONGINT height);
// Makes a child a strip HEIGHT pixels high at 100 % along its parent's
// bottom edge, as wide as the parent, over every other child.
void vtr_dock_window(LONGWORD window, LONGINT height);
// The window's shape; the window owns the region from then on (0: none).
void vtr_set_window_region(LONGWORD window, LONGWORD region);
LONGWORD vtr_window_region(LONGWORD window);
// Named values of a window.
bool vtr_set_prop(LONGWORD window, const char* name, LONGWORD value);
LONGWORD vtr_get_prop(LONGWORD window, const char* name);
LONGWORD vtr_remove_prop(LONGWORD window, const char* name);

// The window a pointer message of WINDOW at client point LPARAM goes to:
// for the top-level window, the capture holder, else the docked strip or
// the topmost child whose shape is under the point, else the window itself.
// LPARAM is made relative to the window returned.
LONGWORD vtr_route_pointer(LONGWORD window, LONGINT* lparam);
// The next message for the pump: a posted one, else the platform's next (a
// run of pointer motions taken as its last one), pointer messages routed.
bool vtr_take_message(TMSG* out);
// True when something is queued, posted or reported, with a message or not.
bool vtr_message_pending();
// Returns when something is queued, waiting in the platform until it is.
void vtr_wait_message();
// Paints the children over the GL picture (a WM_PAINT to each, in the order
// they cover each other); nothing when there are none.
void vtr_draw_children();

// ---------------------------------------------------------------------------
// Ending and starting again (reset.cpp): every file puts back what it owns
// as it was when the program started, as a program that ends and starts
// again would find it.

// The main window with its children and its context gone, timers stopped,
// textures forgotten, the status bar's parts, the picks, the input, the
// pump's switches, the render state and the vertex path as at start.
void vtr_reset();
// Each file's own part of it, in the order vtr_reset calls them.
void vtr_reset_window();  // window.cpp: the context, the window, its settings, pacing
void vtr_reset_runtime();  // winruntime.cpp: windows, capture, posted messages, scale
void vtr_reset_pump();  // wndproc.cpp: input state, the pump's switches and hooks
void vtr_reset_status_bar();
void vtr_reset_image_buttons();
void vtr_reset_picks();
void vtr_reset_render_state();  // renderstate.cpp: the light arrays
void vtr_reset_vertex_path();
void vtr_reset_textures();

// ---------------------------------------------------------------------------
// Image buttons (imagebutton.cpp): bitmaps made by LOADBMPFROMFILE.

bool vtr_bitmap_size(LONGWORD bitmap, LONGINT* width, LONGINT* height);
void vtr_delete_bitmap(LONGWORD bitmap);
void vtr_delete_palette(LONGWORD palette);
// Objects alive, for leak checks.
std::size_t vtr_bitmap_count();
std::size_t vtr_palette_count();

// ---------------------------------------------------------------------------
// The status bar (statusbar.cpp).

const char* vtr_status_text(LONGINT PART);
// Height of the status bar in pixels at 100 %.
constexpr LONGINT VTR_STATUS_HEIGHT = 22;

// ---------------------------------------------------------------------------
// Picking (picking.cpp) tells the pump (wndproc.cpp) whether the flags it
// just set differ from the frame before (the next frame may look
// different) and whether they hold a pressed item (which acts in every
// frame); and how to find out, without drawing, whether a pointer that
// moved since would change the hover flags.
void vtr_note_picks(bool changed, bool pressed, bool (*hover_changed)());
