// Drawing the puzzle: a dark core box, 27 dark bevelled cubies and a
// coloured sticker on every outer face, in the caller's modelview frame,
// which is left as it was found. The geometry does not change from frame to
// frame: it is computed once into display lists and called, each list
// compiled again when what it holds changes (a sticker's colour after a
// turn). While the vertex path's switches are on, every vertex goes
// through it as it is computed.
// Owns the display lists and what each was compiled from.
#include "cubedraw.h"

#include <cstring>

#include "cube.h"
#include "vitrum.h"

namespace {

// What a piece's list was compiled from: its sizes, then the colour of each
// of its six faces' stickers.
constexpr int key_size = 3 + 3 * 6;

// One compiled piece: its list and what it was compiled from.
struct compiled {
  GLuint list;  // 0: none yet
  float key[key_size];
};

compiled core_box{};
checked_array<compiled, 0, 26> cubies{};

// Calls the list of PIECE compiled from KEY, compiling DRAW into it first
// when it holds anything else; draws directly where no list can serve.
template <class F>
void draw_compiled(compiled& piece, const float (&key)[key_size], F draw) {
  if (GLVERT3FREMOVE || GLVERT3FENABLEEDIT) {
    draw();
    return;
  }
  if (piece.list == 0 || std::memcmp(piece.key, key, sizeof key) != 0) {
    GLint compiling = 0;
    glGetIntegerv(GL_LIST_INDEX, &compiling);
    if (compiling != 0) {
      draw();
      return;
    }
    if (piece.list == 0) piece.list = glGenLists(1);
    std::memcpy(piece.key, key, sizeof key);
    vtr_new_list(piece.list);
    draw();
    vtr_end_list();
  }
  glCallList(piece.list);
}

constexpr SINGLE sticker_shininess = 50;

// Dark, shiny body material. Its shininess of 150 is outside GL's range, so
// GL keeps the one set before it: that of the last sticker, or, before any
// sticker was ever drawn, GL's own 0, which spreads the full white specular
// over the bevels as a glare. The body takes the stickers' shininess
// itself, so that the very first frame looks as every later one.
void body_material() {
  SETGLNEWMAT(0, 0, 0, 0.05f, 0.05f, 0.05f, 1, 1, 1, 0.05f, 0.05f, 0.05f, 150);
  glMaterialf(GL_FRONT, GL_SHININESS, sticker_shininess);
}

void sticker_material(const TGLRGB2& c) {
  SETGLNEWMAT(c.R, c.G, c.B, 0, 0, 0, c.R / 2, c.G / 2, c.B / 2, 0, 0, 0, sticker_shininess);
}

}  // namespace

void GENCUBE(SINGLE SIZE) {
  glPushMatrix();
  glRotatef(ROTOFFSET.X, 1, 0, 0);
  glRotatef(ROTOFFSET.Y, 0, 1, 0);
  glRotatef(ROTOFFSET.Z, 0, 0, 1);
  const float core_key[key_size] = {SIZE};
  draw_compiled(core_box, core_key, [SIZE] {
    TEXTUREOFF();
    body_material();
    const SINGLE lo = -SIZE / 2 - SIZE / 6, hi = SIZE / 2 - SIZE / 6;
    ZOZE(0, 0, 0, lo, lo, lo, hi, hi, hi, 1);
    TEXTUREON();
  });
  // Layer turns come before the translation to the cell, so a part-turned
  // layer spins as a block about the cube's own axis.
  for (LONGINT i = 0; i <= 2; ++i) {
    glPushMatrix();
    glRotatef(static_cast<GLfloat>(ROTBLOCK.X[i]), 1, 0, 0);
    for (LONGINT j = 0; j <= 2; ++j) {
      glPushMatrix();
      glRotatef(static_cast<GLfloat>(ROTBLOCK.Y[j]), 0, 1, 0);
      for (LONGINT k = 0; k <= 2; ++k) {
        glPushMatrix();
        glRotatef(static_cast<GLfloat>(ROTBLOCK.Z[k]), 0, 0, 1);
        glTranslatef(i * SIZE - SIZE, j * SIZE - SIZE, k * SIZE - SIZE);
        CUBES[i][j][k].DRAW(SIZE - SIZE / 7.5f, SIZE / 15, 3, i, j, k);
        glPopMatrix();
      }
      glPopMatrix();
    }
    glPopMatrix();
  }
  glPopMatrix();
}

namespace {

// One cubie as DRAW draws it, its matrix kept.
void draw_cubie(const TSINGLECUBE& cube, LONGINT I, LONGINT J, LONGINT K) {
  glPushMatrix();
  TEXTUREOFF();
  body_material();
  CUBOSMUSSATO(0, 0, 0, cube.SIDESIZE, cube.SIDERADIUS, cube.SIDENUMPOINTS, 1);
  TEXTUREON();

  // Every sticker is the square over the +Y face, lifted just off it and
  // turned onto its face. Seen from afar, a 24-bit depth buffer cannot tell
  // that lift from nothing, so the stickers are also drawn a little nearer in
  // depth than they are, and win over their face at every distance.
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(-1, -1);
  const SINGLE h = cube.SIDESIZE / 2;
  const SINGLE d = cube.SIDESIZE / 2 + cube.SIDERADIUS + 0.003f;
  auto sticker = [&](LONGINT slot, GLfloat angle, GLfloat ax, GLfloat ay, GLfloat az) {
    sticker_material(cube.SIDES[slot]);
    glPushMatrix();
    if (angle != 0) glRotatef(angle, ax, ay, az);
    QUAD(-h, d, -h, h, d, -h, -h, d, h, h, d, h);
    glPopMatrix();
  };
  if (J == 2) sticker(0, 0, 0, 0, 0);
  if (I == 0) sticker(1, 90, 0, 0, 1);
  if (K == 2) sticker(2, 90, 1, 0, 0);
  if (K == 0) sticker(3, 90, -1, 0, 0);
  if (J == 0) sticker(4, 180, 0, 0, 1);
  if (I == 2) sticker(5, 90, 0, 0, -1);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glPopMatrix();
}

}  // namespace

void TSINGLECUBE::DRAW(SINGLE SIZE, SINGLE RADIUS, LONGINT NUMPOINTS, LONGINT I, LONGINT J, LONGINT K) {
  SIDESIZE = SIZE;
  SIDERADIUS = RADIUS;
  SIDENUMPOINTS = NUMPOINTS;
  auto draw = [this, I, J, K] { draw_cubie(*this, I, J, K); };
  if (I < 0 || I > 2 || J < 0 || J > 2 || K < 0 || K > 2) {
    draw();
    return;
  }
  // The cell's list holds the body at these sizes and the stickers of the
  // cell's outer faces in these colours.
  float key[key_size] = {SIZE, RADIUS, static_cast<float>(NUMPOINTS)};
  for (LONGINT slot = 0; slot <= 5; ++slot) {
    key[3 + 3 * slot] = SIDES[slot].R;
    key[4 + 3 * slot] = SIDES[slot].G;
    key[5 + 3 * slot] = SIDES[slot].B;
  }
  draw_compiled(cubies[I * 9 + J * 3 + K], key, draw);
}

void forget_cube_lists() {
  core_box = {};
  cubies = {};
}

void QUAD(SINGLE X1, SINGLE Y1, SINGLE Z1, SINGLE X2, SINGLE Y2, SINGLE Z2, SINGLE X3, SINGLE Y3, SINGLE Z3, SINGLE X4,
          SINGLE Y4, SINGLE Z4) {
  TWOSIDEON();
  glDisable(GL_CULL_FACE);
  GLBEGIN(GL_QUADS);
  FINDNORMAL(X2, Y2, Z2, X1, Y1, Z1, X3, Y3, Z3);
  vtr_normal(static_cast<GLfloat>(FNORMAL[1]), static_cast<GLfloat>(FNORMAL[2]), static_cast<GLfloat>(FNORMAL[3]));
  LINEFREE(1, 1, 0, 1, X2, Y2, Z2, X1, Y1, Z1, true);
  LINEFREE(0, 0, 1, 0, X3, Y3, Z3, X4, Y4, Z4, true);
  GLEND();
  glEnable(GL_CULL_FACE);
  TWOSIDEOFF();
}
