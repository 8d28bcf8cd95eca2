// The window runtime: the table of windows (the main window and its
// children), the window classes, and the Win32-style functions every window
// procedure relies on: send, post, default handling, destruction, capture,
// pointer routing, the queue the pump reads, and painting the children over
// the GL picture. Every window record carries its window procedure; nothing
// here knows any procedure by name.
// Owns the window table with the windows' rectangles, shapes and named
// properties, the class table, the capture, the messages posted and not yet
// taken, and the scale of the screen the main window is on.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "internal.h"
#include "platform.h"
#include "vitrum.h"

namespace {

constexpr int max_classes = 8;
constexpr int max_windows = 64;  // the main window and its children
constexpr int max_props = 8;
constexpr int max_posted = 1024;
constexpr int name_length = 32;

struct window_class {
  char name[name_length];
  VTRWNDPROC procedure;
};

struct property {
  char name[name_length];
  LONGWORD value;
};

struct window_record {
  bool alive;
  VTRWNDPROC procedure;
  LONGWORD parent;  // 0: the top-level window
  LONGINT id;
  TRECT rect;             // in the parent's client coordinates
  LONGINT docked_height;  // above 0: a strip along the parent's bottom edge, over every other child
  LONGWORD shape;         // 0: the whole rectangle
  property props[max_props];
};

checked_array<window_class, 0, max_classes - 1> classes{};
checked_array<window_record, 0, max_windows - 1> windows{};
LONGWORD capture_window = 0;
double window_scale = 1;
void (*rescale_handler)(double) = nullptr;

// Posted messages in the order posted, a ring.
checked_array<TMSG, 0, max_posted - 1> posted{};
int posted_first = 0, posted_count = 0;

// Handles are table indices plus one: the main window is always 1.
constexpr LONGWORD top_level = 1;

window_record* find(LONGWORD window) {
  if (window < 1 || window > max_windows) return nullptr;
  window_record& w = windows[window - 1];
  return w.alive ? &w : nullptr;
}

LONGWORD handle_of(int index) { return static_cast<LONGWORD>(index + 1); }

window_class* find_class(const char* name) {
  for (int i = 0; i < max_classes; ++i)
    if (classes[i].procedure && std::strcmp(classes[i].name, name) == 0) return &classes[i];
  return nullptr;
}

property* find_prop(window_record* w, const char* name) {
  for (property& p : w->props)
    if (p.name[0] && std::strcmp(p.name, name) == 0) return &p;
  return nullptr;
}

void client_size(LONGINT* width, LONGINT* height) {
  int x, y;
  platform_get_window_rect(&x, &y, width, height);
}

TRECT rect_of(const window_record& w) {
  if (w.docked_height <= 0) return w.rect;
  LONGINT width, height;
  client_size(&width, &height);
  return {0, height - vtr_scaled(w.docked_height), width, height};
}

bool is_pointer_message(LONGINT message) {
  return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
         message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
}

// The child of the main window under client point (X, Y): docked strips
// first, then the topmost (the one made last) whose shape holds the point.
LONGWORD child_at(LONGINT x, LONGINT y) {
  for (bool docked : {true, false}) {
    for (int i = max_windows - 1; i >= 1; --i) {
      const window_record& w = windows[i];
      if (!w.alive || (w.docked_height > 0) != docked) continue;
      const TRECT r = rect_of(w);
      if (x < r.LEFT || x >= r.RIGHT || y < r.TOP || y >= r.BOTTOM) continue;
      if (w.shape == 0 || vtr_region_contains(w.shape, x - r.LEFT, y - r.TOP)) return handle_of(i);
    }
  }
  return 0;
}

}  // namespace

bool vtr_register_class(const char* name, VTRWNDPROC procedure) {
  if (!name || !procedure || std::strlen(name) >= name_length) return false;
  // The class of that name, else a free entry.
  window_class* c = find_class(name);
  for (int i = 0; i < max_classes && !c; ++i)
    if (!classes[i].procedure) c = &classes[i];
  if (!c) return false;
  std::snprintf(c->name, sizeof c->name, "%s", name);
  c->procedure = procedure;
  return true;
}

bool vtr_class_registered(const char* name) { return name && find_class(name) != nullptr; }

VTRWNDPROC vtr_class_procedure(const char* name) {
  const window_class* c = name ? find_class(name) : nullptr;
  return c ? c->procedure : nullptr;
}

LONGWORD vtr_main_window() { return find(top_level) ? top_level : 0; }

LONGWORD vtr_create_window(const char* class_name, LONGWORD parent, LONGINT x, LONGINT y, LONGINT width,
                           LONGINT height, LONGINT id) {
  const window_class* c = class_name ? find_class(class_name) : nullptr;
  if (!c || (parent != 0 && !find(parent))) return 0;
  // The top-level window is the first record; children take the others.
  const int first = parent == 0 ? 0 : 1, last = parent == 0 ? 0 : max_windows - 1;
  for (int i = first; i <= last; ++i) {
    if (windows[i].alive) continue;
    windows[i] = {};
    windows[i].alive = true;
    windows[i].procedure = c->procedure;
    windows[i].parent = parent;
    windows[i].id = id;
    windows[i].rect = {x, y, x + width, y + height};
    const LONGWORD window = handle_of(i);
    vtr_send_message(window, WM_CREATE, 0, 0);
    return window;
  }
  return 0;
}

bool vtr_is_child(LONGWORD window) {
  const window_record* w = find(window);
  return w && w->parent != 0;
}

LONGWORD vtr_parent(LONGWORD window) {
  const window_record* w = find(window);
  return w ? w->parent : 0;
}

void vtr_destroy_window(LONGWORD window) {
  window_record* w = find(window);
  if (!w) return;
  vtr_send_message(window, WM_DESTROY, 0, 0);
  // Children go with their parent, after it.
  for (int i = 0; i < max_windows; ++i)
    if (windows[i].alive && windows[i].parent == window) vtr_destroy_window(handle_of(i));
  if (capture_window == window) vtr_release_capture();
  vtr_region_delete(w->shape);
  *w = {};
  // The surface stays until the context is released; the user sees the
  // window go at once.
  if (window == top_level) platform_hide_window();
}

std::size_t vtr_child_count() {
  std::size_t n = 0;
  for (int i = 1; i < max_windows; ++i) n += windows[i].alive;
  return n;
}

LONGINT vtr_send_message(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam) {
  const window_record* w = find(window);
  return w ? w->procedure(window, message, wparam, lparam) : 0;
}

bool vtr_post_message(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam) {
  if (posted_count == max_posted) return false;
  posted[(posted_first + posted_count) % max_posted] = {window, message, wparam, lparam};
  ++posted_count;
  return true;
}

LONGINT vtr_def_window_proc(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam) {
  switch (message) {
    case WM_CLOSE:
      vtr_destroy_window(window);
      return 0;
    case WM_RBUTTONUP: {
      int x = GET_X_LPARAM(lparam), y = GET_Y_LPARAM(lparam);
      const TRECT r = vtr_window_rect(window);
      x += r.LEFT;
      y += r.TOP;
      platform_client_to_screen(&x, &y);
      return vtr_send_message(window, WM_CONTEXTMENU, static_cast<LONGINT>(window), MAKELPARAM(x, y));
    }
    case WM_DPICHANGED:
      // The main window is on a monitor of another scale (WPARAM dots an inch).
      if (window == top_level && rescale_handler && wparam > 0) rescale_handler(wparam / 96.0);
      return 0;
    case WM_CONTEXTMENU: {
      // A child leaves its context menu to its parent.
      const window_record* w = find(window);
      return w && w->parent != 0 ? vtr_send_message(w->parent, message, wparam, lparam) : 0;
    }
    default:
      return 0;
  }
}

void vtr_set_window_scale(double scale) { window_scale = scale > 0 ? scale : 1; }

double vtr_window_scale() { return window_scale; }

void vtr_on_rescale(void (*handler)(double scale)) { rescale_handler = handler; }

LONGINT vtr_scaled(LONGINT length) { return static_cast<LONGINT>(std::lround(length * window_scale)); }

LONGWORD vtr_capture() { return capture_window; }

void vtr_set_capture(LONGWORD window) {
  capture_window = window;
  platform_set_capture(true);
}

void vtr_release_capture() {
  capture_window = 0;
  platform_set_capture(false);
}

TRECT vtr_window_rect(LONGWORD window) {
  const window_record* w = find(window);
  if (!w || w->parent == 0) return TRECT{0, 0, 0, 0};
  return rect_of(*w);
}

LONGINT vtr_child_id(LONGWORD window) {
  const window_record* w = find(window);
  return w ? w->id : 0;
}

void vtr_move_window(LONGWORD window, LONGINT x, LONGINT y, LONGINT width, LONGINT height) {
  if (window_record* w = find(window)) w->rect = {x, y, x + width, y + height};
}

void vtr_dock_window(LONGWORD window, LONGINT height) {
  if (window_record* w = find(window)) w->docked_height = height;
}

void vtr_set_window_region(LONGWORD window, LONGWORD region) {
  window_record* w = find(window);
  if (!w) {
    vtr_region_delete(region);
    return;
  }
  if (w->shape != region) vtr_region_delete(w->shape);
  w->shape = region;
}

LONGWORD vtr_window_region(LONGWORD window) {
  const window_record* w = find(window);
  return w ? w->shape : 0;
}

bool vtr_set_prop(LONGWORD window, const char* name, LONGWORD value) {
  window_record* w = find(window);
  if (!w || std::strlen(name) >= name_length) return false;
  if (property* p = find_prop(w, name)) {
    p->value = value;
    return true;
  }
  for (property& p : w->props) {
    if (p.name[0]) continue;
    std::snprintf(p.name, sizeof p.name, "%s", name);
    p.value = value;
    return true;
  }
  return false;
}

LONGWORD vtr_get_prop(LONGWORD window, const char* name) {
  window_record* w = find(window);
  const property* p = w ? find_prop(w, name) : nullptr;
  return p ? p->value : 0;
}

LONGWORD vtr_remove_prop(LONGWORD window, const char* name) {
  window_record* w = find(window);
  property* p = w ? find_prop(w, name) : nullptr;
  if (!p) return 0;
  const LONGWORD value = p->value;
  *p = {};
  return value;
}

LONGWORD vtr_route_pointer(LONGWORD window, LONGINT* lparam) {
  if (window != top_level) return window;
  LONGWORD target = capture_window;
  const LONGINT x = GET_X_LPARAM(*lparam), y = GET_Y_LPARAM(*lparam);
  if (target == 0) target = child_at(x, y);
  const window_record* w = find(target);
  if (!w || w->parent == 0) return window;
  const TRECT r = rect_of(*w);
  *lparam = MAKELPARAM(x - r.LEFT, y - r.TOP);
  return target;
}

bool vtr_take_message(TMSG* out) {
  if (posted_count > 0) {
    *out = posted[posted_first];
    posted_first = (posted_first + 1) % max_posted;
    --posted_count;
    return true;
  }
  platform_message m;
  if (!platform_take_message(&m)) return false;
  // Only the latest position of a run of motions matters: the drag adds up
  // the same differences and the pointer globals end at the same place.
  if (m.message == WM_MOUSEMOVE) {
    while (platform_take_motion(&m)) continue;
  }
  *out = {top_level, m.message, m.wparam, m.lparam};
  if (is_pointer_message(out->MESSAGE)) out->HWND = vtr_route_pointer(out->HWND, &out->LPARAM);
  // The capture the system took goes to the window that held it, which
  // holds it no more.
  if (out->MESSAGE == WM_CAPTURECHANGED && find(capture_window)) {
    out->HWND = capture_window;
    vtr_release_capture();
  }
  return true;
}

bool vtr_message_pending() { return posted_count > 0 || platform_message_pending(); }

void vtr_wait_message() {
  if (!vtr_message_pending()) platform_wait_event();
}

void vtr_reset_runtime() {
  for (int i = 0; i < max_windows; ++i)
    if (windows[i].alive) vtr_destroy_window(handle_of(i));
  if (capture_window != 0) vtr_release_capture();
  posted_first = posted_count = 0;
  window_scale = 1;
  rescale_handler = nullptr;
}

void vtr_draw_children() {
  if (vtr_child_count() == 0) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  LONGINT width, height;
  client_size(&width, &height);
  glViewport(0, 0, width, height);
  glOrtho(0, width, height, 0, -1, 1);  // client pixels, y down
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  // Images are drawn top row first, downwards from their top-left corner.
  glPixelZoom(1, -1);
  // In the order they cover each other: docked strips over the rest.
  for (bool docked : {false, true})
    for (int i = 1; i < max_windows; ++i)
      if (windows[i].alive && (windows[i].docked_height > 0) == docked) vtr_send_message(handle_of(i), WM_PAINT, 0, 0);
  glPixelZoom(1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}
