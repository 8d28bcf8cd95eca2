// The platform layer on SDL2: the only file that includes SDL, and Xlib,
// where there is one, for what SDL does not tell of an X11 desktop (its
// scale, the frame its window manager draws) or ask of its window manager
// (which of the frame's buttons to offer).
// Owns the SDL window, its GL context, the system cursors, the icon surface,
// the timers, the font, and the translation of SDL events into
// Win32-numbered window messages (virtual-key codes, system keys, pointer
// positions packed into lParam).
#include "platform.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_syswm.h>
#include <SDL_ttf.h>
#if defined(VTR_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
#define VTR_X11 1
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#endif

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "process_posix.h"
#include "winmsg.h"

namespace {

SDL_Window* window = nullptr;
bool has_surface = false;  // the window is the one with the GL surface
bool shown = false;        // shown since it was made, once placed
bool frameless = false;
std::string window_title;
SDL_Cursor* pointer = nullptr;
SDL_Surface* shown_icon = nullptr;
SDL_GLContext context = nullptr;
SDL_Cursor* cursors[17] = {};
SDL_Cursor* file_cursor = nullptr;
SDL_Surface* icon = nullptr;
Uint32 timer_event_type = 0;
bool initialised = false;
std::map<LONGINT, SDL_TimerID> timers;

Uint32 end_event_type = 0;  // an end signal asks for the close
bool captured = false;      // the toolkit holds the pointer
// On Wayland: the window's size and the pointer are in points of the
// output, its GL surface in pixels, PIXELS a point; the compositor places
// the window, and the pointer cannot be moved, only followed by its motion
// (free-look keeps a pointer of its own then, moved by that motion).
bool wayland = false;
int pixels = 1;
bool free_look = false;
int free_x = 0, free_y = 0;

// The window's form: hidden until placed; full screen a borderless window
// the screen's size on X11, and a full-screen surface of the output on
// Wayland, where the GL surface follows the output's scale.
Uint32 window_flags(bool borderless) {
  const Uint32 full = wayland ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_BORDERLESS;
  return SDL_WINDOW_HIDDEN | (borderless ? full : 0) | (wayland ? SDL_WINDOW_ALLOW_HIGHDPI : 0);
}

std::string app_id;  // the desktop entry's name, when the program gave it

// The name docks match the window to its desktop entry by: the program's
// own, else its file's.
std::string desktop_name() {
  if (!app_id.empty()) return app_id;
  const char* name = program_invocation_short_name;
  return name ? name : "";
}

// Runs on the signal watcher's thread: the close request joins the queue,
// and the wait ends for it.
void wake_for_end_signal() {
  SDL_Event ev;
  SDL_zero(ev);
  ev.type = end_event_type;
  SDL_PushEvent(&ev);
}

LONGINT button_flags(Uint32 state) {
  LONGINT flags = 0;
  if (state & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
  if (state & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
  if (state & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
  const SDL_Keymod mods = SDL_GetModState();
  if (mods & KMOD_SHIFT) flags |= MK_SHIFT;
  if (mods & KMOD_CTRL) flags |= MK_CONTROL;
  return flags;
}

// Scancode -> Win32 virtual-key code, for every key that has one.
struct key_table {
  LONGINT vk[SDL_NUM_SCANCODES] = {};
  key_table() {
    for (int i = 0; i < 26; ++i) vk[SDL_SCANCODE_A + i] = 'A' + i;
    for (int i = 0; i < 9; ++i) vk[SDL_SCANCODE_1 + i] = '1' + i;
    vk[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 12; ++i) vk[SDL_SCANCODE_F1 + i] = 0x70 + i;
    for (int i = 0; i < 12; ++i) vk[SDL_SCANCODE_F13 + i] = 0x7C + i;
    for (int i = 0; i < 9; ++i) vk[SDL_SCANCODE_KP_1 + i] = 0x61 + i;
    vk[SDL_SCANCODE_KP_0] = 0x60;
    const std::pair<SDL_Scancode, LONGINT> named[] = {
        {SDL_SCANCODE_BACKSPACE, 0x08},  {SDL_SCANCODE_TAB, 0x09},          {SDL_SCANCODE_CLEAR, 0x0C},
        {SDL_SCANCODE_RETURN, 0x0D},     {SDL_SCANCODE_KP_ENTER, 0x0D},     {SDL_SCANCODE_LSHIFT, 0x10},
        {SDL_SCANCODE_RSHIFT, 0x10},     {SDL_SCANCODE_LCTRL, 0x11},        {SDL_SCANCODE_RCTRL, 0x11},
        {SDL_SCANCODE_LALT, 0x12},       {SDL_SCANCODE_RALT, 0x12},         {SDL_SCANCODE_PAUSE, 0x13},
        {SDL_SCANCODE_CAPSLOCK, 0x14},   {SDL_SCANCODE_ESCAPE, 0x1B},       {SDL_SCANCODE_SPACE, 0x20},
        {SDL_SCANCODE_PAGEUP, 0x21},     {SDL_SCANCODE_PAGEDOWN, 0x22},     {SDL_SCANCODE_END, 0x23},
        {SDL_SCANCODE_HOME, 0x24},       {SDL_SCANCODE_LEFT, 0x25},         {SDL_SCANCODE_UP, 0x26},
        {SDL_SCANCODE_RIGHT, 0x27},      {SDL_SCANCODE_DOWN, 0x28},         {SDL_SCANCODE_SELECT, 0x29},
        {SDL_SCANCODE_EXECUTE, 0x2B},    {SDL_SCANCODE_PRINTSCREEN, 0x2C},  {SDL_SCANCODE_INSERT, 0x2D},
        {SDL_SCANCODE_DELETE, 0x2E},     {SDL_SCANCODE_HELP, 0x2F},         {SDL_SCANCODE_LGUI, 0x5B},
        {SDL_SCANCODE_RGUI, 0x5C},       {SDL_SCANCODE_APPLICATION, 0x5D},  {SDL_SCANCODE_SLEEP, 0x5F},
        {SDL_SCANCODE_KP_MULTIPLY, 0x6A}, {SDL_SCANCODE_KP_PLUS, 0x6B},     {SDL_SCANCODE_SEPARATOR, 0x6C},
        {SDL_SCANCODE_KP_MINUS, 0x6D},   {SDL_SCANCODE_KP_PERIOD, 0x6E},    {SDL_SCANCODE_KP_DECIMAL, 0x6E},
        {SDL_SCANCODE_KP_DIVIDE, 0x6F},  {SDL_SCANCODE_NUMLOCKCLEAR, 0x90}, {SDL_SCANCODE_SCROLLLOCK, 0x91},
        {SDL_SCANCODE_AC_BACK, 0xA6},    {SDL_SCANCODE_AC_FORWARD, 0xA7},   {SDL_SCANCODE_AC_REFRESH, 0xA8},
        {SDL_SCANCODE_AC_STOP, 0xA9},    {SDL_SCANCODE_AC_SEARCH, 0xAA},    {SDL_SCANCODE_AC_BOOKMARKS, 0xAB},
        {SDL_SCANCODE_AC_HOME, 0xAC},    {SDL_SCANCODE_MUTE, 0xAD},         {SDL_SCANCODE_VOLUMEDOWN, 0xAE},
        {SDL_SCANCODE_VOLUMEUP, 0xAF},   {SDL_SCANCODE_AUDIONEXT, 0xB0},    {SDL_SCANCODE_AUDIOPREV, 0xB1},
        {SDL_SCANCODE_AUDIOSTOP, 0xB2},  {SDL_SCANCODE_AUDIOPLAY, 0xB3},    {SDL_SCANCODE_MAIL, 0xB4},
        {SDL_SCANCODE_MEDIASELECT, 0xB5}, {SDL_SCANCODE_SEMICOLON, 0xBA},   {SDL_SCANCODE_EQUALS, 0xBB},
        {SDL_SCANCODE_COMMA, 0xBC},      {SDL_SCANCODE_MINUS, 0xBD},        {SDL_SCANCODE_PERIOD, 0xBE},
        {SDL_SCANCODE_SLASH, 0xBF},      {SDL_SCANCODE_GRAVE, 0xC0},        {SDL_SCANCODE_LEFTBRACKET, 0xDB},
        {SDL_SCANCODE_BACKSLASH, 0xDC},  {SDL_SCANCODE_RIGHTBRACKET, 0xDD}, {SDL_SCANCODE_APOSTROPHE, 0xDE},
        {SDL_SCANCODE_NONUSBACKSLASH, 0xE2}, {SDL_SCANCODE_CRSEL, 0xF7},    {SDL_SCANCODE_EXSEL, 0xF8},
    };
    for (const auto& [sc, code] : named) vk[sc] = code;
  }
};

const key_table keys;

// Win32 virtual-key code of a key event, 0 when it has none. As on Win32,
// letters and digits follow the keyboard layout: the key that prints A is
// 'A' wherever it stands. Keys without a layout meaning keep the code of
// their position, and the keypad with NumLock off reports the navigation
// keys printed on it.
LONGINT virtual_key(const SDL_Keysym& key) {
  const int sc = key.scancode;
  if (sc < 0 || sc >= SDL_NUM_SCANCODES) return 0;
  if ((sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_PERIOD) && !(key.mod & KMOD_NUM)) {
    // 1 to 9, 0 and the decimal point: End, Down, Next, Left, Clear, Right,
    // Home, Up, Prior, Insert, Delete.
    static const LONGINT navigation[11] = {0x23, 0x28, 0x22, 0x25, 0x0C, 0x27, 0x24, 0x26, 0x21, 0x2D, 0x2E};
    return navigation[sc - SDL_SCANCODE_KP_1];
  }
  const bool keypad = sc >= SDL_SCANCODE_KP_DIVIDE && sc <= SDL_SCANCODE_KP_HEXADECIMAL;
  const SDL_Keycode sym = key.sym;
  if (!keypad && sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (!keypad && sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) {
    // A letter position that prints punctuation on this layout.
    static const std::pair<SDL_Keycode, LONGINT> punctuation[] = {
        {SDLK_SEMICOLON, 0xBA}, {SDLK_EQUALS, 0xBB},    {SDLK_COMMA, 0xBC},        {SDLK_MINUS, 0xBD},
        {SDLK_PERIOD, 0xBE},    {SDLK_SLASH, 0xBF},     {SDLK_BACKQUOTE, 0xC0},    {SDLK_LEFTBRACKET, 0xDB},
        {SDLK_BACKSLASH, 0xDC}, {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE}};
    for (const auto& [symbol, code] : punctuation)
      if (sym == symbol) return code;
  }
  return keys.vk[sc];
}

void stop_timer(LONGINT id) {
  auto it = timers.find(id);
  if (it == timers.end()) return;
  SDL_RemoveTimer(it->second);
  timers.erase(it);
}

// As on Win32, Alt and F10 are system keys, and so is every key pressed or
// released while Alt is held without Ctrl (Ctrl+Alt is AltGr on many
// layouts): the window's procedure leaves them to the default handling.
bool system_key(LONGINT vk, Uint16 mod) {
  constexpr LONGINT vk_menu = 0x12, vk_f10 = 0x79;
  return vk == vk_menu || vk == vk_f10 || ((mod & KMOD_ALT) && !(mod & KMOD_CTRL));
}

// True when window event W says the system took the pointer from the window
// while the toolkit held it: the window lost the focus, was hidden or
// minimised, or came back with every button up (their releases went
// elsewhere).
bool capture_taken(const SDL_WindowEvent& w) {
  if (!captured) return false;
  switch (w.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_HIDDEN:
    case SDL_WINDOWEVENT_MINIMIZED:
      return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_ENTER:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
      return (SDL_GetGlobalMouseState(nullptr, nullptr) & (SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_RMASK)) == 0;
    default:
      return false;
  }
}

// What an event taken off the queue changes here: a motion moves
// free-look's own pointer.
void taken(const SDL_Event& ev) {
  if (ev.type != SDL_MOUSEMOTION || !free_look) return;
  free_x += ev.motion.xrel * pixels;
  free_y += ev.motion.yrel * pixels;
}

bool translate(const SDL_Event& ev, platform_message* out) {
  *out = {0, 0, 0};
  switch (ev.type) {
    case SDL_QUIT:
      out->message = WM_CLOSE;
      return true;
    case SDL_WINDOWEVENT:
      if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
        out->message = WM_CLOSE;
        return true;
      }
      if (ev.window.event == SDL_WINDOWEVENT_EXPOSED) {
        out->message = WM_PAINT;
        return true;
      }
      if (capture_taken(ev.window)) {
        out->message = WM_CAPTURECHANGED;
        return true;
      }
      return false;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const LONGINT vk = virtual_key(ev.key.keysym);
      if (vk == 0) return false;
      const bool down = ev.type == SDL_KEYDOWN;
      if (system_key(vk, ev.key.keysym.mod)) {
        out->message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
      } else {
        out->message = down ? WM_KEYDOWN : WM_KEYUP;
      }
      out->wparam = vk;
      out->lparam = ev.key.repeat ? (1 | (1 << 30)) : 1;
      return true;
    }
    case SDL_MOUSEMOTION:
      out->message = WM_MOUSEMOVE;
      out->wparam = button_flags(ev.motion.state);
      out->lparam = MAKELPARAM(ev.motion.x * pixels, ev.motion.y * pixels);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = ev.type == SDL_MOUSEBUTTONDOWN;
      if (ev.button.button == SDL_BUTTON_LEFT) {
        out->message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      } else if (ev.button.button == SDL_BUTTON_RIGHT) {
        out->message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      } else {
        return false;
      }
      // The buttons held as the event happened: the event's own button as it
      // says, the others as they are now.
      Uint32 held = SDL_GetMouseState(nullptr, nullptr) & ~SDL_BUTTON(ev.button.button);
      if (down) held |= SDL_BUTTON(ev.button.button);
      out->wparam = button_flags(held);
      out->lparam = MAKELPARAM(ev.button.x * pixels, ev.button.y * pixels);
      return true;
    }
    default:
      if (timer_event_type != 0 && ev.type == timer_event_type) {
        out->message = WM_TIMER;
        out->wparam = ev.user.code;
        return true;
      }
      if (end_event_type != 0 && ev.type == end_event_type) {
        out->message = WM_CLOSE;
        return true;
      }
      return false;
  }
}

// Runs on SDL's timer thread: the tick joins the event queue.
Uint32 timer_tick(Uint32 interval, void* param) {
  SDL_Event ev;
  SDL_zero(ev);
  ev.type = timer_event_type;
  ev.user.code = static_cast<Sint32>(reinterpret_cast<std::intptr_t>(param));
  SDL_PushEvent(&ev);
  return interval;
}

void set_pixel_attributes(const platform_pixel_request& p) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, p.alpha_bits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, p.depth_bits > 24 ? p.depth_bits : 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, p.stencil_bits);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, p.accum_bits / 4);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, p.accum_bits / 4);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, p.accum_bits / 4);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, p.accum_bits / 4);
  SDL_GL_SetAttribute(SDL_GL_STEREO, p.stereo ? 1 : 0);
}

}  // namespace

bool platform_init(bool full_screen, const char** reason) {
  if (initialised) return true;
  // On Wayland the frame a program draws itself is chosen when video
  // starts: a full-screen window has none (drawn for one, it shifts the
  // picture by its shadow's width).
  if (full_screen) SDL_SetHintWithPriority(SDL_HINT_VIDEO_WAYLAND_ALLOW_LIBDECOR, "0", SDL_HINT_DEFAULT);
  // SDL keeps the screen awake unless told otherwise; a puzzle left open
  // must not stop the display from blanking.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Docks match a window to its desktop entry by its class (X11: the last
  // part of the entry's name) or app id (Wayland: the whole name), which SDL
  // reads from the environment when it makes the window; the user's own
  // setting stays.
  const std::string name = desktop_name();
  if (!name.empty()) {
    setenv("SDL_VIDEO_X11_WMCLASS", name.substr(name.rfind('.') + 1).c_str(), 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", name.c_str(), 0);
  }
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    if (reason) *reason = SDL_GetError();
    return false;
  }
  // Without a display SDL quietly picks a driver nobody can see; that counts
  // as a failure unless the driver was asked for by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* wanted = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  const bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
  if (invisible && !(wanted && std::strcmp(wanted, driver) == 0)) {
    if (reason) *reason = "no display available";
    SDL_Quit();
    return false;
  }
  wayland = driver && std::strcmp(driver, "wayland") == 0;
  // The pixels a point of the output has, as SDL gives a window there.
  if (SDL_Window* probe = wayland ? SDL_CreateWindow("", 0, 0, 100, 100, window_flags(false)) : nullptr) {
    int points = 0, drawn = 0, h = 0;
    SDL_GetWindowSize(probe, &points, &h);
    SDL_GL_GetDrawableSize(probe, &drawn, &h);
    SDL_DestroyWindow(probe);
    if (points > 0 && drawn >= points) pixels = drawn / points;
  }
  const Uint32 first = SDL_RegisterEvents(2);
  if (first != static_cast<Uint32>(-1)) {
    timer_event_type = first;
    end_event_type = first + 1;
    process_catch_end_signals(wake_for_end_signal);
  }
  // The GL library, and its driver, stay loaded while the platform runs:
  // SDL would unload them with the last window, and a window made again
  // would load them anew.
  SDL_GL_LoadLibrary(nullptr);
  SDL_StopTextInput();
  initialised = true;
  return true;
}

void platform_set_app_id(const char* id) { app_id = id ? id : ""; }

const char* platform_program_folder() {
  static const std::string folder = [] {
    std::string path;
    if (char* base = SDL_GetBasePath()) {
      path = base;
      SDL_free(base);
    }
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }();
  return folder.c_str();
}

namespace {

// What only Xlib tells or asks of an X11 desktop; nothing where SDL or
// the system has no X11.
#ifdef VTR_X11

// What SDL knows of the window as an X11 window; false for a window of any
// other video driver.
bool x11_window_info(SDL_SysWMinfo& info) {
  SDL_VERSION(&info.version);
  return window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
}

// The scale in the Xft.dpi resource of the display (96 is 1); 1 where it
// says nothing a plain number says.
double xft_scale() {
  double scale = 1;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return scale;
  if (const char* resources = XResourceManagerString(display)) {
    XrmInitialize();
    if (XrmDatabase database = XrmGetStringDatabase(resources)) {
      char* type = nullptr;
      XrmValue value{};
      if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
        // A plain decimal number, nothing else ("144abc" and "0x90" are not).
        const char* text = value.addr;
        bool plain = std::isdigit(static_cast<unsigned char>(*text)) != 0;
        for (const char* c = text; plain && *c; ++c) plain = std::isdigit(static_cast<unsigned char>(*c)) || *c == '.';
        const double dpi = plain ? std::strtod(text, nullptr) : 0;
        // Beyond eight times nothing fits on any screen: a broken resource.
        if (dpi >= 24 && dpi <= 768) scale = dpi / 96;
      }
      XrmDestroyDatabase(database);
    }
  }
  XCloseDisplay(display);
  return scale;
}

// Tells window managers that the window can move, be minimised and be
// closed, and nothing more (no maximise, no resizing), as fixed-size
// programs do through the Motif hints.
void offer_close_and_minimise_only() {
  SDL_SysWMinfo info;
  if (!x11_window_info(info)) return;
  constexpr unsigned long functions_given = 1, decorations_given = 2;
  constexpr unsigned long move = 4, minimise = 8, close = 32;
  constexpr unsigned long border = 2, title = 8, menu = 16, minimise_box = 32;
  struct {
    unsigned long flags, functions, decorations;
    long input_mode;
    unsigned long status;
  } hints = {functions_given | decorations_given, move | minimise | close, border | title | menu | minimise_box, 0, 0};
  Display* display = info.info.x11.display;
  const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(display, info.info.x11.window, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&hints), 5);
}

// The frame a window manager draws round the window, left, right, top,
// bottom as _NET_FRAME_EXTENTS has them: as it says; before the window is
// shown, asked of it (_NET_REQUEST_FRAME_EXTENTS) where it lists the
// request, and waited for a moment. False where nothing is known.
bool frame_extents(long extents[4]) {
  SDL_SysWMinfo info;
  if (!x11_window_info(info)) return false;
  Display* display = info.info.x11.display;
  const Window xwindow = info.info.x11.window, root = DefaultRootWindow(display);
  // The values of property NAME of window OF, of TYPE, 32 bits each.
  auto property = [display](Window of, const char* name, Atom type, unsigned long most, auto use) {
    Atom got = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool ok = XGetWindowProperty(display, of, XInternAtom(display, name, False), 0, static_cast<long>(most), False,
                                       type, &got, &format, &count, &after, &data) == Success &&
                    got == type && format == 32;
    if (ok) use(reinterpret_cast<const long*>(data), count);
    if (data) XFree(data);
    return ok;
  };
  bool known = false;
  auto read = [&] {
    property(xwindow, "_NET_FRAME_EXTENTS", XA_CARDINAL, 4, [&](const long* values, unsigned long count) {
      known = count == 4;
      for (unsigned long i = 0; known && i < 4; ++i) extents[i] = values[i];
    });
    return known;
  };
  if (read()) return true;
  const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  bool listed = false;
  property(root, "_NET_SUPPORTED", XA_ATOM, 4096, [&](const long* atoms, unsigned long count) {
    for (unsigned long i = 0; i < count; ++i) listed = listed || static_cast<Atom>(atoms[i]) == request;
  });
  if (!listed) return false;
  XEvent ask{};
  ask.xclient.type = ClientMessage;
  ask.xclient.window = xwindow;
  ask.xclient.message_type = request;
  ask.xclient.format = 32;
  XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ask);
  XFlush(display);
  for (int tries = 0; tries < 50 && !read(); ++tries) SDL_Delay(4);
  return known;
}

#else
double xft_scale() { return 1; }
void offer_close_and_minimise_only() {}
bool frame_extents(long[4]) { return false; }
#endif

// The frame last known, kept for the window that takes the place of the
// one it was asked for (they have the same frame).
long known_frame[4] = {};

}  // namespace

LONGINT platform_message_box(const char* text, const char* caption, LONGWORD style) {
  // A program that draws nowhere (a driver asked for by name) shows its
  // boxes to nobody: they go to standard error. (SDL's X11 box would also
  // crash its child there, and its zenity box come up on some display.)
  const char* driver = initialised ? SDL_GetCurrentVideoDriver() : nullptr;
  if (driver && std::strcmp(driver, "x11") != 0 && std::strcmp(driver, "wayland") != 0) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return 0;
  }
  SDL_MessageBoxButtonData buttons[2];
  int count = 0;
  if ((style & 0xF) == MB_YESNO) {
    const process_labels labels = process_yes_no_labels();
    buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, labels.yes};
    buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, labels.no};
    count = 2;
  } else {
    buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
    count = 1;
  }
  const Uint32 flags = ((style & MB_ICONQUESTION) ? SDL_MESSAGEBOX_INFORMATION : 0) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  // Owned by the window once there is one: window managers keep the box
  // above it, and SDL shows the box of the window's own kind (its X11 box
  // would crash its child with a video driver of another kind).
  SDL_Window* owner = has_surface ? window : nullptr;
  const SDL_MessageBoxData data = {flags, owner, caption, text, count, buttons, nullptr};
  process_catch_end_signals(nullptr);
  process_box_begins();
  int pressed = 0;
  const bool shown = SDL_ShowMessageBox(&data, &pressed) == 0;
  process_box_ends();
  if (!shown) return 0;
  // Closed by the window manager, or dismissed where Escape has no button.
  return pressed < 0 ? -1 : pressed;
}

void* platform_system_cursor(LONGINT kind) {
  static const SDL_SystemCursor shapes[17] = {
      SDL_SYSTEM_CURSOR_ARROW,     SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_IBEAM,   SDL_SYSTEM_CURSOR_WAIT,
      SDL_SYSTEM_CURSOR_CROSSHAIR, SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_SIZEALL, SDL_SYSTEM_CURSOR_ARROW,
      SDL_SYSTEM_CURSOR_SIZENWSE,  SDL_SYSTEM_CURSOR_SIZENESW, SDL_SYSTEM_CURSOR_SIZEWE,  SDL_SYSTEM_CURSOR_SIZENS,
      SDL_SYSTEM_CURSOR_SIZEALL,   SDL_SYSTEM_CURSOR_NO,       SDL_SYSTEM_CURSOR_HAND,    SDL_SYSTEM_CURSOR_WAITARROW,
      SDL_SYSTEM_CURSOR_ARROW};
  // UPARROW and HELP have no system shape here and show the arrow.
  if (!cursors[kind]) cursors[kind] = SDL_CreateSystemCursor(shapes[kind]);
  return cursors[kind];
}

void* platform_file_cursor(const char* file) {
  if (!file || !*file) return nullptr;
  SDL_Surface* image = IMG_Load(file);
  if (!image) return nullptr;
  if (file_cursor) SDL_FreeCursor(file_cursor);
  file_cursor = SDL_CreateColorCursor(image, 0, 0);
  SDL_FreeSurface(image);
  return file_cursor;
}

void* platform_file_icon(const char* file) {
  if (!file || !*file) return nullptr;
  SDL_Surface* image = IMG_Load(file);
  if (!image) return nullptr;
  if (icon) SDL_FreeSurface(icon);
  icon = image;
  return icon;
}

double platform_display_scale() {
  // What the desktop tells X11 programs in the Xft.dpi resource, as GTK
  // and Qt read it (XWayland publishes it the same way); on Wayland the
  // output's own scale, as SDL gives it a window: pixels a point.
  static double scale = 0;
  if (scale > 0) return scale;
  const char* driver = initialised ? SDL_GetCurrentVideoDriver() : nullptr;
  scale = driver && std::strcmp(driver, "x11") == 0 ? xft_scale() : pixels;
  return scale;
}

bool platform_create_window(const char* title, int client_width, int client_height, bool borderless, void* cursor,
                            void* window_icon, const char** reason) {
  if (!initialised || window) {
    *reason = initialised ? "there is a window already" : "the platform has not started";
    return false;
  }
  // SDL fixes a window's GL surface when it makes the window: this one,
  // hidden, tells whether the window can be made at all, and the one with
  // the surface takes its place.
  // (Untitled: nobody looking for the window by its title finds this one.)
  window = SDL_CreateWindow("", 0, 0, client_width / pixels, client_height / pixels, window_flags(borderless));
  if (!window) {
    *reason = SDL_GetError();
    return false;
  }
  window_title = title ? title : "";
  frameless = borderless;
  pointer = static_cast<SDL_Cursor*>(cursor);
  shown_icon = static_cast<SDL_Surface*>(window_icon);
  shown = false;
  for (long& side : known_frame) side = 0;
  // The frame it will get is known before it is shown.
  if (!frameless) offer_close_and_minimise_only();
  return true;
}

bool platform_set_pixel_format(const platform_pixel_request& pixels, const char** reason) {
  if (!window || has_surface) {
    *reason = window ? "the window has its surface already" : "no window";
    return false;
  }
  int x, y, width, height;
  SDL_GetWindowPosition(window, &x, &y);
  SDL_GetWindowSize(window, &width, &height);
  set_pixel_attributes(pixels);
  SDL_Window* drawn = SDL_CreateWindow(window_title.c_str(), x, y, width, height, SDL_WINDOW_OPENGL | window_flags(frameless));
  if (!drawn) {
    *reason = SDL_GetError();
    return false;
  }
  SDL_DestroyWindow(window);
  window = drawn;
  has_surface = true;
  process_window_up(true);
  // Shown once it is placed, the window managers' hints in place.
  if (!frameless) offer_close_and_minimise_only();
  if (shown_icon) SDL_SetWindowIcon(window, shown_icon);
  if (pointer) SDL_SetCursor(pointer);
  SDL_StopTextInput();
  return true;
}

bool platform_create_context(const char** reason) {
  if (!has_surface) {
    *reason = "the window has no GL surface";
    return false;
  }
  context = SDL_GL_CreateContext(window);
  if (context) SDL_GL_MakeCurrent(window, context);
  if (!context) *reason = SDL_GetError();
  return context != nullptr;
}

void platform_delete_context() {
  if (!context) return;
  SDL_GL_MakeCurrent(window, nullptr);
  SDL_GL_DeleteContext(context);
  context = nullptr;
}

void platform_hide_window() {
  if (window) SDL_HideWindow(window);
}

void platform_show_window() {
  if (!window) return;
  SDL_ShowWindow(window);
  shown = true;
}

void platform_destroy_window() {
  for (auto& [id, timer] : timers) SDL_RemoveTimer(timer);
  timers.clear();
  if (has_surface) process_window_up(false);
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
  has_surface = false;
}

bool platform_window_exists() { return window != nullptr; }

bool platform_minimised() { return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED); }

// Sleeps here wake within a millisecond anyway.
void platform_precise_sleeps(bool) {}

void platform_frame_size(int* left, int* top, int* right, int* bottom) {
  // Known only where a window manager draws a frame and says how thick.
  *left = *top = *right = *bottom = 0;
  if (!window || frameless) return;
  if (SDL_GetWindowBordersSize(window, top, left, bottom, right) == 0 && *left + *top + *right + *bottom > 0) return;
  long extents[4];
  if (frame_extents(extents))
    for (int i = 0; i < 4; ++i) known_frame[i] = extents[i];
  *left = static_cast<int>(known_frame[0]);
  *right = static_cast<int>(known_frame[1]);
  *top = static_cast<int>(known_frame[2]);
  *bottom = static_cast<int>(known_frame[3]);
}

void platform_work_area(int* x, int* y, int* width, int* height) {
  SDL_Rect area{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &area) != 0) SDL_GetDisplayBounds(0, &area);
  *x = area.x * pixels;
  *y = area.y * pixels;
  *width = area.w * pixels;
  *height = area.h * pixels;
}

void platform_set_window_rect(int x, int y, int width, int height, bool raise) {
  if (!window) return;
  // SDL places the client area, the frame outside it, once it knows the
  // frame; before, the window manager takes the position for the frame's.
  int left = 0, top = 0, right = 0, bottom = 0;
  if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) left = top = 0;
  SDL_SetWindowSize(window, width / pixels, height / pixels);
  if (!wayland) SDL_SetWindowPosition(window, x + left, y + top);
  if (shown && raise) SDL_RaiseWindow(window);
}

void platform_get_window_rect(int* x, int* y, int* width, int* height) {
  *x = *y = *width = *height = 0;
  if (!window) return;
  if (wayland) {
    SDL_GL_GetDrawableSize(window, width, height);
    return;
  }
  int left, top, right, bottom;
  platform_frame_size(&left, &top, &right, &bottom);
  SDL_GetWindowPosition(window, x, y);
  *x -= left;
  *y -= top;
  SDL_GetWindowSize(window, width, height);
}

void platform_set_title(const char* title) {
  if (window) SDL_SetWindowTitle(window, title);
}

const char* platform_get_title() { return window ? SDL_GetWindowTitle(window) : ""; }

void platform_screen_size(int* width, int* height) {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    *width = *height = 0;
    return;
  }
  *width = mode.w * pixels;
  *height = mode.h * pixels;
}

bool platform_set_swap_interval(int interval) { return SDL_GL_SetSwapInterval(interval) == 0; }

int platform_refresh_rate() {
  SDL_DisplayMode mode;
  if (!window || SDL_GetWindowDisplayMode(window, &mode) != 0) return 0;
  return mode.refresh_rate;
}

void platform_swap() {
  if (!window) return;
  // A window nobody placed is shown where it was made.
  if (!shown) platform_show_window();
  SDL_GL_SwapWindow(window);
}

bool platform_take_message(platform_message* out) {
  if (!initialised) return false;
  SDL_PumpEvents();
  // Events without a message (the pointer entering or leaving, the middle
  // button, ...) are passed over.
  SDL_Event ev;
  do {
    if (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1) return false;
    taken(ev);
  } while (!translate(ev, out));
  return true;
}

bool platform_take_motion(platform_message* out) {
  if (!initialised) return false;
  SDL_PumpEvents();
  SDL_Event ev;
  platform_message message;
  while (SDL_PeepEvents(&ev, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    const bool has_message = translate(ev, &message);
    if (has_message && message.message != WM_MOUSEMOVE) return false;
    SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    taken(ev);
    if (has_message) {
      *out = message;
      return true;
    }
  }
  return false;
}

bool platform_message_pending() {
  if (!initialised) return false;
  SDL_PumpEvents();
  return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

void platform_wait_event() {
  if (!initialised) return;
  // SDL's wait may come back with nothing queued (a driver that polls): it
  // is asked again until something is. An end signal wakes it through the
  // event its watcher pushes.
  while (!platform_message_pending()) SDL_WaitEvent(nullptr);
}

void platform_set_capture(bool on) {
  captured = on && window;
  if (window) SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

bool platform_screen_saver_allowed() { return SDL_IsScreenSaverEnabled() == SDL_TRUE; }

bool platform_has_focus() { return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS); }

void platform_get_cursor_pos(int* x, int* y) {
  if (free_look) {
    *x = free_x;
    *y = free_y;
    return;
  }
  SDL_GetGlobalMouseState(x, y);
}

void platform_set_cursor_pos(int x, int y) {
  if (!initialised) return;
  if (!wayland) {
    SDL_WarpMouseGlobal(x, y);
    return;
  }
  // The pointer stays where it is, hidden, and its motion moves this one.
  if (!free_look) free_look = SDL_SetRelativeMouseMode(SDL_TRUE) == 0;
  free_x = x;
  free_y = y;
}

void platform_release_pointer() {
  if (free_look) SDL_SetRelativeMouseMode(SDL_FALSE);
  free_look = false;
}

void platform_client_to_screen(int* x, int* y) {
  // Where the window stands is the compositor's alone on Wayland.
  int wx = 0, wy = 0;
  if (window && !wayland) SDL_GetWindowPosition(window, &wx, &wy);
  *x += wx;
  *y += wy;
}

void platform_start_timer(LONGINT id, LONGINT ms) {
  if (!initialised) return;
  stop_timer(id);
  if (ms <= 0) return;
  timers[id] = SDL_AddTimer(static_cast<Uint32>(ms), timer_tick, reinterpret_cast<void*>(static_cast<std::intptr_t>(id)));
}

std::size_t platform_timer_count() { return timers.size(); }

namespace {

// Copies a surface into 32-bit pixels, blue in the low byte.
bool read_pixels(SDL_Surface* surface, vtr_image* out) {
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
  if (!argb) return false;
  out->width = argb->w;
  out->height = argb->h;
  out->pixels.resize(static_cast<size_t>(argb->w) * argb->h);
  SDL_LockSurface(argb);
  for (int y = 0; y < argb->h; ++y)
    std::memcpy(&out->pixels[static_cast<size_t>(y) * argb->w], static_cast<const Uint8*>(argb->pixels) + y * argb->pitch,
                static_cast<size_t>(argb->w) * 4);
  SDL_UnlockSurface(argb);
  SDL_FreeSurface(argb);
  return true;
}

TTF_Font* font = nullptr;
int font_size = 0;
double font_scale = 0;

}  // namespace

bool platform_render_text(const char* text, int point_size, double scale, vtr_image* out) {
  if (!TTF_WasInit() && TTF_Init() != 0) return false;
  if (!font || font_size != point_size || font_scale != scale) {
    if (font) TTF_CloseFont(font);
    font = nullptr;
    // A point is a pixel at 100 %, as SDL_ttf takes it by default.
    const auto dpi = static_cast<unsigned>(std::lround(72 * scale));
    for (const char* path : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                             "/usr/share/fonts/TTF/DejaVuSans.ttf", "/usr/share/fonts/dejavu/DejaVuSans.ttf"}) {
      if ((font = TTF_OpenFontDPI(path, point_size, dpi, dpi))) break;
    }
    if (!font) return false;
    font_size = point_size;
    font_scale = scale;
  }
  if (!text || !*text) {
    *out = {};
    return true;
  }
  SDL_Surface* surface = TTF_RenderUTF8_Blended(font, text, SDL_Color{0, 0, 0, 255});
  if (!surface) return false;
  out->bits = 32;
  const bool ok = read_pixels(surface, out);
  SDL_FreeSurface(surface);
  return ok;
}

void platform_push_mouse_motion(int x, int y, LONGINT held) {
  SDL_Event ev;
  SDL_zero(ev);
  ev.type = SDL_MOUSEMOTION;
  ev.motion.windowID = window ? SDL_GetWindowID(window) : 0;
  ev.motion.state = ((held & MK_LBUTTON) ? SDL_BUTTON_LMASK : 0) | ((held & MK_RBUTTON) ? SDL_BUTTON_RMASK : 0) |
                    ((held & MK_MBUTTON) ? SDL_BUTTON_MMASK : 0);
  ev.motion.x = x;
  ev.motion.y = y;
  SDL_PushEvent(&ev);
}

void platform_push_mouse_button(int button, bool down, int x, int y) {
  SDL_Event ev;
  SDL_zero(ev);
  ev.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  ev.button.windowID = window ? SDL_GetWindowID(window) : 0;
  ev.button.button = button == 1 ? SDL_BUTTON_LEFT : (button == 2 ? SDL_BUTTON_MIDDLE : SDL_BUTTON_RIGHT);
  ev.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  ev.button.x = x;
  ev.button.y = y;
  SDL_PushEvent(&ev);
}

void platform_push_key(LONGINT position, bool down, LONGINT symbol, bool num_lock, bool alt) {
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    if (keys.vk[sc] != position) continue;
    SDL_Event ev;
    SDL_zero(ev);
    ev.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    ev.key.keysym.scancode = static_cast<SDL_Scancode>(sc);
    ev.key.keysym.sym = symbol != 0 ? symbol : SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sc));
    ev.key.keysym.mod = static_cast<Uint16>((num_lock ? KMOD_NUM : KMOD_NONE) | (alt ? KMOD_LALT : KMOD_NONE));
    ev.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&ev);
    return;
  }
}

namespace {

void push_window_event(SDL_WindowEventID what) {
  SDL_Event ev;
  SDL_zero(ev);
  ev.type = SDL_WINDOWEVENT;
  ev.window.event = what;
  ev.window.windowID = window ? SDL_GetWindowID(window) : 0;
  SDL_PushEvent(&ev);
}

}  // namespace

void platform_push_expose() { push_window_event(SDL_WINDOWEVENT_EXPOSED); }

void platform_push_focus_lost() { push_window_event(SDL_WINDOWEVENT_FOCUS_LOST); }

void platform_push_close_request() { push_window_event(SDL_WINDOWEVENT_CLOSE); }
