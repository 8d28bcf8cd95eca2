// Fuzz target: region building from arbitrary pixels and palettes from
// arbitrary colour tables. Input: width, height (1..64 each), the
// transparent colour (4 bytes), the tolerance, a palette entry count, then
// colour-table entries and pixels from the rest of the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "region.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  const LONGINT width = 1 + data[0] % 64, height = 1 + data[1] % 64;
  LONGWORD transcolor;
  std::memcpy(&transcolor, data + 2, 4);
  const BYTE tolerance = data[6];
  const std::size_t entries = data[7] * 2u;  // up to 510: more than a table holds
  data += 8;
  size -= 8;

  // The palette: table entries first, black after, never more than 256.
  std::vector<BYTE> table(entries * 4);
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = i < size ? data[i] : 0;
  LONGWORD palette[256];
  vtr_palette_from_table(table.data(), entries, palette);
  for (std::size_t i = 0; i < 256; ++i) {
    const LONGWORD expected = i < entries ? (table[i * 4 + 2] | table[i * 4 + 1] << 8 | table[i * 4] << 16) : 0;
    if (palette[i] != expected) std::abort();
  }

  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < pixels.size() * 4 && i < size; ++i) reinterpret_cast<std::uint8_t*>(pixels.data())[i] = data[i];
  const LONGWORD region = vtr_region_from_pixels(pixels.data(), width, height, transcolor, tolerance);
  if (region == 0) std::abort();
  // Every pixel is covered once exactly when it is not transparent.
  std::vector<int> covered(pixels.size(), 0);
  std::size_t count = 0;
  const TRECT* rects = vtr_region_rects(region, &count);
  for (std::size_t i = 0; i < count; ++i) {
    const TRECT& r = rects[i];
    if (r.LEFT < 0 || r.TOP < 0 || r.RIGHT > width || r.BOTTOM > height || r.LEFT >= r.RIGHT || r.BOTTOM != r.TOP + 1)
      std::abort();
    for (LONGINT x = r.LEFT; x < r.RIGHT; ++x) ++covered[static_cast<std::size_t>(r.TOP) * width + x];
  }
  const int lr = transcolor & 0xFF, lg = (transcolor >> 8) & 0xFF, lb = (transcolor >> 16) & 0xFF;
  for (LONGINT y = 0; y < height; ++y)
    for (LONGINT x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      const bool transparent = r >= lr && r - lr <= tolerance && g >= lg && g - lg <= tolerance && b >= lb &&
                               b - lb <= tolerance;
      if (covered[static_cast<std::size_t>(y) * width + x] != (transparent ? 0 : 1)) std::abort();
    }
  // Spot checks of the hit test.
  if (vtr_region_contains(region, -1, 0) || vtr_region_contains(region, width, 0)) std::abort();
  if (vtr_region_contains(region, 0, 0) != (covered[0] == 1)) std::abort();
  vtr_region_delete(region);
  if (vtr_region_count() != 0) std::abort();
  return 0;
}
