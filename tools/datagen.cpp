// Drawing the program's pictures: shapes given as inside-tests, covered with
// 4 x 4 samples per pixel for smooth edges, composited over each other.
#include "datagen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace {

using shape = std::function<bool(double x, double y)>;

struct colour {
  double r, g, b, a;
};

// Paints SHAPE in colour C over the picture (coordinates in pixels, y down).
void paint(picture& p, const shape& inside, colour c) {
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
      if (hits == 0) continue;
      const double a = c.a * hits / 16.0;
      std::uint8_t* px = &p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4];
      const double below = px[3] / 255.0;
      const double out = a + below * (1 - a);
      auto mix = [&](int i, double v) {
        const double blended = out > 0 ? (v * a + px[i] / 255.0 * below * (1 - a)) / out : 0;
        px[i] = static_cast<std::uint8_t>(std::lround(std::clamp(blended, 0.0, 1.0) * 255));
      };
      mix(0, c.r);
      mix(1, c.g);
      mix(2, c.b);
      px[3] = static_cast<std::uint8_t>(std::lround(out * 255));
    }
}

// Little-endian fields of the file writers.
void u16(std::vector<std::uint8_t>& v, unsigned x) {
  v.push_back(std::uint8_t(x));
  v.push_back(std::uint8_t(x >> 8));
}
void u32(std::vector<std::uint8_t>& v, unsigned x) {
  u16(v, x & 0xFFFF);
  u16(v, x >> 16);
}

picture blank(int w, int h) { return {w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 4, 0)}; }

shape rounded_rect(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    const double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}

double segment_distance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// A stroked polyline of half-width W; points in a unit box mapped onto
// (x0, y0)..(x0 + size, y0 + size).
shape strokes(std::vector<std::vector<std::pair<double, double>>> lines, double x0, double y0, double size, double w) {
  for (auto& line : lines)
    for (auto& [x, y] : line) {
      x = x0 + x * size;
      y = y0 + y * size;
    }
  return [=](double x, double y) {
    for (const auto& line : lines)
      for (std::size_t i = 0; i + 1 < line.size(); ++i)
        if (segment_distance(x, y, line[i].first, line[i].second, line[i + 1].first, line[i + 1].second) <= w)
          return true;
    return false;
  };
}

// Glyphs as strokes in a unit box, y down.
std::vector<std::vector<std::pair<double, double>>> glyph(char c) {
  switch (c) {
    case '1': return {{{0.3, 0.25}, {0.55, 0.05}, {0.55, 0.95}}, {{0.3, 0.95}, {0.8, 0.95}}};
    case '2':
      return {{{0.2, 0.25}, {0.3, 0.1}, {0.5, 0.05}, {0.7, 0.1}, {0.8, 0.27}, {0.75, 0.45}, {0.2, 0.95}, {0.82, 0.95}}};
    case '3':
      return {{{0.2, 0.12}, {0.45, 0.05}, {0.7, 0.1}, {0.78, 0.27}, {0.65, 0.45}, {0.42, 0.48}},
              {{0.42, 0.48}, {0.7, 0.53}, {0.8, 0.72}, {0.7, 0.9}, {0.45, 0.96}, {0.2, 0.88}}};
    case 'X': return {{{0.15, 0.05}, {0.85, 0.95}}, {{0.85, 0.05}, {0.15, 0.95}}};
    case 'Y': return {{{0.15, 0.05}, {0.5, 0.5}, {0.85, 0.05}}, {{0.5, 0.5}, {0.5, 0.95}}};
    default: return {{{0.15, 0.05}, {0.85, 0.05}, {0.15, 0.95}, {0.85, 0.95}}};  // Z
  }
}

// A round arrow about (cx, cy): an arc of most of a circle with a head at
// its end, turning counter-clockwise on the screen when CCW is true.
shape round_arrow(double cx, double cy, double radius, double w, bool ccw) {
  const double start = -0.5, sweep = 4.6;  // radians
  std::vector<std::pair<double, double>> arc;
  for (int i = 0; i <= 48; ++i) {
    const double t = start + sweep * i / 48;
    arc.emplace_back(cx + radius * std::cos(t), cy - radius * std::sin(t) * (ccw ? 1 : -1));
  }
  const double end = start + sweep;
  const double ex = cx + radius * std::cos(end), ey = cy - radius * std::sin(end) * (ccw ? 1 : -1);
  // Tangent at the end of the arc, in screen coordinates.
  const double tx = -std::sin(end), ty = -std::cos(end) * (ccw ? 1 : -1);
  const double nx = -ty, ny = tx, head = radius * 0.55;
  const std::pair<double, double> tip = {ex + tx * head, ey + ty * head};
  const std::pair<double, double> left = {ex + nx * head * 0.6, ey + ny * head * 0.6};
  const std::pair<double, double> right = {ex - nx * head * 0.6, ey - ny * head * 0.6};
  return [=](double x, double y) {
    for (std::size_t i = 0; i + 1 < arc.size(); ++i)
      if (segment_distance(x, y, arc[i].first, arc[i].second, arc[i + 1].first, arc[i + 1].second) <= w) return true;
    // Inside the head triangle.
    auto side = [&](std::pair<double, double> a, std::pair<double, double> b) {
      return (b.first - a.first) * (y - a.second) - (b.second - a.second) * (x - a.first);
    };
    const double d1 = side(tip, left), d2 = side(left, right), d3 = side(right, tip);
    return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
  };
}

constexpr int control_size = 64;

// The panel every control stands on: a dark rounded square with a rim.
picture control_panel(colour accent) {
  picture p = blank(control_size, control_size);
  paint(p, rounded_rect(1, 1, 63, 63, 12), {accent.r * 0.55, accent.g * 0.55, accent.b * 0.55, 1});
  paint(p, rounded_rect(4, 4, 60, 60, 9), {0.13, 0.14, 0.17, 1});
  return p;
}

picture sticker() {
  picture p = blank(64, 64);
  paint(p, rounded_rect(2, 2, 62, 62, 11), {0.82, 0.82, 0.82, 1});
  paint(p, rounded_rect(5, 5, 59, 59, 8), {1, 1, 1, 1});
  return p;
}

picture chooser(char digit) {
  picture p = control_panel({0.9, 0.9, 0.95, 1});
  paint(p, strokes(glyph(digit), 14, 12, 40, 3.6), {1, 1, 1, 1});
  return p;
}

// A turn control: the axis letter at the top left and a round arrow whose
// sense is the sense the control turns the layer.
picture turner(char axis, bool ccw) {
  const colour tint = axis == 'X' ? colour{0.95, 0.3, 0.25, 1}
                                  : (axis == 'Y' ? colour{0.3, 0.85, 0.35, 1} : colour{0.3, 0.55, 1.0, 1});
  picture p = control_panel(tint);
  paint(p, round_arrow(36, 36, 15, 3.2, ccw), tint);
  paint(p, strokes(glyph(axis), 8, 7, 16, 2.2), {1, 1, 1, 1});
  return p;
}

// Gives every fully transparent pixel the mean colour of the pixels it
// borders that already have one, spreading outwards from the opaque shape
// until all have a colour. Linear filtering then mixes the shape's own
// colours into its edge instead of the black of empty pixels; alpha is kept.
void bleed(picture& p) {
  const int w = p.width, h = p.height;
  std::vector<char> coloured(static_cast<std::size_t>(w) * h);
  for (std::size_t i = 0; i < coloured.size(); ++i) coloured[i] = p.rgba[i * 4 + 3] > 0;
  for (bool grew = true; grew;) {
    grew = false;
    std::vector<char> next = coloured;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        if (coloured[i]) continue;
        int sum[3] = {0, 0, 0}, n = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || !coloured[static_cast<std::size_t>(ny) * w + nx]) continue;
            for (int c = 0; c < 3; ++c) sum[c] += p.rgba[(static_cast<std::size_t>(ny) * w + nx) * 4 + c];
            ++n;
          }
        if (n == 0) continue;
        for (int c = 0; c < 3; ++c) p.rgba[i * 4 + c] = static_cast<std::uint8_t>((sum[c] + n / 2) / n);
        next[i] = 1;
        grew = true;
      }
    coloured.swap(next);
  }
}

picture texture_picture(const std::string& name) {
  if (name == "colore") return sticker();
  if (name == "uno") return chooser('1');
  if (name == "due") return chooser('2');
  if (name == "tre") return chooser('3');
  // Controls passing a positive angle turn counter-clockwise about their
  // axis; the X pair passes +6 on "negx" and -6 on "posx".
  if (name == "negx") return turner('X', true);
  if (name == "posx") return turner('X', false);
  if (name == "negy") return turner('Y', false);
  if (name == "posy") return turner('Y', true);
  if (name == "negz") return turner('Z', false);
  return turner('Z', true);
}

}  // namespace

const std::vector<std::string>& data_image_names() {
  static const std::vector<std::string> names = {"colore", "uno",  "due",  "tre",  "negx",
                                                 "posx",   "negy", "posy", "negz", "posz"};
  return names;
}

picture data_image(const std::string& name) {
  picture p = texture_picture(name);
  bleed(p);
  return p;
}

const std::vector<int>& icon_sizes() {
  static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
  return sizes;
}

const std::vector<int>& ico_sizes() {
  static const std::vector<int> sizes = {32, 16, 48, 256};
  return sizes;
}

picture data_icon(int size) {
  // The cube as the program shows it at start, seen from above a corner:
  // white top, blue left, red right, on a dark body. Drawn on a 32-unit
  // design scaled to SIZE.
  picture p = blank(size, size);
  const double k = size / 32.0;
  // Inside the parallelogram from (ox, oy) along (ux, uy) and (vx, vy),
  // between LO and HI of each edge.
  auto parallelogram = [k](double ox, double oy, double ux, double uy, double vx, double vy, double lo, double hi) {
    return [=](double x, double y) {
      x /= k;
      y /= k;
      const double det = ux * vy - uy * vx;
      const double a = ((x - ox) * vy - (y - oy) * vx) / det;
      const double b = ((y - oy) * ux - (x - ox) * uy) / det;
      return a > lo && a < hi && b > lo && b < hi;
    };
  };
  // The three edges of the cube from its top corner: right-down, left-down
  // and down.
  const double top_x = 16, top_y = 1.2, ax = 13.6, ay = 7.6, cy = 15.2;
  const colour body = {0.09, 0.09, 0.11, 1};
  struct side {
    double ox, oy, ux, uy, vx, vy;
    colour c;
  };
  const side sides[3] = {
      {top_x, top_y, ax, ay, -ax, ay, {1, 1, 1, 1}},
      {top_x - ax, top_y + ay, ax, ay, 0, cy, {0.05, 0.25, 0.95, 1}},
      {top_x, top_y + 2 * ay, ax, -ay, 0, cy, {0.9, 0.08, 0.08, 1}},
  };
  for (const side& f : sides) paint(p, parallelogram(f.ox, f.oy, f.ux, f.uy, f.vx, f.vy, -0.02, 1.02), body);
  for (const side& f : sides)
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        paint(p,
              parallelogram(f.ox + (f.ux * i + f.vx * j) / 3, f.oy + (f.uy * i + f.vy * j) / 3, f.ux / 3, f.uy / 3,
                            f.vx / 3, f.vy / 3, 0.1, 0.9),
              f.c);
  return p;
}

picture demo_button(int n, char state) {
  picture p = blank(96, 96);
  const colour face = state == 'N' ? colour{0.15, 0.35, 0.85, 1}
                                   : (state == 'H' ? colour{0.2, 0.75, 0.3, 1} : colour{0.95, 0.55, 0.1, 1});
  const colour rim = {face.r * 0.5, face.g * 0.5, face.b * 0.5, 1};
  // Three shapes: a disc, a diamond, a hexagon. The shape of every state is
  // that of the normal image; a pressed button's digit sits lower.
  const double shift = state == 'P' ? 2 : 0;
  auto outline = [&](double grow) -> shape {
    if (n == 1) return [=](double x, double y) { return std::hypot(x - 48, y - 48) <= 44 + grow; };
    if (n == 2) return [=](double x, double y) { return std::abs(x - 48) + std::abs(y - 48) <= 46 + grow; };
    return [=](double x, double y) {
      const double dx = std::abs(x - 48), dy = std::abs(y - 48);
      return dy <= 40 + grow && dx <= 46 + grow - dy * 0.5;
    };
  };
  paint(p, outline(0), rim);
  paint(p, outline(-4), face);
  const char digit = static_cast<char>('0' + n);
  paint(p, strokes(glyph(digit), 30, 26 + shift, 40, 3.5), {1, 1, 1, 1});
  return p;
}

std::vector<std::uint8_t> bmp_file(const picture& p, bool eight_bit) {
  auto colour_of = [&](int x, int y) {
    const std::uint8_t* px = &p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4];
    return px[3] < 128 ? std::array<std::uint8_t, 3>{255, 0, 255} : std::array<std::uint8_t, 3>{px[0], px[1], px[2]};
  };
  std::vector<std::array<std::uint8_t, 3>> table;
  if (eight_bit) {
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const auto c = colour_of(x, y);
        if (std::find(table.begin(), table.end(), c) == table.end() && table.size() < 256) table.push_back(c);
      }
  }
  const unsigned bytes_per_pixel = eight_bit ? 1 : 3;
  const unsigned row = (p.width * bytes_per_pixel + 3) / 4 * 4;
  const unsigned offset = 14 + 40 + static_cast<unsigned>(table.size()) * 4;
  std::vector<std::uint8_t> f = {'B', 'M'};
  u32(f, offset + row * p.height);
  u32(f, 0);
  u32(f, offset);
  u32(f, 40);
  u32(f, p.width);
  u32(f, p.height);  // positive: rows bottom-up
  u16(f, 1);
  u16(f, eight_bit ? 8 : 24);
  u32(f, 0);
  u32(f, row * p.height);
  u32(f, 2835);
  u32(f, 2835);
  u32(f, static_cast<unsigned>(table.size()));
  u32(f, 0);
  for (const auto& c : table) f.insert(f.end(), {c[2], c[1], c[0], 0});
  for (int y = p.height - 1; y >= 0; --y) {
    const std::size_t start = f.size();
    for (int x = 0; x < p.width; ++x) {
      const auto c = colour_of(x, y);
      if (eight_bit) {
        const auto at = std::find(table.begin(), table.end(), c);
        f.push_back(static_cast<std::uint8_t>(at == table.end() ? 0 : at - table.begin()));
      } else {
        f.insert(f.end(), {c[2], c[1], c[0]});
      }
    }
    f.resize(start + row, 0);
  }
  return f;
}

std::vector<std::uint8_t> tga_file(const picture& p) {
  std::vector<std::uint8_t> f = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  f.push_back(p.width & 0xFF);
  f.push_back(p.width >> 8);
  f.push_back(p.height & 0xFF);
  f.push_back(p.height >> 8);
  f.push_back(32);
  f.push_back(8);  // 8 alpha bits, origin at the bottom left
  for (int y = p.height - 1; y >= 0; --y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* px = &p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4];
      f.insert(f.end(), {px[2], px[1], px[0], px[3]});
    }
  return f;
}

namespace {

// One image of an icon: its BMP information header, then the colour rows
// and the mask rows, both bottom-up.
void append_icon_image(std::vector<std::uint8_t>& f, const picture& p) {
  const unsigned mask_row = ((p.width + 31) / 32) * 4;
  // The height counts the colour rows and the mask rows.
  u32(f, 40);
  u32(f, p.width);
  u32(f, p.height * 2);
  u16(f, 1);
  u16(f, 32);
  u32(f, 0);
  u32(f, p.width * p.height * 4 + mask_row * p.height);
  u32(f, 0);
  u32(f, 0);
  u32(f, 0);
  u32(f, 0);
  for (int y = p.height - 1; y >= 0; --y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* px = &p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4];
      f.insert(f.end(), {px[2], px[1], px[0], px[3]});
    }
  // The mask: transparent where alpha is 0.
  for (int y = p.height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(mask_row, 0);
    for (int x = 0; x < p.width; ++x)
      if (p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4 + 3] == 0) row[x / 8] |= 0x80 >> (x % 8);
    f.insert(f.end(), row.begin(), row.end());
  }
}

}  // namespace

std::vector<std::uint8_t> ico_file(const picture& p) { return ico_file(std::vector<picture>{p}); }

std::vector<std::uint8_t> ico_file(const std::vector<picture>& images) {
  std::vector<std::uint8_t> f;
  u16(f, 0);
  u16(f, 1);  // icon
  u16(f, static_cast<unsigned>(images.size()));
  unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
  for (const picture& p : images) {
    const unsigned mask_row = ((p.width + 31) / 32) * 4;
    const unsigned image_size = 40 + p.width * p.height * 4 + mask_row * p.height;
    f.push_back(static_cast<std::uint8_t>(p.width));  // 256 is written as 0
    f.push_back(static_cast<std::uint8_t>(p.height));
    f.push_back(0);  // no palette
    f.push_back(0);
    u16(f, 1);   // planes
    u16(f, 32);  // bits
    u32(f, image_size);
    u32(f, offset);
    offset += image_size;
  }
  for (const picture& p : images) append_icon_image(f, p);
  return f;
}

std::vector<std::uint8_t> png_file(const picture& p) {
  auto be32 = [](std::vector<std::uint8_t>& v, std::uint32_t x) {
    v.insert(v.end(), {std::uint8_t(x >> 24), std::uint8_t(x >> 16), std::uint8_t(x >> 8), std::uint8_t(x)});
  };
  static const auto crc_table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::vector<std::uint8_t> f = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto chunk = [&](const char* type, const std::vector<std::uint8_t>& data) {
    be32(f, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = f.size();
    f.insert(f.end(), type, type + 4);
    f.insert(f.end(), data.begin(), data.end());
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = start; i < f.size(); ++i) crc = crc_table[(crc ^ f[i]) & 0xFF] ^ (crc >> 8);
    be32(f, crc ^ 0xFFFFFFFFu);
  };
  std::vector<std::uint8_t> header;
  be32(header, p.width);
  be32(header, p.height);
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, no interlace
  chunk("IHDR", header);
  // The rows, each led by filter type 0, in a zlib stream of stored blocks.
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < p.height; ++y) {
    raw.push_back(0);
    const auto row = p.rgba.begin() + static_cast<std::ptrdiff_t>(y) * p.width * 4;
    raw.insert(raw.end(), row, row + p.width * 4);
  }
  std::vector<std::uint8_t> z = {0x78, 0x01};
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    z.push_back(at + n == raw.size() ? 1 : 0);
    z.insert(z.end(), {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(~n), std::uint8_t(~n >> 8)});
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + n));
    if (n == 0) break;
  }
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  be32(z, b << 16 | a);
  chunk("IDAT", z);
  chunk("IEND", {});
  return f;
}

