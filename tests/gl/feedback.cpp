#include "feedback.h"

#include <gtest/gtest.h>

#include "vitrum.h"

namespace {

GLfloat buffer[1 << 21];

std::vector<std::vector<fb_vertex>> run(const std::function<void()>& draw, int* points) {
  // The viewport and culling switch come back with the attributes.
  glPushAttrib(GL_VIEWPORT_BIT | GL_ENABLE_BIT);
  glViewport(0, 0, 800, 600);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-4, 4, -3, 3, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_CULL_FACE);
  glFeedbackBuffer(sizeof buffer / sizeof buffer[0], GL_3D_COLOR_TEXTURE, buffer);
  glRenderMode(GL_FEEDBACK);
  draw();
  const int n = glRenderMode(GL_RENDER);
  glPopAttrib();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  EXPECT_GE(n, 0) << "feedback buffer overflow";

  auto vertex = [](const GLfloat* p) {
    return fb_vertex{p[0] / 100.0 - 4, p[1] / 100.0 - 3, -(2.0 * p[2] - 1) * 10, p[3], p[4], p[5], p[6], p[7], p[8]};
  };
  std::vector<std::vector<fb_vertex>> polys;
  if (points) *points = 0;
  for (int i = 0; i < n;) {
    const int token = static_cast<int>(buffer[i++]);
    if (token == GL_POLYGON_TOKEN) {
      const int count = static_cast<int>(buffer[i++]);
      std::vector<fb_vertex> poly;
      for (int k = 0; k < count; ++k, i += 11) poly.push_back(vertex(buffer + i));
      polys.push_back(poly);
    } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
               token == GL_COPY_PIXEL_TOKEN) {
      if (points && token == GL_POINT_TOKEN) ++*points;
      polys.push_back({vertex(buffer + i)});
      i += 11;
    } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      polys.push_back({vertex(buffer + i), vertex(buffer + i + 11)});
      i += 22;
    } else if (token == GL_PASS_THROUGH_TOKEN) {
      ++i;
    } else {
      ADD_FAILURE() << "unknown feedback token " << token;
      break;
    }
  }
  return polys;
}

}  // namespace

std::vector<std::array<fb_vertex, 4>> feedback_quads(const std::function<void()>& draw) {
  const auto polys = run(draw, nullptr);
  std::vector<std::array<fb_vertex, 4>> quads;
  // GL splits quad (v0, v1, v2, v3) into (v0, v1, v3) and (v1, v2, v3).
  EXPECT_EQ(polys.size() % 2, 0u);
  for (size_t i = 0; i + 1 < polys.size(); i += 2) {
    EXPECT_TRUE(polys[i].size() == 3 && polys[i + 1].size() == 3) << "polygon " << i;
    quads.push_back({polys[i][0], polys[i][1], polys[i + 1][1], polys[i + 1][2]});
  }
  return quads;
}

std::vector<fb_vertex> feedback_vertices(const std::function<void()>& draw, int* points) {
  std::vector<fb_vertex> all;
  for (const auto& p : run(draw, points)) all.insert(all.end(), p.begin(), p.end());
  return all;
}

int vertex_path_count(const std::function<void()>& draw) {
  TGLVERTEX3F& v = GLBASEVERTEX3F;
  const LONGINT setnum = v.GLVERT3FSETNUM;
  v.GLVERT3FSETNUM = GLVERT3FSLOTS;
  v.GLVERT3FCOUNT = 0;
  GLVERT3FENABLEEDIT = GLVERT3FREMOVE = true;
  draw();
  const int count = v.GLVERT3FCOUNT;
  GLVERT3FENABLEEDIT = GLVERT3FREMOVE = false;
  v.GLVERT3FSETNUM = setnum;
  v.GLVERT3FCOUNT = 0;
  for (int k = 1; k <= count; ++k) v.GLVERT3FTMPSCALE[k] = {0, 0, 0};
  return count;
}
