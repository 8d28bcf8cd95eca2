// The range-check stop and the one message-box function with its handler.
#include "vtrtypes.h"

#include <cstdio>
#include <cstdlib>

void vtr_range_error(const char* what, long long value, long long lo, long long hi) {
  std::fprintf(stderr, "Vitrum: %s %lld outside %lld..%lld\n", what, value, lo, hi);
  std::fflush(stderr);
  std::abort();
}

LONGINT vtr_stderr_message_box(const char* text, const char* caption, LONGWORD) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  return 0;
}

vtr_message_box_fn vtr_message_box_handler = vtr_stderr_message_box;

LONGINT vtr_message_box(const char* text, const char* caption, LONGWORD style) {
  return vtr_message_box_handler(text, caption, style);
}
