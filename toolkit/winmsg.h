// Window messages, pointer-button flags and virtual keys, with Win32 numbers.
// Where windows.h came first (only in the Win32 platform layer) its own
// macros, of the same values, stand in their place.
#pragma once

#include "vtrtypes.h"

#ifndef WM_CREATE
constexpr LONGINT WM_CREATE = 1;
constexpr LONGINT WM_DESTROY = 2;
constexpr LONGINT WM_PAINT = 15;
constexpr LONGINT WM_CLOSE = 16;
constexpr LONGINT WM_QUIT = 18;
constexpr LONGINT WM_CONTEXTMENU = 123;
constexpr LONGINT WM_KEYDOWN = 256;
constexpr LONGINT WM_KEYUP = 257;
constexpr LONGINT WM_SYSKEYDOWN = 260;
constexpr LONGINT WM_SYSKEYUP = 261;
constexpr LONGINT WM_COMMAND = 273;
constexpr LONGINT WM_SYSCOMMAND = 274;
constexpr LONGINT WM_TIMER = 275;
constexpr LONGINT WM_MOUSEMOVE = 512;
constexpr LONGINT WM_LBUTTONDOWN = 513;
constexpr LONGINT WM_LBUTTONUP = 514;
constexpr LONGINT WM_RBUTTONDOWN = 516;
constexpr LONGINT WM_RBUTTONUP = 517;
constexpr LONGINT WM_CAPTURECHANGED = 533;
constexpr LONGINT WM_DPICHANGED = 736;

constexpr LONGINT MK_LBUTTON = 0x01;
constexpr LONGINT MK_RBUTTON = 0x02;
constexpr LONGINT MK_SHIFT = 0x04;
constexpr LONGINT MK_CONTROL = 0x08;
constexpr LONGINT MK_MBUTTON = 0x10;

constexpr LONGINT VK_ESCAPE = 27;
#endif

// Pointer position packed into lParam: x in the low 16 bits, y in the high.
// Both halves are read as signed, so a captured pointer left or above the
// client area gives negative coordinates rather than values near 65535.
#ifndef GET_X_LPARAM
inline LONGINT GET_X_LPARAM(LONGINT lparam) { return static_cast<std::int16_t>(lparam & 0xFFFF); }
inline LONGINT GET_Y_LPARAM(LONGINT lparam) { return static_cast<std::int16_t>((lparam >> 16) & 0xFFFF); }
#endif
#ifndef MAKELPARAM
inline LONGINT MAKELPARAM(LONGINT x, LONGINT y) {
  return static_cast<LONGINT>((static_cast<std::uint32_t>(x) & 0xFFFFu) | ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16));
}
#endif
