// The program's pictures, drawn in code: the sticker image, the nine control
// images and the window icon, with the file writers for them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGBA picture, rows top to bottom.
struct picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
};

// The ten texture names, in texture-id order ("colore", "uno", ... "posz").
const std::vector<std::string>& data_image_names();
// The picture of one texture, by name.
picture data_image(const std::string& name);
// The program's icon at SIZE x SIZE pixels: one design at every size.
picture data_icon(int size = 32);
// The sizes of the icon installed for desktops, smallest first.
const std::vector<int>& icon_sizes();
// The sizes in zoze.ico: the window's own first, then the others.
const std::vector<int>& ico_sizes();

// The demo's image buttons: button N (1..3) in STATE 'N' (normal), 'H'
// (hover) or 'P' (pressed), on a magenta background that is transparent.
picture demo_button(int n, char state);

// A BMP file, 24 bits, or 8 bits with a colour table of the picture's
// colours (at most 256). Pixels with alpha below 128 become magenta.
std::vector<std::uint8_t> bmp_file(const picture& p, bool eight_bit = false);

// A 32-bit type 2 TGA file, rows bottom-up (the file's first row is the
// texture's bottom row), no ID field.
std::vector<std::uint8_t> tga_file(const picture& p);
// An ICO file holding 32-bit images, in the order given.
std::vector<std::uint8_t> ico_file(const std::vector<picture>& images);
std::vector<std::uint8_t> ico_file(const picture& p);
// A PNG file of 8-bit RGBA, its pixels stored without compression.
std::vector<std::uint8_t> png_file(const picture& p);
