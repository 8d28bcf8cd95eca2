// Texture upload and the drawn puzzle, against real GL.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "cube.h"
#include "cubedraw.h"
#include "feedback.h"
#include "glwindow.h"

namespace {

std::string write_temp(const std::vector<BYTE>& content) {
  char name[] = "/tmp/vtr-tex-XXXXXX";
  const int fd = mkstemp(name);
  EXPECT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  close(fd);
  return name;
}

std::vector<BYTE> tga(int width, int height, int depth, BYTE seed) {
  std::vector<BYTE> f = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, BYTE(width), 0, BYTE(height), 0, BYTE(depth), 0};
  for (int i = 0; i < width * height * depth / 8; ++i) f.push_back(static_cast<BYTE>(seed + i * 7));
  return f;
}

class Textures : public ::testing::Test {
 protected:
  void SetUp() override {
    open_test_window();
    record_boxes();
    GL_MIN_FILTER = GL_LINEAR;
  }
};

TEST_F(Textures, UploadKeepsComponentsPixelsAndFilters) {
  for (int depth : {24, 32}) {
    // Three pixels a row: RGB rows are not a multiple of four bytes.
    const std::vector<BYTE> file = tga(3, 2, depth, 11);
    const std::string name = write_temp(file);
    TEXTURELOADTGAID(name.c_str(), 7);
    std::remove(name.c_str());
    const TGATEXTURE& slot = TEXTURETGA2[7];
    ASSERT_NE(slot.TEXID, 0u);
    EXPECT_EQ(slot.IMAGEDATA, nullptr);
    EXPECT_TRUE(boxes_shown.empty());
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound, components, min_filter, mag_filter, wrap_s, wrap_t;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<LONGWORD>(bound), slot.TEXID);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &components);
    EXPECT_TRUE(components == depth / 8 || components == (depth == 24 ? GL_RGB : GL_RGBA)) << components;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap_s);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap_t);
    EXPECT_EQ(min_filter, GL_LINEAR);
    EXPECT_EQ(mag_filter, GL_LINEAR);
    EXPECT_EQ(wrap_s, GL_REPEAT);
    EXPECT_EQ(wrap_t, GL_REPEAT);
    GLint level1 = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
    EXPECT_EQ(level1, 0);
    // The texture holds the file's pixels in R, G, B (, A) order, unsheared.
    std::vector<BYTE> back(3 * 2 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back.data());
    const int bpp = depth / 8;
    for (int p = 0; p < 6; ++p) {
      const BYTE* src = file.data() + 18 + p * bpp;
      EXPECT_EQ(back[p * 4 + 0], src[2]);
      EXPECT_EQ(back[p * 4 + 1], src[1]);
      EXPECT_EQ(back[p * 4 + 2], src[0]);
      if (depth == 32) {
        EXPECT_EQ(back[p * 4 + 3], src[3]);
      }
    }
    GLint alignment;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
  }
}

TEST_F(Textures, MipmapsOnlyUnderAMipmapFilter) {
  GL_MIN_FILTER = GL_LINEAR_MIPMAP_LINEAR;
  const std::string name = write_temp(tga(8, 4, 32, 3));
  TEXTURELOADTGAID(name.c_str(), 9);
  std::remove(name.c_str());
  GLint level1 = 0, level3 = 0, filter = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &level3);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ(level1, 4);
  EXPECT_EQ(level3, 1);
  EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
  GL_MIN_FILTER = GL_LINEAR;
}

TEST_F(Textures, SlotsKeepTheirTextureUnlessALoadSucceeds) {
  TEXTURELOADTGAID("/nonexistent/missing.tga", 20);
  EXPECT_TRUE(boxes_shown.empty());
  EXPECT_EQ(TEXTURETGA2[20].TEXID, 0u);
  TEXTURETGASELECTID(20);
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);

  const std::string name = write_temp(tga(2, 2, 24, 1));
  TEXTURELOADTGAID(name.c_str(), 20);
  const LONGWORD first = TEXTURETGA2[20].TEXID;
  TEXTURELOADTGAID(name.c_str(), 20);
  EXPECT_NE(TEXTURETGA2[20].TEXID, first);
  EXPECT_NE(TEXTURETGA2[20].TEXID, 0u);

  // A broken file is reported and leaves the texture name as it was.
  const LONGWORD second = TEXTURETGA2[20].TEXID;
  const std::string broken = write_temp({0, 0, 3, 0});
  TEXTURELOADTGAID(broken.c_str(), 20);
  ASSERT_EQ(boxes_shown.size(), 1u);
  EXPECT_EQ(boxes_shown[0].text, "Could not read file header");
  EXPECT_EQ(boxes_shown[0].caption, "ERROR");
  EXPECT_EQ(TEXTURETGA2[20].TEXID, second);
  std::remove(name.c_str());
  std::remove(broken.c_str());
}

TEST(TexturesDeathTest, SlotOutsideTheTableStopsTheProgram) {
  EXPECT_DEATH(TEXTURETGASELECTID(201), "outside 0..200");
}

// ---------------------------------------------------------------------------
// The drawn puzzle

class CubePicture : public ::testing::Test {
 protected:
  void SetUp() override {
    open_test_window();
    record_boxes();
    INITCUBE();
    ROTBLOCK = {};
    ROTOFFSET = {0, 0, 0};
    OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
    SETGLREFRACTIVE();
    SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
    if (TEXTURETGA2[0].TEXID == 0) TEXTURELOADTGAID(ZOZE_SOURCE_DIR "/immagini/colore.tga", 0);
    ASSERT_NE(TEXTURETGA2[0].TEXID, 0u);
  }

  // Draws the cube as a frame does, seen from (xrot, yrot) at distance 30
  // plus DEPTH.
  static void draw(float xrot, float yrot, float depth = 0) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, -30);
    PUTGLPOINTLIGHT(GL_LIGHT0, 0, 0, 10, 10, 0.1f);
    glTranslatef(0, 0, -depth);
    glRotatef(xrot, 1, 0, 0);
    glRotatef(yrot, 0, 1, 0);
    SETGLSPRITE();
    TEXTURETGASELECTID(0);
    GENCUBE(3.0f);
    SETGLSPRITEOFF();
    glFinish();
  }

  static std::vector<BYTE> pixels() {
    std::vector<BYTE> p(800 * 600 * 3);
    read_drawn_buffer();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, p.data());
    return p;
  }

  // The pixel under the projection of world point (x, y, z).
  static std::array<BYTE, 3> pixel_at(double x, double y, double z) {
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(x, y, z, model, proj, view, &wx, &wy, &wz);
    std::array<BYTE, 3> px;
    glReadPixels(static_cast<GLint>(wx), static_cast<GLint>(wy), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    return px;
  }

  // The colour under the projection of world point (x, y, z), by name.
  static std::string colour_at(double x, double y, double z) {
    const std::array<BYTE, 3> px = pixel_at(x, y, z);
    const double m = std::max({px[0], px[1], px[2], BYTE(1)});
    const double r = px[0] / m, g = px[1] / m, b = px[2] / m;
    const struct {
      const char* name;
      double r, g, b;
    } named[] = {{"white", 1, 1, 1}, {"green", 0, 1, 0},  {"orange", 1, 0.5, 0},
                 {"red", 1, 0, 0},   {"yellow", 1, 1, 0}, {"blue", 0, 0, 1}};
    std::string best;
    double best_d = 1e9;
    for (const auto& n : named) {
      const double d = (r - n.r) * (r - n.r) + (g - n.g) * (g - n.g) + (b - n.b) * (b - n.b);
      if (d < best_d) best_d = d, best = n.name;
    }
    return best;
  }
};

TEST_F(CubePicture, SolvedCubeShowsEachColourOnItsFace) {
  const char* names[6] = {"white", "green", "orange", "red", "yellow", "blue"};
  const int dir[6][3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}, {0, -1, 0}, {1, 0, 0}};
  // Two views between them show all six faces.
  const float views[2][2] = {{30, -35}, {-30, 145}};
  for (const auto& v : views) {
    draw(v[0], v[1]);
    glPushMatrix();
    for (int slot = 0; slot < 6; ++slot) {
      // Is the face turned towards the viewer in this view?
      GLdouble m[16];
      glGetDoublev(GL_MODELVIEW_MATRIX, m);
      const double nz = m[2] * dir[slot][0] + m[6] * dir[slot][1] + m[10] * dir[slot][2];
      if (nz < 0.3) continue;
      for (int a = -1; a <= 1; ++a)
        for (int b = -1; b <= 1; ++b) {
          double p[3];
          int u = 0;
          for (int axis = 0; axis < 3; ++axis) {
            if (dir[slot][axis] != 0) {
              p[axis] = dir[slot][axis] * 4.503;
            } else {
              p[axis] = (u++ == 0 ? a : b) * 3.0;
            }
          }
          EXPECT_EQ(colour_at(p[0], p[1], p[2]), names[slot]) << "slot " << slot << " at " << a << "," << b;
        }
    }
    glPopMatrix();
  }
}

TEST_F(CubePicture, StickersStayCleanAtEveryDistanceTheViewReaches) {
  // The start view from near to as far as the cube stays inside the far
  // plane; every point of every visible sticker, away from its rounded
  // corners, shows its colour brightly: no sliver of the dark body beneath.
  const char* names[6] = {"white", "green", "orange", "red", "yellow", "blue"};
  const int dir[6][3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}, {0, -1, 0}, {1, 0, 0}};
  for (float depth : {0.0f, 30.0f, 45.0f, 55.0f, 65.0f}) {
    draw(45, 225, depth);
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    int dark = 0, samples = 0;
    for (int slot = 0; slot < 6; ++slot) {
      if (m[2] * dir[slot][0] + m[6] * dir[slot][1] + m[10] * dir[slot][2] < 0.3) continue;
      for (int a = -1; a <= 1; ++a)
        for (int b = -1; b <= 1; ++b)
          for (double u = -0.9; u < 0.95; u += 0.3)
            for (double v = -0.9; v < 0.95; v += 0.3) {
              double p[3];
              int k = 0;
              for (int axis = 0; axis < 3; ++axis)
                p[axis] = dir[slot][axis] != 0 ? dir[slot][axis] * 4.503 : (k++ == 0 ? a * 3.0 + u : b * 3.0 + v);
              const std::array<BYTE, 3> px = pixel_at(p[0], p[1], p[2]);
              ++samples;
              if (std::max({px[0], px[1], px[2]}) < 60 || colour_at(p[0], p[1], p[2]) != names[slot]) ++dark;
            }
    }
    EXPECT_GT(samples, 1000);
    EXPECT_EQ(dark, 0) << "at depth " << depth;
  }
}

TEST_F(CubePicture, TheFirstFrameOfAFreshContextLooksAsEveryLaterOne) {
  // A fresh context has GL's default shininess until something sets one.
  glMaterialf(GL_FRONT, GL_SHININESS, 0);
  draw(45, 225);
  const auto first = pixels();
  draw(45, 225);
  const auto second = pixels();
  std::size_t differing = 0;
  for (std::size_t i = 0; i < first.size(); i += 3)
    differing += std::abs(first[i] - second[i]) + std::abs(first[i + 1] - second[i + 1]) +
                     std::abs(first[i + 2] - second[i + 2]) > 30;
  EXPECT_EQ(differing, 0u);
}

TEST_F(CubePicture, ATurnedLayerMovesAloneAndTheOffsetMovesAll) {
  draw(0, 0);
  const auto still = pixels();
  ROTBLOCK.X[0] = 45;
  draw(0, 0);
  const auto turned = pixels();
  // Screen columns that the left layer can reach: world x from -4.6 to -1.4
  // at any depth the cube covers.
  GLdouble model[16], proj[16], wx, wy, wz;
  GLint view[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, proj);
  glGetIntegerv(GL_VIEWPORT, view);
  double lo = 1e9, hi = -1e9;
  for (double x : {-4.7, -1.3})
    for (double z : {-6.6, 6.6}) {
      gluProject(x, 0, z, model, proj, view, &wx, &wy, &wz);
      lo = std::min(lo, wx);
      hi = std::max(hi, wx);
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
  draw(0, 0);
  const auto offset = pixels();
  ROTOFFSET = {0, 0, 0};
  draw(30, 0);
  const auto rotated_view = pixels();
  int different = 0;
  for (size_t i = 0; i < offset.size(); ++i) different += std::abs(offset[i] - rotated_view[i]) > 8;
  EXPECT_LT(different, 50);
  int from_still = 0;
  for (size_t i = 0; i < offset.size(); ++i) from_still += offset[i] != still[i];
  EXPECT_GT(from_still, 10000);
}

TEST_F(CubePicture, ALayerAtAQuarterTurnLooksAsTheCommittedTurn) {
  // For every axis and both senses, the layer drawn at +-90 degrees before
  // the commit shows what the cube shows after it.
  void (*const turn[3])(SINGLE, LONGINT) = {ROTATELAYERX, ROTATELAYERY, ROTATELAYERZ};
  checked_array<LONGINT, 0, 2>* const angles[3] = {&ROTBLOCK.X, &ROTBLOCK.Y, &ROTBLOCK.Z};
  for (int axis = 0; axis < 3; ++axis)
    for (int sense : {1, -1}) {
      INITCUBE();
      ROTBLOCK = {};
      (*angles[axis])[2] = 90 * sense;
      draw(45, 225);
      const auto before = pixels();
      INITCUBE();
      ROTBLOCK = {};
      for (int step = 0; step < 15; ++step) turn[axis](6.0f * sense, 2);
      ASSERT_EQ((*angles[axis])[2], 0);
      draw(45, 225);
      const auto after = pixels();
      int different = 0;
      for (size_t i = 0; i < after.size(); i += 3)
        different += std::abs(after[i] - before[i]) + std::abs(after[i + 1] - before[i + 1]) > 24;
      EXPECT_LT(different, 400) << "axis " << axis << " sense " << sense;
    }
}

TEST_F(CubePicture, GeometryCountsAndTheStateLeftBehind) {
  // One core box, 27 bodies of 114 quads and 54 stickers, two triangles
  // each; stickers are drawn with culling off, so both passes see them.
  const int triangles = feedback_triangles([] {
    glScalef(0.3f, 0.3f, 0.3f);
    GENCUBE(3.0f);
  });
  EXPECT_EQ(triangles, 2 * (6 + 27 * 114) + 2 * 2 * 54);
  // Cell [2][0][1] has two outer faces.
  EXPECT_EQ(vertex_path_count([] { CUBES[2][0][1].DRAW(2.6f, 0.2f, 3, 2, 0, 1); }), 4 * (114 + 2));
  EXPECT_EQ(vertex_path_count([] { CUBES[1][1][1].DRAW(2.6f, 0.2f, 3, 1, 1, 1); }), 4 * 114);
  EXPECT_EQ(vertex_path_count([] { CUBES[0][2][2].DRAW(2.6f, 0.2f, 3, 0, 2, 2); }), 4 * (114 + 3));
  EXPECT_FLOAT_EQ(CUBES[0][2][2].SIDESIZE, 2.6f);
  EXPECT_EQ(CUBES[0][2][2].SIDENUMPOINTS, 3);

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0, 0, -30);
  GLfloat before[16], after[16];
  GLint depth_before, depth_after, two_side;
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
  glDisable(GL_CULL_FACE);
  ROTBLOCK.Y[1] = 30;
  ROTOFFSET = {10, 20, 30};
  GENCUBE(3.0f);
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
  glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &two_side);
  EXPECT_EQ(depth_before, depth_after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_EQ(two_side, 0);
  // The last sticker drawn is the +X face of cell [2][2][2]: blue.
  GLfloat ambient[4];
  glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
  EXPECT_EQ(ambient[0], 0.0f);
  EXPECT_EQ(ambient[2], 1.0f);
}

TEST_F(CubePicture, QuadIsEmittedFromItsTopRightWithAnUprightTexture) {
  const auto quads = feedback_quads([] { QUAD(-0.15f, 0.15f, 0, 0.15f, 0.15f, 0, -0.15f, -0.15f, 0, 0.15f, -0.15f, 0); });
  ASSERT_EQ(quads.size(), 1u);
  const double expected[4][4] = {{0.15, 0.15, 1, 1}, {-0.15, 0.15, 0, 1}, {-0.15, -0.15, 0, 0}, {0.15, -0.15, 1, 0}};
  for (int v = 0; v < 4; ++v) {
    EXPECT_NEAR(quads[0][v].x, expected[v][0], 1e-5);
    EXPECT_NEAR(quads[0][v].y, expected[v][1], 1e-5);
    EXPECT_NEAR(quads[0][v].s, expected[v][2], 1e-6);
    EXPECT_NEAR(quads[0][v].t, expected[v][3], 1e-6);
  }
  GLfloat normal[3];
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  EXPECT_FLOAT_EQ(normal[0], 0);
  EXPECT_FLOAT_EQ(normal[2], 1);
  // The mirrored pick square faces away.
  QUAD(-0.15f, -0.15f, 0, 0.15f, -0.15f, 0, -0.15f, 0.15f, 0, 0.15f, 0.15f, 0);
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  EXPECT_FLOAT_EQ(normal[2], -1);
}

}  // namespace
