// What an image file claims to hold, read from its headers without decoding
// it, so that a small file claiming a huge image can be refused before any
// memory is set aside for it. Pure: no GL, no platform.
#pragma once

#include <cstdint>

// The largest width and the largest height claimed by the images of FILE:
// a BMP, a PNG, or an ICO or CUR file holding BMP or PNG images. False when
// FILE is not a regular file, cannot be read, is none of these, or claims an
// image without pixels.
bool vtr_image_extent(const char* file, std::int64_t* width, std::int64_t* height);
