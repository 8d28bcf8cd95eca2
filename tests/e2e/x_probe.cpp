// Looks at pixels of a window as a person would look at colours, and holds
// the left button down until the picture shows a given state.
//
//   x_probe check WINDOW X,Y,COLOUR ...
//     exit 0 when every pixel (window coordinates) shows its named colour
//   x_probe hold WINDOW PX,PY TIMEOUT X,Y,COLOUR ...
//     presses the left button at (PX, PY), waits until every pixel shows its
//     colour, releases at once; exit 0 when that happened within TIMEOUT s
//
// Colours are named by hue: white, green, orange, red, yellow, blue, grey.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../colours.h"

namespace {

struct probe {
  int x, y;
  std::string colour;
};

// The nearest named colour of a pixel, judged by its hue and brightness.
std::string name_of(unsigned long pixel) {
  const double r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  const double m = std::max({r, g, b, 1.0});
  if (m - std::min({r, g, b}) < 25) return m > 140 ? "white" : "grey";
  return nearest_sticker_colour(r, g, b);
}

// Reads the probes' bounding box in one request, so that a poll is quick.
bool all_match(Display* d, Window w, const std::vector<probe>& probes, bool report) {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = 0, y1 = 0;
  for (const probe& p : probes) {
    x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
  }
  XImage* image = XGetImage(d, w, x0, y0, x1 - x0 + 1, y1 - y0 + 1, AllPlanes, ZPixmap);
  if (!image) return false;
  bool ok = true;
  for (const probe& p : probes) {
    const unsigned long pixel = XGetPixel(image, p.x - x0, p.y - y0);
    const std::string seen = name_of(pixel);
    if (report && seen != p.colour)
      std::fprintf(stderr, "pixel %d,%d is %s (#%06lx), not %s\n", p.x, p.y, seen.c_str(), pixel, p.colour.c_str());
    ok = ok && seen == p.colour;
  }
  XDestroyImage(image);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: x_probe check WINDOW X,Y,COLOUR ... | hold WINDOW PX,PY TIMEOUT X,Y,COLOUR ...\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 2;
  const Window w = std::strtoul(argv[2], nullptr, 0);
  const bool hold = std::strcmp(argv[1], "hold") == 0;
  int px = 0, py = 0;
  if (hold && (argc < 6 || std::sscanf(argv[3], "%d,%d", &px, &py) != 2)) return 2;
  const double timeout = hold ? std::atof(argv[4]) : 0;
  std::vector<probe> probes;
  for (int i = hold ? 5 : 3; i < argc; ++i) {
    int x, y;
    char name[32];
    if (std::sscanf(argv[i], "%d,%d,%31s", &x, &y, name) != 3) return 2;
    probes.push_back({x, y, name});
  }
  if (!hold) return all_match(d, w, probes, true) ? 0 : 1;

  Window child;
  int sx, sy;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), px, py, &sx, &sy, &child);
  XTestFakeMotionEvent(d, -1, sx, sy, CurrentTime);
  XTestFakeButtonEvent(d, 1, True, CurrentTime);
  XSync(d, False);
  const auto start = std::chrono::steady_clock::now();
  bool seen = false;
  while (!seen && std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < timeout)
    seen = all_match(d, w, probes, false);
  XTestFakeButtonEvent(d, 1, False, CurrentTime);
  XSync(d, False);
  std::fprintf(stderr, "x_probe: held %.2f s\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  if (!seen) all_match(d, w, probes, true);
  XCloseDisplay(d);
  return seen ? 0 : 1;
}
