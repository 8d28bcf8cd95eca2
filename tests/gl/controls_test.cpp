// The nine controls driven frame by frame: window messages in, frames
// drawn in-process, the cube state and the pixels read back.
#include <vector>

#include "frame.h"
#include "glwindow.h"
#include "platform.h"
#include "scene.h"

namespace {

class Controls : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    start_scene();
    draw_frames(2);
  }

  // Client pixel of control N (1..9), offset by (DX, DY) in model units:
  // where the frame draws it, under the camera alone.
  static std::array<LONGINT, 2> at(int n, double dx = 0, double dy = 0) {
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0, 0, -30);
    const TGLVECTOR& p = MENU.POS[n - 1];
    const auto point = client_point(p.X + dx, p.Y + dy, p.Z);
    glPopMatrix();
    return point;
  }
  static void move_to(int n) {
    const auto [x, y] = at(n);
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  }
  static void press(int n) {
    move_to(n);
    const auto [x, y] = at(n);
    GLWNDPROC(HWINDOW, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  }
  static void release() { GLWNDPROC(HWINDOW, WM_LBUTTONUP, 0, MAKELPARAM(SETOMX, SETOMY)); }
  // Holds control N for exactly CLICKED frames in which it counts as
  // clicked: press and release are both seen one frame late.
  static void hold(int n, int clicked) {
    press(n);
    draw_frames(clicked);
    release();
    draw_frames(2);
  }

  // The square around control N, in GL window rows.
  static std::vector<BYTE> control_pixels(int n) {
    const auto [x, y] = at(n);
    return read_pixels(x - 32, 600 - y - 32, 64, 64);
  }
  // Pixels of a control's square that show the control, not the grey behind.
  static int coverage(const std::vector<BYTE>& p) {
    int n = 0;
    for (size_t i = 0; i < p.size(); i += 3) n += p[i] != 102 || p[i + 1] != 102 || p[i + 2] != 102;
    return n;
  }
};

TEST_F(Controls, StartWithLayerTwoChosen) {
  EXPECT_EQ(SELLAYER, 2);
  // Control 1 shows pressed (smaller) while 2 and 3 show normal.
  const int one = coverage(control_pixels(1)), two = coverage(control_pixels(2)), three = coverage(control_pixels(3));
  EXPECT_NEAR(two, three, three / 30);
  EXPECT_NEAR(static_cast<double>(one) / two, 0.64, 0.08);
}

TEST_F(Controls, AShortClickTurnsNothing) {
  const TCUBES before = CUBES;
  // However many: each hold starts counting afresh.
  for (int i = 0; i < 4; ++i) hold(4, 4);
  EXPECT_EQ(ROTBLOCK.X[2], 0);
  EXPECT_TRUE(same_colours(CUBES, before));
  hold(4, 5);
  EXPECT_EQ(ROTBLOCK.X[2], 6);
}

TEST_F(Controls, HoldingEightyNineFramesCommitsOneQuarterTurn) {
  hold(4, 88);
  EXPECT_EQ(ROTBLOCK.X[2], 84);
  reset_cube();
  hold(4, 89);
  EXPECT_EQ(ROTBLOCK.X[2], 0);
  const TCUBES played = CUBES;
  reset_cube();
  for (int i = 0; i < 15; ++i) ROTATELAYERX(6, 2);
  EXPECT_TRUE(same_colours(played, CUBES));

  // Holding longer goes on into the next quarter turn.
  reset_cube();
  hold(5, 89 + 6);
  EXPECT_EQ(ROTBLOCK.X[2], -6);
}

TEST_F(Controls, ChoosersActAtOnceAndLeaveAPartTurnStanding) {
  hold(4, 30);
  ASSERT_EQ(ROTBLOCK.X[2], 30);
  press(3);
  draw_frames(2);
  EXPECT_EQ(SELLAYER, 0);
  release();
  draw_frames(1);
  EXPECT_EQ((std::array{ROTBLOCK.X[2], ROTBLOCK.X[0]}), (std::array{30, 0}));
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
  draw_frames(1);
  EXPECT_EQ(control_pixels(5), normal);
  draw_frames(1);
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
  draw_frames(1);
  EXPECT_EQ(control_pixels(5), hovered);
  draw_frames(1);
  EXPECT_NEAR(static_cast<double>(coverage(control_pixels(5))) / coverage(normal), 0.64, 0.08);
  GLWNDPROC(HWINDOW, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 100));
  draw_frames(12);
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
  EXPECT_EQ((std::array{MSG_.MESSAGE, SETOMX}), (std::array{WM_KEYUP, 340}));
  // Onto a control and off it again: a frame for each, and the next shows
  // the look the motion brought.
  for (const auto& [x, y] : {at(5), std::array<LONGINT, 2>{300, 330}}) {
    come_to_rest();
    platform_push_mouse_motion(x, y);
    ASSERT_TRUE(pump_with()) << x << "," << y;
    EXPECT_EQ(MSG_.MESSAGE, WM_MOUSEMOVE);
    draw_frames(2);
    EXPECT_EQ(control_pixels(5) == normal, x == 300) << x << "," << y;
  }
}

TEST_F(Controls, AHeldControlDrawsOnlyTheFramesThatShowItsSteps) {
  // Held for 30 frames, as the program's loop runs them: the layer steps in
  // the same frames whether the pump may rest or not, and when it may, the
  // frames between the steps are counted without being drawn (the picture
  // cleared to red before each stays red). The pointer's arrival, the press
  // and the pressed look that follows are drawn.
  std::vector<LONGINT> angles[2];
  std::vector<bool> drawn;
  const auto [x, y] = at(4);
  for (const BOOLEAN resting : {false, true}) {
    start_scene();
    RESTWHENIDLE = resting;
    platform_push_mouse_motion(x, y);
    platform_push_mouse_button(1, true, x, y);
    for (int frame = 0; frame < 30; ++frame) {
      SETGLMSG();
      glClearColor(1, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      OPENGL_DRAW();
      angles[resting].push_back(ROTBLOCK.X[2]);
      if (resting) drawn.push_back(read_pixels(x, 599 - y, 1, 1) != std::vector<BYTE>{255, 0, 0});
    }
    platform_push_mouse_button(1, false, x, y);
    for (int frame = 0; frame < 3; ++frame) SETGLMSG();
  }
  EXPECT_EQ(angles[0], angles[1]);
  for (std::size_t f = 0; f < drawn.size(); ++f)
    EXPECT_EQ(drawn[f], f <= 2 || angles[1][f] != angles[1][f - 1]) << "frame " << f;
}

TEST_F(Controls, StayInPlaceWhateverTheViewAndEachShowsItsOwnImage) {
  std::vector<std::vector<BYTE>> normal;
  for (int n = 1; n <= 9; ++n) normal.push_back(control_pixels(n));
  // Turned and zoomed, the cube moves; the controls do not change at all.
  XROT = 100;
  YROT = -20;
  DEPTH = 25;
  draw_frames(2);
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
    draw_frames(1);
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
  draw_frames(1);
}

TEST_F(Controls, WithoutInputFramesAreIdentical) {
  draw_frames(1);
  const auto first = read_pixels();
  for (int n : {1, 5}) {
    draw_frames(n);
    EXPECT_EQ(read_pixels(), first) << n;
  }
}

}  // namespace
