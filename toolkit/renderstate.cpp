// Projection modes, the light, materials and the plain GL switches.
// Owns the light colour arrays and the last light position; everything else
// set here is state of the current GL context.
#include "internal.h"
#include "vitrum.h"

namespace {
constexpr checked_array<SINGLE, 0, 3> grey = {{0.5f, 0.5f, 0.5f, 1.0f}}, white = {{1.0f, 1.0f, 1.0f, 1.0f}};
}  // namespace

checked_array<SINGLE, 0, 3> AMBIENTLIGHT = grey;
checked_array<SINGLE, 0, 3> DIFFUSELIGHT = white;
checked_array<SINGLE, 0, 3> SPECULARLIGHT = white;
checked_array<SINGLE, 0, 3> LIGHTPOSITION = {};

void vtr_reset_render_state() {
  AMBIENTLIGHT = grey;
  DIFFUSELIGHT = SPECULARLIGHT = white;
  LIGHTPOSITION = {};
}

void OPENGL_INIT(REAL DEPTH, REAL A, REAL R, REAL G, REAL B) {
  glClearColor(static_cast<GLfloat>(R), static_cast<GLfloat>(G), static_cast<GLfloat>(B), static_cast<GLfloat>(A));
  glViewport(0, 0, WIDTH, HEIGHT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(WIDTH) / HEIGHT, 0.1, DEPTH);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearDepth(DEPTH);  // GL clamps it to 1
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_AUTO_NORMAL);
  glEnable(GL_NORMALIZE);
}

void OPENGL_I2D(REAL A, REAL R, REAL G, REAL B) {
  glClearColor(static_cast<GLfloat>(R), static_cast<GLfloat>(G), static_cast<GLfloat>(B), static_cast<GLfloat>(A));
  glViewport(0, 0, WIDTH, HEIGHT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double half_height = static_cast<double>(2 * HEIGHT) / WIDTH;
  glOrtho(-2.0, 2.0, -half_height, half_height, -2.0, 2.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_NORMALIZE);
}

void SETGLLIGHT(LONGWORD NLIGHT, SINGLE L0, SINGLE L1, SINGLE L2, SINGLE L3) {
  glEnable(GL_LIGHTING);
  glLightfv(NLIGHT, GL_AMBIENT, AMBIENTLIGHT.data());
  glLightfv(NLIGHT, GL_DIFFUSE, DIFFUSELIGHT.data());
  glLightfv(NLIGHT, GL_SPECULAR, SPECULARLIGHT.data());
  glEnable(NLIGHT);
  LIGHTPOSITION = {{L0, L1, L2, L3}};
  glLightfv(NLIGHT, GL_POSITION, LIGHTPOSITION.data());
}

void PUTGLPOINTLIGHT(LONGWORD NLIGHT, SINGLE SIZE, SINGLE LX, SINGLE LY, SINGLE LZ, SINGLE LVAL) {
  LIGHTPOSITION = {{LX, LY, LZ, LVAL}};
  glLightfv(NLIGHT, GL_POSITION, LIGHTPOSITION.data());
  if (SIZE == 0.0f) return;
  glPointSize(SIZE);
  GLBEGIN(GL_POINTS);
  glNormal3f(0.0f, 0.0f, 1.0f);
  GLVERTEX3F(LX, LY, LZ);
  GLEND();
}

void SETGLNEWMAT(SINGLE AMBR, SINGLE AMBG, SINGLE AMBB, SINGLE DIFR, SINGLE DIFG, SINGLE DIFB, SINGLE SPECR,
                 SINGLE SPECG, SINGLE SPECB, SINGLE EMISR, SINGLE EMISG, SINGLE EMISB, SINGLE SHINE) {
  const GLfloat ambient[4] = {AMBR, AMBG, AMBB, 1.0f};
  const GLfloat diffuse[4] = {DIFR, DIFG, DIFB, 1.0f};
  const GLfloat specular[4] = {SPECR, SPECG, SPECB, 1.0f};
  const GLfloat emission[4] = {EMISR, EMISG, EMISB, 1.0f};
  // GL reads the first element; outside 0..128 GL refuses it and the
  // shininess set before stays.
  const GLfloat shininess[4] = {SHINE, SHINE, SHINE, 1.0f};
  glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
  glMaterialfv(GL_FRONT, GL_EMISSION, emission);
  glMaterialfv(GL_FRONT, GL_SHININESS, shininess);
}

void SETGLREFRACTIVE() {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
}

void SETGLSPRITE() {
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.4f);
}

void SETGLSPRITEOFF() {
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
}

void LIGHTINGON() { glEnable(GL_LIGHTING); }
void LIGHTINGOFF() { glDisable(GL_LIGHTING); }
void TWOSIDEON() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); }
void TWOSIDEOFF() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0); }
void TEXTUREON() { glEnable(GL_TEXTURE_2D); }
void TEXTUREOFF() { glDisable(GL_TEXTURE_2D); }
