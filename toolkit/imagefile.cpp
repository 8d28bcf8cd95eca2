// Image file headers: BMP, PNG, and ICO or CUR directories of them.
// Reads a few bytes at known offsets; keeps no state.
#include "imagefile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "file.h"

namespace {

std::uint32_t be32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

bool read_at(std::FILE* f, long offset, unsigned char* out, std::size_t n) {
  return std::fseek(f, offset, SEEK_SET) == 0 && std::fread(out, 1, n, f) == n;
}

// The size in a PNG's header at OFFSET.
bool png_size(std::FILE* f, long offset, std::int64_t* width, std::int64_t* height) {
  static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  unsigned char h[24];
  if (!read_at(f, offset, h, 24) || std::memcmp(h, signature, 8) != 0 || std::memcmp(h + 12, "IHDR", 4) != 0)
    return false;
  *width = be32(h + 16);
  *height = be32(h + 20);
  return true;
}

// The size in a BMP information header at OFFSET: that of a bitmap file, or
// one inside an icon, whose height counts the mask rows too.
bool dib_size(std::FILE* f, long offset, bool in_icon, std::int64_t* width, std::int64_t* height) {
  unsigned char h[12];
  if (!read_at(f, offset, h, 12)) return false;
  const std::uint32_t size = vtr_le32(h);
  if (size == 12) {  // the old core header: 16-bit sizes
    *width = vtr_le16(h + 4);
    *height = vtr_le16(h + 6);
  } else if (size >= 40) {
    // Signed; a negative height means rows top-down.
    *width = static_cast<std::int32_t>(vtr_le32(h + 4));
    *height = static_cast<std::int32_t>(vtr_le32(h + 8));
    if (*height < 0) *height = -*height;
  } else {
    return false;
  }
  if (in_icon) *height /= 2;
  return true;
}

}  // namespace

bool vtr_image_extent(const char* file, std::int64_t* width, std::int64_t* height) {
  if (vtr_regular_file_size(file) < 0) return false;
  std::FILE* f = vtr_open_file(file, "rb");
  if (!f) return false;
  unsigned char h[6];
  bool ok = false;
  *width = *height = 0;
  if (read_at(f, 0, h, 6)) {
    const std::uint32_t type = vtr_le16(h + 2), count = vtr_le16(h + 4);
    if (h[0] == 'B' && h[1] == 'M') {
      ok = dib_size(f, 14, false, width, height);
    } else if (vtr_le16(h) == 0 && (type == 1 || type == 2) && count > 0) {
      // An icon or cursor directory: every image counts.
      ok = true;
      for (std::uint32_t i = 0; i < count && ok; ++i) {
        unsigned char entry[16];
        std::int64_t w = 0, hgt = 0;
        ok = read_at(f, 6 + 16 * static_cast<long>(i), entry, 16);
        const long offset = static_cast<long>(vtr_le32(entry + 12));
        ok = ok && (png_size(f, offset, &w, &hgt) || dib_size(f, offset, true, &w, &hgt));
        *width = std::max(*width, w);
        *height = std::max(*height, hgt);
      }
    } else {
      ok = png_size(f, 0, width, height);
    }
  }
  std::fclose(f);
  return ok && *width > 0 && *height > 0;
}
