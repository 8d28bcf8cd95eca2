// Test helpers: a real window with a GL context on SDL's offscreen driver,
// input state reset between cases, and a recorder for message boxes.
#pragma once

#include <functional>
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
// Calls SETGLMSG once while another thread, after a moment, runs LATER
// (when given). Should the call still be waiting three seconds on, a press
// of F24 ends the wait. False when only that press ended it.
bool pump_with(const std::function<void()>& later = {});
constexpr LONGINT VK_F24 = 0x87;
// One frame handles a message, the next finds none: a pump that may rest
// rests at the next call.
void come_to_rest();

struct shown_box {
  std::string text, caption;
};
// Message boxes shown since the last call of record_boxes().
extern std::vector<shown_box> boxes_shown;
void record_boxes();
