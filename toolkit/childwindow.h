// Inside the toolkit: child windows of the main window (image buttons and
// the status bar), as the window runtime sees them.
#pragma once

#include "vtrtypes.h"

constexpr LONGWORD VTR_STATUS_WINDOW = 2;

bool vtr_is_child(LONGWORD window);
// Runs the destruction handling of a child once and forgets it.
void vtr_destroy_child(LONGWORD window);
void vtr_destroy_all_children();
// The window a pointer message at client point (x, y) of the main window
// goes to: the capture holder, else the status bar over its strip, else the
// child whose shape is under the point, else the main window. LPARAM is made
// relative to that window.
LONGWORD vtr_route_pointer(LONGINT* lparam);
// Draws the children over the GL picture; nothing when there are none.
void vtr_draw_children();
