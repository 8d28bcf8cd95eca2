// What the GL tests share: one real toolkit window with a GL context (on
// SDL's offscreen driver, or through WGL under Wine), its state put back
// before every test, pumping with a time limit, and pictures read back.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

#include "support.h"
#include "vitrum.h"

// Opens the toolkit window once per process (800 x 600, windowed).
void open_test_window();
// A test in the window: it is open, and everything a test may change is as
// at start (the same is done before every test of the program).
class GLTest : public ::testing::Test {
 protected:
  void SetUp() override { open_test_window(); }
};
// Puts every input global back to its start value, the program's hooks
// for commands and the context menu recording what reaches them.
void reset_input();
extern LONGINT commands_seen, last_command, menus_asked;
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

// The program's scene as it starts, built once per process from the images
// of the source folder (the working folder from then on): the solved cube
// seen from (45, 225), the controls in their start look.
void start_scene();
// One frame as the program draws it: OPENGL_DRAW after the loop's clear.
void draw_frames(int n = 1);
// RGB pixels of the rectangle at (X, Y) of the picture just drawn, rows
// from the bottom as GL counts them.
std::vector<BYTE> read_pixels(int x = 0, int y = 0, int width = 800, int height = 600);
// The client pixel (counted from the top-left) that point (X, Y, Z) lands
// in under the current matrices and viewport.
std::array<LONGINT, 2> client_point(double x, double y, double z);
// Runs DRAW and expects both matrices, the matrix mode and the render mode
// as they were before.
void expect_matrices_kept(const std::function<void()>& draw);
