// Test helpers: a real window with a GL context on SDL's offscreen driver,
// input state reset between cases, and a recorder for message boxes.
#pragma once

#include <string>
#include <vector>

#include "vitrum.h"

// Opens the toolkit window once per process (WIDTH x HEIGHT, windowed).
void open_test_window(LONGINT width = 800, LONGINT height = 600);
// Puts every input global back to its start value.
void reset_input();
// Points glReadPixels at the buffer drawing goes to: the front buffer of a
// single-buffered context, the back buffer of a double-buffered one.
void read_drawn_buffer();
// Takes every pending message off the queue and returns their ids.
std::vector<LONGINT> drain_messages();

struct shown_box {
  std::string text, caption;
};
// Message boxes shown since the last call of record_boxes().
extern std::vector<shown_box> boxes_shown;
void record_boxes();
