// The committed run-time images and icons are what the generator makes, and
// the images decode with the program's own loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "datagen.h"
#include "support.h"
#include "tga.h"

namespace {

TEST(Data, ImagesDecodeAndMatchTheGenerator) {
  for (const std::string& name : data_image_names()) {
    const std::string path = std::string(ZOZE_SOURCE_DIR) + "/immagini/" + name + ".tga";
    TGATEXTURE texture{};
    ASSERT_TRUE(LOADTGA(texture, path.c_str())) << path;
    const picture expected = data_image(name);
    ASSERT_EQ((std::array{texture.WIDTH, texture.HEIGHT, texture.BPP}),
              (std::array<LONGWORD, 3>{LONGWORD(expected.width), LONGWORD(expected.height), 32})) << name;
    // The file's first row is the texture's bottom row: the picture's last.
    for (int y = 0; y < expected.height; ++y) {
      const std::uint8_t* row = texture.IMAGEDATA + static_cast<size_t>(expected.height - 1 - y) * expected.width * 4;
      ASSERT_TRUE(std::equal(row, row + expected.width * 4, &expected.rgba[static_cast<size_t>(y) * expected.width * 4]))
          << name << " row " << y;
    }
    tga_free(texture);
  }
  std::vector<picture> icons;
  for (int size : ico_sizes()) icons.push_back(data_icon(size));
  EXPECT_EQ(read_file(std::string(ZOZE_SOURCE_DIR) + "/zoze.ico"), ico_file(icons));
  for (int size : icon_sizes()) {
    const std::string path = std::string(ZOZE_SOURCE_DIR) + "/data/icons/zoze-" + std::to_string(size) + ".png";
    EXPECT_EQ(read_file(path), png_file(data_icon(size))) << path;
  }
  for (int n = 1; n <= 3; ++n)
    for (char state : {'N', 'H', 'P'}) {
      const std::string path = std::string(ZOZE_SOURCE_DIR) + "/examples/data/BUTTON" + std::to_string(n) + state + ".BMP";
      EXPECT_EQ(read_file(path), bmp_file(demo_button(n, state), n == 3)) << path;
    }
}

TEST(Data, TransparentPixelsTakeTheColourOfTheShapeTheyBorder) {
  // Filtering mixes a transparent pixel's colour into its opaque neighbour:
  // it must be one of the shape's own colours, never the black of nothing.
  for (const std::string& name : data_image_names()) {
    const picture p = data_image(name);
    auto at = [&](int x, int y, int c) { return p.rgba[(static_cast<size_t>(y) * p.width + x) * 4 + c]; };
    int bordering = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        if (at(x, y, 3) != 0) continue;
        int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0}, n = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height || at(nx, ny, 3) == 0) continue;
            for (int c = 0; c < 3; ++c) lo[c] = std::min<int>(lo[c], at(nx, ny, c)), hi[c] = std::max<int>(hi[c], at(nx, ny, c));
            ++n;
          }
        if (n == 0) continue;
        ++bordering;
        for (int c = 0; c < 3; ++c)
          ASSERT_TRUE(at(x, y, c) >= lo[c] && at(x, y, c) <= hi[c]) << name << " at " << x << "," << y << " channel " << c;
      }
    EXPECT_GT(bordering, 20) << name;
  }
}

TEST(Data, StickerCornersLetTheBodyShowThrough) {
  const picture sticker = data_image("colore");
  auto alpha = [&](int x, int y) { return sticker.rgba[(static_cast<size_t>(y) * sticker.width + x) * 4 + 3] / 255.0; };
  for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}, {1, 2}}) EXPECT_LE(alpha(x, y), 0.4) << x << "," << y;
  EXPECT_EQ(alpha(32, 32), 1.0);
  EXPECT_EQ(alpha(32, 3), 1.0);
}

}  // namespace
