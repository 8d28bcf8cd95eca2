// TGA decoding: uncompressed (type 2) and run-length encoded (type 10)
// true-colour images of 24 or 32 bits. Pure: no GL. Every failure is shown
// through vtr_message_box and the load is abandoned.
#pragma once

#include <cstddef>
#include <cstdio>

#include "vtrtypes.h"

// GL's pixel formats, by value, so that decoding needs no GL header.
constexpr LONGWORD TGA_GL_RGB = 0x1907;
constexpr LONGWORD TGA_GL_RGBA = 0x1908;

// One loaded image and its texture.
struct TGATEXTURE {
  BYTE* IMAGEDATA;  // R, G, B (, A) per pixel, rows in file order; freed by the upload
  LONGWORD BPP;     // 24 or 32
  LONGWORD WIDTH;
  LONGWORD HEIGHT;
  LONGWORD TEXID;  // GL texture name, 0 until a load succeeds
  LONGWORD TYP;    // GL_RGB or GL_RGBA
};

struct TTGAHEADER {
  checked_array<BYTE, 0, 11> HEADER;
};

struct TTGA {
  checked_array<BYTE, 0, 5> HEADER;
  LONGWORD BYTESPERPIXEL;
  LONGWORD IMAGESIZE;
  LONGWORD TYP;
  LONGWORD HEIGH;
  LONGWORD WIDTH;
  LONGWORD BPP;
};

// The file being decoded, read through a buffer. It reads a file or, for
// decoding from memory, a byte range.
struct tga_stream {
  std::FILE* file;
  const BYTE* memory;
  std::size_t memory_size;
  std::size_t memory_pos;
  BYTE buffer[1 << 16];
  std::size_t length;  // bytes held in buffer
  std::size_t pos;     // next byte of buffer

  // Copies up to N bytes into DST; returns how many arrived. A read the
  // system fails counts as the end of the file.
  std::size_t read(BYTE* dst, std::size_t n);
  // Pointer to the next N bytes if they can be had contiguously, else null.
  // Consumes nothing; advance with skip.
  const BYTE* peek(std::size_t n);
  void skip(std::size_t n);
  // Bytes left, or -1 when it cannot be known.
  long long remaining();
};

extern TTGAHEADER TGAHEADER;
extern TTGA TGA;
extern tga_stream FTGA;
extern const checked_array<BYTE, 0, 11> UTGACOMPARE;
extern const checked_array<BYTE, 0, 11> CTGACOMPARE;

// Decoded images larger than this are refused as an allocation failure: no
// GL 1.1 texture is that big, and a small file of runs must not make the
// program touch gigabytes.
constexpr unsigned long long TGA_MAX_IMAGE_BYTES = 1ull << 30;

// Decodes FILENAME into TEXTURE; true when the image was decoded.
BOOLEAN LOADTGA(TGATEXTURE& TEXTURE, const char* FILENAME);
// The decoders, called with FTGA open and its first 12 bytes consumed.
BOOLEAN LOADUNCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const char* FILENAME);
BOOLEAN LOADCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const char* FILENAME);
// The same decoding over bytes in memory, with the same messages.
BOOLEAN tga_decode_memory(TGATEXTURE& texture, const BYTE* data, std::size_t size);
// Releases a decoded image.
void tga_free(TGATEXTURE& texture);
