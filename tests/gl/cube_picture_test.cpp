// Texture upload and the drawn puzzle, against real GL.
#include <array>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "colours.h"
#include "cubedraw.h"
#include "feedback.h"
#include "glwindow.h"

namespace {

// A plain TGA image whose bytes count up from SEED in steps of 7.
bytes counting_tga(int width, int height, int depth, BYTE seed) {
  bytes data;
  for (int i = 0; i < width * height * depth / 8; ++i) data.push_back(static_cast<BYTE>(seed + i * 7));
  return tga_file(2, width, height, depth, data);
}

using Textures = GLTest;

TEST_F(Textures, UploadKeepsComponentsPixelsAndFilters) {
  for (int depth : {24, 32}) {
    // Three pixels a row: RGB rows are not a multiple of four bytes.
    const bytes file = counting_tga(3, 2, depth, 11);
    const std::string name = temp_file(file);
    TEXTURELOADTGAID(name.c_str(), 107);
    std::remove(name.c_str());
    const TGATEXTURE& slot = TEXTURETGA2[107];
    ASSERT_NE(slot.TEXID, 0u);
    EXPECT_TRUE(!slot.IMAGEDATA && boxes_shown.empty() && glIsEnabled(GL_TEXTURE_2D));
    GLint bound, components, level1 = -1, alignment;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<LONGWORD>(bound), slot.TEXID);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &components);
    EXPECT_TRUE(components == depth / 8 || components == (depth == 24 ? GL_RGB : GL_RGBA)) << components;
    for (const auto& [name, value] : {std::pair{GL_TEXTURE_MIN_FILTER, GL_LINEAR}, {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                                      {GL_TEXTURE_WRAP_S, GL_REPEAT}, {GL_TEXTURE_WRAP_T, GL_REPEAT}}) {
      GLint got;
      glGetTexParameteriv(GL_TEXTURE_2D, name, &got);
      EXPECT_EQ(got, value) << name;
    }
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
    EXPECT_EQ(level1, 0);
    // The texture holds the file's pixels in R, G, B (, A) order, unsheared.
    std::vector<BYTE> back(3 * 2 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back.data());
    const int bpp = depth / 8;
    for (int p = 0; p < 6; ++p) {
      const BYTE* src = file.data() + 18 + p * bpp;
      for (int c = 0; c < bpp; ++c) EXPECT_EQ(back[p * 4 + c], src[c < 3 ? 2 - c : 3]) << "pixel " << p;
    }
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
  }
}

TEST_F(Textures, MipmapsOnlyUnderAMipmapFilter) {
  GL_MIN_FILTER = GL_LINEAR_MIPMAP_LINEAR;
  const std::string name = temp_file(counting_tga(8, 4, 32, 3));
  TEXTURELOADTGAID(name.c_str(), 109);
  std::remove(name.c_str());
  GLint level1 = 0, level3 = 0, filter = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &level3);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ((std::array{level1, level3, filter}), (std::array<GLint, 3>{4, 1, GL_LINEAR_MIPMAP_LINEAR}));
}

TEST_F(Textures, SlotsKeepTheirTextureUnlessALoadSucceeds) {
  TEXTURELOADTGAID("/nonexistent/missing.tga", 120);
  EXPECT_TRUE(boxes_shown.empty());
  EXPECT_EQ(TEXTURETGA2[120].TEXID, 0u);
  TEXTURETGASELECTID(120);
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);

  const std::string name = temp_file(counting_tga(2, 2, 24, 1));
  TEXTURELOADTGAID(name.c_str(), 120);
  const LONGWORD first = TEXTURETGA2[120].TEXID;
  TEXTURELOADTGAID(name.c_str(), 120);
  EXPECT_NE(TEXTURETGA2[120].TEXID, first);
  EXPECT_NE(TEXTURETGA2[120].TEXID, 0u);

  // A broken file is reported and leaves the texture name as it was.
  const LONGWORD second = TEXTURETGA2[120].TEXID;
  const std::string broken = temp_file({0, 0, 3, 0});
  TEXTURELOADTGAID(broken.c_str(), 120);
  EXPECT_EQ(boxes_shown, std::vector<std::string>{"ERROR: Could not read file header"});
  EXPECT_EQ(TEXTURETGA2[120].TEXID, second);
  std::remove(name.c_str());
  std::remove(broken.c_str());
}

TEST(TexturesDeathTest, SlotOutsideTheTableStopsTheProgram) {
  EXPECT_DEATH(TEXTURETGASELECTID(201), "outside 0..200");
}

// ---------------------------------------------------------------------------
// The drawn puzzle, in the program's own frames

class CubePicture : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    start_scene();
  }

  // The frame the program draws of the cube seen from (xrot, yrot) at
  // distance 30 plus DEPTH; the modelview matrix is the cube's after it.
  static std::vector<BYTE> draw(float xrot, float yrot, float depth = 0) {
    XROT = xrot;
    YROT = yrot;
    DEPTH = depth;
    draw_frames();
    return read_pixels();
  }

  // The pixel under the projection of world point P.
  static std::array<BYTE, 3> pixel_at(const std::array<double, 3>& p) {
    const auto [x, y] = client_point(p[0], p[1], p[2]);
    const std::vector<BYTE> px = read_pixels(x, 599 - y, 1, 1);
    return {px[0], px[1], px[2]};
  }

  // The colour under the projection of world point P, by name.
  static std::string colour_at(const std::array<double, 3>& p) {
    const std::array<BYTE, 3> px = pixel_at(p);
    return nearest_sticker_colour(px[0], px[1], px[2]);
  }

  // Calls SEE(colour name, point) for points of every sticker of every face
  // turned towards the viewer: their centres, or a grid of STEPS x STEPS
  // points across each, away from the rounded corners.
  static void each_visible_sticker(int steps, const std::function<void(const char*, const std::array<double, 3>&)>& see) {
    const auto& dir = slot_direction;
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    for (int slot = 0; slot < 6; ++slot) {
      if (m[2] * dir[slot][0] + m[6] * dir[slot][1] + m[10] * dir[slot][2] < 0.3) continue;
      for (int a = -1; a <= 1; ++a)
        for (int b = -1; b <= 1; ++b)
          for (int u = 0; u < steps; ++u)
            for (int v = 0; v < steps; ++v) {
              const double du = steps == 1 ? 0 : -0.9 + 1.8 * u / (steps - 1), dv = steps == 1 ? 0 : -0.9 + 1.8 * v / (steps - 1);
              std::array<double, 3> p;
              int k = 0;
              for (int axis = 0; axis < 3; ++axis)
                p[axis] = dir[slot][axis] != 0 ? dir[slot][axis] * 4.503 : (k++ == 0 ? a * 3.0 + du : b * 3.0 + dv);
              see(slot_colour[slot], p);
            }
    }
  }
};

// Pixels of A and B that differ by more than LIMIT in red and green together.
int differing(const std::vector<BYTE>& a, const std::vector<BYTE>& b, int limit = 24) {
  int n = 0;
  for (size_t i = 0; i < a.size(); i += 3) n += std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) > limit;
  return n;
}

TEST_F(CubePicture, SolvedCubeShowsEachColourOnItsFace) {
  // Two views between them show all six faces.
  for (const auto& [xrot, yrot] : {std::pair{30.0f, -35.0f}, {-30.0f, 145.0f}}) {
    draw(xrot, yrot);
    each_visible_sticker(1, [](const char* name, const std::array<double, 3>& p) {
      EXPECT_EQ(colour_at(p), name) << p[0] << "," << p[1] << "," << p[2];
    });
  }
}

TEST_F(CubePicture, StickersStayCleanAtEveryDistanceTheViewReaches) {
  // The start view from near to as far as the cube stays inside the far
  // plane; every point of every visible sticker, away from its rounded
  // corners, shows its colour brightly: no sliver of the dark body beneath.
  for (float depth : {0.0f, 30.0f, 45.0f, 55.0f, 65.0f}) {
    draw(45, 225, depth);
    int dark = 0, samples = 0;
    each_visible_sticker(7, [&](const char* name, const std::array<double, 3>& p) {
      const std::array<BYTE, 3> px = pixel_at(p);
      ++samples;
      dark += std::max({px[0], px[1], px[2]}) < 60 || colour_at(p) != name;
    });
    EXPECT_GT(samples, 1000);
    EXPECT_EQ(dark, 0) << "at depth " << depth;
  }
}

TEST_F(CubePicture, TheCompiledCubeIsDrawnAsTheComputedOne) {
  // Drawn from the geometry compiled once, the picture is the one computing
  // every vertex gives (the vertex path's edit mode with no slots sends each
  // as computed), pixel for pixel: a layer part-turned, and once its
  // quarter turn has moved the colours.
  ROTBLOCK.X[2] = 30;
  for (int turn = 0; turn < 2; ++turn) {
    const auto compiled = draw(45, 225);
    GLVERT3FENABLEEDIT = true;
    const auto computed = draw(45, 225);
    GLVERT3FENABLEEDIT = false;
    EXPECT_EQ(differing(compiled, computed, 0), 0) << "turn " << turn;
    for (int step = 0; step < 10; ++step) ROTATELAYERX(6, 2);
  }
}

TEST_F(CubePicture, TheFirstFrameOfAFreshContextLooksAsEveryLaterOne) {
  // A fresh context has GL's default shininess until something sets one.
  glMaterialf(GL_FRONT, GL_SHININESS, 0);
  const auto first = draw(45, 225);
  EXPECT_EQ(differing(first, draw(45, 225), 30), 0);
}

TEST_F(CubePicture, ATurnedLayerMovesAloneAndTheOffsetMovesAll) {
  const auto still = draw(0, 0);
  ROTBLOCK.X[0] = 45;
  const auto turned = draw(0, 0);
  // Screen columns that the left layer can reach: world x from -4.6 to -1.4
  // at any depth the cube covers.
  LONGINT lo = 800, hi = 0;
  for (double x : {-4.7, -1.3})
    for (double z : {-6.6, 6.6}) {
      lo = std::min(lo, client_point(x, 0, z)[0]);
      hi = std::max(hi, client_point(x, 0, z)[0]);
    }
  int changed = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const size_t i = (y * 800 + x) * 3;
      if (still[i] == turned[i] && still[i + 1] == turned[i + 1] && still[i + 2] == turned[i + 2]) continue;
      ++changed;
      EXPECT_TRUE(x >= lo - 1 && x <= hi + 1) << "pixel " << x << "," << y << " changed";
    }
  EXPECT_GT(changed, 1000);

  // The whole-cube offset turns everything, the core box included.
  ROTBLOCK = {};
  ROTOFFSET = {30, 0, 0};
  const auto offset = draw(0, 0);
  ROTOFFSET = {0, 0, 0};
  EXPECT_LT(differing(offset, draw(30, 0), 8), 50);
  EXPECT_GT(differing(offset, still, 0), 5000);
}

TEST_F(CubePicture, ALayerAtAQuarterTurnLooksAsTheCommittedTurn) {
  // For every axis, layer and sense, the layer drawn at +-90 degrees before
  // the commit shows what the cube shows after it (each seen from a view
  // that shows the layer's outer face).
  void (*const turn[3])(SINGLE, LONGINT) = {ROTATELAYERX, ROTATELAYERY, ROTATELAYERZ};
  checked_array<LONGINT, 0, 2>* const angles[3] = {&ROTBLOCK.X, &ROTBLOCK.Y, &ROTBLOCK.Z};
  for (int axis = 0; axis < 3; ++axis)
    for (int layer = 0; layer < 3; ++layer)
      for (int sense : {1, -1}) {
        const float yrot = layer == 0 ? 45 : 225;
        reset_cube();
        (*angles[axis])[layer] = 90 * sense;
        const auto before = draw(layer == 0 ? -45 : 45, yrot);
        reset_cube();
        for (int step = 0; step < 15; ++step) turn[axis](6.0f * sense, layer);
        ASSERT_EQ((*angles[axis])[layer], 0);
        EXPECT_LT(differing(draw(layer == 0 ? -45 : 45, yrot), before), 400)
            << "axis " << axis << " layer " << layer << " sense " << sense;
      }
}

TEST_F(CubePicture, ACubieAloneShowsAClosedBodyAndTheStickersOfItsOuterFacesOnly) {
  // A cubie drawn alone, seen from two opposite corners (between them every
  // face shows), under a light without glare: its body leaves no gap (a
  // convex solid covers each row between its edges), and the colours on it
  // (each over a sticker's worth of pixels, not a blend along an edge) are
  // those of its cell's outer faces: none for the centre cell, two for an
  // edge, three for a corner.
  SPECULARLIGHT = {{0, 0, 0, 1}};
  SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
  TEXTURETGASELECTID(0);  // the stickers' image, as the frame binds it
  const struct {
    int i, j, k;
    std::set<std::string> colours;
  } cells[] = {{1, 1, 1, {}}, {2, 0, 1, {slot_colour[4], slot_colour[5]}}, {0, 2, 2, {slot_colour[0], slot_colour[1], slot_colour[2]}}};
  for (const auto& c : cells) {
    std::map<std::string, int> pixels;
    for (const float turn : {45.0f, 225.0f}) {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      glLoadIdentity();
      glTranslatef(0, 0, -12);
      glRotatef(turn == 45 ? 35 : -35, 1, 0, 0);
      glRotatef(turn, 0, 1, 0);
      CUBES[c.i][c.j][c.k].DRAW(2.6f, 0.2f, 3, c.i, c.j, c.k);
      const std::vector<BYTE> p = read_pixels();
      for (int y = 0; y < 600; ++y) {
        int first = 800, last = -1, covered = 0;
        for (int x = 0; x < 800; ++x) {
          const BYTE* px = &p[(y * 800 + x) * 3];
          if (px[0] == 102 && px[1] == 102 && px[2] == 102) continue;  // the background
          first = std::min(first, x);
          last = x;
          ++covered;
          if (std::max({px[0], px[1], px[2]}) > 60) ++pixels[nearest_sticker_colour(px[0], px[1], px[2])];
        }
        EXPECT_TRUE(covered == 0 || covered == last - first + 1) << "a gap in row " << y << " of cell " << c.i << c.j << c.k;
      }
    }
    std::set<std::string> seen;
    for (const auto& [name, count] : pixels)
      if (count > 500) seen.insert(name);
    EXPECT_EQ(seen, c.colours) << "cell " << c.i << c.j << c.k;
  }
  EXPECT_EQ((std::array{CUBES[0][2][2].SIDESIZE, static_cast<float>(CUBES[0][2][2].SIDENUMPOINTS)}), (std::array{2.6f, 3.0f}));
}

TEST_F(CubePicture, TheStateGENCUBELeavesBehind) {
  glLoadIdentity();
  glTranslatef(0, 0, -30);
  glDisable(GL_CULL_FACE);
  ROTBLOCK.Y[1] = 30;
  ROTOFFSET = {10, 20, 30};
  expect_matrices_kept([] { GENCUBE(3.0f); });
  GLint two_side;
  glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &two_side);
  EXPECT_EQ((std::array<GLint, 3>{glIsEnabled(GL_TEXTURE_2D), glIsEnabled(GL_CULL_FACE), two_side}),
            (std::array<GLint, 3>{1, 1, 0}));
  // The last sticker drawn is the +X face of cell [2][2][2]: blue.
  GLfloat ambient[4];
  glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
  EXPECT_EQ((std::array{ambient[0], ambient[2]}), (std::array{0.0f, 1.0f}));
}

TEST_F(CubePicture, AQuadShowsItsImageUpright) {
  // A quad given top-left, top-right, bottom-left, bottom-right shows an
  // image the right way up and round, as the file holds it (rows from the
  // bottom): red and green below, blue and white above.
  OPENGL_I2D(0, 0, 0, 0);
  glDisable(GL_LIGHTING);
  glColor3f(1, 1, 1);
  GL_MIN_FILTER = GL_MAG_FILTER = GL_NEAREST;
  const std::string file = temp_file(tga_file(2, 2, 2, 24, {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}));  // BGR
  TEXTURELOADTGAID(file.c_str(), 110);
  std::remove(file.c_str());
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  QUAD(-1, 1, 0, 1, 1, 0, -1, -1, 0, 1, -1, 0);
  // Screen rows from the top: the quad spans 200..600 across, 100..500 down.
  for (const auto& [x, y, colour] : {std::tuple{300, 200, "blue"}, {500, 200, "white"}, {300, 400, "red"}, {500, 400, "green"}}) {
    const std::vector<BYTE> px = read_pixels(x, 599 - y, 1, 1);
    EXPECT_EQ(nearest_sticker_colour(px[0], px[1], px[2]), colour) << x << "," << y;
  }
}

}  // namespace
