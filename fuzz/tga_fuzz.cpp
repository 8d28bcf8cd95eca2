// Fuzz target: TGA decoding from arbitrary bytes. Every input must end in a
// decoded image or one message, without reading or writing out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tga.h"

namespace {
int messages = 0;
LONGINT count_message(const char*, const char*, LONGWORD) {
  ++messages;
  return IDOK;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vtr_message_box_handler = count_message;
  messages = 0;
  TGATEXTURE texture{};
  const bool decoded = tga_decode_memory(texture, data, size);
  // A load either succeeds silently with an image, or fails with exactly one
  // message and no image.
  if (decoded != (messages == 0) || decoded != (texture.IMAGEDATA != nullptr)) std::abort();
  if (decoded) {
    // Touch the whole image: it must all be there.
    static volatile unsigned sink;
    unsigned sum = 0;
    const std::size_t bytes = std::size_t{texture.WIDTH} * texture.HEIGHT * (texture.BPP / 8);
    for (std::size_t i = 0; i < bytes; i += 61) sum += texture.IMAGEDATA[i];
    sink = sum + texture.IMAGEDATA[bytes - 1];
  }
  tga_free(texture);
  return 0;
}
