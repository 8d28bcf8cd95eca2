// TGA decoding speed: our decoder against stb_image on the same 4096 x 4096
// files, uncompressed and run-length encoded, 24 and 32 bits, decoded from
// memory. Prints throughput in decoded megabytes a second and the ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

#include "tga.h"

namespace {

constexpr int side = 4096;

// A picture with flat areas and noisy ones, as a photo-like or drawn image
// would have: runs for the flat parts, raw packets for the noise.
std::vector<BYTE> make_pixels(int bpp, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<BYTE> px(static_cast<size_t>(side) * side * bpp);
  for (int y = 0; y < side; ++y) {
    int x = 0;
    while (x < side) {
      const int span = std::min(side - x, 1 + static_cast<int>(rng() % 200));
      const bool flat = rng() % 3 != 0;
      BYTE c[4] = {BYTE(rng()), BYTE(rng()), BYTE(rng()), BYTE(rng())};
      for (int i = 0; i < span; ++i, ++x) {
        BYTE* p = &px[(static_cast<size_t>(y) * side + x) * bpp];
        for (int k = 0; k < bpp; ++k) p[k] = flat ? c[k] : BYTE(rng());
      }
    }
  }
  return px;
}

std::vector<BYTE> header(int type, int bpp) {
  return {0, 0, BYTE(type), 0, 0, 0, 0, 0, 0, 0, 0, 0, BYTE(side & 0xFF), BYTE(side >> 8), BYTE(side & 0xFF),
          BYTE(side >> 8), BYTE(bpp * 8), BYTE(bpp == 4 ? 8 : 0)};
}

std::vector<BYTE> uncompressed(const std::vector<BYTE>& px, int bpp) {
  std::vector<BYTE> f = header(2, bpp);
  f.insert(f.end(), px.begin(), px.end());
  return f;
}

// Run-length encoding packet by packet, never across the image's end.
std::vector<BYTE> compressed(const std::vector<BYTE>& px, int bpp) {
  std::vector<BYTE> f = header(10, bpp);
  const size_t count = px.size() / bpp;
  size_t i = 0;
  auto same = [&](size_t a, size_t b) { return std::equal(&px[a * bpp], &px[a * bpp] + bpp, &px[b * bpp]); };
  while (i < count) {
    size_t run = 1;
    while (i + run < count && run < 128 && same(i, i + run)) ++run;
    if (run >= 2) {
      f.push_back(BYTE(0x80 + run - 1));
      f.insert(f.end(), &px[i * bpp], &px[i * bpp] + bpp);
      i += run;
      continue;
    }
    size_t raw = 1;
    while (i + raw < count && raw < 128 && !(i + raw + 1 < count && same(i + raw, i + raw + 1))) ++raw;
    f.push_back(BYTE(raw - 1));
    f.insert(f.end(), &px[i * bpp], &px[(i + raw) * bpp]);
    i += raw;
  }
  return f;
}

LONGINT silent(const char* text, const char* caption, LONGWORD) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  return 0;
}

template <class F>
double best_seconds(F decode, int rounds) {
  double best = 1e9;
  for (int r = 0; r < rounds; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    decode();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  vtr_message_box_handler = silent;
  std::printf("%-22s %12s %12s %8s\n", "file (4096 x 4096)", "ours MB/s", "stb MB/s", "ratio");
  for (int bpp : {3, 4}) {
    const std::vector<BYTE> px = make_pixels(bpp, 11 + bpp);
    for (int type : {2, 10}) {
      const std::vector<BYTE> file = type == 2 ? uncompressed(px, bpp) : compressed(px, bpp);
      const double megabytes = px.size() / 1e6;
      const double ours = best_seconds(
          [&] {
            TGATEXTURE t{};
            if (!tga_decode_memory(t, file.data(), file.size())) std::abort();
            tga_free(t);
          },
          rounds);
      const double stb = best_seconds(
          [&] {
            int w, h, n;
            stbi_uc* data = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 0);
            if (!data) std::abort();
            stbi_image_free(data);
          },
          rounds);
      char name[64];
      std::snprintf(name, sizeof name, "type %d, %d bits (%.0f MB)", type, bpp * 8, file.size() / 1e6);
      std::printf("%-22s %12.0f %12.0f %7.2fx\n", name, megabytes / ours, megabytes / stb, stb / ours);
    }
  }
  return 0;
}
