#include "glwindow.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <dlfcn.h>
#endif

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "internal.h"
#include "platform.h"
#include "support.h"

std::vector<shown_box> boxes_shown;

namespace {
LONGINT record(const char* text, const char* caption, LONGWORD) {
  boxes_shown.push_back({text, caption});
  return IDOK;
}
}  // namespace

void record_boxes() {
  boxes_shown.clear();
  vtr_message_box_handler = record;
}

void open_test_window(LONGINT width, LONGINT height) {
  if (HWINDOW != 0) return;
#ifdef __linux__
  set_environment("SDL_VIDEODRIVER", "offscreen");
  // The GL driver keeps allocations for the life of the process and is
  // unloaded at exit; kept loaded, the leak checker can tell its memory from
  // ours (the suppressions name it).
  dlopen("libEGL_mesa.so.0", RTLD_LAZY | RTLD_NODELETE);
#endif
  OGLWINDOWSETTING(ARROW, "", GENERIC, "");
  CREATEOGLWINDOW("Vitrum test", width, height, 32, false);
  // The system reports where the real pointer is whenever a window appears
  // or goes under it; kept off every test window, it says nothing.
  LONGINT screen_width, screen_height;
  vtr_screen_size(&screen_width, &screen_height);
  platform_set_cursor_pos(screen_width - 1, screen_height - 1);
  drain_messages();
}

void reset_input() {
  for (long long i = SETKEY.low(); i <= SETKEY.high(); ++i) SETKEY[i] = 0;
  SETMX = SETMY = SETOMX = SETOMY = 0;
  LEFTMOUSEDOWN = RIGHTMOUSEDOWN = LEFTMOUSEDOWN2 = RIGHTMOUSEDOWN2 = false;
  XCOORD = YCOORD = ZCOORD = 0;
  XROT = YROT = DEPTH = XROT2 = YROT2 = DEPTH2 = 0;
  MOUSEFREE = false;
  MSPEED = 0;
  FPSCOUNT = 0;
  FORCEFPS = 1;
  ADDFORCEFPS = 0;
  VIEWFPS = false;
  RESTWHENIDLE = false;
  SHOWMENUBAR = false;
  CREATEMOUSEMENU = nullptr;
  GETINPUTCOMMAND = nullptr;
}

void read_drawn_buffer() {
  GLint drawn = GL_FRONT;
  glGetIntegerv(GL_DRAW_BUFFER, &drawn);
  glReadBuffer(static_cast<GLenum>(drawn));
}

bool pump_with(const std::function<void()>& later) {
  using namespace std::chrono_literals;
  std::mutex lock;
  std::condition_variable returned;
  bool done = false;
  std::thread helper([&] {
    std::unique_lock held(lock);
    const auto over = [&] { return done; };
    if (later && !returned.wait_for(held, 30ms, over)) {
      held.unlock();
      later();
      held.lock();
    }
    if (!returned.wait_for(held, 3s, over)) platform_push_key(VK_F24, true);
  });
  MSG_ = {};
  SETGLMSG();
  {
    std::lock_guard<std::mutex> held(lock);
    done = true;
  }
  returned.notify_all();
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
  while (vtr_message_pending()) {
    if (vtr_take_message(&m)) ids.push_back(m.MESSAGE);
  }
  return ids;
}
