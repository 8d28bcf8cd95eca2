// Vitrum demo: a window with a status bar, three shaped image buttons and
// the frame-rate read-out in the title, over a turning bevelled cube.
// Clicking a button shows which one in the status bar. Run it from the
// folder that holds data/BUTTON*.BMP; Escape or closing the window ends it.
#include <string>

#include "vitrum.h"

namespace {

LONGINT on_command(LONGWORD, LONGINT, LONGINT WPARAM, LONGINT) {
  const std::string text = "Pulsante " + std::to_string(WPARAM & 0xFFFF) + " premuto";
  vtr_set_status_text(1, text.c_str());
  return 0;
}

void no_menu_bar() {}

void on_context_menu() { vtr_set_status_text(1, "Menu contestuale"); }

void draw_scene(float angle) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, -12);
  PUTGLPOINTLIGHT(GL_LIGHT0, 0, 0, 10, 10, 0.1f);
  SETGLMOUSEMOVE(GL_M0, 2);
  glRotatef(angle, 0.3f, 1, 0.2f);
  TEXTUREOFF();
  SETGLNEWMAT(0.1f, 0.12f, 0.3f, 0.3f, 0.4f, 0.9f, 1, 1, 1, 0, 0, 0, 60);
  CUBOSMUSSATO(0, 0, 0, 3, 0.6f, 6, 1);
}

}  // namespace

int main() {
  OGLWINDOWSETTING(HAND, "", GENERIC, "");
  SHOWSTATUSBAR = true;
  MAXSTATUSITEM = 3;
  STATUSITEM[1] = 220;
  STATUSITEM[2] = 440;
  STATUSITEM[3] = -1;
  SHOWMENUBAR = true;
  CREATEMENUBAR = no_menu_bar;
  CREATEMOUSEMENU = on_context_menu;
  GETINPUTCOMMAND = on_command;
  VIEWFPS = true;
  CREATEOGLWINDOW("Vitrum demo", 640, 480, 32, false);
  LONGINT screen_width = 0, screen_height = 0;
  vtr_screen_size(&screen_width, &screen_height);
  POSITIONWINDOW(screen_width / 2 - WIDTH / 2, screen_height / 2 - HEIGHT / 2);
  vtr_start_fps_timer();

  OPENGL_INIT(100, 0, 0.16, 0.17, 0.2);
  SETGLREFRACTIVE();
  SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);

  for (LONGINT n = 1; n <= 3; ++n) {
    BMPTYPE = "data/BUTTON" + std::to_string(n);
    vtr_create_image_button(24, 24 + (n - 1) * 120, 96, 96, n);
  }
  const std::string version = "Vitrum " + VTRVERSION;
  vtr_set_status_text(2, version.c_str());

  float angle = 0;
  do {
    draw_scene(angle);
    angle += 0.5f;
    SETGLMSG();
    FPSCOUNT = checked_add(FPSCOUNT, 1);
    vtr_swap_buffers();
  } while (ACTIVE);

  DELETEOGLWINDOW();
  return 0;
}
