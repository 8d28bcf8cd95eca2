// Opening and looking at files by UTF-8 names. On Windows the names are
// turned into UTF-16 for the system's wide calls, since its narrow calls
// read them in the local code page; elsewhere they pass as they are.
#include "file.h"

#include <sys/stat.h>

#ifdef _WIN32
#include <string>

namespace {

// NAME's UTF-16 form; a malformed sequence becomes U+FFFD, so that it
// names no file rather than another one.
std::wstring wide(const char* name) {
  std::wstring out;
  const auto* p = reinterpret_cast<const unsigned char*>(name);
  while (*p) {
    std::uint32_t c = *p++;
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c >= 0x80 && (more == 0 || c >= 0xF8)) {
      out += L'\xFFFD';
      continue;
    }
    c &= 0x7F >> more;
    for (; more > 0 && (*p & 0xC0) == 0x80; --more) c = c << 6 | (*p++ & 0x3F);
    if (more > 0 || c > 0x10FFFF) c = 0xFFFD;
    if (c >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

}  // namespace

std::FILE* vtr_open_file(const char* name, const char* mode) {
  return name ? _wfopen(wide(name).c_str(), wide(mode).c_str()) : nullptr;
}

std::int64_t vtr_regular_file_size(const char* name) {
  struct _stat64 st;
  if (!name || _wstat64(wide(name).c_str(), &st) != 0 || !(st.st_mode & _S_IFREG)) return -1;
  return st.st_size;
}

bool vtr_file_exists(const char* name) {
  struct _stat64 st;
  return name && _wstat64(wide(name).c_str(), &st) == 0;
}

#else

std::FILE* vtr_open_file(const char* name, const char* mode) { return name ? std::fopen(name, mode) : nullptr; }

std::int64_t vtr_regular_file_size(const char* name) {
  struct stat st;
  if (!name || stat(name, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return st.st_size;
}

bool vtr_file_exists(const char* name) {
  struct stat st;
  return name && stat(name, &st) == 0;
}

#endif
