// Selection-mode picking and the 3D menu built on it.
// No state of its own: the selection buffer and the viewport are locals of
// each pick; a menu is the caller's record.
#include "internal.h"
#include "vitrum.h"

void ADDNAMETOOBJ(LONGINT NAME) {
  glLoadName(static_cast<GLuint>(NAME));
  GLBEGIN(GL_LINES);
  GLEND();
}

LONGINT SELECTOBJID(LONGINT X, LONGINT Y, LONGINT OBJNAME) {
  TVIEWPORTARRAY VIEWPORTCOORDS{};
  checked_array<GLuint, 0, 31> SELECTBUFFER{};
  glSelectBuffer(32, SELECTBUFFER.data());
  glGetIntegerv(GL_VIEWPORT, VIEWPORTCOORDS.data());
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glRenderMode(GL_SELECT);
  glLoadIdentity();
  // The viewport is the client area, so the pick row is the client row
  // counted from the bottom.
  const GLdouble row = VIEWPORTCOORDS[3] - Y;
  gluPickMatrix(X, row, 2.0, 2.0, VIEWPORTCOORDS.data());
  gluPerspective(45.0, static_cast<double>(VIEWPORTCOORDS[2]) / VIEWPORTCOORDS[3], 0.5, 150.0);
  glMatrixMode(GL_MODELVIEW);
  glInitNames();
  glPushName(0);
  glCallList(static_cast<GLuint>(OBJNAME));
  glPopName();
  const GLint found = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  if (found <= 0) return 0;
  // Records are {name count, min depth, max depth, name}: the nearest
  // minimum depth wins, the earlier record on a tie.
  GLuint lowest = SELECTBUFFER[1];
  LONGINT result = static_cast<LONGINT>(SELECTBUFFER[3]);
  for (GLint i = 1; i < found; ++i) {
    if (SELECTBUFFER[4 * i + 1] < lowest) {
      lowest = SELECTBUFFER[4 * i + 1];
      result = static_cast<LONGINT>(SELECTBUFFER[4 * i + 3]);
    }
  }
  return result;
}

void TMENU3D::ADDSELECTON(TGLVECTOR POS_, LONGINT ID) {
  CNTSEL = checked_add(CNTSEL, 1);
  BUTTONID[CNTSEL - 1] = ID;
  POS[CNTSEL - 1] = POS_;
}

void TMENU3D::SETSELECTON(VTRPROCEDURE ELEMENT) {
  MAXNUMSEL = CNTSEL;
  EVENTSELECTION = glGenLists(1);
  glNewList(EVENTSELECTION, GL_COMPILE);
  for (LONGINT i = 0; i < MAXNUMSEL; ++i) {
    OVER[i] = false;
    CLICK[i] = false;
    ADDNAMETOOBJ(BUTTONID[i]);
    glPushMatrix();
    glTranslatef(POS[i].X, POS[i].Y, POS[i].Z);
    ELEMENT();
    glPopMatrix();
  }
  glEndList();
}

void TMENU3D::ELEMENTSELECTON() {
  const LONGINT over = SELECTOBJID(SETOMX, SETOMY, static_cast<LONGINT>(EVENTSELECTION));
  const LONGINT click = SELECTOBJID(SETMX, SETMY, static_cast<LONGINT>(EVENTSELECTION));
  // The next frame draws these flags: it may differ from this one when
  // they changed, and a pressed item acts in every frame it is drawn.
  bool moved = false;
  for (LONGINT i = 0; i < MAXNUMSEL; ++i) {
    const BOOLEAN over_now = BUTTONID[i] == over, click_now = BUTTONID[i] == click;
    moved = moved || over_now != OVER[i] || click_now != CLICK[i] || click_now;
    OVER[i] = over_now;
    CLICK[i] = click_now;
  }
  vtr_note_picks(moved);
}

void TMENU3D::DRAWMENUID(VTRPROCEDURE EVENTOVER, VTRPROCEDURE EVENTNOTOVER, VTRPROCEDURE EVENTCLICK,
                         VTRPROCEDURE EVENTNOTCLICK, LONGINT NUM) {
  glPushMatrix();
  glTranslatef(POS[NUM].X, POS[NUM].Y, POS[NUM].Z);
  (OVER[NUM] ? EVENTOVER : EVENTNOTOVER)();
  (CLICK[NUM] ? EVENTCLICK : EVENTNOTCLICK)();
  glPopMatrix();
}
