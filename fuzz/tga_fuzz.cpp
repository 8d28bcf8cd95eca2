// Fuzz target: TGA decoding from arbitrary bytes, from memory and from a
// file through the buffered reader. Every input must end in a decoded image
// or one message, without reading or writing out of bounds, and both paths
// must agree on the outcome, the message and every pixel.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tga.h"

namespace {

std::vector<std::string> messages;
LONGINT record(const char* text, const char*, LONGWORD) {
  messages.emplace_back(text);
  return IDOK;
}

struct outcome {
  bool decoded;
  std::vector<std::string> messages;
  std::vector<BYTE> pixels;
};

// Checks the invariants of one load and keeps what it gave.
outcome finish(TGATEXTURE& texture, bool decoded) {
  // A load either succeeds silently with an image, or fails with exactly one
  // message and no image.
  if (decoded != messages.empty() || decoded != (texture.IMAGEDATA != nullptr) || messages.size() > 1) std::abort();
  outcome o{decoded, messages, {}};
  if (decoded) {
    // The whole image must be there.
    const std::size_t bytes = std::size_t{texture.WIDTH} * texture.HEIGHT * (texture.BPP / 8);
    o.pixels.assign(texture.IMAGEDATA, texture.IMAGEDATA + bytes);
  }
  tga_free(texture);
  messages.clear();
  return o;
}

const std::string& scratch_file() {
  static const std::string name = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/tga-fuzz-" + std::to_string(getpid()) + ".tga";
  }();
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vtr_message_box_handler = record;
  messages.clear();
  TGATEXTURE texture{};
  const outcome memory = finish(texture, tga_decode_memory(texture, data, size));

  std::FILE* f = std::fopen(scratch_file().c_str(), "wb");
  if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) std::abort();
  texture = {};
  const outcome file = finish(texture, LOADTGA(texture, scratch_file().c_str()));
  if (file.decoded != memory.decoded || file.messages != memory.messages || file.pixels != memory.pixels) std::abort();
  return 0;
}
