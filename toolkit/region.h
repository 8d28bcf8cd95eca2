// Regions: unions of rectangles, and the region of an image's opaque pixels.
// Pure: no GL, no platform. A region is kept in a table and named by a
// handle; 0 is no region.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vtrtypes.h"

// Right and bottom exclusive.
struct TRECT {
  LONGINT LEFT, TOP, RIGHT, BOTTOM;
};

// Capacity steps of the rectangle list, and the batch size in which
// rectangles are united into the result.
constexpr LONGINT ALLOC_UNIT = 100;
constexpr LONGINT REGION_BATCH = 2000;

// The region of the pixels of a WIDTH x HEIGHT image (rows top to bottom,
// 32 bits a pixel: blue in the low byte, then green, then red) that are not
// transparent. A pixel is transparent when each of its channels lies between
// that channel of TRANSCOLOR (red in the low byte, then green, then blue)
// and that value plus TOLERANCE, limited to 255. One rectangle per run of
// opaque pixels of a row. A wholly transparent image gives an empty region;
// 0 only when memory runs out.
LONGWORD vtr_region_from_pixels(const std::uint32_t* pixels, LONGINT width, LONGINT height, LONGWORD TRANSCOLOR,
                                BYTE TOLERANCE);
// A region made of COUNT rectangles; 0 when memory runs out.
LONGWORD vtr_region_create(const TRECT* rects, std::size_t count);
// Adds the rectangles of SOURCE to TARGET (a union).
bool vtr_region_unite(LONGWORD target, LONGWORD source);
void vtr_region_delete(LONGWORD region);
bool vtr_region_contains(LONGWORD region, LONGINT x, LONGINT y);
// Rectangles of a region and their count; null and 0 for a bad handle.
const TRECT* vtr_region_rects(LONGWORD region, std::size_t* count);
TRECT vtr_region_bounds(LONGWORD region);
// Regions alive, for leak checks.
std::size_t vtr_region_count();

// A logical palette of 256 entries (0x00BBGGRR each) from a bitmap's colour
// table of COUNT entries in file order (blue, green, red, reserved); entries
// beyond the table are black. COUNT above 256 is cut to 256.
void vtr_palette_from_table(const BYTE* table, std::size_t count, LONGWORD palette[256]);
