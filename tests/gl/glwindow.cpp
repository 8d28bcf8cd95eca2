#include "glwindow.h"

#ifdef __linux__
#include <dlfcn.h>
#endif

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
  SHOWMENUBAR = false;
  CREATEMOUSEMENU = nullptr;
  GETINPUTCOMMAND = nullptr;
}

void read_drawn_buffer() {
  GLint drawn = GL_FRONT;
  glGetIntegerv(GL_DRAW_BUFFER, &drawn);
  glReadBuffer(static_cast<GLenum>(drawn));
}

std::vector<LONGINT> drain_messages() {
  std::vector<LONGINT> ids;
  platform_message m;
  while (platform_message_pending()) {
    if (platform_take_message(&m)) ids.push_back(m.message);
  }
  return ids;
}
