// Writes the program's run-time data (immagini/*.tga and zoze.ico) and its
// icon for desktops (data/icons/zoze-SIZE.png).
// Usage: make_data OUTPUT-FOLDER
#include <cstdio>
#include <string>

#include "datagen.h"

namespace {
bool write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_data OUTPUT-FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  for (const std::string& name : data_image_names()) {
    if (!write(out + "/immagini/" + name + ".tga", tga_file(data_image(name)))) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      return 1;
    }
  }
  std::vector<picture> icons;
  for (int size : ico_sizes()) icons.push_back(data_icon(size));
  if (!write(out + "/zoze.ico", ico_file(icons))) {
    std::fprintf(stderr, "cannot write zoze.ico\n");
    return 1;
  }
  // The icon for desktops, one PNG a size.
  for (int size : icon_sizes()) {
    const std::string name = out + "/data/icons/zoze-" + std::to_string(size) + ".png";
    if (!write(name, png_file(data_icon(size)))) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      return 1;
    }
  }
  return 0;
}
