// BMP decoding from memory, and the file reader in front of it.
// Keeps no state.
#include "bmp.h"

#include <cstdio>
#include <cstring>

#include "file.h"

namespace {

constexpr std::uint32_t bi_rgb = 0, bi_rle8 = 1, bi_rle4 = 2, bi_bitfields = 3, bi_alphabitfields = 6;
constexpr std::size_t file_header = 14;
// A file longer than the largest image needs, whatever its coding, is not
// read: 8192 x 8192 at 32 bits, a full table and headers, with room to spare
// for run-length coding's worst case.
constexpr std::int64_t largest_file = VTR_BMP_MAX_SIDE * VTR_BMP_MAX_SIDE * 4 * 5 / 4;

// One colour channel of a pixel picked out by its mask and scaled to 8 bits.
struct channel {
  std::uint32_t mask = 0, max = 0;
  int shift = 0;
  explicit channel(std::uint32_t m) : mask(m) {
    if (m == 0) return;
    while (!(m & 1)) {
      m >>= 1;
      ++shift;
    }
    max = m;
  }
  std::uint32_t operator()(std::uint32_t p) const {
    if (mask == 0) return 0;
    const std::uint64_t v = (p & mask) >> shift;
    return static_cast<std::uint32_t>((v * 255 + max / 2) / max);
  }
};

struct header {
  std::int64_t width = 0, height = 0;
  bool top_down = false;
  std::uint32_t bits = 0, compression = bi_rgb, colours_used = 0;
  std::uint32_t masks[4] = {};
  std::size_t table_at = 0, table_entry = 4;
  std::uint64_t pixels_at = 0;
};

// Reads and checks the headers; false for anything this decoder does not
// take.
bool read_header(const BYTE* data, std::size_t size, header* h) {
  if (size < file_header + 12 || data[0] != 'B' || data[1] != 'M') return false;
  h->pixels_at = vtr_le32(data + 10);
  const std::uint32_t info = vtr_le32(data + file_header);
  const BYTE* p = data + file_header;
  std::uint32_t planes;
  if (info == 12) {
    h->width = vtr_le16(p + 4);
    h->height = vtr_le16(p + 6);
    planes = vtr_le16(p + 8);
    h->bits = vtr_le16(p + 10);
    h->table_entry = 3;
  } else if (info == 40 || info == 52 || info == 56 || info == 108 || info == 124) {
    if (size < file_header + info) return false;
    h->width = static_cast<std::int32_t>(vtr_le32(p + 4));
    h->height = static_cast<std::int32_t>(vtr_le32(p + 8));
    planes = vtr_le16(p + 12);
    h->bits = vtr_le16(p + 14);
    h->compression = vtr_le32(p + 16);
    h->colours_used = vtr_le32(p + 32);
  } else {
    return false;
  }
  if (h->height < 0) {
    h->top_down = true;
    h->height = -h->height;
  }
  if (planes != 1 || h->width < 1 || h->height < 1 || h->width > VTR_BMP_MAX_SIDE || h->height > VTR_BMP_MAX_SIDE)
    return false;
  h->table_at = file_header + info;
  switch (h->compression) {
    case bi_rgb:
      if (h->bits != 1 && h->bits != 4 && h->bits != 8 && h->bits != 16 && h->bits != 24 && h->bits != 32) return false;
      if (h->bits == 16) {
        h->masks[0] = 0x7C00, h->masks[1] = 0x03E0, h->masks[2] = 0x001F;
      } else if (h->bits == 32) {
        h->masks[0] = 0xFF0000, h->masks[1] = 0xFF00, h->masks[2] = 0xFF;
      }
      break;
    case bi_rle8:
    case bi_rle4:
      if (h->top_down || h->bits != (h->compression == bi_rle8 ? 8u : 4u)) return false;
      break;
    case bi_bitfields:
    case bi_alphabitfields: {
      if (info == 12 || (h->bits != 16 && h->bits != 32)) return false;
      // The masks stand in the larger headers, after the smallest one.
      const int count = h->compression == bi_bitfields ? 3 : 4;
      const std::size_t at = file_header + 40;
      if (info == 40) h->table_at += 4 * count;
      if (size < at + 4 * count) return false;
      for (int i = 0; i < count; ++i) h->masks[i] = vtr_le32(data + at + 4 * i);
      break;
    }
    default:
      return false;
  }
  return h->pixels_at <= size;
}

// The colour table (up to 2^bits entries) as the file has it, four bytes an
// entry; false when it does not fit in the file.
bool read_table(const BYTE* data, std::size_t size, const header& h, std::vector<BYTE>* table) {
  if (h.bits > 8) return true;
  const std::uint64_t most = 1u << h.bits;
  const std::uint64_t entries = h.colours_used == 0 || h.colours_used > most ? most : h.colours_used;
  if (h.table_at + entries * h.table_entry > size) return false;
  table->resize(entries * 4);
  for (std::uint64_t i = 0; i < entries; ++i) {
    const BYTE* e = data + h.table_at + i * h.table_entry;
    (*table)[i * 4 + 0] = e[0];
    (*table)[i * 4 + 1] = e[1];
    (*table)[i * 4 + 2] = e[2];
    (*table)[i * 4 + 3] = h.table_entry == 4 ? e[3] : 0;
  }
  return true;
}

std::uint32_t colour_of(const std::vector<BYTE>& table, std::uint32_t index) {
  if (static_cast<std::size_t>(index) * 4 + 3 >= table.size()) return 0xFF000000u;
  const BYTE* e = &table[index * 4];
  return 0xFF000000u | static_cast<std::uint32_t>(e[2]) << 16 | static_cast<std::uint32_t>(e[1]) << 8 | e[0];
}

// The image row that file row R (counted from the start of the pixel data)
// fills.
std::int64_t image_row(const header& h, std::int64_t r) { return h.top_down ? r : h.height - 1 - r; }

std::int64_t row_bytes(const header& h) { return (h.width * h.bits + 31) / 32 * 4; }

// True when the file holds every row of an uncompressed image (the last
// one may lack its padding).
bool holds_rows(std::size_t size, const header& h) {
  const std::int64_t last_row = (h.width * h.bits + 7) / 8;
  return static_cast<std::int64_t>(h.pixels_at) + row_bytes(h) * (h.height - 1) + last_row <=
         static_cast<std::int64_t>(size);
}

void decode_plain(const BYTE* data, const header& h, vtr_image* out) {
  const channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
  for (std::int64_t r = 0; r < h.height; ++r) {
    const BYTE* row = data + h.pixels_at + r * row_bytes(h);
    std::uint32_t* to = &out->pixels[static_cast<std::size_t>(image_row(h, r) * h.width)];
    for (std::int64_t x = 0; x < h.width; ++x) {
      switch (h.bits) {
        case 1:
        case 4:
        case 8: {
          const std::int64_t bit = x * h.bits;
          const std::uint32_t index = (row[bit / 8] >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
          to[x] = colour_of(out->table, index);
          break;
        }
        case 24:
          to[x] = 0xFF000000u | static_cast<std::uint32_t>(row[3 * x + 2]) << 16 |
                  static_cast<std::uint32_t>(row[3 * x + 1]) << 8 | row[3 * x];
          break;
        default: {
          const std::uint32_t p = h.bits == 16 ? vtr_le16(row + 2 * x) : vtr_le32(row + 4 * x);
          to[x] = 0xFF000000u | red(p) << 16 | green(p) << 8 | blue(p);
          break;
        }
      }
    }
  }
}

// Run-length coded indices, bottom row first. Pixels no run reaches keep
// index 0, as the system's decoders leave them; runs past an edge are cut.
void decode_runs(const BYTE* data, std::size_t size, const header& h, vtr_image* out) {
  std::vector<BYTE> index(static_cast<std::size_t>(h.width * h.height), 0);
  const bool four = h.compression == bi_rle4;
  std::size_t at = static_cast<std::size_t>(h.pixels_at);
  std::int64_t x = 0, y = 0;
  auto put = [&](std::uint32_t value) {
    if (x < h.width && y < h.height) index[static_cast<std::size_t>((h.height - 1 - y) * h.width + x)] = static_cast<BYTE>(value);
    ++x;
  };
  while (at + 2 <= size && y < h.height) {
    const std::uint32_t count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (std::uint32_t i = 0; i < count; ++i) put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (at + 2 > size) break;
      x += data[at];
      y += data[at + 1];
      at += 2;
    } else {
      // VALUE indices stand as they are, padded to a 16-bit boundary.
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      if (at + bytes > size) break;
      for (std::uint32_t i = 0; i < value; ++i) put(four ? (i % 2 ? data[at + i / 2] & 0xF : data[at + i / 2] >> 4) : data[at + i]);
      at += bytes + (bytes & 1);
    }
  }
  for (std::size_t i = 0; i < index.size(); ++i) out->pixels[i] = colour_of(out->table, index[i]);
}

}  // namespace

bool vtr_decode_bmp(const BYTE* data, std::size_t size, vtr_image* out) {
  *out = {};
  header h;
  vtr_image image;
  if (!read_header(data, size, &h) || !read_table(data, size, h, &image.table)) return false;
  const bool runs = h.compression == bi_rle8 || h.compression == bi_rle4;
  if (!runs && !holds_rows(size, h)) return false;
  image.width = static_cast<LONGINT>(h.width);
  image.height = static_cast<LONGINT>(h.height);
  image.bits = static_cast<LONGINT>(h.bits);
  image.pixels.assign(static_cast<std::size_t>(h.width * h.height), 0xFF000000u);
  if (runs) {
    decode_runs(data, size, h, &image);
  } else {
    decode_plain(data, h, &image);
  }
  *out = std::move(image);
  return true;
}

bool vtr_load_bmp(const char* file, vtr_image* out) {
  *out = {};
  const std::int64_t length = vtr_regular_file_size(file);
  if (length < 0 || length > largest_file) return false;
  std::FILE* f = vtr_open_file(file, "rb");
  if (!f) return false;
  std::vector<BYTE> bytes(static_cast<std::size_t>(length));
  const bool read = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  std::fclose(f);
  return read && vtr_decode_bmp(bytes.data(), bytes.size(), out);
}
