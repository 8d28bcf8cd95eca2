// The cube program: asks for full screen, opens the window, sets the render
// state, builds the scene and runs the frame loop until the window goes.
#include "frame.h"
#include "scene.h"
#include "vitrum.h"

int main() {
  // Floating-point exceptions are masked by default on this platform, and
  // the GL and GLU entry points are bound by the dynamic linker.
  FULLSCREEN = vtr_message_box("Settare lo schermo intero?  ", "Video!", MB_YESNO | MB_ICONQUESTION) != IDNO;
  OGLWINDOWSETTING(ARROW, "", FILEICON, "zoze.ico");
  CREATEOGLWINDOW("Zoze di velak v1.0", 800, 600, 32, FULLSCREEN);

  LONGINT screen_width = 0, screen_height = 0;
  vtr_screen_size(&screen_width, &screen_height);
  POSITIONWINDOW(screen_width / 2 - WIDTH / 2, screen_height / 2 - HEIGHT / 2);

  OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
  SETGLREFRACTIVE();
  SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
  OPENGL_CREATELIST();

  do {
    glClear(GL_COLOR_BUFFER_BIT);
    SETGLMSG();
    OPENGL_DRAW();
    vtr_swap_buffers();
  } while (ACTIVE);

  DELETEOGLWINDOW();
  return 0;
}
