// The vertex path: glBegin/glVertex3f/glEnd behind two switches, one that
// silences output and one that captures every vertex into a numbered slot
// and transforms it by that slot's scale, translation and rotation.
// Owns GLBASEVERTEX3F (static, about 720 KB) and the two switches.
#include "internal.h"
#include "vitrum.h"

TGLVERTEX3F GLBASEVERTEX3F{};
BOOLEAN GLVERT3FREMOVE = false;
BOOLEAN GLVERT3FENABLEEDIT = false;

namespace {

// While a display list is compiled through vtr_new_list, quads go to GL
// one polygon each: GL draws a quad compiled into a list as two triangles
// split along its other diagonal, which a smooth-shaded quad shows.
bool compiling = false;
bool quads_as_polygons = false;  // in a GL_QUADS primitive, while compiling
int corners = 0;                 // of the quad being sent

}  // namespace

void GLBEGIN(LONGWORD MODE) {
  if (!GLVERT3FREMOVE) {
    quads_as_polygons = compiling && MODE == GL_QUADS;
    corners = 0;
    glBegin(quads_as_polygons ? GL_POLYGON : MODE);
  }
  GLBASEVERTEX3F.GLVERT3FMAX = GLBASEVERTEX3F.GLVERT3FSETNUM;
}

void GLEND() {
  if (!GLVERT3FREMOVE) glEnd();
  quads_as_polygons = false;
}

void GLVERTEX3F(SINGLE X, SINGLE Y, SINGLE Z) {
  if (!GLVERT3FENABLEEDIT) {
    if (GLVERT3FREMOVE) return;
    glVertex3f(X, Y, Z);
    if (quads_as_polygons && ++corners == 4) {
      glEnd();
      glBegin(GL_POLYGON);
      corners = 0;
    }
    return;
  }
  TGLVERTEX3F& v = GLBASEVERTEX3F;
  if (v.GLVERT3FCOUNT < v.GLVERT3FMAX) ++v.GLVERT3FCOUNT;
  const LONGINT k = v.GLVERT3FCOUNT;
  // A slot outside the record (no slots set up, or more than it holds): the
  // vertex is drawn as given and nothing is recorded.
  if (k < 1 || k > GLVERT3FSLOTS) {
    if (!GLVERT3FREMOVE) glVertex3f(X, Y, Z);
    return;
  }
  v.GLVERT3FOFFSET[k] = {X, Y, Z};
  TGLVECTOR& s = v.GLVERT3FTMPSCALE[k];
  if (s.X == 0 && s.Y == 0 && s.Z == 0) s = {1, 1, 1};
  const TGLVECTOR& t = v.GLVERT3FTMP[k];
  const TGLVECTOR& pr = v.GLVERT3FTMPPOSROT[k];
  // Scale, translate, then add the pre-rotation offset; each sum is stored
  // in single precision as the record holds it.
  auto f = [](double d) { return static_cast<SINGLE>(d); };
  const TGLVECTOR p = {f(static_cast<double>(s.X) * X + t.X), f(static_cast<double>(s.Y) * Y + t.Y), f(static_cast<double>(s.Z) * Z + t.Z)};
  const TGLVECTOR q = {f(static_cast<double>(p.X) + pr.X), f(static_cast<double>(p.Y) + pr.Y), f(static_cast<double>(p.Z) + pr.Z)};
  v.GLVERT3F[k] = MATRIXVECROT(q, MATRIXEULERRAD(v.GLVERT3FTMPROTATE[k]));
  if (!GLVERT3FREMOVE) glVertex3f(v.GLVERT3F[k].X, v.GLVERT3F[k].Y, v.GLVERT3F[k].Z);
}

void vtr_new_list(GLuint LIST) {
  glNewList(LIST, GL_COMPILE);
  compiling = true;
}

void vtr_end_list() {
  compiling = false;
  glEndList();
}

void vtr_reset_vertex_path() {
  GLBASEVERTEX3F = {};
  GLVERT3FREMOVE = GLVERT3FENABLEEDIT = false;
  compiling = quads_as_polygons = false;
}
