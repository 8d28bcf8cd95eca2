// Files named in UTF-8, the same on every system: whatever letters a path
// holds, every step that looks at a file finds the same one. Pure: no GL,
// no platform layer.
#pragma once

#include <cstdint>
#include <cstdio>

// Opens the file NAME as std::fopen does.
std::FILE* vtr_open_file(const char* name, const char* mode);
// The size of NAME in bytes when it is a regular file (not a folder, a
// pipe or a device); -1 otherwise, or when it does not exist.
std::int64_t vtr_regular_file_size(const char* name);
// True when something of that NAME exists, of any kind.
bool vtr_file_exists(const char* name);

// Little-endian fields of a file's bytes.
inline std::uint32_t vtr_le16(const unsigned char* p) { return p[0] | p[1] << 8; }
inline std::uint32_t vtr_le32(const unsigned char* p) { return vtr_le16(p) | vtr_le16(p + 2) << 16; }
