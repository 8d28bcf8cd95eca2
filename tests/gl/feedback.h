// Geometry read back from GL: what a drawing sends, through GL_FEEDBACK
// under an orthographic view of x -4..4, y -3..3, z -10..10 (identity
// modelview, culling off), unprojected back to the drawing's coordinates.
#pragma once

#include <array>
#include <functional>
#include <vector>

struct fb_vertex {
  double x, y, z;     // object coordinates
  double r, g, b, a;  // colour after lighting
  double s, t;        // texture coordinates
};

// Quads of the drawing in emission order, reassembled from the two triangles
// GL returns for each.
std::vector<std::array<fb_vertex, 4>> feedback_quads(const std::function<void()>& draw);
// Every polygon vertex and every point of the drawing, in order.
std::vector<fb_vertex> feedback_vertices(const std::function<void()>& draw, int* points = nullptr);
// Number of vertices the drawing sends through the vertex path, counted
// with the edit mode (nothing reaches GL while counting).
int vertex_path_count(const std::function<void()>& draw);
