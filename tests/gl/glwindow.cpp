#include "glwindow.h"

#ifdef __linux__
#include <dlfcn.h>
#endif

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include <unistd.h>

#include "cubedraw.h"
#include "frame.h"
#include "internal.h"
#include "platform.h"
#include "scene.h"

namespace {

// Before every test of the program: the toolkit as at start (the next test
// window is a new one), the boxes recorded and the program's hooks
// recording what reaches them.
struct reset_before_each_test : ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    vtr_reset();
    record_boxes();
    reset_input();
  }
};
const bool resetting = (::testing::UnitTest::GetInstance()->listeners().Append(new reset_before_each_test), true);

// What the tests rely on, whatever the desktop they run on says: SDL's
// offscreen driver (no display, no Wayland), the C locale's messages.
const bool environment_pinned = [] {
  set_environment("SDL_VIDEODRIVER", "offscreen");
  set_environment("WAYLAND_DISPLAY", nullptr);
  set_environment("LC_ALL", "C.UTF-8");
  return true;
}();

}  // namespace

LONGINT commands_seen = 0, last_command = 0, menus_asked = 0;

void open_test_window() {
  if (HWINDOW != 0) return;
#ifdef __linux__
  // The GL driver keeps allocations for the life of the process and is
  // unloaded at exit; kept loaded, the leak checker can tell its memory from
  // ours (the suppressions name it).
  dlopen("libEGL_mesa.so.0", RTLD_LAZY | RTLD_NODELETE);
#endif
  OGLWINDOWSETTING(ARROW, "", GENERIC, "");
  CREATEOGLWINDOW("Vitrum test", 800, 600, 32, false);
  platform_show_window();
  // The system reports where the real pointer is whenever a window appears
  // or goes under it; kept off every test window, it says nothing.
  LONGINT screen_width, screen_height;
  vtr_screen_size(&screen_width, &screen_height);
  platform_set_cursor_pos(screen_width - 1, screen_height - 1);
  // A window of the system's is painted a while after it appears: what that
  // brings is taken until nothing has come for 100 ms, so that the test
  // does not meet it.
  for (int quiet = 0; quiet < 10; ++quiet) {
    if (!drain_messages().empty()) quiet = 0;
#ifdef _WIN32
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
#endif
  }
}

void reset_input() {
  vtr_reset_pump();
  commands_seen = last_command = menus_asked = 0;
  CREATEMOUSEMENU = [] { ++menus_asked; };
  GETINPUTCOMMAND = [](LONGWORD, LONGINT message, LONGINT wparam, LONGINT) -> LONGINT {
    EXPECT_EQ(message, WM_COMMAND);
    ++commands_seen;
    last_command = wparam;
    return 0;
  };
}

bool pump_with(const std::function<void()>& later) {
  using namespace std::chrono_literals;
  std::atomic<bool> returned = false;
  std::thread helper([&] {
    const auto start = std::chrono::steady_clock::now();
    bool called = !later;
    while (!returned) {
      const auto waited = std::chrono::steady_clock::now() - start;
      if (!called && waited >= 30ms) {
        later();
        called = true;
      }
      if (waited >= 3s) {
        platform_push_key(VK_F24, true);
        return;
      }
      std::this_thread::sleep_for(1ms);
    }
  });
  MSG_ = {};
  SETGLMSG();
  returned = true;
  helper.join();
  return !(MSG_.MESSAGE == WM_KEYDOWN && MSG_.WPARAM == VK_F24);
}

void come_to_rest() {
  platform_push_key('R', false);
  SETGLMSG();
  EXPECT_EQ(MSG_.MESSAGE, WM_KEYUP);
  EXPECT_TRUE(pump_with());
  EXPECT_EQ(MSG_.MESSAGE, 0);
}

std::vector<LONGINT> drain_messages() {
  std::vector<LONGINT> ids;
  TMSG m;
  while (vtr_message_pending())
    if (vtr_take_message(&m)) ids.push_back(m.MESSAGE);
  return ids;
}

void start_scene() {
  ASSERT_EQ(chdir(ZOZE_SOURCE_DIR), 0);
  // The projection, culling and light of the program's start.
  OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
  SETGLREFRACTIVE();
  SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
  // The scene of the window's own context, built as at start.
  MENU = {};
  forget_cube_lists();
  OPENGL_CREATELIST();
  ASSERT_TRUE(boxes_shown.empty());
  ASSERT_NE(TEXTURETGA2[0].TEXID, 0u);
  reset_cube();
  TIME = {};
}

void draw_frames(int n) {
  for (int i = 0; i < n; ++i) {
    glClear(GL_COLOR_BUFFER_BIT);
    OPENGL_DRAW();
  }
  glFinish();
}

std::vector<BYTE> read_pixels(int x, int y, int width, int height) {
  glFinish();
  // The buffer drawing goes to: the front buffer of a single-buffered
  // context, the back buffer of a double-buffered one.
  GLint drawn = GL_FRONT;
  glGetIntegerv(GL_DRAW_BUFFER, &drawn);
  glReadBuffer(static_cast<GLenum>(drawn));
  std::vector<BYTE> p(static_cast<std::size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, p.data());
  return p;
}

std::array<LONGINT, 2> client_point(double x, double y, double z) {
  GLdouble model[16], proj[16], wx, wy, wz;
  GLint view[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, proj);
  glGetIntegerv(GL_VIEWPORT, view);
  gluProject(x, y, z, model, proj, view, &wx, &wy, &wz);
  return {static_cast<LONGINT>(std::floor(wx)), static_cast<LONGINT>(std::floor(view[3] - wy))};
}

void expect_matrices_kept(const std::function<void()>& draw) {
  // Both matrices, the modelview stack's depth, the matrix and render modes.
  auto state = [] {
    std::array<GLfloat, 32> matrices;
    std::array<GLint, 3> modes;
    glGetFloatv(GL_MODELVIEW_MATRIX, matrices.data());
    glGetFloatv(GL_PROJECTION_MATRIX, matrices.data() + 16);
    const GLenum names[3] = {GL_MODELVIEW_STACK_DEPTH, GL_MATRIX_MODE, GL_RENDER_MODE};
    for (int i = 0; i < 3; ++i) glGetIntegerv(names[i], &modes[i]);
    return std::pair{matrices, modes};
  };
  const auto before = state();
  EXPECT_EQ((std::array{before.second[1], before.second[2]}), (std::array<GLint, 2>{GL_MODELVIEW, GL_RENDER}));
  draw();
  EXPECT_EQ(state(), before);
}
