// Vitrum's basic types, the checked array and the one message-box function.
// Pure: no GL, no platform. Everything here can be used by code that must
// build and be tested without a display.
#pragma once

#include <cstdint>

using LONGINT = std::int32_t;
using LONGWORD = std::uint32_t;
using SINGLE = float;
using REAL = double;
using BOOLEAN = bool;
using BYTE = std::uint8_t;

// A procedure without parameters or result: the toolkit's callback type.
using VTRPROCEDURE = void (*)();

// Stops the program on an index or arithmetic check that failed: a
// programming error, never a consequence of user input or file contents.
[[noreturn]] void vtr_range_error(const char* what, long long value, long long lo, long long hi);

// An array with the declared index range LO..HI. Every access is checked.
// It is an aggregate, so static instances start zero-filled and can be
// brace-initialised like a plain array.
template <class T, long long LO, long long HI>
struct checked_array {
  static_assert(HI >= LO);
  T item[HI - LO + 1];

  T& operator[](long long i) {
    if (i < LO || i > HI) vtr_range_error("array index", i, LO, HI);
    return item[i - LO];
  }
  const T& operator[](long long i) const {
    if (i < LO || i > HI) vtr_range_error("array index", i, LO, HI);
    return item[i - LO];
  }
  T* data() { return item; }
  const T* data() const { return item; }
  static constexpr long long low() { return LO; }
  static constexpr long long high() { return HI; }
  static constexpr long long size() { return HI - LO + 1; }
};

// 32-bit signed addition that stops the program on overflow.
inline LONGINT checked_add(LONGINT a, LONGINT b) {
  LONGINT r;
  if (__builtin_add_overflow(a, b, &r)) vtr_range_error("integer overflow", static_cast<long long>(a) + b, INT32_MIN, INT32_MAX);
  return r;
}

// 32-bit signed multiplication that stops the program on overflow.
inline LONGINT checked_mul(LONGINT a, LONGINT b) {
  LONGINT r;
  if (__builtin_mul_overflow(a, b, &r)) vtr_range_error("integer overflow", static_cast<long long>(a) * b, INT32_MIN, INT32_MAX);
  return r;
}

// Message-box styles and answers, with the Win32 values. Where windows.h
// came first (only in the Win32 platform layer) its own macros, of the same
// values, stand in their place.
#ifndef MB_OK
constexpr LONGWORD MB_OK = 0x0;
constexpr LONGWORD MB_YESNO = 0x4;
constexpr LONGWORD MB_ICONQUESTION = 0x20;
constexpr LONGINT IDOK = 1;
constexpr LONGINT IDYES = 6;
constexpr LONGINT IDNO = 7;
#endif

// Shows a modal message box without owner window and returns the button
// pressed (IDOK, IDYES, IDNO), or 0 when no box could be shown; a box closed
// without an answer answers as its Escape button (No, or OK). Every box of
// the toolkit and its applications goes through here.
LONGINT vtr_message_box(const char* text, const char* caption, LONGWORD style);

// Where vtr_message_box sends its boxes. The platform installs its own
// handler; tests install a recorder. The initial handler writes the message
// to standard error and answers 0.
using vtr_message_box_fn = LONGINT (*)(const char* text, const char* caption, LONGWORD style);
extern vtr_message_box_fn vtr_message_box_handler;
LONGINT vtr_stderr_message_box(const char* text, const char* caption, LONGWORD style);
