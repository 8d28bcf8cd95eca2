// The nine controls driven frame by frame: window messages in, frames
// drawn in-process, the cube state and the pixels read back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "cube.h"
#include "frame.h"
#include "glwindow.h"
#include "platform.h"
#include "scene.h"

namespace {

const double control_pos[9][2] = {{2.3, 1.1}, {2.3, 0.7}, {2.3, 0.3}, {2.1, -0.5}, {2.5, -0.5},
                                  {2.1, -0.9}, {2.5, -0.9}, {2.1, -1.3}, {2.5, -1.3}};

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    open_test_window();
    reset_input();
    record_boxes();
    ASSERT_EQ(chdir(ZOZE_SOURCE_DIR), 0);
    OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
    SETGLREFRACTIVE();
    SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
    if (MENU.CNTSEL == 0) OPENGL_CREATELIST();
    EXPECT_TRUE(boxes_shown.empty());
    INITCUBE();
    ROTBLOCK = {};
    ROTOFFSET = {0, 0, 0};
    SELLAYER = 2;
    TIME = {};
    XROT = 45;
    YROT = 225;
    for (LONGINT i = 0; i < 9; ++i) MENU.OVER[i] = MENU.CLICK[i] = false;
    frames(2);
  }

  static void frames(int n) {
    for (int i = 0; i < n; ++i) {
      glClear(GL_COLOR_BUFFER_BIT);
      OPENGL_DRAW();
    }
    glFinish();
  }

  // Client pixel of control N (1..9), offset by (dx, dy) in model units.
  static std::pair<LONGINT, LONGINT> at(int n, double dx = 0, double dy = 0) {
    const double f = 1 / std::tan(std::numbers::pi / 8);
    const double x = control_pos[n - 1][0] + dx, y = control_pos[n - 1][1] + dy;
    return {static_cast<LONGINT>(std::lround((f * 0.75 * x / 5 + 1) * 400)),
            static_cast<LONGINT>(std::lround(600 - (f * y / 5 + 1) * 300))};
  }
  static void move_to(int n) {
    const auto [x, y] = at(n);
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  }
  static void press(int n) {
    const auto [x, y] = at(n);
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    GLWNDPROC(HWINDOW, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  }
  static void release() { GLWNDPROC(HWINDOW, WM_LBUTTONUP, 0, MAKELPARAM(SETOMX, SETOMY)); }
  // Holds control N for exactly CLICKED frames in which it counts as
  // clicked: press and release are both seen one frame late.
  static void hold(int n, int clicked) {
    press(n);
    frames(clicked);
    release();
    frames(2);
  }

  static std::vector<BYTE> pixels(int x0 = 0, int y0 = 0, int w = 800, int h = 600) {
    std::vector<BYTE> p(static_cast<size_t>(w) * h * 3);
    read_drawn_buffer();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, y0, w, h, GL_RGB, GL_UNSIGNED_BYTE, p.data());
    return p;
  }
  // The square around control N, in GL window rows.
  static std::vector<BYTE> control_pixels(int n) {
    const auto [x, y] = at(n);
    return pixels(x - 32, 600 - y - 32, 64, 64);
  }
};

bool same_cubes(const TCUBES& a, const TCUBES& b) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int s = 0; s < 6; ++s) {
          const TGLRGB2 &x = a[i][j][k].SIDES[s], &y = b[i][j][k].SIDES[s];
          if (x.R != y.R || x.G != y.G || x.B != y.B) return false;
        }
  return true;
}

TEST_F(Controls, StartWithLayerTwoChosen) {
  EXPECT_EQ(SELLAYER, 2);
  // Control 1 shows pressed (smaller) while 2 and 3 show normal.
  auto coverage = [](const std::vector<BYTE>& p) {
    int n = 0;
    for (size_t i = 0; i < p.size(); i += 3) n += p[i] != 102 || p[i + 1] != 102 || p[i + 2] != 102;
    return n;
  };
  const int one = coverage(control_pixels(1)), two = coverage(control_pixels(2)), three = coverage(control_pixels(3));
  EXPECT_NEAR(two, three, three / 30);
  EXPECT_NEAR(static_cast<double>(one) / two, 0.64, 0.08);
}

TEST_F(Controls, AShortClickTurnsNothing) {
  const TCUBES before = CUBES;
  // However many: each hold starts counting afresh.
  for (int i = 0; i < 4; ++i) hold(4, 4);
  EXPECT_EQ(ROTBLOCK.X[2], 0);
  EXPECT_TRUE(same_cubes(CUBES, before));
  hold(4, 5);
  EXPECT_EQ(ROTBLOCK.X[2], 6);
}

TEST_F(Controls, HoldingEightyNineFramesCommitsOneQuarterTurnInvisibly) {
  hold(4, 88);
  EXPECT_EQ(ROTBLOCK.X[2], 84);
  // The picture of the layer at 90 degrees before the commit ...
  ROTBLOCK.X[2] = 90;
  frames(1);
  const auto at_ninety = pixels();
  // ... is the picture after the 89th frame commits it.
  INITCUBE();
  ROTBLOCK = {};
  hold(4, 89);
  EXPECT_EQ(ROTBLOCK.X[2], 0);
  TCUBES expected;
  {
    const TCUBES played = CUBES;
    INITCUBE();
    for (int i = 0; i < 15; ++i) ROTATELAYERX(6, 2);
    expected = CUBES;
    CUBES = played;
  }
  EXPECT_TRUE(same_cubes(CUBES, expected));
  frames(1);
  const auto committed = pixels();
  int different = 0;
  for (size_t i = 0; i < committed.size(); i += 3)
    different += std::abs(committed[i] - at_ninety[i]) + std::abs(committed[i + 1] - at_ninety[i + 1]) > 24;
  EXPECT_LT(different, 400);

  // Holding longer goes on into the next quarter turn.
  INITCUBE();
  ROTBLOCK = {};
  hold(5, 89 + 6);
  EXPECT_EQ(ROTBLOCK.X[2], -6);
}

TEST_F(Controls, ChoosersActAtOnceAndLeaveAPartTurnStanding) {
  hold(4, 30);
  ASSERT_EQ(ROTBLOCK.X[2], 30);
  press(3);
  frames(2);
  EXPECT_EQ(SELLAYER, 0);
  release();
  frames(1);
  EXPECT_EQ(ROTBLOCK.X[2], 30);
  EXPECT_EQ(ROTBLOCK.X[0], 0);
  // Turns about other axes do nothing while X is part-turned.
  hold(7, 30);
  hold(8, 30);
  EXPECT_EQ(ROTBLOCK.Y[0] | ROTBLOCK.Z[0], 0);
  // The chosen layer turns now.
  hold(5, 5);
  EXPECT_EQ(ROTBLOCK.X[0], -6);
  hold(2, 1);
  EXPECT_EQ(SELLAYER, 1);
}

TEST_F(Controls, EachTurnControlTurnsItsAxisInItsSense) {
  const struct {
    int control;
    checked_array<LONGINT, 0, 2>* axis;
    LONGINT angle;
  } cases[] = {{4, &ROTBLOCK.X, 6}, {5, &ROTBLOCK.X, -6}, {6, &ROTBLOCK.Y, -6},
               {7, &ROTBLOCK.Y, 6}, {8, &ROTBLOCK.Z, -6}, {9, &ROTBLOCK.Z, 6}};
  for (const auto& c : cases) {
    ROTBLOCK = {};
    hold(c.control, 5);
    EXPECT_EQ((*c.axis)[2], c.angle) << "control " << c.control;
  }
}

TEST_F(Controls, HoverAndPressLooksFollowOneFrameLate) {
  const auto normal = control_pixels(5);
  move_to(5);
  frames(1);
  EXPECT_EQ(control_pixels(5), normal);
  frames(1);
  const auto hovered = control_pixels(5);
  double ratio = 0;
  int n = 0;
  for (size_t i = 0; i < normal.size(); ++i)
    if (normal[i] > 60 && hovered[i] != normal[i]) {
      ratio += static_cast<double>(hovered[i]) / normal[i];
      ++n;
    }
  ASSERT_GT(n, 100);
  EXPECT_NEAR(ratio / n, 0.8, 0.05);

  // A press shrinks the control a frame later; dragging off keeps it pressed.
  press(5);
  frames(1);
  EXPECT_EQ(control_pixels(5), hovered);
  frames(1);
  auto coverage = [](const std::vector<BYTE>& p) {
    int c = 0;
    for (size_t i = 0; i < p.size(); i += 3) c += p[i] != 102 || p[i + 1] != 102 || p[i + 2] != 102;
    return c;
  };
  EXPECT_NEAR(static_cast<double>(coverage(control_pixels(5))) / coverage(normal), 0.64, 0.08);
  GLWNDPROC(HWINDOW, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 100));
  frames(12);
  EXPECT_LT(ROTBLOCK.X[2], 0);
  release();
}

TEST_F(Controls, ARestingPointerThatCrossesNoControlDrawsNoFrame) {
  const auto normal = control_pixels(5);
  RESTWHENIDLE = true;
  // Over the cube the motions are taken without a frame: the pump goes on
  // resting until the key that comes later.
  come_to_rest();
  for (int x : {300, 320, 340}) platform_push_mouse_motion(x, 330);
  ASSERT_TRUE(pump_with([] { platform_push_key('R', false); }));
  EXPECT_EQ(MSG_.MESSAGE, WM_KEYUP);
  EXPECT_EQ(SETOMX, 340);
  // Onto a control and off it again: a frame for each, and the next shows
  // the look the motion brought.
  for (const auto& [x, y] : {at(5), std::pair<LONGINT, LONGINT>{300, 330}}) {
    come_to_rest();
    platform_push_mouse_motion(x, y);
    ASSERT_TRUE(pump_with()) << x << "," << y;
    EXPECT_EQ(MSG_.MESSAGE, WM_MOUSEMOVE);
    frames(2);
    EXPECT_EQ(control_pixels(5) == normal, x == 300) << x << "," << y;
  }
}

TEST_F(Controls, StayInPlaceWhateverTheViewAndEachShowsItsOwnImage) {
  std::vector<std::vector<BYTE>> normal;
  for (int n = 1; n <= 9; ++n) normal.push_back(control_pixels(n));
  // Turned and zoomed, the cube moves; the controls do not change at all.
  XROT = 100;
  YROT = -20;
  DEPTH = 25;
  frames(2);
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(control_pixels(n), normal[n - 1]) << "control " << n;
  XROT = 45;
  YROT = 225;
  DEPTH = 0;

  // Control n draws texture n: with that texture made plain red, only
  // control n turns red.
  GLuint red = 0;
  const BYTE texel[4] = {255, 0, 0, 255};
  glGenTextures(1, &red);
  glBindTexture(GL_TEXTURE_2D, red);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  for (int n = 1; n <= 9; ++n) {
    const LONGWORD image = TEXTURETGA2[n].TEXID;
    TEXTURETGA2[n].TEXID = red;
    frames(1);
    TEXTURETGA2[n].TEXID = image;
    for (int other = 1; other <= 9; ++other) {
      const std::vector<BYTE> seen = control_pixels(other);
      if (other != n) {
        EXPECT_EQ(seen, normal[other - 1]) << "control " << other << " changed with texture " << n;
        continue;
      }
      int pure_red = 0;
      for (size_t i = 0; i < seen.size(); i += 3) pure_red += seen[i] > 150 && seen[i + 1] < 40 && seen[i + 2] < 40;
      EXPECT_GT(pure_red, 600) << "control " << n;
    }
  }
  glDeleteTextures(1, &red);
  frames(1);
}

TEST_F(Controls, WithoutInputFramesAreIdentical) {
  frames(1);
  const auto first = pixels();
  frames(1);
  EXPECT_EQ(pixels(), first);
  frames(5);
  EXPECT_EQ(pixels(), first);
}

}  // namespace
