// BMP decoding: the button bitmaps of the toolkit, the same on every
// platform. Pure: no GL, no platform. Sizes read from a header are computed
// in 64 bits and checked against the bytes the file really holds before any
// pixel memory is set aside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "vtrtypes.h"

// An image as the toolkit keeps it: WIDTH x HEIGHT 32-bit pixels, rows top
// to bottom, blue in the low byte, then green, then red, then alpha (255
// for a bitmap). BITS is the depth the file stored; TABLE is the colour
// table of a bitmap of 8 bits or fewer as the file has it (blue, green, red,
// reserved per entry), empty for deeper ones.
struct vtr_image {
  LONGINT width = 0, height = 0, bits = 0;
  std::vector<std::uint32_t> pixels;
  std::vector<BYTE> table;
};

// The largest side of a bitmap decoded; a file claiming more is refused.
constexpr std::int64_t VTR_BMP_MAX_SIDE = 8192;

// Decodes SIZE bytes of a BMP file: information headers of 12 to 124 bytes;
// 1, 4 and 8 bits with a colour table, 16, 24 and 32 bits; uncompressed,
// run-length coded (8 and 4 bits) or with bit-field masks; rows bottom-up
// or top-down. False, with OUT left empty, for anything else: a header that
// is cut short or contradicts itself, a side of 0 or above
// VTR_BMP_MAX_SIDE, pixels the file does not hold. Colour indices beyond
// the table are black; run-length data that ends early leaves the rest of
// the image black, as the system's decoders do.
bool vtr_decode_bmp(const BYTE* data, std::size_t size, vtr_image* out);
// Reads and decodes the BMP file FILE (UTF-8 name). False when it is not a
// regular file, cannot be read or cannot be decoded.
bool vtr_load_bmp(const char* file, vtr_image* out);
