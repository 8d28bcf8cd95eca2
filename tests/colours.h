// The sticker colours by name, as a person tells them apart: the nearest
// by hue, whatever the brightness.
#pragma once

#include <algorithm>
#include <string>

inline std::string nearest_sticker_colour(double r, double g, double b) {
  const double m = std::max({r, g, b, 1.0});
  const struct {
    const char* name;
    double r, g, b;
  } named[] = {{"white", 1, 1, 1}, {"green", 0, 1, 0},  {"orange", 1, 0.5, 0},
               {"red", 1, 0, 0},   {"yellow", 1, 1, 0}, {"blue", 0, 0, 1}};
  const char* best = "";
  double best_d = 1e9;
  for (const auto& n : named) {
    const double d = (r / m - n.r) * (r / m - n.r) + (g / m - n.g) * (g / m - n.g) + (b / m - n.b) * (b / m - n.b);
    if (d < best_d) best_d = d, best = n.name;
  }
  return best;
}
