// Writes the toolkit demo's button bitmaps: BUTTON<n><N|H|P>.BMP, 24 bits,
// with button 3 as an 8-bit paletted file. Usage: make_demo_data FOLDER
#include <cstdio>
#include <string>

#include "datagen.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_data FOLDER\n");
    return 2;
  }
  for (int n = 1; n <= 3; ++n)
    for (char state : {'N', 'H', 'P'}) {
      const std::string path = std::string(argv[1]) + "/BUTTON" + std::to_string(n) + state + ".BMP";
      const auto bytes = bmp_file(demo_button(n, state), n == 3);
      std::FILE* f = std::fopen(path.c_str(), "wb");
      if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
      }
    }
  return 0;
}
