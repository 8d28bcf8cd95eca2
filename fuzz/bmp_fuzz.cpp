// Fuzz target: BMP decoding from arbitrary bytes. Every input must end in
// a decoded image or a refusal, without reading or writing out of bounds;
// a decoded image must be as large as it says, opaque, within the side
// limit, with a table of whole entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vtr_image image;
  if (!vtr_decode_bmp(data, size, &image)) {
    if (image.width != 0 || !image.pixels.empty()) std::abort();
    return 0;
  }
  if (image.width < 1 || image.height < 1 || image.width > VTR_BMP_MAX_SIDE || image.height > VTR_BMP_MAX_SIDE)
    std::abort();
  if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) std::abort();
  if (image.table.size() % 4 != 0 || image.table.size() > 256 * 4) std::abort();
  for (std::uint32_t p : image.pixels)
    if (p >> 24 != 0xFF) std::abort();
  return 0;
}
