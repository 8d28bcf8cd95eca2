// TGA decoding from bytes and from files: pixels, every failure message,
// the 64-bit size and its cap, and agreement with an independent decoder;
// the sizes that other image files claim in their headers; and BMP
// decoding, against the same independent decoder and broken files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bmp.h"
#include "datagen.h"
#include "imagefile.h"
#include "support.h"
#include "tga.h"

namespace {

class Tga : public ::testing::Test {
 protected:
  void SetUp() override {
    record_boxes();
    texture = {};
  }
  void TearDown() override { tga_free(texture); }

  bool decode(const bytes& file) { return tga_decode_memory(texture, file.data(), file.size()); }
  // Decodes FILE and expects it to fail with exactly one message.
  void expect_failure(const bytes& file, const std::string& text, const std::string& caption = "ERROR") {
    boxes_shown.clear();
    EXPECT_FALSE(decode(file)) << text;
    EXPECT_EQ(boxes_shown, std::vector<std::string>{caption + ": " + text});
    EXPECT_EQ(texture.IMAGEDATA, nullptr);
  }
  bytes pixels() const {
    return bytes(texture.IMAGEDATA, texture.IMAGEDATA + std::size_t{texture.WIDTH} * texture.HEIGHT * texture.BPP / 8);
  }

  TGATEXTURE texture;
};

// Files that decode, and the pixels they give in RGB(A) order, rows as
// stored.
const struct {
  const char* what;
  bytes file, pixels;
} decodes[] = {
    {"plain 24 bits", tga_file(2, 2, 1, 24, {1, 2, 3, 4, 5, 6}), {3, 2, 1, 6, 5, 4}},
    {"plain 32 bits, alpha kept, bytes after the pixels ignored",
     tga_file(2, 1, 2, 32, {10, 20, 30, 40, 50, 60, 70, 80, 99, 99}), {30, 20, 10, 40, 70, 60, 50, 80}},
    {"a run", tga_file(10, 2, 2, 24, {0x83, 1, 2, 3}), {3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1}},
    {"a raw packet", tga_file(10, 4, 1, 32, {0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
     {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16}},
    {"packets across rows", tga_file(10, 3, 2, 24, {0x84, 9, 8, 7, 0x00, 1, 2, 3}),
     {7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9, 3, 2, 1}},
    {"a run filling the image, bytes after it", tga_file(10, 2, 2, 24, {0x83, 1, 2, 3, 0x85, 7, 7}),
     {3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1}},
};

TEST_F(Tga, PlainAndRunLengthPixelsTurnToRgbOrder) {
  for (const auto& d : decodes) {
    ASSERT_TRUE(decode(d.file)) << d.what;
    EXPECT_EQ(pixels(), d.pixels) << d.what;
    const LONGWORD type = d.file[16] == 24 ? TGA_GL_RGB : TGA_GL_RGBA;
    EXPECT_EQ((std::array<LONGWORD, 3>{texture.BPP, texture.TYP, texture.HEIGHT}),
              (std::array<LONGWORD, 3>{d.file[16], type, d.file[14]})) << d.what;
    tga_free(texture);
  }
  EXPECT_TRUE(boxes_shown.empty());
}

TEST_F(Tga, PacketsPastTheImageAreRefused) {
  expect_failure(tga_file(10, 2, 2, 24, {0x84, 1, 2, 3}), "Too many pixels read");
  expect_failure(tga_file(10, 2, 2, 24, {0x01, 1, 2, 3, 4, 5, 6, 0x02, 1, 1, 1, 2, 2, 2, 3, 3, 3}),
                 "Too many pixels read");
  // A raw packet running past the image whose extra pixel is cut short.
  expect_failure(tga_file(10, 1, 1, 24, {0x01, 1, 2, 3, 4}), "Could not read image data");
}

TEST_F(Tga, EveryTruncationPointHasItsMessage) {
  const bytes full2 = tga_file(2, 2, 2, 24, bytes(12, 5));
  expect_failure({}, "Could not read file header");
  expect_failure(bytes(full2.begin(), full2.begin() + 11), "Could not read file header");
  expect_failure(bytes(full2.begin(), full2.begin() + 12), "Could not read info header");
  expect_failure(bytes(full2.begin(), full2.begin() + 17), "Could not read info header");
  expect_failure(bytes(full2.begin(), full2.begin() + 18), "Could not read image data");
  expect_failure(bytes(full2.begin(), full2.end() - 1), "Could not read image data");

  auto rle = [](const bytes& data) { return tga_file(10, 2, 2, 32, data); };
  expect_failure(rle({}), "Could not read RLE header");
  expect_failure(rle({0x81, 1, 2, 3, 4}), "Could not read RLE header");
  expect_failure(rle({0x81, 1, 2, 3}), "Could not read from file");
  expect_failure(rle({0x03, 1, 2, 3, 4, 5, 6}), "Could not read image data");
}

TEST_F(Tga, OnlyPlainTrueColourHeadersAreAccepted) {
  for (int type : {0, 1, 3, 9, 11, 32}) {
    expect_failure(tga_file(type, 1, 1, 24, {1, 2, 3}), "TGA file be type 2 or type 10", "Invalid Image");
  }
  for (int at : {0, 1, 3, 5, 7, 8, 9, 10, 11}) {
    bytes file = tga_file(2, 1, 1, 24, {1, 2, 3});
    file[at] = 1;
    expect_failure(file, "TGA file be type 2 or type 10", "Invalid Image");
  }
  for (int depth : {0, 8, 15, 16, 33})
    expect_failure(tga_file(2, 1, 1, depth, bytes(8, 0)), "Invalid texture information");
  expect_failure(tga_file(10, 0, 5, 24), "Invalid texture information");
  expect_failure(tga_file(2, 5, 0, 32), "Invalid texture information");
}

TEST_F(Tga, SizesAreComputedInSixtyFourBitsAndCapped) {
  // 4 x 65535 x 65535 wraps in 32 bits; it is refused without allocating.
  expect_failure(tga_file(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4}), "Could not allocate memory for image");
  expect_failure(tga_file(2, 65535, 65535, 32), "Could not allocate memory for image");
  expect_failure(tga_file(10, 16385, 16384, 32), "Could not allocate memory for image");
  // Exactly at the cap the size is accepted; the short file fails before
  // anything is allocated.
  expect_failure(tga_file(2, 16384, 16384, 32, bytes(100, 0)), "Could not read image data");
  EXPECT_EQ(TGA.IMAGESIZE, 1u << 30);
}

TEST_F(Tga, ASmallFileClaimingAHugeImageTouchesLittleMemory) {
  const long before = peak_memory_kb();
  // 1 GiB of pixels claimed, a few runs delivered.
  expect_failure(tga_file(10, 16384, 16384, 32, {0xFF, 1, 2, 3, 4, 0xFF, 5, 6, 7, 8}), "Could not read RLE header");
  EXPECT_LT(peak_memory_kb() - before, 64 * 1024) << "kilobytes";
}

TEST_F(Tga, FilesReadThroughTheBufferAgreeWithMemory) {
  // Large enough for many buffer refills, with packets across them.
  std::mt19937 rng(5);
  const int w = 301, h = 257;
  bytes raw = tga_file(2, w, h, 32);
  bytes rle = tga_file(10, w, h, 32);
  bytes expected;
  int left = w * h;
  while (left > 0) {
    const int n = std::min<int>(left, 1 + rng() % 128);
    const bool run = rng() % 2;  // one pixel repeated, or N pixels of their own
    rle.push_back(static_cast<BYTE>((run ? 0x80 : 0) + n - 1));
    BYTE px[4];
    for (int i = 0; i < n; ++i) {
      if (i == 0 || !run) {
        for (BYTE& c : px) c = BYTE(rng());
        rle.insert(rle.end(), px, px + 4);
      }
      raw.insert(raw.end(), px, px + 4);
      expected.insert(expected.end(), {px[2], px[1], px[0], px[3]});
    }
    left -= n;
  }
  for (const bytes* file : {&raw, &rle}) {
    const std::string name = temp_file(*file);
    ASSERT_TRUE(LOADTGA(texture, name.c_str()));
    EXPECT_EQ(pixels(), expected);
    tga_free(texture);
    ASSERT_TRUE(decode(*file));
    EXPECT_EQ(pixels(), expected);
    tga_free(texture);
    // The same file cut short in the middle of its data.
    const std::string cut = temp_file(bytes(file->begin(), file->begin() + file->size() / 2));
    EXPECT_FALSE(LOADTGA(texture, cut.c_str()));
    std::remove(name.c_str());
    std::remove(cut.c_str());
  }
  EXPECT_EQ(boxes_shown.size(), 2u);
}

TEST_F(Tga, FilesThatCannotBeReadAreReported) {
  // Missing, a directory, a named pipe with no writer (where the system has
  // them): none is opened, none blocks, each is a file that cannot be opened.
  std::vector<std::string> names = {"/nonexistent/dir/image.tga", std::filesystem::temp_directory_path().string()};
  const std::string fifo = temp_path("vtr-tga-fifo");
  if (make_fifo(fifo)) names.push_back(fifo);
  for (const std::string& name : names) {
    boxes_shown.clear();
    EXPECT_FALSE(LOADTGA(texture, name.c_str())) << name;
    EXPECT_EQ(boxes_shown, std::vector<std::string>{"ERROR: Could not open texture file"}) << name;
  }
  std::remove(fifo.c_str());

  // A stream that ends before the image does, where its length cannot be
  // known in advance: the read itself must report the failure.
  int ends[2];
  ASSERT_TRUE(make_pipe(ends));
  const bytes short_image = tga_file(2, 40, 40, 24, bytes(40 * 40 * 3 - 7, 9));
  ASSERT_EQ(write(ends[1], short_image.data(), short_image.size()), static_cast<ssize_t>(short_image.size()));
  close(ends[1]);
  boxes_shown.clear();
  FTGA = {};
  FTGA.file = fdopen(ends[0], "rb");
  BYTE first[12];
  ASSERT_EQ(FTGA.read(first, 12), 12u);
  EXPECT_FALSE(LOADUNCOMPRESSEDTGA(texture, "pipe"));
  EXPECT_TRUE(boxes_shown == std::vector<std::string>{"ERROR: Could not read image data"} && !texture.IMAGEDATA);
  std::fclose(FTGA.file);
  FTGA.file = nullptr;
}

// ImageMagick's convert run on ARGS, its messages dropped: true when it
// succeeded (false too when it is not installed).
bool convert(const std::string& args) { return std::system(("/usr/bin/convert " + args + " 2>/dev/null").c_str()) == 0; }

// Files written by ImageMagick, decoded by ImageMagick into top-down RGBA.
TEST_F(Tga, AgreesWithAnIndependentDecoder) {
  if (!convert("-version > /dev/null")) GTEST_SKIP() << "ImageMagick is not installed";
  const std::string dir = temp_path("vtr-tga-im");
  std::filesystem::create_directories(dir);
  for (const std::string compress : {"None", "RLE"}) {
    for (const std::string alpha : {"off", "on"}) {
      const std::string tga = dir + "/image.tga", rgba = dir + "/image.rgba";
      const std::string make = "-size 37x23 plasma:fractal -seed 3 -alpha " + alpha +
                               (alpha == "on" ? " -channel A -fx 'i/w' +channel" : "") + " -depth 8 -compress " +
                               compress + " -define tga:image-origin=BottomLeft " + tga;
      ASSERT_TRUE(convert(make) && convert(tga + " -depth 8 rgba:" + rgba)) << make;
      bytes file = read_file(tga);
      const bytes reference = read_file(rgba);
      ASSERT_GE(file.size(), 18u);
      if (file[0] != 0) {
        // An ID field is refused; without it the same pixels must decode.
        expect_failure(file, "TGA file be type 2 or type 10", "Invalid Image");
        file.erase(file.begin() + 18, file.begin() + 18 + file[0]);
        file[0] = 0;
      }
      ASSERT_TRUE(decode(file)) << compress << " alpha " << alpha;
      const int w = 37, h = 23, bpp = texture.BPP / 8;
      ASSERT_EQ(texture.WIDTH, 37u);
      ASSERT_EQ(reference.size(), std::size_t(w * h * 4));
      // Our rows stay in file order; the reference may present them either
      // way up, so its first row tells which.
      const bool flipped = std::memcmp(texture.IMAGEDATA, reference.data(), 1) != 0 ||
                           std::memcmp(texture.IMAGEDATA + bpp, reference.data() + 4, 1) != 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const BYTE* ours = texture.IMAGEDATA + ((flipped ? h - 1 - y : y) * w + x) * bpp;
          const BYTE* theirs = reference.data() + (y * w + x) * 4;
          for (int c = 0; c < bpp; ++c) ASSERT_EQ(ours[c], theirs[c]) << compress << " " << x << "," << y << " c" << c;
        }
      tga_free(texture);
    }
  }
  std::filesystem::remove_all(dir);
}

// ---------------------------------------------------------------------------
// Image headers

TEST(ImageFile, SizesClaimedByBitmapsIconsAndPngs) {
  auto extent = [](const bytes& content) {
    const std::string name = temp_file(content);
    std::int64_t w = -1, h = -1;
    const bool ok = vtr_image_extent(name.c_str(), &w, &h);
    std::remove(name.c_str());
    return ok ? std::to_string(w) + "x" + std::to_string(h) : std::string("refused");
  };
  picture small{20, 10, bytes(20 * 10 * 4, 255)};
  // An icon's bitmap counts its mask rows in its height.
  bytes icon = ico_file(small);
  EXPECT_EQ(extent(icon), "20x10");
  bytes cursor = icon;
  cursor[2] = 2;  // a cursor's directory: the same images
  EXPECT_EQ(extent(cursor), "20x10");
  put32(icon, {{22 + 4, 30000}, {22 + 8, 120000}});
  EXPECT_EQ(extent(icon), "30000x60000");
  // A bitmap file, bottom-up or top-down.
  bytes bitmap = bmp_file(small);
  EXPECT_EQ(extent(bitmap), "20x10");
  put32(bitmap, 14 + 8, static_cast<std::uint32_t>(-10));
  EXPECT_EQ(extent(bitmap), "20x10");
  put32(bitmap, {{14 + 4, 30000}, {14 + 8, 30000}});
  EXPECT_EQ(extent(bitmap), "30000x30000");
  // A PNG, alone and as the second image of an icon.
  bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 0, 0, 0, 0, 0};
  put32(png, {{16, 300}, {20, 7}}, true);
  EXPECT_EQ(extent(png), "300x7");
  bytes two = ico_file(small);
  two[4] = 2;
  two.insert(two.begin() + 22, 16, 0);
  put32(two, {{6 + 12, 22 + 16}, {22 + 12, static_cast<std::uint32_t>(two.size())}});
  two.insert(two.end(), png.begin(), png.end());
  EXPECT_EQ(extent(two), "300x10");
  // Anything else, an entry pointing past the end, or no pixels: refused.
  EXPECT_EQ(extent(tga_file(2, 4, 4, 24)), "refused");
  put32(two, 22 + 12, 1 << 20);
  EXPECT_EQ(extent(two), "refused");
  put32(png, 16, 0, true);
  EXPECT_EQ(extent(png), "refused");
  // A directory and a named pipe are no image files, and nothing waits.
  std::int64_t w, h;
  EXPECT_FALSE(vtr_image_extent(std::filesystem::temp_directory_path().string().c_str(), &w, &h));
  const std::string fifo = temp_path("vtr-image-fifo");
  if (make_fifo(fifo)) {
    EXPECT_FALSE(vtr_image_extent(fifo.c_str(), &w, &h));
  }
  std::remove(fifo.c_str());
}

// ---------------------------------------------------------------------------
// Bitmaps

// Files ImageMagick writes in each coding the decoder takes, against
// ImageMagick's own reading of them.
TEST(Bmp, AgreesWithAnIndependentDecoder) {
  if (!convert("-version > /dev/null")) GTEST_SKIP() << "ImageMagick is not installed";
  const std::string dir = temp_path("vtr-bmp-im");
  std::filesystem::create_directories(dir);
  const struct {
    const char* write;
    LONGINT bits;
  } codings[] = {{"-monochrome bmp3:", 1},
                 {"-colors 16 -type Palette -compress None bmp3:", 4},
                 {"-type Palette -compress None bmp3:", 8},
                 {"-type Palette -compress RLE bmp3:", 8},
                 {"-define bmp:subtype=RGB565 bmp:", 16},
                 {"-define bmp:subtype=RGB555 bmp:", 16},
                 {"-type TrueColor bmp3:", 24},
                 {"-type TrueColor bmp2:", 24},
                 {"-alpha on -type TrueColorAlpha bmp:", 32}};
  for (const auto& coding : codings) {
    const std::string bmp = dir + "/image.bmp", rgb = dir + "/image.rgb";
    const std::string make = std::string("-size 37x23 plasma:fractal -seed 3 ") + coding.write + bmp;
    ASSERT_TRUE(convert(make) && convert(bmp + " -depth 8 rgb:" + rgb)) << make;
    const bytes reference = read_file(rgb);
    vtr_image image;
    ASSERT_TRUE(vtr_load_bmp(bmp.c_str(), &image)) << coding.write;
    ASSERT_EQ((std::array<LONGINT, 4>{image.width, image.height, image.bits, static_cast<LONGINT>(reference.size())}),
              (std::array<LONGINT, 4>{37, 23, coding.bits, 37 * 23 * 3})) << coding.write;
    // Five- and six-bit channels may be widened to eight a unit apart.
    const int tolerance = coding.bits == 16 ? 1 : 0;
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
      const std::uint32_t p = image.pixels[i];
      ASSERT_EQ(p >> 24, 0xFFu);
      const int ours[3] = {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF)};
      for (int c = 0; c < 3; ++c) ASSERT_NEAR(ours[c], reference[3 * i + c], tolerance) << coding.write << " pixel " << i;
    }
  }
  std::filesystem::remove_all(dir);
}

TEST(Bmp, BrokenOrImpossibleFilesAreRefusedWhole) {
  vtr_image image, again;
  const bytes good = bmp_file(demo_button(3, 'N'), true);  // 96 x 96, 8 bits and a table
  ASSERT_TRUE(vtr_decode_bmp(good.data(), good.size(), &image));
  EXPECT_EQ(image.table.size() % 4, 0u);
  // Cut anywhere, it is refused, and nothing of it is kept.
  for (std::size_t n = 0; n < good.size(); n += 7) {
    EXPECT_FALSE(vtr_decode_bmp(good.data(), n, &again)) << n;
    EXPECT_TRUE(again.pixels.empty());
  }
  // Rows stored top-down (a negative height) give the same image.
  bytes top_down = good;
  const std::size_t at = 14 + 40 + image.table.size();
  put32(top_down, 14 + 8, static_cast<std::uint32_t>(-96));
  for (int r = 0; r < 96; ++r)
    std::copy_n(good.begin() + at + (95 - r) * 96, 96, top_down.begin() + at + r * 96);
  ASSERT_TRUE(vtr_decode_bmp(top_down.data(), top_down.size(), &again));
  EXPECT_EQ(again.pixels, image.pixels);
  // Sides of 0 or past the limit, or a claim of 8192 x 8192 pixels that the
  // file does not hold, are refused before any pixel memory is taken.
  const long before = peak_memory_kb();
  for (const auto& [width, height] : {std::pair<std::uint32_t, std::uint32_t>{96, 0}, {0, 96}, {96, 8193}, {8193, 96},
                                      {96, static_cast<std::uint32_t>(-8193)}, {8192, 8192}}) {
    bytes claim = good;
    put32(claim, {{14 + 4, width}, {14 + 8, height}});
    EXPECT_FALSE(vtr_decode_bmp(claim.data(), claim.size(), &again)) << width << " x " << height;
  }
  EXPECT_LT(peak_memory_kb() - before, 64 * 1024) << "kilobytes";
  // Whole one-bit files, a row too wide or a column too tall: each side has
  // its limit, however few bytes the image takes.
  for (const auto& [width, height] : {std::pair<std::uint32_t, std::uint32_t>{8193, 1}, {1, 8193}}) {
    const std::uint32_t row = (width + 31) / 32 * 4, offset = 14 + 40 + 8;
    bytes file(offset + std::size_t{row} * height, 0);
    file[0] = 'B';
    file[1] = 'M';
    put32(file, {{2, static_cast<std::uint32_t>(file.size())}, {10, offset}, {14, 40}, {14 + 4, width}, {14 + 8, height}});
    file[14 + 12] = file[14 + 14] = 1;  // planes, bits a pixel
    EXPECT_FALSE(vtr_decode_bmp(file.data(), file.size(), &again)) << width << " x " << height;
    put32(file, {{14 + 4, width == 1 ? 1 : 8192}, {14 + 8, height == 1 ? 1 : 8192}});
    EXPECT_TRUE(vtr_decode_bmp(file.data(), file.size(), &again)) << "within the limit";
  }

  // Codings and layouts no decoder of ours takes: two planes, 2 bits a
  // pixel, JPEG inside, an unknown header.
  for (const auto& [field, value] : {std::pair<std::size_t, BYTE>{14 + 12, 2}, {14 + 14, 2}, {14 + 16, 4}, {14, 64}}) {
    bytes odd = good;
    odd[field] = value;
    EXPECT_FALSE(vtr_decode_bmp(odd.data(), odd.size(), &again)) << field;
  }
  // Run-length codes that run off the image, jump past it or end at once
  // are cut at its edges; what no run reaches keeps colour 0 of the table.
  bytes runs = good;
  put32(runs, 14 + 16, 1);
  runs.resize(at);
  const bytes codes = {255, 7, 0, 2, 200, 1, 3, 9, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 2, 0, 250, 0, 1};
  runs.insert(runs.end(), codes.begin(), codes.end());
  put32(runs, 2, static_cast<std::uint32_t>(runs.size()));
  ASSERT_TRUE(vtr_decode_bmp(runs.data(), runs.size(), &again));
  const std::uint32_t colour0 = 0xFF000000u | image.table[2] << 16 | image.table[1] << 8 | image.table[0];
  const std::uint32_t colour7 = 0xFF000000u | image.table[30] << 16 | image.table[29] << 8 | image.table[28];
  EXPECT_EQ(again.pixels[95 * 96 + 0], colour7);   // bottom row, from the left
  EXPECT_EQ(again.pixels[95 * 96 + 95], colour7);  // cut at the right edge
  EXPECT_EQ(again.pixels[0], colour0);             // never reached
  // A folder is no bitmap file.
  EXPECT_FALSE(vtr_load_bmp(std::filesystem::temp_directory_path().string().c_str(), &again));
}

}  // namespace
