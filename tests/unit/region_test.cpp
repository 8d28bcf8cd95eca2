// Regions of opaque pixels, and palettes from colour tables.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "region.h"

// Found by the standard algorithms that compare rectangles.
bool operator==(const TRECT& a, const TRECT& b) {
  return a.LEFT == b.LEFT && a.TOP == b.TOP && a.RIGHT == b.RIGHT && a.BOTTOM == b.BOTTOM;
}

namespace {

constexpr std::uint32_t M = 0x00FF00FF;  // magenta as a pixel: red and blue
constexpr std::uint32_t O = 0x00336699;  // some opaque colour

std::vector<TRECT> rects_of(LONGWORD region) {
  std::size_t n = 0;
  const TRECT* r = vtr_region_rects(region, &n);
  return {r, r + n};
}

TEST(Region, OneRectanglePerRunOfOpaquePixels) {
  const std::uint32_t image[] = {O, M, M, O, O, O, O, O};
  const LONGWORD region = vtr_region_from_pixels(image, 4, 2, 0x00FF00FF, 1);
  ASSERT_NE(region, 0u);
  EXPECT_TRUE((rects_of(region) == std::vector<TRECT>{{0, 0, 1, 1}, {3, 0, 4, 1}, {0, 1, 4, 2}}));
  EXPECT_TRUE((vtr_region_bounds(region) == TRECT{0, 0, 4, 2}));
  // Inside and out; right and bottom edges lie outside.
  for (const auto& [x, y, in] : {std::tuple{3, 0, true}, {1, 0, false}, {4, 1, false}, {0, 1, true}, {0, 2, false}})
    EXPECT_EQ(vtr_region_contains(region, x, y), in) << x << "," << y;
  vtr_region_delete(region);
}

TEST(Region, ToleranceWidensTheTransparentColourUpwardsOnly) {
  // Pixels are 0x00RRGGBB; the transparent colour is 0x00BBGGRR.
  const std::uint32_t up = 0x00FF01FF, down = 0x00FE00FF, far = 0x00FF02FF;
  const std::uint32_t image[] = {up, down, far};
  const LONGWORD region = vtr_region_from_pixels(image, 3, 1, 0x00FF00FF, 1);
  EXPECT_TRUE((rects_of(region) == std::vector<TRECT>{{1, 0, 3, 1}}));
  vtr_region_delete(region);
  // A key whose red and blue differ: red 0x10, blue 0xF0 is transparent,
  // the same bytes the other way round are not.
  const std::uint32_t keyed[] = {0x001020F0, 0x00F02010};
  const LONGWORD mixed = vtr_region_from_pixels(keyed, 2, 1, 0x00F02010, 0);
  EXPECT_TRUE((rects_of(mixed) == std::vector<TRECT>{{1, 0, 2, 1}}));
  vtr_region_delete(mixed);
  // The range stops at 255.
  const std::uint32_t white[] = {0x00FFFFFF};
  const LONGWORD none = vtr_region_from_pixels(white, 1, 1, 0x00FEFEFE, 200);
  EXPECT_TRUE(rects_of(none).empty());
  vtr_region_delete(none);
}

TEST(Region, ManyRunsInBatchesMakeOneRegion) {
  // 3000 runs: every other pixel of a 60 x 100 image is opaque.
  std::vector<std::uint32_t> image(60 * 100);
  for (size_t i = 0; i < image.size(); ++i) image[i] = (i % 2) ? M : O;
  const std::size_t before = vtr_region_count();
  const LONGWORD region = vtr_region_from_pixels(image.data(), 60, 100, 0x00FF00FF, 1);
  ASSERT_NE(region, 0u);
  EXPECT_EQ(vtr_region_count(), before + 1);  // the batches were united and freed
  const auto rects = rects_of(region);
  ASSERT_EQ(rects.size(), 3000u);
  EXPECT_TRUE((rects.back() == TRECT{58, 99, 59, 100}));
  for (int y = 0; y < 100; y += 7)
    for (int x = 0; x < 60; ++x) EXPECT_EQ(vtr_region_contains(region, x, y), x % 2 == 0);
  EXPECT_TRUE((vtr_region_bounds(region) == TRECT{0, 0, 59, 100}));
  vtr_region_delete(region);
  EXPECT_EQ(vtr_region_count(), before);
}

TEST(Region, AWhollyTransparentImageIsAnEmptyRegion) {
  std::vector<std::uint32_t> image(16 * 16, M);
  const LONGWORD region = vtr_region_from_pixels(image.data(), 16, 16, 0x00FF00FF, 1);
  EXPECT_NE(region, 0u);
  EXPECT_TRUE(rects_of(region).empty());
  EXPECT_FALSE(vtr_region_contains(region, 0, 0));
  vtr_region_delete(region);
}

TEST(Palette, TableEntriesThenBlack) {
  const BYTE table[] = {10, 20, 30, 0, 1, 2, 3, 0};  // blue, green, red, reserved
  LONGWORD palette[256];
  for (auto& p : palette) p = 0xDEAD;
  vtr_palette_from_table(table, 2, palette);
  EXPECT_EQ(palette[0], 0x000A141Eu);  // red in the low byte
  EXPECT_EQ(palette[1], 0x00010203u);
  for (int i = 2; i < 256; ++i) EXPECT_EQ(palette[i], 0u);
}

}  // namespace
