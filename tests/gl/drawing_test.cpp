// The drawing core against real GL: vertex path, render state, solids.
#include <array>
#include <cmath>
#include <numbers>

#include "feedback.h"
#include "glwindow.h"

namespace {

using Drawing = GLTest;

// The colour of GL window pixel (X, Y), rows from the bottom.
std::array<int, 3> pixel(int x, int y) {
  const std::vector<BYTE> p = read_pixels(x, y, 1, 1);
  return {p[0], p[1], p[2]};
}

// A square of side 2 about (X, Y) at depth Z, counter-clockwise (front
// facing) unless CLOCKWISE, in colour (R, G, B, A).
void square(float x, float y, float z, float r, float g, float b, float a = 1, bool clockwise = false) {
  glColor4f(r, g, b, a);
  glNormal3f(0, 0, 1);
  glBegin(GL_QUADS);
  const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  for (int i = 0; i < 4; ++i) {
    const auto& c = corners[clockwise ? 3 - i : i];
    glVertex3f(x + c[0], y + c[1], z);
  }
  glEnd();
}

// The window column where x lands at DEPTH in front of the eye, under the
// program's 45-degree view of an 800 x 600 window.
int column(double x, double depth) { return static_cast<int>((x / depth / std::tan(std::numbers::pi / 8) * 0.75 + 1) * 400); }

constexpr std::array<int, 3> grey = {102, 102, 102}, white = {255, 255, 255}, red = {255, 0, 0}, green = {0, 255, 0};

void expect_vertex(const fb_vertex& v, double x, double y, double z, double tol = 1e-4) {
  for (const auto& [got, want] : {std::pair{v.x, x}, {v.y, y}, {v.z, z}}) EXPECT_NEAR(got, want, tol);
}

// The vertex path's edit mode recorded no vertex.
void expect_nothing_recorded() {
  EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FCOUNT, 0);
  EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FOFFSET[1].X, 0.0f);
}

void expect_tex(const fb_vertex& v, double s, double t) {
  for (const auto& [got, want] : {std::pair{v.s, s}, {v.t, t}}) EXPECT_NEAR(got, want, 1e-5);
}

// Normal of a quad's winding: (v1 - v0) x (v2 - v1), unit length.
std::array<double, 3> winding_normal(const std::array<fb_vertex, 4>& q) {
  const double ax = q[1].x - q[0].x, ay = q[1].y - q[0].y, az = q[1].z - q[0].z;
  const double bx = q[2].x - q[1].x, by = q[2].y - q[1].y, bz = q[2].z - q[1].z;
  std::array<double, 3> n = {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
  const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  for (auto& c : n) c /= l;
  return n;
}

// Lights the drawing with one white directional light from DIRECTION and
// a white diffuse material: each vertex's red is the cosine between its
// normal and the light, so it shows where the normals point.
std::vector<fb_vertex> lit_from(const std::function<void()>& draw, double dx, double dy, double dz) {
  return feedback_vertices([&] {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
    const GLfloat direction[4] = {static_cast<GLfloat>(dx), static_cast<GLfloat>(dy), static_cast<GLfloat>(dz), 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    SETGLNEWMAT(0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0);
    draw();
    glDisable(GL_LIGHTING);
  });
}

// ---------------------------------------------------------------------------
// Vertex path

// A textured quad through the vertex path, or with GL's own calls.
template <bool through_path>
void quad() {
  const GLfloat corners[4][5] = {{0, 0, -1, -1, 0.5f}, {1, 0, 1, -1, 0.5f}, {1, 1, 1, 1, 0.25f}, {0, 1, -1, 1, 0}};
  through_path ? GLBEGIN(GL_QUADS) : glBegin(GL_QUADS);
  for (const auto& c : corners) {
    glTexCoord2f(c[0], c[1]);
    through_path ? GLVERTEX3F(c[2], c[3], c[4]) : glVertex3f(c[2], c[3], c[4]);
  }
  through_path ? GLEND() : glEnd();
}

// The vertices GL receives for points P sent through the vertex path.
std::vector<fb_vertex> points_through_the_path(const std::vector<std::array<float, 3>>& p) {
  return feedback_vertices([&] {
    GLBEGIN(GL_POINTS);
    for (const auto& [x, y, z] : p) GLVERTEX3F(x, y, z);
    GLEND();
  });
}

TEST_F(Drawing, PlainPathSendsWhatDirectCallsSend) {
  const auto through_path = feedback_vertices(quad<true>);
  const auto direct = feedback_vertices(quad<false>);
  ASSERT_EQ(through_path.size(), direct.size());
  ASSERT_EQ(direct.size(), 6u);
  for (size_t i = 0; i < direct.size(); ++i) {
    expect_vertex(through_path[i], direct[i].x, direct[i].y, direct[i].z, 0);
    expect_tex(through_path[i], direct[i].s, direct[i].t);
  }
  expect_nothing_recorded();
}

TEST_F(Drawing, RemoveSendsNothingButStillCopiesTheSlotCount) {
  GLBASEVERTEX3F.GLVERT3FSETNUM = 17;
  GLVERT3FREMOVE = true;
  EXPECT_TRUE(feedback_vertices(quad<true>).empty());
  EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FMAX, 17);
  // The edit mode still captures while nothing is sent.
  GLVERT3FENABLEEDIT = true;
  EXPECT_TRUE(feedback_vertices(quad<true>).empty());
  EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FCOUNT, 4);
  EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FOFFSET[3].Z, 0.25f);
}

TEST_F(Drawing, EditModeFillsSlotsInOrderAndReusesTheLast) {
  TGLVERTEX3F& v = GLBASEVERTEX3F;
  v.GLVERT3FSETNUM = 4;
  GLVERT3FENABLEEDIT = true;
  const auto sent = points_through_the_path({{0.1f, 0, 0}, {0.2f, 0, 0}, {0.3f, 0, 0}, {0.4f, 0, 0}, {0.5f, 0, 0}, {0.6f, 0, 0}});
  EXPECT_EQ(v.GLVERT3FCOUNT, 4);
  for (int k = 1; k <= 5; ++k) EXPECT_FLOAT_EQ(v.GLVERT3FOFFSET[k].X, k < 4 ? 0.1f * k : k == 4 ? 0.6f : 0) << k;
  // With every per-slot entry zero each vertex is sent as given, and the
  // unset scale becomes (1, 1, 1).
  ASSERT_EQ(sent.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(sent[i].x, 0.1 * (i + 1), 1e-5);
  for (int k = 1; k <= 4; ++k)
    EXPECT_EQ((std::array{v.GLVERT3F[k].X, v.GLVERT3FTMPSCALE[k].X, v.GLVERT3FTMPSCALE[k].Z}),
              (std::array{v.GLVERT3FOFFSET[k].X, 1.0f, 1.0f}));
}

TEST_F(Drawing, EditModeScalesTranslatesAndTurnsEachSlot) {
  TGLVERTEX3F& v = GLBASEVERTEX3F;
  v.GLVERT3FSETNUM = 3;
  v.GLVERT3FTMPROTATE[1] = {0, 0, 90};
  v.GLVERT3FTMPSCALE[2] = {2, 3, 1};
  v.GLVERT3FTMP[2] = {0.5f, 0, 0};
  v.GLVERT3FTMPPOSROT[3] = {0, 1, 0};
  v.GLVERT3FTMPROTATE[3] = {90, 0, 0};
  GLVERT3FENABLEEDIT = true;
  const auto sent = points_through_the_path({{1, 0, 0}, {1, 1, 1}, {0, 0, 0}});
  ASSERT_EQ(sent.size(), 3u);
  expect_vertex(sent[0], 0, 1, 0);
  expect_vertex(sent[1], 2.5, 3, 1);
  // The pre-rotation offset is turned with the vertex and stays added.
  expect_vertex(sent[2], 0, 0, 1);
  EXPECT_NEAR(v.GLVERT3F[1].Y, 1, 1e-6);
  EXPECT_EQ(v.GLVERT3FOFFSET[1].X, 1.0f);
}

TEST_F(Drawing, EditModeWithoutSlotsDrawsAsGivenAndRecordsNothing) {
  GLVERT3FENABLEEDIT = true;  // GLVERT3FSETNUM left at 0
  const auto sent = points_through_the_path({{0.5f, 0.25f, 0}});
  ASSERT_EQ(sent.size(), 1u);
  expect_vertex(sent[0], 0.5, 0.25, 0);
  expect_nothing_recorded();
  EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FTMPSCALE[1].X, 0.0f);
}

// ---------------------------------------------------------------------------
// Render state

TEST_F(Drawing, PerspectiveModeShowsTheSceneAsTheProgramSeesIt) {
  // A 45-degree view of the 800 x 600 window from the eye, the scene in
  // front of it from 0.1 to 100, cleared to grey; nearer things hide
  // farther ones (and equal depths the earlier), nothing is blended.
  OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  EXPECT_EQ(pixel(400, 300), grey);
  // Where (x, y) at depth 10 lands, by hand.
  auto at = [](double x, double y) {
    return std::array<int, 2>{column(x, 10), static_cast<int>((y / 10 / std::tan(std::numbers::pi / 8) + 1) * 300)};
  };
  square(3, 2, -10, 1, 0, 0, 0.5f);
  square(3, 2, -20, 0, 1, 0);  // farther: hidden
  const auto [x, y] = at(3, 2);
  EXPECT_EQ(pixel(x, y), red);
  for (const auto& [ex, ey] : {at(1.9, 2), at(4.1, 2), at(3, 0.9), at(3, 3.1)}) EXPECT_EQ(pixel(ex, ey), grey);
  square(3, 2, -10, 1, 1, 1);  // the same depth: drawn
  EXPECT_EQ(pixel(x, y), white);
  // The far plane at 100: at 99 it is drawn, at 101 not.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  square(0, 0, -99, 1, 0, 0);
  square(20, 0, -101, 0, 1, 0);
  EXPECT_EQ(pixel(400, 300), red);
  EXPECT_EQ(pixel(column(20, 101), 300), grey);
}

TEST_F(Drawing, OverlayModeFollowsTheWindowShape) {
  for (auto [width, height, half] : {std::tuple{800, 600, 1.5}, std::tuple{600, 800, 800.0 * 2 / 600}}) {
    WIDTH = width;
    HEIGHT = height;
    OPENGL_I2D(0, 0, 0, 0);
    GLfloat p[16], clear[4];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (const auto& [got, want] : {std::pair{p[0], 0.5}, {p[5], 1.0 / half}, {p[10], -0.5}}) EXPECT_NEAR(got, want, 1e-6);
    EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
  }
}

// A colour or value of GL's lights or materials, as GL keeps it.
using rgba = std::array<GLfloat, 4>;
rgba light(GLenum light, GLenum name) {
  rgba v;
  glGetLightfv(light, name, v.data());
  return v;
}
rgba material(GLenum face, GLenum name) {
  rgba v;
  glGetMaterialfv(face, name, v.data());
  return v;
}

TEST_F(Drawing, PointLightMovesTheLightAndDrawsAMarkerOnlyWithASize) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  int points = -1;
  EXPECT_TRUE(feedback_vertices([] { PUTGLPOINTLIGHT(GL_LIGHT0, 0, 0, 10, 10, 0.1f); }, &points).empty());
  const rgba pos = light(GL_LIGHT0, GL_POSITION);
  EXPECT_EQ((std::array{pos[1], pos[2], pos[3], LIGHTPOSITION[3]}), (std::array{10.0f, 10.0f, 0.1f, 0.1f}));

  // Under a camera translation the position is stored in eye coordinates.
  glTranslatef(0, 0, -30);
  PUTGLPOINTLIGHT(GL_LIGHT0, 0, 0, 10, 10, 0.1f);
  EXPECT_FLOAT_EQ(light(GL_LIGHT0, GL_POSITION)[2], 7);
  glLoadIdentity();

  // A size draws one point at (LX, LY, LZ), even for a directional light.
  const auto marker = feedback_vertices([] { PUTGLPOINTLIGHT(GL_LIGHT0, 1, 1, 2, 0.5f, 0); }, &points);
  ASSERT_EQ(points, 1);
  expect_vertex(marker[0], 1, 2, 0.5);
  EXPECT_EQ(light(GL_LIGHT0, GL_POSITION)[3], 0.0f);
}

TEST_F(Drawing, ALitSquareShowsEachColourOfTheLightThroughItsMaterial) {
  // A light shining straight at a square seen straight on, each of its
  // colours met by a material that reflects one channel of it: red its
  // ambient colour, green its diffuse one, blue its specular one. The front
  // shows the three, as the light and the material were given; the back,
  // lit from behind, shows only the ambient colour through GL's own back
  // material (a tenth of it more or less is a wrong colour in its place).
  OPENGL_I2D(0, 0, 0, 0);
  const GLfloat no_ambient[4] = {0, 0, 0, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, no_ambient);
  AMBIENTLIGHT = {{0.3f, 0.1f, 0.9f, 1}};
  DIFFUSELIGHT = {{0.2f, 0.6f, 0.1f, 1}};
  SPECULARLIGHT = {{0.15f, 0.2f, 0.5f, 1}};
  SETGLLIGHT(GL_LIGHT1, 0, 0, 1, 0);
  SETGLNEWMAT(1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 50);
  TWOSIDEON();
  glDisable(GL_CULL_FACE);
  for (const auto& [facing, seen] : {std::pair{1, std::array{77, 153, 128}}, {-1, std::array{15, 5, 46}}}) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    for (const auto& [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) glVertex2f(static_cast<GLfloat>(x * facing), y);
    glEnd();
    const auto got = pixel(400, 300);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], seen[c], 2) << (facing > 0 ? "front" : "back") << " channel " << c;
  }
}

TEST_F(Drawing, GLKeepsItsShininessRange) {
  SETGLNEWMAT(0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 0.05f, 0.06f, 0.07f, 50);
  // 150 is outside GL's range: the shininess before stays.
  SETGLNEWMAT(0, 0, 0, 0.05f, 0.05f, 0.05f, 1, 1, 1, 0.05f, 0.05f, 0.05f, 150);
  EXPECT_EQ((std::array{material(GL_FRONT, GL_SHININESS)[0], material(GL_FRONT, GL_DIFFUSE)[0]}),
            (std::array{50.0f, 0.05f}));
}

TEST_F(Drawing, SpritesDropTheirClearPartsAndTheOtherSwitchesDoWhatTheySay) {
  OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  auto fresh = [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); };
  // As a sprite, what is at most 0.4 opaque is not drawn; depth writes and
  // blending stay as they were (off and on here: the grey shows through).
  fresh();
  glDepthMask(GL_FALSE);
  glEnable(GL_BLEND);
  SETGLSPRITE();
  square(-3, 0, -10, 1, 0, 0, 0.4f);
  square(3, 0, -10, 1, 0, 0, 0.5f);
  square(6, 0, -20, 0, 1, 0);  // behind, drawn over: no depth was written
  EXPECT_EQ(pixel(column(-3, 10), 300), grey);
  const auto both = pixel(column(3, 10), 300);  // red half-blended, then green
  EXPECT_TRUE(both[0] > 200 && both[1] > 150) << both[0] << "," << both[1];
  // Off, whatever came before: every part drawn, depth written, no blend.
  glDepthMask(GL_FALSE);
  SETGLSPRITEOFF();
  fresh();
  square(-3, 0, -10, 1, 0, 0, 0.4f);
  square(-6, 0, -20, 0, 1, 0);
  EXPECT_EQ(pixel(column(-3, 10), 300), red);
  // Culling: only counter-clockwise squares face the viewer.
  SETGLREFRACTIVE();
  fresh();
  square(-3, 0, -10, 1, 0, 0, 1, true);
  square(3, 0, -10, 1, 0, 0);
  EXPECT_EQ((std::array{pixel(column(-3, 10), 300), pixel(column(3, 10), 300)}), (std::array{grey, red}));
  glDisable(GL_CULL_FACE);
  // Two-sided lighting lights the back of a square by its back: lit from
  // the front, the back of a clockwise square then stays dark.
  glEnable(GL_LIGHTING);
  SETGLLIGHT(GL_LIGHT0, 0, 0, 1, 0);
  SETGLNEWMAT(0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0);
  for (bool two_sided : {false, true}) {
    two_sided ? TWOSIDEON() : TWOSIDEOFF();
    fresh();
    square(0, 0, -10, 1, 1, 1, 1, true);
    EXPECT_EQ(pixel(400, 300)[0] > 100, !two_sided) << (two_sided ? "two-sided" : "one-sided");
  }
}

// ---------------------------------------------------------------------------
// Rounded solids

TEST_F(Drawing, BoxFacesComeInOrderWoundOutwardsWithOutwardNormals) {
  auto box = [] { ZOZE(0, 0, 0, -1, -1, -1, 1, 1, 1, 2); };
  const auto quads = feedback_quads(box);
  ASSERT_EQ(quads.size(), 6u);
  const double outward[6][3] = {{0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}};
  for (int f = 0; f < 6; ++f) {
    const auto n = winding_normal(quads[f]);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(n[c], outward[f][c], 1e-5) << "face " << f;
    // Lit from its own outward direction, exactly this face is bright.
    const auto lit = lit_from(box, outward[f][0], outward[f][1], outward[f][2]);
    ASSERT_EQ(lit.size(), 36u);
    for (int g = 0; g < 6; ++g)
      for (int k = 0; k < 6; ++k) EXPECT_NEAR(lit[g * 6 + k].r, g == f ? 1.0 : 0.0, 1e-3) << "face " << g;
  }
  // First face and its texture coordinates, as emitted.
  expect_vertex(quads[0][0], -1, -1, 1);
  expect_vertex(quads[0][2], 1, 1, 1);
  expect_tex(quads[0][1], 2, 0);
  expect_tex(quads[0][3], 0, 2);
  expect_vertex(quads[5][1], -1, -1, 1);
  expect_tex(quads[5][2], 2, 2);

  // With the corners exchanged every face turns inwards.
  const auto inverted = feedback_quads([] { ZOZE(0, 0, 0, 1, 1, 1, -1, -1, -1, 1); });
  ASSERT_EQ(inverted.size(), 6u);
  for (const auto& q : inverted) {
    const auto w = winding_normal(q);
    const double cx = q[0].x + q[2].x, cy = q[0].y + q[2].y, cz = q[0].z + q[2].z;
    EXPECT_LT(w[0] * cx + w[1] * cy + w[2] * cz, 0);
  }
}

TEST_F(Drawing, SingleSegmentEdgeAndCorner) {
  const auto edge = [] { ROUNDEDGE(0, 0, 0, 2, 1, 1, 1); };
  const auto corner = [] { ROUNDCORNER(0, 0, 0, 90, 1, 1, 1); };
  const double corners[2][4][3] = {{{1, 0, 1}, {1, 0, -1}, {0, 1, -1}, {0, 1, 1}},
                                   {{1, 0, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 1}}};
  int solid = 0;
  for (const auto& quads : {feedback_quads(edge), feedback_quads(corner)}) {
    ASSERT_EQ(quads.size(), 1u);
    for (int k = 0; k < 4; ++k) expect_vertex(quads[0][k], corners[solid][k][0], corners[solid][k][1], corners[solid][k][2]);
    ++solid;
  }
  const auto edge_quad = feedback_quads(edge)[0];
  for (const auto& [k, s, t] : {std::tuple{0, 0.25, 0.25}, {1, 0.25, -0.25}, {2, 0.0, -0.25}}) expect_tex(edge_quad[k], s, t);
  // Normals (lit red of the triangles (v0, v1, v3), (v1, v2, v3)): the edge's
  // (1, 0, 0) for the first two corners and (0, 1, 0) for the others, each
  // of the corner's away from its centre.
  const auto from_x = lit_from(edge, 1, 0, 0), from_y = lit_from(edge, 0, 1, 0), lit = lit_from(corner, 1, 0, 0);
  std::vector<long> thousandths;
  for (const fb_vertex* v : {&from_x[0], &from_x[1], &from_x[2], &from_y[0], &from_y[2], &lit[0], &lit[2]})
    thousandths.push_back(std::lround(v->r * 1000));
  EXPECT_EQ(thousandths, (std::vector<long>{1000, 1000, 0, 0, 1000, 1000, 0}));
}

TEST_F(Drawing, BevelledCubeSpansItsSizeWithEveryQuadFacingOut) {
  for (LONGINT n = 1; n <= 3; ++n) {
    auto cube = [n] { CUBOSMUSSATO(0, 0, 0, 2, 0.5f, n, 1); };
    EXPECT_EQ(vertex_path_count(cube), 4 * (6 + 12 * n + 8 * n * n));
    const auto quads = feedback_quads(cube);
    ASSERT_EQ(static_cast<int>(quads.size()), 6 + 12 * n + 8 * n * n);
    double lo[3] = {9, 9, 9}, hi[3] = {-9, -9, -9};
    for (const auto& q : quads) {
      double centre[3] = {0, 0, 0};
      for (const auto& v : q) {
        const double c[3] = {v.x, v.y, v.z};
        double d2 = 0;
        for (int a = 0; a < 3; ++a) {
          lo[a] = std::min(lo[a], c[a]);
          hi[a] = std::max(hi[a], c[a]);
          centre[a] += c[a] / 4;
          d2 += std::pow(std::max(0.0, std::abs(c[a]) - 1), 2);
        }
        // Every point lies on the rounded surface: within 1 of the core
        // box of half-size 1, at distance 0.5 from it.
        EXPECT_NEAR(std::sqrt(d2), 0.5, 1e-4);
      }
      // The winding faces away from the centre (corner quads may be
      // degenerate at the pole; their first three corners still tell).
      const auto w = winding_normal(q);
      if (!std::isnan(w[0])) {
        EXPECT_GT(w[0] * centre[0] + w[1] * centre[1] + w[2] * centre[2], 0);
      }
    }
    for (int a = 0; a < 3; ++a)
      EXPECT_TRUE(std::abs(lo[a] + 1.5) < 1e-5 && std::abs(hi[a] - 1.5) < 1e-5) << a << ": " << lo[a] << " to " << hi[a];
  }
}

TEST_F(Drawing, BevelledCubeWithoutRadiusIsAPlainCube) {
  const auto vertices = feedback_vertices([] { CUBOSMUSSATO(0.5f, 0, 0, 2, 0, 2, 1); });
  ASSERT_FALSE(vertices.empty());
  for (const auto& v : vertices)
    for (double side : {std::abs(v.x - 0.5), std::abs(v.y), std::abs(v.z)}) EXPECT_NEAR(side, 1, 1e-5);
}

TEST_F(Drawing, SolidsLeaveTheMatrixAsTheyFoundIt) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1, 2, 3);
  glRotatef(30, 1, 1, 0);
  expect_matrices_kept([] {
    ZOZE(1, 1, 1, 0, 0, 0, 1, 1, 1, 1);
    ROUNDEDGE(1, 0, 0, 1, 1, 2, 1);
    ROUNDCORNER(0, 1, 0, 45, 1, 2, 1);
    CUBOSMUSSATO(1, 2, 3, 2, 0.5f, 3, 1);
  });
  glLoadIdentity();
}

}  // namespace
