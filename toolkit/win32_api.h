// windows.h as the Win32 platform layer includes it. Win32 and the toolkit
// both name a type BOOLEAN (a byte there, bool here): the system's is kept
// under another name while windows.h is read. The toolkit's own message,
// key and box constants then give way to the system's macros of the same
// values (winmsg.h, vtrtypes.h).
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#define BOOLEAN WIN32_BOOLEAN
#include <windows.h>
#include <windowsx.h>
#include <mmsystem.h>
#undef BOOLEAN
