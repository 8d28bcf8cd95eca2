// One frame of the cube program: camera, light, the nine controls (drawn,
// then picked for the next frame), the mouse-driven view and the cube.
// Keeps no state.
#include "frame.h"

#include "cubedraw.h"
#include "scene.h"

namespace {

// The 2D pass draws nothing; it leaves the 3D render state of start-up
// established again, with an identity modelview matrix.
void OPENGL_DRAW2D() {
  OPENGL_I2D(0, 0, 0, 0);
  OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
}

void OPENGL_MOUSE2D() {}
void OPENGL_KEYBOARD() {}

constexpr VTRPROCEDURE clicked[9] = {CLICKON1, CLICKON2, CLICKON3, CLICKON4, CLICKON5,
                                     CLICKON6, CLICKON7, CLICKON8, CLICKON9};
constexpr VTRPROCEDURE not_clicked[9] = {CLICKOFF1, CLICKOFF2, CLICKOFF3, CLICKOFF4, CLICKOFF5,
                                         CLICKOFF6, CLICKOFF7, CLICKOFF8, CLICKOFF9};

}  // namespace

void OPENGL_DRAW() {
  // A frame that would show the picture on the screen again is counted
  // (a held turn control counts its frames), not drawn.
  if (!vtr_picture_may_change() && !held_control_steps()) {
    count_held_controls();
    vtr_skip_frame();
    return;
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  OPENGL_DRAW2D();
  OPENGL_MOUSE2D();
  OPENGL_KEYBOARD();
  glTranslatef(0, 0, -30);
  PUTGLPOINTLIGHT(GL_LIGHT0, 0, 0, 10, 10, 0.1f);

  // The controls keep their place on the screen however the cube turns.
  glPushMatrix();
  for (LONGINT num = 0; num <= 8; ++num) MENU.DRAWMENUID(SOPRAON, SOPRAOFF, clicked[num], not_clicked[num], num);
  MENU.ELEMENTSELECTON();
  glPopMatrix();

  SETGLMOUSEMOVE(GL_M0, 2);
  SETGLSPRITE();
  TEXTURETGASELECTID(0);
  GENCUBE(3.0f);
  SETGLSPRITEOFF();
}
