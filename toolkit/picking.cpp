// Selection-mode picking and the 3D menu built on it.
// The selection buffer and the viewport are locals of each pick; a menu is
// the caller's record. Owns only what the pump needs to pick the hover state
// again between frames: which menus picked and under which modelview matrix.
#include "internal.h"
#include "vitrum.h"

namespace {

// The menus that picked in the frames drawn so far, each with the modelview
// matrix of its last pick, so that the hover pick can be made again without
// drawing. A menu that stops picking stays, and only ever costs a frame.
struct picked_menu {
  const TMENU3D* menu;
  GLfloat modelview[16];
  GLint viewport[4];
  GLboolean culling;
  GLint culled;  // the faces culled
};
constexpr int max_picked_menus = 8;
checked_array<picked_menu, 0, max_picked_menus - 1> picked_menus{};
int picked_count = 0;
bool menu_unknown = false;  // more menus than the table holds: the pump draws on every motion

void remember_pick(const TMENU3D* menu) {
  int i = 0;
  while (i < picked_count && picked_menus[i].menu != menu) ++i;
  if (i == max_picked_menus) {
    menu_unknown = true;
    return;
  }
  if (i == picked_count) ++picked_count;
  picked_menu& p = picked_menus[i];
  p.menu = menu;
  glGetFloatv(GL_MODELVIEW_MATRIX, p.modelview);
  glGetIntegerv(GL_VIEWPORT, p.viewport);
  p.culling = glIsEnabled(GL_CULL_FACE);
  glGetIntegerv(GL_CULL_FACE_MODE, &p.culled);
}

// True when a menu's hover pick at the pointer's present position differs
// from the flags the last frame drew, or when some menu is unknown here.
bool hover_changed() {
  if (picked_count == 0 || menu_unknown) return true;
  // Each menu is picked again as it was picked: its matrix, its viewport,
  // its culling.
  glPushAttrib(GL_VIEWPORT_BIT | GL_ENABLE_BIT | GL_POLYGON_BIT);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  bool changed = false;
  for (int m = 0; m < picked_count && !changed; ++m) {
    const picked_menu& p = picked_menus[m];
    glLoadMatrixf(p.modelview);
    glViewport(p.viewport[0], p.viewport[1], p.viewport[2], p.viewport[3]);
    (p.culling ? glEnable : glDisable)(GL_CULL_FACE);
    glCullFace(static_cast<GLenum>(p.culled));
    const LONGINT over = SELECTOBJID(SETOMX, SETOMY, static_cast<LONGINT>(p.menu->EVENTSELECTION));
    for (LONGINT i = 0; i < p.menu->MAXNUMSEL && !changed; ++i) changed = (p.menu->BUTTONID[i] == over) != p.menu->OVER[i];
  }
  glPopMatrix();
  glPopAttrib();
  return changed;
}

}  // namespace

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

TMENU3D::~TMENU3D() {
  for (int i = 0; i < picked_count; ++i) {
    if (picked_menus[i].menu != this) continue;
    picked_menus[i] = picked_menus[picked_count - 1];
    --picked_count;
    break;
  }
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
  // they changed, and a pressed item acts in every frame.
  bool changed = false, pressed = false;
  for (LONGINT i = 0; i < MAXNUMSEL; ++i) {
    const BOOLEAN over_now = BUTTONID[i] == over, click_now = BUTTONID[i] == click;
    changed = changed || over_now != OVER[i] || click_now != CLICK[i];
    pressed = pressed || click_now;
    OVER[i] = over_now;
    CLICK[i] = click_now;
  }
  remember_pick(this);
  vtr_note_picks(changed, pressed, hover_changed);
}

void TMENU3D::DRAWMENUID(VTRPROCEDURE EVENTOVER, VTRPROCEDURE EVENTNOTOVER, VTRPROCEDURE EVENTCLICK,
                         VTRPROCEDURE EVENTNOTCLICK, LONGINT NUM) {
  glPushMatrix();
  glTranslatef(POS[NUM].X, POS[NUM].Y, POS[NUM].Z);
  (OVER[NUM] ? EVENTOVER : EVENTNOTOVER)();
  (CLICK[NUM] ? EVENTCLICK : EVENTNOTCLICK)();
  glPopMatrix();
}

void vtr_reset_picks() {
  picked_menus = {};
  picked_count = 0;
  menu_unknown = false;
}
