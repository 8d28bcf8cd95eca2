// Selection-mode picking and the 3D menu, against real GL.
#include <tuple>

#include "glwindow.h"
#include "platform.h"
#include "scene.h"

namespace {

class Picking : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
    glTranslatef(0, 0, -30);
    menu = {};
  }
  void TearDown() override {
    if (menu.EVENTSELECTION) glDeleteLists(menu.EVENTSELECTION, 1);
  }
  LONGINT pick(double x, double y, double z) {
    const auto [cx, cy] = client_point(x, y, z);
    return SELECTOBJID(cx, cy, static_cast<LONGINT>(menu.EVENTSELECTION));
  }
  // Adds items (where, id) to the menu and makes its pick list.
  void build(std::initializer_list<std::pair<TGLVECTOR, LONGINT>> items) {
    for (const auto& [where, id] : items) menu.ADDSELECTON(where, id);
    menu.SETSELECTON(AREAPULSANTE);
  }
  void hover(double x, double y, double z) {
    const auto [cx, cy] = client_point(x, y, z);
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, MAKELPARAM(cx, cy));
  }

  TMENU3D menu;
};

TEST_F(Picking, EachControlIsFoundUnderItsCentreAndNothingOutside) {
  const double pos[9][2] = {{2.3, 1.1}, {2.3, 0.7}, {2.3, 0.3}, {2.1, -0.5}, {2.5, -0.5},
                            {2.1, -0.9}, {2.5, -0.9}, {2.1, -1.3}, {2.5, -1.3}};
  for (int i = 0; i < 9; ++i) menu.ADDSELECTON(GLVECTOR(pos[i][0], pos[i][1], 25), 100 + i);
  menu.SETSELECTON(AREAPULSANTE);
  EXPECT_EQ(menu.MAXNUMSEL, 9);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(pick(pos[i][0], pos[i][1], 25), 100 + i);
    EXPECT_EQ(pick(pos[i][0] + 0.13, pos[i][1] - 0.13, 25), 100 + i);
    EXPECT_EQ(pick(pos[i][0] + 0.17, pos[i][1], 25), 0) << i;
    hover(pos[i][0], pos[i][1], 25);
    menu.ELEMENTSELECTON();
    for (int j = 0; j < 9; ++j) EXPECT_EQ(menu.OVER[j], i == j);
  }
  // Empty space: nothing hovered, and with the button up nothing clicked.
  hover(0, 0, 25);
  menu.ELEMENTSELECTON();
  for (int j = 0; j < 9; ++j) EXPECT_FALSE(menu.OVER[j] || menu.CLICK[j]) << j;
}

TEST_F(Picking, NearestWinsAndTheEarlierOnATie) {
  build({{GLVECTOR(0, 0, 20), 1},    // farther
         {GLVECTOR(0, 0, 25), 2},    // nearer
         {GLVECTOR(1, 0, 25), 3},
         {GLVECTOR(1, 0, 25), 4}});  // same depth as 3, added later
  EXPECT_EQ((std::array{pick(0, 0, 25), pick(1, 0, 25)}), (std::array{2, 3}));
  // Whatever the order they are drawn in, the nearest of three wins.
  glDeleteLists(menu.EVENTSELECTION, 1);
  menu = {};
  build({{GLVECTOR(0, 0, 22), 5}, {GLVECTOR(0, 0, 24), 6}, {GLVECTOR(0, 0, 18), 7}});  // 6 nearest
  EXPECT_EQ(pick(0, 0, 24), 6);
}

TEST_F(Picking, NineHitsOverflowTheBufferAndPickNothing) {
  for (int i = 0; i < 8; ++i) menu.ADDSELECTON(GLVECTOR(0, 0, 25), 10 + i);
  menu.SETSELECTON(AREAPULSANTE);
  EXPECT_EQ(pick(0, 0, 25), 10);
  glDeleteLists(menu.EVENTSELECTION, 1);
  build({{GLVECTOR(0, 0, 25), 18}});
  EXPECT_EQ(menu.MAXNUMSEL, 9);
  EXPECT_EQ(pick(0, 0, 25), 0);
}

TEST_F(Picking, AnItemNamedZeroCountsAsHitWhenNothingIs) {
  build({{GLVECTOR(1, 1, 25), 0}, {GLVECTOR(-1, -1, 25), 5}});
  hover(0, 0, 25);
  menu.ELEMENTSELECTON();
  EXPECT_EQ((std::array<bool, 2>{menu.OVER[0], menu.CLICK[0]}), (std::array{true, true}));
  hover(-1, -1, 25);
  menu.ELEMENTSELECTON();
  EXPECT_EQ((std::array<bool, 2>{menu.OVER[0], menu.OVER[1]}), (std::array{false, true}));
}

TEST_F(Picking, APressStaysOnItsItemUntilTheRelease) {
  build({{GLVECTOR(1, 0, 25), 7}});
  const auto [cx, cy] = client_point(1, 0, 25);
  const LONGINT on = MAKELPARAM(cx, cy), off = MAKELPARAM(100, 100);
  GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, on);
  // Pressed on it, dragged off, released: its hover and press flags.
  for (const auto& [message, wparam, where, over, click] :
       {std::tuple{WM_LBUTTONDOWN, MK_LBUTTON, on, true, true}, {WM_MOUSEMOVE, MK_LBUTTON, off, false, true},
        {WM_LBUTTONUP, 0, off, false, false}}) {
    GLWNDPROC(HWINDOW, message, wparam, where);
    menu.ELEMENTSELECTON();
    EXPECT_EQ((std::array<bool, 2>{menu.OVER[0], menu.CLICK[0]}), (std::array{over, click})) << message;
  }
}

TEST_F(Picking, APumpThatMayRestKeepsGoingWhilePicksMoveOrAnItemIsPressed) {
  build({{GLVECTOR(1, 0, 25), 7}});
  RESTWHENIDLE = true;
  // A frame that handles nothing and picks as the one before: the next
  // pump rests, until the key pressed meanwhile.
  come_to_rest();
  menu.ELEMENTSELECTON();
  ASSERT_TRUE(pump_with([] { platform_push_key('K', true); }));
  EXPECT_EQ(MSG_.MESSAGE, WM_KEYDOWN);
  ASSERT_TRUE(pump_with());
  menu.ELEMENTSELECTON();

  // The pointer came over the item: the next frame draws its hover look.
  hover(1, 0, 25);
  menu.ELEMENTSELECTON();
  EXPECT_TRUE(pump_with());
  menu.ELEMENTSELECTON();

  // An item pressed acts in every frame (a held turn control).
  const auto [cx, cy] = client_point(1, 0, 25);
  SETMX = cx;
  SETMY = cy;
  for (int frame = 0; frame < 3; ++frame) {
    menu.ELEMENTSELECTON();
    ASSERT_TRUE(menu.CLICK[0]);
    EXPECT_TRUE(pump_with()) << "frame " << frame;
  }
}

TEST_F(Picking, PickingLeavesTheMatricesAsItFoundThem) {
  build({{GLVECTOR(0, 0, 25), 1}});
  expect_matrices_kept([this] { pick(0, 0, 25); });
}

int clicked_calls = 0, not_clicked_calls = 0, over_calls = 0, not_over_calls = 0;

TEST_F(Picking, DrawingAnItemRunsOneCallbackOfEachPairAtItsPosition) {
  menu.ADDSELECTON(GLVECTOR(1, 2, 3), 1);
  menu.OVER[0] = true;
  menu.CLICK[0] = false;
  clicked_calls = not_clicked_calls = over_calls = not_over_calls = 0;
  static GLfloat seen[16];
  menu.DRAWMENUID([] { ++over_calls; glGetFloatv(GL_MODELVIEW_MATRIX, seen); }, [] { ++not_over_calls; },
                  [] { ++clicked_calls; }, [] { ++not_clicked_calls; }, 0);
  EXPECT_EQ((std::array{over_calls, not_over_calls, clicked_calls, not_clicked_calls}), (std::array{1, 0, 0, 1}));
  EXPECT_EQ((std::array{seen[12], seen[13], seen[14]}), (std::array{1.0f, 2.0f, -27.0f}));
}

}  // namespace
