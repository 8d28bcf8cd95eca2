// TGA decoding into R, G, B (, A) pixels in file row order.
// Owns the shared decoding globals (TGAHEADER, TGA, FTGA) and the two
// accepted headers. Sizes from the header are computed in 64 bits and capped,
// and nothing is ever written beyond the image.
#include "tga.h"

#include <sys/stat.h>
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "file.h"

TTGAHEADER TGAHEADER{};
TTGA TGA{};
tga_stream FTGA{};
const checked_array<BYTE, 0, 11> UTGACOMPARE = {{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
const checked_array<BYTE, 0, 11> CTGACOMPARE = {{0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0}};

std::size_t tga_stream::read(BYTE* dst, std::size_t n) {
  if (memory) {
    const std::size_t k = std::min(n, memory_size - memory_pos);
    std::memcpy(dst, memory + memory_pos, k);
    memory_pos += k;
    return k;
  }
  if (!file) return 0;
  std::size_t got = std::min(n, length - pos);
  std::memcpy(dst, buffer + pos, got);
  pos += got;
  if (got == n) return got;
  if (n - got >= sizeof buffer) return got + std::fread(dst + got, 1, n - got, file);
  length = std::fread(buffer, 1, sizeof buffer, file);
  pos = std::min(n - got, length);
  std::memcpy(dst + got, buffer, pos);
  return got + pos;
}

const BYTE* tga_stream::peek(std::size_t n) {
  if (memory) return memory_size - memory_pos >= n ? memory + memory_pos : nullptr;
  if (!file) return nullptr;
  if (length - pos >= n) return buffer + pos;
  if (n > sizeof buffer) return nullptr;
  std::memmove(buffer, buffer + pos, length - pos);
  length -= pos;
  pos = 0;
  length += std::fread(buffer + length, 1, sizeof buffer - length, file);
  return length >= n ? buffer : nullptr;
}

void tga_stream::skip(std::size_t n) {
  if (memory) {
    memory_pos += n;
  } else {
    pos += n;
  }
}

long long tga_stream::remaining() {
  if (memory) return static_cast<long long>(memory_size - memory_pos);
  struct stat st;
  if (!file || fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  const long at = std::ftell(file);
  if (at < 0) return -1;
  return static_cast<long long>(st.st_size) - at + static_cast<long long>(length - pos);
}

namespace {

// Image buffers carry their size in a header in front of the pixels. Where
// the system can map pages with their contents populated at once, large ones
// are mapped so when the file can fill them, since faulting pages in one by
// one costs more than decoding them. A small file claiming a large image
// gets pages only where it writes, mapped or allocated.
constexpr std::size_t block_header = 64;
#ifdef MAP_POPULATE
constexpr std::size_t mapped_from = 1 << 20;
#endif

BYTE* allocate_block(std::size_t size, bool populate) {
  const std::size_t total = size + block_header;
  void* block = nullptr;
#ifdef MAP_POPULATE
  if (total >= mapped_from) {
    block = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | (populate ? MAP_POPULATE : 0), -1, 0);
    if (block == MAP_FAILED) return nullptr;
  }
#else
  (void)populate;
#endif
  if (!block) block = std::malloc(total);
  if (!block) return nullptr;
  std::memcpy(block, &total, sizeof total);
  return static_cast<BYTE*>(block) + block_header;
}

void free_block(BYTE* data) {
  if (!data) return;
  BYTE* block = data - block_header;
  std::size_t total;
  std::memcpy(&total, block, sizeof total);
#ifdef MAP_POPULATE
  if (total >= mapped_from) {
    munmap(block, total);
    return;
  }
#endif
  std::free(block);
}

}  // namespace

void tga_free(TGATEXTURE& texture) {
  free_block(texture.IMAGEDATA);
  texture.IMAGEDATA = nullptr;
}

namespace {

void report(const char* text, const char* caption = "ERROR") { vtr_message_box(text, caption, MB_OK); }

void close_stream() {
  if (FTGA.file) std::fclose(FTGA.file);
  FTGA.file = nullptr;
  FTGA.memory = nullptr;
  FTGA.memory_size = FTGA.memory_pos = 0;
  FTGA.length = FTGA.pos = 0;
}

// Reads the six bytes that describe the image and checks them; sets the size fields of
// TEXTURE and TGA. The decoded size is computed in 64 bits.
bool read_info(TGATEXTURE& texture) {
  if (FTGA.read(TGA.HEADER.data(), 6) < 6) {
    report("Could not read info header");
    return false;
  }
  texture.WIDTH = TGA.HEADER[0] + 256u * TGA.HEADER[1];
  texture.HEIGHT = TGA.HEADER[2] + 256u * TGA.HEADER[3];
  texture.BPP = TGA.HEADER[4];
  TGA.WIDTH = texture.WIDTH;
  TGA.HEIGH = texture.HEIGHT;
  TGA.BPP = texture.BPP;
  if (texture.WIDTH == 0 || texture.HEIGHT == 0 || (texture.BPP != 24 && texture.BPP != 32)) {
    report("Invalid texture information");
    return false;
  }
  texture.TYP = texture.BPP == 24 ? TGA_GL_RGB : TGA_GL_RGBA;
  TGA.BYTESPERPIXEL = texture.BPP / 8;
  const std::uint64_t size = std::uint64_t{TGA.BYTESPERPIXEL} * texture.WIDTH * texture.HEIGHT;
  if (size > TGA_MAX_IMAGE_BYTES) {
    report("Could not allocate memory for image");
    return false;
  }
  TGA.IMAGESIZE = static_cast<LONGWORD>(size);
  return true;
}

// POPULATE: the file holds enough bytes to fill the image.
bool allocate_image(TGATEXTURE& texture, bool populate) {
  texture.IMAGEDATA = allocate_block(TGA.IMAGESIZE, populate);
  if (!texture.IMAGEDATA) {
    report("Could not allocate memory for image");
    return false;
  }
  return true;
}

// Copies COUNT pixels of BPP bytes from B, G, R (, A) order into R, G, B (, A).
void convert(BYTE* dst, const BYTE* src, std::size_t count, std::size_t bpp) {
  if (bpp == 3) {
    for (std::size_t i = 0; i < count; ++i, dst += 3, src += 3) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
    }
  } else {
    for (std::size_t i = 0; i < count; ++i, dst += 4, src += 4) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
      dst[3] = src[3];
    }
  }
}

// Repeats one converted pixel COUNT times.
void fill(BYTE* dst, const BYTE* colour, std::size_t count, std::size_t bpp) {
  BYTE pixel[4];
  convert(pixel, colour, 1, bpp);
  if (bpp == 4) {
    std::uint32_t v;
    std::memcpy(&v, pixel, 4);
    for (std::size_t i = 0; i < count; ++i, dst += 4) std::memcpy(dst, &v, 4);
  } else {
    for (std::size_t i = 0; i < count; ++i, dst += 3) std::memcpy(dst, pixel, 3);
  }
}

BOOLEAN load(TGATEXTURE& texture, const char* filename) {
  if (FTGA.read(TGAHEADER.HEADER.data(), 12) < 12) {
    report("Could not read file header");
    close_stream();
    return false;
  }
  BOOLEAN decoded;
  if (std::memcmp(TGAHEADER.HEADER.data(), UTGACOMPARE.data(), 12) == 0) {
    decoded = LOADUNCOMPRESSEDTGA(texture, filename);
  } else if (std::memcmp(TGAHEADER.HEADER.data(), CTGACOMPARE.data(), 12) == 0) {
    decoded = LOADCOMPRESSEDTGA(texture, filename);
  } else {
    report("TGA file be type 2 or type 10", "Invalid Image");
    close_stream();
    return false;
  }
  if (!decoded) close_stream();
  return decoded;
}

}  // namespace

BOOLEAN LOADTGA(TGATEXTURE& TEXTURE, const char* FILENAME) {
  close_stream();
  // Only a regular file is opened: a directory has no bytes, and opening a
  // named pipe would wait for a writer that never comes.
  if (vtr_regular_file_size(FILENAME) < 0) {
    report("Could not open texture file");
    return false;
  }
  FTGA.file = vtr_open_file(FILENAME, "rb");
  if (!FTGA.file) {
    report("Could not open texture file");
    return false;
  }
  return load(TEXTURE, FILENAME);
}

BOOLEAN tga_decode_memory(TGATEXTURE& texture, const BYTE* data, std::size_t size) {
  close_stream();
  static const BYTE empty = 0;
  FTGA.memory = data ? data : &empty;
  FTGA.memory_size = data ? size : 0;
  return load(texture, "");
}

BOOLEAN LOADUNCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const char*) {
  if (!read_info(TEXTURE)) return false;
  // A file shorter than its header promises fails before the allocation.
  const long long left = FTGA.remaining();
  if (left >= 0 && left < static_cast<long long>(TGA.IMAGESIZE)) {
    report("Could not read image data");
    return false;
  }
  if (!allocate_image(TEXTURE, left >= 0)) return false;
  if (FTGA.read(TEXTURE.IMAGEDATA, TGA.IMAGESIZE) < TGA.IMAGESIZE) {
    report("Could not read image data");
    tga_free(TEXTURE);
    return false;
  }
  BYTE* p = TEXTURE.IMAGEDATA;
  const std::size_t bpp = TGA.BYTESPERPIXEL;
  for (BYTE* end = p + TGA.IMAGESIZE; p < end; p += bpp) std::swap(p[0], p[2]);
  close_stream();
  return true;
}

BOOLEAN LOADCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const char*) {
  if (!read_info(TEXTURE)) return false;
  const std::size_t bpp = TGA.BYTESPERPIXEL;
  const std::uint64_t count = std::uint64_t{TEXTURE.WIDTH} * TEXTURE.HEIGHT;
  // The fewest bytes that can deliver COUNT pixels: runs of 128.
  const long long least = static_cast<long long>((count + 127) / 128 * (1 + bpp));
  if (!allocate_image(TEXTURE, FTGA.remaining() >= least)) return false;
  std::uint64_t current = 0;
  BYTE* out = TEXTURE.IMAGEDATA;
  BYTE* colour = static_cast<BYTE*>(std::malloc(bpp));
  if (!colour) {
    report("Could not allocate memory for color buffer");
    tga_free(TEXTURE);
    return false;
  }
  auto fail = [&](const char* text) {
    report(text);
    std::free(colour);
    tga_free(TEXTURE);
    return false;
  };

  while (current < count) {
    BYTE header;
    if (FTGA.read(&header, 1) < 1) return fail("Could not read RLE header");
    if (header < 128) {
      // Raw packet: the pixels that fit are converted straight from the
      // buffer; the rest, and any pixel past the image, one at a time.
      std::uint64_t n = header + 1u;
      const std::uint64_t fit = std::min(n, count - current);
      if (const BYTE* src = FTGA.peek(fit * bpp)) {
        convert(out, src, fit, bpp);
        FTGA.skip(fit * bpp);
        out += fit * bpp;
        current += fit;
        n -= fit;
      }
      for (; n > 0; --n) {
        if (FTGA.read(colour, bpp) < bpp) return fail("Could not read image data");
        if (current == count) return fail("Too many pixels read");
        convert(out, colour, 1, bpp);
        out += bpp;
        ++current;
      }
    } else {
      if (FTGA.read(colour, bpp) < bpp) return fail("Could not read from file");
      const std::uint64_t n = header - 127u;
      const std::uint64_t fit = std::min(n, count - current);
      fill(out, colour, fit, bpp);
      out += fit * bpp;
      current += fit;
      if (n > fit) return fail("Too many pixels read");
    }
  }
  std::free(colour);
  close_stream();
  return true;
}
