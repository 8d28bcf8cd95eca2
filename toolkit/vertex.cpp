// The vertex path: glBegin/glVertex3f/glEnd behind two switches, one that
// silences output and one that captures every vertex into a numbered slot
// and transforms it by that slot's scale, translation and rotation.
// Owns GLBASEVERTEX3F (static, about 720 KB) and the two switches.
#include <span>

#include "internal.h"
#include "vitrum.h"

TGLVERTEX3F GLBASEVERTEX3F{};
BOOLEAN GLVERT3FREMOVE = false;
BOOLEAN GLVERT3FENABLEEDIT = false;

namespace {

// While a display list is compiled through vtr_new_list, each quad is
// gathered with its normals and texture coordinates and goes to GL as the
// two triangles a quad drawn at once is split into, (0, 1, 2) and (0, 2,
// 3): GL splits a quad compiled into a list along the other diagonal, which
// a smooth-shaded quad would show.
struct corner {
  GLfloat normal[3], texcoord[2], position[3];
  bool has_normal, has_texcoord;
};
bool compiling = false;
bool gathering = false;  // in a GL_QUADS primitive, while compiling
corner quad[4];
int corners = 0;
// The attributes given since the primitive began, for the next corner.
corner next{};

// Sends the gathered quad as two triangles; where a corner lacks an
// attribute another has (it takes GL's value from before), as it came.
void send_quad() {
  bool mixed = false;
  for (const corner& c : quad)
    mixed = mixed || c.has_normal != quad[3].has_normal || c.has_texcoord != quad[3].has_texcoord;
  static const int split[6] = {0, 1, 2, 0, 2, 3}, as_given[4] = {0, 1, 2, 3};
  if (mixed) {
    glEnd();
    glBegin(GL_POLYGON);
  }
  for (int i : mixed ? std::span<const int>(as_given) : std::span<const int>(split)) {
    const corner& c = quad[i];
    if (c.has_normal) glNormal3fv(c.normal);
    if (c.has_texcoord) glTexCoord2fv(c.texcoord);
    glVertex3fv(c.position);
  }
  if (mixed) {
    glEnd();
    glBegin(GL_TRIANGLES);
  }
}

}  // namespace

void GLBEGIN(LONGWORD MODE) {
  if (!GLVERT3FREMOVE) {
    gathering = compiling && MODE == GL_QUADS;
    corners = 0;
    next = {};
    glBegin(gathering ? GL_TRIANGLES : MODE);
  }
  GLBASEVERTEX3F.GLVERT3FMAX = GLBASEVERTEX3F.GLVERT3FSETNUM;
}

void GLEND() {
  if (!GLVERT3FREMOVE) glEnd();
  gathering = false;
}

void vtr_normal(GLfloat X, GLfloat Y, GLfloat Z) {
  if (!gathering) {
    glNormal3f(X, Y, Z);
    return;
  }
  next.normal[0] = X;
  next.normal[1] = Y;
  next.normal[2] = Z;
  next.has_normal = true;
}

void vtr_texcoord(GLfloat S, GLfloat T) {
  if (!gathering) {
    glTexCoord2f(S, T);
    return;
  }
  next.texcoord[0] = S;
  next.texcoord[1] = T;
  next.has_texcoord = true;
}

void GLVERTEX3F(SINGLE X, SINGLE Y, SINGLE Z) {
  if (!GLVERT3FENABLEEDIT) {
    if (GLVERT3FREMOVE) return;
    if (!gathering) {
      glVertex3f(X, Y, Z);
      return;
    }
    quad[corners] = next;
    quad[corners].position[0] = X;
    quad[corners].position[1] = Y;
    quad[corners].position[2] = Z;
    if (++corners == 4) {
      send_quad();
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
  compiling = gathering = false;
}
