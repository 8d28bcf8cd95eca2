// The committed run-time images are what the generator makes, and they
// decode with the program's own loader.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "datagen.h"
#include "tga.h"

namespace {

std::vector<std::uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Data, ImagesDecodeAndMatchTheGenerator) {
  for (const std::string& name : data_image_names()) {
    const std::string path = std::string(ZOZE_SOURCE_DIR) + "/immagini/" + name + ".tga";
    TGATEXTURE texture{};
    ASSERT_TRUE(LOADTGA(texture, path.c_str())) << path;
    const picture expected = data_image(name);
    ASSERT_EQ(texture.WIDTH, static_cast<LONGWORD>(expected.width));
    ASSERT_EQ(texture.HEIGHT, static_cast<LONGWORD>(expected.height));
    EXPECT_EQ(texture.BPP, 32u);
    // The file's first row is the texture's bottom row: the picture's last.
    for (int y = 0; y < expected.height; ++y) {
      const std::uint8_t* row = texture.IMAGEDATA + static_cast<size_t>(expected.height - 1 - y) * expected.width * 4;
      ASSERT_TRUE(std::equal(row, row + expected.width * 4, &expected.rgba[static_cast<size_t>(y) * expected.width * 4]))
          << name << " row " << y;
    }
    tga_free(texture);
  }
  EXPECT_EQ(read_file(std::string(ZOZE_SOURCE_DIR) + "/zoze.ico"), ico_file(data_icon()));
  for (int n = 1; n <= 3; ++n)
    for (char state : {'N', 'H', 'P'}) {
      const std::string path = std::string(ZOZE_SOURCE_DIR) + "/examples/data/BUTTON" + std::to_string(n) + state + ".BMP";
      EXPECT_EQ(read_file(path), bmp_file(demo_button(n, state), n == 3)) << path;
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
