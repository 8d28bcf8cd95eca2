// Boxes and bevelled cubes, emitted through the vertex path in immediate
// mode: six flat faces, twelve quarter-cylinder edges and eight sphere-octant
// corners, counter-clockwise from outside with outward normals. Every
// procedure that transforms restores the caller's modelview matrix.
#include <cmath>

#include "vitrum.h"

namespace {

constexpr double half_pi = 1.5707963267948966;

void normal_from_fnormal() {
  vtr_normal(static_cast<GLfloat>(FNORMAL[1]), static_cast<GLfloat>(FNORMAL[2]), static_cast<GLfloat>(FNORMAL[3]));
}

struct corner {
  SINGLE x, y, z;
};

// One flat quad of a bevelled cube, emitted P2, P1, P3, P4 with its normal.
void FACE(corner p1, corner p2, corner p3, corner p4, SINGLE tsize) {
  GLBEGIN(GL_QUADS);
  FINDNORMAL(p2.x, p2.y, p2.z, p1.x, p1.y, p1.z, p3.x, p3.y, p3.z);
  normal_from_fnormal();
  LINEFREE(tsize, tsize, 0, tsize, p2.x, p2.y, p2.z, p1.x, p1.y, p1.z, true);
  LINEFREE(0, 0, tsize, 0, p3.x, p3.y, p3.z, p4.x, p4.y, p4.z, true);
  GLEND();
}

// One face of a box: normal from its first three corners, then the four
// corners with their texture coordinates.
void box_face(const corner (&v)[4], const SINGLE (&t)[4][2]) {
  FINDNORMAL(v[0].x, v[0].y, v[0].z, v[1].x, v[1].y, v[1].z, v[2].x, v[2].y, v[2].z);
  normal_from_fnormal();
  LINEFREE(t[0][0], t[0][1], t[1][0], t[1][1], v[0].x, v[0].y, v[0].z, v[1].x, v[1].y, v[1].z, true);
  LINEFREE(t[2][0], t[2][1], t[3][0], t[3][1], v[2].x, v[2].y, v[2].z, v[3].x, v[3].y, v[3].z, true);
}

}  // namespace

void LINEFREE(SINGLE TX1, SINGLE TY1, SINGLE TX2, SINGLE TY2, SINGLE X1, SINGLE Y1, SINGLE Z1, SINGLE X2, SINGLE Y2,
              SINGLE Z2, BOOLEAN TEXTURE) {
  if (TEXTURE) vtr_texcoord(TX1, TY1);
  GLVERTEX3F(X1, Y1, Z1);
  if (TEXTURE) vtr_texcoord(TX2, TY2);
  GLVERTEX3F(X2, Y2, Z2);
}

void ROUNDEDGE(SINGLE X, SINGLE Y, SINGLE Z, SINGLE LENGTH, SINGLE RADIUS, LONGINT NUMPOINTS, SINGLE TSIZE) {
  const double angle = half_pi / NUMPOINTS;
  glPushMatrix();
  glTranslatef(X, Y, Z);
  GLBEGIN(GL_QUADS);
  const double w = 0.25 * TSIZE;
  const double half = LENGTH / 2.0;
  for (LONGINT i = 0; i < NUMPOINTS; ++i) {
    const double c1 = std::cos(i * angle), s1 = std::sin(i * angle);
    const double c2 = std::cos((i + 1) * angle), s2 = std::sin((i + 1) * angle);
    auto f = [](double d) { return static_cast<GLfloat>(d); };
    vtr_normal(f(c1), f(s1), 0);
    vtr_texcoord(f(c1 * RADIUS * w), f(half * w));
    GLVERTEX3F(f(c1 * RADIUS), f(s1 * RADIUS), f(half));
    vtr_texcoord(f(c1 * RADIUS * w), f(-half * w));
    GLVERTEX3F(f(c1 * RADIUS), f(s1 * RADIUS), f(-half));
    vtr_normal(f(c2), f(s2), 0);
    vtr_texcoord(f(c2 * RADIUS * w), f(-half * w));
    GLVERTEX3F(f(c2 * RADIUS), f(s2 * RADIUS), f(-half));
    vtr_texcoord(f(c2 * RADIUS * w), f(half * w));
    GLVERTEX3F(f(c2 * RADIUS), f(s2 * RADIUS), f(half));
  }
  GLEND();
  glPopMatrix();
}

void ROUNDCORNER(SINGLE X, SINGLE Y, SINGLE Z, SINGLE ANGY, SINGLE RADIUS, LONGINT NUMPOINTS, SINGLE TSIZE) {
  const double angle = half_pi / NUMPOINTS;
  const double angle1 = static_cast<double>(DEGTORAD(ANGY)) / NUMPOINTS;
  glPushMatrix();
  glTranslatef(X, Y, Z);
  glRotatef(180, 0, 1, 0);
  glRotatef(90, 1, 0, 0);
  GLBEGIN(GL_QUADS);
  const double scale = RADIUS * 0.25 * TSIZE;
  // One vertex at elevation A and azimuth B: its inward-facing frame normal,
  // which the two rotations above turn outwards.
  auto vertex = [&](double a, double b) {
    const GLfloat nx = static_cast<GLfloat>(-std::cos(a) * std::cos(b));
    const GLfloat ny = static_cast<GLfloat>(-std::cos(a) * std::sin(b));
    const GLfloat nz = static_cast<GLfloat>(-std::sin(a));
    vtr_normal(nx, ny, nz);
    vtr_texcoord(static_cast<GLfloat>(nx * scale), static_cast<GLfloat>(ny * scale));
    GLVERTEX3F(RADIUS * nx, RADIUS * ny, RADIUS * nz);
  };
  for (LONGINT i = 0; i < NUMPOINTS; ++i) {
    const double a1 = i * angle, a2 = (i + 1) * angle;
    for (LONGINT j = 0; j < NUMPOINTS; ++j) {
      const double b1 = j * angle1, b2 = (j + 1) * angle1;
      vertex(a1, b1);
      vertex(a2, b1);
      vertex(a2, b2);
      vertex(a1, b2);
    }
  }
  GLEND();
  glPopMatrix();
}

void ZOZE(SINGLE X, SINGLE Y, SINGLE Z, SINGLE X1, SINGLE Y1, SINGLE Z1, SINGLE X2, SINGLE Y2, SINGLE Z2, SINGLE TSIZE) {
  const SINGLE T = TSIZE;
  glPushMatrix();
  glTranslatef(X, Y, Z);
  GLBEGIN(GL_QUADS);
  box_face({{X1, Y1, Z2}, {X2, Y1, Z2}, {X2, Y2, Z2}, {X1, Y2, Z2}}, {{0, 0}, {T, 0}, {T, T}, {0, T}});
  box_face({{X1, Y1, Z1}, {X1, Y2, Z1}, {X2, Y2, Z1}, {X2, Y1, Z1}}, {{T, 0}, {T, T}, {0, T}, {0, 0}});
  box_face({{X1, Y2, Z1}, {X1, Y2, Z2}, {X2, Y2, Z2}, {X2, Y2, Z1}}, {{0, T}, {0, 0}, {T, 0}, {T, T}});
  box_face({{X1, Y1, Z1}, {X2, Y1, Z1}, {X2, Y1, Z2}, {X1, Y1, Z2}}, {{T, T}, {0, T}, {0, 0}, {T, 0}});
  box_face({{X2, Y1, Z1}, {X2, Y2, Z1}, {X2, Y2, Z2}, {X2, Y1, Z2}}, {{T, 0}, {T, T}, {0, T}, {0, 0}});
  box_face({{X1, Y1, Z1}, {X1, Y1, Z2}, {X1, Y2, Z2}, {X1, Y2, Z1}}, {{0, 0}, {T, 0}, {T, T}, {0, T}});
  GLEND();
  glPopMatrix();
}

void CUBOSMUSSATO(SINGLE X, SINGLE Y, SINGLE Z, SINGLE SIZE, SINGLE RADIUS, LONGINT NUMPOINTS, SINGLE TSIZE) {
  const SINGLE h = SIZE / 2;
  const SINGLE e = SIZE / 2 + RADIUS;
  // Each piece is drawn in the frame of the +Y face, the +X/+Y edge or the
  // +X+Y+Z corner, turned into place by the rotations given.
  auto top_face = [&] { FACE({-h, e, -h}, {h, e, -h}, {-h, e, h}, {h, e, h}, TSIZE); };
  auto edge = [&] { ROUNDEDGE(h, h, 0, SIZE, RADIUS, NUMPOINTS, TSIZE); };
  auto corner_patch = [&] { ROUNDCORNER(h, h, h, 90, RADIUS, NUMPOINTS, TSIZE); };
  auto turned = [](auto draw, float angle, float ax, float ay, float az) {
    glPushMatrix();
    glRotatef(angle, ax, ay, az);
    draw();
    glPopMatrix();
  };

  glPushMatrix();
  glTranslatef(X, Y, Z);

  top_face();
  turned(top_face, 90, 0, 0, 1);
  turned(top_face, 180, 0, 0, 1);
  turned(top_face, 270, 0, 0, 1);
  turned(top_face, 90, 1, 0, 0);
  turned(top_face, 90, -1, 0, 0);

  // The four edges around the top face, then around the bottom face.
  edge();
  turned(edge, 90, 0, 1, 0);
  turned(edge, 180, 0, 1, 0);
  turned(edge, 270, 0, 1, 0);
  for (float about_y : {0.0f, 90.0f, 180.0f, 270.0f}) {
    glPushMatrix();
    glRotatef(180, 1, 0, 0);
    if (about_y != 0.0f) glRotatef(about_y, 0, 1, 0);
    edge();
    glPopMatrix();
  }
  // The four vertical edges.
  glPushMatrix();
  glRotatef(90, 1, 0, 0);
  edge();
  turned(edge, 180, 0, 1, 0);
  turned(edge, 180, 1, 0, 0);
  glPushMatrix();
  glRotatef(180, 1, 0, 0);
  glRotatef(180, 0, 1, 0);
  edge();
  glPopMatrix();
  glPopMatrix();

  // Four top corners, then the four bottom ones.
  for (int half = 0; half < 2; ++half) {
    glPushMatrix();
    if (half == 1) glRotatef(180, 1, 0, 0);
    corner_patch();
    turned(corner_patch, 90, 0, 1, 0);
    turned(corner_patch, 180, 0, 1, 0);
    turned(corner_patch, 270, 0, 1, 0);
    glPopMatrix();
  }

  glPopMatrix();
}
